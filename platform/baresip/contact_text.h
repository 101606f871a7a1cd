// baresip's answers in plain text: the contact list of its `contacts` command, one contact a
// line ("> Name <sip:user@host>" for the current one, "  Name <sip:...>" for the others, the
// name possibly quoted), and SIP addresses compared for "is this the same party".
#pragma once

#include <string>
#include <vector>

#include "platform/sim/sim_world.h"

namespace mivo::baresip {

// The most contacts taken from one answer, and the longest handle kept: the controller keeps
// 65 characters of a handle, so a longer address could not be called back and is left out.
inline constexpr std::size_t kMaxContacts = 500;
inline constexpr std::size_t kMaxHandle = 65;

// The contacts of a `contacts` answer in baresip's order: display name, the SIP address as
// handle, status 1 (baresip's text carries no presence). Lines that are no contact are
// passed over.
std::vector<sim::SimContact> ParseContacts(const std::string& text);

// "user@host[:port]" of a SIP address: without "sip:", parameters, headers or angle brackets.
std::string AddressKey(const std::string& uri);

}  // namespace mivo::baresip

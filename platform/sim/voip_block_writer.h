// Writers of the VoIP bridge's blocks (record formats in voip/blocks.h): each returns a zeroed
// block of the exact size with its count and records filled in. Texts are cut to leave their
// terminator inside the field, or, with `unterminated`, may run to the field's end (a careless
// client does so; the controller must cope). Any bridge that builds blocks uses these.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sim/sim_world.h"

namespace mivo::sim {

std::unique_ptr<std::uint8_t[]> BuildPhoneBookBlock(const std::vector<SimContact>& contacts,
                                                    bool unterminated = false);
std::unique_ptr<std::uint8_t[]> BuildCallsBlock(const std::vector<SimCall>& calls,
                                                bool unterminated = false);
std::unique_ptr<std::uint8_t[]> BuildVoicemailBlock(const std::vector<SimVoicemail>& mails,
                                                    bool unterminated = false);

// Hands out a freshly built block: the new block replaces the one in `slot` (freed only after
// the new one exists) and its address goes to *block. False without somewhere to store it.
template <typename Build>
bool HandOutBlock(std::unique_ptr<std::uint8_t[]>& slot, const std::uint8_t** block, Build build) {
  if (block == nullptr) return false;
  slot = build();
  *block = slot.get();
  return true;
}

}  // namespace mivo::sim

// The 18 keys of a language section, in the order the controller reads them at start-up.
#pragma once

#include <iterator>

namespace mivo::bench {

inline constexpr const char* kLanguageKeys[] = {
    "Contacts", "CallHistory",    "Incoming", "Missed",    "Outgoing",      "Voicemail",
    "Inbox",    "ConferenceCall", "DialPad",  "SpeedDial", "EnterNumber",   "Volume",
    "CallWith", "IncomingCall",   "About",    "Close",     "PlayVoicemail", "WrongNumber"};
static_assert(std::size(kLanguageKeys) == 18);

}  // namespace mivo::bench

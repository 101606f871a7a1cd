// How the trace writes what a call was given: texts quoted and escaped, window handles by
// name. The one place of these rules; the scenario scripts' observations use them too.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win_types.h"

namespace mivo::trace {

// How far a text handed to a traced call is read: the controller's texts come from its own
// fixed buffers, yet a text without a terminator must not take the trace past any bound.
inline constexpr std::size_t kMaxTextRead = 4096;

// A text's bytes as the trace writes them, without quotes: \" \\ and \xHH (upper-case hex)
// for every byte below 0x20, 0x7F and every byte from 0x80 up.
std::string Escape(const std::string& text);
// The same in double quotes.
std::string Quote(const std::string& text);
// A text read up to its terminator but no further than `max` bytes (an unterminated field
// stops there), quoted. A null text is written as "".
std::string Quote(const char* text, std::size_t max = static_cast<std::size_t>(-1));
// A window handle: `hwnd` for the controller's window `main`, `0` for none, any other window
// in upper-case hex.
std::string Window(HWND window, HWND main);

}  // namespace mivo::trace

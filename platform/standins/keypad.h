// The virtual handset's keypad: the handset's keys with the names of the key panel, laid out
// in the handset's order (the function keys in four rows above, the number keys in a 3 by 4
// grid below), where they are, and how they look.
#pragma once

#include <cstddef>

#include "platform/win32/windows_api.h"

namespace mivo::standins {

struct PadKey {
  const char* label;  // as the key panel names the key
  int code;           // the key code the handset reports
  int column, row;    // rows 0..3 the function keys, 4..7 the number keys
};

inline constexpr int kPadKeyWidth = 104, kPadKeyHeight = 26, kPadGap = 8, kPadRowGap = 6;
// The space between the function keys and the number keys.
inline constexpr int kPadBlockGap = 10;
inline constexpr int kPadWidth = 3 * kPadKeyWidth + 2 * kPadGap;
inline constexpr int kPadHeight = 8 * kPadKeyHeight + 7 * kPadRowGap + kPadBlockGap;

// The keys, in the handset's order.
std::size_t PadKeyCount();
const PadKey& PadKeyAt(std::size_t index);

// The key's button in a keypad whose top left corner is (left, top).
RECT PadKeyRect(int left, int top, std::size_t index);
// The key whose button holds the point, or -1.
int PadKeyAtPoint(int left, int top, POINT point);

// Every button; the one at `down` (or none, -1) drawn pressed.
void PaintKeypad(HDC dc, int left, int top, int down);

}  // namespace mivo::standins

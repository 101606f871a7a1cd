// How the virtual handset's window draws the handset's LCD and LEDs with GDI: the display's
// 128 by 64 pixels enlarged five to two, four rows of 16 pixels with row 3 on top, the row
// styles (title, selected, entry, more), the pictures as small glyphs, the volume bar as a
// cylinder, and the rotation flag as a mark on the frame.
#pragma once

#include "platform/sim/sim_handset.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

// The display's own pixels.
inline constexpr int kDisplayWidth = 128;
inline constexpr int kDisplayRowHeight = 16;
// Screen pixels per display pixel, as a fraction.
inline constexpr int kZoomNum = 5, kZoomDen = 2;
inline constexpr int kGlassWidth = kDisplayWidth * kZoomNum / kZoomDen;          // 320
inline constexpr int kGlassRowHeight = kDisplayRowHeight * kZoomNum / kZoomDen;  // 40
inline constexpr int kGlassHeight = 4 * kGlassRowHeight;                         // 160
inline constexpr int kFrameSide = 10, kFrameTop = 22, kFrameBottom = 10;         // the frame
inline constexpr int kLcdFrameWidth = kGlassWidth + 2 * kFrameSide;              // 340
inline constexpr int kLcdFrameHeight = kGlassHeight + kFrameTop + kFrameBottom;  // 192

// The glass of a frame whose top left corner is (left, top).
RECT GlassRect(int left, int top);

// The frame and the glass with the four rows of `model`; `plugged` false shows the blank
// glass with the word "unplugged".
void PaintLcd(HDC dc, int left, int top, const sim::SimHandset& model, bool plugged);

// The four LEDs as lamps with their names, in a strip `width` wide.
inline constexpr int kLedStripHeight = 18;
void PaintLeds(HDC dc, int left, int top, int width, const sim::Leds& leds);

}  // namespace mivo::standins

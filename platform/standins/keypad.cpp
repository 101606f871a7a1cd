#include "platform/standins/keypad.h"

#include <iterator>

#include "core/constants.h"

namespace mivo::standins {

namespace {

constexpr PadKey kKeys[] = {
    {"MUTE", KEY_MUTE, 0, 0},
    {"VOL+", KEY_VOL_UP, 1, 0},
    {"VOL-", KEY_VOL_DOWN, 2, 0},
    {"SKYPE", KEY_SKYPE, 0, 1},
    {"UP", KEY_UP, 1, 1},
    {"VOICE MAIL", KEY_VOICE_MAIL, 2, 1},
    {"HOLD", KEY_HOLD, 0, 2},
    {"DOWN", KEY_DOWN, 1, 2},
    {"RECONNECT", KEY_RECONNECT, 2, 2},
    {"CALL", KEY_CALL, 0, 3},
    {"CANCEL", KEY_CANCEL, 1, 3},
    {"END CALL", KEY_END_CALL, 2, 3},
    {"1", KEY_1, 0, 4},
    {"2 / ABC", KEY_1 + 1, 1, 4},
    {"3 / DEF", KEY_1 + 2, 2, 4},
    {"4 / GHI", KEY_1 + 3, 0, 5},
    {"5 / JKL", KEY_1 + 4, 1, 5},
    {"6 / MNO", KEY_1 + 5, 2, 5},
    {"7 / PQRS", KEY_1 + 6, 0, 6},
    {"8 / TUV", KEY_1 + 7, 1, 6},
    {"9 / WXYZ", KEY_9, 2, 6},
    {"*", KEY_STAR, 0, 7},
    {"0 / +", KEY_0, 1, 7},
    {"#", KEY_HASH, 2, 7},
};

COLORREF FaceOf(const PadKey& key) {
  if (key.code == KEY_CALL) return RGB(170, 222, 170);
  if (key.code == KEY_END_CALL) return RGB(236, 170, 164);
  if (key.row >= 4) return RGB(250, 250, 247);
  return RGB(222, 226, 232);
}

COLORREF Darker(COLORREF colour) {
  return RGB(GetRValue(colour) * 3 / 4, GetGValue(colour) * 3 / 4, GetBValue(colour) * 3 / 4);
}

}  // namespace

std::size_t PadKeyCount() {
  return std::size(kKeys);
}

const PadKey& PadKeyAt(std::size_t index) {
  return kKeys[index];
}

RECT PadKeyRect(int left, int top, std::size_t index) {
  const PadKey& key = kKeys[index];
  const int x = left + key.column * (kPadKeyWidth + kPadGap);
  const int y = top + key.row * (kPadKeyHeight + kPadRowGap) + (key.row >= 4 ? kPadBlockGap : 0);
  return RECT{x, y, x + kPadKeyWidth, y + kPadKeyHeight};
}

int PadKeyAtPoint(int left, int top, POINT point) {
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const RECT rect = PadKeyRect(left, top, i);
    if (::PtInRect(&rect, point)) return static_cast<int>(i);
  }
  return -1;
}

void PaintKeypad(HDC dc, int left, int top, int down) {
  HFONT font = ::CreateFontA(-13, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Tahoma");
  HGDIOBJ old_font = ::SelectObject(dc, font);
  HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(120, 124, 130));
  HGDIOBJ old_pen = ::SelectObject(dc, pen);
  ::SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const bool pressed = static_cast<int>(i) == down;
    RECT rect = PadKeyRect(left, top, i);
    HBRUSH face = ::CreateSolidBrush(pressed ? Darker(FaceOf(kKeys[i])) : FaceOf(kKeys[i]));
    HGDIOBJ old_brush = ::SelectObject(dc, face);
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 10, 10);
    ::SelectObject(dc, old_brush);
    ::DeleteObject(face);
    if (pressed) ::OffsetRect(&rect, 1, 1);
    ::SetTextColor(dc, RGB(20, 24, 28));
    ::DrawTextA(dc, kKeys[i].label, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  ::SelectObject(dc, old_pen);
  ::DeleteObject(pen);
  ::SelectObject(dc, old_font);
  ::DeleteObject(font);
}

}  // namespace mivo::standins

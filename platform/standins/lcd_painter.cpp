#include "platform/standins/lcd_painter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace mivo::standins {

namespace {

constexpr COLORREF kPaper = RGB(181, 198, 168);     // the glass: greenish grey
constexpr COLORREF kInk = RGB(30, 40, 34);          // dark, slightly green
constexpr COLORREF kFaintInk = RGB(120, 136, 112);  // "unplugged"
constexpr COLORREF kFrame = RGB(58, 62, 66);
constexpr COLORREF kFrameText = RGB(200, 204, 208);
constexpr int kFullVolume = 65536;
// The display's own size of a text without a height of its own, and the limits of any.
constexpr int kDefaultTextHeight = 12, kMinTextHeight = 6, kMaxTextHeight = 32;
// Bytes of a text looked at: far more than a row can show.
constexpr std::size_t kMaxTextBytes = 256;
constexpr char kDefaultFace[] = "Tahoma";

int Zoom(int display_pixels) {
  return display_pixels * kZoomNum / kZoomDen;
}

// A GDI object deleted at the end of the scope, selected into `dc` meanwhile.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object) {
    old_ = object_ != nullptr ? ::SelectObject(dc_, object_) : nullptr;
  }
  ~Selected() {
    if (old_ != nullptr) ::SelectObject(dc_, old_);
    if (object_ != nullptr) ::DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_ = nullptr;
};

// The clip region of `dc` narrowed to `rect` for the scope.
class Clip {
 public:
  Clip(HDC dc, const RECT& rect) : dc_(dc), saved_(::SaveDC(dc)) {
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  ~Clip() { ::RestoreDC(dc_, saved_); }
  Clip(const Clip&) = delete;
  Clip& operator=(const Clip&) = delete;

 private:
  HDC dc_;
  int saved_;
};

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// The text as the window shows it: UTF-8 decoded (a byte that is not valid UTF-8 becomes a
// replacement), control characters and replacements shown as '?'.
std::wstring ShownText(const std::string& utf8) {
  const std::string part = utf8.substr(0, kMaxTextBytes);
  std::wstring wide;
  if (!part.empty()) {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, part.data(), static_cast<int>(part.size()), nullptr, 0);
    if (n > 0) {
      wide.resize(static_cast<std::size_t>(n));
      ::MultiByteToWideChar(CP_UTF8, 0, part.data(), static_cast<int>(part.size()), wide.data(), n);
    }
  }
  for (wchar_t& c : wide) {
    if (c < 0x20 || c == 0x7F || c == 0xFFFD) c = L'?';
  }
  return wide;
}

HFONT TextFont(const sim::LcdItem& item) {
  const int height = item.height > 0 ? std::clamp(item.height, kMinTextHeight, kMaxTextHeight)
                                     : kDefaultTextHeight;
  const int weight = std::clamp(item.weight, 0, 1000);
  const std::string face = item.font.empty() ? kDefaultFace : item.font;
  return ::CreateFontA(-Zoom(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face.c_str());
}

void PaintText(HDC dc, const RECT& band, int x, const sim::LcdItem& item, COLORREF ink) {
  const std::wstring text = ShownText(item.text);
  if (text.empty()) return;
  Selected font(dc, TextFont(item));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const int y = band.top + (kGlassRowHeight - metrics.tmHeight) / 2;
  ::SetTextColor(dc, ink);
  ::SetBkMode(dc, TRANSPARENT);
  ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &band, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
}

POINT At(int x, int y) {
  return POINT{x, y};
}

// A picture of the handset as a glyph of our own, in a square box: the contact states, the
// missed-call mark, and a small block for any other id.
void PaintGlyph(HDC dc, const RECT& box, int bitmap, COLORREF ink, COLORREF paper) {
  const int size = box.right - box.left;
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const int r = size * 2 / 5;
  const RECT circle{cx - r, cy - r, cx + r + 1, cy + r + 1};
  Selected pen(dc, ::CreatePen(PS_SOLID, std::max(2, size / 12), ink));
  Selected brush(dc, ::CreateSolidBrush(ink));
  const auto hollow_circle = [&] {
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Ellipse(dc, circle.left, circle.top, circle.right, circle.bottom);
    ::SelectObject(dc, old);
  };
  switch (bitmap) {
    case 118:  // on line
      ::Ellipse(dc, circle.left, circle.top, circle.right, circle.bottom);
      break;
    case 119:  // off line
      hollow_circle();
      break;
    case 124:  // away: a clock
      hollow_circle();
      ::MoveToEx(dc, cx, cy, nullptr);
      ::LineTo(dc, cx, cy - r * 2 / 3);
      ::MoveToEx(dc, cx, cy, nullptr);
      ::LineTo(dc, cx + r / 2, cy);
      break;
    case 116:  // not available: half dark
      hollow_circle();
      ::Chord(dc, circle.left, circle.top, circle.right, circle.bottom, circle.left, cy,
              circle.right, cy);
      break;
    case 125: {  // do not disturb: a bar across a dark disc
      ::Ellipse(dc, circle.left, circle.top, circle.right, circle.bottom);
      const RECT bar{cx - r * 3 / 5, cy - r / 5, cx + r * 3 / 5 + 1, cy + r / 5 + 1};
      Fill(dc, bar, paper);
      break;
    }
    case 126: {  // SkypeOut: a diamond
      const POINT diamond[] = {At(cx, cy - r), At(cx + r, cy), At(cx, cy + r), At(cx - r, cy)};
      ::Polygon(dc, diamond, 4);
      break;
    }
    case 140: {  // Skype Me: a star
      const int q = r * 2 / 5;
      const POINT star[] = {At(cx, cy - r),
                            At(cx + q, cy - q),
                            At(cx + r, cy - q / 2),
                            At(cx + q * 3 / 2, cy + q / 2),
                            At(cx + r * 3 / 4, cy + r),
                            At(cx, cy + q * 3 / 2),
                            At(cx - r * 3 / 4, cy + r),
                            At(cx - q * 3 / 2, cy + q / 2),
                            At(cx - r, cy - q / 2),
                            At(cx - q, cy - q)};
      ::Polygon(dc, star, 10);
      break;
    }
    case 115: {  // missed calls: an arrow down to the left
      Selected thick(dc, ::CreatePen(PS_SOLID, std::max(3, size / 8), ink));
      ::MoveToEx(dc, cx + r, cy - r, nullptr);
      ::LineTo(dc, cx - r / 2, cy + r / 2);
      const POINT head[] = {At(cx - r, cy + r), At(cx - r, cy - r / 4), At(cx + r / 4, cy + r)};
      ::Polygon(dc, head, 3);
      break;
    }
    default: {
      const RECT block{cx - r / 2, cy - r / 2, cx + r / 2 + 1, cy + r / 2 + 1};
      Fill(dc, block, ink);
      break;
    }
  }
}

// The volume bar: a cylinder lying across `area`, dark as far as the volume goes.
void PaintCylinder(HDC dc, const RECT& area, int volume) {
  const int top = area.top + 8, bottom = area.bottom - 8;
  const int left = area.left + 10, right = area.right - 10;
  const int cap = (bottom - top) / 3;  // half the width of an end's ellipse
  const long long level = std::clamp<long long>(volume, 0, kFullVolume);
  const int fill_to = left + cap + static_cast<int>((right - left - 2 * cap) * level / kFullVolume);
  Selected pen(dc, ::CreatePen(PS_SOLID, 2, kInk));
  {
    // The dark part, up to the level.
    Selected brush(dc, ::CreateSolidBrush(kInk));
    const RECT filled{left, top, fill_to + 1, bottom + 1};
    Clip clip(dc, filled);
    ::RoundRect(dc, left, top, right, bottom, 2 * cap, bottom - top);
  }
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::RoundRect(dc, left, top, right, bottom, 2 * cap, bottom - top);
  // The face of the liquid, and the far end.
  ::Ellipse(dc, fill_to - cap, top, fill_to + cap, bottom);
  ::Ellipse(dc, right - 2 * cap, top, right, bottom);
  ::SelectObject(dc, old);
}

// The "more" mark: a small triangle pointing down at the right end of the row.
void PaintMoreMark(HDC dc, const RECT& band, COLORREF ink, COLORREF paper) {
  const int right = band.right - 4, cy = (band.top + band.bottom) / 2;
  const RECT backing{right - 16, cy - 8, right + 2, cy + 9};
  Fill(dc, backing, paper);
  Selected pen(dc, ::CreatePen(PS_SOLID, 1, ink));
  Selected brush(dc, ::CreateSolidBrush(ink));
  const POINT triangle[] = {At(right - 14, cy - 5), At(right, cy - 5), At(right - 7, cy + 6)};
  ::Polygon(dc, triangle, 3);
}

bool HasVolume(const sim::LcdRow& row) {
  return std::any_of(row.items.begin(), row.items.end(), [](const sim::LcdItem& item) {
    return item.kind == sim::LcdItem::Kind::kVolume;
  });
}

int VolumeOf(const sim::LcdRow& row) {
  for (const sim::LcdItem& item : row.items) {
    if (item.kind == sim::LcdItem::Kind::kVolume) return item.volume;
  }
  return 0;
}

RECT Band(const RECT& glass, int row) {
  const int top = glass.top + (3 - row) * kGlassRowHeight;
  return RECT{glass.left, top, glass.right, top + kGlassRowHeight};
}

void PaintRow(HDC dc, const RECT& glass, int r, const sim::LcdRow& row, bool volume_drawn) {
  const RECT band = Band(glass, r);
  const bool selected = (row.style & 1) != 0;
  const COLORREF ink = selected ? kPaper : kInk;
  const COLORREF paper = selected ? kInk : kPaper;
  Clip clip(dc, band);
  if (selected) Fill(dc, band, kInk);

  std::vector<sim::LcdItem> items = row.items;
  std::stable_sort(items.begin(), items.end(),
                   [](const sim::LcdItem& a, const sim::LcdItem& b) { return a.x < b.x; });
  for (const sim::LcdItem& item : items) {
    if (item.x >= kDisplayWidth) continue;
    const int x = band.left + Zoom(std::max(item.x, 0));
    switch (item.kind) {
      case sim::LcdItem::Kind::kText:
        PaintText(dc, band, x, item, ink);
        break;
      case sim::LcdItem::Kind::kBitmap: {
        const int size = Zoom(kDisplayRowHeight - 4);
        const int top = band.top + (kGlassRowHeight - size) / 2;
        PaintGlyph(dc, RECT{x, top, x + size, top + size}, item.bitmap, ink, paper);
        break;
      }
      case sim::LcdItem::Kind::kVolume:
        if (!volume_drawn) PaintCylinder(dc, band, item.volume);
        break;
    }
  }
  if ((row.style & 2) != 0) {  // title: a rule under the row
    const RECT rule{band.left + 4, band.bottom - 3, band.right - 4, band.bottom - 1};
    Fill(dc, rule, ink);
  }
  if ((row.style & 4) != 0) {  // the number entry line: a box around it
    Selected pen(dc, ::CreatePen(PS_DOT, 1, ink));
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SetBkMode(dc, TRANSPARENT);
    ::Rectangle(dc, band.left + 2, band.top + 2, band.right - 2, band.bottom - 2);
    ::SelectObject(dc, old);
  }
  if ((row.style & 8) != 0) PaintMoreMark(dc, band, ink, paper);
}

}  // namespace

RECT GlassRect(int left, int top) {
  return RECT{left + kFrameSide, top + kFrameTop, left + kFrameSide + kGlassWidth,
              top + kFrameTop + kGlassHeight};
}

void PaintLcd(HDC dc, int left, int top, const sim::SimHandset& model, bool plugged) {
  // The frame, with the handset's name and the rotation mark on its top edge.
  {
    Selected pen(dc, ::CreatePen(PS_SOLID, 1, kFrame));
    Selected brush(dc, ::CreateSolidBrush(kFrame));
    ::RoundRect(dc, left, top, left + kLcdFrameWidth, top + kLcdFrameHeight, 14, 14);
  }
  {
    Selected font(dc, ::CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, kDefaultFace));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kFrameText);
    RECT strip{left + kFrameSide, top + 3, left + kLcdFrameWidth - kFrameSide, top + kFrameTop};
    ::DrawTextW(dc, L"Tr520", -1, &strip, DT_LEFT | DT_TOP | DT_SINGLELINE);
    if (model.rotated()) {
      ::DrawTextW(dc, L"\x21BB 180\x00B0", -1, &strip, DT_RIGHT | DT_TOP | DT_SINGLELINE);
    }
  }
  const RECT glass = GlassRect(left, top);
  Fill(dc, glass, kPaper);
  if (!plugged) {
    Selected font(dc, ::CreateFontA(-Zoom(10), 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, kDefaultFace));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kFaintInk);
    RECT text = glass;
    ::DrawTextW(dc, L"unplugged", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  // The volume bar fills the two middle rows; drawn once across both when both carry it.
  const bool both = HasVolume(model.row(2)) && HasVolume(model.row(1));
  if (both) {
    const RECT top_band = Band(glass, 2), bottom_band = Band(glass, 1);
    Clip clip(dc, glass);
    PaintCylinder(dc, RECT{glass.left, top_band.top, glass.right, bottom_band.bottom},
                  VolumeOf(model.row(2)));
  }
  for (int r = 3; r >= 0; --r) PaintRow(dc, glass, r, model.row(r), both && (r == 2 || r == 1));
}

void PaintLeds(HDC dc, int left, int top, int width, const sim::Leds& leds) {
  const struct {
    const wchar_t* name;
    int on;
    COLORREF lit;
  } kLamps[] = {{L"MAIN", leds.main, RGB(40, 210, 60)},
                {L"HOLD", leds.hold, RGB(255, 176, 0)},
                {L"MUTE", leds.mute, RGB(235, 40, 30)},
                {L"VOICE MAIL", leds.voicemail, RGB(40, 120, 255)}};
  const int step = width * 2 / 9;  // the last lamp's name is the longest
  Selected font(dc, ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, kDefaultFace));
  ::SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < 4; ++i) {
    const auto& lamp = kLamps[i];
    const int x = left + i * step;
    {
      Selected pen(dc, ::CreatePen(PS_SOLID, 1, RGB(70, 70, 70)));
      Selected brush(dc, ::CreateSolidBrush(lamp.on != 0 ? lamp.lit : RGB(64, 64, 64)));
      ::Ellipse(dc, x, top + 2, x + 14, top + 16);
    }
    if (lamp.on != 0) {  // a highlight on a lit lamp
      const RECT shine{x + 4, top + 5, x + 7, top + 8};
      Fill(dc, shine, RGB(255, 255, 255));
    }
    ::SetTextColor(dc, lamp.on != 0 ? RGB(0, 0, 0) : RGB(96, 96, 96));
    RECT label{x + 19, top, i == 3 ? left + width : x + step, top + kLedStripHeight};
    ::DrawTextW(dc, lamp.name, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace mivo::standins

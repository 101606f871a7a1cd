#include "platform/sim/sim_handset.h"

#include <algorithm>

#include "core/constants.h"
#include "platform/trace/trace_text.h"

namespace mivo::sim {

namespace {

constexpr int kRowCount = 4;

bool ValidRow(std::uint8_t row) {
  return row < kRowCount;
}

std::string TextOf(const char* text) {
  return text != nullptr ? text : "";
}

std::string ItemText(const LcdItem& item) {
  switch (item.kind) {
    case LcdItem::Kind::kText:
      return trace::Quote(item.text) + "@" + std::to_string(item.x);
    case LcdItem::Kind::kBitmap:
      return "[" + std::to_string(item.bitmap) + "]@" + std::to_string(item.x);
    case LcdItem::Kind::kVolume:
      return "{volume " + std::to_string(item.volume) + "}";
  }
  return {};
}

}  // namespace

SimHandset::SimHandset(DevicePort& port, SimWorld& world) : port_(port), world_(world) {}

std::string SimHandset::RowLine(int r) const {
  std::string line = "row " + std::to_string(r) + " style ";
  if (r < 0 || r >= kRowCount) return line + "0:";
  const LcdRow& lcd_row = rows_[r];
  line += std::to_string(lcd_row.style) + ":";
  // Left to right; items at the same x in the order drawn.
  std::vector<LcdItem> items = lcd_row.items;
  std::stable_sort(items.begin(), items.end(),
                   [](const LcdItem& a, const LcdItem& b) { return a.x < b.x; });
  for (const LcdItem& item : items) line += " " + ItemText(item);
  return line;
}

void SimHandset::LosePower() {
  for (LcdRow& lcd_row : rows_) lcd_row = LcdRow{};
  buffer_.clear();
  rotated_ = false;
  leds_ = Leds{};
}

void SimHandset::SetRowText(std::uint8_t r, int x, const char* text, int style, int weight,
                            const char* font, int height) {
  rows_[r].items.assign(1, LcdItem::Text(x, TextOf(text), weight, font, height));
  rows_[r].style = style;
}

bool SimHandset::fConnectDevice(HWND window) {
  connected_ = true;
  window_ = window;
  // A handset already plugged in announces itself at once.
  if (world_.handset.plugged) port_.PostTo(window, MSG_HANDSET_ARRIVED, 0, 0);
  return true;
}

bool SimHandset::fCloseDevice() {
  connected_ = false;
  window_ = nullptr;
  return true;
}

bool SimHandset::fSuspendDevice() {
  return true;
}

bool SimHandset::fCheckDriver() {
  return world_.handset.driver_ok;
}

bool SimHandset::fRotate180(int on) {
  rotated_ = on != 0;
  return true;
}

bool SimHandset::fClearDisplay2() {
  for (LcdRow& lcd_row : rows_) lcd_row = LcdRow{};
  return true;
}

bool SimHandset::fClearRow(std::uint8_t row) {
  if (!ValidRow(row)) return false;
  rows_[row] = LcdRow{};
  return true;
}

// The model keeps the text, its style and its font; the font only shapes the pixels (the
// `lcd` observation shows texts and styles).
bool SimHandset::fSendDisplayLCD_TXT(std::uint8_t row, int x, const char* text, int style,
                                     int weight, const char* font) {
  if (!ValidRow(row)) return false;
  SetRowText(row, x, text, style, weight, font, 0);
  return true;
}

bool SimHandset::fSendDisplayLCD_TXT2(std::uint8_t row, int x, const char* text, int style,
                                      int weight, const char* font, int height, int /*flag*/) {
  if (!ValidRow(row)) return false;
  SetRowText(row, x, text, style, weight, font, height);
  return true;
}

bool SimHandset::fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) {
  if (!ValidRow(row)) return false;
  rows_[row].items.push_back(LcdItem::Bitmap(x, bitmap));
  return true;
}

bool SimHandset::fSendDisplayLCD_Cylinder(int volume) {
  // The bar fills the two middle rows.
  LcdItem bar;
  bar.kind = LcdItem::Kind::kVolume;
  bar.volume = volume;
  for (int r : {2, 1}) {
    rows_[r].items.assign(1, bar);
    rows_[r].style = 0;
  }
  return true;
}

bool SimHandset::fClearBuf() {
  buffer_.clear();
  return true;
}

bool SimHandset::fDrawBuf(int x, int bitmap, const char* text, int zero, const char* font,
                          int height) {
  // The text when no bitmap is named, the bitmap when the text is empty; given both, the
  // text is drawn and the bitmap over it.
  const bool has_text = text != nullptr && text[0] != '\0';
  // The fourth argument (always 0) is taken as the weight: the font's own.
  if (bitmap == 0 || has_text) {
    buffer_.push_back(LcdItem::Text(x, TextOf(text), zero, font, height));
  }
  if (bitmap != 0) buffer_.push_back(LcdItem::Bitmap(x, bitmap));
  return true;
}

bool SimHandset::fSendBufToQ5LCD(std::uint8_t row, int x, int style) {
  if (!ValidRow(row)) return false;
  rows_[row].items = buffer_;
  for (LcdItem& item : rows_[row].items) item.x += x;
  rows_[row].style = style;
  return true;
}

bool SimHandset::fSetLEDOn(int on) {
  leds_.main = on != 0 ? 1 : 0;
  return true;
}

bool SimHandset::fSetLEDStatus(int led, int on) {
  if (led == 0) {
    leds_.hold = on != 0 ? 1 : 0;
  } else if (led == 1) {
    leds_.mute = on != 0 ? 1 : 0;
  } else {
    return false;
  }
  return true;
}

bool SimHandset::fSetVoiceLEDOn(int on) {
  leds_.voicemail = on != 0 ? 1 : 0;
  return true;
}

}  // namespace mivo::sim

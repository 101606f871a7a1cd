// The simulated handset: implements the handset library over a model of the four LCD rows,
// the one-row off-screen buffer, the four LEDs, the rotation flag and the plug state. It
// reaches the outside only through its port (the arrival message to the window it was given).
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/handset_library.h"
#include "platform/sim/device_port.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

struct LcdItem {
  enum class Kind { kText, kBitmap, kVolume };
  Kind kind = Kind::kText;
  int x = 0;
  std::string text;  // kText
  int weight = 0;    // kText: the font weight asked for (0: the font's own)
  int height = 0;    // kText: the font height asked for (0: the row's own)
  std::string font;  // kText: the face name asked for, at most kMaxFontName bytes
  int bitmap = 0;    // kBitmap
  int volume = 0;    // kVolume

  static constexpr std::size_t kMaxFontName = 31;

  static LcdItem Text(int x, std::string text) {
    LcdItem item;
    item.x = x;
    item.text = std::move(text);
    return item;
  }
  // A text with the font it was drawn in; a longer face name is cut.
  static LcdItem Text(int x, std::string text, int weight, const char* font, int height) {
    LcdItem item = Text(x, std::move(text));
    item.weight = weight;
    item.height = height;
    if (font != nullptr) item.font.assign(font, ::strnlen(font, kMaxFontName));
    return item;
  }
  static LcdItem Bitmap(int x, int bitmap) {
    LcdItem item;
    item.kind = Kind::kBitmap;
    item.x = x;
    item.bitmap = bitmap;
    return item;
  }

  bool operator==(const LcdItem&) const = default;
};

struct LcdRow {
  int style = 0;
  std::vector<LcdItem> items;  // in the order drawn

  bool operator==(const LcdRow&) const = default;
};

struct Leds {
  int main = 0;
  int hold = 0;
  int mute = 0;
  int voicemail = 0;

  bool operator==(const Leds&) const = default;
};

class SimHandset : public HandsetLibrary {
 public:
  SimHandset(DevicePort& port, SimWorld& world);

  // Rows by number, 0 = bottom, 3 = top.
  const LcdRow& row(int r) const { return rows_[r]; }
  const Leds& leds() const { return leds_; }
  bool rotated() const { return rotated_; }
  bool connected() const { return connected_; }
  // The off-screen row buffer's items, in the order drawn.
  const std::vector<LcdItem>& buffer() const { return buffer_; }
  // The row as the `lcd` observation prints it: `row R style S: ITEMS`, items by x (equal x
  // in the order drawn).
  std::string RowLine(int r) const;
  // The handset loses power (unplugged, lost, or suspended with the PC): it forgets its
  // rows, its off-screen buffer, its rotation and its LEDs. Not a library call, so not traced.
  void LosePower();

  bool fConnectDevice(HWND window) override;
  bool fCloseDevice() override;
  bool fSuspendDevice() override;
  bool fCheckDriver() override;
  bool fRotate180(int on) override;
  bool fClearDisplay2() override;
  bool fClearRow(std::uint8_t row) override;
  bool fSendDisplayLCD_TXT(std::uint8_t row, int x, const char* text, int style, int weight,
                           const char* font) override;
  bool fSendDisplayLCD_TXT2(std::uint8_t row, int x, const char* text, int style, int weight,
                            const char* font, int height, int flag) override;
  bool fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) override;
  bool fSendDisplayLCD_Cylinder(int volume) override;
  bool fClearBuf() override;
  bool fDrawBuf(int x, int bitmap, const char* text, int zero, const char* font,
                int height) override;
  bool fSendBufToQ5LCD(std::uint8_t row, int x, int style) override;
  bool fSetLEDOn(int on) override;
  bool fSetLEDStatus(int led, int on) override;
  bool fSetVoiceLEDOn(int on) override;

 private:
  DevicePort& port_;
  SimWorld& world_;
  LcdRow rows_[4];
  std::vector<LcdItem> buffer_;
  Leds leds_;
  // Replaces row `r` with one text item (the direct text calls).
  void SetRowText(std::uint8_t r, int x, const char* text, int style, int weight, const char* font,
                  int height);

  bool rotated_ = false;
  bool connected_ = false;
  HWND window_ = nullptr;  // where the handset's messages go
};

}  // namespace mivo::sim

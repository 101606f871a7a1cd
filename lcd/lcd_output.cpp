#include "lcd/lcd_output.h"

#include <cstdint>

#include "core/constants.h"

namespace mivo::lcd {

int StatusIcon(int status) {
  switch (status) {
    case 0:
      return 119;
    case 1:
      return 118;
    case 2:
      return 124;
    case 3:
      return 116;
    case 4:
      return 125;
    case 5:
      return 126;
    case 6:
      return 140;
    default:
      return 118;
  }
}

void TextRow(HandsetLibrary& handset, int row, int x, const char* text, int style, int weight) {
  handset.fSendDisplayLCD_TXT(static_cast<std::uint8_t>(row), x, text != nullptr ? text : "", style,
                              weight, kFont);
}

void TextRow2(HandsetLibrary& handset, int row, int x, const char* text, int style, int weight,
              int height, int flag) {
  handset.fSendDisplayLCD_TXT2(static_cast<std::uint8_t>(row), x, text != nullptr ? text : "",
                               style, weight, kFont, height, flag);
}

void BufferRow(HandsetLibrary& handset, int row, const std::string& name, int icon, int style) {
  handset.fClearBuf();
  handset.fDrawBuf(kBesideIcon, 0, name.c_str(), 0, kFont, kListRowHeight);
  handset.fDrawBuf(kRowStart, icon, "", 0, "", 0);
  handset.fSendBufToQ5LCD(static_cast<std::uint8_t>(row), kRowStart, style);
}

void ArmRepeatTimer(WindowHost& window, HWND owner, int held_key) {
  if (held_key == KEY_UP) {
    window.SetTimer(owner, TIMER_UP_REPEAT, 750);
  } else if (held_key == KEY_DOWN) {
    window.SetTimer(owner, TIMER_DOWN_REPEAT, 750);
  }
}

}  // namespace mivo::lcd

#include "platform/win32/win32_handset.h"

namespace mivo::win32 {

bool Win32Handset::Load(const std::string& folder, std::string* error) {
  if (!library_.Load(folder, kFileName, error)) return false;
  std::string missing;
#define MIVO_BIND(name) library_.Bind(#name, &f_.name, &missing)
  MIVO_BIND(fConnectDevice);
  MIVO_BIND(fCloseDevice);
  MIVO_BIND(fSuspendDevice);
  MIVO_BIND(fCheckDriver);
  MIVO_BIND(fRotate180);
  MIVO_BIND(fClearDisplay2);
  MIVO_BIND(fClearRow);
  MIVO_BIND(fSendDisplayLCD_TXT);
  MIVO_BIND(fSendDisplayLCD_TXT2);
  MIVO_BIND(fSendDisplayLCD_BMP);
  MIVO_BIND(fSendDisplayLCD_Cylinder);
  MIVO_BIND(fClearBuf);
  MIVO_BIND(fDrawBuf);
  MIVO_BIND(fSendBufToQ5LCD);
  MIVO_BIND(fSetLEDOn);
  MIVO_BIND(fSetLEDStatus);
  MIVO_BIND(fSetVoiceLEDOn);
#undef MIVO_BIND
  if (missing.empty()) return true;
  *error = std::string(kFileName) + " has no function " + missing + ".";
  return false;
}

bool Win32Handset::fConnectDevice(HWND window) {
  return f_.fConnectDevice(window) != 0;
}

bool Win32Handset::fCloseDevice() {
  return f_.fCloseDevice() != 0;
}

bool Win32Handset::fSuspendDevice() {
  return f_.fSuspendDevice() != 0;
}

bool Win32Handset::fCheckDriver() {
  return f_.fCheckDriver() != 0;
}

bool Win32Handset::fRotate180(int on) {
  return f_.fRotate180(on) != 0;
}

bool Win32Handset::fClearDisplay2() {
  return f_.fClearDisplay2() != 0;
}

bool Win32Handset::fClearRow(std::uint8_t row) {
  return f_.fClearRow(row) != 0;
}

bool Win32Handset::fSendDisplayLCD_TXT(std::uint8_t row, int x, const char* text, int style,
                                       int weight, const char* font) {
  return f_.fSendDisplayLCD_TXT(row, x, text, style, weight, font) != 0;
}

bool Win32Handset::fSendDisplayLCD_TXT2(std::uint8_t row, int x, const char* text, int style,
                                        int weight, const char* font, int height, int flag) {
  return f_.fSendDisplayLCD_TXT2(row, x, text, style, weight, font, height, flag) != 0;
}

bool Win32Handset::fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) {
  return f_.fSendDisplayLCD_BMP(row, x, bitmap) != 0;
}

bool Win32Handset::fSendDisplayLCD_Cylinder(int volume) {
  return f_.fSendDisplayLCD_Cylinder(volume) != 0;
}

bool Win32Handset::fClearBuf() {
  return f_.fClearBuf() != 0;
}

bool Win32Handset::fDrawBuf(int x, int bitmap, const char* text, int zero, const char* font,
                            int height) {
  return f_.fDrawBuf(x, bitmap, text, zero, font, height) != 0;
}

bool Win32Handset::fSendBufToQ5LCD(std::uint8_t row, int x, int style) {
  return f_.fSendBufToQ5LCD(row, x, style) != 0;
}

bool Win32Handset::fSetLEDOn(int on) {
  return f_.fSetLEDOn(on) != 0;
}

bool Win32Handset::fSetLEDStatus(int led, int on) {
  return f_.fSetLEDStatus(led, on) != 0;
}

bool Win32Handset::fSetVoiceLEDOn(int on) {
  return f_.fSetVoiceLEDOn(on) != 0;
}

}  // namespace mivo::win32

// The handset library, UsbPhone_Q5.dll, loaded from the program's folder: every call of the
// controller goes to the library's function of the same name.
#pragma once

#include <string>

#include "platform/handset_library.h"
#include "platform/win32/library_functions.h"
#include "platform/win32/win32_library.h"

namespace mivo::win32 {

class Win32Handset : public HandsetLibrary {
 public:
  static constexpr const char* kFileName = "UsbPhone_Q5.dll";

  // Loads the library from `folder` and finds all its functions. On failure `error` names the
  // file, and the first function missing; the library must then not be called.
  bool Load(const std::string& folder, std::string* error);

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
  LoadedLibrary library_;
  HandsetFunctions f_;
};

}  // namespace mivo::win32

// The handset library: the controller's only path to the handset's LCD, LEDs and keys.
// One virtual function per call of the library, same names and argument order. The library
// reports to the controller by posting window messages to the window given to fConnectDevice.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace mivo {

class HandsetLibrary {
 public:
  virtual ~HandsetLibrary() = default;

  virtual bool fConnectDevice(HWND window) = 0;
  virtual bool fCloseDevice() = 0;
  virtual bool fSuspendDevice() = 0;
  virtual bool fCheckDriver() = 0;
  virtual bool fRotate180(int on) = 0;
  virtual bool fClearDisplay2() = 0;
  virtual bool fClearRow(std::uint8_t row) = 0;
  virtual bool fSendDisplayLCD_TXT(std::uint8_t row, int x, const char* text, int style, int weight,
                                   const char* font) = 0;
  virtual bool fSendDisplayLCD_TXT2(std::uint8_t row, int x, const char* text, int style,
                                    int weight, const char* font, int height, int flag) = 0;
  virtual bool fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) = 0;
  virtual bool fSendDisplayLCD_Cylinder(int volume) = 0;
  virtual bool fClearBuf() = 0;
  virtual bool fDrawBuf(int x, int bitmap, const char* text, int zero, const char* font,
                        int height) = 0;
  virtual bool fSendBufToQ5LCD(std::uint8_t row, int x, int style) = 0;
  virtual bool fSetLEDOn(int on) = 0;
  virtual bool fSetLEDStatus(int led, int on) = 0;
  virtual bool fSetVoiceLEDOn(int on) = 0;
};

}  // namespace mivo

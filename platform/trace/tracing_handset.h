// The handset library with every call traced: the line is written when the call is made,
// then the call goes on to the library underneath, whichever it is (the simulated handset,
// the maker's library, our stand-in).
#pragma once

#include "platform/handset_library.h"
#include "platform/trace/tracer.h"

namespace mivo::trace {

class TracingHandset : public HandsetLibrary {
 public:
  TracingHandset(HandsetLibrary& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

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
  HandsetLibrary& inner_;
  Tracer& tracer_;
};

}  // namespace mivo::trace

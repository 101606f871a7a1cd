#include "platform/trace/tracing_handset.h"

#include "platform/trace/trace_args.h"

namespace mivo::trace {

bool TracingHandset::fConnectDevice(HWND window) {
  tracer_.Call([&] { return CallLine("fConnectDevice", {tracer_.Window(window)}); });
  return inner_.fConnectDevice(window);
}

bool TracingHandset::fCloseDevice() {
  tracer_.Call("fCloseDevice()");
  return inner_.fCloseDevice();
}

bool TracingHandset::fSuspendDevice() {
  tracer_.Call("fSuspendDevice()");
  return inner_.fSuspendDevice();
}

bool TracingHandset::fCheckDriver() {
  tracer_.Call("fCheckDriver()");
  return inner_.fCheckDriver();
}

bool TracingHandset::fRotate180(int on) {
  tracer_.Call([&] { return CallLine("fRotate180", {N(on)}); });
  return inner_.fRotate180(on);
}

bool TracingHandset::fClearDisplay2() {
  tracer_.Call("fClearDisplay2()");
  return inner_.fClearDisplay2();
}

bool TracingHandset::fClearRow(std::uint8_t row) {
  tracer_.Call([&] { return CallLine("fClearRow", {N(row)}); });
  return inner_.fClearRow(row);
}

bool TracingHandset::fSendDisplayLCD_TXT(std::uint8_t row, int x, const char* text, int style,
                                         int weight, const char* font) {
  tracer_.Call([&] {
    return CallLine("fSendDisplayLCD_TXT",
                    {N(row), N(x), Text(text), N(style), N(weight), Text(font)});
  });
  return inner_.fSendDisplayLCD_TXT(row, x, text, style, weight, font);
}

bool TracingHandset::fSendDisplayLCD_TXT2(std::uint8_t row, int x, const char* text, int style,
                                          int weight, const char* font, int height, int flag) {
  tracer_.Call([&] {
    return CallLine("fSendDisplayLCD_TXT2", {N(row), N(x), Text(text), N(style), N(weight),
                                             Text(font), N(height), N(flag)});
  });
  return inner_.fSendDisplayLCD_TXT2(row, x, text, style, weight, font, height, flag);
}

bool TracingHandset::fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) {
  tracer_.Call([&] { return CallLine("fSendDisplayLCD_BMP", {N(row), N(x), N(bitmap)}); });
  return inner_.fSendDisplayLCD_BMP(row, x, bitmap);
}

bool TracingHandset::fSendDisplayLCD_Cylinder(int volume) {
  tracer_.Call([&] { return CallLine("fSendDisplayLCD_Cylinder", {N(volume)}); });
  return inner_.fSendDisplayLCD_Cylinder(volume);
}

bool TracingHandset::fClearBuf() {
  tracer_.Call("fClearBuf()");
  return inner_.fClearBuf();
}

bool TracingHandset::fDrawBuf(int x, int bitmap, const char* text, int zero, const char* font,
                              int height) {
  tracer_.Call([&] {
    return CallLine("fDrawBuf", {N(x), N(bitmap), Text(text), N(zero), Text(font), N(height)});
  });
  return inner_.fDrawBuf(x, bitmap, text, zero, font, height);
}

bool TracingHandset::fSendBufToQ5LCD(std::uint8_t row, int x, int style) {
  tracer_.Call([&] { return CallLine("fSendBufToQ5LCD", {N(row), N(x), N(style)}); });
  return inner_.fSendBufToQ5LCD(row, x, style);
}

bool TracingHandset::fSetLEDOn(int on) {
  tracer_.Call([&] { return CallLine("fSetLEDOn", {N(on)}); });
  return inner_.fSetLEDOn(on);
}

bool TracingHandset::fSetLEDStatus(int led, int on) {
  tracer_.Call([&] { return CallLine("fSetLEDStatus", {N(led), N(on)}); });
  return inner_.fSetLEDStatus(led, on);
}

bool TracingHandset::fSetVoiceLEDOn(int on) {
  tracer_.Call([&] { return CallLine("fSetVoiceLEDOn", {N(on)}); });
  return inner_.fSetVoiceLEDOn(on);
}

}  // namespace mivo::trace

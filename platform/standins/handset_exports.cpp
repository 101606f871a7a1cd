// UsbPhone_Q5.dll, the virtual handset: every function of the handset library, exported by
// its plain name, over the simulated handset's model (handset_standin.h). Called only from
// the controller's thread.
#include <cstdint>

#include "platform/standins/handset_standin.h"
#include "platform/win32/library_functions.h"

namespace mivo::standins {

namespace {

HINSTANCE g_module = nullptr;
HandsetStandIn* g_handset = nullptr;

HandsetStandIn& State() {
  if (g_handset == nullptr) g_handset = new HandsetStandIn(g_module);
  return *g_handset;
}

// Each call updates the model, then the window shows the result.
template <typename Call>
win32::LibraryBool Draw(Call call) {
  HandsetStandIn& h = State();
  const bool ok = call(h.model());
  h.Refresh();
  return ok ? 1 : 0;
}

}  // namespace

}  // namespace mivo::standins

using mivo::standins::Draw;
using mivo::standins::State;
using mivo::win32::LibraryBool;
using Model = mivo::sim::SimHandset;

#define MIVO_EXPORT extern "C" __declspec(dllexport)

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) mivo::standins::g_module = module;
  // Unloaded while the process goes on: its windows go with it. At the process's end the
  // system takes everything.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    delete mivo::standins::g_handset;
    mivo::standins::g_handset = nullptr;
  }
  return TRUE;
}

MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fConnectDevice(void* window) {
  return State().Connect(static_cast<mivo::HWND>(window)) ? 1 : 0;
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fCloseDevice() {
  return State().Close() ? 1 : 0;
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSuspendDevice() {
  return Draw([](Model& m) { return m.fSuspendDevice(); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fCheckDriver() {
  return Draw([](Model& m) { return m.fCheckDriver(); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fRotate180(int on) {
  return Draw([&](Model& m) { return m.fRotate180(on); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fClearDisplay2() {
  return Draw([](Model& m) { return m.fClearDisplay2(); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fClearRow(std::uint8_t row) {
  return Draw([&](Model& m) { return m.fClearRow(row); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendDisplayLCD_TXT(std::uint8_t row, int x,
                                                              const char* text, int style,
                                                              int weight, const char* font) {
  return Draw([&](Model& m) { return m.fSendDisplayLCD_TXT(row, x, text, style, weight, font); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendDisplayLCD_TXT2(std::uint8_t row, int x,
                                                               const char* text, int style,
                                                               int weight, const char* font,
                                                               int height, int flag) {
  return Draw([&](Model& m) {
    return m.fSendDisplayLCD_TXT2(row, x, text, style, weight, font, height, flag);
  });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendDisplayLCD_BMP(std::uint8_t row, int x, int bitmap) {
  return Draw([&](Model& m) { return m.fSendDisplayLCD_BMP(row, x, bitmap); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendDisplayLCD_Cylinder(int volume) {
  return Draw([&](Model& m) { return m.fSendDisplayLCD_Cylinder(volume); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fClearBuf() {
  return Draw([](Model& m) { return m.fClearBuf(); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fDrawBuf(int x, int bitmap, const char* text, int zero,
                                                   const char* font, int height) {
  return Draw([&](Model& m) { return m.fDrawBuf(x, bitmap, text, zero, font, height); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendBufToQ5LCD(std::uint8_t row, int x, int style) {
  return Draw([&](Model& m) { return m.fSendBufToQ5LCD(row, x, style); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetLEDOn(int on) {
  return Draw([&](Model& m) { return m.fSetLEDOn(on); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetLEDStatus(int led, int on) {
  return Draw([&](Model& m) { return m.fSetLEDStatus(led, on); });
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetVoiceLEDOn(int on) {
  return Draw([&](Model& m) { return m.fSetVoiceLEDOn(on); });
}

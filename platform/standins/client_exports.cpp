// CallBridge.dll, the simulated VoIP client: every function of the VoIP bridge, exported by
// its plain name, over the simulated platform's client model (client_standin.h). Called only
// from the controller's thread.
#include <cstdint>

#include "platform/standins/client_standin.h"
#include "platform/win32/library_functions.h"

namespace mivo::standins {

namespace {

HINSTANCE g_module = nullptr;
ClientStandIn* g_client = nullptr;

sim::SimVoipClient& Model() {
  if (g_client == nullptr) g_client = new ClientStandIn(g_module);
  return g_client->model();
}

win32::LibraryBool Result(bool ok) {
  return ok ? 1 : 0;
}

}  // namespace

}  // namespace mivo::standins

using mivo::standins::Model;
using mivo::standins::Result;
using mivo::win32::LibraryBool;

#define MIVO_EXPORT extern "C" __declspec(dllexport)

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) mivo::standins::g_module = module;
  // Unloaded while the process goes on: its windows go with it.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    delete mivo::standins::g_client;
    mivo::standins::g_client = nullptr;
  }
  return TRUE;
}

MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fRunAP() {
  return Result(Model().fRunAP());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fConnectVoIP(void* window, int mode) {
  Model();
  return Result(mivo::standins::g_client->Connect(static_cast<mivo::HWND>(window), mode));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fDisconnectVoIP() {
  return Result(Model().fDisconnectVoIP());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fReInitial() {
  return Result(Model().fReInitial());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fCheckVoIPOnLine() {
  return Result(Model().fCheckVoIPOnLine());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fFocusAP() {
  return Result(Model().fFocusAP());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSendKey(int key, int long_press, char* number,
                                                   int* length) {
  return Result(Model().fSendKey(key, long_press, number, length));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSending(const char* command) {
  return Result(Model().fSending(command));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fCallUser(const char* target) {
  return Result(Model().fCallUser(target));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetMute(int on) {
  return Result(Model().fSetMute(on));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetOnHold() {
  return Result(Model().fSetOnHold());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetInProgress() {
  return Result(Model().fSetInProgress());
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetCallOnHold(const char* call_id) {
  return Result(Model().fSetCallOnHold(call_id));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetCallInProgress(const char* call_id) {
  return Result(Model().fSetCallInProgress(call_id));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetCallFinished(const char* call_id) {
  return Result(Model().fSetCallFinished(call_id));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetCallSeen(const char* call_id) {
  return Result(Model().fSetCallSeen(call_id));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fSetAudio(int kind, const char* device_name) {
  return Result(Model().fSetAudio(kind, device_name));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fGetFullPhoneBook(const std::uint8_t** block) {
  return Result(Model().fGetFullPhoneBook(block));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fGetCalls(const std::uint8_t** block) {
  return Result(Model().fGetCalls(block));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fGetActiveCalls(const std::uint8_t** block) {
  return Result(Model().fGetActiveCalls(block));
}
MIVO_EXPORT LibraryBool MIVO_LIBRARY_CALL fGetVoiceMails(const std::uint8_t** block) {
  return Result(Model().fGetVoiceMails(block));
}
MIVO_EXPORT int MIVO_LIBRARY_CALL fGetMissedCallCount() {
  return Model().fGetMissedCallCount();
}
MIVO_EXPORT int MIVO_LIBRARY_CALL fGetUnPlayedVoiceMailCount() {
  return Model().fGetUnPlayedVoiceMailCount();
}

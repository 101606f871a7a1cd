#include "platform/win32/win32_voip_bridge.h"

namespace mivo::win32 {

bool Win32VoipBridge::Load(const std::string& folder, std::string* error) {
  if (!library_.Load(folder, kFileName, error)) return false;
  std::string missing;
#define MIVO_BIND(name) library_.Bind(#name, &f_.name, &missing)
  MIVO_BIND(fRunAP);
  MIVO_BIND(fConnectVoIP);
  MIVO_BIND(fDisconnectVoIP);
  MIVO_BIND(fReInitial);
  MIVO_BIND(fCheckVoIPOnLine);
  MIVO_BIND(fFocusAP);
  MIVO_BIND(fSendKey);
  MIVO_BIND(fSending);
  MIVO_BIND(fCallUser);
  MIVO_BIND(fSetMute);
  MIVO_BIND(fSetOnHold);
  MIVO_BIND(fSetInProgress);
  MIVO_BIND(fSetCallOnHold);
  MIVO_BIND(fSetCallInProgress);
  MIVO_BIND(fSetCallFinished);
  MIVO_BIND(fSetCallSeen);
  MIVO_BIND(fSetAudio);
  MIVO_BIND(fGetFullPhoneBook);
  MIVO_BIND(fGetCalls);
  MIVO_BIND(fGetActiveCalls);
  MIVO_BIND(fGetVoiceMails);
  MIVO_BIND(fGetMissedCallCount);
  MIVO_BIND(fGetUnPlayedVoiceMailCount);
#undef MIVO_BIND
  if (missing.empty()) return true;
  *error = std::string(kFileName) + " has no function " + missing + ".";
  return false;
}

bool Win32VoipBridge::fRunAP() {
  return f_.fRunAP() != 0;
}

bool Win32VoipBridge::fConnectVoIP(HWND window, int mode) {
  return f_.fConnectVoIP(window, mode) != 0;
}

bool Win32VoipBridge::fDisconnectVoIP() {
  return f_.fDisconnectVoIP() != 0;
}

bool Win32VoipBridge::fReInitial() {
  return f_.fReInitial() != 0;
}

bool Win32VoipBridge::fCheckVoIPOnLine() {
  return f_.fCheckVoIPOnLine() != 0;
}

bool Win32VoipBridge::fFocusAP() {
  return f_.fFocusAP() != 0;
}

bool Win32VoipBridge::fSendKey(int key, int long_press, char* number, int* length) {
  return f_.fSendKey(key, long_press, number, length) != 0;
}

bool Win32VoipBridge::fSending(const char* command) {
  return f_.fSending(command) != 0;
}

bool Win32VoipBridge::fCallUser(const char* target) {
  return f_.fCallUser(target) != 0;
}

bool Win32VoipBridge::fSetMute(int on) {
  return f_.fSetMute(on) != 0;
}

bool Win32VoipBridge::fSetOnHold() {
  return f_.fSetOnHold() != 0;
}

bool Win32VoipBridge::fSetInProgress() {
  return f_.fSetInProgress() != 0;
}

bool Win32VoipBridge::fSetCallOnHold(const char* call_id) {
  return f_.fSetCallOnHold(call_id) != 0;
}

bool Win32VoipBridge::fSetCallInProgress(const char* call_id) {
  return f_.fSetCallInProgress(call_id) != 0;
}

bool Win32VoipBridge::fSetCallFinished(const char* call_id) {
  return f_.fSetCallFinished(call_id) != 0;
}

bool Win32VoipBridge::fSetCallSeen(const char* call_id) {
  return f_.fSetCallSeen(call_id) != 0;
}

bool Win32VoipBridge::fSetAudio(int kind, const char* device_name) {
  return f_.fSetAudio(kind, device_name) != 0;
}

bool Win32VoipBridge::fGetFullPhoneBook(const std::uint8_t** block) {
  return f_.fGetFullPhoneBook(block) != 0;
}

bool Win32VoipBridge::fGetCalls(const std::uint8_t** block) {
  return f_.fGetCalls(block) != 0;
}

bool Win32VoipBridge::fGetActiveCalls(const std::uint8_t** block) {
  return f_.fGetActiveCalls(block) != 0;
}

bool Win32VoipBridge::fGetVoiceMails(const std::uint8_t** block) {
  return f_.fGetVoiceMails(block) != 0;
}

int Win32VoipBridge::fGetMissedCallCount() {
  return f_.fGetMissedCallCount();
}

int Win32VoipBridge::fGetUnPlayedVoiceMailCount() {
  return f_.fGetUnPlayedVoiceMailCount();
}

}  // namespace mivo::win32

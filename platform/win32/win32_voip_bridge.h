// The VoIP bridge, CallBridge.dll, loaded from the program's folder: every call of the
// controller goes to the library's function of the same name.
#pragma once

#include <string>

#include "platform/voip_bridge.h"
#include "platform/win32/library_functions.h"
#include "platform/win32/win32_library.h"

namespace mivo::win32 {

class Win32VoipBridge : public VoipBridge {
 public:
  static constexpr const char* kFileName = "CallBridge.dll";

  // Loads the library from `folder` and finds all its functions. On failure `error` names the
  // file, and the first function missing; the library must then not be called.
  bool Load(const std::string& folder, std::string* error);

  bool fRunAP() override;
  bool fConnectVoIP(HWND window, int mode) override;
  bool fDisconnectVoIP() override;
  bool fReInitial() override;
  bool fCheckVoIPOnLine() override;
  bool fFocusAP() override;
  bool fSendKey(int key, int long_press, char* number, int* length) override;
  bool fSending(const char* command) override;
  bool fCallUser(const char* target) override;
  bool fSetMute(int on) override;
  bool fSetOnHold() override;
  bool fSetInProgress() override;
  bool fSetCallOnHold(const char* call_id) override;
  bool fSetCallInProgress(const char* call_id) override;
  bool fSetCallFinished(const char* call_id) override;
  bool fSetCallSeen(const char* call_id) override;
  bool fSetAudio(int kind, const char* device_name) override;
  bool fGetFullPhoneBook(const std::uint8_t** block) override;
  bool fGetCalls(const std::uint8_t** block) override;
  bool fGetActiveCalls(const std::uint8_t** block) override;
  bool fGetVoiceMails(const std::uint8_t** block) override;
  int fGetMissedCallCount() override;
  int fGetUnPlayedVoiceMailCount() override;

 private:
  LoadedLibrary library_;
  VoipFunctions f_;
};

}  // namespace mivo::win32

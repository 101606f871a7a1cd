// The VoIP bridge with every call traced: the line is written when the call is made (for
// fSendKey with the number buffer and its length as the caller hands them in), then the call
// goes on to the bridge underneath.
#pragma once

#include "platform/trace/tracer.h"
#include "platform/voip_bridge.h"

namespace mivo::trace {

class TracingVoipBridge : public VoipBridge {
 public:
  TracingVoipBridge(VoipBridge& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

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
  VoipBridge& inner_;
  Tracer& tracer_;
};

}  // namespace mivo::trace

// The simulated VoIP client: implements the VoIP bridge over the world's phone book, call
// history, active calls, voicemails, counts and on-line state. It builds real binary blocks
// in the bridge's record formats (voip/blocks.h), owns them, and frees the previous block of
// a kind at the next fetch of that kind. It keeps the number being typed by the fSendKey
// rules. In auto mode it reacts on its own as a real client would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/sim/event_loop.h"
#include "platform/sim/sim_world.h"
#include "platform/sim/trace.h"
#include "platform/voip_bridge.h"

namespace mivo::sim {

class SimVoipClient : public VoipBridge {
 public:
  SimVoipClient(EventLoop& loop, Trace& trace, SimWorld& world);

  // The number as the client holds it (at most 50 characters).
  const std::string& number() const { return number_; }
  bool in_call() const { return in_call_; }
  // The far end rings (the `ring` event): in auto mode CALL then answers it.
  void NoteRinging(const std::string& caller);
  // The far end hangs up (auto mode's `finished`): ends the call and posts the message.
  void FarEndHangsUp();

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
  EventLoop& loop_;
  Trace& trace_;
  SimWorld& world_;
  std::string number_;
  bool in_call_ = false;
  bool ringing_ = false;
  std::string ringing_caller_;
  HWND window_ = nullptr;
  int next_call_id_ = 100;
  std::unique_ptr<std::uint8_t[]> phone_book_block_;
  std::unique_ptr<std::uint8_t[]> calls_block_;
  std::unique_ptr<std::uint8_t[]> active_block_;
  std::unique_ptr<std::uint8_t[]> voicemail_block_;
  std::string in_progress_id_;  // storage behind posted id texts (auto mode)
};

}  // namespace mivo::sim

// The simulated VoIP client: implements the VoIP bridge over the world's phone book, call
// history, active calls, voicemails, counts and on-line state. It builds real binary blocks
// in the bridge's record formats (voip/blocks.h), owns them, and frees the previous block of
// a kind at the next fetch of that kind. It keeps the number being typed by the fSendKey
// rules. In auto mode it reacts on its own as a real client would, through its port: messages
// to the window it was given, and its own delays.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/device_port.h"
#include "platform/sim/number_entry.h"
#include "platform/sim/sim_world.h"
#include "platform/voip_bridge.h"

namespace mivo::sim {

class SimVoipClient : public VoipBridge {
 public:
  SimVoipClient(DevicePort& port, SimWorld& world);

  // The number as the client holds it (at most 50 characters).
  const std::string& number() const { return number_.number(); }
  // A call is in progress: from a call placed (key 9 on a number, fCallUser) or answered, or
  // announced by the far end, until it ends. Digit keys are tones then.
  bool in_call() const { return in_call_; }
  bool ringing() const { return ringing_; }
  // The current call was put on hold (and not resumed since).
  bool held() const { return held_; }
  // The far end rings (the `ring` event): in auto mode CALL then answers it.
  void NoteRinging(const std::string& caller);
  // The client reports a call in progress (the `in-progress` event): from now on digit keys
  // are tones, until the call ends.
  void NoteCallInProgress();
  // The far end hangs up (auto mode's `finished`): ends the call and posts the message.
  // Returns whether the message was posted (there was a call, and the client reacts).
  bool FarEndHangsUp();
  // The call ended or failed at the client; nothing is posted (the script or the far end
  // reports it).
  void DropCall();

  // Test hook: texts fill their whole block field, with no terminating zero, when they are
  // that long (a careless client does so; the controller must cope).
  void set_unterminated_texts(bool on) { unterminated_texts_ = on; }

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
  // Posts a message to the controller window, only in auto mode and while connected.
  void Notify(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // Posts a message whose lParam points to `text`, kept alive until long after dispatch.
  void NotifyText(UINT message, const std::string& text);
  bool Reacting() const;
  // Starts a call to the targets (handles or speed-dial texts); in auto mode it goes in
  // progress after a short delay, or joins as a second call when the current one is held.
  void PlaceCall(const std::vector<std::string>& targets);
  // Adds an active-call record for `target` and returns its id.
  std::string AddActiveCall(const std::string& target);
  // Ends the call (or the ringing): state cleared, and in auto mode the active calls emptied
  // and MSG_CALL_FINISHED posted when there was a call. Returns whether it was posted.
  bool EndCall();
  void OpenVoicemail(const std::string& id);

  DevicePort& port_;
  SimWorld& world_;
  NumberEntry number_;
  bool in_call_ = false;
  bool held_ = false;
  bool ringing_ = false;
  std::string ringing_caller_;
  HWND window_ = nullptr;
  int next_call_id_ = 100;
  // Bumped whenever a call ends, so that a delayed call start of an ended call is dropped.
  std::uint64_t call_epoch_ = 0;
  // Voicemails playing: id -> the pending end of its playing (a close or a new open cancels
  // it).
  std::map<std::string, DevicePort::Token> playing_;
  std::set<std::string> played_;
  bool unterminated_texts_ = false;
  std::unique_ptr<std::uint8_t[]> phone_book_block_;
  std::unique_ptr<std::uint8_t[]> calls_block_;
  std::unique_ptr<std::uint8_t[]> active_block_;
  std::unique_ptr<std::uint8_t[]> voicemail_block_;
  std::deque<std::string> posted_texts_;  // storage behind posted id texts (auto mode)
};

}  // namespace mivo::sim

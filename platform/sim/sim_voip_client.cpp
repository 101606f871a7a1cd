// The simulated VoIP client: the number being typed, the call state, and (in auto mode) the
// messages a real client would post.
#include "platform/sim/sim_voip_client.h"

#include <algorithm>

#include "core/constants.h"
#include "core/text.h"
#include "platform/sim/call_targets.h"

namespace mivo::sim {

namespace {

// Texts handed in by the controller come from its own fixed buffers; reading is still bounded.
constexpr std::size_t kMaxTextRead = 4096;
// Posted texts kept alive; far more than can be waiting in the queue at once.
constexpr std::size_t kKeptTexts = 64;
// Delays of the client's own reactions.
constexpr std::uint32_t kCallSetupMs = 1500;
constexpr std::uint32_t kVoicemailPlayMs = 5000;

std::string Text(const char* text) {
  if (text == nullptr) return {};
  return std::string(text, BoundedLength(text, kMaxTextRead));
}

std::string Str(int value) {
  return std::to_string(value);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

SimVoipClient::SimVoipClient(DevicePort& port, SimWorld& world) : port_(port), world_(world) {}

bool SimVoipClient::Reacting() const {
  return world_.voip.auto_mode && window_ != nullptr;
}

void SimVoipClient::Notify(UINT message, WPARAM wparam, LPARAM lparam) {
  if (Reacting()) port_.PostTo(window_, message, wparam, lparam);
}

void SimVoipClient::NotifyText(UINT message, const std::string& text) {
  if (!Reacting()) return;
  posted_texts_.push_back(text);
  if (posted_texts_.size() > kKeptTexts) posted_texts_.pop_front();
  port_.PostTo(window_, message, 0, reinterpret_cast<LPARAM>(posted_texts_.back().c_str()));
}

// --- Events from the far end ---------------------------------------------------------------

void SimVoipClient::NoteRinging(const std::string& caller) {
  ringing_ = true;
  ringing_caller_ = caller;
}

void SimVoipClient::NoteCallInProgress() {
  in_call_ = true;
}

bool SimVoipClient::FarEndHangsUp() {
  return EndCall();
}

void SimVoipClient::DropCall() {
  in_call_ = false;
  held_ = false;
  ringing_ = false;
  ringing_caller_.clear();
  ++call_epoch_;  // drops any call still being set up
}

bool SimVoipClient::EndCall() {
  const bool had_call = in_call_ || ringing_;
  DropCall();
  if (!had_call || !Reacting()) return false;
  world_.voip.active.clear();
  Notify(MSG_CALL_FINISHED);
  return true;
}

std::string SimVoipClient::AddActiveCall(const std::string& target) {
  SimCall call;
  call.id = Str(next_call_id_++);
  call.handle = target;
  call.name = target;
  // A contact's handle or speed-dial text names the contact.
  for (const SimContact& c : world_.voip.contacts) {
    if (c.handle == target || (!c.speed.empty() && c.speed == target)) {
      call.handle = c.handle;
      call.name = c.name;
      break;
    }
  }
  call.type = 1;  // outgoing
  call.status = 0;
  world_.voip.active.push_back(call);
  return call.id;
}

void SimVoipClient::PlaceCall(const std::vector<std::string>& targets) {
  if (targets.empty()) return;
  const std::uint64_t epoch = call_epoch_;
  if (in_call_ && held_) {
    // A conference being built: each further party comes in as a second call.
    for (const std::string& target : targets) {
      port_.Schedule(kCallSetupMs, [this, epoch, target] {
        if (epoch != call_epoch_ || !Reacting()) return;
        NotifyText(MSG_SECOND_CALL, AddActiveCall(target));
      });
    }
    return;
  }
  in_call_ = true;
  held_ = false;
  port_.Schedule(kCallSetupMs, [this, epoch, targets] {
    if (epoch != call_epoch_ || !Reacting()) return;
    std::string first;
    for (const std::string& target : targets) {
      const std::string id = AddActiveCall(target);
      if (first.empty()) first = id;
    }
    NotifyText(MSG_CALL_IN_PROGRESS, first);
  });
}

// --- Connection ----------------------------------------------------------------------------

bool SimVoipClient::fRunAP() {
  return world_.voip.client_found;
}

bool SimVoipClient::fConnectVoIP(HWND window, int /*mode*/) {
  window_ = window;
  if (window_ == nullptr) return false;
  Notify(MSG_VOIP_ATTACHED);
  if (world_.voip.online) {
    Notify(MSG_VOIP_ONLINE);
    Notify(MSG_LANGUAGE, 0, static_cast<LPARAM>(world_.voip.language));
  }
  return true;
}

bool SimVoipClient::fDisconnectVoIP() {
  window_ = nullptr;
  return true;
}

bool SimVoipClient::fReInitial() {
  return true;
}

bool SimVoipClient::fCheckVoIPOnLine() {
  return world_.voip.online;
}

bool SimVoipClient::fFocusAP() {
  return true;
}

// --- The number ----------------------------------------------------------------------------

bool SimVoipClient::fSendKey(int key, int long_press, char* number, int* length) {
  const NumberKeyOutcome outcome = number_.Key(key, long_press, in_call_);
  if (outcome.kind == NumberKeyOutcome::Kind::kCall) {
    if (ringing_) {
      const std::string caller = ringing_caller_;
      ringing_ = false;
      ringing_caller_.clear();
      in_call_ = true;
      held_ = false;
      if (Reacting()) NotifyText(MSG_CALL_IN_PROGRESS, AddActiveCall(caller));
    } else if (!outcome.text.empty()) {
      PlaceCall({outcome.text});
    }
  } else if (outcome.kind == NumberKeyOutcome::Kind::kEnd) {
    EndCall();
  }
  // A tone in the call changes nothing here: the simulated far end hears nothing.
  NumberEntry::WriteBack(outcome.text, number, length);
  return true;
}

// --- Calls ---------------------------------------------------------------------------------

bool SimVoipClient::fSending(const char* command) {
  const std::string text = Text(command);
  static const std::string kOpen = "open voicemail ";
  static const std::string kClose = "close voicemail ";
  if (StartsWith(text, kOpen)) {
    OpenVoicemail(text.substr(kOpen.size()));
  } else if (StartsWith(text, kClose)) {
    const auto it = playing_.find(text.substr(kClose.size()));
    if (it != playing_.end()) {
      port_.Cancel(it->second);
      playing_.erase(it);
    }
  }
  return true;
}

void SimVoipClient::OpenVoicemail(const std::string& id) {
  if (!Reacting()) return;
  // The first playing marks the voicemail played.
  if (played_.insert(id).second && world_.voip.unplayed > 0) {
    --world_.voip.unplayed;
    Notify(MSG_VOICEMAIL_CHANGED);
  }
  DevicePort::Token& end = playing_[id];
  port_.Cancel(end);  // opened again: it plays from the start
  end = port_.Schedule(kVoicemailPlayMs, [this, id] {
    playing_.erase(id);
    Notify(MSG_VOICEMAIL_ENDED);
  });
}

bool SimVoipClient::fCallUser(const char* target) {
  const std::string text = Text(target);
  const std::vector<std::string> targets = SplitCallTargets(text);
  if (targets.empty()) return false;
  PlaceCall(targets);
  return true;
}

bool SimVoipClient::fSetMute(int /*on*/) {
  return true;
}

bool SimVoipClient::fSetOnHold() {
  if (!in_call_) return false;
  held_ = true;
  Notify(MSG_CALL_ON_HOLD);
  return true;
}

bool SimVoipClient::fSetInProgress() {
  if (!in_call_) return false;
  held_ = false;
  Notify(MSG_CALL_RESUMED);
  return true;
}

// The client holds one call at a time: the id names it.
bool SimVoipClient::fSetCallOnHold(const char* /*call_id*/) {
  if (!in_call_) return false;
  held_ = true;
  Notify(MSG_CALL_ON_HOLD);
  return true;
}

bool SimVoipClient::fSetCallInProgress(const char* /*call_id*/) {
  if (!in_call_) return false;
  held_ = false;
  Notify(MSG_CALL_RESUMED);
  return true;
}

bool SimVoipClient::fSetCallFinished(const char* call_id) {
  const std::string id = Text(call_id);
  if (!world_.voip.auto_mode) return true;
  // In auto mode the client keeps the active calls itself: one party leaves; when it was the
  // last, the call is over.
  auto& active = world_.voip.active;
  const auto it =
      std::find_if(active.begin(), active.end(), [&](const SimCall& c) { return c.id == id; });
  if (it == active.end()) return false;
  active.erase(it);
  if (active.empty()) EndCall();
  return true;
}

bool SimVoipClient::fSetCallSeen(const char* /*call_id*/) {
  return true;
}

bool SimVoipClient::fSetAudio(int /*kind*/, const char* /*device_name*/) {
  return true;
}

int SimVoipClient::fGetMissedCallCount() {
  return world_.voip.missed;
}

int SimVoipClient::fGetUnPlayedVoiceMailCount() {
  return world_.voip.unplayed;
}

}  // namespace mivo::sim

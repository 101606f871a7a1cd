// The baresip bridge's calls from the controller: the number and the keys, calls placed,
// answered, held, resumed and ended, and the blocks.
#include <algorithm>

#include "core/constants.h"
#include "core/text.h"
#include "platform/baresip/baresip_bridge.h"
#include "platform/baresip/contact_text.h"
#include "platform/baresip/control_link.h"
#include "platform/sim/call_targets.h"
#include "platform/sim/voip_block_writer.h"

namespace mivo::baresip {

namespace {

// Texts handed in by the controller come from its own fixed buffers; reading is still bounded.
constexpr std::size_t kMaxTextRead = 512;
// The longest SIP address the bridge dials.
constexpr std::size_t kMaxTarget = 255;

std::string Text(const char* text) {
  if (text == nullptr) return {};
  return std::string(text, BoundedLength(text, kMaxTextRead));
}

bool Dialable(const std::string& target) {
  if (target.empty() || target.size() > kMaxTarget) return false;
  return std::all_of(target.begin(), target.end(), [](char c) {
    return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
  });
}

}  // namespace

// --- Calls of our own ----------------------------------------------------------------------

std::string BaresipBridge::NewId() {
  return "c" + std::to_string(next_call_++ % 100000000000000ULL);  // at most 15 characters
}

BaresipBridge::Call* BaresipBridge::FindOurs(const std::string& id) {
  if (id.empty()) return nullptr;
  for (Call& c : calls_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

BaresipBridge::Call* BaresipBridge::FindBaresip(const std::string& baresip_id) {
  for (Call& c : calls_) {
    if (!baresip_id.empty() && c.baresip_id == baresip_id) return &c;
  }
  return nullptr;
}

BaresipBridge::Call* BaresipBridge::Ringing() {
  for (Call& c : calls_) {
    if (!c.outgoing && !c.established && !c.ended_here) return &c;
  }
  return nullptr;
}

// The call that hold, mute, tones and the hang-up act on: the latest one in progress and not
// held, else the latest one at all.
BaresipBridge::Call* BaresipBridge::Current() {
  for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
    if (it->established && !it->held) return &*it;
  }
  return calls_.empty() ? nullptr : &calls_.back();
}

bool BaresipBridge::Select(const Call& call) {
  if (call.baresip_id.empty()) return link_->connected();
  return !Command("callfind", call.baresip_id).empty();
}

std::string BaresipBridge::CompleteTarget(const std::string& target) const {
  if (target.compare(0, 4, "sip:") == 0 || target.compare(0, 5, "sips:") == 0) return target;
  if (target.find('@') != std::string::npos) return "sip:" + target;
  if (!settings_.domain.empty()) return "sip:" + target + "@" + settings_.domain;
  return target;  // baresip completes it with its account's domain
}

std::string BaresipBridge::NameOf(const std::string& peer) const {
  const std::string key = AddressKey(peer);
  for (const sim::SimContact& c : contacts_) {
    if (AddressKey(c.handle) == key) return c.name;
  }
  return peer;
}

bool BaresipBridge::Dial(const std::string& target) {
  if (!Dialable(target)) {
    Note("not dialled: '" + target.substr(0, 64) + "'");
    return false;
  }
  if (!link_->connected() || calls_.size() >= kMaxLiveCalls) return false;
  Call call;
  call.id = NewId();
  call.outgoing = true;
  call.peer = CompleteTarget(target);
  call.name = NameOf(call.peer);
  call.time = NowText();
  calls_.push_back(call);
  return !Command("dial", call.peer, Pending{Pending::Kind::kDial, call.id}).empty();
}

void BaresipBridge::Remember(const Call& call, std::int32_t status) {
  sim::SimCall record;
  record.id = call.id;
  record.handle = call.peer;
  record.name = call.name;
  record.type = call.outgoing ? 1 : 0;
  record.status = status;
  record.time = call.time;
  history_.insert(history_.begin(), record);
  if (history_.size() > kMaxHistory) {
    missed_unseen_.erase(history_.back().id);
    history_.pop_back();
  }
}

// --- The VoIP bridge -----------------------------------------------------------------------

bool BaresipBridge::fReInitial() {
  return true;
}

bool BaresipBridge::fCheckVoIPOnLine() {
  return link_->connected();
}

bool BaresipBridge::fFocusAP() {
  return true;
}

bool BaresipBridge::fSendKey(int key, int long_press, char* number, int* length) {
  Call* current = Current();
  const bool in_call = current != nullptr && current->established;
  const sim::NumberKeyOutcome outcome = number_.Key(key, long_press, in_call);
  using Kind = sim::NumberKeyOutcome::Kind;
  if (outcome.kind == Kind::kTone) {
    if (Select(*current)) Command("sndcode", std::string(1, outcome.tone));
  } else if (outcome.kind == Kind::kCall) {
    if (Call* ringing = Ringing()) {
      if (Select(*ringing)) Command("accept", "");
    } else if (!outcome.text.empty()) {
      Dial(outcome.text);
    }
  } else if (outcome.kind == Kind::kEnd) {
    // A ringing call is refused first; otherwise the current call ends.
    Call* call = Ringing();
    if (call == nullptr) call = Current();
    if (call != nullptr) {
      call->ended_here = true;
      if (Select(*call)) Command("hangup", "");
    }
  }
  sim::NumberEntry::WriteBack(outcome.text, number, length);
  return true;
}

bool BaresipBridge::fSending(const char* command) {
  // The client's raw commands (conference joining, voicemail) have no baresip counterpart.
  Note("command not supported: '" + Text(command).substr(0, 64) + "'");
  return false;
}

bool BaresipBridge::fCallUser(const char* target) {
  const std::vector<std::string> targets = sim::SplitCallTargets(Text(target));
  bool placed = false;
  for (const std::string& t : targets) placed |= Dial(t);
  return placed;
}

bool BaresipBridge::fSetMute(int on) {
  Call* call = Current();
  if (call == nullptr || !call->established) return false;
  const bool want = on != 0;
  if (call->muted == want) return true;
  call->muted = want;  // `mute` toggles; its answer says which way it went
  return Select(*call) && !Command("mute", "", Pending{Pending::Kind::kMute, call->id}).empty();
}

bool BaresipBridge::fSetOnHold() {
  Call* call = Current();
  if (call == nullptr || !call->established) return false;
  return fSetCallOnHold(call->id.c_str());
}

bool BaresipBridge::fSetInProgress() {
  for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
    if (it->established && it->held) return fSetCallInProgress(it->id.c_str());
  }
  return false;
}

bool BaresipBridge::fSetCallOnHold(const char* call_id) {
  Call* call = FindOurs(Text(call_id));
  if (call == nullptr || !call->established || !Select(*call)) return false;
  return !Command("hold", "", Pending{Pending::Kind::kHold, call->id}).empty();
}

bool BaresipBridge::fSetCallInProgress(const char* call_id) {
  Call* call = FindOurs(Text(call_id));
  if (call == nullptr || !call->established || !Select(*call)) return false;
  return !Command("resume", "", Pending{Pending::Kind::kResume, call->id}).empty();
}

bool BaresipBridge::fSetCallFinished(const char* call_id) {
  Call* call = FindOurs(Text(call_id));
  if (call == nullptr) return false;
  call->ended_here = true;
  return Select(*call) && !Command("hangup", "").empty();
}

bool BaresipBridge::fSetCallSeen(const char* call_id) {
  return missed_unseen_.erase(Text(call_id)) > 0;
}

bool BaresipBridge::fSetAudio(int /*kind*/, const char* /*device_name*/) {
  return true;  // baresip's sound devices are set in its own configuration
}

// --- Blocks --------------------------------------------------------------------------------

bool BaresipBridge::fGetFullPhoneBook(const std::uint8_t** block) {
  std::string data;
  if (link_->connected() && Request("contacts", &data)) contacts_ = ParseContacts(data);
  // Without an answer the contacts last known stand.
  return sim::HandOutBlock(phone_book_block_, block,
                           [this] { return sim::BuildPhoneBookBlock(contacts_); });
}

bool BaresipBridge::fGetCalls(const std::uint8_t** block) {
  return sim::HandOutBlock(calls_block_, block, [this] { return sim::BuildCallsBlock(history_); });
}

bool BaresipBridge::fGetActiveCalls(const std::uint8_t** block) {
  std::vector<sim::SimCall> active;
  for (const Call& c : calls_) {
    sim::SimCall record;
    record.id = c.id;
    record.handle = c.peer;
    record.name = c.name;
    record.type = c.outgoing ? 1 : 0;
    record.time = c.time;
    active.push_back(record);
  }
  return sim::HandOutBlock(active_block_, block,
                           [&active] { return sim::BuildCallsBlock(active); });
}

bool BaresipBridge::fGetVoiceMails(const std::uint8_t** block) {
  // baresip keeps no voicemail.
  return sim::HandOutBlock(voicemail_block_, block, [] { return sim::BuildVoicemailBlock({}); });
}

int BaresipBridge::fGetMissedCallCount() {
  return static_cast<int>(missed_unseen_.size());
}

int BaresipBridge::fGetUnPlayedVoiceMailCount() {
  return 0;
}

}  // namespace mivo::baresip

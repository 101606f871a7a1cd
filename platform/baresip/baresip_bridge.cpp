// The baresip bridge's connection: connecting (or starting a baresip of our own), commands and
// their answers, and baresip's events turned into the bridge's posted messages.
#include "platform/baresip/baresip_bridge.h"

#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>
#include <thread>

#include "core/constants.h"
#include "platform/baresip/baresip_instance.h"
#include "platform/baresip/contact_text.h"
#include "platform/baresip/control_link.h"

namespace mivo::baresip {

namespace {

using Json = nlohmann::json;

// Posted texts kept alive; far more than can be waiting in the queue at once.
constexpr std::size_t kKeptTexts = 64;
// The controller's caller text holds 63 characters.
constexpr std::size_t kMaxCallerText = 63;
// Windows' primary language id of English: baresip speaks nothing else.
constexpr LPARAM kEnglish = 9;
constexpr int kSendTimeoutMs = 1000;
// Requests whose answers are still awaited; beyond this the oldest are given up on (a client
// that never answers costs no more).
constexpr std::size_t kMaxPending = 256;
// A field of an event or answer that is longer than this is not believed.
constexpr std::size_t kMaxField = 4096;

std::string Field(const Json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return {};
  const std::string& text = it->get_ref<const std::string&>();
  return text.size() > kMaxField ? std::string() : text;
}

}  // namespace

struct BaresipBridge::Event {
  std::string type;
  std::string direction;
  std::string peer;
  std::string id;
  std::string param;
};

BaresipBridge::BaresipBridge(sim::DevicePort& port, sim::FdWatcher& watcher,
                             BridgeSettings settings, Diagnostics diagnostics)
    : port_(port),
      watcher_(watcher),
      settings_(std::move(settings)),
      diagnostics_(std::move(diagnostics)),
      link_(std::make_unique<ControlLink>()) {}

BaresipBridge::~BaresipBridge() {
  if (link_->connected()) watcher_.Unwatch(link_->fd());
  link_->Close();
  if (instance_) instance_->Stop();
}

bool BaresipBridge::connected() const {
  return link_->connected();
}

void BaresipBridge::Note(const std::string& line) const {
  if (diagnostics_) diagnostics_("baresip: " + line);
}

std::string BaresipBridge::NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

// --- Connection ----------------------------------------------------------------------------

bool BaresipBridge::TryConnect() {
  if (link_->connected()) return true;
  std::string error;
  if (!link_->Connect(settings_.host, settings_.port, settings_.connect_timeout_ms, &error)) {
    Note("cannot connect to " + settings_.host + ":" + std::to_string(settings_.port) + ": " +
         error);
    return false;
  }
  return true;
}

bool BaresipBridge::fRunAP() {
  if (TryConnect()) return true;
  if (!settings_.start) return false;
  InstanceConfig config = settings_.instance;
  config.host = settings_.host;
  config.control_port = settings_.port;
  instance_ = std::make_unique<BaresipInstance>();
  std::string error;
  if (!instance_->Start(config, &error)) {
    Note(error);
    instance_.reset();
    return false;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(settings_.start_timeout_ms);
  std::string connect_error;
  while (std::chrono::steady_clock::now() < deadline) {
    if (link_->Connect(settings_.host, settings_.port, settings_.connect_timeout_ms,
                       &connect_error)) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  Note("the started baresip does not answer: " + connect_error);
  instance_.reset();
  return false;
}

bool BaresipBridge::fConnectVoIP(HWND window, int /*mode*/) {
  window_ = window;
  if (window_ == nullptr || !TryConnect()) return false;
  watcher_.WatchReadable(link_->fd(), [this] { OnReadable(); });
  Post(MSG_VOIP_ATTACHED);
  Post(MSG_VOIP_ONLINE);
  Post(MSG_LANGUAGE, 0, kEnglish);
  // The contacts name the callers of incoming calls.
  Command("contacts", "", Pending{Pending::Kind::kContacts, {}});
  return true;
}

bool BaresipBridge::fDisconnectVoIP() {
  if (link_->connected()) watcher_.Unwatch(link_->fd());
  link_->Close();
  pending_.clear();
  calls_.clear();
  window_ = nullptr;
  return true;
}

void BaresipBridge::LinkLost(const std::string& why) {
  Note("connection lost: " + why);
  if (link_->connected()) watcher_.Unwatch(link_->fd());
  link_->Close();
  pending_.clear();
  const bool had_calls = !calls_.empty();
  for (const Call& call : calls_) Remember(call, 0);
  calls_.clear();
  // The controller leaves the call and knows the client is gone; fConnectVoIP reconnects.
  if (had_calls) Post(MSG_CALL_FINISHED);
  Post(MSG_VOIP_DETACHED);
}

// --- Commands and answers ------------------------------------------------------------------

std::string BaresipBridge::Command(const std::string& command, const std::string& params) {
  return Command(command, params, Pending{});
}

std::string BaresipBridge::Command(const std::string& command, const std::string& params,
                                   Pending pending) {
  if (!link_->connected()) return {};
  const std::string token = "m" + std::to_string(next_token_++);
  Json request = {{"command", command}, {"token", token}};
  if (!params.empty()) request["params"] = params;
  if (!link_->Send(request.dump(), kSendTimeoutMs)) {
    LinkLost("cannot send '" + command + "'");
    return {};
  }
  if (pending_.size() >= kMaxPending) pending_.erase(pending_.begin());
  pending_[token] = std::move(pending);
  return token;
}

bool BaresipBridge::Request(const std::string& command, std::string* data) {
  const std::string token = Command(command, "", Pending{Pending::Kind::kAwait, {}});
  if (token.empty()) return false;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(settings_.answer_timeout_ms);
  while (link_->connected() && answers_.find(token) == answers_.end()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    if (link_->WaitReadable(static_cast<int>(left))) OnReadable();
  }
  const auto it = answers_.find(token);
  if (it == answers_.end()) {
    // Too slow, or the link went: an answer coming later is dropped.
    pending_.erase(token);
    Note("no answer to '" + command + "' within " + std::to_string(settings_.answer_timeout_ms) +
         " ms");
    return false;
  }
  const bool ok = it->second.first;
  *data = std::move(it->second.second);
  answers_.erase(it);
  return ok;
}

void BaresipBridge::OnReadable() {
  std::vector<std::string> payloads;
  std::string error;
  const bool sound = link_->ReadAvailable(&payloads, &error);
  for (const std::string& payload : payloads) {
    if (!link_->connected()) return;
    HandlePayload(payload);
  }
  if (!sound && link_->connected()) LinkLost(error);
}

void BaresipBridge::HandlePayload(const std::string& payload) {
  const Json message = Json::parse(payload, nullptr, false);
  if (message.is_discarded() || !message.is_object()) {
    LinkLost("a message that is not a JSON object");
    return;
  }
  if (message.value("response", false)) {
    const auto ok = message.find("ok");
    HandleResponse(Field(message, "token"), ok != message.end() && ok->is_boolean() && *ok,
                   Field(message, "data"));
  } else if (message.value("event", false)) {
    HandleEvent(Event{Field(message, "type"), Field(message, "direction"),
                      Field(message, "peeruri"), Field(message, "id"), Field(message, "param")});
  }
  // Anything else is no message of the control interface: passed over.
}

void BaresipBridge::HandleResponse(const std::string& token, bool ok, const std::string& data) {
  const auto it = pending_.find(token);
  if (it == pending_.end()) return;  // not ours, or given up on
  const Pending pending = it->second;
  pending_.erase(it);
  Call* call = FindOurs(pending.call_id);
  switch (pending.kind) {
    case Pending::Kind::kNone:
      break;
    case Pending::Kind::kAwait:
      answers_[token] = {ok, data};
      break;
    case Pending::Kind::kContacts:
      if (ok) contacts_ = ParseContacts(data);
      break;
    case Pending::Kind::kDial:
      // A dial that baresip refused never becomes a call.
      if (!ok && call != nullptr && call->baresip_id.empty()) {
        Note("dial refused: " + data);
        const Call failed = *call;
        calls_.erase(calls_.begin() + (call - calls_.data()));
        CallEnded(failed, data);
      }
      break;
    case Pending::Kind::kHold:
      if (ok && call != nullptr) {
        call->held = true;
        Post(MSG_CALL_ON_HOLD);
      }
      break;
    case Pending::Kind::kResume:
      if (ok && call != nullptr) {
        call->held = false;
        Post(MSG_CALL_RESUMED);
      }
      break;
    case Pending::Kind::kMute:
      if (ok && call != nullptr) call->muted = data.find("un-muted") == std::string::npos;
      break;
  }
}

// --- Events --------------------------------------------------------------------------------

void BaresipBridge::HandleEvent(const Event& e) {
  if (e.type == "CALL_INCOMING") {
    if (e.id.empty() || FindBaresip(e.id) != nullptr) return;
    if (calls_.size() >= kMaxLiveCalls) {
      Note("too many calls: incoming call from " + e.peer + " left to baresip");
      return;
    }
    Call call;
    call.id = NewId();
    call.baresip_id = e.id;
    call.peer = e.peer;
    call.name = NameOf(e.peer);
    call.time = NowText();
    calls_.push_back(call);
    PostText(MSG_CALL_RINGING, call.name.substr(0, kMaxCallerText), true);
  } else if (e.type == "CALL_RINGING" || e.type == "CALL_PROGRESS" || e.type == "CALL_OUTGOING") {
    Bind(e);
  } else if (e.type == "CALL_ESTABLISHED") {
    Call* call = Bind(e);
    if (call == nullptr || call->established) return;
    call->established = true;
    bool other_held = false;
    for (const Call& c : calls_) other_held |= (&c != call && c.established && c.held);
    PostText(other_held ? MSG_SECOND_CALL : MSG_CALL_IN_PROGRESS, call->id, false);
  } else if (e.type == "CALL_CLOSED") {
    Call* call = Bind(e);
    if (call == nullptr) return;
    const Call closed = *call;
    calls_.erase(calls_.begin() + (call - calls_.data()));
    CallEnded(closed, e.param);
  }
  // Other events (SDP, RTCP, DTMF, registration, ...) change nothing the handset shows.
}

void BaresipBridge::CallEnded(Call call, const std::string& reason) {
  const bool missed = !call.outgoing && !call.established && !call.ended_here;
  Remember(call, missed ? 8 : 0);
  if (missed) {
    missed_unseen_[call.id] = true;
    Post(MSG_MISSED_CALLS_CHANGED);
  }
  if (call.outgoing && !call.established && !call.ended_here) {
    Note("call to " + call.peer + " failed: " + reason);
    Post(MSG_CALL_FAILED);
  } else if (calls_.empty()) {
    Post(MSG_CALL_FINISHED);
  }
}

BaresipBridge::Call* BaresipBridge::Bind(const Event& e) {
  if (e.id.empty()) return nullptr;
  if (Call* call = FindBaresip(e.id)) return call;
  if (e.direction != "outgoing") return nullptr;
  Call* first = nullptr;
  for (Call& c : calls_) {
    if (!c.outgoing || !c.baresip_id.empty()) continue;
    if (AddressKey(c.peer) == AddressKey(e.peer)) {
      first = &c;
      break;
    }
    if (first == nullptr) first = &c;
  }
  if (first != nullptr) first->baresip_id = e.id;
  return first;
}

// --- Posting -------------------------------------------------------------------------------

void BaresipBridge::Post(UINT message, WPARAM wparam, LPARAM lparam) {
  if (window_ != nullptr) port_.PostTo(window_, message, wparam, lparam);
}

void BaresipBridge::PostText(UINT message, const std::string& text, bool count_in_wparam) {
  if (window_ == nullptr) return;
  posted_texts_.push_back(text);
  if (posted_texts_.size() > kKeptTexts) posted_texts_.pop_front();
  const std::string& kept = posted_texts_.back();
  port_.PostTo(window_, message, count_in_wparam ? static_cast<WPARAM>(kept.size()) : 0,
               reinterpret_cast<LPARAM>(kept.c_str()));
}

}  // namespace mivo::baresip

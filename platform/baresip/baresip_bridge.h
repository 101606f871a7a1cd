// The VoIP bridge over a real baresip: its TCP control interface (JSON in netstrings) on the
// loopback interface, read without blocking inside the controller's event loop. baresip's
// events become the bridge's posted messages; the number is kept by the shared number rules;
// the blocks are built by the shared block writers from baresip's contacts and from the calls
// the bridge has seen. baresip's call ids (16 characters) are mapped to ids of our own that
// fit the controller's call id field.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/baresip/bridge_settings.h"
#include "platform/sim/device_port.h"
#include "platform/sim/fd_watcher.h"
#include "platform/sim/number_entry.h"
#include "platform/sim/sim_world.h"
#include "platform/voip_bridge.h"

namespace mivo::baresip {

class ControlLink;
class BaresipInstance;

class BaresipBridge : public VoipBridge {
 public:
  using Diagnostics = std::function<void(const std::string&)>;

  // The longest id handed to the controller, the most live calls and kept history entries.
  static constexpr std::size_t kMaxCallId = 15;
  static constexpr std::size_t kMaxLiveCalls = 8;
  static constexpr std::size_t kMaxHistory = 100;

  BaresipBridge(sim::DevicePort& port, sim::FdWatcher& watcher, BridgeSettings settings,
                Diagnostics diagnostics = nullptr);
  ~BaresipBridge() override;
  BaresipBridge(const BaresipBridge&) = delete;
  BaresipBridge& operator=(const BaresipBridge&) = delete;

  bool connected() const;
  const std::string& number() const { return number_.number(); }
  // Reads what baresip sent (the watched socket is readable); the loop calls it.
  void OnReadable();

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
  struct Call {
    std::string id;          // ours
    std::string baresip_id;  // empty until baresip names the call
    std::string peer;        // the other party's SIP address
    std::string name;        // what the handset shows of it
    std::string time;        // when the call began, as text
    bool outgoing = false;
    bool established = false;
    bool held = false;
    bool muted = false;
    bool ended_here = false;  // hung up or refused from the handset
  };
  // What an answer to a request means to us.
  struct Pending {
    // kAwait: Request() waits for it; kNone: nothing to do with the answer.
    enum class Kind { kNone, kAwait, kContacts, kDial, kHold, kResume, kMute } kind = Kind::kNone;
    std::string call_id;
  };
  struct Event;

  bool TryConnect();
  void LinkLost(const std::string& why);
  void Note(const std::string& line) const;
  // Sends a command; returns its token ("" when it could not be sent: the link is then lost).
  std::string Command(const std::string& command, const std::string& params);
  std::string Command(const std::string& command, const std::string& params, Pending pending);
  // Sends a command and waits (bounded) for its answer; the events that come meanwhile are
  // handled as usual. Returns whether the answer came and said ok, with its text in *data.
  bool Request(const std::string& command, std::string* data);
  void HandlePayload(const std::string& payload);
  void HandleResponse(const std::string& token, bool ok, const std::string& data);
  void HandleEvent(const Event& e);
  void CallEnded(Call call, const std::string& reason);

  void Post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  void PostText(UINT message, const std::string& text, bool count_in_wparam);

  Call* FindOurs(const std::string& id);
  Call* FindBaresip(const std::string& baresip_id);
  // The call that an event names: by baresip's id, else the first outgoing call baresip has
  // not named yet (preferring one to the same address).
  Call* Bind(const Event& e);
  Call* Ringing();
  Call* Current();
  // Makes `call` baresip's current call (its commands act on the current call).
  bool Select(const Call& call);
  bool Dial(const std::string& target);
  std::string CompleteTarget(const std::string& target) const;
  std::string NameOf(const std::string& peer) const;
  std::string NewId();
  static std::string NowText();
  void Remember(const Call& call, std::int32_t status);

  sim::DevicePort& port_;
  sim::FdWatcher& watcher_;
  BridgeSettings settings_;
  Diagnostics diagnostics_;
  std::unique_ptr<ControlLink> link_;
  std::unique_ptr<BaresipInstance> instance_;
  HWND window_ = nullptr;
  sim::NumberEntry number_;
  std::vector<Call> calls_;                    // live calls, oldest first
  std::vector<sim::SimCall> history_;          // newest first
  std::map<std::string, bool> missed_unseen_;  // our ids of missed calls not seen yet
  std::vector<sim::SimContact> contacts_;
  std::map<std::string, Pending> pending_;
  std::map<std::string, std::pair<bool, std::string>> answers_;  // awaited answers
  std::uint64_t next_token_ = 1;
  std::uint64_t next_call_ = 1;
  std::deque<std::string> posted_texts_;
  std::unique_ptr<std::uint8_t[]> phone_book_block_;
  std::unique_ptr<std::uint8_t[]> calls_block_;
  std::unique_ptr<std::uint8_t[]> active_block_;
  std::unique_ptr<std::uint8_t[]> voicemail_block_;
};

}  // namespace mivo::baresip

// The baresip bridge against a fake baresip: a TCP server in the test that reads the bridge's
// commands and sends it answers and events, well-formed or not. Every wait is bounded.
#ifdef MIVO_HAVE_BARESIP

#include "platform/baresip/baresip_bridge.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/baresip/netstring.h"
#include "platform/sim/sim_window.h"
#include "voip/blocks.h"

namespace mivo::baresip {
namespace {

using Clock = std::chrono::steady_clock;

// A control interface of our own on a free loopback port.
class FakeBaresip {
 public:
  FakeBaresip() {
    listen_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(listen(listen_, 4), 0);
    socklen_t size = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &size);
    port_ = ntohs(a.sin_port);
  }
  ~FakeBaresip() {
    Drop();
    close(listen_);
  }
  int port() const { return port_; }

  bool Accept() {
    pollfd p{listen_, POLLIN, 0};
    if (poll(&p, 1, 2000) != 1) return false;
    peer_ = accept(listen_, nullptr, nullptr);
    return peer_ >= 0;
  }
  void Drop() {
    if (peer_ >= 0) close(peer_);
    peer_ = -1;
  }
  void Raw(const std::string& bytes) {
    ASSERT_EQ(send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  void Json(const std::string& json) { Raw(Netstring(json)); }
  void Event(const std::string& type, const std::string& direction, const std::string& peer,
             const std::string& id, const std::string& param = "") {
    Json("{\"event\":true,\"type\":\"" + type + "\",\"class\":\"call\",\"direction\":\"" +
         direction + "\",\"peeruri\":\"" + peer + "\",\"id\":\"" + id + "\",\"param\":\"" + param +
         "\"}");
  }
  void Answer(const std::string& token, bool ok, const std::string& data) {
    Json("{\"response\":true,\"ok\":" + std::string(ok ? "true" : "false") + ",\"data\":\"" + data +
         "\",\"token\":\"" + token + "\"}");
  }

  // The commands that arrived within `ms` (their JSON texts).
  std::vector<std::string> Commands(int ms = 300) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
      pollfd p{peer_, POLLIN, 0};
      if (poll(&p, 1, 20) != 1) {
        if (!received_.empty()) break;
        continue;
      }
      char buf[4096];
      const ssize_t n = recv(peer_, buf, sizeof buf, 0);
      if (n <= 0) break;
      reader_.Feed(std::string(buf, static_cast<std::size_t>(n)));
      for (std::string c; reader_.Next(&c);) received_.push_back(c);
    }
    std::vector<std::string> out;
    out.swap(received_);
    return out;
  }
  // The token of the last command named `name` among `commands`.
  static std::string Token(const std::vector<std::string>& commands, const std::string& name) {
    std::string token;
    for (const std::string& c : commands) {
      if (c.find("\"command\":\"" + name + "\"") == std::string::npos) continue;
      const std::size_t at = c.find("\"token\":\"") + 9;
      token = c.substr(at, c.find('"', at) - at);
    }
    return token;
  }

 private:
  int listen_ = -1;
  int peer_ = -1;
  int port_ = 0;
  NetstringReader reader_;
  std::vector<std::string> received_;
};

bool Has(const std::vector<std::string>& commands, const std::string& part) {
  for (const std::string& c : commands) {
    if (c.find(part) != std::string::npos) return true;
  }
  return false;
}

struct Posted {
  UINT message;
  WPARAM wparam;
  std::string text;
};

class BaresipBridgeTest : public ::testing::Test {
 protected:
  BaresipBridgeTest() {
    loop_.set_target([this](UINT m, WPARAM w, LPARAM l) -> LRESULT {
      const bool text = m == MSG_CALL_RINGING || m == MSG_CALL_IN_PROGRESS || m == MSG_SECOND_CALL;
      posted_.push_back({m, w, text ? std::string(reinterpret_cast<const char*>(l)) : ""});
      return 0;
    });
    settings_.port = fake_.port();
    settings_.domain = "example.org";
    settings_.answer_timeout_ms = 300;
  }

  BaresipBridge& Bridge() {
    if (!bridge_) {
      bridge_ = std::make_unique<BaresipBridge>(loop_, loop_, settings_,
                                                [this](const std::string& l) { notes_ += l; });
    }
    return *bridge_;
  }

  // Runs the loop in real time until `ms` passed or `until` holds.
  void Run(int ms, const std::function<bool()>& until = nullptr) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
      loop_.WaitReadable(10);
      loop_.Pump();
      if (until && until()) return;
    }
  }
  std::vector<UINT> Messages() {
    std::vector<UINT> out;
    for (const Posted& p : posted_) out.push_back(p.message);
    return out;
  }
  bool Got(UINT message) {
    for (const Posted& p : posted_) {
      if (p.message == message) return true;
    }
    return false;
  }
  void RunUntil(UINT message) {
    Run(2000, [&] { return Got(message); });
  }

  // Connected and attached, the first contacts answered.
  void Connect(const std::string& contacts = "") {
    ASSERT_TRUE(Bridge().fRunAP());
    ASSERT_TRUE(fake_.Accept());
    ASSERT_TRUE(Bridge().fConnectVoIP(sim::SimWindowHost::MainWindow(), 1));
    const auto commands = fake_.Commands();
    fake_.Answer(FakeBaresip::Token(commands, "contacts"), true, contacts);
    Run(100);
    posted_.clear();
  }
  std::string Key(int key) {
    char buf[kNumberBufferSize] = {};
    int len = 0;
    Bridge().fSendKey(key, 0, buf, &len);
    return std::string(buf, strnlen(buf, sizeof buf));
  }
  std::vector<std::pair<std::string, std::string>> Records(bool active) {
    const std::uint8_t* block = nullptr;
    active ? Bridge().fGetActiveCalls(&block) : Bridge().fGetCalls(&block);
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < blocks::RecordCount(block); ++i) {
      const std::uint8_t* r = blocks::Record(block, blocks::kCallRecordSize, i);
      char id[16], name[64];
      blocks::ReadText(r + blocks::kCallId, blocks::kCallIdSize, id);
      blocks::ReadText(r + blocks::kCallName, blocks::kCallNameSize, name);
      out.push_back({id, std::string(name) + "/" +
                             std::to_string(blocks::ReadInt32(r + blocks::kCallStatus)) + "/" +
                             std::to_string(blocks::ReadInt32(r + blocks::kCallType))});
    }
    return out;
  }

  FakeBaresip fake_;
  sim::EventLoop loop_;
  BridgeSettings settings_;
  std::unique_ptr<BaresipBridge> bridge_;
  std::vector<Posted> posted_;
  std::string notes_;
};

constexpr const char* kBid = "0123456789abcdef";  // baresip's ids are 16 characters

TEST_F(BaresipBridgeTest, NothingListeningFailsQuicklyAndPostsNothing) {
  settings_.port = 1;  // nothing listens there
  const auto start = Clock::now();
  EXPECT_FALSE(Bridge().fRunAP());
  EXPECT_FALSE(Bridge().fConnectVoIP(sim::SimWindowHost::MainWindow(), 1));
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(Bridge().fCheckVoIPOnLine());
  Run(50);
  EXPECT_TRUE(posted_.empty());
  EXPECT_NE(notes_.find("cannot connect"), std::string::npos);
  // Without a connection every call is refused or harmless.
  EXPECT_EQ(Key(KEY_1 + 1), "2");
  EXPECT_EQ(Key(KEY_CALL), "2");
  EXPECT_FALSE(Bridge().fCallUser("sip:a@b"));
  const std::uint8_t* block = nullptr;
  EXPECT_TRUE(Bridge().fGetFullPhoneBook(&block));
  EXPECT_EQ(blocks::RecordCount(block), 0);
}

TEST_F(BaresipBridgeTest, ConnectingAttachesInEnglishAndAsksForContacts) {
  ASSERT_TRUE(Bridge().fRunAP());
  ASSERT_TRUE(fake_.Accept());
  ASSERT_TRUE(Bridge().fConnectVoIP(sim::SimWindowHost::MainWindow(), 1));
  EXPECT_TRUE(Has(fake_.Commands(), "\"command\":\"contacts\""));
  Run(50);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_VOIP_ATTACHED, MSG_VOIP_ONLINE, MSG_LANGUAGE}));
  EXPECT_TRUE(Bridge().fCheckVoIPOnLine());
}

TEST_F(BaresipBridgeTest, IncomingCallRingsAnswersHoldsResumesAndFinishes) {
  Connect("\\n--- Contacts (1) ---\\n> Bob Far <sip:bob@127.0.0.1:5070>\\n");
  fake_.Event("CALL_INCOMING", "incoming", "sip:bob@127.0.0.1:5070", kBid);
  RunUntil(MSG_CALL_RINGING);
  ASSERT_EQ(posted_.size(), 1u);
  EXPECT_EQ(posted_[0].text, "Bob Far") << "the caller's name from the contacts";
  EXPECT_EQ(posted_[0].wparam, 7u) << "and its count";

  Key(KEY_CALL);
  auto commands = fake_.Commands();
  EXPECT_TRUE(Has(commands, std::string("\"command\":\"callfind\",\"params\":\"") + kBid));
  EXPECT_TRUE(Has(commands, "\"command\":\"accept\""));
  fake_.Event("CALL_ESTABLISHED", "incoming", "sip:bob@127.0.0.1:5070", kBid);
  RunUntil(MSG_CALL_IN_PROGRESS);
  const std::string id = posted_.back().text;
  EXPECT_LE(id.size(), BaresipBridge::kMaxCallId);
  EXPECT_NE(id, kBid);
  const auto active = Records(true);
  ASSERT_EQ(active.size(), 1u);
  EXPECT_EQ(active[0].first, id) << "the active call carries the id the controller was given";
  EXPECT_EQ(active[0].second, "Bob Far/0/0");

  EXPECT_EQ(Key(KEY_1 + 4), "") << "a digit in a call is a tone, not part of the number";
  EXPECT_TRUE(Has(fake_.Commands(), "\"command\":\"sndcode\",\"params\":\"5\""));

  posted_.clear();
  EXPECT_TRUE(Bridge().fSetOnHold());
  commands = fake_.Commands();
  fake_.Answer(FakeBaresip::Token(commands, "hold"), true, "");
  RunUntil(MSG_CALL_ON_HOLD);
  EXPECT_TRUE(Bridge().fSetInProgress());
  commands = fake_.Commands();
  fake_.Answer(FakeBaresip::Token(commands, "resume"), true, "");
  RunUntil(MSG_CALL_RESUMED);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_ON_HOLD, MSG_CALL_RESUMED}));

  // Mute toggles in baresip: only a change is sent.
  EXPECT_TRUE(Bridge().fSetMute(1));
  EXPECT_TRUE(Bridge().fSetMute(1));
  commands = fake_.Commands();
  int mutes = 0;
  for (const std::string& c : commands) mutes += c.find("\"mute\"") != std::string::npos;
  EXPECT_EQ(mutes, 1);

  fake_.Event("CALL_CLOSED", "incoming", "sip:bob@127.0.0.1:5070", kBid, "bye");
  RunUntil(MSG_CALL_FINISHED);
  EXPECT_TRUE(Records(true).empty());
  const auto history = Records(false);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].second, "Bob Far/0/0");
  EXPECT_EQ(Bridge().fGetMissedCallCount(), 0);
}

TEST_F(BaresipBridgeTest, UnansweredIncomingCallIsMissedUntilSeen) {
  Connect();
  fake_.Event("CALL_INCOMING", "incoming", "sip:stranger@10.0.0.9", kBid);
  RunUntil(MSG_CALL_RINGING);
  EXPECT_EQ(posted_[0].text, "sip:stranger@10.0.0.9") << "no contact: the address is shown";
  fake_.Event("CALL_CLOSED", "incoming", "sip:stranger@10.0.0.9", kBid, "cancelled");
  RunUntil(MSG_CALL_FINISHED);
  EXPECT_TRUE(Got(MSG_MISSED_CALLS_CHANGED));
  EXPECT_EQ(Bridge().fGetMissedCallCount(), 1);
  const auto history = Records(false);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].second, "sip:stranger@10.0.0.9/8/0");
  EXPECT_TRUE(Bridge().fSetCallSeen(history[0].first.c_str()));
  EXPECT_EQ(Bridge().fGetMissedCallCount(), 0);

  // Refused from the handset it is not missed.
  fake_.Event("CALL_INCOMING", "incoming", "sip:stranger@10.0.0.9", "fedcba9876543210");
  RunUntil(MSG_CALL_RINGING);
  Key(KEY_END_CALL);
  EXPECT_TRUE(Has(fake_.Commands(), "\"command\":\"hangup\""));
  fake_.Event("CALL_CLOSED", "incoming", "sip:stranger@10.0.0.9", "fedcba9876543210");
  Run(200);
  EXPECT_EQ(Bridge().fGetMissedCallCount(), 0);
}

TEST_F(BaresipBridgeTest, TypedNumberIsDialledWithTheDomainAndFailureIsReported) {
  Connect();
  EXPECT_EQ(Key(KEY_1), "1");
  EXPECT_EQ(Key(KEY_1 + 1), "12");
  EXPECT_EQ(Key(KEY_CALL), "12") << "the number called goes back, then is forgotten";
  EXPECT_EQ(Bridge().number(), "");
  EXPECT_TRUE(Has(fake_.Commands(), "\"command\":\"dial\",\"params\":\"sip:12@example.org\""));
  // baresip names the call in its first event; it closes without being established.
  fake_.Event("CALL_RINGING", "outgoing", "sip:12@example.org", kBid);
  fake_.Event("CALL_CLOSED", "outgoing", "sip:12@example.org", kBid, "408 Request Timeout");
  RunUntil(MSG_CALL_FAILED);
  EXPECT_EQ(Messages(), std::vector<UINT>{MSG_CALL_FAILED});
  EXPECT_EQ(Records(false)[0].second, "sip:12@example.org/0/1");

  // A dial that baresip refuses outright fails too.
  posted_.clear();
  EXPECT_TRUE(Bridge().fCallUser("sip:bad@example.org"));
  const auto commands = fake_.Commands();
  fake_.Answer(FakeBaresip::Token(commands, "dial"), false, "Invalid argument");
  RunUntil(MSG_CALL_FAILED);
  EXPECT_EQ(Messages(), std::vector<UINT>{MSG_CALL_FAILED});
}

TEST_F(BaresipBridgeTest, ConferenceTargetsAreDialledOneByOne) {
  Connect();
  EXPECT_TRUE(Bridge().fCallUser("alice@x.org,,sip:bob@y.org"));
  const auto commands = fake_.Commands();
  EXPECT_TRUE(Has(commands, "\"params\":\"sip:alice@x.org\""));
  EXPECT_TRUE(Has(commands, "\"params\":\"sip:bob@y.org\""));
  EXPECT_FALSE(Bridge().fCallUser("has space@x.org"));
  EXPECT_FALSE(Bridge().fSending("set call 1 join_conference 2")) << "no counterpart";
  // Established while the other is held: the second call of a conference.
  fake_.Event("CALL_ESTABLISHED", "outgoing", "sip:alice@x.org", kBid);
  RunUntil(MSG_CALL_IN_PROGRESS);
  EXPECT_TRUE(Bridge().fSetOnHold());
  fake_.Answer(FakeBaresip::Token(fake_.Commands(), "hold"), true, "");
  RunUntil(MSG_CALL_ON_HOLD);
  fake_.Event("CALL_ESTABLISHED", "outgoing", "sip:bob@y.org", "1111111111111111");
  RunUntil(MSG_SECOND_CALL);
  EXPECT_EQ(Records(true).size(), 2u);
}

TEST_F(BaresipBridgeTest, EventsForUnknownCallsChangeNothing) {
  Connect();
  fake_.Event("CALL_ESTABLISHED", "incoming", "sip:x@y", kBid);
  fake_.Event("CALL_CLOSED", "incoming", "sip:x@y", kBid);
  fake_.Event("CALL_CLOSED", "outgoing", "sip:x@y", kBid);  // no dial of ours waits
  fake_.Event("CALL_INCOMING", "incoming", "sip:x@y", "");  // no id
  fake_.Event("SOMETHING_NEW", "", "", "");
  fake_.Json("{\"neither\":1}");
  Run(200);
  EXPECT_TRUE(posted_.empty());
  EXPECT_TRUE(Bridge().fCheckVoIPOnLine());
}

TEST_F(BaresipBridgeTest, SlowAnswerIsGivenUpOnInBoundedTime) {
  Connect("> Ann <sip:ann@x>\\n");
  const auto start = Clock::now();
  const std::uint8_t* block = nullptr;
  ASSERT_TRUE(Bridge().fGetFullPhoneBook(&block));  // the fake does not answer
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::milliseconds(1500));
  ASSERT_EQ(blocks::RecordCount(block), 1) << "the contacts last known stand";
  // The late answer is dropped; the link stays.
  fake_.Answer(FakeBaresip::Token(fake_.Commands(), "contacts"), true, "> Other <sip:o@x>\\n");
  Run(100);
  EXPECT_TRUE(Bridge().fCheckVoIPOnLine());
  EXPECT_NE(notes_.find("no answer to 'contacts'"), std::string::npos);
}

// Each of these breaks the stream: the client counts as detached, the controller leaves the
// call it was in, and fConnectVoIP connects again.
class BaresipBridgeBadInput : public BaresipBridgeTest,
                              public ::testing::WithParamInterface<std::string> {};

TEST_P(BaresipBridgeBadInput, DetachesLeavesTheCallAndReconnects) {
  Connect();
  fake_.Event("CALL_INCOMING", "incoming", "sip:x@y", kBid);
  fake_.Event("CALL_ESTABLISHED", "incoming", "sip:x@y", kBid);
  RunUntil(MSG_CALL_IN_PROGRESS);
  posted_.clear();
  if (GetParam() == "close") {
    fake_.Drop();
  } else {
    fake_.Raw(GetParam());
  }
  RunUntil(MSG_VOIP_DETACHED);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_FINISHED, MSG_VOIP_DETACHED}));
  EXPECT_FALSE(Bridge().fCheckVoIPOnLine());
  EXPECT_TRUE(Records(true).empty());
  EXPECT_FALSE(loop_.watching());

  fake_.Drop();
  posted_.clear();
  ASSERT_TRUE(Bridge().fConnectVoIP(sim::SimWindowHost::MainWindow(), 0));
  ASSERT_TRUE(fake_.Accept());
  Run(50);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_VOIP_ATTACHED, MSG_VOIP_ONLINE, MSG_LANGUAGE}));
}

INSTANTIATE_TEST_SUITE_P(Streams, BaresipBridgeBadInput,
                         ::testing::Values("close", "not a netstring", "11:not json at,", "2:[],",
                                           "99999999999:", "5:{}{}},", std::string("3:\0\0\0,", 7)));

}  // namespace
}  // namespace mivo::baresip

#endif

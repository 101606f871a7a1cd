// The controller against real baresip: two instances on the loopback interface, each in a
// private directory with a sine tone for a microphone and files for a loudspeaker. The
// controller's bridge talks to the first ("100"); the test plays the far end through the
// second's control interface ("200"). The controller runs with the real clock; every wait is
// bounded and both instances are stopped whatever happens. Without baresip installed the tests
// are skipped, or fail when the build requires every test.
#ifdef MIVO_HAVE_BARESIP

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/baresip/baresip_bridge.h"
#include "platform/baresip/baresip_instance.h"
#include "platform/baresip/control_link.h"
#include "tests/harness.h"
#include "voip/blocks.h"

namespace mivo::baresip {
namespace {

using Clock = std::chrono::steady_clock;

// Whether a port is free for SIP (UDP and TCP) or a control interface (TCP).
bool Bindable(int port, int type) {
  const int fd = socket(AF_INET, type, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(fd);
  return ok;
}

// A free pair of ports P, P+1 (baresip takes P+1 for SIP over TLS) and a third for control.
int ReservePorts() {
  static std::mt19937 random(static_cast<unsigned>(getpid() * 7919u + time(nullptr)));
  for (int attempt = 0; attempt < 200; ++attempt) {
    const int p = 20000 + static_cast<int>(random() % 20000) * 2;
    if (Bindable(p, SOCK_DGRAM) && Bindable(p, SOCK_STREAM) && Bindable(p + 1, SOCK_STREAM) &&
        Bindable(p + 2, SOCK_STREAM)) {
      return p;
    }
  }
  return 0;
}

// The far end: commands and events over its control interface.
class FarEnd {
 public:
  bool Connect(int port) {
    std::string error;
    for (auto end = Clock::now() + std::chrono::seconds(5); Clock::now() < end;) {
      if (link_.Connect("127.0.0.1", port, 500, &error)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  void Command(const std::string& command, const std::string& params = "") {
    std::string json = "{\"command\":\"" + command + "\"";
    if (!params.empty()) json += ",\"params\":\"" + params + "\"";
    link_.Send(json + ",\"token\":\"far\"}", 1000);
  }
  // Waits at most `ms` for an event of `type` (and containing `part`).
  bool WaitEvent(const std::string& type, int ms, const std::string& part = "") {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      for (std::size_t i = 0; i < seen_.size(); ++i) {
        if (seen_[i].find("\"type\":\"" + type + "\"") != std::string::npos &&
            seen_[i].find(part) != std::string::npos) {
          seen_.erase(seen_.begin(), seen_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
          return true;
        }
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
      if (left <= 0) return false;
      std::string error;
      if (link_.WaitReadable(static_cast<int>(left)) && !link_.ReadAvailable(&seen_, &error)) {
        return false;
      }
    }
  }

 private:
  ControlLink link_;
  std::vector<std::string> seen_;
};

class BaresipEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramAvailable("baresip")) {
#ifdef MIVO_TESTS_REQUIRED
      FAIL() << "baresip is not installed (Debian: baresip-core); this build requires it";
#else
      GTEST_SKIP() << "baresip is not installed (Debian: baresip-core)";
#endif
    }
    const int ours = ReservePorts();
    const int far = ReservePorts();
    ASSERT_TRUE(ours != 0 && far != 0 && ours != far) << "no free loopback ports";
    our_sip_ = ours;
    far_sip_ = far;
    const std::string far_address = "127.0.0.1:" + std::to_string(far_sip_);

    InstanceConfig mine;
    mine.sip_port = our_sip_;
    mine.control_port = ours + 2;
    mine.user = "100";
    mine.contacts = {"\"Zed\" <sip:zed@example.com>", "\"Bob Far\" <sip:200@" + far_address + ">",
                     "\"alice\" <sip:alice@example.com>"};
    InstanceConfig theirs;
    theirs.sip_port = far_sip_;
    theirs.control_port = far + 2;
    theirs.user = "200";
    std::string error;
    ASSERT_TRUE(ours_.Start(mine, &error)) << error;
    ASSERT_TRUE(far_instance_.Start(theirs, &error)) << error;
    ASSERT_TRUE(far_.Connect(theirs.control_port)) << far_instance_.Log();

    settings_.port = mine.control_port;
    settings_.domain = far_address;
    settings_.start_timeout_ms = 5000;
    // Our instance was just started: fRunAP waits for its control port as for one it started.
    for (auto end = Clock::now() + std::chrono::seconds(5); Clock::now() < end;) {
      ControlLink probe;
      if (probe.Connect("127.0.0.1", mine.control_port, 500, &error)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    harness_ = std::make_unique<test::Harness>([this](sim::EventLoop& loop) {
      auto bridge = std::make_unique<BaresipBridge>(
          loop, loop, settings_, [this](const std::string& l) { notes_ += l + "\n"; });
      bridge_ = bridge.get();
      return bridge;
    });
    harness_->world().handset.plugged = true;
  }

  void TearDown() override {
    harness_.reset();
    if (HasFailure()) {
      std::cerr << "bridge notes:\n" << notes_ << "our baresip:\n" << ours_.Log();
    }
    ours_.Stop();
    far_instance_.Stop();
  }

  // Runs the controller with the real clock until `until` holds, at most `ms`.
  bool RunUntil(const std::function<bool()>& until, int ms = 5000) {
    sim::EventLoop& loop = harness_->sim().loop;
    auto last = Clock::now();
    const auto end = last + std::chrono::milliseconds(ms);
    for (;;) {
      loop.WaitReadable(20);
      const auto now = Clock::now();
      loop.Advance(std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
      last = now;
      if (until && until()) return true;
      if (now >= end) return false;
    }
  }
  void Press(int key) {
    harness_->Key(key);
    RunUntil(nullptr, 60);
    harness_->Key(KEY_RELEASE);
  }
  std::string Lcd() const {
    std::string text;
    for (const std::string& row : harness_->Lcd()) text += row + "\n";
    return text;
  }
  // Started, the handset in, the client on line.
  void Start(ControllerDialog& c) {
    ASSERT_TRUE(RunUntil([&] { return c.voip_online && c.handset_present; }))
        << "not on line; " << notes_;
  }

  int our_sip_ = 0;
  int far_sip_ = 0;
  BaresipInstance ours_;
  BaresipInstance far_instance_;
  FarEnd far_;
  BridgeSettings settings_;
  std::string notes_;
  BaresipBridge* bridge_ = nullptr;
  std::unique_ptr<test::Harness> harness_;
};

TEST_F(BaresipEndToEnd, TypedNumberCalledAnsweredToneSentEndedFromTheHandset) {
  harness_->Run([&](ControllerDialog& c) {
    Start(c);
    Press(KEY_0);  // the dial pad
    Press(KEY_1 + 1);
    Press(KEY_0);
    Press(KEY_0);
    ASSERT_EQ(std::string(c.dial_buf), "200");
    Press(KEY_CALL);
    ASSERT_TRUE(far_.WaitEvent("CALL_INCOMING", 5000)) << notes_;
    far_.Command("accept");
    ASSERT_TRUE(RunUntil([&] { return c.call_active; })) << notes_;
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    // The call clock runs.
    const std::string before = Lcd();
    RunUntil(nullptr, 2100);
    EXPECT_NE(Lcd(), before) << "the call clock did not move:\n" << before;

    Press(KEY_1 + 4);
    EXPECT_TRUE(far_.WaitEvent("CALL_DTMF_START", 3000, "\"param\":\"5\"")) << "no tone heard";

    Press(KEY_END_CALL);
    EXPECT_TRUE(far_.WaitEvent("CALL_CLOSED", 3000));
    EXPECT_TRUE(RunUntil([&] { return !c.call_active; }));
    EXPECT_EQ(c.screen, SCREEN_IDLE);
    EXPECT_EQ(bridge_->fGetMissedCallCount(), 0);
  });
}

TEST_F(BaresipEndToEnd, IncomingCallShownAnsweredHeldResumedEndedByTheFarEnd) {
  harness_->Run([&](ControllerDialog& c) {
    Start(c);
    far_.Command("dial", "sip:100@127.0.0.1:" + std::to_string(our_sip_));
    ASSERT_TRUE(RunUntil([&] { return c.screen == SCREEN_INCOMING_CALL; })) << notes_;
    EXPECT_EQ(std::string(c.caller_text), "Bob Far") << "the caller from baresip's contacts";
    EXPECT_NE(Lcd().find("Bob Far"), std::string::npos) << Lcd();

    Press(KEY_CALL);
    ASSERT_TRUE(RunUntil([&] { return c.call_active; })) << notes_;
    EXPECT_TRUE(far_.WaitEvent("CALL_ESTABLISHED", 3000));
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    EXPECT_LE(std::string(c.active_call_id).size(), 15u);

    Press(KEY_HOLD);
    ASSERT_TRUE(RunUntil([&] { return c.on_hold; })) << notes_;
    EXPECT_EQ(harness_->sim().handset.leds().hold, 1);
    Press(KEY_HOLD);
    ASSERT_TRUE(RunUntil([&] { return !c.on_hold; })) << notes_;
    EXPECT_EQ(harness_->sim().handset.leds().hold, 0);
    Press(KEY_MUTE);
    EXPECT_EQ(harness_->sim().handset.leds().mute, 1);

    far_.Command("hangup");
    ASSERT_TRUE(RunUntil([&] { return !c.call_active; })) << notes_;
    EXPECT_EQ(c.screen, SCREEN_IDLE);
    const sim::Leds leds = harness_->sim().handset.leds();
    EXPECT_EQ(leds.hold, 0);
    EXPECT_EQ(leds.mute, 0);
    EXPECT_EQ(leds.main, 1) << "lit by the call's end";
    EXPECT_EQ(leds.voicemail, 0);
  });
}

TEST_F(BaresipEndToEnd, CallToAnAddressThatDoesNotAnswerFailsCleanly) {
  // Nothing listens at that TCP port: the connection is refused at once.
  settings_.domain = "127.0.0.1:" + std::to_string(our_sip_ + 3) + ";transport=tcp";
  harness_->Run([&](ControllerDialog& c) {
    Start(c);
    Press(KEY_0);
    Press(KEY_1 + 2);
    ASSERT_EQ(std::string(c.dial_buf), "3");
    Press(KEY_CALL);
    ASSERT_TRUE(RunUntil([&] {
      return Lcd().find(c.text_wrong_number) != std::string::npos && c.text_wrong_number[0];
    })) << notes_
        << Lcd();
    EXPECT_FALSE(c.call_active);
    EXPECT_EQ(c.dial_len, 0);
    // Back to the idle page after the message; the client is still there.
    EXPECT_TRUE(RunUntil([&] { return c.screen == SCREEN_IDLE; }, 4000));
    EXPECT_TRUE(bridge_->fCheckVoIPOnLine());
    const std::uint8_t* active = nullptr;
    bridge_->fGetActiveCalls(&active);
    EXPECT_EQ(blocks::RecordCount(active), 0);
  });
}

TEST_F(BaresipEndToEnd, ContactsPageListsBaresipsContactsInTheControllersOrder) {
  harness_->Run([&](ControllerDialog& c) {
    Start(c);
    Press(KEY_SKYPE);
    ASSERT_EQ(c.screen, SCREEN_CONTACTS);
    ASSERT_EQ(c.contact_count, 3);
    EXPECT_EQ(std::string(c.contacts[0].name), "alice");
    EXPECT_EQ(std::string(c.contacts[1].name), "Bob Far");
    EXPECT_EQ(std::string(c.contacts[2].name), "Zed");
    EXPECT_EQ(std::string(c.contacts[1].handle), "sip:200@127.0.0.1:" + std::to_string(far_sip_));
    Press(KEY_DOWN);
    EXPECT_EQ(c.screen, SCREEN_CONTACT_LIST);
    const std::string lcd = Lcd();
    EXPECT_LT(lcd.find("alice"), lcd.find("Bob Far")) << lcd;
  });
}

}  // namespace
}  // namespace mivo::baresip

#endif

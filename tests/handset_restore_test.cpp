// The handset coming back after it lost power (unplugged, lost, suspended): what it shows and
// which LEDs it lights, and what odd orders of arrivals and removals leave behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/harness.h"

namespace mivo::test {
namespace {

const char* const kArrivalTail[] = {"SetTimer(1, 10000)", "fSetLEDOn(1)", "SetTimer(1003, 20000)"};

std::vector<std::uintptr_t> RunningTimers(Harness& h) {
  std::vector<std::uintptr_t> ids;
  for (const auto& timer : h.sim().loop.Timers()) ids.push_back(timer.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::string Leds(Harness& h) {
  const sim::Leds& leds = h.sim().handset.leds();
  return std::to_string(leds.main) + std::to_string(leds.hold) + std::to_string(leds.mute) +
         std::to_string(leds.voicemail);
}

// The trace lines from the first line that starts with `prefix` on.
std::vector<std::string> From(const Harness& h, const std::string& prefix) {
  const std::vector<std::string> lines = h.Lines();
  auto at = std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  return {at, lines.end()};
}

class HandsetRestoreTest : public ::testing::Test {
 protected:
  HandsetRestoreTest() { h.world().pc.mixers.push_back({"USB Audio Device", 32768}); }

  // The handset is plugged in, the client on line, the window hidden.
  void Ready() {
    h.Post(MSG_VOIP_ONLINE);
    h.Post(MSG_HANDSET_ARRIVED);
    h.Wait(200);
  }
  // A call from the ring to the call page, in progress.
  void Call(const char* caller) {
    h.Post(MSG_CALL_RINGING, std::char_traits<char>::length(caller),
           reinterpret_cast<LPARAM>(caller));
    h.Press(KEY_CALL);
    static const char kId[] = "77";
    h.Post(MSG_CALL_IN_PROGRESS, 0, reinterpret_cast<LPARAM>(kId));
  }
  void Unplug() {
    h.sim().handset.LosePower();
    h.Post(MSG_HANDSET_REMOVED);
  }

  Harness h;
};

TEST_F(HandsetRestoreTest, ForgettingTheDisplayIsNotTracedAndLaterCallsAre) {
  sim::SimHandset& handset = h.sim().handset;
  HandsetLibrary& library = h.sim().traced_handset;  // as the controller calls it
  library.fSendDisplayLCD_TXT(3, 0, "title", 2, 700, "Tahoma");
  library.fDrawBuf(0, 124, "", 0, "", 0);
  library.fRotate180(1);
  library.fSetLEDOn(1);
  library.fSetLEDStatus(0, 1);
  library.fSetLEDStatus(1, 1);
  library.fSetVoiceLEDOn(1);
  h.ClearTrace();
  handset.LosePower();
  EXPECT_TRUE(h.Lines().empty());
  for (int r = 0; r < 4; ++r)
    EXPECT_EQ(handset.RowLine(r), "row " + std::to_string(r) + " style 0:");
  EXPECT_TRUE(handset.buffer().empty());
  EXPECT_FALSE(handset.rotated());
  EXPECT_EQ(Leds(h), "0000");
  library.fSetLEDStatus(1, 1);
  EXPECT_EQ(h.Lines(), std::vector<std::string>{"fSetLEDStatus(1, 1)"});
  EXPECT_EQ(Leds(h), "0010");
}

TEST_F(HandsetRestoreTest, IdleArrivalKeepsItsStepsAndAddsOnlyTheVoicemailLed) {
  h.world().voip.unplayed = 3;
  h.Run([&](ControllerDialog&) {
    h.Wait(200);  // past the start-up's hiding of the window
    // Before the client is on line: the arrival as it always was, no voicemail LED.
    h.Post(MSG_HANDSET_ARRIVED);
    std::vector<std::string> tail = From(h, "SetTimer(1, ");
    EXPECT_EQ(tail, (std::vector<std::string>{kArrivalTail[0], kArrivalTail[1], kArrivalTail[2],
                                              "Shell_NotifyIcon(NIM_MODIFY, 150, "
                                              "\"Tr520 USB Internet Speakerphone\")"}));
    h.Post(MSG_VOIP_ONLINE);
    Unplug();
    h.ClearTrace();
    h.Post(MSG_HANDSET_ARRIVED);
    tail = From(h, "SetTimer(1, ");
    EXPECT_EQ(tail,
              (std::vector<std::string>{kArrivalTail[0], kArrivalTail[1], kArrivalTail[2],
                                        "Shell_NotifyIcon(NIM_MODIFY, 149, "
                                        "\"Tr520 USB Internet Speakerphone\")",
                                        "fGetUnPlayedVoiceMailCount()", "fSetVoiceLEDOn(1)"}));
    EXPECT_EQ(h.Lcd()[0], "row 3 style 0: \"Monday\"@0");
    EXPECT_EQ(Leds(h), "1001");
  });
}

TEST_F(HandsetRestoreTest, CallComesBackWithTypedDigitsAndItsLedsWrittenOffToo) {
  h.Run([&](ControllerDialog& c) {
    Ready();
    Call("Alice");
    h.Press(KEY_1);
    h.Press(KEY_HASH);
    ASSERT_EQ(h.Lcd()[1], "row 2 style 0: \"Alice1#\"@0");
    Unplug();
    h.Wait(5000);  // the call clock writes to no handset meanwhile
    h.ClearTrace();
    h.Post(MSG_HANDSET_ARRIVED);
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    EXPECT_EQ(c.call_page_mode, 1);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: \"Alice1#\"@0");
    EXPECT_EQ(From(h, "Shell_NotifyIcon("),
              (std::vector<std::string>{
                  "Shell_NotifyIcon(NIM_MODIFY, 149, \"Tr520 USB Internet Speakerphone\")",
                  "fSetLEDStatus(0, 0)", "fSetLEDStatus(1, 0)", "fGetUnPlayedVoiceMailCount()",
                  "fSetVoiceLEDOn(0)"}));
    EXPECT_FALSE(h.Has("fSendDisplayLCD_TXT(3, 0, \"Monday\", 0, 700, \"Tahoma\")"))
        << "no idle page over the call";
    h.Wait(1000);
    EXPECT_NE(h.Lcd()[3].find("am  00:00:0"), std::string::npos)
        << "the clock runs: " << h.Lcd()[3];
  });
}

TEST_F(HandsetRestoreTest, ResumeShowsTheRingOrTheIdlePage) {
  h.world().voip.unplayed = 1;
  h.Run([&](ControllerDialog& c) {
    Ready();
    static const char kCaller[] = "Bob";
    h.Post(MSG_CALL_RINGING, 3, reinterpret_cast<LPARAM>(kCaller));
    h.Wait(500);  // the blink's first phase: on
    h.Post(WM_POWERBROADCAST, PBT_APMSUSPEND);
    h.sim().handset.LosePower();
    h.ClearTrace();
    h.Post(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND);
    EXPECT_EQ(c.screen, SCREEN_INCOMING_CALL);
    EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"Bob\"@0");
    EXPECT_EQ(From(h, "fClearRow(0)"),
              (std::vector<std::string>{"fClearRow(0)", "fSetLEDOn(1)",
                                        "fGetUnPlayedVoiceMailCount()", "fSetVoiceLEDOn(1)"}));
    h.Wait(500);
    EXPECT_EQ(Leds(h), "0001") << "the blink goes on from the lit LED";

    // The far end gives up: the next resume shows the idle page.
    h.Post(MSG_CALL_FINISHED);
    h.sim().handset.LosePower();
    h.ClearTrace();
    h.Post(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND);
    EXPECT_EQ(c.screen, SCREEN_IDLE);
    EXPECT_FALSE(h.Has("fSetLEDStatus(0, 0)"));
    EXPECT_EQ(h.Lines().back(), "fSetVoiceLEDOn(1)");
  });
}

TEST_F(HandsetRestoreTest, OddOrdersOfArrivalAndRemovalLeaveNoStrayLedOrTimer) {
  h.Run([&](ControllerDialog& c) {
    // A removal before any arrival.
    h.Post(MSG_HANDSET_REMOVED);
    h.Wait(200);
    EXPECT_EQ(Leds(h), "0000");
    EXPECT_TRUE(RunningTimers(h).empty());

    // Three arrivals without a removal during a held call: each shows the call once more and
    // restarts the same timers; nothing piles up.
    Ready();
    Call("Alice");
    h.Post(MSG_CALL_ON_HOLD);
    h.ClearTrace();
    for (int i = 0; i < 3; ++i) h.Post(MSG_HANDSET_ARRIVED);
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    EXPECT_FALSE(h.Has("fReInitial()"));
    EXPECT_EQ(Leds(h), "1100");
    EXPECT_EQ(RunningTimers(h),
              (std::vector<std::uintptr_t>{TIMER_IDLE_REFRESH, TIMER_CALL_CLOCK, TIMER_LED_OFF}));

    // The client detaches during the held, muted call and a ring; the handset comes back:
    // no call is shown, its clock and the blink stop, the hold and mute LEDs stay dark.
    h.Press(KEY_MUTE);
    static const char kCaller[] = "Carol";
    h.Post(MSG_CALL_RINGING, 5, reinterpret_cast<LPARAM>(kCaller));
    h.Post(MSG_VOIP_DETACHED);
    Unplug();
    h.ClearTrace();
    h.Post(MSG_HANDSET_ARRIVED);
    EXPECT_EQ(c.screen, SCREEN_IDLE);
    EXPECT_TRUE(h.Has("KillTimer(9)"));
    EXPECT_TRUE(h.Has("KillTimer(1004)"));
    EXPECT_FALSE(h.Has("fSetLEDStatus(0, 1)"));
    EXPECT_FALSE(h.Has("fGetUnPlayedVoiceMailCount()"));
    EXPECT_EQ(RunningTimers(h), (std::vector<std::uintptr_t>{TIMER_IDLE_REFRESH, TIMER_LED_OFF}));
    h.Wait(20000);
    EXPECT_EQ(Leds(h), "0000");
    EXPECT_EQ(h.Lcd()[3], "row 0 style 0:") << "no call clock over the idle page";

    // Lost and back while still off line, then a resume: the same quiet idle page.
    h.sim().handset.LosePower();
    h.Post(MSG_HANDSET_LOST);
    h.Post(MSG_HANDSET_ARRIVED);
    h.Post(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND);
    h.Wait(20000);
    EXPECT_EQ(c.screen, SCREEN_IDLE);
    EXPECT_EQ(Leds(h), "0000");
    EXPECT_EQ(RunningTimers(h), std::vector<std::uintptr_t>{TIMER_IDLE_REFRESH});
  });
}

}  // namespace
}  // namespace mivo::test

// The timers and the repeat actions on the simulated platform's virtual clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/harness.h"

namespace mivo::test {
namespace {

HWND Window() {
  return sim::SimWindowHost::MainWindow();
}

bool Running(Harness& h, std::uintptr_t id, std::uint32_t period = 0) {
  for (const auto& t : h.sim().loop.Timers()) {
    if (t.id == id) return period == 0 || t.period_ms == period;
  }
  return false;
}

TEST(Timers, VolumeRepeatStaysWithinRangeAndStopsAfterRelease) {
  Harness h;
  h.world().pc.mixers.push_back({"Speakers", 32768});
  h.Run([&](ControllerDialog& c) {
    c.held_key = KEY_VOL_UP;
    c.speaker_volume = 65536 - 1000;
    h.sim().window.SetTimer(Window(), TIMER_VOLUME_UP_REPEAT, 500);
    h.Wait(500);
    EXPECT_EQ(c.speaker_volume, 65536);
    EXPECT_TRUE(h.Has("mixerSetControlDetails(65536)"));
    EXPECT_TRUE(c.volume_overlay);
    h.Wait(500);
    EXPECT_EQ(c.speaker_volume, 65536);
    c.held_key = KEY_RELEASE;
    h.ClearTrace();
    h.Wait(500);
    EXPECT_EQ(h.Lines(), (std::vector<std::string>{"KillTimer(1001)"}));

    c.held_key = KEY_VOL_DOWN;
    c.speaker_volume = 1000;
    h.sim().window.SetTimer(Window(), TIMER_VOLUME_DOWN_REPEAT, 500);
    h.Wait(500);
    EXPECT_EQ(c.speaker_volume, 0);
    EXPECT_TRUE(h.Has("mixerSetControlDetails(0)"));
    // A volume that another program left out of range comes back into it.
    c.speaker_volume = 70000;
    h.Wait(500);
    EXPECT_EQ(c.speaker_volume, 65536);
  });
}

TEST(Timers, ListRepeatOffAListKeepsRunningWithoutDrawing) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    h.Wait(100);  // the window hides
    c.screen = SCREEN_IDLE;
    c.held_key = KEY_UP;
    h.sim().window.SetTimer(Window(), TIMER_UP_REPEAT, 750);
    h.ClearTrace();
    h.Wait(1500);
    EXPECT_TRUE(h.Lines().empty()) << h.Text();
    EXPECT_TRUE(Running(h, TIMER_UP_REPEAT, 750));
  });
}

TEST(Timers, UnknownIdsDoNothing) {
  Harness h;
  h.Run([&](ControllerDialog&) {
    h.Wait(100);  // the window hides
    h.ClearTrace();
    h.Post(MSG_REPEAT_ACTION, 999, 0);
    h.sim().loop.Send(WM_TIMER, 77, 0);
    EXPECT_TRUE(h.Lines().empty()) << h.Text();
  });
}

}  // namespace
}  // namespace mivo::test

// When the interactive handset's terminal is painted and how long its loop sleeps: the demo
// world driven as the terminal loop drives it (sleep as long as the pacer allows, advance the
// clock by that, paint when asked), without a terminal.
#include "sim/interactive_pacer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "sim/interactive_session.h"
#include "sim/script_runner.h"

namespace mivo::sim {
namespace {

constexpr int kLines = 40;
constexpr int kColumns = 120;

TermKey Char(char c) {
  return TermKey{TermKey::Kind::kChar, c};
}

// The demo world with its trace in a pane's log, and `body` as the session.
void RunPaced(const std::function<void(HandsetSession&, ScreenPacer&, SimPlatform&)>& body) {
  std::ifstream file(std::string(MIVO_RES_DIR) + "/demo_world.scn", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::istringstream world(text.str());
  LogBuffer log;
  std::ostream trace(&log);
  std::ostringstream err;
  ScriptRunner* runner = nullptr;
  RunnerOptions options;
  bool ran = false;
  options.session = [&] {
    ran = true;
    HandsetSession session(*runner);
    ScreenPacer pacer(session, log);
    body(session, pacer, runner->platform());
  };
  ScriptRunner script_runner(world, trace, err, options);
  runner = &script_runner;
  script_runner.Run();
  EXPECT_TRUE(ran);
  EXPECT_EQ(err.str(), "");
}

// One turn of the terminal loop without a key: sleep as long as allowed, then paint if asked.
// Returns the time slept.
std::int64_t Sleep(HandsetSession& s, ScreenPacer& pacer) {
  const std::int64_t ms = pacer.WaitMs();
  s.Advance(ms);
  pacer.TakeRedraw(kLines, kColumns);
  return ms;
}

// Sleeps turn by turn for at least `ms`; returns the number of turns.
int SleepFor(HandsetSession& s, ScreenPacer& pacer, std::int64_t ms) {
  int turns = 0;
  for (std::int64_t slept = 0; slept < ms; ++turns) slept += Sleep(s, pacer);
  return turns;
}

// A key stroke as the terminal loop delivers it.
void Key(HandsetSession& s, ScreenPacer& pacer, TermKey key) {
  s.HandleKey(key);
  pacer.NoteInput();
}

TEST(InteractivePacer, AnIdleHandsetIsPaintedOnlyWhenWhatItShowsChanges) {
  RunPaced([](HandsetSession& s, ScreenPacer& pacer, SimPlatform& sim) {
    EXPECT_TRUE(pacer.TakeRedraw(kLines, kColumns)) << "the first turn paints";
    EXPECT_FALSE(pacer.TakeRedraw(kLines, kColumns));
    EXPECT_TRUE(pacer.TakeRedraw(kLines - 1, kColumns)) << "a resize paints";
    pacer.Invalidate();
    EXPECT_TRUE(pacer.TakeRedraw(kLines - 1, kColumns)) << "lost contents are painted";

    // The trace pane hidden: only the handset, the panel and the lines below it are left.
    Key(s, pacer, Char('t'));
    EXPECT_TRUE(pacer.TakeRedraw(kLines, kColumns));
    // Short sleeps while the start and the key settle, then long ones.
    EXPECT_LE(pacer.WaitMs(), ScreenPacer::kBusyWaitMs);
    SleepFor(s, pacer, ScreenPacer::kSettleMs);
    EXPECT_GT(pacer.WaitMs(), ScreenPacer::kBusyWaitMs);
    SleepFor(s, pacer, 30000);  // the start's timers (the main LED) run out

    // A minute on the idle page: the controller's timers and the bounded sleep are all that
    // wake the loop, and only the clock row's change is painted.
    const std::uint64_t paints = pacer.redraws();
    const std::uint64_t expiries = sim.loop.timer_expiries();
    const std::string clock_row = sim.handset.RowLine(1);
    const int turns = SleepFor(s, pacer, 60000);
    EXPECT_NE(sim.handset.RowLine(1), clock_row) << "the minute did not change";
    EXPECT_EQ(pacer.redraws() - paints, 1u);
    EXPECT_LE(turns, 61 + static_cast<int>(sim.loop.timer_expiries() - expiries));

    // With the pane shown, every trace line the timers write is painted too, nothing else.
    Key(s, pacer, Char('t'));
    SleepFor(s, pacer, ScreenPacer::kSettleMs);
    EXPECT_LE(pacer.redraws() - paints, 2u + sim.loop.timer_expiries() - expiries);
  });
}

TEST(InteractivePacer, KeysArePaintedAndTapsReleasedOnTime) {
  RunPaced([](HandsetSession& s, ScreenPacer& pacer, SimPlatform& sim) {
    SleepFor(s, pacer, ScreenPacer::kSettleMs);
    pacer.TakeRedraw(kLines, kColumns);

    // SKYPE is tapped: painted at once, released 150 ms later to the millisecond.
    const std::int64_t pressed = sim.loop.now_ms();
    Key(s, pacer, Char('s'));
    EXPECT_TRUE(pacer.TakeRedraw(kLines, kColumns));
    while (s.presser().release_due_ms()) {
      ASSERT_LE(sim.loop.now_ms() - pressed, KeyPresser::kTapMs);
      Sleep(s, pacer);
    }
    EXPECT_EQ(sim.loop.now_ms() - pressed, KeyPresser::kTapMs);

    // The command line paints every key typed.
    for (char c : std::string(":ring \"Alice\"")) {
      Key(s, pacer, Char(c));
      EXPECT_TRUE(pacer.TakeRedraw(kLines, kColumns)) << c;
    }
    Key(s, pacer, TermKey{TermKey::Kind::kEnter, 0});
    EXPECT_EQ(s.message(), "ok: ring \"Alice\"");
    EXPECT_TRUE(pacer.TakeRedraw(kLines, kColumns));

    // The ringing main LED blinks: each change is painted at the turn its timer is due.
    const auto lit = [&] { return sim.handset.leds().main; };
    std::int64_t last_change = sim.loop.now_ms();
    int changes = 0;
    for (int led = lit(); sim.loop.now_ms() < last_change + 3000 && changes < 6;) {
      const std::uint64_t paints = pacer.redraws();
      Sleep(s, pacer);
      if (lit() == led) continue;
      led = lit();
      EXPECT_EQ(pacer.redraws(), paints + 1);
      if (changes > 0) {
        EXPECT_EQ(sim.loop.now_ms() - last_change, 500) << changes;
      }
      last_change = sim.loop.now_ms();
      ++changes;
    }
    EXPECT_EQ(changes, 6);
  });
}

}  // namespace
}  // namespace mivo::sim

// Benchmarks of the controller on the simulated platform, trace off: a key event on the
// contact list, the contact fetch on phone books of every shape, the redraw of every screen,
// opening the call history, and the controller's own timer work while idle.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_rig.h"
#include "bench/benches.h"

namespace mivo::bench {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double>& values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// ---- One key event on the contact list of 500 ----

// Each iteration is one key stroke: DOWN (or UP on the way back) and its release, two posted
// messages dispatched with everything they cause. The cursor walks the whole list down and up.
void KeyOnContactList(benchmark::State& state) {
  Rig rig(MakeBook(BookShape::kRandom, 500));
  rig.Run([&](ControllerDialog& c) {
    rig.Press(KEY_SKYPE);
    rig.Press(KEY_DOWN);
    if (c.screen != SCREEN_CONTACT_LIST || c.contact_count != 500) {
      state.SkipWithError("the contact list of 500 did not open");
      return;
    }
    int key = KEY_DOWN;
    for (auto _ : state) {
      rig.Press(key);
      if (c.contact_cursor >= c.contact_count) key = KEY_UP;
      if (c.contact_cursor <= 1) key = KEY_DOWN;
    }
  });
  state.counters["messages_per_iteration"] = 2;
}

// ---- The contact fetch ----

void FetchContacts(benchmark::State& state, BookShape shape, int count, bool mixed) {
  Rig rig(MakeBook(shape, count, mixed));
  if (shape == BookShape::kLongNames) rig.voip().set_unterminated_texts(true);
  rig.Run([&](ControllerDialog& c) {
    c.FetchContacts();  // builds the block once
    for (auto _ : state) c.FetchContacts();
    state.counters["kept"] = c.contact_count;
  });
}

// ---- Redraw of every screen ----

struct ScreenPath {
  const char* name;
  int screen;
  std::vector<int> keys;  // pressed from the idle page
  bool ringing = false;   // a call rings first
  bool fetches = false;   // the redraw fetches the contacts
};

const std::vector<ScreenPath>& ScreenPaths() {
  static const std::vector<ScreenPath> kPaths = {
      {"idle", SCREEN_IDLE, {}},
      {"contacts", SCREEN_CONTACTS, {KEY_SKYPE}, false, true},
      {"contact_list", SCREEN_CONTACT_LIST, {KEY_SKYPE, KEY_DOWN}},
      {"contact_detail", SCREEN_CONTACT_DETAIL, {KEY_SKYPE, KEY_DOWN, KEY_SKYPE}},
      {"dial_pad", SCREEN_DIAL_PAD, {KEY_0}},
      {"dialing", SCREEN_DIALING, {KEY_0, KEY_1 + 4, KEY_1 + 5}},
      {"speed_dial", SCREEN_SPEED_DIAL, {KEY_STAR}, false, true},
      {"history", SCREEN_HISTORY, {KEY_SKYPE, KEY_SKYPE}},
      {"history_menu", SCREEN_HISTORY_MENU, {KEY_SKYPE, KEY_SKYPE, KEY_DOWN}},
      {"history_incoming", SCREEN_HISTORY_INCOMING, {KEY_SKYPE, KEY_SKYPE, KEY_DOWN, KEY_SKYPE}},
      {"history_missed",
       SCREEN_HISTORY_MISSED,
       {KEY_SKYPE, KEY_SKYPE, KEY_DOWN, KEY_DOWN, KEY_SKYPE}},
      {"history_outgoing",
       SCREEN_HISTORY_OUTGOING,
       {KEY_SKYPE, KEY_SKYPE, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_SKYPE}},
      {"voicemail", SCREEN_VOICEMAIL, {KEY_SKYPE, KEY_SKYPE, KEY_SKYPE}},
      {"voicemail_menu", SCREEN_VOICEMAIL_MENU, {KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_DOWN}},
      {"voicemail_inbox", SCREEN_VOICEMAIL_INBOX, {KEY_VOICE_MAIL}},
      {"conference", SCREEN_CONFERENCE, {KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_SKYPE}, false, true},
      {"conference_list",
       SCREEN_CONFERENCE_LIST,
       {KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_DOWN}},
      {"call_with",
       SCREEN_CALL_WITH,
       {KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_SKYPE, KEY_DOWN, KEY_SKYPE, KEY_CALL}},
      {"incoming_call", SCREEN_INCOMING_CALL, {}, true},
      {"in_call", SCREEN_IN_CALL, {KEY_CALL}, true},
  };
  return kPaths;
}

// The time of RedrawCurrentScreen alone; for the pages that fetch the contacts, less the time
// of a fetch of the same phone book measured right after it. Besides the mean, the median of
// the iterations is kept (counter median_us): a busy machine's other processes interrupt a
// few iterations, which the median leaves out.
void Redraw(benchmark::State& state, const ScreenPath& path) {
  Rig rig(MakeBook(BookShape::kRandom, 500));
  rig.Run([&](ControllerDialog& c) {
    static const char kCaller[] = "Alice";
    if (path.ringing) {
      rig.Post(MSG_CALL_RINGING, sizeof kCaller - 1, reinterpret_cast<LPARAM>(kCaller));
    }
    for (int key : path.keys) rig.Press(key);
    if (c.screen != path.screen) {
      state.SkipWithError(("the path did not reach screen " + std::to_string(path.screen) +
                           " (it shows " + std::to_string(c.screen) + ")")
                              .c_str());
      return;
    }
    std::vector<double> samples;
    std::vector<double> fetches;
    for (auto _ : state) {
      const Clock::time_point t0 = Clock::now();
      c.RedrawCurrentScreen();
      const Clock::time_point t1 = Clock::now();
      double seconds = Seconds(t1 - t0);
      if (path.fetches) {
        c.FetchContacts();
        const double fetch = Seconds(Clock::now() - t1);
        fetches.push_back(fetch);
        seconds -= fetch;
      }
      samples.push_back(seconds);
      state.SetIterationTime(seconds > 0 ? seconds : 0);
    }
    state.counters["median_us"] = Median(samples) * 1e6;
    if (path.fetches) state.counters["fetch_median_us"] = Median(fetches) * 1e6;
  });
}

// ---- Hostile call list: the history menu opens a category of 10,000 calls ----

void OpenHistory(benchmark::State& state, int calls) {
  Rig rig(MakeBook(BookShape::kRandom, 50), calls);
  rig.Run([&](ControllerDialog& c) {
    for (int key : {KEY_SKYPE, KEY_SKYPE, KEY_DOWN}) rig.Press(key);
    if (c.screen != SCREEN_HISTORY_MENU) {
      state.SkipWithError("the history menu did not open");
      return;
    }
    for (auto _ : state) {
      c.ShowHistoryMenu(LIST_OPEN);  // the incoming calls, as SKYPE on the menu opens them
      benchmark::DoNotOptimize(c.history_list);
    }
  });
}

// ---- Idle: the controller's timer work over 60 s of the virtual clock ----

void IdleMinute(benchmark::State& state) {
  Rig rig(MakeBook(BookShape::kRandom, 500));
  rig.Run([&](ControllerDialog& c) {
    rig.Wait(30000);  // past the LED's switch-off after the start
    if (c.screen != SCREEN_IDLE) {
      state.SkipWithError("not on the idle page");
      return;
    }
    std::uint64_t expiries = 0;
    for (auto _ : state) {
      const std::uint64_t before = rig.sim().loop.timer_expiries();
      rig.Wait(60000);
      expiries += rig.sim().loop.timer_expiries() - before;
    }
    if (state.iterations() > 0) {
      state.counters["timer_expiries_per_min"] =
          static_cast<double>(expiries) / static_cast<double>(state.iterations());
    }
  });
}

}  // namespace

void RegisterControllerBenches() {
  benchmark::RegisterBenchmark("key_event/contact_list/500", KeyOnContactList)
      ->Unit(benchmark::kMicrosecond);

  for (BookShape shape : {BookShape::kSorted, BookShape::kReversed, BookShape::kEqual,
                          BookShape::kCaseEqual, BookShape::kRandom}) {
    benchmark::RegisterBenchmark(
        (std::string("fetch_contacts/") + ShapeName(shape) + "/500").c_str(),
        [shape](benchmark::State& s) { FetchContacts(s, shape, 500, false); })
        ->Unit(benchmark::kMicrosecond);
  }
  // Hostile sizes: the block holds far more than the table keeps, or names fill their field.
  benchmark::RegisterBenchmark("fetch_contacts/random/10000", [](benchmark::State& s) {
    FetchContacts(s, BookShape::kRandom, 10000, false);
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(
      "fetch_contacts/reversed_mixed_status/10000",
      [](benchmark::State& s) { FetchContacts(s, BookShape::kReversed, 10000, true); })
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("fetch_contacts/long_unterminated/500", [](benchmark::State& s) {
    FetchContacts(s, BookShape::kLongNames, 500, false);
  })->Unit(benchmark::kMicrosecond);

  for (const ScreenPath& path : ScreenPaths()) {
    benchmark::RegisterBenchmark((std::string("redraw/") + path.name).c_str(),
                                 [&path](benchmark::State& s) { Redraw(s, path); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }

  benchmark::RegisterBenchmark("open_history/calls/10000", [](benchmark::State& s) {
    OpenHistory(s, 10000);
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("open_history/calls/20", [](benchmark::State& s) {
    OpenHistory(s, 20);
  })->Unit(benchmark::kMicrosecond);

  benchmark::RegisterBenchmark("idle/virtual_minute", IdleMinute)->Unit(benchmark::kMicrosecond);
}

}  // namespace mivo::bench

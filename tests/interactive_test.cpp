// The interactive handset without its terminal: the keyboard map, the key presser's press and
// release timing, the LCD rows as cells, and whole sessions driven key by key and from the
// command line against the demo world.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "core/constants.h"
#include "sim/interactive_keys.h"
#include "sim/interactive_lcd.h"
#include "sim/interactive_session.h"
#include "sim/script_runner.h"

namespace mivo::sim {
namespace {

TermKey Char(char c) {
  return TermKey{TermKey::Kind::kChar, c};
}

TermKey Special(TermKey::Kind kind) {
  return TermKey{kind, 0};
}

// ---- Keyboard map ----

TEST(InteractiveKeys, EveryHandsetKeyHasATerminalKey) {
  std::set<int> reachable;
  for (int c = 0x20; c < 0x7F; ++c) {
    const KeyAction a = ActionOfKey(Char(static_cast<char>(c)));
    if (a.kind == KeyAction::Kind::kHandsetKey) reachable.insert(a.code);
  }
  for (auto kind : {TermKey::Kind::kUp, TermKey::Kind::kDown, TermKey::Kind::kEnter,
                    TermKey::Kind::kBackspace, TermKey::Kind::kEscape}) {
    const KeyAction a = ActionOfKey(Special(kind));
    ASSERT_EQ(a.kind, KeyAction::Kind::kHandsetKey);
    reachable.insert(a.code);
  }
  for (int code = KEY_VOL_UP; code <= KEY_HASH; ++code) {
    EXPECT_TRUE(reachable.count(code)) << HandsetKeyName(code);
  }
  EXPECT_TRUE(reachable.count(KEY_MUTE));
  EXPECT_FALSE(reachable.count(KEY_RELEASE)) << "releases come from the presser only";
}

TEST(InteractiveKeys, ConventionalKeysAndControls) {
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kEnter)).code, KEY_CALL);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kBackspace)).code, KEY_CANCEL);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kEscape)).code, KEY_CANCEL);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kUp)).code, KEY_UP);
  EXPECT_EQ(ActionOfKey(Char('0')).code, KEY_0);
  EXPECT_EQ(ActionOfKey(Char('5')).code, KEY_1 + 4);
  EXPECT_EQ(ActionOfKey(Char('s')).code, KEY_SKYPE);
  EXPECT_EQ(ActionOfKey(Char(':')).kind, KeyAction::Kind::kCommandLine);
  EXPECT_EQ(ActionOfKey(Char('q')).kind, KeyAction::Kind::kQuit);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kInterrupt)).kind, KeyAction::Kind::kQuit);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kTab)).kind, KeyAction::Kind::kToggleHold);
  EXPECT_EQ(ActionOfKey(Char('~')).kind, KeyAction::Kind::kNone);
  EXPECT_EQ(ActionOfKey(Special(TermKey::Kind::kResize)).kind, KeyAction::Kind::kNone);
}

// ---- Key presser ----

class PresserTest : public ::testing::Test {
 protected:
  PresserTest() {
    loop_.set_target([this](UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
      if (message == MSG_HANDSET_KEY && wparam == 1) {
        keys_.push_back({static_cast<int>(lparam), loop_.now_ms()});
      }
      return 0;
    });
  }
  struct Report {
    int code;
    std::int64_t at;
    bool operator==(const Report& o) const { return code == o.code && at == o.at; }
  };
  EventLoop loop_;
  std::vector<Report> keys_;
};

TEST_F(PresserTest, ATapIsReleasedAfterTheTapTimeOnly) {
  KeyPresser presser(loop_);
  presser.Press(KEY_SKYPE);
  loop_.Advance(KeyPresser::kTapMs - 1);
  EXPECT_EQ(keys_, (std::vector<Report>{{KEY_SKYPE, 0}}));
  loop_.Advance(10000);
  EXPECT_EQ(keys_, (std::vector<Report>{{KEY_SKYPE, 0}, {KEY_RELEASE, 150}}));
}

TEST_F(PresserTest, ANewKeyReleasesTheOneDownAndTheOldReleaseIsDropped) {
  KeyPresser presser(loop_);
  presser.Press(KEY_DOWN);
  loop_.Advance(100);
  presser.ToggleHold();
  presser.Press(KEY_0);  // held: no release of its own
  loop_.Advance(5000);
  EXPECT_EQ(keys_, (std::vector<Report>{{KEY_DOWN, 0}, {KEY_RELEASE, 100}, {KEY_0, 100}}));
  ASSERT_TRUE(presser.held().has_value());
  EXPECT_EQ(*presser.held(), KEY_0);
  presser.ToggleHold();  // the toggle again lets go
  EXPECT_EQ(keys_.back(), (Report{KEY_RELEASE, 5100}));
  EXPECT_FALSE(presser.held().has_value());
  EXPECT_FALSE(presser.hold_armed());
}

TEST_F(PresserTest, APendingReleaseOutlivingItsPresserDoesNothing) {
  {
    KeyPresser presser(loop_);
    presser.Press(KEY_UP);
  }
  loop_.Advance(1000);
  EXPECT_EQ(keys_, (std::vector<Report>{{KEY_UP, 0}}));
}

// ---- LCD cells ----

std::string Ascii(const std::vector<LcdCell>& cells) {
  std::string s;
  for (const LcdCell& c : cells) s += c.ascii;
  return s;
}

LcdItem Text(int x, const std::string& text) {
  return LcdItem::Text(x, text);
}
LcdItem Bitmap(int x, int id) {
  return LcdItem::Bitmap(x, id);
}

TEST(InteractiveLcd, ItemsArePlacedByPixelColumnAndClipped) {
  LcdRow row;
  // Drawn text first, icon second, as the contact pages do.
  row.items = {Text(17, "Alice Smith"), Bitmap(0, 118)};
  EXPECT_EQ(Ascii(RenderLcdRow(row)), "O  Alice Smith          ");
  row.items = {Bitmap(112, 115)};
  EXPECT_EQ(Ascii(RenderLcdRow(row)), std::string(21, ' ') + "!  ");
  row.items = {Text(0, "A text far longer than the display is wide")};
  EXPECT_EQ(Ascii(RenderLcdRow(row)), "A text far longer than t");
  row.items = {Text(500, "off the display"), Text(-3, "x")};
  EXPECT_EQ(Ascii(RenderLcdRow(row)), "x" + std::string(23, ' '));
}

TEST(InteractiveLcd, TextsAreDecodedAndNeverCarryControlBytes) {
  LcdRow row;
  row.items = {Text(0, "Jos\xC3\xA9 M\xC3\xBCller")};
  const std::vector<LcdCell> cells = RenderLcdRow(row, 11);
  EXPECT_EQ(Ascii(cells), "Jose Muller");
  EXPECT_EQ(cells[3].utf8, "\xC3\xA9");
  // An escape sequence, a lone continuation byte, a cut sequence and an overlong form.
  row.items = {Text(0, "a\x1B[2Jb\x80\xC0\xAF\xE2\x82")};
  const std::vector<LcdCell> bad = RenderLcdRow(row, 10);
  EXPECT_EQ(Ascii(bad), "a?[2Jb????");
  for (const LcdCell& c : bad) {
    for (char b : c.utf8) EXPECT_GE(static_cast<unsigned char>(b), 0x20);
  }
}

TEST(InteractiveLcd, TheVolumeBarFillsInProportion) {
  LcdRow row;
  LcdItem bar;
  bar.kind = LcdItem::Kind::kVolume;
  for (const auto& [volume, expected] :
       std::vector<std::pair<int, std::string>>{{0, "........"},
                                                {32768, "####...."},
                                                {65536, "########"},
                                                {99999, "########"},
                                                {-5, "........"}}) {
    bar.volume = volume;
    row.items = {bar};
    EXPECT_EQ(Ascii(RenderLcdRow(row, 8)), expected) << volume;
  }
}

// ---- Sessions ----

std::string DemoWorld() {
  std::ifstream in(std::string(MIVO_RES_DIR) + "/demo_world.scn", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string RowText(SimPlatform& sim, int r) {
  std::string text;
  for (const LcdItem& item : sim.handset.row(r).items) {
    if (item.kind == LcdItem::Kind::kText) text += item.text;
  }
  return text;
}

// Runs the demo world with `body` as the session; returns the runner's exit status.
int RunSession(const std::function<void(HandsetSession&, SimPlatform&)>& body,
               std::string* trace = nullptr) {
  std::istringstream world(DemoWorld());
  std::ostringstream out;
  std::ostringstream err;
  ScriptRunner* runner = nullptr;
  RunnerOptions options;
  options.session = [&] {
    HandsetSession session(*runner);
    body(session, runner->platform());
  };
  ScriptRunner script_runner(world, out, err, options);
  runner = &script_runner;
  const int status = script_runner.Run();
  EXPECT_EQ(err.str(), "");
  if (trace != nullptr) *trace = out.str();
  return status;
}

TEST(InteractiveSession, TheDemoWorldComesUpReadyOnTheIdlePage) {
  bool ran = false;
  EXPECT_EQ(RunSession([&](HandsetSession&, SimPlatform& sim) {
              ran = true;
              EXPECT_TRUE(sim.window.tray_present());
              EXPECT_EQ(sim.window.tray_icon(), 149);
              EXPECT_EQ(RowText(sim, 3), "Monday");  // the scripts' default date
              EXPECT_EQ(sim.handset.leds().voicemail, 1);
              ASSERT_EQ(sim.handset.row(0).items.size(), 1u);
              EXPECT_EQ(sim.handset.row(0).items[0].bitmap, ICON_MISSED_CALL);
            }),
            0);
  EXPECT_TRUE(ran);
}

TEST(InteractiveSession, KeysAndFarEndCommandsRunACallThroughTheAutoClient) {
  std::string trace;
  RunSession(
      [](HandsetSession& s, SimPlatform& sim) {
        s.HandleKey(Char('s'));
        s.Advance(200);
        EXPECT_EQ(RowText(sim, 3), "Contacts");

        // The far end rings; CALL answers and the client reports the call in progress.
        s.HandleKey(Char(':'));
        for (char c : std::string("ring \"Alice\"")) s.HandleKey(Char(c));
        s.HandleKey(Special(TermKey::Kind::kEnter));
        EXPECT_EQ(s.message(), "ok: ring \"Alice\"");
        EXPECT_EQ(RowText(sim, 3), "Incoming Call");
        s.Advance(1000);
        s.HandleKey(Special(TermKey::Kind::kEnter));
        s.Advance(1200);
        EXPECT_TRUE(sim.voip.in_call());
        EXPECT_EQ(sim.handset.leds().main, 1) << "the blinking stops with the LED lit";
        EXPECT_EQ(RowText(sim, 2), "Alice");

        // The far end hangs up: the client's call ends with it.
        EXPECT_EQ(s.RunCommand("finished"), "ok: finished");
        EXPECT_FALSE(sim.voip.in_call());
        EXPECT_EQ(RowText(sim, 3), "Monday");

        // A number typed now is a number again, not tones: the client places the call.
        s.HandleKey(Char('0'));  // the dial pad
        s.Advance(200);
        for (char c : std::string("123")) {
          s.HandleKey(Char(c));
          s.Advance(200);
        }
        EXPECT_EQ(sim.voip.number(), "123");
        s.HandleKey(Special(TermKey::Kind::kEnter));
        s.Advance(2000);
        EXPECT_TRUE(sim.voip.in_call());
        s.Quit();
        EXPECT_TRUE(s.finished());
      },
      &trace);
  EXPECT_NE(trace.find("fSendKey(9, 0, \"\", 3)"), std::string::npos) << trace;
  const std::string ending = "Shell_NotifyIcon(NIM_DELETE)\nexit\n";
  ASSERT_GE(trace.size(), ending.size());
  EXPECT_EQ(trace.substr(trace.size() - ending.size()), ending);
}

TEST(InteractiveSession, AHeldZeroBecomesPlusAndTheCommandLineReportsErrors) {
  RunSession([](HandsetSession& s, SimPlatform& sim) {
    s.HandleKey(Char('0'));  // the dial pad
    s.Advance(200);
    s.HandleKey(Char('5'));
    s.Advance(200);
    s.HandleKey(Special(TermKey::Kind::kTab));
    s.HandleKey(Char('0'));
    s.Advance(1600);  // held past the long press
    EXPECT_EQ(sim.voip.number(), "5+");
    s.HandleKey(Char(' '));
    EXPECT_FALSE(s.presser().held().has_value());

    EXPECT_EQ(s.RunCommand("ring"), "error: usage: ring \"TEXT\" [count=N]");
    EXPECT_EQ(s.RunCommand("bogus 1"), "error: unknown command \"bogus\"");
    EXPECT_EQ(s.RunCommand("start"), "error: start: the program is already running");
    EXPECT_EQ(s.RunCommand("file x.ini <<END").rfind("error: file", 0), 0u);
    EXPECT_EQ(s.RunCommand("   "), "");

    // Editing: Backspace on an empty line leaves it; Esc drops what was typed.
    s.HandleKey(Char(':'));
    s.HandleKey(Special(TermKey::Kind::kBackspace));
    EXPECT_FALSE(s.command_open());
    s.HandleKey(Char(':'));
    s.HandleKey(Char('q'));
    s.HandleKey(Special(TermKey::Kind::kEscape));
    EXPECT_FALSE(s.command_open());
    EXPECT_FALSE(s.finished()) << "q typed on the command line is text, not quit";

    s.HandleKey(Special(TermKey::Kind::kInterrupt));
    EXPECT_TRUE(s.finished());
    EXPECT_FALSE(sim.window.tray_present());
  });
}

TEST(InteractiveLog, KeepsTheLastLinesAndTheUnfinishedOne) {
  LogBuffer log;
  std::ostream out(&log);
  for (std::size_t i = 0; i < LogBuffer::kKeptLines + 5; ++i) out << "line " << i << '\n';
  out << "partial";
  out.flush();
  ASSERT_EQ(log.lines().size(), LogBuffer::kKeptLines);
  EXPECT_EQ(log.lines().front(), "line 5");
  EXPECT_EQ(log.partial(), "partial");
}

}  // namespace
}  // namespace mivo::sim

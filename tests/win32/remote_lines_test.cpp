// The remote's line checks: where each line goes, what is posted for the lines that act on
// the controller's window, and the lines refused before anything is sent.
#include "platform/win32/remote/remote_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace mivo::remote {
namespace {

Route RouteOf(const std::string& line) {
  return ParseRemoteLine(line).route;
}

// The error text of a refused line, or "(accepted)".
std::string Refusal(const std::string& line) {
  try {
    ParseRemoteLine(line);
  } catch (const sim::ScriptError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(RemoteLinesTest, EachLineGoesToTheStandInThatWouldSendIt) {
  for (const char* line : {"handset arrive", "handset remove", "handset lost",
                           "handset driver-check", "handset plugged", "driver broken", "key CALL",
                           "key code=-5", "report 0 3", "report 0x00 0xFF 7"}) {
    EXPECT_EQ(RouteOf(line), Route::kHandset) << line;
  }
  for (const char* line : {"lcd", "leds"}) EXPECT_EQ(RouteOf(line), Route::kHandsetOutput) << line;
  for (const char* line : {"voip attach",
                           "voip online",
                           "language 7",
                           "ring \"Al \\x22ice\" count=3",
                           "in-progress 401",
                           "second-call 402",
                           "finished",
                           "failed",
                           "hold",
                           "resume",
                           "voicemail-changed",
                           "voicemail-ended",
                           "missed-changed",
                           "contact bob \"Bob\" status=2",
                           "contacts-generate 20",
                           "history 1 bob \"Bob\" type=1 status=2 time=\"x\"",
                           "active 5 bob \"Bob\"",
                           "active-clear",
                           "voicemail 3 bob \"Bob\"",
                           "missed 2",
                           "unplayed 1",
                           "online 0",
                           "client auto on",
                           "client missing"}) {
    EXPECT_EQ(RouteOf(line), Route::kClient) << line;
  }
  // A line for a stand-in goes as it was written.
  EXPECT_EQ(ParseRemoteLine("ring \"Al ice\"  count=3").text, "ring \"Al ice\"  count=3");
  for (const char* line : {"", "   ", "# a comment"}) {
    EXPECT_EQ(RouteOf(line), Route::kNothing) << line;
    EXPECT_FALSE(ParseRemoteLine(line).NeedsProgram());
  }
}

TEST(RemoteLinesTest, ProgramLinesPostWhatTheShellOrTheSystemWould) {
  struct Case {
    const char* line;
    Route route;
    std::uint32_t message;
    std::uint64_t wparam;
    std::int64_t lparam;
  };
  const Case cases[] = {
      {"menu close", Route::kMenuClose, 0x0111, 32771, 0},
      {"menu about", Route::kPost, 0x0111, 32772, 0},
      {"tray rbutton", Route::kTrayMenu, 11027, 1, 0x0205},
      {"tray lbutton", Route::kPost, 11027, 1, 0x0202},
      {"tray dblclick", Route::kPost, 11027, 1, 0x0203},
      {"power suspend", Route::kPost, 536, 4, 0},
      {"power resume", Route::kPost, 536, 7, 0},
      {"power 18", Route::kPost, 536, 18, 0},
      {"mixer-change", Route::kPost, 977, 0, 0},
      {"message 1141 5 -4096", Route::kPost, 1141, 5, -4096},
      {"message 1227 -1 0x7FFFFFFFFFFFFFFF", Route::kPost, 1227, ~std::uint64_t{0},
       0x7FFFFFFFFFFFFFFF},
  };
  for (const Case& c : cases) {
    const RemoteLine line = ParseRemoteLine(c.line);
    EXPECT_EQ(line.route, c.route) << c.line;
    EXPECT_EQ(line.message, c.message) << c.line;
    EXPECT_EQ(line.wparam, c.wparam) << c.line;
    EXPECT_EQ(line.lparam, c.lparam) << c.line;
    EXPECT_TRUE(line.NeedsProgram()) << c.line;
  }
}

TEST(RemoteLinesTest, TheRemoteRunsPressesObservationsAndWaitsItself) {
  const RemoteLine press = ParseRemoteLine("press 0 700");
  EXPECT_EQ(press.route, Route::kPress);
  EXPECT_EQ(press.key_line, "key code=22");  // the key "0", not the code 0
  EXPECT_EQ(press.ms, 700);
  EXPECT_EQ(ParseRemoteLine("press code=9").ms, 100);

  EXPECT_EQ(RouteOf("dialog"), Route::kDialog);
  EXPECT_EQ(RouteOf("dialog ok"), Route::kDialogOk);
  EXPECT_TRUE(ParseRemoteLine("dialog").NeedsProgram());
  // `window` never waits for the program.
  EXPECT_EQ(RouteOf("window"), Route::kWindow);
  EXPECT_FALSE(ParseRemoteLine("window").NeedsProgram());

  const RemoteLine wait = ParseRemoteLine("wait 250");
  EXPECT_EQ(wait.route, Route::kWait);
  EXPECT_EQ(wait.ms, 250);
  EXPECT_FALSE(wait.NeedsProgram());

  // Echo prints the words joined by one blank, escaped as every output text.
  const RemoteLine echo = ParseRemoteLine("echo -- a  \"b \\\"c\\\"\\x01\" \"\xC3\xA4\"");
  EXPECT_EQ(echo.route, Route::kEcho);
  EXPECT_EQ(echo.text, "-- a b \\\"c\\\"\\x01 \\xC3\\xA4");
}

TEST(RemoteLinesTest, LinesThatCannotBeUnderstoodAreRefusedBeforeAnythingIsSent) {
  EXPECT_EQ(Refusal("bogus 1"), "unknown command \"bogus\"");
  EXPECT_EQ(Refusal("\"key\" CALL"), "unknown command \"key\"");
  EXPECT_EQ(Refusal("key NOPE"), "unknown key \"NOPE\"");
  EXPECT_EQ(Refusal("key"), "usage: key K (a key name or code=N)");
  EXPECT_EQ(Refusal("key code=x"), "bad number \"x\" for key code");
  EXPECT_EQ(Refusal("press CALL fast"), "bad number \"fast\" for press MS");
  EXPECT_EQ(Refusal("report 1"), "usage: report B0 B1 ... (at least two bytes)");
  EXPECT_EQ(Refusal("report 1 256"), "byte out of range (0 to 255): 256");
  EXPECT_EQ(Refusal("menu open"), "usage: menu close|about");
  EXPECT_EQ(Refusal("tray"), "usage: tray rbutton|lbutton|dblclick");
  EXPECT_EQ(Refusal("dialog cancel"), "usage: dialog [ok]");
  EXPECT_EQ(Refusal("dialog \"ok\""), "usage: dialog [ok]");
  EXPECT_EQ(Refusal("message 1141 5"), "usage: message N W L");
  EXPECT_EQ(Refusal("message -1 0 0"), "message number out of range (0 to 4294967295): -1");
  EXPECT_EQ(Refusal("ring \"unterminated"), "unterminated quoted text");
  EXPECT_EQ(Refusal("wait 3600001"), "wait MS out of range (0 to 3600000): 3600001");
  // World lines are checked as a world script would check them.
  EXPECT_EQ(Refusal("contact bob"),
            "usage: contact HANDLE \"NAME\" [status=N] [tz=N] [speed=T] [p1=T] [p2=T] [p3=T]");
  EXPECT_EQ(Refusal("client auto maybe"), "usage: client missing | client auto on|off");
  EXPECT_EQ(Refusal("handset unplugged"), "usage: handset plugged|arrive|remove|lost|driver-check");
}

TEST(RemoteLinesTest, ScriptCommandsOfTheSimulatorAloneAreNotOffered) {
  for (const char* line :
       {"start", "state screen", "contacts", "timers", "cat setup.ini", "registry", "trace off",
        "mixer-set 5", "mixer \"USB\"", "time 2026-01-05 09:00:00", "control-device absent",
        "registry-key present", "remove setup.ini"}) {
    const std::string refusal = Refusal(line);
    EXPECT_NE(refusal.find("is not offered by the remote"), std::string::npos)
        << line << ": " << refusal;
  }
  EXPECT_EQ(Refusal("window \"MivoRun\""), "usage: window");
}

TEST(RemoteLinesTest, LinesAreBoundedAndHoldNoLineBreak) {
  const std::string longest = "echo " + std::string(kMaxRemoteLine - 5, 'x');
  EXPECT_EQ(RouteOf(longest), Route::kEcho);
  EXPECT_EQ(Refusal(longest + "x"), "line longer than 1024 characters");
  EXPECT_EQ(Refusal("key CALL\nkey END"), "line break inside the line");
  EXPECT_EQ(Refusal("lcd\r"), "line break inside the line");
}

}  // namespace
}  // namespace mivo::remote

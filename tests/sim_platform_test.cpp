// The simulated platform's event loop, window system and handset, on their own.
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "platform/framework.h"
#include "tests/harness.h"

namespace mivo::sim {
namespace {

// A loop whose target records every message as "message/wparam" and runs an optional hook.
struct RecordingLoop {
  EventLoop loop;
  std::vector<std::string> seen;
  std::function<void(UINT, WPARAM)> hook;

  RecordingLoop() {
    loop.set_target([this](UINT message, WPARAM wparam, LPARAM) -> LRESULT {
      seen.push_back(std::to_string(message) + "/" + std::to_string(wparam) + "@" +
                     std::to_string(loop.now_ms()));
      if (hook) hook(message, wparam);
      return 7;
    });
  }
};

TEST(EventLoop, TimersFireInDueOrderWithTiesInStartOrder) {
  RecordingLoop r;
  r.loop.SetTimer(5, 100);
  r.loop.SetTimer(2, 100);
  r.loop.SetTimer(1, 50);
  r.loop.Advance(100);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"275/1@50", "275/5@100", "275/2@100", "275/1@100"}));
}

TEST(EventLoop, RestartingARunningTimerMovesItsExpiry) {
  RecordingLoop r;
  r.loop.SetTimer(3, 100);
  r.loop.Advance(60);
  r.loop.SetTimer(3, 100);
  r.loop.Advance(60);
  EXPECT_TRUE(r.seen.empty());
  r.loop.Advance(40);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"275/3@160"}));
  EXPECT_TRUE(r.loop.KillTimer(3));
  EXPECT_FALSE(r.loop.KillTimer(3));
}

TEST(EventLoop, PeriodicTimerKeepsItsCadence) {
  RecordingLoop r;
  r.loop.SetTimer(1, 100);
  r.loop.Advance(250);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"275/1@100", "275/1@200"}));
  ASSERT_EQ(r.loop.Timers().size(), 1u);
  EXPECT_EQ(r.loop.Timers()[0].due_ms, 300);
  EXPECT_EQ(r.loop.now_ms(), 250);
}

TEST(EventLoop, TimerOverdueAfterSleepFiresOnceThenOnePeriodOn) {
  RecordingLoop r;
  r.loop.SetTimer(1, 100);
  r.hook = [&](UINT message, WPARAM) {
    if (message == 1000) r.loop.Sleep(350);
  };
  r.loop.Post(1000, 0, 0);
  r.loop.Pump();
  // Three periods passed while blocked: one expiry, in the pump after the handler.
  EXPECT_EQ(r.seen, (std::vector<std::string>{"1000/0@0", "275/1@350"}));
  EXPECT_EQ(r.loop.Timers()[0].due_ms, 450);
}

TEST(EventLoop, SendIsSynchronousAndPostWaitsForThePump) {
  RecordingLoop r;
  r.loop.Post(1001, 1, 0);
  EXPECT_EQ(r.loop.Send(1002, 2, 0), 7);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"1002/2@0"}));
  r.loop.Pump();
  EXPECT_EQ(r.seen.back(), "1001/1@0");
}

TEST(EventLoop, MessagesGoBeforeDueTimersIncludingThosePostedByATimer) {
  RecordingLoop r;
  r.loop.SetTimer(1, 100);
  r.loop.SetTimer(2, 100);
  r.hook = [&](UINT message, WPARAM wparam) {
    if (message == WM_TIMER && wparam == 1) r.loop.Post(1003, 0, 0);
  };
  r.loop.Advance(100);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"275/1@100", "1003/0@100", "275/2@100"}));
}

TEST(EventLoop, ClearFromInsideAHandlerStopsEverything) {
  RecordingLoop r;
  r.loop.SetTimer(1, 100);
  r.hook = [&](UINT message, WPARAM) {
    if (message == 1004) {
      r.loop.Clear();
      r.loop.set_target(nullptr);  // the window is gone while its handler runs
    }
  };
  r.loop.Post(1004, 0, 0);
  r.loop.Post(1005, 0, 0);
  r.loop.Pump();
  r.loop.Advance(1000);
  EXPECT_EQ(r.seen, (std::vector<std::string>{"1004/0@0"}));
  EXPECT_TRUE(r.loop.Timers().empty());
}

TEST(EventLoop, ZeroPeriodTimerDoesNotSpin) {
  RecordingLoop r;
  r.loop.SetTimer(1, 0);
  r.loop.Advance(30);
  EXPECT_EQ(r.seen.size(), 3u);
}

// A dialog that records what reaches it.
class TestDialog : public Dialog {
 public:
  TestDialog(int template_id, WindowHost& host) : Dialog(template_id, host) {}
  std::vector<UINT> messages;
  bool destroy_on_init = false;
  const char* CaptionText() const override { return "Info"; }

 protected:
  bool OnInitDialog() override {
    messages.push_back(WM_INITDIALOG);
    if (destroy_on_init) DestroyWindow();
    return true;
  }
  bool OnWndMsg(UINT message, WPARAM, LPARAM, LRESULT* result) override {
    messages.push_back(message);
    *result = 0;
    return true;
  }
};

class SimPlatformTest : public ::testing::Test {
 protected:
  std::ostringstream out;
  SimPlatform sim{out};

  std::vector<std::string> Lines() const { return test::SplitLines(out.str()); }
};

TEST_F(SimPlatformTest, ModalLoopRunsTheDriverAndEndsAtDestroy) {
  TestDialog dialog(102, sim.traced_window);
  HWND seen_window = nullptr;
  sim.window.set_modal_driver([&] {
    seen_window = dialog.m_hWnd;
    EXPECT_EQ(sim.window.window_state(), SimWindowHost::WindowState::kVisible);
    sim.traced_window.SetTimer(dialog.m_hWnd, 9, 100);
    EXPECT_TRUE(sim.window.PostMessage(dialog.m_hWnd, 1234, 0, 0));
    EXPECT_EQ(sim.traced_window.MessageBox(dialog.m_hWnd, "Hi", "Cap", MB_OK), IDOK);
    EXPECT_TRUE(sim.traced_window.DestroyWindow(dialog.m_hWnd));
  });
  dialog.DoModal();
  EXPECT_EQ(seen_window, SimWindowHost::MainWindow());
  EXPECT_EQ(dialog.messages, (std::vector<UINT>{WM_INITDIALOG, 1234, WM_DESTROY}));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"SetTimer(9, 100)", "MessageBox(\"Hi\", \"Cap\")",
                                               "DestroyWindow()"}));
  EXPECT_TRUE(sim.window.destroyed());
  EXPECT_TRUE(sim.loop.Timers().empty());
  // A destroyed window takes no more messages and no second destruction.
  EXPECT_FALSE(sim.window.PostMessage(SimWindowHost::MainWindow(), 1, 0, 0));
  EXPECT_FALSE(sim.traced_window.DestroyWindow(SimWindowHost::MainWindow()));
}

TEST_F(SimPlatformTest, WindowDestroyedDuringInitSkipsTheDriver) {
  TestDialog dialog(102, sim.traced_window);
  dialog.destroy_on_init = true;
  bool driver_ran = false;
  sim.window.set_modal_driver([&] { driver_ran = true; });
  dialog.DoModal();
  EXPECT_FALSE(driver_ran);
  EXPECT_TRUE(sim.window.destroyed());
}

// What a box gets from showing to closing: its initialisation, the colour questions of its
// background, its picture and its button, the user's OK, and its destruction.
const std::vector<UINT> kBoxMessages = {WM_INITDIALOG,     WM_CTLCOLORMSGBOX + CTLCOLOR_DLG,
                                        WM_CTLCOLORSTATIC, WM_CTLCOLORMSGBOX + CTLCOLOR_BTN,
                                        WM_COMMAND,        WM_DESTROY};

TEST_F(SimPlatformTest, OtherTemplatesAreBoxesThatCloseAtOnce) {
  TestDialog about(100, sim.traced_window);
  // This box swallows its OK; the user closes it all the same.
  EXPECT_EQ(about.DoModal(), IDOK);
  EXPECT_EQ(about.messages, kBoxMessages);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"DialogBox(100, \"Info\")"}));
}

TEST_F(SimPlatformTest, BoxOverTheControllerDispatchesWhatIsAlreadyPosted) {
  TestDialog dialog(102, sim.traced_window);
  TestDialog about(100, sim.traced_window);
  sim.window.set_modal_driver([&] {
    sim.window.PostMessage(dialog.m_hWnd, 1234, 0, 0);
    EXPECT_EQ(about.DoModal(), IDOK);
    // The box's modal loop took the message before the box returned.
    EXPECT_EQ(dialog.messages, (std::vector<UINT>{WM_INITDIALOG, 1234}));
    EXPECT_FALSE(sim.loop.HasQueued());
  });
  dialog.DoModal();
  EXPECT_EQ(about.messages, kBoxMessages);
}

TEST_F(SimPlatformTest, ShowWindowTracesAndSetsTheState) {
  TestDialog dialog(102, sim.traced_window);
  sim.window.set_modal_driver([&] {
    sim.traced_window.ShowWindow(dialog.m_hWnd, SW_MINIMIZE);
    EXPECT_EQ(sim.window.window_state(), SimWindowHost::WindowState::kMinimized);
    sim.traced_window.ShowWindow(dialog.m_hWnd, SW_HIDE);
    EXPECT_EQ(sim.window.window_state(), SimWindowHost::WindowState::kHidden);
    sim.traced_window.ShowWindow(dialog.m_hWnd, 5);
    EXPECT_EQ(sim.window.window_state(), SimWindowHost::WindowState::kVisible);
  });
  dialog.DoModal();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ShowWindow(SW_MINIMIZE)", "ShowWindow(SW_HIDE)",
                                               "ShowWindow(5)"}));
}

TEST_F(SimPlatformTest, FindWindowMatchesWholeCaptionsIgnoringCase) {
  sim.world.pc.window_captions = {"Notepad", "MivoRun"};
  EXPECT_NE(sim.window.FindWindow(nullptr, "mivorun"), nullptr);
  EXPECT_EQ(sim.window.FindWindow(nullptr, "MivoRun2"), nullptr);
  EXPECT_EQ(sim.window.FindWindow(nullptr, "Mivo"), nullptr);
  EXPECT_EQ(sim.window.FindWindow(nullptr, nullptr), nullptr);
}

TEST_F(SimPlatformTest, TrayIconAddModifyDelete) {
  NotifyIconData data;
  data.window = SimWindowHost::MainWindow();
  data.id = 1;
  data.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.icon = 150;
  std::snprintf(data.tip, sizeof data.tip, "Tip");
  EXPECT_FALSE(sim.traced_window.Shell_NotifyIcon(NIM_MODIFY, data));  // nothing to modify yet
  EXPECT_TRUE(sim.traced_window.Shell_NotifyIcon(NIM_ADD, data));
  EXPECT_FALSE(sim.traced_window.Shell_NotifyIcon(NIM_ADD, data));
  data.icon = 149;
  EXPECT_TRUE(sim.traced_window.Shell_NotifyIcon(NIM_MODIFY, data));
  EXPECT_EQ(sim.window.tray_icon(), 149);
  EXPECT_EQ(sim.window.tray_tip(), "Tip");
  NotifyIconData other = data;
  other.id = 2;
  EXPECT_FALSE(sim.traced_window.Shell_NotifyIcon(NIM_MODIFY, other));
  EXPECT_FALSE(sim.traced_window.Shell_NotifyIcon(NIM_DELETE, other));
  EXPECT_TRUE(sim.traced_window.Shell_NotifyIcon(NIM_DELETE, data));
  EXPECT_FALSE(sim.window.tray_present());
  EXPECT_FALSE(sim.traced_window.Shell_NotifyIcon(NIM_DELETE, data));
  EXPECT_EQ(Lines()[1], "Shell_NotifyIcon(NIM_ADD, 150, \"Tip\")");
  EXPECT_EQ(Lines()[3], "Shell_NotifyIcon(NIM_MODIFY, 149, \"Tip\")");
  EXPECT_EQ(Lines().back(), "Shell_NotifyIcon(NIM_DELETE)");
}

TEST_F(SimPlatformTest, TrayTipWithoutTerminatorStaysInItsField) {
  NotifyIconData data;
  data.window = SimWindowHost::MainWindow();
  std::fill(std::begin(data.tip), std::end(data.tip), 'x');
  EXPECT_TRUE(sim.traced_window.Shell_NotifyIcon(NIM_ADD, data));
  EXPECT_EQ(Lines()[0], "Shell_NotifyIcon(NIM_ADD, 0, \"" + std::string(128, 'x') + "\")");
}

TEST_F(SimPlatformTest, PopupMenuTracesItemTextsInOrder) {
  const PopupItem items[2] = {{32771,
                               "Schlie\xDF"
                               "en"},
                              {32772, nullptr}};
  EXPECT_TRUE(sim.traced_window.TrackPopupMenu(SimWindowHost::MainWindow(), 131, items, 2));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"TrackPopupMenu(\"Schlie\\xDFen\", \"\")"}));
}

// The LCD model of the simulated handset.
TEST_F(SimPlatformTest, TextReplacesTheRowAndBitmapsAddToIt) {
  SimHandset& h = sim.handset;
  sim.traced_handset.fSendDisplayLCD_BMP(2, 0, 118);
  sim.traced_handset.fSendDisplayLCD_TXT(2, 17, "Alice", 1, 100, "Tahoma");
  EXPECT_EQ(h.RowLine(2), "row 2 style 1: \"Alice\"@17");
  sim.traced_handset.fSendDisplayLCD_BMP(2, 0, 118);
  sim.traced_handset.fSendDisplayLCD_BMP(2, 112, 115);
  sim.traced_handset.fSendDisplayLCD_BMP(2, 0, 119);
  EXPECT_EQ(h.RowLine(2), "row 2 style 1: [118]@0 [119]@0 \"Alice\"@17 [115]@112");
  sim.traced_handset.fSendDisplayLCD_TXT2(2, 5, nullptr, 8, 0, "Tahoma", 15, 0);
  EXPECT_EQ(h.RowLine(2), "row 2 style 8: \"\"@5");
  sim.traced_handset.fClearRow(2);
  EXPECT_EQ(h.RowLine(2), "row 2 style 0:");
  EXPECT_EQ(Lines()[1], "fSendDisplayLCD_TXT(2, 17, \"Alice\", 1, 100, \"Tahoma\")");
  EXPECT_EQ(Lines()[5], "fSendDisplayLCD_TXT2(2, 5, \"\", 8, 0, \"Tahoma\", 15, 0)");
}

TEST_F(SimPlatformTest, ClearsAndVolumeBar) {
  SimHandset& h = sim.handset;
  for (std::uint8_t r = 0; r < 4; ++r)
    sim.traced_handset.fSendDisplayLCD_TXT(r, 0, "x", 2, 700, "Tahoma");
  sim.traced_handset.fSendDisplayLCD_Cylinder(65536);
  EXPECT_EQ(h.RowLine(3), "row 3 style 2: \"x\"@0");
  EXPECT_EQ(h.RowLine(2), "row 2 style 0: {volume 65536}");
  EXPECT_EQ(h.RowLine(1), "row 1 style 0: {volume 65536}");
  EXPECT_EQ(h.RowLine(0), "row 0 style 2: \"x\"@0");
  sim.traced_handset.fClearDisplay2();
  for (int r = 0; r < 4; ++r) EXPECT_EQ(h.RowLine(r), "row " + std::to_string(r) + " style 0:");
  EXPECT_EQ(Lines().back(), "fClearDisplay2()");
}

TEST_F(SimPlatformTest, BufferTransferShiftsItemsAndSetsTheStyle) {
  SimHandset& h = sim.handset;
  sim.traced_handset.fSendDisplayLCD_TXT(1, 0, "old", 0, 700, "Tahoma");
  sim.traced_handset.fClearBuf();
  sim.traced_handset.fDrawBuf(17, 0, "Bob \"B\"", 0, "Tahoma", 15);
  sim.traced_handset.fDrawBuf(0, 124, "", 0, "", 0);
  sim.traced_handset.fSendBufToQ5LCD(1, 3, 9);
  EXPECT_EQ(h.RowLine(1), "row 1 style 9: [124]@3 \"Bob \\\"B\\\"\"@20");
  EXPECT_EQ(Lines()[2], "fDrawBuf(17, 0, \"Bob \\\"B\\\"\", 0, \"Tahoma\", 15)");
  EXPECT_EQ(Lines()[4], "fSendBufToQ5LCD(1, 3, 9)");
  // The buffer stays as drawn until it is cleared.
  sim.traced_handset.fSendBufToQ5LCD(0, 0, 0);
  EXPECT_EQ(h.RowLine(0), "row 0 style 0: [124]@0 \"Bob \\\"B\\\"\"@17");
  sim.traced_handset.fClearBuf();
  sim.traced_handset.fSendBufToQ5LCD(0, 0, 1);
  EXPECT_EQ(h.RowLine(0), "row 0 style 1:");
}

// The window of the virtual handset draws each text in the font it was sent with; the face
// name is bounded whatever the caller passes.
TEST_F(SimPlatformTest, TextsKeepTheirFontThroughBothPaths) {
  SimHandset& h = sim.handset;
  sim.traced_handset.fSendDisplayLCD_TXT2(2, 17, "Kenji", 0, 100, "Tahoma", 17, 1);
  const LcdItem& direct = h.row(2).items.at(0);
  EXPECT_EQ(direct.weight, 100);
  EXPECT_EQ(direct.height, 17);
  EXPECT_EQ(direct.font, "Tahoma");
  const std::string long_face(300, 'F');
  sim.traced_handset.fClearBuf();
  sim.traced_handset.fDrawBuf(17, 0, "Bob", 0, long_face.c_str(), 15);
  sim.traced_handset.fDrawBuf(0, 124, "", 0, nullptr, 0);
  sim.traced_handset.fSendBufToQ5LCD(1, 0, 0);
  const LcdItem& buffered = h.row(1).items.at(0);
  EXPECT_EQ(buffered.height, 15);
  EXPECT_EQ(buffered.font, std::string(LcdItem::kMaxFontName, 'F'));
  EXPECT_TRUE(h.row(1).items.at(1).font.empty());
  // The `lcd` line shows texts and pictures only.
  EXPECT_EQ(h.RowLine(1), "row 1 style 0: [124]@0 \"Bob\"@17");
}

TEST_F(SimPlatformTest, RowsAboveThreeAreTracedAndIgnored) {
  SimHandset& h = sim.handset;
  EXPECT_FALSE(sim.traced_handset.fSendDisplayLCD_TXT(4, 0, "x", 0, 700, "Tahoma"));
  EXPECT_FALSE(sim.traced_handset.fSendDisplayLCD_BMP(255, 0, 118));
  EXPECT_FALSE(sim.traced_handset.fClearRow(4));
  EXPECT_FALSE(sim.traced_handset.fSendBufToQ5LCD(7, 0, 0));
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"fSendDisplayLCD_TXT(4, 0, \"x\", 0, 700, \"Tahoma\")",
                                      "fSendDisplayLCD_BMP(255, 0, 118)", "fClearRow(4)",
                                      "fSendBufToQ5LCD(7, 0, 0)"}));
  for (int r = 0; r < 4; ++r) EXPECT_EQ(h.RowLine(r), "row " + std::to_string(r) + " style 0:");
}

TEST_F(SimPlatformTest, LedsAndConnection) {
  SimHandset& h = sim.handset;
  EXPECT_EQ(h.leds().main + h.leds().hold + h.leds().mute + h.leds().voicemail, 0);
  sim.traced_handset.fSetLEDOn(1);
  sim.traced_handset.fSetLEDStatus(0, 1);
  sim.traced_handset.fSetLEDStatus(1, 1);
  sim.traced_handset.fSetLEDStatus(1, 0);
  EXPECT_FALSE(sim.traced_handset.fSetLEDStatus(2, 1));
  sim.traced_handset.fSetVoiceLEDOn(1);
  EXPECT_EQ(h.leds().main, 1);
  EXPECT_EQ(h.leds().hold, 1);
  EXPECT_EQ(h.leds().mute, 0);
  EXPECT_EQ(h.leds().voicemail, 1);
  EXPECT_EQ(Lines()[1], "fSetLEDStatus(0, 1)");

  sim.traced_handset.fConnectDevice(SimWindowHost::MainWindow());
  EXPECT_FALSE(sim.loop.HasQueued());  // not plugged: no arrival
  sim.world.handset.plugged = true;
  sim.world.handset.driver_ok = false;
  sim.traced_handset.fConnectDevice(SimWindowHost::MainWindow());
  EXPECT_TRUE(sim.loop.HasQueued());
  EXPECT_FALSE(sim.traced_handset.fCheckDriver());
  EXPECT_EQ(Lines()[6], "fConnectDevice(hwnd)");
}

}  // namespace
}  // namespace mivo::sim

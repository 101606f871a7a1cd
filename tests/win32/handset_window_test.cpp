// The virtual handset's window over a simulated handset: the rows reach the glass in the
// handset's order, unplugging blanks it, the mouse and the PC keyboard press and release the
// keys at a test window standing in for the controller, and the far-end panel's buttons
// send their script lines.
#include "platform/standins/handset_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "platform/sim/sim_handset.h"
#include "platform/standins/far_end_panel.h"
#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

using standins::FarEndPanel;
using standins::HandsetWindow;

// Posts the handset's messages to the window, as the library's port does.
class PostingPort : public sim::DevicePort {
 public:
  bool PostTo(mivo::HWND window, mivo::UINT message, mivo::WPARAM wparam,
              mivo::LPARAM lparam) override {
    if (window == nullptr) return false;
    return ::PostMessageA(reinterpret_cast<::HWND>(window), message, wparam, lparam) != FALSE;
  }
  Token Schedule(std::uint32_t, std::function<void()>) override { return 0; }
  void Cancel(Token) override {}
};

struct Seen {
  mivo::UINT message;
  mivo::WPARAM wparam;
  mivo::LPARAM lparam;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen>* g_seen = nullptr;

::LRESULT CALLBACK ControllerProc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
  if (g_seen != nullptr && message >= MSG_HANDSET_ARRIVED && message <= MSG_DRIVER_CHECK) {
    g_seen->push_back(Seen{message, wparam, lparam});
    return 0;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

Seen Key(int code) {
  return Seen{MSG_HANDSET_KEY, 1, code};
}

::LPARAM KeyLparam(unsigned scan, bool repeated = false, bool up = false) {
  ::LPARAM lparam = 1 | (static_cast<::LPARAM>(scan) << 16);
  if (repeated || up) lparam |= 1L << 30;
  if (up) lparam |= static_cast<::LPARAM>(1U << 31);
  return lparam;
}

::LPARAM PointLparam(int x, int y) {
  return MAKELPARAM(x, y);
}

class HandsetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen = &seen_;
    WNDCLASSA controller_class{};
    controller_class.lpfnWndProc = &ControllerProc;
    controller_class.hInstance = ::GetModuleHandleA(nullptr);
    controller_class.lpszClassName = "HandsetWindowTestController";
    ::RegisterClassA(&controller_class);
    controller_ = ::CreateWindowExA(0, controller_class.lpszClassName, "", 0, 0, 0, 0, 0, nullptr,
                                    nullptr, controller_class.hInstance, nullptr);
    ASSERT_NE(controller_, nullptr);
    world_.handset.plugged = true;
    sim::SimContact alice;
    alice.handle = "alice";
    alice.name = "Alice Smith";
    world_.voip.contacts.push_back(alice);
    window_.Show(reinterpret_cast<mivo::HWND>(controller_));
    ASSERT_NE(window_.window(), nullptr);
  }
  void TearDown() override {
    window_.Close();
    ::DestroyWindow(controller_);
    g_seen = nullptr;
  }

  // What reached the controller since the last look.
  std::vector<Seen> Taken() {
    PumpFor(50);
    return std::exchange(seen_, {});
  }
  ::LRESULT Send(::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
    return ::SendMessageA(window_.window(), message, wparam, lparam);
  }
  POINT KeyCentre(const char* label) {
    RECT area{};
    EXPECT_TRUE(HandsetWindow::KeyArea(label, &area)) << label;
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  }
  // The mouse pointer to a point of the client area: the system then reports where it is as
  // the test does (a captured mouse elsewhere would leave the key at once).
  void PointerTo(POINT point) {
    ::ClientToScreen(window_.window(), &point);
    ::SetCursorPos(point.x, point.y);
    PumpFor(20);
  }
  void ClickPanel(int id) { ::SendMessageA(::GetDlgItem(window_.window(), id), BM_CLICK, 0, 0); }

  // The count of dark pixels in each of the four rows of the glass, top row first, as the
  // window paints itself now.
  std::vector<int> InkPerRow() {
    RECT client;
    ::GetClientRect(window_.window(), &client);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    Send(WM_PRINTCLIENT, reinterpret_cast<::WPARAM>(dc), PRF_CLIENT);
    const RECT glass = HandsetWindow::GlassArea();
    const int row_height = (glass.bottom - glass.top) / 4;
    std::vector<int> ink(4, 0);
    for (int y = glass.top; y < glass.bottom; ++y) {
      for (int x = glass.left; x < glass.right; ++x) {
        const COLORREF c = ::GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 90) {
          ++ink[static_cast<std::size_t>((y - glass.top) / row_height)];
        }
      }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return ink;
  }

  std::vector<Seen> seen_;
  std::vector<std::string> lines_;
  sim::SimWorld world_;
  PostingPort port_;
  sim::SimHandset model_{port_, world_};
  HandsetWindow window_{::GetModuleHandleA(nullptr), model_, port_, world_,
                        [this](const std::string& line, std::string* error) {
                          if (line.rfind("language", 0) == 0) {
                            *error = "refused";
                            return false;
                          }
                          lines_.push_back(line);
                          return true;
                        }};
  ::HWND controller_ = nullptr;
};

TEST_F(HandsetWindowTest, RowsReachTheGlassTopRowFirstAndUnpluggingBlanksIt) {
  EXPECT_EQ(::GetWindowLongPtrA(window_.window(), GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);
  EXPECT_EQ(WindowText(window_.window()), "Tr520 virtual handset");
  EXPECT_EQ(InkPerRow(), (std::vector<int>{0, 0, 0, 0}));

  // Only the top row: ink in the first band alone.
  model_.fSendDisplayLCD_TXT(3, 0, "Monday", 0, 700, "Tahoma");
  window_.Refresh();
  std::vector<int> ink = InkPerRow();
  EXPECT_GT(ink[0], 100);
  EXPECT_EQ(ink[1] + ink[2] + ink[3], 0);

  // The idle page's rows with the missed-call mark, and the main LED.
  model_.fSendDisplayLCD_TXT(2, 0, "2026-01-05", 0, 700, "Tahoma");
  model_.fSendDisplayLCD_TXT(1, 0, "09:00am", 0, 700, "Tahoma");
  model_.fSendDisplayLCD_BMP(0, 112, 115);
  model_.fSetLEDOn(1);
  window_.Refresh();
  ink = InkPerRow();
  for (int band = 0; band < 4; ++band) EXPECT_GT(ink[band], 50) << "band " << band;

  // A selected row is dark across; clearing a row leaves it without ink.
  model_.fSendDisplayLCD_TXT(2, 0, "Alice", 1, 0, "Tahoma");
  model_.fClearRow(1);
  window_.Refresh();
  ink = InkPerRow();
  EXPECT_GT(ink[1], 5 * ink[0]);
  EXPECT_EQ(ink[2], 0);

  // Unplugged from the panel: the removal reaches the controller, the glass is blank, and the
  // keys send nothing until it is plugged in again.
  Taken();
  ClickPanel(FarEndPanel::kUnplug);
  EXPECT_EQ(Taken(), (std::vector<Seen>{{MSG_HANDSET_REMOVED, 0, 0}}));
  EXPECT_EQ(InkPerRow(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(model_.leds(), sim::Leds{});
  const POINT five = KeyCentre("5 / JKL");
  Send(WM_LBUTTONDOWN, MK_LBUTTON, PointLparam(five.x, five.y));
  Send(WM_LBUTTONUP, 0, PointLparam(five.x, five.y));
  EXPECT_TRUE(Taken().empty());
  ClickPanel(FarEndPanel::kPlug);
  EXPECT_EQ(Taken(), (std::vector<Seen>{{MSG_HANDSET_ARRIVED, 0, 0}}));
  EXPECT_TRUE(world_.handset.plugged);
}

TEST_F(HandsetWindowTest, MouseButtonPressesTheKeyUnderItAndReleasesOnUpOrLeaving) {
  const POINT call = KeyCentre("CALL");
  PointerTo(call);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, PointLparam(call.x, call.y));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_CALL)}));  // held: no release yet
  Send(WM_LBUTTONUP, 0, PointLparam(call.x, call.y));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_RELEASE)}));

  // Dragged off the key: released there, once.
  const POINT five = KeyCentre("5 / JKL");
  PointerTo(five);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, PointLparam(five.x, five.y));
  Send(WM_MOUSEMOVE, MK_LBUTTON, PointLparam(five.x + 2, five.y + 1));  // still on it
  PointerTo(POINT{2, 2});
  Send(WM_MOUSEMOVE, MK_LBUTTON, PointLparam(2, 2));
  Send(WM_LBUTTONUP, 0, PointLparam(2, 2));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_1 + 4), Key(KEY_RELEASE)}));

  // A button going down beside the keys presses nothing.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, PointLparam(2, 2));
  Send(WM_LBUTTONUP, 0, PointLparam(2, 2));
  EXPECT_TRUE(Taken().empty());
}

TEST_F(HandsetWindowTest, PcKeyboardPressesOnKeyDownReleasesOnItsKeyUpWithoutRepeats) {
  constexpr unsigned kEnterScan = 0x1C, kEightScan = 0x09, kQScan = 0x10;
  Send(WM_KEYDOWN, VK_RETURN, KeyLparam(kEnterScan));
  Send(WM_KEYDOWN, VK_RETURN, KeyLparam(kEnterScan, true));  // auto-repeat
  Send(WM_CHAR, '\r', KeyLparam(kEnterScan));
  Send(WM_KEYUP, VK_RETURN, KeyLparam(kEnterScan, false, true));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_CALL), Key(KEY_RELEASE)}));

  // A character key ('*' is Shift+8 here): released by the key-up of the key that typed it,
  // not by another key's.
  Send(WM_CHAR, '*', KeyLparam(kEightScan));
  Send(WM_KEYUP, VK_SHIFT, KeyLparam(0x2A, false, true));
  Send(WM_CHAR, '*', KeyLparam(kEightScan, true));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_STAR)}));
  Send(WM_KEYUP, '8', KeyLparam(kEightScan, false, true));
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_RELEASE)}));

  // The terminal handset's own commands ('q' quits there) press nothing here; losing the
  // focus lets a held key go.
  Send(WM_CHAR, 'q', KeyLparam(kQScan));
  Send(WM_KEYDOWN, VK_UP, KeyLparam(0x48 | 0x100));
  Send(WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(Taken(), (std::vector<Seen>{Key(KEY_UP), Key(KEY_RELEASE)}));
}

TEST_F(HandsetWindowTest, FarEndPanelSendsScriptLinesAndShowsARefusal) {
  ClickPanel(FarEndPanel::kRing);
  ClickPanel(FarEndPanel::kAnswer);
  ClickPanel(FarEndPanel::kHangUp);
  ClickPanel(FarEndPanel::kVoicemail);
  ClickPanel(FarEndPanel::kOffLine);
  ASSERT_EQ(lines_.size(), 8u);
  EXPECT_EQ(lines_[0], "ring \"Alice Smith\"");
  EXPECT_EQ(lines_[1].rfind("in-progress ", 0), 0u);
  EXPECT_EQ(lines_[2], "finished");
  EXPECT_EQ(lines_[3].substr(lines_[3].find(' ', 10)), " \"alice\" \"Alice Smith\"");
  EXPECT_EQ(lines_[4], "unplayed 1");
  EXPECT_EQ(lines_[5], "voicemail-changed");
  EXPECT_EQ(lines_[6], "online 0");
  EXPECT_EQ(lines_[7], "voip detach");

  // A caller typed by hand rings with that text, quoted as the scripts quote it.
  ::SetDlgItemTextA(window_.window(), FarEndPanel::kContactBox, "Bob \"B\"");
  ClickPanel(FarEndPanel::kRing);
  EXPECT_EQ(lines_.back(), "ring \"Bob \\\"B\\\"\"");

  // The language list: German is 7; this client refuses it, and the panel says so.
  const ::HWND languages = ::GetDlgItem(window_.window(), FarEndPanel::kLanguageBox);
  ::SendMessageA(languages, CB_SETCURSEL, 1, 0);
  Send(WM_COMMAND, MAKEWPARAM(FarEndPanel::kLanguageBox, CBN_SELCHANGE),
       reinterpret_cast<::LPARAM>(languages));
  const std::string status = WindowText(::GetDlgItem(window_.window(), FarEndPanel::kStatus));
  EXPECT_EQ(status.rfind("not sent: language 7", 0), 0u) << status;
  EXPECT_TRUE(Taken().empty());  // nothing of it went to the controller as a key
}

}  // namespace
}  // namespace mivo::win32::test

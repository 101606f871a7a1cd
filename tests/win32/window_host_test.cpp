// The Win32 window host with real dialogs from the program's templates: the modal loop, the
// framework's view of every message, timers, posted messages, the dialogs' end, and the
// templates, menu, icons and bitmaps read back from the windows and resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/framework.h"
#include "platform/win32/win32_window.h"
#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

constexpr int kAboutTemplate = 100;
constexpr int kPanelTemplate = 102;
// A timer that ends a test whose dialog never ended by itself.
constexpr std::uintptr_t kWatchdogTimer = 999;
constexpr mivo::UINT kWatchdogMs = 10000;

// A dialog whose initialisation and messages a test scripts.
class ProbeDialog : public mivo::Dialog {
 public:
  ProbeDialog(int template_id, mivo::WindowHost& host) : Dialog(template_id, host) {}

  std::function<void()> on_init;
  // Returns true when the message was handled (its result in *result).
  std::function<bool(mivo::UINT, mivo::WPARAM, mivo::LPARAM, mivo::LRESULT*)> on_message;
  std::vector<mivo::UINT> seen;
  bool watchdog_fired = false;

  ::HWND window() const { return ToHwnd(m_hWnd); }
  void End(int result) { EndDialog(result); }

 protected:
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    window_host_.SetTimer(m_hWnd, kWatchdogTimer, kWatchdogMs);
    if (on_init) on_init();
    return true;
  }
  bool OnWndMsg(mivo::UINT message, mivo::WPARAM wparam, mivo::LPARAM lparam,
                mivo::LRESULT* result) override {
    seen.push_back(message);
    if (message == WM_TIMER && wparam == kWatchdogTimer) {
      watchdog_fired = true;
      EndDialog(-2);
      return true;
    }
    if (on_message && on_message(message, wparam, lparam, result)) return true;
    return Dialog::OnWndMsg(message, wparam, lparam, result);
  }
};

class WindowHostTest : public ::testing::Test {
 protected:
  Win32WindowHost host_;
};

TEST_F(WindowHostTest, PeriodicTimerFiresUntilKilled) {
  ProbeDialog dialog(kPanelTemplate, host_);
  int ticks = 0;
  dialog.on_init = [&] { host_.SetTimer(dialog.m_hWnd, 7, 20); };
  dialog.on_message = [&](mivo::UINT message, mivo::WPARAM id, mivo::LPARAM, mivo::LRESULT*) {
    if (message != WM_TIMER) return false;
    if (id == 7 && ++ticks == 5) {
      EXPECT_TRUE(host_.KillTimer(dialog.m_hWnd, 7));
      // Long enough for two more periods: none may come.
      host_.SetTimer(dialog.m_hWnd, 8, 100);
    } else if (id == 8) {
      dialog.End(IDOK);
    }
    return true;
  };
  EXPECT_EQ(host_.RunModal(dialog), IDOK);
  EXPECT_FALSE(dialog.watchdog_fired);
  EXPECT_EQ(ticks, 5);
  // Killing a timer that does not run has no effect.
  EXPECT_FALSE(host_.KillTimer(nullptr, 7));
}

TEST_F(WindowHostTest, StartingARunningTimerRestartsItsPeriod) {
  ProbeDialog dialog(kPanelTemplate, host_);
  DWORD started = 0;
  DWORD restarted = 0;
  DWORD fired = 0;
  dialog.on_init = [&] {
    started = ::GetTickCount();
    host_.SetTimer(dialog.m_hWnd, 9, 300);
    host_.SetTimer(dialog.m_hWnd, 0, 150);  // timer id 0 is a timer like any other
  };
  dialog.on_message = [&](mivo::UINT message, mivo::WPARAM id, mivo::LPARAM, mivo::LRESULT*) {
    if (message != WM_TIMER) return false;
    if (id == 0) {
      host_.KillTimer(dialog.m_hWnd, 0);
      restarted = ::GetTickCount();
      host_.SetTimer(dialog.m_hWnd, 9, 300);
    } else if (id == 9) {
      fired = ::GetTickCount();
      dialog.End(IDOK);
    }
    return true;
  };
  host_.RunModal(dialog);
  ASSERT_NE(restarted, 0u);
  ASSERT_NE(fired, 0u);
  // Without the restart it would have fired 300 ms after the start, 150 ms after the restart.
  EXPECT_GE(fired - restarted, 280u);
  EXPECT_GE(fired - started, 430u);
}

TEST_F(WindowHostTest, PostedMessagesReachTheDialogInOrderAndSentOnesAtOnce) {
  ProbeDialog dialog(kPanelTemplate, host_);
  std::vector<mivo::WPARAM> order;
  constexpr mivo::UINT kPosted = WM_USER + 201;
  constexpr mivo::UINT kSent = WM_USER + 202;
  dialog.on_init = [&] {
    for (mivo::WPARAM i = 1; i <= 40; ++i) {
      ASSERT_TRUE(host_.PostMessage(dialog.m_hWnd, kPosted, i, 0));
    }
  };
  dialog.on_message = [&](mivo::UINT message, mivo::WPARAM wparam, mivo::LPARAM,
                          mivo::LRESULT* result) {
    if (message == kSent) {
      order.push_back(1000 + wparam);
      *result = static_cast<mivo::LRESULT>(wparam * 2);
      return true;
    }
    if (message != kPosted) return false;
    order.push_back(wparam);
    // A message sent from inside a handler is handled before the send returns.
    if (wparam == 20) {
      EXPECT_EQ(host_.SendMessage(dialog.m_hWnd, kSent, 21, 0), 42);
    }
    if (wparam == 40) dialog.End(77);
    return true;
  };
  EXPECT_EQ(host_.RunModal(dialog), 77);
  std::vector<mivo::WPARAM> expected;
  for (mivo::WPARAM i = 1; i <= 40; ++i) {
    expected.push_back(i);
    if (i == 20) expected.push_back(1021);
  }
  EXPECT_EQ(order, expected);
}

TEST_F(WindowHostTest, CloseBecomesCancelThroughTheDialogsOwnDefaultProcessing) {
  ProbeDialog dialog(kPanelTemplate, host_);
  ::HWND window = nullptr;
  dialog.on_init = [&] {
    window = dialog.window();
    host_.PostMessage(dialog.m_hWnd, WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(host_.RunModal(dialog), IDCANCEL);
  EXPECT_FALSE(dialog.watchdog_fired);
  // The window is gone and the dialog no longer names it.
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_NE(std::find(dialog.seen.begin(), dialog.seen.end(), WM_DESTROY), dialog.seen.end());
}

TEST_F(WindowHostTest, DestroyingTheWindowEndsTheModalLoop) {
  ProbeDialog dialog(kPanelTemplate, host_);
  dialog.on_init = [&] { host_.PostMessage(dialog.m_hWnd, WM_USER + 5, 0, 0); };
  dialog.on_message = [&](mivo::UINT message, mivo::WPARAM, mivo::LPARAM, mivo::LRESULT*) {
    if (message != WM_USER + 5) return false;
    EXPECT_TRUE(host_.DestroyWindow(dialog.m_hWnd));
    return true;
  };
  host_.RunModal(dialog);
  EXPECT_FALSE(dialog.watchdog_fired);
  // WM_NCDESTROY is the window's last message, and the dialog sees it too.
  EXPECT_EQ(dialog.seen.back(), static_cast<mivo::UINT>(WM_NCDESTROY));
}

TEST_F(WindowHostTest, TheDialogSeesItsWindowsMessagesFromTheFirst) {
  ProbeDialog dialog(kPanelTemplate, host_);
  dialog.on_init = [&] { dialog.End(IDOK); };
  host_.RunModal(dialog);
  // The window was bound as it was created: its creation and its font reached the dialog
  // before the initialisation.
  const auto at = [&](mivo::UINT message) {
    return static_cast<long long>(std::find(dialog.seen.begin(), dialog.seen.end(), message) -
                                  dialog.seen.begin());
  };
  EXPECT_LT(at(WM_NCCREATE), at(WM_SETFONT));
  EXPECT_LT(at(WM_SETFONT), static_cast<long long>(dialog.seen.size()));
}

struct PanelBox {
  int id;
  const char* label;
  int x;
  int y;
};

// The key panel as the program's template lays it out (dialog units).
constexpr PanelBox kPanel[] = {
    {1000, "MUTE", 15, 20},       {1001, "VOL+", 80, 20},      {1002, "VOL-", 145, 20},
    {1003, "FN1", 210, 20},       {1004, "FN2", 210, 38},      {1005, "FN3", 210, 56},
    {1006, "FN4", 210, 74},       {1007, "FN5", 210, 92},      {1008, "FN6", 210, 110},
    {1009, "FN7", 210, 128},      {1010, "FN8", 210, 146},     {1011, "SKYPE", 15, 38},
    {1012, "HOLD", 15, 56},       {1013, "CALL", 15, 74},      {1014, "UP", 80, 38},
    {1015, "DOWN", 80, 56},       {1016, "CANCEL", 80, 74},    {1017, "VOICE MAIL", 145, 38},
    {1018, "END CALL", 145, 74},  {1019, "1", 15, 92},         {1020, "2 / ABC", 80, 92},
    {1021, "3 / DEF", 145, 92},   {1022, "4 / GHI", 15, 110},  {1023, "5 / JKL", 80, 110},
    {1024, "6 / MNO", 145, 110},  {1025, "7 / PQRS", 15, 128}, {1026, "8 / TUV", 80, 128},
    {1027, "9 / WXYZ", 145, 128}, {1028, "0 / +", 80, 146},    {1029, "*", 15, 146},
    {1030, "#", 145, 146},        {1031, "NO USE", 145, 56},
};

// A control's rectangle in the dialog's units.
RECT DialogUnits(::HWND dialog, ::HWND control) {
  RECT rect;
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  RECT unit = {0, 0, 4, 8};
  ::MapDialogRect(dialog, &unit);
  return RECT{MulDiv(rect.left, 4, unit.right), MulDiv(rect.top, 8, unit.bottom),
              MulDiv(rect.right - rect.left, 4, unit.right),
              MulDiv(rect.bottom - rect.top, 8, unit.bottom)};
}

TEST_F(WindowHostTest, KeyPanelTemplateHasTheExitButtonAndThe32KeyBoxesClear) {
  ProbeDialog dialog(kPanelTemplate, host_);
  dialog.on_init = [&] {
    const ::HWND window = dialog.window();
    EXPECT_EQ(WindowText(window), "MivoRun");
    int children = 0;
    for (::HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      ++children;
    }
    EXPECT_EQ(children, 33);
    const ::HWND exit_button = ::GetDlgItem(window, IDOK);
    ASSERT_NE(exit_button, nullptr);
    EXPECT_EQ(WindowText(exit_button), "Exit");
    for (const PanelBox& box : kPanel) {
      SCOPED_TRACE(box.label);
      const ::HWND control = ::GetDlgItem(window, box.id);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(WindowText(control), box.label);
      const LONG style = ::GetWindowLongA(control, GWL_STYLE);
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
      EXPECT_EQ(style & (BS_PUSHLIKE | BS_FLAT | BS_CENTER), BS_PUSHLIKE | BS_FLAT | BS_CENTER);
      const RECT units = DialogUnits(window, control);
      EXPECT_NEAR(units.left, box.x, 1);
      EXPECT_NEAR(units.top, box.y, 1);
      EXPECT_NEAR(units.right, 53, 1);
      EXPECT_NEAR(units.bottom, 10, 1);
      EXPECT_EQ(host_.IsDlgButtonChecked(dialog.m_hWnd, box.id), mivo::UINT{BST_UNCHECKED});
    }
    // The host's check operations reach the real boxes.
    EXPECT_TRUE(host_.CheckDlgButton(dialog.m_hWnd, 1013, BST_CHECKED));
    EXPECT_EQ(::IsDlgButtonChecked(window, 1013), static_cast<::UINT>(BST_CHECKED));
    EXPECT_EQ(host_.GetDlgItem(dialog.m_hWnd, 1013), FromHwnd(::GetDlgItem(window, 1013)));
    EXPECT_EQ(host_.GetDlgItem(dialog.m_hWnd, 4242), nullptr);
    dialog.End(IDCANCEL);
  };
  host_.RunModal(dialog);
}

TEST_F(WindowHostTest, AboutTemplateShowsThePictureAndABitmapOkButton) {
  ProbeDialog dialog(kAboutTemplate, host_);
  dialog.on_init = [&] {
    const ::HWND window = dialog.window();
    const ::HWND ok = ::GetDlgItem(window, IDOK);
    ASSERT_NE(ok, nullptr);
    const LONG ok_style = ::GetWindowLongA(ok, GWL_STYLE);
    EXPECT_EQ(ok_style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(ok_style & BS_BITMAP, 0);
    const ::HWND picture = ::GetWindow(window, GW_CHILD);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(::GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    EXPECT_NE(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    // The caption comes from the dialog's own text when it sets one.
    EXPECT_TRUE(host_.SetWindowText(dialog.m_hWnd,
                                    "\xDC"
                                    "ber"));
    EXPECT_EQ(WindowText(window),
              "\xDC"
              "ber");
    dialog.End(IDOK);
  };
  EXPECT_EQ(host_.RunModal(dialog), IDOK);
}

TEST_F(WindowHostTest, ResourcesOfTheProgramLoad) {
  for (int icon : {128, 149, 150}) {
    SCOPED_TRACE(icon);
    EXPECT_NE(host_.LoadIcon(icon), 0u);
    // The notification area's small size is in the icon itself.
    EXPECT_NE(::LoadImageA(ProgramModule(), ResourceName(icon), IMAGE_ICON, 16, 16, 0), nullptr);
  }
  struct Picture {
    int id;
    int width;
    int height;
    int bits;
  };
  for (const Picture& picture : {Picture{167, 300, 150, 8}, Picture{169, 88, 28, 4}}) {
    SCOPED_TRACE(picture.id);
    const ::HANDLE image = ::LoadImageA(ProgramModule(), ResourceName(picture.id), IMAGE_BITMAP, 0,
                                        0, LR_CREATEDIBSECTION);
    ASSERT_NE(image, nullptr);
    DIBSECTION dib{};
    ASSERT_NE(::GetObjectA(image, sizeof dib, &dib), 0);
    EXPECT_EQ(dib.dsBm.bmWidth, picture.width);
    EXPECT_EQ(dib.dsBm.bmHeight, picture.height);
    EXPECT_EQ(dib.dsBmih.biBitCount, picture.bits);
    ::DeleteObject(image);
    const mivo::BitmapHandle bitmap = host_.LoadBitmap(picture.id);
    EXPECT_NE(bitmap, 0u);
    EXPECT_TRUE(host_.DeleteObject(bitmap));
  }
  EXPECT_EQ(host_.LoadBitmap(4242), 0u);

  const ::HMENU menu = ::LoadMenuA(ProgramModule(), ResourceName(131));
  ASSERT_NE(menu, nullptr);
  const ::HMENU popup = ::GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(::GetMenuItemCount(popup), 2);
  EXPECT_EQ(::GetMenuItemID(popup, 0), 32771u);
  EXPECT_EQ(::GetMenuItemID(popup, 1), 32772u);
  char text[32] = {};
  ::GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Close");
  ::GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "About");
  ::DestroyMenu(menu);

  EXPECT_NE(::FindResourceA(ProgramModule(), ResourceName(1), ResourceName(24)), nullptr)
      << "manifest";
  EXPECT_NE(::FindResourceA(ProgramModule(), ResourceName(1), ResourceName(16)), nullptr)
      << "version information";
}

TEST_F(WindowHostTest, BrushesAndTheSilverBackground) {
  const mivo::BrushHandle brush = host_.CreateSolidBrush(mivo::Rgb(192, 192, 192));
  ASSERT_NE(brush, 0u);
  LOGBRUSH described{};
  ASSERT_NE(::GetObjectA(reinterpret_cast<::HGDIOBJ>(brush), sizeof described, &described), 0);
  EXPECT_EQ(described.lbColor, RGB(192, 192, 192));
  EXPECT_TRUE(host_.DeleteObject(brush));

  const ::HDC dc = ::CreateCompatibleDC(nullptr);
  host_.SetBkMode(FromHdc(dc), TRANSPARENT);
  EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
  host_.SetBkColor(FromHdc(dc), mivo::Rgb(192, 192, 192));
  EXPECT_EQ(::GetBkColor(dc), RGB(192, 192, 192));
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace mivo::win32::test

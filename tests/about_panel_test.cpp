// The About box, the key panel's data exchange, the ways the controller's dialog ends, and the
// painting of the minimised window, on the simulated window system.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/constants.h"
#include "tests/harness.h"

namespace mivo {
namespace {

using sim::SimGdi;
using sim::SimWindowHost;

constexpr COLORREF kSilver = Rgb(192, 192, 192);

std::string ShippedLangIni() {
  std::ifstream in(std::string(MIVO_RES_DIR) + "/lang.ini", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The `key_indicator` element of each box of the panel, by box id 1000 to 1031.
constexpr int kIndexOfBox[32] = {24, 30, 29, 14, 15, 16, 17, 18, 19, 20, 21, 25, 23, 10, 27, 12,
                                 11, 28, 13, 1,  2,  3,  4,  5,  6,  7,  8,  9,  0,  26, 22, 31};

TEST(AboutBox, CaptionIsTheAboutTextOfTheMoment) {
  test::Harness h;
  h.WriteFile("lang.ini", ShippedLangIni());
  h.Run([&](ControllerDialog&) {
    // Before any language message: the English text.
    h.Post(WM_COMMAND, ID_ABOUT);
    EXPECT_EQ(h.sim().window.last_box().caption, "About");
    // German texts loaded: a new box bears the German caption.
    h.Post(MSG_LANGUAGE, 0, 7);
    h.Post(WM_COMMAND, ID_ABOUT);
    EXPECT_EQ(h.sim().window.last_box().caption, "Info");
    h.Post(MSG_LANGUAGE, 0, 16);  // Italian
    h.Post(WM_COMMAND, ID_ABOUT);
    EXPECT_EQ(h.sim().window.last_box().caption, "Informazioni");
  });
}

TEST(AboutBox, PictureOnSilverButtonWithBitmapNothingLeftBehind) {
  test::Harness h;
  h.Run([&](ControllerDialog&) {
    const std::size_t objects_before = h.sim().window.gdi().live_objects();
    h.Post(WM_COMMAND, ID_ABOUT);
    const SimWindowHost::BoxRecord& box = h.sim().window.last_box();
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.result, IDOK);
    EXPECT_EQ(box.ok_bitmap_resource, IDB_ABOUT_OK);
    // The picture is drawn transparently on the silver brush ...
    EXPECT_NE(box.picture.brush, SimGdi::SystemFaceBrush());
    EXPECT_EQ(box.picture.brush_colour, kSilver);
    EXPECT_EQ(box.picture.bk_mode, TRANSPARENT);
    EXPECT_EQ(box.picture.bk_colour, kSilver);
    // ... every other part as the system draws it.
    EXPECT_EQ(box.ok_button.brush, SimGdi::SystemFaceBrush());
    EXPECT_EQ(box.ok_button.bk_mode, OPAQUE);
    EXPECT_NE(box.ok_button.bk_colour, kSilver);
    EXPECT_EQ(box.dialog.brush, SimGdi::SystemFaceBrush());

    // The brush and the button's bitmap went with the box, each time it was opened.
    EXPECT_EQ(h.sim().window.gdi().live_objects(), objects_before);
    h.Post(WM_COMMAND, ID_ABOUT);
    h.Post(WM_COMMAND, ID_ABOUT);
    EXPECT_EQ(h.sim().window.gdi().live_objects(), objects_before);
  });
}

TEST(KeyPanel, BoxesClearAtStartAndReadBackByTheExitCommand) {
  test::Harness h;
  h.Run([&](ControllerDialog& c) {
    for (int id = 1000; id <= 1031; ++id) EXPECT_EQ(h.sim().window.CheckState(id), 0u) << id;

    // The user ticks "0 / +", "MUTE" and "NO USE", and ticks "FN1" twice (clear again).
    for (int id : {1028, 1000, 1031, 1003, 1003}) ASSERT_TRUE(h.sim().window.ClickControl(id));
    // Clicking exchanges nothing.
    for (std::int32_t state : c.key_indicator) EXPECT_EQ(state, 0);

    h.Post(WM_COMMAND, IDOK);
    EXPECT_TRUE(h.sim().window.destroyed());
    EXPECT_EQ(h.sim().window.dialog_result(), IDOK);
    for (int id = 1000; id <= 1031; ++id) {
      const bool ticked = id == 1028 || id == 1000 || id == 1031;
      EXPECT_EQ(c.key_indicator[kIndexOfBox[id - 1000]], ticked ? 1 : 0) << id;
    }
  });
  // The framework's ending is not the Close command: the window's destruction removes the
  // icon; the bridge and the handset library are left as they are.
  EXPECT_TRUE(h.Has("Shell_NotifyIcon(NIM_DELETE)"));
  EXPECT_FALSE(h.Has("fDisconnectVoIP()"));
  EXPECT_FALSE(h.Has("DestroyWindow()"));
}

TEST(KeyPanel, ExitButtonEndsTheDialogLikeIdok) {
  test::Harness h;
  h.Run([&](ControllerDialog& c) {
    h.sim().window.ClickControl(1019);  // "1"
    h.sim().window.ClickControl(IDOK);  // "Exit"
    EXPECT_TRUE(h.sim().window.destroyed());
    EXPECT_EQ(h.sim().window.dialog_result(), IDOK);
    EXPECT_EQ(c.key_indicator[1], 1);
  });
}

TEST(KeyPanel, CloseAndCancelEndTheDialogWithoutReadingTheBoxes) {
  for (const UINT message : {WM_CLOSE, WM_COMMAND}) {
    SCOPED_TRACE(message);
    test::Harness h;
    h.Run([&](ControllerDialog& c) {
      h.sim().window.ClickControl(1013);  // "CALL"
      if (message == WM_CLOSE) {
        h.Post(WM_CLOSE);
      } else {
        h.Post(WM_COMMAND, IDCANCEL);
      }
      EXPECT_TRUE(h.sim().window.destroyed());
      EXPECT_EQ(h.sim().window.dialog_result(), IDCANCEL);
      for (std::int32_t state : c.key_indicator) EXPECT_EQ(state, 0);
    });
    EXPECT_TRUE(h.Has("Shell_NotifyIcon(NIM_DELETE)"));
  }
}

TEST(KeyPanel, OtherCommandsAndTheAboutBoxLeaveTheDialogRunning) {
  test::Harness h;
  h.Run([&](ControllerDialog&) {
    h.Post(WM_COMMAND, 1000);  // a box's own click notice
    h.Post(WM_COMMAND, 3);
    // The About box ends itself with its OK; the controller goes on.
    h.Post(WM_COMMAND, ID_ABOUT);
    EXPECT_FALSE(h.sim().window.destroyed());
    EXPECT_EQ(h.sim().window.dialog_result(), 0);
  });
}

TEST(MinimisedWindow, PaintDrawsTheIconCentredOnItsErasedBackground) {
  test::Harness h;
  h.Run([&](ControllerDialog&) {
    // Right after start the window is minimised (it hides 100 ms later).
    ASSERT_EQ(h.sim().window.window_state(), SimWindowHost::WindowState::kMinimized);
    h.Post(WM_PAINT);
    const Rect client = SimWindowHost::ClientArea();
    const int x = (client.right - 32 + 1) / 2;
    const int y = (client.bottom - 32 + 1) / 2;
    EXPECT_EQ(h.sim().window.paint_log(),
              (std::vector<std::string>{"BeginPaint", "EraseIconBackground",
                                        "DrawIcon(" + std::to_string(IDR_MAINFRAME) + ", " +
                                            std::to_string(x) + ", " + std::to_string(y) + ")",
                                        "EndPaint"}));
    EXPECT_EQ(h.sim().window.SendMessage(SimWindowHost::MainWindow(), WM_QUERYDRAGICON, 0, 0),
              static_cast<LRESULT>(IDR_MAINFRAME));

    // Hidden, the window gets the default painting: no icon.
    h.Wait(100);
    ASSERT_EQ(h.sim().window.window_state(), SimWindowHost::WindowState::kHidden);
    h.Post(WM_PAINT);
    EXPECT_EQ(h.sim().window.paint_log().size(), 4u);
  });
}

}  // namespace
}  // namespace mivo

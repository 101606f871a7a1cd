// MivoRun.exe as a user starts it: its libraries beside it, or missing; the single-instance
// guard; the close command from the tray menu.
#include <gtest/gtest.h>

#include <string>

#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

// Generous: the first programs started in a fresh Wine prefix take seconds to show a window.
constexpr DWORD kWaitMs = 30000;
constexpr int kMessageTextId = 0xFFFF;  // the text of a message box
constexpr WPARAM kCloseCommand = 32771;

// A folder with MivoRun.exe and, when given, one kind of stand-in libraries.
class ProgramFolderFixture : public ::testing::Test {
 protected:
  void Install(const char* stubs, bool handset = true, bool bridge = true) {
    ASSERT_TRUE(CopyInto(BuildFolder() + "MivoRun.exe", folder_.path(), "MivoRun.exe"));
    if (handset) {
      ASSERT_TRUE(
          CopyInto(StubFolder(stubs) + "UsbPhone_Q5.dll", folder_.path(), "UsbPhone_Q5.dll"));
    }
    if (bridge) {
      ASSERT_TRUE(CopyInto(StubFolder(stubs) + "CallBridge.dll", folder_.path(), "CallBridge.dll"));
    }
  }
  std::string Program() const { return folder_.File("MivoRun.exe"); }

  // The text of the program's message box, which is then closed with OK.
  static std::string TakeMessageBox(const Process& process) {
    const ::HWND box = process.WaitForWindow("MivoRun.exe", kWaitMs);
    if (box == nullptr) return "(no message box)";
    char text[512] = {};
    ::SendMessageA(::GetDlgItem(box, kMessageTextId), WM_GETTEXT, sizeof text,
                   reinterpret_cast<::LPARAM>(text));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
  }

  TempFolder folder_;
};

TEST_F(ProgramFolderFixture, MissingLibraryIsNamedInOneBoxAndEndsWithStatusOne) {
  // No library at all: the handset library is the first one looked for.
  Install("full", false, false);
  Process program(Program(), folder_.path());
  ASSERT_TRUE(program.started());
  const std::string text = TakeMessageBox(program);
  EXPECT_NE(text.find("UsbPhone_Q5.dll"), std::string::npos) << text;
  EXPECT_EQ(program.WaitForExit(kWaitMs), 1);
}

TEST_F(ProgramFolderFixture, MissingBridgeIsNamed) {
  Install("full", true, false);
  Process program(Program(), folder_.path());
  const std::string text = TakeMessageBox(program);
  EXPECT_NE(text.find("CallBridge.dll"), std::string::npos) << text;
  EXPECT_EQ(text.find("UsbPhone_Q5.dll"), std::string::npos) << text;
  EXPECT_EQ(program.WaitForExit(kWaitMs), 1);
}

TEST_F(ProgramFolderFixture, MissingFunctionIsNamedWithItsLibrary) {
  Install("partial");
  Process program(Program(), folder_.path());
  const std::string text = TakeMessageBox(program);
  EXPECT_NE(text.find("UsbPhone_Q5.dll"), std::string::npos) << text;
  EXPECT_NE(text.find("fSetVoiceLEDOn"), std::string::npos) << text;
  EXPECT_EQ(program.WaitForExit(kWaitMs), 1);
}

TEST_F(ProgramFolderFixture, StartsHidesItselfRefusesASecondInstanceAndClosesFromTheMenu) {
  Install("full");
  Process program(Program(), folder_.path());
  const ::HWND window = program.WaitForWindow("MivoRun", kWaitMs);
  ASSERT_NE(window, nullptr);

  // Hidden 100 ms after start.
  const ::DWORD until = ::GetTickCount() + kWaitMs;
  while (::IsWindowVisible(window) && static_cast<int>(until - ::GetTickCount()) > 0) ::Sleep(10);
  EXPECT_FALSE(::IsWindowVisible(window));

  // A second instance ends at once without a window of its own.
  {
    Process second(Program(), folder_.path());
    EXPECT_EQ(second.WaitForExit(kWaitMs), 0);
  }
  EXPECT_TRUE(::IsWindow(window));

  // "Close" from the tray menu ends the program.
  ::PostMessageA(window, WM_COMMAND, kCloseCommand, 0);
  EXPECT_EQ(program.WaitForExit(kWaitMs), 0);
}

TEST_F(ProgramFolderFixture, AnyWindowCaptionedMivoRunInAnyCaseKeepsItFromStarting) {
  Install("full");
  const ::HWND other = ::CreateWindowExA(0, "STATIC", "mivorun", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50,
                                         nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  Process program(Program(), folder_.path());
  EXPECT_EQ(program.WaitForExit(kWaitMs), 0);
  ::DestroyWindow(other);
}

}  // namespace
}  // namespace mivo::win32::test

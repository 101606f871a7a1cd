// The controller on the Win32 platform with libraries of the test's own: start-up, hiding,
// the driver check with repair programs that do not exist, the close command; and the
// controller's registry and control-device steps against the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "app/controller_dialog.h"
#include "core/constants.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

using Calls = std::vector<std::string>;

#define MIVO_RECORD(name, ...)      \
  bool name(__VA_ARGS__) override { \
    calls_.push_back(#name);        \
    return true;                    \
  }

class RecordingHandset : public mivo::HandsetLibrary {
 public:
  explicit RecordingHandset(Calls& calls) : calls_(calls) {}
  std::function<void(mivo::HWND)> on_connect;
  bool driver_ok = true;

  bool fConnectDevice(mivo::HWND window) override {
    calls_.push_back("fConnectDevice");
    if (on_connect) on_connect(window);
    return true;
  }
  bool fCheckDriver() override {
    calls_.push_back("fCheckDriver");
    return driver_ok;
  }
  MIVO_RECORD(fCloseDevice)
  MIVO_RECORD(fSuspendDevice)
  MIVO_RECORD(fRotate180, int)
  MIVO_RECORD(fClearDisplay2)
  MIVO_RECORD(fClearRow, std::uint8_t)
  MIVO_RECORD(fSendDisplayLCD_TXT, std::uint8_t, int, const char*, int, int, const char*)
  MIVO_RECORD(fSendDisplayLCD_TXT2, std::uint8_t, int, const char*, int, int, const char*, int, int)
  MIVO_RECORD(fSendDisplayLCD_BMP, std::uint8_t, int, int)
  MIVO_RECORD(fSendDisplayLCD_Cylinder, int)
  MIVO_RECORD(fClearBuf)
  MIVO_RECORD(fDrawBuf, int, int, const char*, int, const char*, int)
  MIVO_RECORD(fSendBufToQ5LCD, std::uint8_t, int, int)
  MIVO_RECORD(fSetLEDOn, int)
  MIVO_RECORD(fSetLEDStatus, int, int)
  MIVO_RECORD(fSetVoiceLEDOn, int)

 private:
  Calls& calls_;
};

class RecordingBridge : public mivo::VoipBridge {
 public:
  explicit RecordingBridge(Calls& calls) : calls_(calls) {}

  MIVO_RECORD(fRunAP)
  MIVO_RECORD(fConnectVoIP, mivo::HWND, int)
  MIVO_RECORD(fDisconnectVoIP)
  MIVO_RECORD(fReInitial)
  MIVO_RECORD(fCheckVoIPOnLine)
  MIVO_RECORD(fFocusAP)
  MIVO_RECORD(fSendKey, int, int, char*, int*)
  MIVO_RECORD(fSending, const char*)
  MIVO_RECORD(fCallUser, const char*)
  MIVO_RECORD(fSetMute, int)
  MIVO_RECORD(fSetOnHold)
  MIVO_RECORD(fSetInProgress)
  MIVO_RECORD(fSetCallOnHold, const char*)
  MIVO_RECORD(fSetCallInProgress, const char*)
  MIVO_RECORD(fSetCallFinished, const char*)
  MIVO_RECORD(fSetCallSeen, const char*)
  MIVO_RECORD(fSetAudio, int, const char*)
  bool fGetFullPhoneBook(const std::uint8_t** block) override { return NoBlock(block); }
  bool fGetCalls(const std::uint8_t** block) override { return NoBlock(block); }
  bool fGetActiveCalls(const std::uint8_t** block) override { return NoBlock(block); }
  bool fGetVoiceMails(const std::uint8_t** block) override { return NoBlock(block); }
  int fGetMissedCallCount() override { return 0; }
  int fGetUnPlayedVoiceMailCount() override { return 0; }

 private:
  static bool NoBlock(const std::uint8_t** block) {
    if (block != nullptr) *block = nullptr;
    return false;
  }
  Calls& calls_;
};

#undef MIVO_RECORD

// What a thread timer of the test does when it expires (a timer without a window runs its
// procedure from the modal loop).
std::function<void()> later;
void CALLBACK RunLater(::HWND, ::UINT, ::UINT_PTR id, ::DWORD) {
  ::KillTimer(nullptr, id);
  if (later) later();
}

std::ptrdiff_t IndexOf(const Calls& calls, const char* name) {
  return std::find(calls.begin(), calls.end(), name) - calls.begin();
}

TEST(ControllerOnWin32, StartsHidesItselfSurvivesAFailedDriverCheckAndCloses) {
  Calls calls;
  RecordingHandset handset(calls);
  RecordingBridge bridge(calls);
  Win32Platform platform;
  handset.driver_ok = false;

  ::HWND window = nullptr;
  bool visible_later = true;
  handset.on_connect = [&](mivo::HWND controller) {
    window = ToHwnd(controller);
    later = [&] {
      visible_later = ::IsWindowVisible(window) != FALSE;
      // The handset library reports a broken driver; the repair programs are not there.
      ::PostMessageA(window, mivo::MSG_DRIVER_CHECK, 0, 0);
      ::PostMessageA(window, WM_COMMAND, mivo::ID_CLOSE, 0);
    };
    ::SetTimer(nullptr, 0, 500, &RunLater);
  };

  mivo::ControllerApp app(handset, bridge, platform.host());
  EXPECT_FALSE(app.InitInstance());
  later = nullptr;

  EXPECT_FALSE(app.refused());
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(visible_later) << "the window hides itself 100 ms after start";
  EXPECT_FALSE(::IsWindow(window));
  // Start-up connects the handset, then the client; close disconnects the client first.
  EXPECT_LT(IndexOf(calls, "fConnectDevice"), IndexOf(calls, "fRunAP"));
  EXPECT_LT(IndexOf(calls, "fRunAP"), IndexOf(calls, "fConnectVoIP"));
  EXPECT_LT(IndexOf(calls, "fCheckDriver"), IndexOf(calls, "fDisconnectVoIP"));
  EXPECT_LT(IndexOf(calls, "fDisconnectVoIP"), IndexOf(calls, "fCloseDevice"));
  EXPECT_LT(IndexOf(calls, "fCloseDevice"), static_cast<std::ptrdiff_t>(calls.size()));
}

TEST(ControllerOnWin32, RefusesToStartBesideAWindowCaptionedMivoRun) {
  Calls calls;
  RecordingHandset handset(calls);
  RecordingBridge bridge(calls);
  Win32Platform platform;
  const ::HWND other = ::CreateWindowExA(0, "STATIC", "MIVORUN", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50,
                                         nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  mivo::ControllerApp app(handset, bridge, platform.host());
  EXPECT_FALSE(app.InitInstance());
  EXPECT_TRUE(app.refused());
  EXPECT_TRUE(calls.empty());
  ::DestroyWindow(other);
}

// The sound mapper's key, which a fresh Windows user (and a fresh Wine prefix) may lack.
constexpr const char* kSoundMapper = "SOFTWARE\\Microsoft\\Multimedia\\Sound Mapper";

class SoundMapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    existed_ =
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kSoundMapper, 0, KEY_READ, &key_) == ERROR_SUCCESS;
    if (existed_) {
      SaveValue("Record", &record_);
      SaveValue("Playback", &playback_);
      ::RegCloseKey(key_);
    }
  }
  void TearDown() override {
    if (!existed_) {
      ::RegDeleteKeyA(HKEY_CURRENT_USER, kSoundMapper);
      return;
    }
    ::HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSoundMapper, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
      return;
    RestoreValue(key, "Record", record_);
    RestoreValue(key, "Playback", playback_);
    ::RegCloseKey(key);
  }

  static void CreateKey() {
    ::HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSoundMapper, 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  static void DeleteKey() { ::RegDeleteKeyA(HKEY_CURRENT_USER, kSoundMapper); }

  // A value's type and raw bytes; empty bytes and type 0 when there is none.
  static std::pair<::DWORD, std::string> ReadValue(const char* name) {
    ::HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSoundMapper, 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return {0, ""};
    }
    char data[256] = {};
    ::DWORD size = sizeof data;
    ::DWORD type = 0;
    const bool found = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                          &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return found ? std::make_pair(type, std::string(data, size))
                 : std::make_pair(::DWORD{0}, std::string());
  }

  Calls calls_;
  RecordingHandset handset_{calls_};
  RecordingBridge bridge_{calls_};
  Win32Platform platform_;
  mivo::ControllerDialog controller_{handset_, bridge_, platform_.host()};

 private:
  struct Saved {
    bool present = false;
    ::DWORD type = 0;
    std::string data;
  };
  void SaveValue(const char* name, Saved* saved) {
    char data[1024] = {};
    ::DWORD size = sizeof data;
    saved->present = ::RegQueryValueExA(key_, name, nullptr, &saved->type,
                                        reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    saved->data.assign(data, saved->present ? size : 0);
  }
  static void RestoreValue(::HKEY key, const char* name, const Saved& saved) {
    if (!saved.present) {
      ::RegDeleteValueA(key, name);
      return;
    }
    ::RegSetValueExA(key, name, 0, saved.type, reinterpret_cast<const BYTE*>(saved.data.data()),
                     static_cast<::DWORD>(saved.data.size()));
  }

  bool existed_ = false;
  ::HKEY key_ = nullptr;
  Saved record_;
  Saved playback_;
};

TEST_F(SoundMapperTest, BothValuesAreHundredByteTextsOfTheOtherDevice) {
  CreateKey();
  // Wine has no sound devices, so no handset arrival can name one: the name is set here.
  std::strcpy(controller_.other_audio_device_name, "Speakers (Realtek HD Audio)");
  EXPECT_TRUE(controller_.SetSoundMapperDevices());
  std::string expected = "Speakers (Realtek HD Audio)";
  expected.resize(100, '\0');
  for (const char* name : {"Record", "Playback"}) {
    SCOPED_TRACE(name);
    const auto [type, data] = ReadValue(name);
    EXPECT_EQ(type, static_cast<::DWORD>(REG_SZ));
    EXPECT_EQ(data, expected);
  }
}

TEST_F(SoundMapperTest, AMissingKeyIsNeitherWrittenNorCreated) {
  DeleteKey();
  std::strcpy(controller_.other_audio_device_name, "Speakers");
  EXPECT_FALSE(controller_.SetSoundMapperDevices());
  ::HKEY key = nullptr;
  EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, kSoundMapper, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST(ControlDevice, AbsentDeviceStopsTheDriverSettingsSilently) {
  Win32Platform platform;
  const mivo::Handle device = platform.system.CreateFile("\\\\.\\QRX_AudioExtra0");
  EXPECT_EQ(device, kInvalidHandle);
  const std::uint8_t request[4] = {130, 0, 0, 0};
  EXPECT_FALSE(platform.system.DeviceIoControl(device, 0x222C04, request, sizeof request));
  EXPECT_FALSE(platform.system.CloseHandle(device));

  // The controller stops after the failed open: not even setup.ini is opened.
  Calls calls;
  RecordingHandset handset(calls);
  RecordingBridge bridge(calls);
  mivo::ControllerDialog controller(handset, bridge, platform.host());
  TempFolder folder;
  const std::string directory = folder.path().substr(0, folder.path().size() - 1);
  std::strcpy(controller.program_directory, directory.c_str());
  controller.ApplyUsbAudioSettings();
  EXPECT_EQ(::GetFileAttributesA(folder.File("setup.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace mivo::win32::test

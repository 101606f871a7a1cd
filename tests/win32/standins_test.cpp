// Our UsbPhone_Q5.dll and CallBridge.dll as MivoRun.exe loads them: their exports, what they
// post (and do not post) to the controller's window, the client's number rules across the
// library boundary, the report of a bad world line, and their endpoints of the remote channel.
// Each test loads its own copies of the libraries from a fresh folder, with its own world.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/standins/remote_channel.h"
#include "platform/win32/win32_handset.h"
#include "platform/win32/win32_voip_bridge.h"
#include "tests/win32/test_windows.h"
#include "voip/blocks.h"

namespace mivo::win32::test {
namespace {

namespace channel = standins::channel;

constexpr int kKey5 = KEY_1 + 4;

struct Posted {
  ::UINT message;
  ::WPARAM wparam;
  ::LPARAM lparam;
  std::string text;  // what a pointer in lParam pointed to when the message was handled
};

// A window of the test's thread standing for the controller's: it records every message in
// the libraries' ranges, and reads the texts behind the pointers as the controller would.
class Recorder {
 public:
  Recorder() {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = &Recorder::Proc;
    window_class.hInstance = ::GetModuleHandleA(nullptr);
    window_class.lpszClassName = "StandInTestController";
    ::RegisterClassA(&window_class);
    window_ = ::CreateWindowExA(0, window_class.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                window_class.hInstance, nullptr);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Recorder() { ::DestroyWindow(window_); }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  mivo::HWND handle() const { return FromHwnd(window_); }

  // Handles what is queued now and returns what reached the window since the last call.
  std::vector<Posted> Take() {
    ::MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    std::vector<Posted> taken;
    taken.swap(posted_);
    return taken;
  }
  // The same after `ms` of running the thread's messages (timers of the libraries included).
  std::vector<Posted> TakeAfter(DWORD ms) {
    PumpFor(ms);
    return Take();
  }

 private:
  static ::LRESULT CALLBACK Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
    auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message >= WM_USER + 100 && message <= WM_USER + 210) {
      Posted posted{message, wparam, lparam, {}};
      const auto* text = reinterpret_cast<const char*>(lparam);
      if (message == MSG_CALL_RINGING || message == MSG_CALL_IN_PROGRESS ||
          message == MSG_SECOND_CALL) {
        posted.text = text;
      } else if (message == MSG_HANDSET_KEY && wparam != 1) {
        posted.text.assign(text, 2);
      }
      self->posted_.push_back(posted);
      return 0;
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
  }

  ::HWND window_ = nullptr;
  std::vector<Posted> posted_;
};

std::vector<::UINT> Messages(const std::vector<Posted>& posted) {
  std::vector<::UINT> messages;
  for (const Posted& p : posted) messages.push_back(p.message);
  return messages;
}

void WriteFile(const std::string& path, const std::string& text) {
  ::HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  ::DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<::DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

// Copies of both libraries in a fresh folder with `world` as their world.scn, loaded as the
// program loads them.
class StandInTest : public ::testing::Test {
 protected:
  void Load(const std::string& world) {
    for (const char* name : {"UsbPhone_Q5.dll", "CallBridge.dll"}) {
      ASSERT_TRUE(CopyInto(BuildFolder() + name, folder_.path(), name)) << name;
    }
    WriteFile(folder_.File("world.scn"), world);
    std::string error;
    ASSERT_TRUE(handset_.Load(folder_.path(), &error)) << error;
    ASSERT_TRUE(bridge_.Load(folder_.path(), &error)) << error;
  }

  // Sends one line to an endpoint; the output lines, or "error: WHAT".
  static std::vector<std::string> Send(const char* endpoint, const std::string& line) {
    std::vector<std::string> output;
    std::string error;
    if (!channel::SendLine(channel::FindEndpoint(endpoint), line, &output, &error)) {
      output.push_back("error: " + error);
    }
    return output;
  }
  std::string SendKey(int key, int long_press = 0) {
    char number[kNumberBufferSize + 1] = {};
    int length = -1;
    EXPECT_TRUE(bridge_.fSendKey(key, long_press, number, &length));
    return std::string(number, static_cast<std::size_t>(length));
  }
  int PhoneBookCount() {
    const std::uint8_t* block = nullptr;
    bridge_.fGetFullPhoneBook(&block);
    return blocks::RecordCount(block);
  }

  TempFolder folder_;
  Recorder controller_;
  Win32Handset handset_;
  Win32VoipBridge bridge_;
};

TEST_F(StandInTest, EveryFunctionIsFoundByItsPlainName) {
  // The program's own loader: a missing or decorated name fails it.
  Load("");
  const ::HMODULE module = ::GetModuleHandleA(folder_.File("CallBridge.dll").c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_NE(::GetProcAddress(module, "fGetUnPlayedVoiceMailCount"), nullptr);
  EXPECT_EQ(::GetProcAddress(module, "_fGetUnPlayedVoiceMailCount@0"), nullptr);
}

TEST_F(StandInTest, NothingIsPostedBeforeConnectAndTheWorldSpeaksAtConnect) {
  Load("handset plugged\nclient auto on\nunplayed 2\nonline 1\n");
  // The controller's calls before it connects, a call placed in auto mode among them.
  handset_.fSetLEDOn(1);
  handset_.fSendDisplayLCD_TXT(3, 0, "x", 0, 700, "Tahoma");
  EXPECT_TRUE(handset_.fCheckDriver());
  SendKey(KEY_1);
  SendKey(KEY_CALL);
  bridge_.fCallUser("alice");
  bridge_.fSetOnHold();
  EXPECT_EQ(bridge_.fGetUnPlayedVoiceMailCount(), 2);
  // Past the client's call set-up time: its delayed report must not come either.
  EXPECT_TRUE(controller_.TakeAfter(1800).empty());
  EXPECT_EQ(channel::FindEndpoint(channel::kHandsetEndpoint), nullptr);
  EXPECT_EQ(channel::FindEndpoint(channel::kClientEndpoint), nullptr);

  EXPECT_TRUE(handset_.fConnectDevice(controller_.handle()));
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_HANDSET_ARRIVED});
  EXPECT_TRUE(bridge_.fConnectVoIP(controller_.handle(), 1));
  const auto attached = controller_.Take();
  EXPECT_EQ(Messages(attached),
            (std::vector<::UINT>{MSG_VOIP_ATTACHED, MSG_VOIP_ONLINE, MSG_LANGUAGE}));
  if (attached.size() == 3) {
    EXPECT_EQ(attached[2].lparam, 9);
  }
  EXPECT_NE(channel::FindEndpoint(channel::kHandsetEndpoint), nullptr);
  EXPECT_NE(channel::FindEndpoint(channel::kClientEndpoint), nullptr);

  // Closed, the handset's window and endpoint go; its calls post nothing.
  EXPECT_TRUE(handset_.fCloseDevice());
  EXPECT_EQ(channel::FindEndpoint(channel::kHandsetEndpoint), nullptr);
  EXPECT_EQ(::FindWindowA(nullptr, "Tr520 virtual handset"), nullptr);
  handset_.fSetLEDOn(1);
  EXPECT_TRUE(controller_.TakeAfter(100).empty());
}

TEST_F(StandInTest, NumberRulesHoldAcrossTheLibraryBoundary) {
  Load("");
  EXPECT_EQ(SendKey(KEY_1), "1");
  EXPECT_EQ(SendKey(KEY_0), "10");
  EXPECT_EQ(SendKey(KEY_0, 1), "1+");
  EXPECT_EQ(SendKey(KEY_CANCEL), "1");
  EXPECT_EQ(SendKey(KEY_STAR), "1*");
  EXPECT_EQ(SendKey(KEY_HASH), "1*#");
  EXPECT_EQ(SendKey(KEY_END_CALL), "");

  // Fifty digits fill the caller's buffer without a terminator; the library writes no byte
  // beyond it, and refuses the fifty-first digit.
  for (int i = 0; i < kNumberBufferSize; ++i) SendKey(KEY_9);
  char number[kNumberBufferSize + 8];
  std::memset(number, '?', sizeof number);
  int length = 0;
  ASSERT_TRUE(bridge_.fSendKey(kKey5, 0, number, &length));
  EXPECT_EQ(length, kNumberBufferSize);
  EXPECT_EQ(std::string(number, kNumberBufferSize), std::string(kNumberBufferSize, '9'));
  EXPECT_EQ(std::string(number + kNumberBufferSize, 8), std::string(8, '?'));

  // CALL hands the number back and forgets it; in the call digits are tones.
  EXPECT_EQ(SendKey(KEY_CALL), std::string(kNumberBufferSize, '9'));
  EXPECT_EQ(SendKey(kKey5), "");
  EXPECT_EQ(SendKey(KEY_END_CALL), "");
  EXPECT_EQ(SendKey(kKey5), "5");
}

// Closes the message box captioned "MivoRun.exe" of this process, keeping its text.
int g_boxes = 0;
std::string g_box_text;
void CALLBACK CloseWorldBox(::HWND, ::UINT, ::UINT_PTR, ::DWORD) {
  const ::HWND box = ::FindWindowA("#32770", "MivoRun.exe");
  if (box == nullptr) return;
  ++g_boxes;
  g_box_text = WindowText(::GetDlgItem(box, 0xFFFF));
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(StandInTest, BadWorldLineIsReportedOnceAndTheLinesBeforeItStay) {
  const std::string world = folder_.File("bad.scn");
  const std::string trace = folder_.File("trace.txt");
  WriteFile(world, "contact alice \"Alice\"\r\ncontact\r\ncontact bob \"Bob\"\r\n");
  ::SetEnvironmentVariableA("MIVORUN_WORLD", world.c_str());
  ::SetEnvironmentVariableA("MIVORUN_TRACE", trace.c_str());
  Load("contact carol \"Carol\"\n");  // beside the libraries, and not read
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseWorldBox);

  EXPECT_EQ(PhoneBookCount(), 1);  // the box was up meanwhile
  EXPECT_EQ(g_boxes, 1);
  const std::string expected = world + ": line 2: usage: contact HANDLE";
  EXPECT_EQ(g_box_text.substr(0, expected.size()), expected) << g_box_text;
  EXPECT_EQ(ReadFileText(trace), "error: " + g_box_text + "\n");

  // The handset reads the same world: no second box, no second trace line.
  EXPECT_TRUE(handset_.fCheckDriver());
  PumpFor(200);
  EXPECT_EQ(g_boxes, 1);
  EXPECT_EQ(ReadFileText(trace), "error: " + g_box_text + "\n");
  ::KillTimer(nullptr, timer);
  ::SetEnvironmentVariableA("MIVORUN_WORLD", nullptr);
  ::SetEnvironmentVariableA("MIVORUN_TRACE", nullptr);
}

TEST_F(StandInTest, HandsetEndpointDeliversKeysAndReportsAndShowsTheModel) {
  Load("handset plugged\n");
  handset_.fConnectDevice(controller_.handle());
  controller_.Take();
  const char* handset = channel::kHandsetEndpoint;

  EXPECT_TRUE(Send(handset, "key SKYPE").empty());
  auto posted = controller_.Take();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, static_cast<::UINT>(MSG_HANDSET_KEY));
  EXPECT_EQ(posted[0].wparam, 1u);
  EXPECT_EQ(posted[0].lparam, KEY_SKYPE);

  EXPECT_TRUE(Send(handset, "report 0 0x05").empty());
  posted = controller_.Take();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wparam, 0u);
  EXPECT_EQ(posted[0].text, std::string("\0\x05", 2));

  // press: down now, up after the milliseconds given.
  EXPECT_TRUE(Send(handset, "press 1 30").empty());
  posted = controller_.Take();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].lparam, KEY_1);
  posted = controller_.TakeAfter(300);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].lparam, KEY_RELEASE);

  handset_.fSendDisplayLCD_TXT(3, 0, "Hello", 2, 700, "Tahoma");
  handset_.fSetLEDOn(1);
  EXPECT_EQ(Send(handset, "lcd"),
            (std::vector<std::string>{"row 3 style 2: \"Hello\"@0",
                                      "row 2 style 0:", "row 1 style 0:", "row 0 style 0:"}));
  EXPECT_EQ(Send(handset, "leds"),
            std::vector<std::string>{"leds main=1 hold=0 mute=0 voicemail=0"});

  // Removal: the handset forgets what it showed, and the controller hears of it.
  EXPECT_TRUE(Send(handset, "handset remove").empty());
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_HANDSET_REMOVED});
  EXPECT_EQ(Send(handset, "lcd")[0], "row 3 style 0:");
  EXPECT_EQ(Send(handset, "leds")[0], "leds main=0 hold=0 mute=0 voicemail=0");

  // World lines of the handset.
  EXPECT_TRUE(Send(handset, "driver broken").empty());
  EXPECT_FALSE(handset_.fCheckDriver());
}

TEST_F(StandInTest, EndpointsRefuseMalformedOverlongAndForeignLines) {
  Load("");
  handset_.fConnectDevice(controller_.handle());
  bridge_.fConnectVoIP(controller_.handle(), 1);
  const char* handset = channel::kHandsetEndpoint;
  const char* client = channel::kClientEndpoint;
  const struct {
    const char* endpoint;
    const char* line;
    const char* error;
  } kRefused[] = {
      {handset, "key", "error: usage: key K (a key name or code=N)"},
      {handset, "key NOPE", "error: unknown key \"NOPE\""},
      {handset, "key \"SKYPE", "error: unterminated quoted text"},
      {handset, "frobnicate 1", "error: unknown command \"frobnicate\""},
      {handset, "ring \"Alice\"", "error: ring is not a line of the handset stand-in"},
      {handset, "start", "error: unknown command \"start\""},
      {client, "ring", "error: usage: ring \"TEXT\" [count=N]"},
      {client, "language many", nullptr},
      {client, "lcd", "error: lcd is not a line of the VoIP client stand-in"},
      {client, "time 2026-01-05 09:00:00", "error: time is not a line of the VoIP client stand-in"},
      {client, "key 1", "error: key is not a line of the VoIP client stand-in"},
  };
  for (const auto& refused : kRefused) {
    const auto output = Send(refused.endpoint, refused.line);
    ASSERT_EQ(output.size(), 1u) << refused.line;
    if (refused.error != nullptr) {
      EXPECT_EQ(output[0].substr(0, std::strlen(refused.error)), refused.error) << refused.line;
    } else {
      EXPECT_EQ(output[0].substr(0, 7), "error: ") << refused.line;
    }
  }

  // Raw messages: the longest line runs; one byte more, a line break, a NUL or another kind
  // of data does not.
  const ::HWND endpoint = channel::FindEndpoint(handset);
  const auto raw = [&](const std::string& bytes, ULONG_PTR kind = channel::kRunLine) {
    COPYDATASTRUCT data{kind, static_cast<::DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
    return ::SendMessageA(endpoint, WM_COPYDATA, 0, reinterpret_cast<::LPARAM>(&data));
  };
  std::string longest = "key SKYPE";
  longest.resize(channel::kMaxLineBytes, ' ');
  EXPECT_EQ(raw(longest), channel::kLineDone);
  EXPECT_EQ(raw(longest + " "), channel::kLineRefused);
  EXPECT_EQ(raw("key SKYPE\nkey 1"), channel::kLineRefused);
  EXPECT_EQ(raw(std::string("key 1\0key 2", 11)), channel::kLineRefused);
  EXPECT_EQ(raw("key 1", channel::kOutputLine), channel::kLineRefused);
  COPYDATASTRUCT no_bytes{channel::kRunLine, 5, nullptr};
  EXPECT_EQ(::SendMessageA(endpoint, WM_COPYDATA, 0, reinterpret_cast<::LPARAM>(&no_bytes)),
            channel::kLineRefused);
  std::vector<std::string> output;
  std::string error;
  EXPECT_FALSE(channel::SendLine(endpoint, longest + " ", &output, &error));
  EXPECT_EQ(error, "the line is longer than 1024 bytes");
  // Only the one good line reached the controller.
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_HANDSET_KEY});
  // A blank line and a comment run and do nothing.
  EXPECT_TRUE(Send(handset, "   ").empty());
  EXPECT_TRUE(Send(client, "# far end").empty());
  EXPECT_TRUE(controller_.Take().empty());
}

TEST_F(StandInTest, IdleQueryAnswersWhetherPostedMessagesWait) {
  Load("");
  handset_.fConnectDevice(controller_.handle());
  const ::HWND endpoint = channel::FindEndpoint(channel::kHandsetEndpoint);
  ASSERT_NE(endpoint, nullptr);
  controller_.Take();
  EXPECT_EQ(::SendMessageA(endpoint, channel::kIdleQuery, 0, 0), 1);
  EXPECT_TRUE(Send(channel::kHandsetEndpoint, "key 1").empty());
  EXPECT_EQ(::SendMessageA(endpoint, channel::kIdleQuery, 0, 0), 0);
  EXPECT_EQ(controller_.Take().size(), 1u);
  EXPECT_EQ(::SendMessageA(endpoint, channel::kIdleQuery, 0, 0), 1);
}

TEST_F(StandInTest, ClientEndpointPlaysTheFarEndAsTheScriptRunnerDoes) {
  Load("contact alice \"Alice\"\n");
  bridge_.fConnectVoIP(controller_.handle(), 1);
  controller_.Take();  // a scripted client says nothing at connect
  const char* client = channel::kClientEndpoint;

  EXPECT_TRUE(Send(client, "ring \"Alice Smith\" count=5").empty());
  auto posted = controller_.Take();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, static_cast<::UINT>(MSG_CALL_RINGING));
  EXPECT_EQ(posted[0].wparam, 5u);
  EXPECT_EQ(posted[0].text, "Alice Smith");

  // In progress: digit keys are tones, until the call has finished.
  EXPECT_TRUE(Send(client, "in-progress 12").empty());
  posted = controller_.Take();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].text, "12");
  EXPECT_EQ(SendKey(kKey5), "");
  EXPECT_TRUE(Send(client, "finished").empty());
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_CALL_FINISHED});
  EXPECT_EQ(SendKey(kKey5), "5");

  // World lines change the running client.
  EXPECT_EQ(PhoneBookCount(), 1);
  EXPECT_TRUE(Send(client, "contact bob \"Bob\" status=2").empty());
  EXPECT_EQ(PhoneBookCount(), 2);
  EXPECT_TRUE(Send(client, "missed 3").empty());
  EXPECT_EQ(bridge_.fGetMissedCallCount(), 3);

  // In auto mode the client keeps its calls: the far end's hang-up is reported once, by the
  // client; with no call, the line reports it.
  EXPECT_TRUE(Send(client, "client auto on").empty());
  EXPECT_TRUE(Send(client, "ring \"Bob\"").empty());
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_CALL_RINGING});
  EXPECT_TRUE(Send(client, "finished").empty());
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_CALL_FINISHED});
  EXPECT_TRUE(Send(client, "finished").empty());
  EXPECT_EQ(Messages(controller_.Take()), std::vector<::UINT>{MSG_CALL_FINISHED});
}

}  // namespace
}  // namespace mivo::win32::test

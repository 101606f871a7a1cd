// The tracing layer on its own: each decorator writes its line when the call is made and
// before the call goes on, failures included; a trace that is off makes no line; the texts'
// escapes and bounds; the controller's window written `hwnd`; the file sink; and the port the
// simulated devices run on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/framework.h"
#include "platform/sim/sim_platform.h"
#include "platform/trace/file_sink.h"
#include "platform/trace/trace_text.h"
#include "platform/trace/tracer.h"
#include "platform/trace/tracing_handset.h"
#include "platform/trace/tracing_voip_bridge.h"
#include "platform/trace/tracing_window.h"
#include "tests/harness.h"

namespace mivo {
namespace {

// A sink that keeps its lines.
class LineSink : public trace::TraceSink {
 public:
  void WriteLine(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

// A handset library that fails every call and notes how many trace lines existed when each
// call reached it.
class FailingHandset : public sim::SimHandset {
 public:
  FailingHandset(sim::SimPlatform& sim, const LineSink& sink)
      : SimHandset(sim.loop, sim.world), sink_(sink) {}
  bool fSetLEDOn(int) override { return Seen(); }
  bool fConnectDevice(HWND) override { return Seen(); }
  bool fSendDisplayLCD_TXT(std::uint8_t, int, const char*, int, int, const char*) override {
    return Seen();
  }
  std::vector<std::size_t> lines_seen;

 private:
  bool Seen() {
    lines_seen.push_back(sink_.lines.size());
    return false;
  }
  const LineSink& sink_;
};

// A VoIP bridge that answers every key with a number of its own, as a client does.
class AnsweringBridge : public sim::SimVoipClient {
 public:
  explicit AnsweringBridge(sim::SimPlatform& sim) : SimVoipClient(sim.loop, sim.world) {}
  bool fSendKey(int, int, char* number, int* length) override {
    if (number != nullptr) std::snprintf(number, kNumberBufferSize, "%s", "999");
    if (length != nullptr) *length = 3;
    return true;
  }
};

class TraceLayerTest : public ::testing::Test {
 protected:
  std::ostringstream out_;
  sim::SimPlatform sim_{out_};
  LineSink sink_;
  trace::Tracer tracer_{sink_};
};

TEST_F(TraceLayerTest, TheLineComesBeforeTheCallAndAFailedCallIsTracedToo) {
  FailingHandset inner(sim_, sink_);
  trace::TracingHandset handset(inner, tracer_);
  EXPECT_FALSE(handset.fSetLEDOn(1));
  EXPECT_FALSE(handset.fSendDisplayLCD_TXT(9, 3, "a\"b", 1, 700, nullptr));
  EXPECT_EQ(sink_.lines,
            (std::vector<std::string>{"fSetLEDOn(1)",
                                      "fSendDisplayLCD_TXT(9, 3, \"a\\\"b\", 1, 700, \"\")"}));
  // Each call reached the library with its own line already written.
  EXPECT_EQ(inner.lines_seen, (std::vector<std::size_t>{1, 2}));
}

TEST_F(TraceLayerTest, ATraceThatIsOffMakesNoLineAndFormatsNothing) {
  tracer_.set_enabled(false);
  bool made = false;
  tracer_.Call([&] {
    made = true;
    return std::string("x");
  });
  EXPECT_FALSE(made);
  // The calls still go on; observations are written all the same.
  trace::TracingHandset handset(sim_.handset, tracer_);
  EXPECT_TRUE(handset.fSetLEDOn(1));
  EXPECT_EQ(sim_.handset.leds().main, 1);
  tracer_.Output("lcd");
  EXPECT_EQ(sink_.lines, (std::vector<std::string>{"lcd"}));
  tracer_.set_enabled(true);
  handset.fSetLEDOn(0);
  EXPECT_EQ(sink_.lines.back(), "fSetLEDOn(0)");
}

TEST_F(TraceLayerTest, SendKeyShowsTheBufferAndLengthAsHandedIn) {
  AnsweringBridge inner(sim_);
  trace::TracingVoipBridge bridge(inner, tracer_);
  // A full buffer carries no terminator: the line reads it no further than its 50 bytes.
  auto number = std::make_unique<char[]>(kNumberBufferSize);
  std::memset(number.get(), '7', kNumberBufferSize);
  int length = kNumberBufferSize;
  EXPECT_TRUE(bridge.fSendKey(KEY_1, 0, number.get(), &length));
  EXPECT_EQ(sink_.lines.back(), "fSendKey(" + std::to_string(KEY_1) + ", 0, \"" +
                                    std::string(kNumberBufferSize, '7') + "\", 50)");
  // What the bridge wrote back shows at the next call.
  bridge.fSendKey(KEY_CANCEL, 1, number.get(), &length);
  EXPECT_EQ(sink_.lines.back(), "fSendKey(" + std::to_string(KEY_CANCEL) + ", 1, \"999\", 3)");
  bridge.fSendKey(KEY_9, 0, nullptr, nullptr);
  EXPECT_EQ(sink_.lines.back(), "fSendKey(" + std::to_string(KEY_9) + ", 0, \"\", 0)");
}

TEST(TraceText, EscapesAndBounds) {
  EXPECT_EQ(trace::Quote(std::string("\"\\\x1F\x7F\x80\xFF ok~", 10)),
            "\"\\\"\\\\\\x1F\\x7F\\x80\\xFF ok~\"");
  EXPECT_EQ(trace::Quote(std::string("a\0b", 3)), "\"a\\x00b\"");
  EXPECT_EQ(trace::Quote(nullptr), "\"\"");
  const char field[4] = {'a', 'b', 'c', 'd'};  // no terminator
  EXPECT_EQ(trace::Quote(field, sizeof field), "\"abcd\"");
  EXPECT_EQ(trace::Quote("ab\0cd", 5), "\"ab\"");
}

class ControllerLikeDialog : public Dialog {
 public:
  ControllerLikeDialog(int template_id, WindowHost& host) : Dialog(template_id, host) {}
  const char* CaptionText() const override { return "Info"; }
};

TEST_F(TraceLayerTest, TheControllersWindowIsHwndFromItsCreationAndBoxesAreTraced) {
  trace::TracingWindowHost window(sim_.window, tracer_);
  trace::TracingHandset handset(sim_.handset, tracer_);
  ControllerLikeDialog controller(IDD_CONTROLLER, window);
  ControllerLikeDialog box(IDD_ABOUT, window);
  EXPECT_EQ(tracer_.Window(nullptr), "0");
  sim_.window.set_modal_driver([&] {
    handset.fConnectDevice(controller.m_hWnd);
    handset.fConnectDevice(sim::SimWindowHost::BoxWindow());
    box.DoModal();
    window.ShowWindow(controller.m_hWnd, SW_HIDE);
    window.DestroyWindow(controller.m_hWnd);
  });
  controller.DoModal();
  handset.fConnectDevice(sim::SimWindowHost::MainWindow());  // still the controller's window
  EXPECT_EQ(sink_.lines,
            (std::vector<std::string>{"fConnectDevice(hwnd)", "fConnectDevice(0x10020)",
                                      "DialogBox(100, \"Info\")", "ShowWindow(SW_HIDE)",
                                      "DestroyWindow()", "fConnectDevice(hwnd)"}));
}

TEST_F(TraceLayerTest, ReadsThatChangeNothingAreNotTraced) {
  const Host host = sim_.host();
  sim_.world.pc.mixers.push_back({"Speakers", 100});
  MixerLine line;
  line.component_type = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  DWORD values[2] = {};
  EXPECT_EQ(host.mixer.mixerGetNumDevs(), 1u);
  EXPECT_TRUE(host.mixer.mixerGetLineInfo(0, &line));
  EXPECT_TRUE(host.mixer.mixerGetControlDetails(0, 1, 2, values));
  RegKey key = 0;
  EXPECT_TRUE(host.system.RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE", &key));
  host.system.RegCloseKey(key);
  host.clock.Time();
  host.clock.GetLocalTime();
  EXPECT_EQ(out_.str(), "");
  // A change is.
  const DWORD louder = 200;
  host.mixer.mixerSetControlDetails(0, 1, 1, &louder);
  EXPECT_EQ(out_.str(), "mixerSetControlDetails(200)\n");
}

TEST(FileSink, AppendsLinesEndedByLineFeedAndFlushedAtOnce) {
  const std::string path = ::testing::TempDir() + "trace_layer_test.log";
  std::remove(path.c_str());
  {
    std::ofstream earlier(path, std::ios::binary);
    earlier << "earlier\n";
  }
  trace::FileSink sink(path);
  ASSERT_TRUE(sink.is_open());
  sink.WriteLine("fSetLEDOn(1)");
  sink.WriteLine("SetTimer(2, 500)");
  // Readable while the sink is still open: nothing waits in a buffer.
  std::ifstream in(path, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "earlier\nfSetLEDOn(1)\nSetTimer(2, 500)\n");
  std::remove(path.c_str());

  trace::FileSink nowhere(::testing::TempDir() + "no such folder/trace.log");
  EXPECT_FALSE(nowhere.is_open());
  nowhere.WriteLine("dropped");
}

TEST(DevicePort, TheEventLoopPostsToAWindowAndRunsOrCancelsCallbacks) {
  sim::EventLoop loop;
  std::vector<UINT> got;
  loop.set_target([&](UINT message, WPARAM, LPARAM) -> LRESULT {
    got.push_back(message);
    return 0;
  });
  sim::DevicePort& port = loop;
  EXPECT_FALSE(port.PostTo(nullptr, 1, 0, 0));  // no window, nothing queued
  EXPECT_TRUE(port.PostTo(sim::SimWindowHost::MainWindow(), 2, 0, 0));
  const sim::DevicePort::Token dropped = port.Schedule(100, [&] { got.push_back(3); });
  const sim::DevicePort::Token kept = port.Schedule(100, [&] { got.push_back(4); });
  EXPECT_NE(dropped, kept);
  port.Cancel(dropped);
  port.Cancel(dropped);  // twice: ignored
  port.Cancel(0);
  loop.Advance(99);
  EXPECT_EQ(got, (std::vector<UINT>{2}));
  loop.Advance(1);
  EXPECT_EQ(got, (std::vector<UINT>{2, 4}));
  port.Cancel(kept);  // already run: ignored
}

}  // namespace
}  // namespace mivo

// The event lines shared by the script runner and the stand-in libraries: which source
// delivers each line (the stand-ins route by it), the message it becomes, and the models'
// side of `finished`, which decides whether the line or the client reports the hang-up.
#include "platform/sim/event_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_window.h"

namespace mivo::sim {
namespace {

using Source = DeviceEvent::Source;
using Effect = DeviceEvent::Effect;

DeviceEvent Parse(const std::string& line) {
  std::vector<Word> words = SplitWords(line);
  const std::string name = words.front().text;
  words.erase(words.begin());
  const char* usage = DeviceEventUsage(name);
  return ParseDeviceEvent(ScriptCommand{name, std::move(words), usage ? usage : ""});
}

std::string ParseError(const std::string& line) {
  try {
    Parse(line);
  } catch (const ScriptError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(EventLinesTest, EachLineNamesItsSourceMessageAndText) {
  struct Case {
    const char* line;
    Source source;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    Effect effect;
  };
  const Case cases[] = {
      {"key SKYPE", Source::kHandset, MSG_HANDSET_KEY, 1, KEY_SKYPE, Effect::kNone},
      {"key code=-7", Source::kHandset, MSG_HANDSET_KEY, 1, -7, Effect::kNone},
      {"handset lost", Source::kHandset, MSG_HANDSET_LOST, 0, 0, Effect::kLosePower},
      {"handset plugged", Source::kHandset, 0, 0, 0, Effect::kWorld},
      {"voip online", Source::kClient, MSG_VOIP_ONLINE, 0, 0, Effect::kNone},
      {"language 7", Source::kClient, MSG_LANGUAGE, 0, 7, Effect::kNone},
      {"failed", Source::kClient, MSG_CALL_FAILED, 0, 0, Effect::kDropCall},
      {"finished", Source::kClient, MSG_CALL_FINISHED, 0, 0, Effect::kFarEndHangsUp},
      {"power suspend", Source::kSystem, WM_POWERBROADCAST, PBT_APMSUSPEND, 0, Effect::kLosePower},
      {"mixer-change", Source::kSystem, MM_MIXM_CONTROL_CHANGE, 0, 0, Effect::kNone},
      {"message 5 6 -1", Source::kSystem, 5, 6, -1, Effect::kNone},
  };
  for (const Case& c : cases) {
    const DeviceEvent event = Parse(c.line);
    EXPECT_EQ(event.source, c.source) << c.line;
    EXPECT_EQ(event.message, c.message) << c.line;
    EXPECT_EQ(event.wparam, c.wparam) << c.line;
    EXPECT_EQ(event.lparam, c.lparam) << c.line;
    EXPECT_EQ(event.effect, c.effect) << c.line;
    EXPECT_FALSE(event.text) << c.line;
    EXPECT_FALSE(event.release_after_ms) << c.line;
  }

  const DeviceEvent ring = Parse("ring \"Al\\x00ice\" count=3");
  EXPECT_EQ(ring.wparam, 3u);
  EXPECT_EQ(*ring.text, std::string("Al\0ice", 6));
  EXPECT_EQ(Parse("ring \"Alice\"").wparam, 5u);  // the text's length
  EXPECT_EQ(*Parse("report 0 0xFF 7").text, std::string("\0\xFF\x07", 3));
  EXPECT_EQ(*Parse("second-call 42").text, "42");
  EXPECT_EQ(*Parse("press 1").release_after_ms, 100);
  EXPECT_EQ(*Parse("press # 0").release_after_ms, 0);
}

TEST(EventLinesTest, MalformedLinesAreRefusedInTheRunnersWords) {
  EXPECT_EQ(ParseError("key"), "usage: key K (a key name or code=N)");
  EXPECT_EQ(ParseError("key 5 6"), "usage: key K (a key name or code=N)");
  EXPECT_EQ(ParseError("key FIVE"), "unknown key \"FIVE\"");
  EXPECT_EQ(ParseError("press 1 time=5"), "usage: press K [MS]");
  EXPECT_EQ(ParseError("report 1"), "usage: report B0 B1 ... (at least two bytes)");
  EXPECT_EQ(ParseError("handset unplugged"),
            "usage: handset plugged|arrive|remove|lost|driver-check");
  EXPECT_EQ(ParseError("finished now"), "usage: finished");
  EXPECT_NE(ParseError("report 1 256"), "(accepted)");
  EXPECT_NE(ParseError("press 1 -1"), "(accepted)");
  EXPECT_EQ(DeviceEventUsage("start"), nullptr);
  EXPECT_EQ(DeviceEventUsage("contact"), nullptr);
}

class EventLinesModelTest : public ::testing::Test {
 protected:
  EventLinesModelTest() {
    loop_.set_target([this](UINT m, WPARAM, LPARAM) -> LRESULT {
      posted_.push_back(m);
      return 0;
    });
  }
  std::vector<UINT> Posted() {
    loop_.Pump();
    std::vector<UINT> posted;
    posted.swap(posted_);
    return posted;
  }
  std::string Digit() {
    char number[kNumberBufferSize] = {};
    int length = 0;
    client_.fSendKey(KEY_1, 0, number, &length);
    return std::string(number, static_cast<std::size_t>(length));
  }

  SimWorld world_;
  EventLoop loop_;
  SimHandset handset_{loop_, world_};
  SimVoipClient client_{loop_, world_};
  std::vector<UINT> posted_;
};

TEST_F(EventLinesModelTest, FinishedIsReportedOnceByWhoeverHasTheCall) {
  // A scripted client: the call ends there (digits are the number again) and the line reports.
  client_.fConnectVoIP(SimWindowHost::MainWindow(), 1);
  EXPECT_FALSE(ApplyDeviceEvent(Parse("in-progress 7"), &handset_, &client_, false));
  EXPECT_EQ(Digit(), "");  // a tone
  EXPECT_FALSE(ApplyDeviceEvent(Parse("finished"), &handset_, &client_, false));
  EXPECT_EQ(Digit(), "1");
  EXPECT_TRUE(Posted().empty());

  // In auto mode a client with a call ends it and posts the message itself; without one, the
  // line must.
  world_.voip.auto_mode = true;
  EXPECT_FALSE(ApplyDeviceEvent(Parse("ring \"Bob\""), &handset_, &client_, true));
  EXPECT_TRUE(client_.ringing());
  Posted();
  EXPECT_TRUE(ApplyDeviceEvent(Parse("finished"), &handset_, &client_, true));
  EXPECT_EQ(Posted(), std::vector<UINT>{MSG_CALL_FINISHED});
  EXPECT_FALSE(ApplyDeviceEvent(Parse("finished"), &handset_, &client_, true));
  EXPECT_TRUE(Posted().empty());
}

TEST_F(EventLinesModelTest, RemovalBlanksTheHandsetAndMissingModelsAreSkipped) {
  handset_.fSendDisplayLCD_TXT(3, 0, "Hi", 2, 700, "Tahoma");
  handset_.fSetLEDStatus(1, 1);
  EXPECT_EQ(LcdLines(handset_).front(), "row 3 style 2: \"Hi\"@0");
  EXPECT_EQ(LedsLine(handset_), "leds main=0 hold=0 mute=1 voicemail=0");
  ApplyDeviceEvent(Parse("handset remove"), &handset_, nullptr, false);
  EXPECT_EQ(LcdLines(handset_), (std::vector<std::string>{"row 3 style 0:", "row 2 style 0:",
                                                          "row 1 style 0:", "row 0 style 0:"}));
  EXPECT_EQ(LedsLine(handset_), "leds main=0 hold=0 mute=0 voicemail=0");
  // The client's stand-in has no handset, the handset's no client.
  EXPECT_FALSE(ApplyDeviceEvent(Parse("power suspend"), nullptr, &client_, false));
  EXPECT_FALSE(ApplyDeviceEvent(Parse("finished"), &handset_, nullptr, true));
  EXPECT_FALSE(ApplyDeviceEvent(Parse("ring \"x\""), &handset_, nullptr, false));
}

}  // namespace
}  // namespace mivo::sim

// The simulated VoIP client on its own: the number rules of fSendKey, the binary blocks, and
// the reactions of auto mode, observed through the event loop.
#include "platform/sim/sim_voip_client.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/sim/sim_window.h"
#include "platform/sim/trace.h"
#include "platform/trace/tracing_voip_bridge.h"
#include "voip/blocks.h"

namespace mivo::sim {
namespace {

// The key code of a digit key ("1".."9", "0").
constexpr int Digit(int d) {
  return d == 0 ? KEY_0 : KEY_1 + d - 1;
}

struct Posted {
  UINT message;
  std::string text;  // lParam read as a text at dispatch, for the messages that carry one
  LPARAM lparam;
};

class SimVoipClientTest : public ::testing::Test {
 protected:
  SimVoipClientTest()
      : sink_(out_), trace_(sink_), client_(loop_, world_), traced_(client_, trace_) {
    trace_.set_main_window(SimWindowHost::MainWindow());
    loop_.set_target([this](UINT m, WPARAM, LPARAM l) -> LRESULT {
      const bool has_text = m == MSG_CALL_IN_PROGRESS || m == MSG_SECOND_CALL;
      posted_.push_back({m, has_text ? std::string(reinterpret_cast<const char*>(l)) : "", l});
      return 0;
    });
  }

  // One fSendKey with the controller's habit of zeroing its 50-byte buffer first. The buffer
  // is a heap block of exactly 50 bytes, so a read or write past it is caught.
  std::string Key(int key, int flag = 0) {
    std::memset(buf_.get(), 0, kNumberBufferSize);
    traced_.fSendKey(key, flag, buf_.get(), &len_);
    return std::string(buf_.get(), strnlen(buf_.get(), kNumberBufferSize));
  }

  std::string LastTraceLine() const {
    std::istringstream in(out_.str());
    std::string line, last;
    while (std::getline(in, line)) last = line;
    return last;
  }

  std::vector<UINT> Messages() const {
    std::vector<UINT> out;
    for (const Posted& p : posted_) out.push_back(p.message);
    return out;
  }

  void Connect() {
    world_.voip.auto_mode = true;
    traced_.fConnectVoIP(SimWindowHost::MainWindow(), 1);
    loop_.Pump();
    posted_.clear();
  }

  std::ostringstream out_;
  SimWorld world_;
  EventLoop loop_;
  trace::StreamSink sink_;
  Trace trace_;
  SimVoipClient client_;
  // The client as the controller calls it: behind the tracing layer.
  trace::TracingVoipBridge traced_;
  std::vector<Posted> posted_;
  std::unique_ptr<char[]> buf_ = std::make_unique<char[]>(kNumberBufferSize);
  int len_ = 0;
};

TEST_F(SimVoipClientTest, KeysEditTheNumberAndWriteItBack) {
  EXPECT_EQ(Key(KEY_1), "1");
  EXPECT_EQ(Key(KEY_STAR), "1*");
  EXPECT_EQ(LastTraceLine(), "fSendKey(21, 0, \"\", 1)");  // buffer and length as handed in
  EXPECT_EQ(Key(KEY_HASH), "1*#");
  EXPECT_EQ(Key(KEY_CANCEL), "1*");
  EXPECT_EQ(Key(KEY_0), "1*0");
  EXPECT_EQ(Key(KEY_0, 1), "1*+");  // the '0' just typed, held
  EXPECT_EQ(Key(KEY_0, 1), "1*+");  // no final '0' left to turn
  EXPECT_EQ(Key(KEY_UP), "1*+");    // other keys only write the number back
  EXPECT_EQ(len_, 3);
  // Whatever the caller left in its buffer, the rest is zeroed.
  std::memset(buf_.get(), 'x', kNumberBufferSize);
  traced_.fSendKey(Digit(5), 0, buf_.get(), &len_);
  EXPECT_EQ(std::string(buf_.get()), "1*+5");
  for (int i = 4; i < kNumberBufferSize; ++i) ASSERT_EQ(buf_[i], '\0') << i;
  // No buffer, no length: nothing is written there.
  EXPECT_TRUE(traced_.fSendKey(Digit(2), 0, nullptr, nullptr));
  EXPECT_EQ(LastTraceLine(), "fSendKey(13, 0, \"\", 0)");
  EXPECT_EQ(client_.number(), "1*+52");
}

TEST_F(SimVoipClientTest, FiftyCharactersFillTheBufferWithoutTerminator) {
  for (int i = 0; i < 50; ++i) Key(KEY_1 + i % 9);
  EXPECT_EQ(Key(KEY_0).size(), 50u);  // the 51st is refused, and no zero in the buffer
  EXPECT_EQ(len_, 50);
  EXPECT_EQ(client_.number().back(), '5');
  // The full buffer handed back in is read no further than its 50 bytes.
  traced_.fSendKey(KEY_UP, 0, buf_.get(), &len_);
  EXPECT_EQ(LastTraceLine(), "fSendKey(4, 0, " + trace::Quote(client_.number()) + ", 50)");
  Key(KEY_CANCEL);
  Key(KEY_0);
  EXPECT_EQ(Key(KEY_0, 1).back(), '+');
}

TEST_F(SimVoipClientTest, CallTakesTheNumberAndDigitsAreTonesUntilTheEnd) {
  Key(Digit(5));
  Key(Digit(6));
  EXPECT_EQ(Key(KEY_CALL), "56");  // written back, then forgotten
  EXPECT_EQ(len_, 2);
  EXPECT_TRUE(client_.in_call());
  EXPECT_EQ(Key(Digit(7)), "");  // a tone
  EXPECT_EQ(len_, 0);
  EXPECT_EQ(Key(KEY_END_CALL), "");
  EXPECT_FALSE(client_.in_call());
  EXPECT_EQ(Key(Digit(7)), "7");
  EXPECT_EQ(Key(KEY_END_CALL), "");  // empties the number outside a call too
  Key(KEY_CALL);                     // nothing to call, nothing ringing
  EXPECT_FALSE(client_.in_call());
  // A call placed by name carries tones as well, scripted or in auto mode, until an 11 or
  // the far end's hang-up.
  traced_.fCallUser("alice");
  EXPECT_EQ(Key(Digit(3)), "");
  Key(KEY_END_CALL);
  EXPECT_EQ(Key(Digit(3)), "3");
  Key(KEY_END_CALL);
  world_.voip.auto_mode = true;
  traced_.fCallUser("alice");
  EXPECT_EQ(Key(Digit(3)), "");
  client_.FarEndHangsUp();
  EXPECT_EQ(Key(Digit(3)), "3");
  Key(KEY_END_CALL);
  // So does a call that the client reports in progress (one answered at the PC).
  world_.voip.auto_mode = false;
  client_.NoteCallInProgress();
  EXPECT_TRUE(client_.in_call());
  EXPECT_EQ(Key(Digit(2)), "");
  client_.DropCall();
  EXPECT_EQ(Key(Digit(2)), "2");
  // A call that ended without an 11 (one party ended by id, or a failure) takes no tones.
  world_.voip.auto_mode = false;
  Key(KEY_END_CALL);
  Key(Digit(4));
  Key(KEY_CALL);
  EXPECT_EQ(Key(Digit(5)), "");
  client_.DropCall();
  EXPECT_EQ(Key(Digit(5)), "5");
}

TEST_F(SimVoipClientTest, BlocksHoldTheRecordsAtTheirOffsets) {
  using namespace blocks;
  SimContact c;
  c.handle = "alice.w";
  c.name = "Alice";
  c.status = 2;
  c.time_zone = 90000;
  c.speed = "12";
  c.profile2 = "Berlin";
  world_.voip.contacts = {SimContact{}, c};
  world_.voip.history = {{"7", "bob", "Bob", 3, 8, "2026-01-05 08:00"}};
  for (int i = 0; i < 300; ++i)
    world_.voip.voicemails.push_back({"vm" + std::to_string(i), "h", "N"});

  const std::uint8_t* book = nullptr;
  ASSERT_TRUE(traced_.fGetFullPhoneBook(&book));
  EXPECT_EQ(std::memcmp(book, "\x02\0\0\0", 4), 0);
  const auto* r = book + 4 + 404;
  EXPECT_EQ(ReadInt32(r + 4), 2);
  EXPECT_EQ(ReadInt32(r + 12), 90000);
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 16), "alice.w");
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 144), "Alice");
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 208), "UNKNOWN");
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 272), "Berlin");
  EXPECT_EQ(std::memcmp(r + 400, "12\0\0", 4), 0);

  const std::uint8_t* calls = nullptr;
  ASSERT_TRUE(traced_.fGetCalls(&calls));
  EXPECT_EQ(ReadInt32(calls + 4), 8);
  EXPECT_EQ(ReadInt32(calls + 4 + 4), 3);
  EXPECT_STREQ(reinterpret_cast<const char*>(calls + 4 + 12), "7");
  EXPECT_STREQ(reinterpret_cast<const char*>(calls + 4 + 28), "2026-01-05 08:00");
  EXPECT_STREQ(reinterpret_cast<const char*>(calls + 4 + 92), "bob");
  EXPECT_STREQ(reinterpret_cast<const char*>(calls + 4 + 156), "Bob");

  const std::uint8_t* vm = nullptr;
  ASSERT_TRUE(traced_.fGetVoiceMails(&vm));
  EXPECT_EQ(std::memcmp(vm, "\x2C\x01\0\0", 4), 0);  // 300, little-endian
  EXPECT_STREQ(reinterpret_cast<const char*>(vm + 4 + 139), "vm1");
  EXPECT_STREQ(reinterpret_cast<const char*>(vm + 4 + 139 + 10), "h");
  EXPECT_STREQ(reinterpret_cast<const char*>(vm + 4 + 139 + 74), "N");
  EXPECT_STREQ(reinterpret_cast<const char*>(vm + 4 + 299 * 139), "vm299");
}

TEST_F(SimVoipClientTest, OverlongTextsAreCutTerminatedUnlessTheHookSaysOtherwise) {
  world_.voip.voicemails = {{"0123456789ABC", std::string(100, 'h'), std::string(100, 'n')}};
  const std::uint8_t* vm = nullptr;
  traced_.fGetVoiceMails(&vm);
  EXPECT_STREQ(reinterpret_cast<const char*>(vm + 4), "012345678");
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(vm + 4 + 74)), 64u);
  client_.set_unterminated_texts(true);
  traced_.fGetVoiceMails(&vm);
  EXPECT_EQ(vm[4 + 9], '9');
  EXPECT_EQ(vm[4 + 138], 'n');  // the record's last byte
}

TEST_F(SimVoipClientTest, NextFetchReplacesTheBlockAndNullAddressIsRefused) {
  world_.voip.contacts = {SimContact{}};
  const std::uint8_t* first = nullptr;
  traced_.fGetFullPhoneBook(&first);
  world_.voip.contacts[0].status = 5;  // same size: freeing first would hand back the address
  const std::uint8_t* second = nullptr;
  traced_.fGetFullPhoneBook(&second);
  EXPECT_NE(first, second);  // the new block is made before the old one goes
  EXPECT_EQ(blocks::ReadInt32(second + 4 + 4), 5);
  EXPECT_FALSE(traced_.fGetFullPhoneBook(nullptr));
  EXPECT_FALSE(traced_.fGetActiveCalls(nullptr));
  EXPECT_EQ(LastTraceLine(), "fGetActiveCalls()");
  EXPECT_EQ(blocks::ReadInt32(second + 4 + 4), 5);  // a refused fetch leaves it valid
}

TEST_F(SimVoipClientTest, WithoutAutoModeNothingIsEverPosted) {
  world_.voip.unplayed = 1;
  traced_.fConnectVoIP(SimWindowHost::MainWindow(), 1);
  EXPECT_EQ(LastTraceLine(), "fConnectVoIP(hwnd, 1)");
  Key(Digit(5));
  Key(KEY_CALL);
  traced_.fSetOnHold();
  traced_.fCallUser("bob");
  traced_.fSending("open voicemail 1");
  client_.NoteRinging("carol");
  Key(KEY_CALL);
  client_.FarEndHangsUp();
  loop_.Advance(10000);
  EXPECT_TRUE(posted_.empty());
  EXPECT_TRUE(world_.voip.active.empty());
  EXPECT_EQ(world_.voip.unplayed, 1);
}

TEST_F(SimVoipClientTest, AutoModeConnectsAndReportsCallProgress) {
  world_.voip.auto_mode = true;
  world_.voip.language = 7;
  traced_.fConnectVoIP(SimWindowHost::MainWindow(), 1);
  loop_.Pump();
  ASSERT_EQ(Messages(), (std::vector<UINT>{MSG_VOIP_ATTACHED, MSG_VOIP_ONLINE, MSG_LANGUAGE}));
  EXPECT_EQ(posted_[2].lparam, 7);
  posted_.clear();

  traced_.fCallUser("alice");
  loop_.Advance(1400);
  EXPECT_TRUE(posted_.empty());
  loop_.Advance(200);
  ASSERT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_IN_PROGRESS}));
  ASSERT_EQ(world_.voip.active.size(), 1u);
  EXPECT_EQ(posted_[0].text, world_.voip.active[0].id);
  traced_.fSetOnHold();
  traced_.fSetInProgress();
  Key(KEY_END_CALL);
  Key(KEY_END_CALL);  // nothing left to end: no second message, no loop with the controller
  loop_.Pump();
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_IN_PROGRESS, MSG_CALL_ON_HOLD, MSG_CALL_RESUMED,
                                           MSG_CALL_FINISHED}));
  EXPECT_TRUE(world_.voip.active.empty());

  // A call ended while it is being set up never goes in progress.
  posted_.clear();
  Key(Digit(4));
  Key(KEY_CALL);
  loop_.Advance(500);
  Key(KEY_END_CALL);
  loop_.Advance(5000);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_FINISHED}));
}

TEST_F(SimVoipClientTest, AutoModeAnswersRingingAndBuildsConferences) {
  Connect();
  client_.NoteRinging("bob");
  Key(KEY_CALL);
  loop_.Pump();
  ASSERT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_IN_PROGRESS}));
  const std::string first = posted_[0].text;
  posted_.clear();

  traced_.fSetCallOnHold(first.c_str());
  traced_.fCallUser("carol,dave");
  loop_.Advance(1500);
  ASSERT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_ON_HOLD, MSG_SECOND_CALL, MSG_SECOND_CALL}));
  EXPECT_NE(posted_[1].text, posted_[2].text);
  ASSERT_EQ(world_.voip.active.size(), 3u);
  posted_.clear();

  // Parties leave one by one; the last one ends the call.
  traced_.fSetCallFinished(first.c_str());
  traced_.fSetCallFinished(world_.voip.active[0].id.c_str());
  loop_.Pump();
  EXPECT_TRUE(posted_.empty());
  traced_.fSetCallFinished(world_.voip.active[0].id.c_str());
  loop_.Pump();
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_CALL_FINISHED}));
  EXPECT_FALSE(client_.in_call());
}

TEST_F(SimVoipClientTest, AutoModePlaysVoicemailsToTheEndUnlessClosed) {
  world_.voip.unplayed = 2;
  Connect();
  traced_.fSending("open voicemail 42");
  loop_.Advance(5000);
  EXPECT_EQ(Messages(), (std::vector<UINT>{MSG_VOICEMAIL_CHANGED, MSG_VOICEMAIL_ENDED}));
  EXPECT_EQ(world_.voip.unplayed, 1);
  posted_.clear();
  // Played again: counted once only; closed early: no end reported.
  traced_.fSending("open voicemail 42");
  loop_.Advance(1000);
  traced_.fSending("close voicemail 42");
  loop_.Advance(10000);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(world_.voip.unplayed, 1);
}

}  // namespace
}  // namespace mivo::sim

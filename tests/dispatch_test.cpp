// The event dispatch on the simulated platform: the reaction to each message, observed in the
// trace and the controller's fields.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "tests/harness.h"

namespace mivo::test {
namespace {

LPARAM Ptr(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

// Every line stands in the trace, each after the one before.
::testing::AssertionResult InOrder(const Harness& h, const std::vector<std::string>& expected) {
  const std::vector<std::string> lines = h.Lines();
  std::size_t at = 0;
  for (const std::string& want : expected) {
    while (at < lines.size() && lines[at] != want) ++at;
    if (at == lines.size())
      return ::testing::AssertionFailure() << "missing or out of order: " << want << "\n"
                                           << h.Text();
    ++at;
  }
  return ::testing::AssertionSuccess();
}

TEST(Dispatch, KeyCodeByValueOrBySignedReportByte) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_VOIP_ONLINE);
    h.Key(KEY_HASH);
    EXPECT_EQ(c.held_key, KEY_HASH);
    const std::uint8_t minus_one[2] = {0x00, 0xFF};
    h.Post(MSG_HANDSET_KEY, 0, Ptr(minus_one));
    EXPECT_EQ(c.held_key, -1);
    const std::uint8_t hash[3] = {0x07, KEY_HASH, 0x00};
    h.Post(MSG_HANDSET_KEY, 2, Ptr(hash));
    EXPECT_EQ(c.held_key, KEY_HASH);
    // No report: the LED lights, no key is dispatched.
    h.ClearTrace();
    h.Post(MSG_HANDSET_KEY, 0, 0);
    EXPECT_EQ(c.held_key, KEY_HASH);
    EXPECT_EQ(h.Lines(), (std::vector<std::string>{"fSetLEDOn(1)", "SetTimer(1003, 20000)"}));
  });
}

TEST(Dispatch, RingingAndInProgressKeepTheirBuffersWhateverTheMessage) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    const std::string long_text(100, 'x');
    h.Post(MSG_CALL_RINGING, 100, Ptr(long_text.c_str()));
    EXPECT_EQ(std::string(c.caller_text), std::string(63, 'x'));
    // The count is unsigned, as strncpy's: one beyond every text takes the whole text.
    const std::string caller = "Alice Example";
    h.Post(MSG_CALL_RINGING, static_cast<WPARAM>(-1), Ptr(caller.c_str()));
    EXPECT_STREQ(c.caller_text, "Alice Example");
    h.Post(MSG_CALL_RINGING, 0xFFFFFFFFu, Ptr(caller.c_str()));
    EXPECT_STREQ(c.caller_text, "Alice Example");
    h.Post(MSG_CALL_RINGING, 5, Ptr(caller.c_str()));
    EXPECT_STREQ(c.caller_text, "Alice");
    h.Post(MSG_CALL_RINGING, 0, Ptr(caller.c_str()));
    EXPECT_STREQ(c.caller_text, "");
    // No text: the ring is shown and blinks with an empty caller.
    h.ClearTrace();
    h.Post(MSG_CALL_RINGING, 5, 0);
    EXPECT_STREQ(c.caller_text, "");
    EXPECT_TRUE(InOrder(h, {"KillTimer(1004)", "SetTimer(1004, 500)"}));
    CopyText(c.active_call_id, "old");
    h.Post(MSG_CALL_IN_PROGRESS, 0, 0);
    EXPECT_STREQ(c.active_call_id, "");
    EXPECT_TRUE(c.call_active);
  });
}

TEST(Dispatch, SecondCallJoinsOnlyAHeldCallAndOnlyWhenTheCommandFits) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    const std::string held = "100", second = "200";
    const std::string too_long(50, '7');
    h.Post(MSG_CALL_IN_PROGRESS, 0, Ptr(held.c_str()));
    h.ClearTrace();
    h.Post(MSG_SECOND_CALL, 0, Ptr(second.c_str()));  // not held
    h.Post(MSG_CALL_ON_HOLD);
    h.Post(MSG_SECOND_CALL, 0, Ptr(too_long.c_str()));
    h.Post(MSG_SECOND_CALL, 0, 0);
    EXPECT_FALSE(h.Has(R"(fSetCallInProgress("100"))"));
    for (const std::string& line : h.Lines())
      EXPECT_EQ(line.rfind("fSending(", 0), std::string::npos);
    EXPECT_NE(c.screen, SCREEN_CALL_WITH);
    h.Post(MSG_SECOND_CALL, 0, Ptr(second.c_str()));
    EXPECT_TRUE(InOrder(
        h, {R"(fSending("set call 200 join_conference 100"))", R"(fSetCallInProgress("100"))"}));
    EXPECT_EQ(c.screen, SCREEN_CALL_WITH);
  });
}

TEST(Dispatch, OnlyTheMixerNamesKeptAreLookedAt) {
  Harness h;
  for (int i = 0; i < kMaxMixers; ++i) h.world().pc.mixers.push_back({"Speakers", 32768});
  h.world().pc.mixers.push_back({"USB Audio Device", 32768});
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_HANDSET_ARRIVED);
    EXPECT_EQ(c.usb_mixer_index, -1);
    EXPECT_STREQ(c.other_audio_device_name, "Speakers");
    EXPECT_FALSE(h.Has("mixerOpen(8)"));
    EXPECT_TRUE(c.handset_present);
  });
}

}  // namespace
}  // namespace mivo::test

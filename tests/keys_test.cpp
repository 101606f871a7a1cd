// The key dispatcher with input that the screens never produce themselves: screen values and
// key codes outside the tables, and cursors left outside their lists. (The meaning of each
// key on each screen is covered by the keys_*.scn scenarios.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/harness.h"

namespace mivo {
namespace {

// The trace lines of a key handling, without the main-LED lighting that every key report
// does before it reaches the dispatcher.
std::vector<std::string> KeyCalls(const test::Harness& h) {
  std::vector<std::string> calls;
  for (const std::string& line : h.Lines()) {
    if (line == "fSetLEDOn(1)" || line == "SetTimer(1003, 20000)") continue;
    calls.push_back(line);
  }
  return calls;
}

class KeysTest : public ::testing::Test {
 protected:
  // Brings the client on line (keys are dispatched only then) and forgets the trace so far.
  void Online() {
    h.Post(MSG_VOIP_ONLINE);
    h.Wait(200);  // past the start-up's hiding of the window
    h.ClearTrace();
  }

  test::Harness h;
};

TEST_F(KeysTest, UnknownScreensAndCodesOnlyRunTheCommonSteps) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.screen = 42;
    h.Key(KEY_SKYPE);
    h.Key(KEY_CANCEL);
    EXPECT_EQ(c.screen, 42);
    EXPECT_EQ(c.held_key, KEY_CANCEL);
    EXPECT_EQ(KeyCalls(h), (std::vector<std::string>{"KillTimer(10)", "SetTimer(10, 1500)"}));

    h.ClearTrace();
    c.screen = SCREEN_DIALING;
    const unsigned char report[2] = {0, 0xFF};  // byte 1 is the signed key code -1
    h.Post(MSG_HANDSET_KEY, 0, reinterpret_cast<LPARAM>(report));
    h.Key(1000);
    EXPECT_EQ(c.held_key, 1000);
    EXPECT_EQ(c.last_letter_key, 1000);
    EXPECT_EQ(c.screen, SCREEN_DIALING);
    EXPECT_TRUE(KeyCalls(h).empty());
  });
}

TEST_F(KeysTest, OnlyANewKeyThatReachesTheScreensRestartsTheLetterCycle) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.screen = SCREEN_IDLE;  // the digits do nothing here: the count shows the dispatcher alone
    const int key3 = KEY_1 + 2;
    h.Key(key3);
    EXPECT_EQ(c.last_letter_key, key3);
    EXPECT_EQ(c.letter_press_count, 0);

    // Releases and the keys handled before the screens (hold, mute, volume) leave the cycle.
    c.letter_press_count = 5;
    for (int key : {KEY_RELEASE, KEY_HOLD, KEY_MUTE, KEY_VOL_UP, KEY_RELEASE, key3}) h.Key(key);
    EXPECT_EQ(c.last_letter_key, key3);
    EXPECT_EQ(c.letter_press_count, 5);

    h.Key(key3 + 1);
    EXPECT_EQ(c.last_letter_key, key3 + 1);
    EXPECT_EQ(c.letter_press_count, 0);
  });
}

TEST_F(KeysTest, CursorOutsideItsListDoesNothing) {
  h.world().voip.voicemails.push_back({"7", "alice", "Alice"});
  h.Run([&](ControllerDialog& c) {
    Online();
    h.Key(KEY_VOICE_MAIL);  // the inbox with its one voicemail selected
    ASSERT_EQ(c.screen, SCREEN_VOICEMAIL_INBOX);

    h.ClearTrace();
    c.voicemail_cursor = 2;  // beyond the single record
    h.Key(KEY_SKYPE);        // play
    h.Key(KEY_CALL);         // call back
    c.screen = SCREEN_IDLE;
    h.Key(KEY_END_CALL);  // hangs up, but no close command for a row that is not there
    EXPECT_EQ(KeyCalls(h), (std::vector<std::string>{"fSendKey(11, 0, \"\", 0)"}));

    c.contact_count = 0;
    c.contact_cursor = 1;  // a cursor left over from an earlier, longer contact list
    c.screen = SCREEN_CONTACT_LIST;
    h.ClearTrace();
    h.Key(KEY_SKYPE);
    h.Key(KEY_CALL);
    EXPECT_EQ(c.screen, SCREEN_CONTACT_LIST);
    EXPECT_TRUE(KeyCalls(h).empty());

    c.screen = SCREEN_CALL_WITH;
    c.participant_count = 0;
    h.Key(KEY_END_CALL);  // a row that is no longer there ends nothing
    EXPECT_TRUE(KeyCalls(h).empty());
  });
}

}  // namespace
}  // namespace mivo

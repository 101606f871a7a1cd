// The call procedures at their limits: a full number, a long conference target list, a
// conference during a call, a full call page, and answering while a number is typed. (The
// everyday paths are covered by the keys_*.scn and call_*.scn scenarios.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/text.h"
#include "tests/harness.h"

namespace mivo {
namespace {

int CountLines(const test::Harness& h, const std::string& prefix) {
  int n = 0;
  for (const std::string& line : h.Lines()) n += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

void AddParticipant(ControllerDialog& c, const char* handle, const char* call_id, int index) {
  Participant& p = c.participants[c.participant_count++];
  CopyText(p.handle, handle);
  CopyText(p.name, handle);
  CopyText(p.call_id, call_id);
  p.contact_index = index;
}

class CallControlTest : public ::testing::Test {
 protected:
  void Online() {
    h.Post(MSG_VOIP_ONLINE);
    h.Wait(200);  // past the start-up's hiding of the window
    h.ClearTrace();
  }
  void Active(const std::string& id, const std::string& handle, const std::string& name) {
    sim::SimCall call;
    call.id = id;
    call.handle = handle;
    call.name = name;
    h.world().voip.active.push_back(call);
  }

  test::Harness h;
};

TEST_F(CallControlTest, NumberEntryStopsAtFiftyCharacters) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.screen = SCREEN_IDLE;
    h.Press(KEY_0);  // the dial pad
    ASSERT_EQ(c.screen, SCREEN_DIAL_PAD);
    for (int i = 0; i < 50; ++i) h.Press(KEY_1 + i % 9);
    ASSERT_EQ(c.dial_len, 50);
    EXPECT_EQ(c.dial_buf[50], 0);  // the full number stays terminated
    h.ClearTrace();
    h.Press(KEY_1);
    EXPECT_EQ(CountLines(h, "fSendKey("), 0);
    EXPECT_EQ(CountLines(h, "fSendDisplayLCD_TXT("), 0);
    EXPECT_EQ(c.dial_len, 50);
  });
}

TEST_F(CallControlTest, ConferenceTargetsAreNeverCut) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.screen = SCREEN_CONFERENCE_LIST;
    const std::string a(60, 'a'), b(60, 'b'), d(60, 'd');
    AddParticipant(c, a.c_str(), "", 0);
    AddParticipant(c, b.c_str(), "", 1);
    AddParticipant(c, d.c_str(), "", 2);  // would pass 127 characters: left out whole
    AddParticipant(c, "x", "", 3);        // still fits after it
    h.Key(KEY_CALL);
    EXPECT_TRUE(h.Has("fCallUser(\"" + a + "," + b + ",x\")"));
  });
}

TEST_F(CallControlTest, ConferenceDuringACallAddsOnlyTheOthers) {
  Active("101", "alice", "Alice");
  h.Run([&](ControllerDialog& c) {
    Online();
    c.call_active = true;
    CopyText(c.active_call_id, "101");
    c.screen = SCREEN_CONFERENCE_LIST;
    AddParticipant(c, "alice", "", 0);
    h.Key(KEY_CALL);  // the only participant is already in the call
    EXPECT_EQ(CountLines(h, "fSetCallOnHold("), 0);
    EXPECT_EQ(CountLines(h, "fCallUser("), 0);

    AddParticipant(c, "bob", "", 1);
    h.ClearTrace();
    h.Key(KEY_CALL);
    const int hold = h.Find("fSetCallOnHold(\"101\")");
    ASSERT_GE(hold, 0);
    EXPECT_EQ(h.Find("fCallUser(\"bob\")"), hold + 1);
    EXPECT_EQ(c.screen, SCREEN_CONFERENCE_LIST);
  });
}

TEST_F(CallControlTest, EndingThePartiesOfAConferenceOneByOne) {
  for (const char* handle : {"alice", "bob", "carol"}) {
    sim::SimContact contact;
    contact.handle = handle;
    contact.name = handle;
    h.world().voip.contacts.push_back(contact);
  }
  Active("601", "bob", "bob");
  Active("602", "carol", "carol");
  h.Run([&](ControllerDialog& c) {
    Online();
    c.FetchContacts();
    c.call_active = true;
    CopyText(c.active_call_id, "600");
    // Bob was added when the table still had him in its first row; it now holds Alice.
    AddParticipant(c, "bob", "", 0);
    AddParticipant(c, "carol", "", 2);
    c.DrawCallWithList(LIST_RESET);
    h.Press(KEY_DOWN);
    ASSERT_EQ(c.contact_cursor, 1);

    h.ClearTrace();
    h.Press(KEY_END_CALL);  // Bob's call ends and Bob, not Alice, leaves the list
    EXPECT_TRUE(h.Has("fSetCallFinished(\"601\")"));
    ASSERT_EQ(c.participant_count, 1);
    EXPECT_STREQ(c.participants[0].handle, "carol");
    EXPECT_EQ(c.screen, SCREEN_CALL_WITH);

    // The client ends the call while Carol's row is selected: only her call ends, and with
    // the last party gone the idle page shows.
    h.Press(KEY_DOWN);
    ASSERT_EQ(c.contact_cursor, 1);
    h.ClearTrace();
    h.Post(MSG_CALL_FINISHED);
    EXPECT_TRUE(h.Has("fSetCallFinished(\"602\")"));
    EXPECT_EQ(CountLines(h, "fSendKey("), 0);
    EXPECT_EQ(c.participant_count, 0);
    EXPECT_EQ(c.screen, SCREEN_IDLE);
  });
}

TEST_F(CallControlTest, TonesGoOnAfterTheCallPageIsFull) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.call_active = true;
    c.DrawCallPage("Alice", 1);
    h.Press(KEY_1);
    h.Press(KEY_HASH);
    EXPECT_STREQ(c.call_digits, "Alice1#");
    for (int i = 0; i < 60; ++i) h.Key(KEY_STAR);
    EXPECT_EQ(std::strlen(c.call_digits), 49u);
    h.ClearTrace();
    h.Key(KEY_1 + 8);
    EXPECT_EQ(CountLines(h, "fSendKey(20, 0,"), 1);
    EXPECT_EQ(c.call_digits[48], '*');
  });
}

TEST_F(CallControlTest, AnsweringKeepsTheTypedNumberOutOfItsScratch) {
  h.Run([&](ControllerDialog& c) {
    Online();
    c.screen = SCREEN_DIAL_PAD;
    for (int i = 0; i < 40; ++i) h.Key(KEY_1);  // a long number left in the bridge
    const std::string caller = "Carol";
    h.Post(MSG_CALL_RINGING, caller.size(), reinterpret_cast<LPARAM>(caller.c_str()));
    ASSERT_EQ(c.screen, SCREEN_INCOMING_CALL);
    h.Key(KEY_CALL);
    EXPECT_TRUE(h.Has("fSendKey(9, 0, \"\", 0)"));
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    EXPECT_STREQ(c.caller_text, "Carol");
  });
}

}  // namespace
}  // namespace mivo

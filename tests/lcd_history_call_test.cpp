// The call-history and voicemail pages, the call pages and the redraw of the current screen on
// the simulated handset: the cases the scenarios do not reach (bounds, clocks, empty lists).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "tests/harness.h"
#include "voip/blocks.h"

namespace mivo::test {
namespace {

using Rows = std::vector<std::string>;

void AddCall(Harness& h, const std::string& id, int type, int status,
             const std::string& time = "2006/11/05 03:45 PM") {
  sim::SimCall call;
  call.id = id;
  call.handle = "h" + id;
  call.name = "n" + id;
  call.type = type;
  call.status = status;
  call.time = time;
  h.world().voip.history.push_back(call);
}

TEST(LcdHistory, IncomingCallsInEnglish) {
  Harness h;
  AddCall(h, "1", 0, 2);
  AddCall(h, "2", 2, 8);  // missed
  AddCall(h, "3", 1, 0);  // outgoing
  AddCall(h, "4", 2, 1);
  h.Run([&](ControllerDialog& c) {
    c.FetchCalls();
    c.OpenIncomingCalls();
    EXPECT_EQ(c.screen, SCREEN_HISTORY_INCOMING);
    EXPECT_EQ(blocks::RecordCount(c.history_list), 2);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: \"n1\"@0");
    EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"2006/11/05 03:45 pm\"@0");
    c.DrawHistoryEntry(LIST_DOWN, "");
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: \"n4\"@0");
    EXPECT_TRUE(h.Has("fSetCallSeen(\"4\")"));
  });
}

TEST(LcdHistory, MidnightAndShortTimeTextsOutsideEnglish) {
  Harness h;
  AddCall(h, "1", 1, 0, "2006/11/05 12:10 AM");
  AddCall(h, "2", 1, 0, "11:45 PM");  // too short to hold the hour positions
  h.Run([&](ControllerDialog& c) {
    c.language_id = 12;
    c.FetchCalls();
    c.OpenOutgoingCalls();
    EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"2006/11/05 00:10\"@0");
    c.DrawHistoryEntry(LIST_DOWN, "");
    EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"11:45 pm\"@0");
  });
}

TEST(LcdHistory, EmptyListsAndCursorsOutsideTheList) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    // Never opened: no list at all; the title is cut to 29 characters.
    c.DrawHistoryEntry(LIST_DOWN, "A title much longer than twenty-nine characters");
    EXPECT_STREQ(c.history_title, "A title much longer than twen");
    c.FetchCalls();
    c.OpenMissedCalls();  // an empty title (no language loaded) keeps the one shown
    h.ClearTrace();
    c.DrawHistoryEntry(LIST_UP, "");
    EXPECT_EQ(
        h.Lines(),
        (Rows{"fClearDisplay2()",
              "fSendDisplayLCD_TXT(3, 0, \"A title much longer than twen\", 2, 700, \"Tahoma\")"}));

    AddCall(h, "1", 0, 0);
    c.FetchCalls();
    c.OpenIncomingCalls();
    c.history_cursor = 7;  // beyond the list: the title only, nothing read or marked
    h.ClearTrace();
    c.RedrawCurrentScreen();
    EXPECT_EQ(h.Lines().size(), 2u) << h.Text();
  });
}

TEST(LcdHistory, VoicemailMenuUpStaysOnInboxAndOpenShowsTheFirstVoicemail) {
  Harness h;
  h.world().voip.voicemails.push_back({"vm1", "ann", "Ann"});
  h.Run([&](ControllerDialog& c) {
    c.ShowVoicemailMenu(1);
    c.DrawVoicemailMenu(LIST_UP);
    EXPECT_EQ(c.voicemail_menu_selection, 1);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 1: \"\"@0");
    h.ClearTrace();
    c.DrawVoicemailMenu(LIST_OPEN);
    EXPECT_EQ(h.Lines().front(), "fGetVoiceMails()");
    EXPECT_EQ(c.screen, SCREEN_VOICEMAIL_INBOX);
    EXPECT_EQ(c.voicemail_cursor, 1);
    EXPECT_TRUE(h.Has("fSendDisplayLCD_TXT2(2, 0, \"Ann\", 1, 0, \"Tahoma\", 15, 0)"));
  });
}

// At the ends of a non-empty list the inbox redraws and re-arms the repeat timer of the held
// key, while the call-with list redraws without ever arming it.
TEST(LcdHistory, InboxAndCallWithListAtTheirEnds) {
  Harness h;
  h.world().voip.voicemails.push_back({"vm1", "ann", "Ann"});
  h.Run([&](ControllerDialog& c) {
    c.FetchVoicemails();
    c.DrawVoicemailInbox(LIST_FIRST);
    c.held_key = KEY_UP;
    h.ClearTrace();
    c.DrawVoicemailInbox(LIST_UP);
    EXPECT_EQ(h.Lines(), (Rows{"fSendDisplayLCD_TXT(3, 0, \"\", 2, 700, \"Tahoma\")",
                               "fSendDisplayLCD_TXT2(2, 0, \"Ann\", 1, 0, \"Tahoma\", 15, 0)",
                               "fClearRow(1)", "fClearRow(0)", "SetTimer(104, 750)"}));
    EXPECT_EQ(c.voicemail_cursor, 1);

    c.participant_count = 1;
    CopyText(c.participants[0].name, "Bea");
    c.DrawCallWithList(LIST_FIRST);
    c.held_key = KEY_DOWN;
    h.ClearTrace();
    c.DrawCallWithList(LIST_DOWN);
    EXPECT_EQ(h.Lines(), (Rows{"fSendDisplayLCD_TXT(3, 0, \"\", 2, 700, \"Tahoma\")",
                               "fSendDisplayLCD_TXT(2, 0, \"Bea\", 1, 0, \"Tahoma\")",
                               "fClearRow(1)", "fClearRow(0)"}));
    EXPECT_EQ(c.contact_cursor, 1);
  });
}

TEST(LcdCallPages, CallPageRemembersItsPartyAndMode) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    CopyText(c.text_play_voicemail, "Voicemail");
    c.DrawCallPage("Alice", 1);
    EXPECT_TRUE(h.Has("fSendDisplayLCD_TXT2(2, 0, \"Alice\", 0, 0, \"Tahoma\", 17, 1)"));
    // Digits typed during the call grow the party text; the mode stays.
    AppendText(c.call_digits, "12#");
    c.DrawCallPage(c.call_digits, -10);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: \"Alice12#\"@0");
    EXPECT_EQ(c.call_page_mode, 1);

    const std::string long_party(80, 'x');
    c.DrawCallPage(long_party.c_str(), 2);
    EXPECT_EQ(std::string(c.call_digits), std::string(49, 'x'));
    h.ClearTrace();
    c.DrawCallPage(nullptr, -10);
    EXPECT_EQ(h.Lcd()[0], "row 3 style 2: \"Voicemail\"@0");
    EXPECT_EQ(c.call_page_mode, 2);
  });
}

TEST(LcdCallPages, CallClockRow) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    h.ClearTrace();
    c.DrawCallClock();  // no call: nothing
    EXPECT_TRUE(h.Lines().empty());
    c.call_active = true;
    c.call_start_time = static_cast<std::int32_t>(h.sim().clock.Time()) - 25 * 3600 - 62;
    c.DrawCallClock();
    EXPECT_EQ(h.Lcd()[3], "row 0 style 0: \"09:00am  01:01:02\"@0");
    c.language_id = 7;
    c.call_start_time += 30 * 3600;  // the PC's clock was set back during the call
    c.DrawCallClock();
    EXPECT_EQ(h.Lcd()[3], "row 0 style 0: \"09:00  00:00:00\"@0");
  });
}

TEST(LcdCallPages, VolumePageOverTheCallPageStopsItsClockOnly) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    c.DrawCallPage("Bob", 1);
    h.ClearTrace();
    c.DrawVolume();
    EXPECT_EQ(h.Lines().front(), "KillTimer(9)");
    EXPECT_EQ(c.screen, SCREEN_IN_CALL);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: {volume 0}");
    h.Wait(2000);  // the call page comes back with its clock
    EXPECT_FALSE(c.volume_overlay);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: \"Bob\"@0");
    EXPECT_TRUE(h.Has("SetTimer(9, 1000)"));
  });
}

TEST(LcdCallPages, EmptyCallWithListAndRedrawsThatCannotShowAnything) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    h.ClearTrace();
    c.DrawCallWithList(LIST_DOWN);
    EXPECT_EQ(c.screen, SCREEN_CALL_WITH);
    EXPECT_EQ(h.Lines(), (Rows{"fSendDisplayLCD_TXT(3, 0, \"\", 2, 700, \"Tahoma\")",
                               "fClearRow(2)", "fClearRow(1)", "fClearRow(0)"}));
    h.ClearTrace();
    c.screen = SCREEN_NONE;
    c.RedrawCurrentScreen();
    c.screen = SCREEN_CONTACT_DETAIL;
    c.contact_cursor = 3;  // no such contact
    c.RedrawCurrentScreen();
    EXPECT_TRUE(h.Lines().empty()) << h.Text();
    c.screen = SCREEN_DIAL_PAD;
    c.RedrawCurrentScreen();
    EXPECT_EQ(c.screen, SCREEN_DIALING);
  });
}

}  // namespace
}  // namespace mivo::test

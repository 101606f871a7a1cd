// The idle, contact detail, overview, dialing and contact-list pages on the simulated handset:
// the cases the scenarios do not reach (conversions, bounds, time zones, the toggle).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/text.h"
#include "tests/harness.h"

namespace mivo::test {
namespace {

using Rows = std::vector<std::string>;

void AddContact(Harness& h, const std::string& handle, const std::string& name, int status = 1) {
  sim::SimContact contact;
  contact.handle = handle;
  contact.name = name;
  contact.status = status;
  h.world().voip.contacts.push_back(contact);
}

TEST(LcdIdle, NonAsciiDayNameReachesTheHandsetInUtf8) {
  Harness h;
  h.world().pc.local_seconds = 1772629500;  // Wednesday 2026-03-04, 13:05
  h.Run([&](ControllerDialog& c) {
    h.sim().clock.ResetEpoch();
    c.language_id = 10;  // Spanish: "miércoles", "mar."
    c.DrawIdle();
    EXPECT_EQ(h.Lcd(),
              (Rows{"row 3 style 0: \"Mi\\xC3\\xA9rcoles\"@0", "row 2 style 0: \"Mar/04/2026\"@0",
                    "row 1 style 0: \"13:05\"@0", "row 0 style 0:"}));
    c.language_id = 9;
    c.DrawIdle();
    EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"01:05pm\"@0");
  });
}

TEST(LcdContactDetail, ContactTimeZonesAndProfileRows) {
  struct Case {
    int zone_seconds;  // offset from GMT
    const char* clock;
  };
  // The PC shows 09:00 in GMT.
  const Case cases[] = {{-5 * 3600, "04:00am(GMT-5)"}, {0, "09:00am(GMT+0)"}};
  for (const Case& k : cases) {
    Harness h;
    h.Run([&](ControllerDialog& c) {
      ContactRecord contact;
      contact.time_zone = 86400 + k.zone_seconds;
      c.DrawContactDetail(contact);
      EXPECT_EQ(h.Lcd()[3], std::string("row 0 style 0: \"") + k.clock + "\"@0");
      EXPECT_EQ(h.Lcd()[2], "row 1 style 0: \"\"@0");  // no profile texts: no comma
    });
  }

  // A PC east of GMT in daylight saving time: 09:00 local is 07:00 GMT.
  Harness h;
  h.world().pc.bias_minutes = -60;
  h.world().pc.daylight = true;
  h.Run([&](ControllerDialog& c) {
    ContactRecord contact;
    contact.time_zone = 86400 + 5 * 3600 + 1800;
    c.language_id = 7;
    c.DrawContactDetail(contact);
    EXPECT_EQ(h.Lcd()[3], "row 0 style 0: \"12:30(GMT+5:30)\"@0");
    contact.time_zone = 0;  // no time zone: an empty row
    c.DrawContactDetail(contact);
    EXPECT_EQ(h.Lcd()[3], "row 0 style 0: \"\"@0");
  });
}

TEST(LcdOverview, ConferencePageMarksParticipants) {
  Harness h;
  for (const char* name : {"Ann", "Ben", "Cy", "Dee"}) AddContact(h, name, name);
  h.Run([&](ControllerDialog& c) {
    c.FetchContacts();
    c.ToggleParticipant(1);
    c.ToggleParticipant(2);
    c.DrawConferencePage();
    EXPECT_EQ(c.screen, SCREEN_CONFERENCE);
    EXPECT_EQ(h.Lcd(),
              (Rows{"row 3 style 2: \"\"@0", "row 2 style 0: [118]@0 \"Ann\"@17",
                    "row 1 style 1: [118]@0 \"Ben\"@17", "row 0 style 9: [118]@0 \"Cy\"@17"}));

    // With exactly three contacts nothing follows below; the contacts page marks nobody.
    h.world().voip.contacts.pop_back();
    c.DrawContactsPage();
    EXPECT_EQ(c.contact_count, 3);
    EXPECT_EQ(h.Lcd(),
              (Rows{"row 3 style 2: \"\"@0", "row 2 style 0: [118]@0 \"Ann\"@17",
                    "row 1 style 0: [118]@0 \"Ben\"@17", "row 0 style 0: [118]@0 \"Cy\"@17"}));
  });
}

TEST(LcdDialing, ShowsTheLastFifteenCharactersBounded) {
  Harness h;
  h.Run([&](ControllerDialog& c) {
    c.DrawIdle();
    const std::string row0 = h.Lcd()[3];
    c.dial_len = 20;
    CopyText(c.dial_buf, "12345678901234567890");
    c.DrawDialing();
    EXPECT_EQ(c.screen, SCREEN_DIALING);
    EXPECT_EQ(h.Lcd()[2], "row 1 style 4: \"678901234567890_\"@0");
    EXPECT_EQ(h.Lcd()[3], row0);  // row 0 is never touched

    // A number that fills all 50 bytes, and lengths outside the buffer.
    std::memset(c.dial_buf, '7', kDialMax);
    c.dial_buf[kDialMax - 1] = '9';
    for (int length : {kDialMax, 5000}) {
      c.dial_len = length;
      c.DrawDialing();
      EXPECT_EQ(h.Lcd()[2], "row 1 style 4: \"777777777777779_\"@0") << length;
    }
    for (int length : {0, -4}) {
      c.dial_len = length;
      c.DrawDialing();
      EXPECT_EQ(h.Lcd()[2], "row 1 style 4: \"_\"@0") << length;
    }
  });
}

TEST(LcdContactList, LetterSearchAmongStatusSetContacts) {
  Harness h;
  AddContact(h, "a", "adam");
  AddContact(h, "b", "Bob", 2);
  AddContact(h, "d", "Dora", 0);  // status 0: never found
  h.Run([&](ControllerDialog& c) {
    c.FetchContacts();
    c.DrawContactList(LIST_LETTER, 13);  // key 2: "2", then "A" finds adam
    EXPECT_EQ(c.contact_cursor, 1);
    EXPECT_EQ(c.letter_press_count, 2);
    c.DrawContactList(LIST_LETTER, 13);  // the next press goes on with "B"
    EXPECT_EQ(c.contact_cursor, 2);
    EXPECT_EQ(h.Lcd()[2], "row 1 style 1: [124]@0 \"Bob\"@17");

    c.letter_press_count = 0;
    c.DrawContactList(LIST_LETTER, 14);  // key 3: "3", "D", "E", "F": only Dora
    EXPECT_EQ(c.letter_press_count, 4);
    EXPECT_EQ(c.contact_cursor, 0);
    EXPECT_EQ(c.contact_list_window.window_top, 1);

    c.DrawContactList(LIST_FIRST, 0);
    c.DrawContactList(LIST_LETTER, KEY_STAR);  // no letters: the top, no cursor
    EXPECT_EQ(c.letter_press_count, 4);
    EXPECT_EQ(c.contact_cursor, 0);
    EXPECT_EQ(h.Lcd()[1], "row 2 style 0: [118]@0 \"adam\"@17");
  });
}

TEST(LcdContactList, UpOnTheFirstContactDrawsNothingButTheConferenceListRedraws) {
  Harness h;
  AddContact(h, "a", "Al");
  h.Run([&](ControllerDialog& c) {
    c.FetchContacts();
    c.held_key = KEY_UP;
    c.DrawContactList(LIST_FIRST, 0);
    h.ClearTrace();
    c.DrawContactList(LIST_UP, 0);
    EXPECT_TRUE(h.Lines().empty()) << h.Text();

    c.contact_cursor = 0;  // as the conference page does before entering its list
    c.ShowConferenceList(LIST_DOWN);
    h.ClearTrace();
    c.DrawConferenceList(LIST_UP, 0);
    EXPECT_TRUE(h.Has("fSendBufToQ5LCD(2, 0, 1)"));
    EXPECT_EQ(h.Lines().back(), "SetTimer(104, 750)");
  });
}

TEST(LcdContactList, ToggleParticipantKeepsEachCallIdWithItsParty) {
  Harness h;
  for (const char* name : {"ann", "ben", "cy"}) AddContact(h, name, name);
  h.Run([&](ControllerDialog& c) {
    c.FetchContacts();
    for (int i = 0; i < 3; ++i) c.ToggleParticipant(i);
    ASSERT_EQ(c.participant_count, 3);
    CopyText(c.participants[1].call_id, "41");
    CopyText(c.participants[2].call_id, "42");
    CopyText(c.active_call_id, "41");

    c.ToggleParticipant(1);  // ben's call is the one in progress: he stays
    EXPECT_EQ(c.participant_count, 3);

    c.ToggleParticipant(0);  // later entries move up whole
    ASSERT_EQ(c.participant_count, 2);
    EXPECT_STREQ(c.participants[0].handle, "ben");
    EXPECT_STREQ(c.participants[0].call_id, "41");
    EXPECT_STREQ(c.participants[1].handle, "cy");
    EXPECT_STREQ(c.participants[1].call_id, "42");
    EXPECT_EQ(c.participants[1].contact_index, 2);
    EXPECT_STREQ(c.participants[2].handle, "");

    // No call yet: an entry without a call id can be taken out again.
    ClearText(c.active_call_id);
    c.ToggleParticipant(0);
    c.ToggleParticipant(0);
    EXPECT_EQ(c.participant_count, 2);

    c.ToggleParticipant(-1);  // rows that hold no contact change nothing
    c.ToggleParticipant(3);
    EXPECT_EQ(c.participant_count, 2);
  });
}

}  // namespace
}  // namespace mivo::test

// The top pages: contacts and conference overviews, dial pad, dialing and speed dial.
#include <algorithm>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/lcd_output.h"
#include "lcd/participant_match.h"

namespace mivo {

namespace {

// The number of contacts that the table really holds.
int UsableContacts(const ControllerDialog& c) {
  return std::clamp(c.contact_count, 0, kMaxContacts);
}

// Whether contact `index` (0-based) is one of the conference participants, by its handle.
bool IsParticipant(const ControllerDialog& c, int index) {
  return lcd::IsParticipantContact(c, c.contacts[index]);
}

// The first three contacts with their icons, never scrolled; on the conference page the
// participants are marked.
void DrawContactOverview(ControllerDialog& c, const char (&title)[128], bool mark_participants) {
  lcd::TitleRow(c.handset_, lcd::Field(title));
  const int count = UsableContacts(c);
  for (int a = 0; a < 3; ++a) {
    const int row = 2 - a;
    if (a >= count) {
      c.handset_.fClearRow(static_cast<std::uint8_t>(row));
      continue;
    }
    const ContactRecord& contact = c.contacts[a];
    int style = ROW_PLAIN;
    if (a == 2 && count > 3) style += ROW_MORE;
    if (mark_participants && IsParticipant(c, a)) style += ROW_SELECTED;
    lcd::TextRow2(c.handset_, row, lcd::kBesideIcon, lcd::Field(contact.name), style, WEIGHT_THIN,
                  lcd::kListRowHeight, 0);
    c.handset_.fSendDisplayLCD_BMP(static_cast<std::uint8_t>(row), lcd::kRowStart,
                                   lcd::StatusIcon(contact.status));
  }
}

}  // namespace

void ControllerDialog::DrawContactsPage() {
  screen = SCREEN_CONTACTS;
  FetchContacts();
  DrawContactOverview(*this, text_contacts, false);
}

void ControllerDialog::DrawConferencePage() {
  screen = SCREEN_CONFERENCE;
  FetchContacts();
  DrawContactOverview(*this, text_conference_call, true);
}

void ControllerDialog::DrawDialPad() {
  screen = SCREEN_DIAL_PAD;
  lcd::TitleRow(handset_, lcd::Field(text_dial_pad));
  handset_.fClearRow(2);
  lcd::TextRow(handset_, 1, lcd::kRowStart, "_", ROW_ENTRY, WEIGHT_BOLD);
  handset_.fClearRow(0);
}

void ControllerDialog::DrawDialing() {
  screen = SCREEN_DIALING;
  // The last 15 characters of the number and the entry cursor. The number may fill the whole
  // buffer without a terminator, and its length comes back from the bridge: both are bounded.
  constexpr int kShown = 15;
  const int length = std::clamp(dial_len, 0, kDialMax);
  const int shown = std::min(length, kShown);
  char entry[kShown + 2] = {};
  CopyText(entry, dial_buf + (length - shown), static_cast<std::size_t>(shown));
  AppendText(entry, "_");
  lcd::TitleRow(handset_, lcd::Field(text_dial_pad));
  handset_.fClearRow(2);
  lcd::TextRow(handset_, 1, lcd::kRowStart, entry, ROW_ENTRY, WEIGHT_BOLD);
}

void ControllerDialog::DrawSpeedDial() {
  FetchContacts();
  screen = SCREEN_SPEED_DIAL;
  lcd::TitleRow(handset_, lcd::Field(text_speed_dial));
  handset_.fClearRow(2);
  lcd::TextRow(handset_, 1, lcd::kRowStart, lcd::Field(text_enter_number), ROW_PLAIN, WEIGHT_BOLD);
  handset_.fClearRow(0);
}

}  // namespace mivo

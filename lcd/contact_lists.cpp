// The scrolling contact list and conference list, the letter search and the participant toggle.
#include <algorithm>
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/lcd_output.h"
#include "lcd/list_window.h"
#include "lcd/participant_match.h"

namespace mivo {

namespace {

int UsableContacts(const ControllerDialog& c) {
  return std::clamp(c.contact_count, 0, kMaxContacts);
}

int UsableParticipants(const ControllerDialog& c) {
  return std::clamp(c.participant_count, 0, kMaxParticipants);
}

// Whether the contact on row `index` is a participant. The contact table is fetched again,
// and may come in another order, after the participant was chosen: the handle names the
// participant's contact, not the row it was chosen from.
bool IsParticipant(const ControllerDialog& c, int index) {
  return lcd::IsParticipantContact(c, c.contacts[index]);
}

// Tries of the letter search per key: the digit and the letters printed on the key.
int LetterTries(int key) {
  switch (key) {
    case 12:
      return 1;
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
      return 4;
    case 18:
    case 20:
      return 5;
    case 22:
      return 2;
    default:
      return 0;
  }
}

// Jumps to the first contact whose name begins with the key's next letter. Each try advances
// the press count, so further presses of the same key go on from the letter last tried.
// Only contacts with a status other than 0 (the first part of the table) are searched.
void LetterSearch(ControllerDialog& c, ListWindow& window, int key) {
  const int searchable =
      std::clamp(std::min(c.contact_count_status_set, c.contact_count), 0, kMaxContacts);
  int match = -1;
  for (int t = LetterTries(key); t > 0 && match < 0; --t) {
    ++c.letter_press_count;
    const char letter = ControllerDialog::KeypadLetter(key, c.letter_press_count);
    for (int j = 0; j < searchable; ++j) {
      char first = c.contacts[j].name[0];
      if (first >= 'a' && first <= 'z') first = static_cast<char>(first - 'a' + 'A');
      if (first == letter && first != 0) {
        match = j;
        break;
      }
    }
  }
  lcd::PlaceLetterMatch(window, c.contact_cursor, match);
}

// Rows 2, 1, 0 of a contact list through the off-screen buffer; on the conference list the
// participants are marked like the cursor row.
void DrawContactRows(ControllerDialog& c, const ListWindow& window, bool mark_participants) {
  const int count = UsableContacts(c);
  for (int slot = 0; slot < 3; ++slot) {
    const int row = lcd::SlotRow(slot);
    const int entry = lcd::EntryInSlot(window, slot, count);
    if (entry == 0) {
      c.handset_.fClearRow(static_cast<std::uint8_t>(row));
      continue;
    }
    const ContactRecord& contact = c.contacts[entry - 1];
    const bool marked = mark_participants && IsParticipant(c, entry - 1);
    lcd::BufferRow(c.handset_, row, lcd::Field(contact.name), lcd::StatusIcon(contact.status),
                   lcd::SlotStyle(window, slot, count, marked));
  }
}

}  // namespace

void ControllerDialog::DrawContactList(int step, int key) {
  screen = SCREEN_CONTACT_LIST;
  ListWindow& window = contact_list_window;
  if (step == LIST_LETTER) {
    LetterSearch(*this, window, key);
  } else if (lcd::ApplyListStep(window, contact_cursor, UsableContacts(*this), step) ==
             lcd::StepResult::kAtEnd) {
    return;  // already on the first or last contact: the page stays as it is
  }
  lcd::TitleRow(handset_, lcd::Field(text_contacts));
  DrawContactRows(*this, window, false);
  lcd::ArmRepeatTimer(host_.window, m_hWnd, held_key);
}

void ControllerDialog::DrawConferenceList(int step, int key) {
  ListWindow& window = conference_list_window;
  if (step == LIST_LETTER) {
    LetterSearch(*this, window, key);
  } else {
    lcd::ApplyListStep(window, contact_cursor, UsableContacts(*this), step);
  }
  lcd::TitleRow(handset_, lcd::Field(text_conference_call));
  DrawContactRows(*this, window, true);
  lcd::ArmRepeatTimer(host_.window, m_hWnd, held_key);
}

void ControllerDialog::ShowConferenceList(int step) {
  screen = SCREEN_CONFERENCE_LIST;
  DrawConferenceList(step, 0);
}

void ControllerDialog::ToggleParticipant(int contact_index) {
  if (contact_index < 0 || contact_index >= UsableContacts(*this)) return;
  const ContactRecord& contact = contacts[contact_index];
  // The entry made from this contact is found by the contact's handle (as an entry holds it,
  // cut to its field), whatever row the contact had when the entry was made.
  int count = UsableParticipants(*this);
  for (int i = 0; i < count; ++i) {
    Participant& p = participants[i];
    if (!lcd::IsContactOf(p, contact)) continue;
    // The party of the call in progress stays. An entry without a call id has no call.
    if (p.call_id[0] != 0 && std::strncmp(p.call_id, active_call_id, sizeof p.call_id) == 0) {
      return;
    }
    // Later entries move up whole, call id included, so that each id stays with its party.
    for (int j = i; j + 1 < count; ++j) participants[j] = participants[j + 1];
    participants[count - 1] = Participant{};
    participant_count = count - 1;
    return;
  }

  if (count >= kMaxParticipants) return;
  Participant& added = participants[count];
  added = Participant{};
  CopyText(added.handle, contact.handle, sizeof contact.handle);
  CopyText(added.name, contact.name, sizeof contact.name);
  added.contact_index = contact_index;
  participant_count = count + 1;
}

}  // namespace mivo

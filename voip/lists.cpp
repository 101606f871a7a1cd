// Contacts, call lists, active calls and voicemails fetched from the VoIP bridge, the
// participants' call ids, and the keypad letter table of the list pages.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "voip/blocks.h"

namespace mivo {

namespace {

// The standard case-insensitive byte comparison: A to Z fold onto a to z, every other byte
// compares as it is (unsigned).
int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

// A profile text that the bridge marks "UNKNOWN" (exactly, case counts) is shown empty.
void ReadProfile(const std::uint8_t* field, char (&out)[65]) {
  blocks::ReadText(field, blocks::kPbProfileSize, out);
  if (std::strcmp(out, "UNKNOWN") == 0) ClearText(out);
}

void BuildContact(const std::uint8_t* entry, ContactRecord& record) {
  blocks::ReadText(entry + blocks::kPbName, blocks::kPbNameSize, record.name);
  blocks::ReadText(entry + blocks::kPbHandle, blocks::kPbHandleSize, record.handle);
  ReadProfile(entry + blocks::kPbProfile1, record.profile1);
  ReadProfile(entry + blocks::kPbProfile2, record.profile2);
  ReadProfile(entry + blocks::kPbProfile3, record.profile3);
  blocks::ReadText(entry + blocks::kPbSpeed, blocks::kPbSpeedSize, record.speed);
  record.status = blocks::ReadInt32(entry + blocks::kPbStatus);
  record.time_zone = blocks::ReadInt32(entry + blocks::kPbTimeZone);
}

}  // namespace

void ControllerDialog::FetchContacts() {
  contact_count = 0;
  contact_count_status_set = 0;
  contact_count_status_zero = 0;
  for (int i = 0; i < kMaxContacts; ++i) {
    contacts[i] = ContactRecord{};
    contacts_staging_set[i] = ContactRecord{};
    contacts_staging_zero[i] = ContactRecord{};
  }

  if (!bridge_.fCheckVoIPOnLine()) return;

  const std::uint8_t* book = nullptr;
  bridge_.fGetFullPhoneBook(&book);
  const int entries = blocks::RecordCount(book);

  // Each status group keeps its first kMaxContacts entries in block order; the rest of a
  // group that overflows is dropped.
  int set_count = 0;
  int zero_count = 0;
  for (int i = 0; i < entries; ++i) {
    const std::uint8_t* entry = blocks::Record(book, blocks::kPhoneBookEntrySize, i);
    if (blocks::ReadInt32(entry + blocks::kPbStatus) != 0) {
      if (set_count < kMaxContacts) BuildContact(entry, contacts_staging_set[set_count++]);
    } else {
      if (zero_count < kMaxContacts) BuildContact(entry, contacts_staging_zero[zero_count++]);
    }
    if (set_count == kMaxContacts && zero_count == kMaxContacts) break;
  }

  SortContacts(contacts_staging_set, 0, set_count - 1);
  SortContacts(contacts_staging_zero, 0, zero_count - 1);

  // Contacts with a status come first; status-zero contacts fill what room is left.
  const int zero_kept = std::min(zero_count, kMaxContacts - set_count);
  for (int i = 0; i < set_count; ++i) contacts[i] = contacts_staging_set[i];
  for (int i = 0; i < zero_kept; ++i) contacts[set_count + i] = contacts_staging_zero[i];

  contact_count_status_set = set_count;
  contact_count_status_zero = zero_kept;
  contact_count = set_count + zero_kept;
}

// An in-place quicksort by display name. The pivot is the first record of the range; names
// that compare equal to it stay on its right. The exact steps decide the order of equal names,
// so they must not change.
void ControllerDialog::SortContacts(ContactRecord* table, int first, int last) {
  if (table == nullptr) return;
  while (first < last) {
    int i = first;
    for (int j = first + 1; j <= last; ++j) {
      if (CompareNoCase(table[j].name, table[first].name) < 0) {
        ++i;
        std::swap(table[i], table[j]);
      }
    }
    std::swap(table[first], table[i]);
    SortContacts(table, first, i - 1);
    first = i + 1;
  }
}

bool ControllerDialog::FetchCalls() {
  return bridge_.fGetCalls(&call_list);
}

bool ControllerDialog::FetchActiveCalls() {
  return bridge_.fGetActiveCalls(&active_calls);
}

bool ControllerDialog::FetchVoicemails() {
  return bridge_.fGetVoiceMails(&voicemail_list);
}

// Gives each conference participant the call id of the first active call to its handle; a
// participant without an active call keeps the id it had.
void ControllerDialog::MatchParticipantCalls() {
  const int participants_used = std::clamp(participant_count, 0, kMaxParticipants);
  const int calls = blocks::RecordCount(active_calls);
  for (int p = 0; p < participants_used; ++p) {
    Participant& participant = participants[p];
    const std::string_view handle(participant.handle,
                                  BoundedLength(participant.handle, sizeof participant.handle));
    for (int c = 0; c < calls; ++c) {
      const std::uint8_t* call = blocks::Record(active_calls, blocks::kCallRecordSize, c);
      const char* call_handle = reinterpret_cast<const char*>(call + blocks::kCallHandle);
      if (std::string_view(call_handle, BoundedLength(call_handle, blocks::kCallHandleSize)) ==
          handle) {
        blocks::ReadText(call + blocks::kCallId, blocks::kCallIdSize, participant.call_id);
        break;
      }
    }
  }
}

// The letter that `press_count` presses of a digit key stand for in the list pages' letter
// search: the first press gives the digit (for the key 0: '+'), each further press the next
// letter, then the cycle starts again. The remainder is signed: a negative count gives ' '.
char ControllerDialog::KeypadLetter(int key, int press_count) {
  // The cycle of each key code from 13 (key 2) to 20 (key 9), digit first.
  static constexpr const char* kCycles[] = {"2ABC", "3DEF",  "4GHI", "5JKL",
                                            "6MNO", "7PQRS", "8TUV", "9WXYZ"};
  if (key == KEY_1) return '1';
  if (key == KEY_0) {
    const int r = press_count % 2;
    return r == 1 ? '+' : r == 0 ? '0' : ' ';
  }
  if (key < KEY_1 + 1 || key > KEY_9) return ' ';
  const char* cycle = kCycles[key - (KEY_1 + 1)];
  const int length = static_cast<int>(std::strlen(cycle));
  const int r = press_count % length;
  if (r < 0) return ' ';
  // Remainder 1 is the digit; 0 closes the cycle with its last letter.
  return r == 0 ? cycle[length - 1] : cycle[r - 1];
}

}  // namespace mivo

// Contacts, call lists, active calls and voicemails fetched from the VoIP bridge, the
// participants' call ids, and the keypad letter table of the list pages.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "voip/blocks.h"
#include "voip/contact_sort.h"

namespace mivo {

namespace {

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

// Builds the records of one status group into `out` in name order; only the first `keep` of
// the group's `count` entries (in name order) are built.
void BuildGroup(const std::uint8_t* const* entries, int count, int keep, ContactRecord* out) {
  const char* names[kMaxContacts];
  int order[kMaxContacts];
  for (int i = 0; i < count; ++i) {
    names[i] = reinterpret_cast<const char*>(entries[i] + blocks::kPbName);
  }
  ContactSortOrder(names, count, order);
  for (int k = 0; k < keep; ++k) {
    out[k] = ContactRecord{};
    BuildContact(entries[order[k]], out[k]);
  }
}

}  // namespace

void ControllerDialog::FetchContacts() {
  contact_count = 0;
  contact_count_status_set = 0;
  contact_count_status_zero = 0;
  int filled = 0;

  if (bridge_.fCheckVoIPOnLine()) {
    const std::uint8_t* book = nullptr;
    bridge_.fGetFullPhoneBook(&book);
    CheckBlock("fGetFullPhoneBook", book);
    const int entries = blocks::RecordCount(book);

    // Each status group keeps its first kMaxContacts entries in block order; the rest of a
    // group that overflows is dropped.
    const std::uint8_t* set_entries[kMaxContacts];
    const std::uint8_t* zero_entries[kMaxContacts];
    int set_count = 0;
    int zero_count = 0;
    for (int i = 0; i < entries; ++i) {
      const std::uint8_t* entry = blocks::Record(book, blocks::kPhoneBookEntrySize, i);
      if (blocks::ReadInt32(entry + blocks::kPbStatus) != 0) {
        if (set_count < kMaxContacts) set_entries[set_count++] = entry;
      } else {
        if (zero_count < kMaxContacts) zero_entries[zero_count++] = entry;
      }
      if (set_count == kMaxContacts && zero_count == kMaxContacts) break;
    }

    // Contacts with a status come first, each group in name order; status-zero contacts fill
    // what room is left.
    const int zero_kept = std::min(zero_count, kMaxContacts - set_count);
    BuildGroup(set_entries, set_count, set_count, contacts);
    BuildGroup(zero_entries, zero_count, zero_kept, contacts + set_count);

    contact_count_status_set = set_count;
    contact_count_status_zero = zero_kept;
    contact_count = set_count + zero_kept;
    filled = contact_count;
  }

  // Rows past the new list are empty; only those that the last fetch filled need clearing.
  for (int i = filled; i < contact_rows_filled; ++i) contacts[i] = ContactRecord{};
  contact_rows_filled = filled;
}

// The table's records in name order, by the steps that ContactSortOrder describes.
void ControllerDialog::SortContacts(ContactRecord* table, int first, int last) {
  if (table == nullptr || first >= last) return;
  const int count = last - first + 1;
  std::vector<const char*> names(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) names[i] = table[first + i].name;
  std::vector<int> order(static_cast<std::size_t>(count));
  ContactSortOrder(names.data(), count, order.data());
  std::vector<ContactRecord> sorted(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) sorted[k] = table[first + order[k]];
  std::copy(sorted.begin(), sorted.end(), table + first);
}

bool ControllerDialog::FetchCalls() {
  const bool fetched = bridge_.fGetCalls(&call_list);
  CheckBlock("fGetCalls", call_list);
  return fetched;
}

bool ControllerDialog::FetchActiveCalls() {
  const bool fetched = bridge_.fGetActiveCalls(&active_calls);
  CheckBlock("fGetActiveCalls", active_calls);
  return fetched;
}

bool ControllerDialog::FetchVoicemails() {
  const bool fetched = bridge_.fGetVoiceMails(&voicemail_list);
  CheckBlock("fGetVoiceMails", voicemail_list);
  return fetched;
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

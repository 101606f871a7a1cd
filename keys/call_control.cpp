// The call procedures behind the keys: number entry, placing calls from the number, the
// contact list, speed dial, the history and the voicemail inbox, answering and hanging up,
// hold, mute, volume, touch tones, conferences and voicemail playback.
//
// The number being typed lives in the VoIP bridge: every key goes to it through fSendKey and
// the whole number comes back. None of these procedures changes the call state itself
// (call_active, on_hold, active_call_id): those follow the bridge's messages.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/participant_match.h"
#include "voip/blocks.h"

namespace mivo {

namespace {

constexpr UINT kLongPressMs = 1500;
constexpr UINT kVolumeRepeatMs = 500;
constexpr int kVolumeStep = 1928;
constexpr int kVolumeMax = 65536;
constexpr DWORD kMixerSpeakers = 4;

// The conference target list: handles joined by ",", at most this many characters.
constexpr std::size_t kTargetTextSize = 128;

// A key sent without touching the typed number (answering, and ending the whole call from the
// Call-with page) goes with a scratch number and length. The bridge writes its current number
// back into whatever buffer it is given, so the scratch has the full size of a number buffer.
struct ScratchNumber {
  char text[kNumberBufferSize + 1] = {};
  int length = 0;
};

bool IsDigitKey(int key) {
  return key >= KEY_1 && key <= KEY_9;
}

// The character a dialling key stands for; 0 for any other key.
char KeyCharacter(int key) {
  if (IsDigitKey(key)) return static_cast<char>(key + 37);
  if (key == KEY_STAR) return '*';
  if (key == KEY_0) return '0';
  if (key == KEY_HASH) return '#';
  return 0;
}

// Builds the ","-joined target list of a conference. Each participant's handle goes in whole
// or not at all: one that would not fit in what is left of the text is left out.
class TargetList {
 public:
  bool Add(const char* handle) {
    const std::size_t length = BoundedLength(handle, sizeof(Participant::handle));
    const std::size_t separator = count_ > 0 ? 1 : 0;
    if (used_ + separator + length > kTargetTextSize - 1) return false;
    if (separator != 0) text_[used_++] = ',';
    std::memcpy(text_ + used_, handle, length);
    used_ += length;
    text_[used_] = 0;
    ++count_;
    return true;
  }
  int count() const { return count_; }
  const char* text() const { return text_; }

 private:
  char text_[kTargetTextSize] = {};
  std::size_t used_ = 0;
  int count_ = 0;
};

// The contact row of a conference party. The contact table is rebuilt, and sorted again, at
// every fetch, so the row recorded when the party was added may by now hold another contact:
// it counts only while it still holds the party's handle, otherwise the first row that does.
// -1 when the party's contact is no longer in the table.
int ContactRowOf(const ControllerDialog& c, const Participant& party) {
  const int count = std::clamp(c.contact_count, 0, kMaxContacts);
  const auto holds_party = [&](int row) { return lcd::IsContactOf(party, c.contacts[row]); };
  if (party.contact_index >= 0 && party.contact_index < count && holds_party(party.contact_index)) {
    return party.contact_index;
  }
  for (int row = 0; row < count; ++row) {
    if (holds_party(row)) return row;
  }
  return -1;
}

}  // namespace

void ControllerDialog::SendNumberKey(int key, int long_press) {
  ClearText(dial_buf);
  bridge_.fSendKey(key, long_press, dial_buf, &dial_len);
  dial_len = std::clamp(dial_len, 0, kDialMax);
}

const std::uint8_t* ControllerDialog::VoicemailAtCursor() const {
  const int count = blocks::RecordCount(voicemail_list);
  if (voicemail_cursor < 1 || voicemail_cursor > count) return nullptr;
  return blocks::Record(voicemail_list, blocks::kVoicemailRecordSize, voicemail_cursor - 1);
}

void ControllerDialog::CloseVoicemailAtCursor() {
  const std::uint8_t* voicemail = VoicemailAtCursor();
  if (voicemail == nullptr) return;
  char id[blocks::kVmIdSize + 1];
  blocks::ReadText(voicemail + blocks::kVmId, blocks::kVmIdSize, id);
  CloseVoicemail(id);
}

// ---- Number entry ----

void ControllerDialog::DialKey(int key) {
  if (dial_len >= kDialMax) return;
  if (key == KEY_0) host_.window.KillTimer(m_hWnd, TIMER_LONG_PRESS);
  SendNumberKey(key, 0);
  DrawDialing();
  // Held long enough, the "0" becomes "+" (the long-press action of the timers).
  if (key == KEY_0) host_.window.SetTimer(m_hWnd, TIMER_LONG_PRESS, kLongPressMs);
}

void ControllerDialog::DeleteDialChar() {
  if (dial_len <= 0) {
    DrawIdle();
    return;
  }
  host_.window.KillTimer(m_hWnd, TIMER_LONG_PRESS);
  SendNumberKey(KEY_CANCEL, 0);
  DrawDialing();
  // Held long enough, CANCEL clears the whole number.
  host_.window.SetTimer(m_hWnd, TIMER_LONG_PRESS, kLongPressMs);
}

void ControllerDialog::PlaceDialledCall() {
  if (dial_len <= 0) return;
  SendNumberKey(KEY_CALL, 0);
  // The bridge answers with the number it calls; the page shows it.
  DrawCallPage(dial_buf, 1);
  dial_len = 0;
  ClearText(dial_buf);
}

// ---- Calls from the lists ----

void ControllerDialog::CallContact() {
  if (contact_cursor < 1 || contact_cursor > std::min(contact_count, kMaxContacts)) return;
  const int index = contact_cursor - 1;
  const ContactRecord& contact = contacts[index];
  bridge_.fCallUser(contact.handle);
  DrawCallPage(contact.name, 1);
  EmptyParticipants();
  ToggleParticipant(index);
}

void ControllerDialog::DialSpeedEntry(int key) {
  if (!IsDigitKey(key)) return;
  const char digit = KeyCharacter(key);
  const int count = std::min(contact_count, kMaxContacts);
  for (int i = 0; i < count; ++i) {
    const ContactRecord& contact = contacts[i];
    if (contact.speed[0] != digit) continue;
    // The whole speed-dial text is the target, not the contact's handle.
    bridge_.fCallUser(contact.speed);
    DrawCallPage(contact.name, 1);
    EmptyParticipants();
    ToggleParticipant(i);
    return;
  }
}

void ControllerDialog::CallBackHistory() {
  if (history_cursor < 1 || history_cursor > blocks::RecordCount(history_list)) return;
  const std::uint8_t* call =
      blocks::Record(history_list, blocks::kCallRecordSize, history_cursor - 1);
  char handle[blocks::kCallHandleSize + 1];
  char name[blocks::kCallNameSize + 1];
  blocks::ReadText(call + blocks::kCallHandle, blocks::kCallHandleSize, handle);
  blocks::ReadText(call + blocks::kCallName, blocks::kCallNameSize, name);
  bridge_.fCallUser(handle);
  DrawCallPage(name, 1);
  // The called party becomes the only participant when it is one of the contacts.
  EmptyParticipants();
  const int count = std::min(contact_count, kMaxContacts);
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(contacts[i].handle, handle) == 0) {
      ToggleParticipant(i);
      break;
    }
  }
}

void ControllerDialog::CallBackVoicemail() {
  const std::uint8_t* voicemail = VoicemailAtCursor();
  if (voicemail == nullptr) return;
  char handle[blocks::kVmHandleSize + 1];
  char name[blocks::kVmNameSize + 1];
  blocks::ReadText(voicemail + blocks::kVmHandle, blocks::kVmHandleSize, handle);
  blocks::ReadText(voicemail + blocks::kVmName, blocks::kVmNameSize, name);
  bridge_.fCallUser(handle);
  DrawCallPage(name, 1);
}

void ControllerDialog::StartVoicemailPlayback() {
  const std::uint8_t* voicemail = VoicemailAtCursor();
  if (voicemail == nullptr) return;
  char id[blocks::kVmIdSize + 1];
  char name[blocks::kVmNameSize + 1];
  blocks::ReadText(voicemail + blocks::kVmId, blocks::kVmIdSize, id);
  blocks::ReadText(voicemail + blocks::kVmName, blocks::kVmNameSize, name);
  OpenVoicemail(id);
  // Mode 2: the "Play voicemail" page, without the call clock.
  DrawCallPage(name, 2);
}

// ---- The call in progress ----

void ControllerDialog::AnswerCall() {
  ScratchNumber scratch;
  bridge_.fSendKey(KEY_CALL, 0, scratch.text, &scratch.length);
  DrawCallPage(caller_text, 1);
}

void ControllerDialog::HangUp() {
  // The number goes as it is: the bridge ends the call and clears it.
  bridge_.fSendKey(KEY_END_CALL, 0, dial_buf, &dial_len);
  dial_len = std::clamp(dial_len, 0, kDialMax);
  // A voicemail that may be playing from the inbox row is closed as well.
  CloseVoicemailAtCursor();
}

void ControllerDialog::ToggleHold() {
  // on_hold itself follows the bridge's hold and resume messages.
  if (on_hold) {
    bridge_.fSetInProgress();
  } else {
    bridge_.fSetOnHold();
  }
}

void ControllerDialog::ToggleMute() {
  bridge_.fSetMute(muted ? 0 : 1);
  muted = !muted;
  handset_.fSetLEDStatus(1, muted ? 1 : 0);
}

void ControllerDialog::VolumeStep(bool up) {
  // The first press only brings up the volume page; presses while it shows change the volume.
  if (volume_overlay) {
    const std::int64_t step = up ? kVolumeStep : -kVolumeStep;
    speaker_volume =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(speaker_volume + step, 0, kVolumeMax));
    SetMixerVolume(kMixerSpeakers, speaker_volume);
  }
  DrawVolume();
  host_.window.SetTimer(m_hWnd, up ? TIMER_VOLUME_UP_REPEAT : TIMER_VOLUME_DOWN_REPEAT,
                        kVolumeRepeatMs);
}

void ControllerDialog::SendDtmf(int key) {
  const char tone = KeyCharacter(key);
  if (tone == 0) return;
  SendNumberKey(key, 0);
  // The tone is always sent; the page keeps the first 49 characters.
  const std::size_t used = BoundedLength(call_digits, sizeof call_digits);
  if (used + 1 < sizeof call_digits) {
    call_digits[used] = tone;
    call_digits[used + 1] = 0;
  }
  char party[sizeof call_digits];
  CopyText(party, call_digits, sizeof call_digits);
  DrawCallPage(party, -10);
}

// ---- Conferences ----

void ControllerDialog::EmptyParticipants() {
  for (Participant& p : participants) p = Participant{};
  participant_count = 0;
}

void ControllerDialog::StartConference() {
  if (participant_count <= 0) return;
  const int count = std::min(participant_count, kMaxParticipants);
  TargetList targets;

  if (!call_active) {
    // Every participant is called at once; the Call-with page lists them.
    for (int i = 0; i < count; ++i) targets.Add(participants[i].handle);
    if (targets.count() == 0) return;
    bridge_.fCallUser(targets.text());
    DrawCallWithList(LIST_RESET);
    return;
  }

  // During a call: the parties not yet in the call are called while the current call waits on
  // hold; the second-call message then joins them into one conference.
  FetchActiveCalls();
  MatchParticipantCalls();
  for (int i = 0; i < count; ++i) {
    const Participant& p = participants[i];
    if (std::strncmp(p.call_id, active_call_id, sizeof p.call_id) == 0) continue;
    targets.Add(p.handle);
  }
  if (targets.count() == 0) return;
  bridge_.fSetCallOnHold(active_call_id);
  bridge_.fCallUser(targets.text());
}

void ControllerDialog::EndParty() {
  if (contact_cursor == 0) {
    // No party chosen: the whole call ends.
    ScratchNumber scratch;
    bridge_.fSendKey(KEY_END_CALL, 0, scratch.text, &scratch.length);
    DrawIdle();
    return;
  }
  if (contact_cursor < 1 || contact_cursor > std::min(participant_count, kMaxParticipants)) {
    return;
  }
  FetchActiveCalls();
  MatchParticipantCalls();
  const Participant& party = participants[contact_cursor - 1];
  char call_id[sizeof party.call_id];
  CopyText(call_id, party.call_id, sizeof party.call_id);
  const int contact_row = ContactRowOf(*this, party);
  bridge_.fSetCallFinished(call_id);
  // The party leaves the list, unless its call is the one in progress. A party whose contact
  // has left the table keeps its row: toggling another contact would add that one instead.
  if (contact_row >= 0) ToggleParticipant(contact_row);
  if (participant_count != 0) {
    DrawCallWithList(LIST_RESET);
  } else {
    DrawIdle();
  }
}

}  // namespace mivo

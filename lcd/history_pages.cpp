// The call-history pages (menu, one call per page) and the voicemail pages (menu, inbox).
#include <cstring>
#include <utility>
#include <vector>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/lcd_output.h"
#include "lcd/list_window.h"
#include "voip/blocks.h"

namespace mivo {

namespace {

enum class Category { kIncoming, kMissed, kOutgoing };

bool InCategory(const std::uint8_t* record, Category category) {
  const std::int32_t status = blocks::ReadInt32(record + blocks::kCallStatus);
  const std::int32_t type = blocks::ReadInt32(record + blocks::kCallType);
  const bool incoming = type == 0 || type == 2;
  switch (category) {
    case Category::kIncoming:
      return incoming && status != 8;
    case Category::kMissed:
      return incoming && status == 8;
    case Category::kOutgoing:
      return type == 1 || type == 3;
  }
  return false;
}

// Copies the calls of one category out of the bridge's call list into the controller's own
// block (count, then the 220-byte records in list order), which the entry page browses.
void BuildHistoryList(ControllerDialog& c, Category category) {
  const int total = blocks::RecordCount(c.call_list);
  std::vector<std::uint8_t> list(blocks::kCountSize, 0);
  std::int32_t kept = 0;
  for (int i = 0; i < total; ++i) {
    const std::uint8_t* record = blocks::Record(c.call_list, blocks::kCallRecordSize, i);
    if (!InCategory(record, category)) continue;
    list.insert(list.end(), record, record + blocks::kCallRecordSize);
    ++kept;
  }
  blocks::WriteInt32(list.data(), kept);
  c.history_block = std::move(list);
  c.history_list = c.history_block.data();
}

// The call's date and time as the page shows it: P, A and M in lower case; in languages other
// than English the hour in 24-hour form and the text cut after the minutes.
void FormatCallTime(const std::uint8_t* record, int language, char (&out)[64]) {
  blocks::ReadText(record + blocks::kCallTime, blocks::kCallTimeSize, out);
  for (char& ch : out) {
    if (ch == 'P') ch = 'p';
    if (ch == 'A') ch = 'a';
    if (ch == 'M') ch = 'm';
  }
  if (language == 9) return;
  // Positions assume "YYYY/MM/DD HH:MM..." : the hour at 11 and 12, the minutes end at 15.
  const std::size_t length = std::strlen(out);
  const bool pm = std::strstr(out, "pm") != nullptr;
  const bool am = std::strstr(out, "am") != nullptr;
  if (length >= 13 && out[11] >= '0' && out[11] <= '9' && out[12] >= '0' && out[12] <= '9') {
    int hour = (out[11] - '0') * 10 + (out[12] - '0');
    if (pm && hour < 12) {
      hour += 12;  // 1 pm .. 11 pm
    } else if (!pm && am && hour == 12) {
      hour = 0;  // midnight
    }
    out[11] = static_cast<char>('0' + hour / 10);
    out[12] = static_cast<char>('0' + hour % 10);
  }
  if (length > 16) out[16] = 0;
}

}  // namespace

// ---- Call history ----

void ControllerDialog::ShowHistoryPage() {
  screen = SCREEN_HISTORY;
  DrawHistoryMenu(0);
}

void ControllerDialog::ShowHistoryMenu(int step) {
  screen = SCREEN_HISTORY_MENU;
  DrawHistoryMenu(step);
}

void ControllerDialog::DrawHistoryMenu(int step) {
  if (step >= 0 && step <= 3) {
    history_menu_selection = step;
  } else if (step == LIST_DOWN) {
    if (history_menu_selection < 3) ++history_menu_selection;
  } else if (step == LIST_UP) {
    if (history_menu_selection > 1) --history_menu_selection;
  } else if (step == LIST_OPEN) {
    switch (history_menu_selection) {
      case 1:
        OpenIncomingCalls();
        break;
      case 2:
        OpenMissedCalls();
        break;
      case 3:
        OpenOutgoingCalls();
        break;
      default:
        break;
    }
    return;
  }
  const auto style = [&](int item) {
    return history_menu_selection == item ? ROW_SELECTED : ROW_PLAIN;
  };
  lcd::TitleRow(handset_, lcd::Field(text_call_history));
  lcd::TextRow(handset_, 2, lcd::kRowStart, lcd::Field(text_incoming), style(1), WEIGHT_BOLD);
  lcd::TextRow(handset_, 1, lcd::kRowStart, lcd::Field(text_missed), style(2), WEIGHT_BOLD);
  lcd::TextRow(handset_, 0, lcd::kRowStart, lcd::Field(text_outgoing), style(3), WEIGHT_BOLD);
}

void ControllerDialog::OpenIncomingCalls() {
  BuildHistoryList(*this, Category::kIncoming);
  screen = SCREEN_HISTORY_INCOMING;
  history_cursor = 0;
  DrawHistoryEntry(LIST_DOWN, text_incoming);
}

void ControllerDialog::OpenMissedCalls() {
  BuildHistoryList(*this, Category::kMissed);
  screen = SCREEN_HISTORY_MISSED;
  history_cursor = 0;
  DrawHistoryEntry(LIST_DOWN, text_missed);
}

void ControllerDialog::OpenOutgoingCalls() {
  BuildHistoryList(*this, Category::kOutgoing);
  screen = SCREEN_HISTORY_OUTGOING;
  history_cursor = 0;
  DrawHistoryEntry(LIST_DOWN, text_outgoing);
}

void ControllerDialog::DrawHistoryEntry(int step, const char* title) {
  // An empty title keeps the one shown (the language texts are 128 bytes at most).
  if (title != nullptr && title[0] != 0) CopyText(history_title, title, 128);

  const int count = blocks::RecordCount(history_list);
  if (step == LIST_UP) {
    if (history_cursor > 1) {
      --history_cursor;
    } else if (count > 0) {
      return;
    }
  } else if (step == LIST_DOWN) {
    if (history_cursor < count) {
      ++history_cursor;
    } else if (count > 0) {
      return;
    }
  }

  handset_.fClearDisplay2();
  lcd::TitleRow(handset_, lcd::Field(history_title));
  if (history_cursor >= 1 && history_cursor <= count) {
    const std::uint8_t* record =
        blocks::Record(history_list, blocks::kCallRecordSize, history_cursor - 1);
    char time_text[64];
    FormatCallTime(record, language_id, time_text);
    char party[blocks::kCallNameSize + 1];
    blocks::ReadText(record + blocks::kCallName, blocks::kCallNameSize, party);
    char call_id[blocks::kCallIdSize + 1];
    blocks::ReadText(record + blocks::kCallId, blocks::kCallIdSize, call_id);

    lcd::TextRow(handset_, 2, lcd::kRowStart, party, ROW_PLAIN, WEIGHT_NORMAL);
    lcd::TextRow(handset_, 1, lcd::kRowStart, time_text, ROW_PLAIN, WEIGHT_NORMAL);
    lcd::TextRow(handset_, 0, lcd::kRowStart, " ", history_cursor < count ? ROW_MORE : ROW_PLAIN,
                 WEIGHT_NORMAL);
    bridge_.fSetCallSeen(call_id);
  }
  lcd::ArmRepeatTimer(host_.window, m_hWnd, held_key);
}

// ---- Voicemail ----

void ControllerDialog::ShowVoicemailPage() {
  screen = SCREEN_VOICEMAIL;
  DrawVoicemailMenu(0);
}

void ControllerDialog::ShowVoicemailMenu(int step) {
  screen = SCREEN_VOICEMAIL_MENU;
  DrawVoicemailMenu(step);
}

void ControllerDialog::DrawVoicemailMenu(int step) {
  if (step == 0 || step == 1) {
    voicemail_menu_selection = step;
  } else if (step == LIST_DOWN) {
    voicemail_menu_selection = 1;
  } else if (step == LIST_OPEN) {
    if (voicemail_menu_selection == 1) {
      FetchVoicemails();
      DrawVoicemailInbox(LIST_FIRST);
    }
    return;
  }
  lcd::TitleRow(handset_, lcd::Field(text_voicemail));
  lcd::TextRow(handset_, 2, lcd::kRowStart, lcd::Field(text_inbox),
               voicemail_menu_selection == 1 ? ROW_SELECTED : ROW_PLAIN, WEIGHT_BOLD);
  handset_.fClearRow(1);
  handset_.fClearRow(0);
}

void ControllerDialog::DrawVoicemailInbox(int step) {
  screen = SCREEN_VOICEMAIL_INBOX;
  const int count = blocks::RecordCount(voicemail_list);
  lcd::ApplyListStep(inbox_window, voicemail_cursor, count, step);
  lcd::TitleRow(handset_, lcd::Field(text_inbox));
  for (int slot = 0; slot < 3; ++slot) {
    const int row = lcd::SlotRow(slot);
    const int entry = lcd::EntryInSlot(inbox_window, slot, count);
    if (entry == 0) {
      handset_.fClearRow(static_cast<std::uint8_t>(row));
      continue;
    }
    const std::uint8_t* record =
        blocks::Record(voicemail_list, blocks::kVoicemailRecordSize, entry - 1);
    char sender[blocks::kVmNameSize + 1];
    blocks::ReadText(record + blocks::kVmName, blocks::kVmNameSize, sender);
    lcd::TextRow2(handset_, row, lcd::kRowStart, sender, lcd::SlotStyle(inbox_window, slot, count),
                  WEIGHT_NORMAL, lcd::kListRowHeight, 0);
  }
  lcd::ArmRepeatTimer(host_.window, m_hWnd, held_key);
}

}  // namespace mivo

#include "lcd/list_window.h"

#include "core/constants.h"

namespace mivo::lcd {

StepResult ApplyListStep(ListWindow& window, int& selected, int count, int step) {
  if (count < 0) count = 0;
  StepResult result = StepResult::kApplied;
  switch (step) {
    case LIST_RESET:
      selected = 0;
      window.cursor_row = 0;
      window.window_top = 1;
      break;
    case LIST_FIRST:
      if (count >= 1) {
        selected = 1;
        window.cursor_row = 1;
        window.window_top = 1;
      }
      break;
    case LIST_DOWN:
      if (selected < count) {
        ++selected;
        if (window.cursor_row < 3) {
          ++window.cursor_row;
        } else {
          ++window.window_top;
        }
      } else if (count > 0) {
        result = StepResult::kAtEnd;
      }
      break;
    case LIST_UP:
      if (window.cursor_row > 1) {
        --window.cursor_row;
        --selected;
      } else if (selected > 1) {
        --selected;
        --window.window_top;
      } else if (count > 0) {
        result = StepResult::kAtEnd;
      }
      break;
    default:
      break;
  }
  // A list fetched again may be shorter than the selection: the selection moves to the last
  // entry (none on an empty list) and the page is drawn, so it never points past its list.
  if (selected > count) {
    selected = count;
    window.cursor_row = count < 3 ? count : 3;
    window.window_top = count - window.cursor_row + 1;
    result = StepResult::kApplied;
  }
  if (window.window_top < 1) window.window_top = 1;
  return result;
}

void PlaceLetterMatch(ListWindow& window, int& selected, int match) {
  window.window_top = 0;
  window.cursor_row = 0;
  selected = 0;
  if (match >= 0) {
    selected = match + 1;
    if (match < 3) {
      window.cursor_row = match + 1;
      window.window_top = 1;
    } else {
      window.cursor_row = 3;
      window.window_top = match - 1;
    }
  }
  if (window.window_top < 1) window.window_top = 1;
}

int EntryInSlot(const ListWindow& window, int slot, int count) {
  const long long entry = static_cast<long long>(window.window_top) + slot;
  if (entry < 1 || entry > count) return 0;
  return static_cast<int>(entry);
}

int SlotStyle(const ListWindow& window, int slot, int count, bool marked) {
  int style = ROW_PLAIN;
  if (marked || slot == window.cursor_row - 1) style += ROW_SELECTED;
  if (slot == 2 && static_cast<long long>(window.window_top) <= static_cast<long long>(count) - 3) {
    style += ROW_MORE;
  }
  return style;
}

}  // namespace mivo::lcd

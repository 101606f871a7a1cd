// The list window: three rows (2, 1, 0) over a list of `count` entries, scrolled by steps.
// Each list page keeps its own ListWindow (cursor row and top entry); the selected entry
// (1-based, 0 = none) is a controller field that the caller passes in. While the cursor is
// shown, the entry under it is window_top + cursor_row - 1 and equals the selected entry.
#pragma once

#include "app/controller_dialog.h"

namespace mivo::lcd {

enum class StepResult {
  kApplied,  // the step was taken (or asks for no change): draw the page
  kAtEnd,    // UP on the first or DOWN on the last entry of a non-empty list: nothing moved
};

// Applies a step: LIST_RESET, 1 (first entry), LIST_DOWN, LIST_UP; every other value leaves
// the state as it is. Afterwards window_top is at least 1. A negative count counts as 0.
StepResult ApplyListStep(ListWindow& window, int& selected, int count, int step);

// Puts the window on a letter-search result: `match` is the 0-based entry found, or -1 for
// none (no cursor, no selection, list at its top). A match among the first three entries
// keeps the window at the top; a later one is shown in the bottom row.
void PlaceLetterMatch(ListWindow& window, int& selected, int match);

// The entry (1-based) shown in list slot `slot` (0..2, slot 0 = row 2), or 0 when the slot
// lies past the end of the list.
int EntryInSlot(const ListWindow& window, int slot, int count);

// The row style of list slot `slot`: ROW_SELECTED under the cursor (or when `marked`),
// plus ROW_MORE on the bottom slot when further entries follow below it.
int SlotStyle(const ListWindow& window, int slot, int count, bool marked = false);

// The LCD row of list slot `slot`.
inline int SlotRow(int slot) {
  return 2 - slot;
}

}  // namespace mivo::lcd

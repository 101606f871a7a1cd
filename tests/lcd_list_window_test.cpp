// The list window on its own: steps, ends, row styles and letter-search placement.
#include <gtest/gtest.h>

#include <vector>

#include "core/constants.h"
#include "lcd/list_window.h"

namespace mivo::lcd {
namespace {

struct ListState {
  ListWindow window;
  int selected = 0;
  int count = 0;

  StepResult Step(int step) { return ApplyListStep(window, selected, count, step); }
  // The entries in slots 0..2 and their styles, for compact comparisons.
  std::vector<int> Entries() const {
    return {EntryInSlot(window, 0, count), EntryInSlot(window, 1, count),
            EntryInSlot(window, 2, count)};
  }
  std::vector<int> Styles() const {
    return {SlotStyle(window, 0, count), SlotStyle(window, 1, count), SlotStyle(window, 2, count)};
  }
  void ExpectInvariant() const {
    if (window.cursor_row != 0) {
      EXPECT_EQ(window.window_top + window.cursor_row - 1, selected);
    }
    EXPECT_GE(window.window_top, 1);
  }
};

TEST(ListWindow, EmptyListShowsNothingAndIgnoresMoves) {
  ListState s;
  s.window = {2, 5};  // left over from a longer list
  s.selected = 6;
  EXPECT_EQ(s.Step(LIST_RESET), StepResult::kApplied);
  EXPECT_EQ(s.selected, 0);
  EXPECT_EQ(s.window.cursor_row, 0);
  EXPECT_EQ(s.window.window_top, 1);
  for (int step : {LIST_DOWN, LIST_UP, LIST_FIRST, LIST_REDRAW}) {
    EXPECT_EQ(s.Step(step), StepResult::kApplied) << step;
    EXPECT_EQ(s.selected, 0);
    EXPECT_EQ(s.window.cursor_row, 0);
    EXPECT_EQ(s.window.window_top, 1);
  }
  EXPECT_EQ(s.Entries(), (std::vector<int>{0, 0, 0}));
}

TEST(ListWindow, FirstEntryOfSingleList) {
  ListState s;
  s.count = 1;
  s.Step(LIST_FIRST);
  EXPECT_EQ(s.selected, 1);
  EXPECT_EQ(s.window.cursor_row, 1);
  EXPECT_EQ(s.Entries(), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(s.Styles()[0], ROW_SELECTED);
  // Both directions are at an end of this list.
  EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kAtEnd);
  EXPECT_EQ(s.Step(LIST_UP), StepResult::kAtEnd);
  EXPECT_EQ(s.selected, 1);
}

TEST(ListWindow, FourEntriesScrolledToTheEndAndBack) {
  ListState s;
  s.count = 4;
  s.Step(LIST_RESET);
  EXPECT_EQ(s.Styles(), (std::vector<int>{ROW_PLAIN, ROW_PLAIN, ROW_MORE}));

  // Down from "no cursor" walks the cursor over the three rows first.
  for (int expected = 1; expected <= 3; ++expected) {
    EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kApplied);
    EXPECT_EQ(s.selected, expected);
    EXPECT_EQ(s.window.cursor_row, expected);
    EXPECT_EQ(s.window.window_top, 1);
    s.ExpectInvariant();
  }
  // Cursor on the bottom row with one more entry below: selected and more.
  EXPECT_EQ(s.Styles(), (std::vector<int>{ROW_PLAIN, ROW_PLAIN, ROW_SELECTED + ROW_MORE}));

  // Then the window scrolls.
  EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kApplied);
  EXPECT_EQ(s.selected, 4);
  EXPECT_EQ(s.window.window_top, 2);
  EXPECT_EQ(s.Entries(), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(s.Styles(), (std::vector<int>{ROW_PLAIN, ROW_PLAIN, ROW_SELECTED}));
  s.ExpectInvariant();

  // At the last entry nothing moves.
  EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kAtEnd);
  EXPECT_EQ(s.selected, 4);
  EXPECT_EQ(s.window.window_top, 2);

  // Up moves the cursor within the window before the window moves.
  s.Step(LIST_UP);
  EXPECT_EQ(s.window.cursor_row, 2);
  EXPECT_EQ(s.window.window_top, 2);
  s.Step(LIST_UP);
  EXPECT_EQ(s.window.cursor_row, 1);
  EXPECT_EQ(s.selected, 2);
  s.ExpectInvariant();
  s.Step(LIST_UP);
  EXPECT_EQ(s.window.cursor_row, 1);
  EXPECT_EQ(s.window.window_top, 1);
  EXPECT_EQ(s.selected, 1);
  s.ExpectInvariant();
  EXPECT_EQ(s.Step(LIST_UP), StepResult::kAtEnd);
  EXPECT_EQ(s.selected, 1);
}

TEST(ListWindow, UnknownStepsChangeNothing) {
  ListState s;
  s.count = 10;
  s.window = {2, 4};
  s.selected = 5;
  for (int step : {LIST_REDRAW, LIST_OPEN, LIST_LETTER, 2, 7, -99}) {
    EXPECT_EQ(s.Step(step), StepResult::kApplied);
    EXPECT_EQ(s.selected, 5);
    EXPECT_EQ(s.window.cursor_row, 2);
    EXPECT_EQ(s.window.window_top, 4);
  }
  // A window that was never set up starts at the top.
  ListState fresh;
  fresh.count = 2;
  fresh.Step(LIST_REDRAW);
  EXPECT_EQ(fresh.window.window_top, 1);
  EXPECT_EQ(fresh.Entries(), (std::vector<int>{1, 2, 0}));
}

TEST(ListWindow, SelectionBeyondAShrunkenListMovesToItsLastEntry) {
  ListState s;
  s.window = {3, 8};
  s.selected = 10;
  s.count = 4;  // the list was fetched again and is shorter now
  EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kApplied);
  EXPECT_EQ(s.selected, 4);
  EXPECT_EQ(s.window.cursor_row, 3);
  EXPECT_EQ(s.Entries(), (std::vector<int>{2, 3, 4}));
  s.count = -7;  // a count that makes no sense reads as an empty list
  EXPECT_EQ(s.Step(LIST_DOWN), StepResult::kApplied);
  EXPECT_EQ(s.selected, 0);
  EXPECT_EQ(s.window.cursor_row, 0);
  EXPECT_EQ(s.Entries(), (std::vector<int>{0, 0, 0}));
  // Entering an emptied list with the first-entry step leaves nothing selected.
  s.selected = 2;
  s.window = {2, 1};
  s.count = 0;
  s.Step(LIST_FIRST);
  EXPECT_EQ(s.selected, 0);
  EXPECT_EQ(s.window.cursor_row, 0);
}

TEST(ListWindow, LetterMatchPlacement) {
  ListWindow window{2, 6};
  int selected = 7;
  PlaceLetterMatch(window, selected, 1);  // second entry: window stays at the top
  EXPECT_EQ(selected, 2);
  EXPECT_EQ(window.cursor_row, 2);
  EXPECT_EQ(window.window_top, 1);
  PlaceLetterMatch(window, selected, 4);  // fifth entry: shown in the bottom row
  EXPECT_EQ(selected, 5);
  EXPECT_EQ(window.cursor_row, 3);
  EXPECT_EQ(window.window_top, 3);
  PlaceLetterMatch(window, selected, -1);  // no match: top, no cursor
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(window.cursor_row, 0);
  EXPECT_EQ(window.window_top, 1);
}

}  // namespace
}  // namespace mivo::lcd

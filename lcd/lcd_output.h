// Row helpers shared by every page drawer: direct text rows in the one font, the off-screen
// row buffer for list rows with a status icon, the status icon table, bounded reads of fixed
// text fields, and the repeat timer of the scrolling pages.
#pragma once

#include <cstddef>
#include <string>

#include "core/constants.h"
#include "core/text.h"
#include "platform/handset_library.h"
#include "platform/host.h"

namespace mivo::lcd {

// Pixel columns used on the rows.
inline constexpr int kRowStart = 0;
inline constexpr int kBesideIcon = 17;    // text beside a status icon drawn at 0
inline constexpr int kMissedIconX = 112;  // missed-call icon at the right end of row 0

// Font heights of the extended text call and the row buffer.
inline constexpr int kListRowHeight = 15;
inline constexpr int kPartyRowHeight = 17;

// Bitmap id of a contact's status (unknown values show as "online").
int StatusIcon(int status);

// The text of a fixed field, read no further than the field (an unterminated field is cut at
// its size).
template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return std::string(field, BoundedLength(field, N));
}

// One direct text row: replaces the row's content with `text` at column `x`.
void TextRow(HandsetLibrary& handset, int row, int x, const char* text, int style, int weight);
inline void TextRow(HandsetLibrary& handset, int row, int x, const std::string& text, int style,
                    int weight) {
  TextRow(handset, row, x, text.c_str(), style, weight);
}

// The extended text call with a font height and its last flag.
void TextRow2(HandsetLibrary& handset, int row, int x, const char* text, int style, int weight,
              int height, int flag);
inline void TextRow2(HandsetLibrary& handset, int row, int x, const std::string& text, int style,
                     int weight, int height, int flag) {
  TextRow2(handset, row, x, text.c_str(), style, weight, height, flag);
}

// A title in row 3.
inline void TitleRow(HandsetLibrary& handset, const std::string& title) {
  TextRow(handset, 3, kRowStart, title, ROW_TITLE, WEIGHT_BOLD);
}

// A list row composed off-screen: the name beside the icon, sent to `row` in one transfer.
void BufferRow(HandsetLibrary& handset, int row, const std::string& name, int icon, int style);

// While UP or DOWN is held, a scrolling page arms the matching repeat timer after drawing.
void ArmRepeatTimer(WindowHost& window, HWND owner, int held_key);

}  // namespace mivo::lcd

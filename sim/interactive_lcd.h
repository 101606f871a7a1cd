// How the interactive handset shows one LCD row in a terminal: a fixed number of character
// cells, items placed by their pixel column, texts decoded from UTF-8, bitmaps as small glyphs,
// the volume bar as a bar. Pure functions over the LCD model; the terminal code only paints
// the cells.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/sim_handset.h"

namespace mivo::sim {

// The display as the terminal shows it: 24 character cells for its 128 pixel columns.
inline constexpr int kLcdColumns = 24;
inline constexpr int kLcdPixels = 128;

struct LcdCell {
  enum class Kind { kBlank, kText, kIcon, kBarFull, kBarEmpty };
  Kind kind = Kind::kBlank;
  std::string utf8 = " ";  // one character as a UTF-8 terminal shows it
  char ascii = ' ';        // the same for a terminal without UTF-8
};

// The cell column of a pixel column (clamped to the row; x beyond the right edge gives
// `columns`, which is off the row).
int ColumnOfX(int x, int columns);

// The glyph of a bitmap id: the contact status icons and the missed-call icon.
struct IconGlyph {
  const char* utf8;
  char ascii;
  const char* meaning;
};
IconGlyph GlyphOfBitmap(int bitmap);

// The cells of one row. Items are placed left to right (equal x in the order drawn); an item
// drawn later covers what is under it; a text is clipped at the right edge. Bytes that are not
// valid UTF-8 and control characters show as '?', so nothing from a row reaches the terminal
// as a control sequence.
std::vector<LcdCell> RenderLcdRow(const LcdRow& row, int columns = kLcdColumns);

// A legend of the icon glyphs (UTF-8 glyph, then its plain fallback), one per line.
std::string IconLegend();

}  // namespace mivo::sim

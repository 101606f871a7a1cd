// The LCD rows as character cells.
#include "sim/interactive_lcd.h"

#include <algorithm>
#include <cstdint>

namespace mivo::sim {

namespace {

constexpr int kFullVolume = 65536;

struct CodePoint {
  std::uint32_t value = 0;
  std::string utf8;  // the bytes, when the sequence was valid
};

// Decodes the next character of `text` at `pos`, advancing `pos`; an invalid byte yields a
// replacement (value 0xFFFD, no bytes) and advances by one.
CodePoint NextCodePoint(const std::string& text, std::size_t* pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const std::size_t start = *pos;
  const unsigned char lead = byte(start);
  int length = 0;
  std::uint32_t value = 0;
  std::uint32_t minimum = 0;
  if (lead < 0x80) {
    *pos += 1;
    return CodePoint{lead, std::string(1, static_cast<char>(lead))};
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || start + length > text.size()) {
    *pos += 1;
    return CodePoint{0xFFFD, {}};
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(start + i);
    if ((next & 0xC0) != 0x80) {
      *pos += 1;
      return CodePoint{0xFFFD, {}};
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    *pos += 1;
    return CodePoint{0xFFFD, {}};
  }
  *pos += length;
  return CodePoint{value, text.substr(start, length)};
}

// The plain letter of an accented Latin-1 letter (what a terminal without UTF-8 shows).
char AsciiOf(std::uint32_t c) {
  if (c >= 0x20 && c < 0x7F) return static_cast<char>(c);
  static const char* const kLatin1 =  // 0xC0 .. 0xFF
      "AAAAAAACEEEEIIII"
      "DNOOOOOxOUUUUYTs"
      "aaaaaaaceeeeiiii"
      "dnooooo/ouuuuyty";
  if (c >= 0xC0 && c <= 0xFF) return kLatin1[c - 0xC0];
  return '?';
}

// Whether a character may go to the terminal as it is: printable, and one cell wide (the
// scripts of the six languages; anything wider or unknown shows as '?').
bool Printable(std::uint32_t c) {
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return false;
  if (c == 0xFFFD) return false;
  return c < 0x0300 || (c >= 0x0370 && c < 0x1100) || (c >= 0x2010 && c < 0x2070) ||
         (c >= 0x20A0 && c < 0x20C0);
}

LcdCell TextCell(const CodePoint& cp) {
  LcdCell cell;
  cell.kind = LcdCell::Kind::kText;
  if (Printable(cp.value)) {
    cell.utf8 = cp.utf8;
    cell.ascii = AsciiOf(cp.value);
  } else {
    cell.utf8 = "?";
    cell.ascii = '?';
  }
  return cell;
}

}  // namespace

int ColumnOfX(int x, int columns) {
  if (x <= 0) return 0;
  if (x >= kLcdPixels) return columns;
  return static_cast<int>(static_cast<long long>(x) * columns / kLcdPixels);
}

IconGlyph GlyphOfBitmap(int bitmap) {
  switch (bitmap) {
    case 118:
      return {"\xE2\x97\x8F", 'O', "online"};  // ●
    case 119:
      return {"\xE2\x97\x8B", 'o', "offline"};  // ○
    case 124:
      return {"\xE2\x97\x90", 'a', "away"};  // ◐
    case 116:
      return {"\xE2\x97\x91", 'n', "not available"};  // ◑
    case 125:
      return {"\xE2\x8A\x98", 'x', "do not disturb"};  // ⊘
    case 126:
      return {"\xE2\x97\x87", '>', "SkypeOut"};  // ◇
    case 140:
      return {"\xE2\x98\x85", '*', "Skype Me"};  // ★
    case 115:
      return {"\xE2\x86\x99", '!', "missed calls"};  // ↙
    default:
      return {"\xE2\x96\xAA", '#', "other picture"};  // ▪
  }
}

std::string IconLegend() {
  std::string legend;
  for (int id : {118, 119, 124, 116, 125, 126, 140, 115}) {
    const IconGlyph g = GlyphOfBitmap(id);
    legend += std::string("  ") + g.utf8 + " or " + g.ascii + "  " + g.meaning + "\n";
  }
  return legend;
}

std::vector<LcdCell> RenderLcdRow(const LcdRow& row, int columns) {
  std::vector<LcdCell> cells(static_cast<std::size_t>(std::max(columns, 0)));
  std::vector<LcdItem> items = row.items;
  std::stable_sort(items.begin(), items.end(),
                   [](const LcdItem& a, const LcdItem& b) { return a.x < b.x; });
  for (const LcdItem& item : items) {
    int column = ColumnOfX(item.x, columns);
    switch (item.kind) {
      case LcdItem::Kind::kText: {
        std::size_t pos = 0;
        while (pos < item.text.size() && column < columns) {
          const CodePoint cp = NextCodePoint(item.text, &pos);
          if (cp.value == 0) break;  // a zero ends the text, as it would on the handset
          cells[static_cast<std::size_t>(column++)] = TextCell(cp);
        }
        break;
      }
      case LcdItem::Kind::kBitmap: {
        if (column >= columns) break;
        const IconGlyph g = GlyphOfBitmap(item.bitmap);
        LcdCell& cell = cells[static_cast<std::size_t>(column)];
        cell.kind = LcdCell::Kind::kIcon;
        cell.utf8 = g.utf8;
        cell.ascii = g.ascii;
        break;
      }
      case LcdItem::Kind::kVolume: {
        // The bar fills the row from the left in proportion to the volume.
        const long long volume = std::clamp<long long>(item.volume, 0, kFullVolume);
        const int full = static_cast<int>((volume * columns + kFullVolume / 2) / kFullVolume);
        for (int c = 0; c < columns; ++c) {
          LcdCell& cell = cells[static_cast<std::size_t>(c)];
          if (c < full) {
            cell.kind = LcdCell::Kind::kBarFull;
            cell.utf8 = "\xE2\x96\x88";  // █
            cell.ascii = '#';
          } else {
            cell.kind = LcdCell::Kind::kBarEmpty;
            cell.utf8 = "\xE2\x96\x91";  // ░
            cell.ascii = '.';
          }
        }
        break;
      }
    }
  }
  return cells;
}

}  // namespace mivo::sim

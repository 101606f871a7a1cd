// Bounded text helpers. Every copy into a fixed buffer goes through CopyText: it never writes
// past the destination and always leaves it terminated.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo {

// Length of `text`, looking at no more than `max` bytes (an unterminated field reads as max).
std::size_t BoundedLength(const char* text, std::size_t max);

// Copies at most `source_max` bytes of `source` (stopping at its terminator) into `dest` of
// `dest_size` bytes, cut to dest_size - 1 and terminated. A null source copies nothing.
// Returns the length copied.
std::size_t CopyText(char* dest, std::size_t dest_size, const char* source,
                     std::size_t source_max = static_cast<std::size_t>(-1));

template <std::size_t N>
std::size_t CopyText(char (&dest)[N], const char* source,
                     std::size_t source_max = static_cast<std::size_t>(-1)) {
  return CopyText(dest, N, source, source_max);
}

// Appends `source` to the terminated text in `dest`, cut to fit; returns the new length.
std::size_t AppendText(char* dest, std::size_t dest_size, const char* source);

template <std::size_t N>
std::size_t AppendText(char (&dest)[N], const char* source) {
  return AppendText(dest, N, source);
}

// A to Z as a to z; every other byte as it is. No locale takes part: the contact order, the
// window search by caption and the registry's names all fold exactly this way.
constexpr char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two texts are equal when folded with FoldCase.
bool EqualNoCase(std::string_view a, std::string_view b);

// `text` without the spaces, tabs and carriage returns at either end.
std::string TrimBlanks(std::string_view text);

// Zeroes a whole buffer.
template <std::size_t N>
void ClearText(char (&dest)[N]) {
  for (char& c : dest) c = 0;
}

}  // namespace mivo

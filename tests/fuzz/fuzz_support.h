// Shared by the fuzz targets: how a broken invariant is reported (a message and abort(), which
// libFuzzer records as a finding with its input), and a quiet test bed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace mivo::fuzz {

// Prints `what` and aborts.
[[noreturn]] void Fail(const std::string& what);

// Fails with `what` unless `ok`.
inline void Check(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

// Fails with the broken invariant when `broken` is not empty.
inline void CheckEmpty(const std::string& broken, const std::string& where) {
  if (!broken.empty()) Fail(where + ": " + broken);
}

// Reads a fuzz input from the front; past its end every value reads as zero.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | Byte() << 8);
  }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | static_cast<std::uint32_t>(U16()) << 16;
  }
  // Up to `n` bytes (fewer at the end of the input).
  std::string Bytes(std::size_t n) {
    const std::size_t take = at_ < size_ ? std::min(n, size_ - at_) : 0;
    std::string bytes(reinterpret_cast<const char*>(data_ + at_), take);
    at_ += take;
    return bytes;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// A directory of this process's own under the temporary directory, made once.
const std::string& ScratchDirectory();

}  // namespace mivo::fuzz

// Netstrings ("LENGTH:PAYLOAD,"), the framing of baresip's TCP control interface. The reader
// takes the bytes as they come off the socket and hands out whole payloads; a length beyond
// its bound, a length that is not decimal digits or a missing ':' or ',' breaks the stream for
// good (the connection is then worth nothing and is closed by its owner).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo::baresip {

std::string Netstring(std::string_view payload);

class NetstringReader {
 public:
  // Payloads longer than this are refused.
  static constexpr std::size_t kDefaultMaxPayload = 256 * 1024;

  explicit NetstringReader(std::size_t max_payload = kDefaultMaxPayload)
      : max_payload_(max_payload) {}

  // Appends bytes read from the stream. Returns false once the stream is broken.
  bool Feed(std::string_view bytes);
  // Takes the next whole payload; false when none is complete (or the stream is broken).
  bool Next(std::string* payload);

  bool broken() const { return !error_.empty(); }
  // Why the stream is broken; empty while it is sound.
  const std::string& error() const { return error_; }
  // Bytes waiting that do not yet make a whole netstring.
  std::size_t buffered() const { return buffer_.size() - start_; }

 private:
  // Checks the head of the buffer; sets error_ when it cannot be a netstring.
  void Check();

  std::size_t max_payload_;
  std::string buffer_;
  std::size_t start_ = 0;  // where the next netstring begins in buffer_
  std::string error_;
};

}  // namespace mivo::baresip

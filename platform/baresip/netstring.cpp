#include "platform/baresip/netstring.h"

namespace mivo::baresip {

std::string Netstring(std::string_view payload) {
  std::string out = std::to_string(payload.size());
  out += ':';
  out.append(payload);
  out += ',';
  return out;
}

bool NetstringReader::Feed(std::string_view bytes) {
  if (broken()) return false;
  // Whole netstrings already taken leave the buffer before it grows.
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  buffer_.append(bytes);
  Check();
  return !broken();
}

void NetstringReader::Check() {
  // The length: up to as many digits as the bound has, then ':'.
  const std::size_t max_digits = std::to_string(max_payload_).size();
  std::size_t length = 0;
  std::size_t i = start_;
  for (; i < buffer_.size() && buffer_[i] != ':'; ++i) {
    const char c = buffer_[i];
    if (c < '0' || c > '9') {
      error_ = "a netstring length that is not a number";
      return;
    }
    if (i - start_ >= max_digits) {
      error_ = "a netstring longer than " + std::to_string(max_payload_) + " bytes";
      return;
    }
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  if (i == buffer_.size()) return;  // the length is not complete yet
  if (i == start_) {
    error_ = "a netstring without a length";
    return;
  }
  if (length > max_payload_) {
    error_ = "a netstring longer than " + std::to_string(max_payload_) + " bytes";
    return;
  }
  const std::size_t end = i + 1 + length;  // where the ',' must stand
  if (end < buffer_.size() && buffer_[end] != ',') error_ = "a netstring without its ','";
}

bool NetstringReader::Next(std::string* payload) {
  if (broken()) return false;
  Check();
  if (broken()) return false;
  const std::size_t colon = buffer_.find(':', start_);
  if (colon == std::string::npos) return false;
  const std::size_t length = std::stoul(buffer_.substr(start_, colon - start_));
  const std::size_t end = colon + 1 + length;
  if (end >= buffer_.size()) return false;  // the payload or its ',' is still to come
  payload->assign(buffer_, colon + 1, length);
  start_ = end + 1;
  return true;
}

}  // namespace mivo::baresip

#include "voip/blocks.h"

#include "core/text.h"

namespace mivo::blocks {

std::int32_t ReadInt32(const std::uint8_t* at) {
  const std::uint32_t value =
      static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
      static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
  return static_cast<std::int32_t>(value);
}

void WriteInt32(std::uint8_t* at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
  at[2] = static_cast<std::uint8_t>(v >> 16);
  at[3] = static_cast<std::uint8_t>(v >> 24);
}

int RecordCount(const std::uint8_t* block) {
  if (block == nullptr) return 0;
  const std::int64_t count = static_cast<std::uint32_t>(ReadInt32(block));
  if (count > kMaxRecords) return 0;
  return static_cast<int>(count);
}

const char* RejectReason(const std::uint8_t* block, std::int64_t* count) {
  *count = 0;
  if (block == nullptr) return "no block";
  *count = ReadInt32(block);
  if (*count < 0) return "negative count";
  if (*count > kMaxRecords) return "count above the limit";
  return nullptr;
}

const std::uint8_t* Record(const std::uint8_t* block, std::size_t record_size, int index) {
  return block + kCountSize + record_size * static_cast<std::size_t>(index);
}

void ReadText(const std::uint8_t* field, std::size_t field_size, char* out, std::size_t out_size) {
  CopyText(out, out_size, reinterpret_cast<const char*>(field), field_size);
}

}  // namespace mivo::blocks

// The blocks that the VoIP bridge delivers: a uint32 record count followed by fixed-size
// records; all integers 32-bit little-endian, all texts zero-terminated in fixed fields. This
// header is the one description of the formats, used by the controller to read blocks and by
// the simulated client to build them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mivo::blocks {

// Phone-book entry (fGetFullPhoneBook).
inline constexpr std::size_t kPhoneBookEntrySize = 404;
inline constexpr std::size_t kPbStatus = 4;
inline constexpr std::size_t kPbTimeZone = 12;
inline constexpr std::size_t kPbHandle = 16, kPbHandleSize = 128;
inline constexpr std::size_t kPbName = 144, kPbNameSize = 64;
inline constexpr std::size_t kPbProfile1 = 208, kPbProfile2 = 272, kPbProfile3 = 336;
inline constexpr std::size_t kPbProfileSize = 64;
inline constexpr std::size_t kPbSpeed = 400, kPbSpeedSize = 4;

// Call record (fGetCalls, fGetActiveCalls, and the controller's filtered history list).
inline constexpr std::size_t kCallRecordSize = 220;
inline constexpr std::size_t kCallStatus = 0;
inline constexpr std::size_t kCallType = 4;
inline constexpr std::size_t kCallId = 12, kCallIdSize = 16;
inline constexpr std::size_t kCallTime = 28, kCallTimeSize = 64;
inline constexpr std::size_t kCallHandle = 92, kCallHandleSize = 64;
inline constexpr std::size_t kCallName = 156, kCallNameSize = 64;

// Voicemail record (fGetVoiceMails), packed at 139-byte steps with no alignment.
inline constexpr std::size_t kVoicemailRecordSize = 139;
inline constexpr std::size_t kVmId = 0, kVmIdSize = 10;
inline constexpr std::size_t kVmHandle = 10, kVmHandleSize = 64;
inline constexpr std::size_t kVmName = 74, kVmNameSize = 65;

// Size of the count that heads every block.
inline constexpr std::size_t kCountSize = 4;
// A count above this is not believed: such a block is read as empty.
inline constexpr std::int64_t kMaxRecords = 100000;

std::int32_t ReadInt32(const std::uint8_t* at);
void WriteInt32(std::uint8_t* at, std::int32_t value);

// The number of records of a block: 0 for a null block, a negative count or one above
// kMaxRecords.
int RecordCount(const std::uint8_t* block);
// Why RecordCount reads a block as empty ("no block", "negative count", "count above the
// limit"), with the count as the block gives it in *count; null when the count is believed.
const char* RejectReason(const std::uint8_t* block, std::int64_t* count);
// Record `index` (0-based) of a block of `record_size`-byte records.
const std::uint8_t* Record(const std::uint8_t* block, std::size_t record_size, int index);

// Copies the text field at `field` of `field_size` bytes into `out` (terminated, cut to
// out_size - 1); an unterminated field is read only up to its size.
void ReadText(const std::uint8_t* field, std::size_t field_size, char* out, std::size_t out_size);

template <std::size_t N>
void ReadText(const std::uint8_t* field, std::size_t field_size, char (&out)[N]) {
  ReadText(field, field_size, out, N);
}

}  // namespace mivo::blocks

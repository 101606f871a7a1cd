// The simulated VoIP client's blocks: phone book, call list, active calls and voicemails,
// built from the world in the bridge's binary record formats. Each fetch builds a fresh block
// of the exact size; the previous block of that kind is freed only after the new one exists,
// so that a caller still holding the old address reads freed memory (and the sanitizers say
// so) instead of silently reading the new content.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/sim_voip_client.h"
#include "voip/blocks.h"

namespace mivo::sim {

namespace {

std::unique_ptr<std::uint8_t[]> NewBlock(std::size_t records, std::size_t record_size) {
  const std::size_t size = blocks::kCountSize + records * record_size;
  auto block = std::make_unique<std::uint8_t[]>(size);  // value-initialised: all zero
  blocks::WriteInt32(block.get(), static_cast<std::int32_t>(records));
  return block;
}

}  // namespace

void SimVoipClient::PutText(std::uint8_t* field, std::size_t size, const std::string& text) const {
  if (size == 0) return;
  // Normally the text is cut to leave its terminator inside the field; the test hook lets it
  // run to the field's end.
  const std::size_t room = unterminated_texts_ ? size : size - 1;
  const std::size_t n = std::min(text.size(), room);
  std::memcpy(field, text.data(), n);
}

std::unique_ptr<std::uint8_t[]> SimVoipClient::BuildPhoneBook() const {
  using namespace blocks;
  const auto& contacts = world_.voip.contacts;
  auto block = NewBlock(contacts.size(), kPhoneBookEntrySize);
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    const SimContact& c = contacts[i];
    std::uint8_t* r = block.get() + kCountSize + i * kPhoneBookEntrySize;
    WriteInt32(r + kPbStatus, c.status);
    WriteInt32(r + kPbTimeZone, c.time_zone);
    PutText(r + kPbHandle, kPbHandleSize, c.handle);
    PutText(r + kPbName, kPbNameSize, c.name);
    PutText(r + kPbProfile1, kPbProfileSize, c.profile1);
    PutText(r + kPbProfile2, kPbProfileSize, c.profile2);
    PutText(r + kPbProfile3, kPbProfileSize, c.profile3);
    PutText(r + kPbSpeed, kPbSpeedSize, c.speed);
  }
  return block;
}

std::unique_ptr<std::uint8_t[]> SimVoipClient::BuildCalls(const std::vector<SimCall>& calls) const {
  using namespace blocks;
  auto block = NewBlock(calls.size(), kCallRecordSize);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const SimCall& c = calls[i];
    std::uint8_t* r = block.get() + kCountSize + i * kCallRecordSize;
    WriteInt32(r + kCallStatus, c.status);
    WriteInt32(r + kCallType, c.type);
    PutText(r + kCallId, kCallIdSize, c.id);
    PutText(r + kCallTime, kCallTimeSize, c.time);
    PutText(r + kCallHandle, kCallHandleSize, c.handle);
    PutText(r + kCallName, kCallNameSize, c.name);
  }
  return block;
}

std::unique_ptr<std::uint8_t[]> SimVoipClient::BuildVoicemails() const {
  using namespace blocks;
  const auto& mails = world_.voip.voicemails;
  auto block = NewBlock(mails.size(), kVoicemailRecordSize);
  for (std::size_t i = 0; i < mails.size(); ++i) {
    const SimVoicemail& v = mails[i];
    std::uint8_t* r = block.get() + kCountSize + i * kVoicemailRecordSize;
    PutText(r + kVmId, kVmIdSize, v.id);
    PutText(r + kVmHandle, kVmHandleSize, v.handle);
    PutText(r + kVmName, kVmNameSize, v.name);
  }
  return block;
}

namespace {

// Each fetch (with somewhere to store the address): a new block replaces the old; the move
// assignment frees the old block after the new one is in place.
template <typename Build>
bool HandOutBlock(std::unique_ptr<std::uint8_t[]>& slot, const std::uint8_t** block, Build build) {
  if (block == nullptr) return false;
  slot = build();
  *block = slot.get();
  return true;
}

}  // namespace

bool SimVoipClient::fGetFullPhoneBook(const std::uint8_t** block) {
  return HandOutBlock(phone_book_block_, block, [this] { return BuildPhoneBook(); });
}

bool SimVoipClient::fGetCalls(const std::uint8_t** block) {
  return HandOutBlock(calls_block_, block, [this] { return BuildCalls(world_.voip.history); });
}

bool SimVoipClient::fGetActiveCalls(const std::uint8_t** block) {
  return HandOutBlock(active_block_, block, [this] { return BuildCalls(world_.voip.active); });
}

bool SimVoipClient::fGetVoiceMails(const std::uint8_t** block) {
  return HandOutBlock(voicemail_block_, block, [this] { return BuildVoicemails(); });
}

}  // namespace mivo::sim

// The simulated VoIP client's blocks: phone book, call list, active calls and voicemails,
// built from the world in the bridge's binary record formats. Each fetch builds a fresh block
// of the exact size; the previous block of that kind is freed only after the new one exists,
// so that a caller still holding the old address reads freed memory (and the sanitizers say
// so) instead of silently reading the new content.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/sim_voip_client.h"
#include "platform/sim/voip_block_writer.h"
#include "voip/blocks.h"

namespace mivo::sim {

namespace {

std::unique_ptr<std::uint8_t[]> NewBlock(std::size_t records, std::size_t record_size) {
  const std::size_t size = blocks::kCountSize + records * record_size;
  auto block = std::make_unique<std::uint8_t[]>(size);  // value-initialised: all zero
  blocks::WriteInt32(block.get(), static_cast<std::int32_t>(records));
  return block;
}

// Normally the text is cut to leave its terminator inside the field; `unterminated` lets it
// run to the field's end.
void PutText(std::uint8_t* field, std::size_t size, const std::string& text, bool unterminated) {
  if (size == 0) return;
  const std::size_t room = unterminated ? size : size - 1;
  const std::size_t n = std::min(text.size(), room);
  std::memcpy(field, text.data(), n);
}

}  // namespace

std::unique_ptr<std::uint8_t[]> BuildPhoneBookBlock(const std::vector<SimContact>& contacts,
                                                    bool unterminated) {
  using namespace blocks;
  auto block = NewBlock(contacts.size(), kPhoneBookEntrySize);
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    const SimContact& c = contacts[i];
    std::uint8_t* r = block.get() + kCountSize + i * kPhoneBookEntrySize;
    WriteInt32(r + kPbStatus, c.status);
    WriteInt32(r + kPbTimeZone, c.time_zone);
    PutText(r + kPbHandle, kPbHandleSize, c.handle, unterminated);
    PutText(r + kPbName, kPbNameSize, c.name, unterminated);
    PutText(r + kPbProfile1, kPbProfileSize, c.profile1, unterminated);
    PutText(r + kPbProfile2, kPbProfileSize, c.profile2, unterminated);
    PutText(r + kPbProfile3, kPbProfileSize, c.profile3, unterminated);
    PutText(r + kPbSpeed, kPbSpeedSize, c.speed, unterminated);
  }
  return block;
}

std::unique_ptr<std::uint8_t[]> BuildCallsBlock(const std::vector<SimCall>& calls,
                                                bool unterminated) {
  using namespace blocks;
  auto block = NewBlock(calls.size(), kCallRecordSize);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const SimCall& c = calls[i];
    std::uint8_t* r = block.get() + kCountSize + i * kCallRecordSize;
    WriteInt32(r + kCallStatus, c.status);
    WriteInt32(r + kCallType, c.type);
    PutText(r + kCallId, kCallIdSize, c.id, unterminated);
    PutText(r + kCallTime, kCallTimeSize, c.time, unterminated);
    PutText(r + kCallHandle, kCallHandleSize, c.handle, unterminated);
    PutText(r + kCallName, kCallNameSize, c.name, unterminated);
  }
  return block;
}

std::unique_ptr<std::uint8_t[]> BuildVoicemailBlock(const std::vector<SimVoicemail>& mails,
                                                    bool unterminated) {
  using namespace blocks;
  auto block = NewBlock(mails.size(), kVoicemailRecordSize);
  for (std::size_t i = 0; i < mails.size(); ++i) {
    const SimVoicemail& v = mails[i];
    std::uint8_t* r = block.get() + kCountSize + i * kVoicemailRecordSize;
    PutText(r + kVmId, kVmIdSize, v.id, unterminated);
    PutText(r + kVmHandle, kVmHandleSize, v.handle, unterminated);
    PutText(r + kVmName, kVmNameSize, v.name, unterminated);
  }
  return block;
}

bool SimVoipClient::fGetFullPhoneBook(const std::uint8_t** block) {
  return HandOutBlock(phone_book_block_, block, [this] {
    return BuildPhoneBookBlock(world_.voip.contacts, unterminated_texts_);
  });
}

bool SimVoipClient::fGetCalls(const std::uint8_t** block) {
  return HandOutBlock(calls_block_, block,
                      [this] { return BuildCallsBlock(world_.voip.history, unterminated_texts_); });
}

bool SimVoipClient::fGetActiveCalls(const std::uint8_t** block) {
  return HandOutBlock(active_block_, block,
                      [this] { return BuildCallsBlock(world_.voip.active, unterminated_texts_); });
}

bool SimVoipClient::fGetVoiceMails(const std::uint8_t** block) {
  return HandOutBlock(voicemail_block_, block, [this] {
    return BuildVoicemailBlock(world_.voip.voicemails, unterminated_texts_);
  });
}

}  // namespace mivo::sim

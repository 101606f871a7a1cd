// The readers of the VoIP bridge's blocks (phone book, call lists, voicemails) and the
// participants' call matching, on arbitrary blocks handed out by a bridge that stands in for
// the simulated client's four fetches. Every contact is read from its own entry and fields,
// the tables stay in their bounds, and every text that goes back to the bridge is one that
// the blocks held (or a part of one).
//
// Input: for each block kind (phone book, call list, active calls, voicemails) a mode byte, a
// 16-bit count and a 16-bit length followed by that many bytes of records; then one byte per
// step (keys, waits and call events).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/constants.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/harness.h"
#include "tests/invariants.h"
#include "voip/blocks.h"

namespace {

using namespace mivo;
using fuzz::Check;
using fuzz::Fail;

enum Kind { kPhoneBook, kCalls, kActive, kVoicemails, kKinds };
constexpr std::size_t kRecordSize[kKinds] = {blocks::kPhoneBookEntrySize, blocks::kCallRecordSize,
                                             blocks::kCallRecordSize, blocks::kVoicemailRecordSize};
// The most records a block of each kind gets (the phone book beyond two full groups).
constexpr std::uint32_t kMostRecords[kKinds] = {1100, 300, 60, 300};
// Counts that no block holds records for: the readers must take such a block as empty.
constexpr std::uint32_t kBogusCounts[] = {100001, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

// The call ids that the steps post with MSG_CALL_IN_PROGRESS and MSG_SECOND_CALL.
const char* const kPostedIds[] = {"100", "101", "c-7", ""};

// A field's text as a careful reader takes it: up to the first zero, at most the field.
std::string FieldText(const std::uint8_t* field, std::size_t size, std::size_t keep) {
  std::size_t n = 0;
  while (n < size && field[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(field), std::min(n, keep));
}

// A bridge that forwards everything to the simulated client, except that the four fetches
// hand out copies of the fuzzed blocks (a fresh copy at each fetch; the previous one is freed
// afterwards, so a reader holding on to it is caught). It keeps the texts given back to it.
class BlockBridge : public VoipBridge {
 public:
  explicit BlockBridge(fuzz::Reader& in) {
    for (int kind = 0; kind < kKinds; ++kind) Prepare(static_cast<Kind>(kind), in);
  }
  void set_inner(VoipBridge* inner) { inner_ = inner; }

  bool null_block(Kind kind) const { return null_[kind]; }
  const std::vector<std::uint8_t>& bytes(Kind kind) const { return bytes_[kind]; }
  bool fetched(Kind kind) const { return fetches_[kind] > 0; }
  int fetches(Kind kind) const { return fetches_[kind]; }
  const std::vector<std::string>& given_back() const { return given_back_; }
  void clear_given_back() { given_back_.clear(); }

  bool fRunAP() override { return inner_->fRunAP(); }
  bool fConnectVoIP(HWND window, int mode) override { return inner_->fConnectVoIP(window, mode); }
  bool fDisconnectVoIP() override { return inner_->fDisconnectVoIP(); }
  bool fReInitial() override { return inner_->fReInitial(); }
  bool fCheckVoIPOnLine() override { return inner_->fCheckVoIPOnLine(); }
  bool fFocusAP() override { return inner_->fFocusAP(); }
  bool fSendKey(int key, int long_press, char* number, int* length) override {
    return inner_->fSendKey(key, long_press, number, length);
  }
  bool fSending(const char* command) override {
    Keep(command);
    return inner_->fSending(command);
  }
  bool fCallUser(const char* target) override {
    Keep(target);
    return inner_->fCallUser(target);
  }
  bool fSetMute(int on) override { return inner_->fSetMute(on); }
  bool fSetOnHold() override { return inner_->fSetOnHold(); }
  bool fSetInProgress() override { return inner_->fSetInProgress(); }
  bool fSetCallOnHold(const char* id) override {
    Keep(id);
    return inner_->fSetCallOnHold(id);
  }
  bool fSetCallInProgress(const char* id) override {
    Keep(id);
    return inner_->fSetCallInProgress(id);
  }
  bool fSetCallFinished(const char* id) override {
    Keep(id);
    return inner_->fSetCallFinished(id);
  }
  bool fSetCallSeen(const char* id) override {
    Keep(id);
    return inner_->fSetCallSeen(id);
  }
  bool fSetAudio(int kind, const char* name) override { return inner_->fSetAudio(kind, name); }
  bool fGetFullPhoneBook(const std::uint8_t** block) override {
    inner_->fGetFullPhoneBook(block);
    return HandOut(kPhoneBook, block);
  }
  bool fGetCalls(const std::uint8_t** block) override {
    inner_->fGetCalls(block);
    return HandOut(kCalls, block);
  }
  bool fGetActiveCalls(const std::uint8_t** block) override {
    inner_->fGetActiveCalls(block);
    return HandOut(kActive, block);
  }
  bool fGetVoiceMails(const std::uint8_t** block) override {
    inner_->fGetVoiceMails(block);
    return HandOut(kVoicemails, block);
  }
  int fGetMissedCallCount() override { return inner_->fGetMissedCallCount(); }
  int fGetUnPlayedVoiceMailCount() override { return inner_->fGetUnPlayedVoiceMailCount(); }

 private:
  // Modes: 0 the records the bytes hold; 1 a given count, the bytes repeated to fill it;
  // 2 a count no block could hold, with only the bytes behind it; 3 no block at all.
  void Prepare(Kind kind, fuzz::Reader& in) {
    const int mode = in.Byte() % 4;
    const std::uint16_t count = in.U16();
    const std::string data = in.Bytes(in.U16() % 2048);
    const std::size_t size = kRecordSize[kind];
    std::vector<std::uint8_t>& out = bytes_[kind];
    out.assign(blocks::kCountSize, 0);
    std::uint32_t records = 0;
    switch (mode) {
      case 0:
        records = static_cast<std::uint32_t>(data.size() / size);
        break;
      case 1:
        records = count % (kMostRecords[kind] + 1);
        break;
      case 2:
        out.insert(out.end(), data.begin(), data.end());
        blocks::WriteInt32(out.data(), static_cast<std::int32_t>(kBogusCounts[count % 4]));
        return;
      default:
        null_[kind] = true;
        return;
    }
    blocks::WriteInt32(out.data(), static_cast<std::int32_t>(records));
    out.resize(blocks::kCountSize + records * size, 0);
    if (!data.empty()) {
      for (std::size_t i = blocks::kCountSize; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(data[(i - blocks::kCountSize) % data.size()]);
    }
  }

  bool HandOut(Kind kind, const std::uint8_t** block) {
    ++fetches_[kind];
    std::unique_ptr<std::uint8_t[]> fresh;
    if (!null_[kind]) {
      fresh = std::make_unique<std::uint8_t[]>(bytes_[kind].size());
      std::memcpy(fresh.get(), bytes_[kind].data(), bytes_[kind].size());
    }
    *block = fresh.get();
    live_[kind] = std::move(fresh);
    return true;
  }

  void Keep(const char* text) {
    Check(text != nullptr, "a null text went to the bridge");
    given_back_.emplace_back(text);
  }

  VoipBridge* inner_ = nullptr;
  std::vector<std::uint8_t> bytes_[kKinds];
  bool null_[kKinds] = {};
  int fetches_[kKinds] = {};
  std::unique_ptr<std::uint8_t[]> live_[kKinds];
  std::vector<std::string> given_back_;
};

using ContactKey = std::tuple<std::string, std::string, std::string, std::string, std::string,
                              std::string, std::int32_t, std::int32_t>;

ContactKey KeyOf(const ContactRecord& r) {
  return {r.name, r.handle, r.speed, r.profile1, r.profile2, r.profile3, r.status, r.time_zone};
}

std::string Profile(const std::uint8_t* field, std::size_t keep) {
  std::string text = FieldText(field, blocks::kPbProfileSize, keep);
  return text == "UNKNOWN" ? std::string() : text;
}

ContactKey KeyOfEntry(const std::uint8_t* e) {
  using namespace blocks;
  const ContactRecord shape;
  return {FieldText(e + kPbName, kPbNameSize, sizeof shape.name - 1),
          FieldText(e + kPbHandle, kPbHandleSize, sizeof shape.handle - 1),
          FieldText(e + kPbSpeed, kPbSpeedSize, sizeof shape.speed - 1),
          Profile(e + kPbProfile1, sizeof shape.profile1 - 1),
          Profile(e + kPbProfile2, sizeof shape.profile2 - 1),
          Profile(e + kPbProfile3, sizeof shape.profile3 - 1),
          ReadInt32(e + kPbStatus),
          ReadInt32(e + kPbTimeZone)};
}

int CompareNames(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb || ca == 0) return ca - cb;
  }
}

// The contact table against the phone book last handed out: the status group in full, then
// as many of the status-zero entries as fit, each group in name order, every record built
// from one entry's own fields.
void CheckContacts(const BlockBridge& bridge, const ControllerDialog& c) {
  std::multiset<ContactKey> set_pool, zero_pool;
  if (bridge.fetched(kPhoneBook) && !bridge.null_block(kPhoneBook)) {
    const std::uint8_t* book = bridge.bytes(kPhoneBook).data();
    const int entries = blocks::RecordCount(book);
    for (int i = 0; i < entries; ++i) {
      const ContactKey key = KeyOfEntry(blocks::Record(book, blocks::kPhoneBookEntrySize, i));
      std::multiset<ContactKey>& pool = std::get<6>(key) != 0 ? set_pool : zero_pool;
      if (pool.size() < static_cast<std::size_t>(kMaxContacts)) pool.insert(key);
    }
  }
  Check(c.contact_count_status_set == static_cast<int>(set_pool.size()), "status group size");
  const int zero_room = kMaxContacts - c.contact_count_status_set;
  Check(c.contact_count_status_zero == std::min(static_cast<int>(zero_pool.size()), zero_room),
        "status-zero group size");
  std::multiset<ContactKey> set_seen;
  for (int i = 0; i < c.contact_count; ++i) {
    const ContactRecord& r = c.contacts[i];
    const bool in_set = i < c.contact_count_status_set;
    Check((r.status != 0) == in_set, "contact " + std::to_string(i) + " in the wrong group");
    if (i > 0 && i != c.contact_count_status_set)
      Check(CompareNames(c.contacts[i - 1].name, r.name) <= 0, "contacts out of name order");
    if (in_set) {
      set_seen.insert(KeyOf(r));
    } else {
      const auto it = zero_pool.find(KeyOf(r));
      Check(it != zero_pool.end(), "contact " + std::to_string(i) + " not from the phone book");
      zero_pool.erase(it);
    }
  }
  Check(set_seen == set_pool, "contacts with a status differ from the phone book");
}

// Every text given back to the bridge came from the blocks, an id that was posted, or is a
// voicemail command around such a text. Targets joined by "," are checked one by one.
void CheckGivenBack(BlockBridge& bridge, const std::string& known) {
  for (std::string text : bridge.given_back()) {
    for (const char* prefix : {"open voicemail ", "close voicemail "}) {
      if (text.rfind(prefix, 0) == 0) text.erase(0, std::strlen(prefix));
    }
    if (text.rfind("set call ", 0) == 0) continue;  // the join of two posted ids
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find(',', start);
      if (end == std::string::npos) end = text.size();
      const std::string part = text.substr(start, end - start);
      if (known.find(part) == std::string::npos) Fail("text not from a block: \"" + part + "\"");
      start = end + 1;
    }
  }
  bridge.clear_given_back();
}

// All texts of all blocks, each up to its field's end, joined by zero bytes (no text holds
// one, so a text found in here lies inside one field).
std::string KnownTexts(const BlockBridge& bridge) {
  std::string known;
  auto add = [&known](const std::uint8_t* field, std::size_t size) {
    known += FieldText(field, size, size);
    known += '\0';
  };
  using namespace blocks;
  for (int kind = 0; kind < kKinds; ++kind) {
    if (bridge.null_block(static_cast<Kind>(kind))) continue;
    const std::uint8_t* block = bridge.bytes(static_cast<Kind>(kind)).data();
    for (int i = 0; i < RecordCount(block); ++i) {
      const std::uint8_t* r = Record(block, kRecordSize[kind], i);
      if (kind == kPhoneBook) {
        for (auto [at, size] : {std::pair{kPbHandle, kPbHandleSize},
                                {kPbName, kPbNameSize},
                                {kPbSpeed, kPbSpeedSize},
                                {kPbProfile1, kPbProfileSize}})
          add(r + at, size);
      } else if (kind == kVoicemails) {
        for (auto [at, size] :
             {std::pair{kVmId, kVmIdSize}, {kVmHandle, kVmHandleSize}, {kVmName, kVmNameSize}})
          add(r + at, size);
      } else {
        for (auto [at, size] : {std::pair{kCallId, kCallIdSize},
                                {kCallHandle, kCallHandleSize},
                                {kCallName, kCallNameSize}})
          add(r + at, size);
      }
    }
  }
  for (const char* id : kPostedIds) known += std::string(id) + '\0';
  return known;
}

// The participants after MSG_CALL_IN_PROGRESS: each has the id of the first active call to
// its handle, or keeps the id it had.
void CheckMatched(const BlockBridge& bridge, const ControllerDialog& c,
                  const std::vector<Participant>& before) {
  const std::uint8_t* active = bridge.null_block(kActive) ? nullptr : bridge.bytes(kActive).data();
  const int calls = blocks::RecordCount(active);
  Check(c.participant_count == static_cast<int>(before.size()), "participants changed");
  for (std::size_t p = 0; p < before.size(); ++p) {
    std::string want = before[p].call_id;
    for (int i = 0; i < calls; ++i) {
      const std::uint8_t* r = blocks::Record(active, blocks::kCallRecordSize, i);
      if (FieldText(r + blocks::kCallHandle, blocks::kCallHandleSize, 999) ==
          FieldText(reinterpret_cast<const std::uint8_t*>(before[p].handle),
                    sizeof before[p].handle, 999)) {
        want = FieldText(r + blocks::kCallId, blocks::kCallIdSize, sizeof before[p].call_id - 1);
        break;
      }
    }
    Check(want == c.participants[p].call_id, "participant " + std::to_string(p) + " call id");
  }
}

void Step(test::Harness& h, BlockBridge& bridge, ControllerDialog& c, std::uint8_t op) {
  static const int kKeys[] = {KEY_SKYPE,      KEY_UP,    KEY_DOWN,     KEY_CALL,    KEY_CANCEL,
                              KEY_VOICE_MAIL, KEY_HOLD,  KEY_END_CALL, KEY_RELEASE, KEY_VOL_UP,
                              KEY_1,          KEY_1 + 1, KEY_1 + 4,    KEY_1 + 6,   KEY_9,
                              KEY_0,          KEY_STAR,  KEY_HASH,     KEY_MUTE,    KEY_DOWN,
                              KEY_DOWN,       KEY_SKYPE, KEY_RELEASE,  KEY_CALL};
  constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];
  const int choice = op % (kKeyCount + 8);
  if (choice < kKeyCount) {
    h.Key(kKeys[choice]);
    return;
  }
  const char* id = kPostedIds[op / 64];
  switch (choice - kKeyCount) {
    case 0:
      h.Wait(600);
      break;
    case 1:
      h.Wait(2100);
      break;
    case 2: {
      const std::vector<Participant> before(c.participants, c.participants + c.participant_count);
      h.Post(MSG_CALL_IN_PROGRESS, 0, reinterpret_cast<LPARAM>(id));
      CheckMatched(bridge, c, before);
      break;
    }
    case 3:
      h.Post(MSG_SECOND_CALL, 0, reinterpret_cast<LPARAM>(id));
      break;
    case 4:
      h.Post(MSG_CALL_ON_HOLD);
      break;
    case 5:
      h.Post(MSG_CALL_FINISHED);
      break;
    case 6:
      h.Post(MSG_CALL_RINGING, std::strlen(id), reinterpret_cast<LPARAM>(id));
      break;
    default:
      h.Post(MSG_VOICEMAIL_ENDED);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  BlockBridge bridge(in);
  test::Harness h(&bridge);
  bridge.set_inner(&h.sim().voip);
  h.sim().trace.set_enabled(false);
  const std::string known = KnownTexts(bridge);
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_VOIP_ONLINE);
    int book_fetches = 0;
    for (int steps = 0; !in.empty() && steps < 200 && h.controller() != nullptr; ++steps) {
      Step(h, bridge, c, in.Byte());
      fuzz::CheckEmpty(test::CheckInvariants(h.sim(), c), "step " + std::to_string(steps));
      // The contact table changes only when the phone book is fetched.
      if (bridge.fetches(kPhoneBook) != book_fetches) {
        book_fetches = bridge.fetches(kPhoneBook);
        CheckContacts(bridge, c);
      }
      CheckGivenBack(bridge, known);
    }
    h.Post(WM_COMMAND, ID_CLOSE, 0);
  });
  return 0;
}

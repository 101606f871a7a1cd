// Contact and call lists read from hand-built bridge blocks, the contact sort, the keypad
// letters, and the raw command texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/controller_dialog.h"
#include "platform/sim/sim_platform.h"
#include "voip/blocks.h"

namespace mivo {
namespace {

using TextList = std::vector<std::string>;

// A bridge that hands out the blocks a test built, and records the commands it is sent.
class BlockBridge : public sim::SimVoipClient {
 public:
  explicit BlockBridge(sim::SimPlatform& sim) : SimVoipClient(sim.loop, sim.world) {}
  bool fCheckVoIPOnLine() override { return online; }
  bool fGetFullPhoneBook(const std::uint8_t** block) override {
    ++book_requests;
    *block = book.empty() ? nullptr : book.data();
    return true;
  }
  bool fGetActiveCalls(const std::uint8_t** block) override {
    *block = active.empty() ? nullptr : active.data();
    return true;
  }
  bool fSending(const char* command) override {
    sent.emplace_back(command);
    return true;
  }

  bool online = true;
  int book_requests = 0;
  std::vector<std::uint8_t> book, active;
  TextList sent;
};

// A block of `count` records of `size` bytes; `fill` writes record i.
template <typename Fill>
std::vector<std::uint8_t> Block(std::size_t count, std::size_t size, Fill fill) {
  std::vector<std::uint8_t> block(blocks::kCountSize + count * size);
  blocks::WriteInt32(block.data(), static_cast<std::int32_t>(count));
  for (std::size_t i = 0; i < count; ++i) fill(block.data() + blocks::kCountSize + i * size, i);
  return block;
}

// Copies `text` into a field, leaving it unterminated when it fills the field.
void Put(std::uint8_t* field, std::size_t size, const std::string& text) {
  std::memcpy(field, text.data(), std::min(size, text.size()));
}

// Phone-book entries of (handle = name, status); every profile text "UNKNOWN".
std::vector<std::uint8_t> Book(const std::vector<std::pair<std::string, int>>& entries) {
  return Block(entries.size(), blocks::kPhoneBookEntrySize, [&](std::uint8_t* e, std::size_t i) {
    Put(e + blocks::kPbHandle, blocks::kPbHandleSize, entries[i].first);
    Put(e + blocks::kPbName, blocks::kPbNameSize, entries[i].first);
    blocks::WriteInt32(e + blocks::kPbStatus, entries[i].second);
    for (std::size_t p : {blocks::kPbProfile1, blocks::kPbProfile2, blocks::kPbProfile3}) {
      Put(e + p, blocks::kPbProfileSize, "UNKNOWN");
    }
  });
}

class VoipListsTest : public ::testing::Test {
 protected:
  VoipListsTest()
      : sim_(out_),
        bridge_(sim_),
        c_(std::make_unique<ControllerDialog>(sim_.traced_handset, bridge_, sim_.host())) {}

  TextList Names() const {
    TextList names;
    for (int i = 0; i < c_->contact_count; ++i) names.emplace_back(c_->contacts[i].name);
    return names;
  }
  void Counts(int all, int set, int zero) const {
    EXPECT_EQ(c_->contact_count, all);
    EXPECT_EQ(c_->contact_count_status_set, set);
    EXPECT_EQ(c_->contact_count_status_zero, zero);
  }

  std::ostringstream out_;
  sim::SimPlatform sim_;
  BlockBridge bridge_;
  std::unique_ptr<ControllerDialog> c_;
};

TEST(KeypadLetter, CyclesAndBlanks) {
  auto presses = [](int key, int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += ControllerDialog::KeypadLetter(key, i);
    return s;
  };
  EXPECT_EQ(presses(KEY_1 + 6, 6), "7PQRS7");
  EXPECT_EQ(presses(KEY_1 + 1, 5), "2ABC2");
  EXPECT_EQ(presses(KEY_9, 5), "9WXYZ");
  EXPECT_EQ(presses(KEY_0, 3), "+0+");
  EXPECT_EQ(presses(KEY_1, 2), "11");
  for (int key : {KEY_1 + 1, KEY_1 + 6, KEY_0}) {
    EXPECT_EQ(ControllerDialog::KeypadLetter(key, -1), ' ') << key;  // signed remainder
  }
  for (int key : {KEY_RELEASE, KEY_CALL, KEY_STAR, KEY_HASH, KEY_MUTE}) {
    EXPECT_EQ(ControllerDialog::KeypadLetter(key, 1), ' ') << key;
  }
}

TEST(SortContacts, FoldsToLowerCaseAndKeepsTheQuicksortOrderOfEqualNames) {
  auto sort = [](const TextList& names) {
    std::vector<ContactRecord> table(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::strcpy(table[i].name, names[i].c_str());
      std::snprintf(table[i].handle, sizeof table[i].handle, "%zu", i + 1);
    }
    ControllerDialog::SortContacts(table.data(), 0, static_cast<int>(names.size()) - 1);
    std::string order;
    for (const ContactRecord& r : table) order += std::string(r.name) + r.handle + " ";
    return order;
  };
  // '_' lies between the two cases of the letters: folded onto lower case it sorts first.
  EXPECT_EQ(sort({"zed", "Bob", "_x", "alice"}), "_x3 alice4 Bob2 zed1 ");
  // Equal apart from case: the pivot steps put b4 ahead of B2 (a stable sort would not).
  EXPECT_EQ(sort({"c", "B", "a", "b"}), "a3 b4 B2 c1 ");
}

TEST_F(VoipListsTest, StatusContactsFirstEachGroupByNameWithFieldsCopied) {
  bridge_.book = Book({{"bob", 0}, {"Alice", 0}, {"Zed", 2}, {"carol", 0}, {"Dan", 0}});
  std::uint8_t* dan = bridge_.book.data() + blocks::kCountSize + 4 * blocks::kPhoneBookEntrySize;
  Put(dan + blocks::kPbHandle, blocks::kPbHandleSize, std::string(100, 'h'));
  Put(dan + blocks::kPbName, blocks::kPbNameSize, std::string(64, 'N'));  // unterminated
  Put(dan + blocks::kPbProfile1, 8, "unknown");
  Put(dan + blocks::kPbProfile3, 8, std::string("Berlin", 7));  // with its terminator
  Put(dan + blocks::kPbSpeed, blocks::kPbSpeedSize, "12");
  blocks::WriteInt32(dan + blocks::kPbTimeZone, 86400 + 3600);

  c_->FetchContacts();
  EXPECT_EQ(Names(), (TextList{"Zed", "Alice", "bob", "carol", std::string(64, 'N')}));
  Counts(5, 1, 4);
  bridge_.book.clear();  // the records do not point into the block
  const ContactRecord& r = c_->contacts[4];
  EXPECT_EQ(std::string(r.handle), std::string(65, 'h'));
  EXPECT_STREQ(r.profile1, "unknown");  // only "UNKNOWN" exactly is hidden
  EXPECT_STREQ(r.profile2, "");
  EXPECT_STREQ(r.profile3, "Berlin");
  EXPECT_STREQ(r.speed, "12");
  EXPECT_EQ(r.time_zone, 86400 + 3600);
  EXPECT_EQ(c_->contacts[0].status, 2);
}

TEST_F(VoipListsTest, OfflineClientEmptiesTheTableWithoutAskingForTheBook) {
  bridge_.book = Book({{"a", 1}, {"b", 0}});
  c_->FetchContacts();
  Counts(2, 1, 1);
  bridge_.online = false;
  c_->FetchContacts();
  EXPECT_EQ(bridge_.book_requests, 1);
  Counts(0, 0, 0);
  EXPECT_STREQ(c_->contacts[0].name, "");
}

TEST_F(VoipListsTest, OverfullGroupsKeepTheirFirst500InBlockOrder) {
  std::vector<std::pair<std::string, int>> entries;
  char name[16];
  for (int i = 599; i >= 0; --i) {  // block order is the reverse of name order
    std::snprintf(name, sizeof name, "C%04d", i);
    entries.push_back({name, 1});
  }
  bridge_.book = Book(entries);
  c_->FetchContacts();
  Counts(500, 500, 0);
  EXPECT_STREQ(c_->contacts[0].name, "C0100");
  EXPECT_STREQ(c_->contacts[499].name, "C0599");

  // 300 with a status fill the table first; the first 200 zero-status names follow.
  entries.clear();
  for (int i = 0; i < 400; ++i) {
    std::snprintf(name, sizeof name, "Z%04d", 399 - i);
    entries.push_back({name, 0});
    std::snprintf(name, sizeof name, "S%04d", i);
    if (i < 300) entries.push_back({name, 5});
  }
  bridge_.book = Book(entries);
  c_->FetchContacts();
  Counts(500, 300, 200);
  EXPECT_STREQ(c_->contacts[300].name, "Z0000");
  EXPECT_STREQ(c_->contacts[499].name, "Z0199");
}

TEST_F(VoipListsTest, UnbelievableCountsAndMissingBlocksReadAsEmpty) {
  Participant& p = c_->participants[c_->participant_count++];
  std::strcpy(p.handle, "alice");
  std::strcpy(p.call_id, "p1");
  for (std::int32_t count : {-1, 0x7FFFFFFF, 100001}) {
    bridge_.book = Book({{"alice", 1}});
    blocks::WriteInt32(bridge_.book.data(), count);
    bridge_.active = bridge_.book;
    c_->FetchContacts();
    Counts(0, 0, 0);
    c_->FetchActiveCalls();
    c_->MatchParticipantCalls();
  }
  bridge_.book.clear();
  bridge_.active.clear();
  c_->FetchContacts();
  c_->FetchActiveCalls();
  c_->MatchParticipantCalls();
  Counts(0, 0, 0);
  EXPECT_STREQ(p.call_id, "p1");
}

TEST_F(VoipListsTest, ParticipantsTakeTheIdOfTheirFirstActiveCall) {
  const char* handles[][2] = {
      {"alice", "a0"}, {"bob", "b0"}, {"carol", "c0"}, {"Dave", "d0"}, {"bob", "e0"}};
  for (auto& h : handles) {
    std::strcpy(c_->participants[c_->participant_count].handle, h[0]);
    std::strcpy(c_->participants[c_->participant_count++].call_id, h[1]);
  }
  c_->participant_count = 4;  // the fifth entry is not a participant
  const char* calls[][2] = {{"x1", "bob"}, {"x2", "alice"}, {"x3", "alice"}, {"x4", "dave"}};
  bridge_.active = Block(4, blocks::kCallRecordSize, [&](std::uint8_t* r, std::size_t i) {
    Put(r + blocks::kCallId, blocks::kCallIdSize, calls[i][0]);
    Put(r + blocks::kCallHandle, blocks::kCallHandleSize, calls[i][1]);
  });
  c_->FetchActiveCalls();
  EXPECT_EQ(c_->active_calls, bridge_.active.data());
  c_->MatchParticipantCalls();
  TextList ids;
  for (int i = 0; i < 5; ++i) ids.emplace_back(c_->participants[i].call_id);
  // carol has no active call and Dave's handle differs in case: both keep their ids.
  EXPECT_EQ(ids, (TextList{"x2", "x1", "c0", "d0", "e0"}));
}

TEST_F(VoipListsTest, CommandsAreSentWholeOrNotAtAll) {
  c_->OpenVoicemail("42");
  EXPECT_TRUE(c_->CloseVoicemail("42"));
  c_->OpenVoicemail("");
  const std::string long_id(90, '9');  // cut, it would name another voicemail
  c_->OpenVoicemail(long_id.c_str());
  EXPECT_FALSE(c_->CloseVoicemail(long_id.c_str()));
  EXPECT_EQ(bridge_.sent, (TextList{"open voicemail 42", "close voicemail 42", "open voicemail "}));

  char out[64];
  EXPECT_TRUE(ControllerDialog::BuildJoinCommand("#7", "#3", out, sizeof out));
  EXPECT_STREQ(out, "set call #7 join_conference #3");
  // The fixed words take 26 characters: ids of 37 more fill the 63 that fit.
  const std::string held(15, 'h');
  EXPECT_TRUE(ControllerDialog::BuildJoinCommand(std::string(22, 'n').c_str(), held.c_str(), out,
                                                 sizeof out));
  EXPECT_EQ(std::strlen(out), 63u);
  EXPECT_FALSE(ControllerDialog::BuildJoinCommand(std::string(23, 'n').c_str(), held.c_str(), out,
                                                  sizeof out));
  EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace mivo

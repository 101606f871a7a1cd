// The contact order against the plain quicksort it replaces: the quicksort below, kept as it
// was (whole records swapped, names compared on every step), is the reference. Random tables
// rich in equal names and names equal apart from case, the shapes that make a quicksort slow,
// and phone books beyond the table size must all come out in exactly the reference's order.
#include "voip/contact_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/controller_dialog.h"
#include "platform/sim/sim_platform.h"
#include "voip/blocks.h"

namespace mivo {
namespace {

// ---- The reference: the sort as it was ----

int ReferenceCompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

void ReferenceSort(ContactRecord* table, int first, int last) {
  while (first < last) {
    int i = first;
    for (int j = first + 1; j <= last; ++j) {
      if (ReferenceCompareNoCase(table[j].name, table[first].name) < 0) {
        ++i;
        std::swap(table[i], table[j]);
      }
    }
    std::swap(table[first], table[i]);
    ReferenceSort(table, first, i - 1);
    first = i + 1;
  }
}

// ---- Tables ----

struct Entry {
  std::string name;
  int status = 1;
};
using Entries = std::vector<Entry>;

// A record of the name (cut to the record's field) with its position as the handle.
ContactRecord Record(const std::string& name, std::size_t position) {
  ContactRecord record;
  std::memcpy(record.name, name.data(), std::min(name.size(), sizeof record.name - 1));
  std::snprintf(record.handle, sizeof record.handle, "h%zu", position);
  return record;
}

std::vector<ContactRecord> Records(const Entries& entries) {
  std::vector<ContactRecord> table;
  for (std::size_t i = 0; i < entries.size(); ++i) table.push_back(Record(entries[i].name, i));
  return table;
}

// "name/handle" of every record, in table order.
std::vector<std::string> Order(const ContactRecord* table, int count) {
  std::vector<std::string> order;
  for (int i = 0; i < count; ++i)
    order.push_back(std::string(table[i].name) + "/" + table[i].handle);
  return order;
}

std::vector<std::string> ReferenceOrder(const Entries& entries) {
  std::vector<ContactRecord> table = Records(entries);
  ReferenceSort(table.data(), 0, static_cast<int>(table.size()) - 1);
  return Order(table.data(), static_cast<int>(table.size()));
}

std::vector<std::string> SortedOrder(const Entries& entries) {
  std::vector<ContactRecord> table = Records(entries);
  ControllerDialog::SortContacts(table.data(), 0, static_cast<int>(table.size()) - 1);
  return Order(table.data(), static_cast<int>(table.size()));
}

// Names drawn from a few stems in every mix of case, so that most names have several equals:
// '_' and '[' lie between the two cases of the letters, bytes from 0x80 up compare above all.
class NameMaker {
 public:
  explicit NameMaker(unsigned seed) : rng_(seed) {}

  std::string Name() {
    static const char* const kStems[] = {"a",  "ab", "abc", "b",         "ba",
                                         "_x", "[",  "",    "\xE9t\xE9", "Zed"};
    std::string name = kStems[Pick(std::size(kStems))];
    for (char& c : name) {
      if (c >= 'a' && c <= 'z' && Pick(2) == 0)
        c = static_cast<char>(c - 'a' + 'A');
      else if (c >= 'A' && c <= 'Z' && Pick(2) == 0)
        c = static_cast<char>(c - 'A' + 'a');
    }
    // Now and then a name that fills its whole field (equal to others up to its last byte).
    if (Pick(20) == 0)
      name = std::string(63, Pick(2) ? 'q' : 'Q') + static_cast<char>('a' + Pick(3));
    return name;
  }

  Entries Table(std::size_t size, bool statuses = false) {
    Entries entries(size);
    for (Entry& e : entries) {
      e.name = Name();
      e.status = statuses && Pick(3) == 0 ? 0 : 1 + static_cast<int>(Pick(4));
    }
    return entries;
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

 private:
  std::mt19937 rng_;
};

TEST(ContactSortOrder, RandomTablesOfEqualAndCaseEqualNamesKeepTheQuicksortOrder) {
  NameMaker maker(20261208);
  for (int round = 0; round < 3000; ++round) {
    const Entries entries = maker.Table(maker.Pick(40));
    ASSERT_EQ(SortedOrder(entries), ReferenceOrder(entries)) << "round " << round;
  }
  for (int round = 0; round < 300; ++round) {
    const Entries entries = maker.Table(maker.Pick(300));
    ASSERT_EQ(SortedOrder(entries), ReferenceOrder(entries)) << "300, round " << round;
  }
  for (int round = 0; round < 40; ++round) {
    const Entries entries = maker.Table(500);
    ASSERT_EQ(SortedOrder(entries), ReferenceOrder(entries)) << "500, round " << round;
  }
}

TEST(ContactSortOrder, SortedReversedEqualAndCaseEqualShapesKeepTheQuicksortOrder) {
  Entries ascending, descending, equal, case_equal, sawtooth;
  char name[16];
  for (int i = 0; i < 500; ++i) {
    std::snprintf(name, sizeof name, "Contact %04d", i);
    ascending.push_back({name});
    std::snprintf(name, sizeof name, "Contact %04d", 499 - i);
    descending.push_back({name});
    equal.push_back({"Same"});
    case_equal.push_back({i % 3 == 0 ? "SAME" : i % 3 == 1 ? "same" : "sAmE"});
    std::snprintf(name, sizeof name, "%c%03d", i % 2 ? 'k' : 'K', i % 7);
    sawtooth.push_back({name});
  }
  for (const Entries* entries : {&ascending, &descending, &equal, &case_equal, &sawtooth}) {
    EXPECT_EQ(SortedOrder(*entries), ReferenceOrder(*entries)) << (*entries)[0].name;
  }
}

TEST(ContactSortOrder, NullAndEmptyNamesAndDegenerateRanges) {
  const char* names[] = {"b", nullptr, "", "A"};
  int order[4] = {-1, -1, -1, -1};
  ContactSortOrder(names, 4, order);
  // The null name reads as empty: equal to "", and it is the pivot's first smaller name.
  EXPECT_EQ(std::vector<int>(order, order + 4), (std::vector<int>{2, 1, 3, 0}));
  ContactSortOrder(names, 0, order);  // nothing to do, nothing written
  EXPECT_EQ(order[0], 2);
  ControllerDialog::SortContacts(nullptr, 0, 3);
}

// ---- Through the fetch: phone books as the bridge hands them out ----

class BookBridge : public sim::SimVoipClient {
 public:
  explicit BookBridge(sim::SimPlatform& sim) : SimVoipClient(sim.loop, sim.world) {}
  bool fGetFullPhoneBook(const std::uint8_t** block) override {
    *block = book.data();
    return true;
  }
  std::vector<std::uint8_t> book;
};

// A phone-book block; names are written into their 64-byte field without a terminator when
// they fill it, handles are the entries' positions.
std::vector<std::uint8_t> Book(const Entries& entries) {
  std::vector<std::uint8_t> block(blocks::kCountSize +
                                  entries.size() * blocks::kPhoneBookEntrySize);
  blocks::WriteInt32(block.data(), static_cast<std::int32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::uint8_t* e = block.data() + blocks::kCountSize + i * blocks::kPhoneBookEntrySize;
    const std::string handle = "h" + std::to_string(i);
    std::memcpy(e + blocks::kPbName, entries[i].name.data(),
                std::min(entries[i].name.size(), blocks::kPbNameSize));
    std::memcpy(e + blocks::kPbHandle, handle.data(), handle.size());
    blocks::WriteInt32(e + blocks::kPbStatus, entries[i].status);
  }
  return block;
}

// What the fetch must list: each status group's first 500 entries in block order, each
// sorted by the reference, those with a status first, cut to 500 in all.
std::vector<std::string> ReferenceFetch(const Entries& entries) {
  std::vector<ContactRecord> set, zero;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::vector<ContactRecord>& group = entries[i].status != 0 ? set : zero;
    if (group.size() < 500) group.push_back(Record(entries[i].name, i));
  }
  ReferenceSort(set.data(), 0, static_cast<int>(set.size()) - 1);
  ReferenceSort(zero.data(), 0, static_cast<int>(zero.size()) - 1);
  zero.resize(std::min(zero.size(), 500 - set.size()));
  std::vector<std::string> order = Order(set.data(), static_cast<int>(set.size()));
  for (const std::string& z : Order(zero.data(), static_cast<int>(zero.size()))) {
    order.push_back(z);
  }
  return order;
}

class FetchOrderTest : public ::testing::Test {
 protected:
  FetchOrderTest()
      : sim_(out_),
        bridge_(sim_),
        c_(std::make_unique<ControllerDialog>(sim_.traced_handset, bridge_, sim_.host())) {}

  std::vector<std::string> Fetch(const Entries& entries) {
    bridge_.book = Book(entries);
    c_->FetchContacts();
    return Order(c_->contacts, c_->contact_count);
  }

  std::ostringstream out_;
  sim::SimPlatform sim_;
  BookBridge bridge_;
  std::unique_ptr<ControllerDialog> c_;
};

TEST_F(FetchOrderTest, RandomPhoneBooksListInTheQuicksortOrderOfEachGroup) {
  NameMaker maker(8122026);
  for (int round = 0; round < 300; ++round) {
    const Entries entries = maker.Table(maker.Pick(60), true);
    ASSERT_EQ(Fetch(entries), ReferenceFetch(entries)) << "round " << round;
  }
  // Beyond the table: 10,000 entries, both groups overflowing.
  const Entries big = maker.Table(10000, true);
  EXPECT_EQ(Fetch(big), ReferenceFetch(big));
  EXPECT_EQ(c_->contact_count, 500);
}

TEST_F(FetchOrderTest, RowsBeyondAShorterListAreEmptyAgain) {
  NameMaker maker(5);
  Fetch(maker.Table(500, true));
  Fetch(maker.Table(7, true));
  // A third, shorter fetch: rows the first fetch filled, beyond both later lists, are empty.
  const Entries three = maker.Table(3, true);
  EXPECT_EQ(Fetch(three), ReferenceFetch(three));
  for (int i = 3; i < kMaxContacts; ++i) {
    ASSERT_STREQ(c_->contacts[i].name, "") << i;
    ASSERT_STREQ(c_->contacts[i].handle, "") << i;
    ASSERT_EQ(c_->contacts[i].status, 0) << i;
  }
  // Off line: every row is empty.
  Fetch(maker.Table(500, true));
  sim_.world.voip.online = false;
  EXPECT_TRUE(Fetch(maker.Table(9)).empty());
  for (int i = 0; i < kMaxContacts; ++i) ASSERT_STREQ(c_->contacts[i].name, "") << i;
}

}  // namespace
}  // namespace mivo

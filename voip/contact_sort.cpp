#include "voip/contact_sort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/text.h"

namespace mivo {

namespace {

// A folded name: A to Z as a to z, terminated.
using Key = std::array<char, kSortNameMax + 1>;

void Fold(const char* name, Key& key) {
  std::size_t n = 0;
  if (name != nullptr) {
    for (; n < kSortNameMax && name[n] != 0; ++n) {
      key[n] = FoldCase(name[n]);
    }
  }
  key[n] = 0;
}

// A pair is the name's rank in the high half and its index in the low half, so that
// pair < (rank << 32) says that the pair's name compares strictly less than a name of that
// rank.
using Pair = std::uint64_t;
constexpr Pair kRankMask = ~Pair{0xFFFFFFFF};

// The quicksort's steps, on pairs. While the range holds more than one pair: the first pair
// is the pivot; every later pair whose name compares strictly less than the pivot's is
// swapped to the next place after the pivot's growing left part; the pivot is then swapped to
// the end of that left part; the left part is sorted, and the loop goes on with the right.
//
// Two kinds of step are taken without walking the range, as their outcome is known from the
// smallest and largest rank after the pivot (kept in a segment tree over the places):
// - no pair ranks below the pivot: nothing moves, and the loop goes on after the pivot;
// - every pair ranks below it: each is "swapped" with itself, then the pivot and the last pair
//   change places, the left part is the whole range but its last place, and the right part is
//   empty, so sorting the left part ends the loop.
// Those are the steps that make sorted, reversed and equal names cost a walk of the range for
// every pivot. Any other step walks the range as described and refreshes the tree over it.
class PairSort {
 public:
  explicit PairSort(std::vector<Pair>& pairs) : pairs_(pairs) {
    while (size_ < pairs.size()) size_ *= 2;
    min_.assign(2 * size_, kNoMin);
    max_.assign(2 * size_, 0);
    Refresh(0, static_cast<int>(pairs.size()) - 1);
  }

  void Sort(int first, int last) {
    while (first < last) {
      // A short range is walked as it is: nothing outside it looks at its places again.
      if (last - first < kShortRange) return Walk(first, last);
      const std::uint32_t pivot = Rank(pairs_[first]);
      std::uint32_t lowest = kNoMin;
      std::uint32_t highest = 0;
      Range(first + 1, last, lowest, highest);
      if (pivot <= lowest) {
        ++first;
        continue;
      }
      if (pivot > highest) {
        std::swap(pairs_[first], pairs_[last]);
        Refresh(first, first);
        Refresh(last, last);
        --last;
        continue;
      }
      const int i = Partition(first, last);
      Refresh(first, last);
      Sort(first, i - 1);
      first = i + 1;
    }
  }

 private:
  static constexpr std::uint32_t kNoMin = 0xFFFFFFFF;
  // Below this many places a walk costs less than asking the tree.
  static constexpr int kShortRange = 24;
  static std::uint32_t Rank(Pair pair) { return static_cast<std::uint32_t>(pair >> 32); }

  // One step over the whole range: returns the pivot's new place.
  int Partition(int first, int last) {
    const Pair pivot_rank = pairs_[first] & kRankMask;
    int i = first;
    for (int j = first + 1; j <= last; ++j) {
      if (pairs_[j] < pivot_rank) {
        ++i;
        std::swap(pairs_[i], pairs_[j]);
      }
    }
    std::swap(pairs_[first], pairs_[i]);
    return i;
  }

  // The steps as they are, every one walking its range; the tree is neither read nor kept.
  void Walk(int first, int last) {
    while (first < last) {
      const int i = Partition(first, last);
      Walk(first, i - 1);
      first = i + 1;
    }
  }

  // The smallest and largest rank of the places first..last.
  void Range(int first, int last, std::uint32_t& lowest, std::uint32_t& highest) const {
    std::size_t l = static_cast<std::size_t>(first) + size_;
    std::size_t r = static_cast<std::size_t>(last) + size_ + 1;
    for (; l < r; l /= 2, r /= 2) {
      if (l & 1) {
        lowest = std::min(lowest, min_[l]);
        highest = std::max(highest, max_[l++]);
      }
      if (r & 1) {
        lowest = std::min(lowest, min_[--r]);
        highest = std::max(highest, max_[r]);
      }
    }
  }

  // Reads the ranks of the places first..last again and updates the tree above them.
  void Refresh(int first, int last) {
    if (first > last) return;
    std::size_t lo = static_cast<std::size_t>(first) + size_;
    std::size_t hi = static_cast<std::size_t>(last) + size_;
    for (std::size_t k = lo; k <= hi; ++k) min_[k] = max_[k] = Rank(pairs_[k - size_]);
    for (lo /= 2, hi /= 2; lo >= 1; lo /= 2, hi /= 2) {
      for (std::size_t k = lo; k <= hi; ++k) {
        min_[k] = std::min(min_[2 * k], min_[2 * k + 1]);
        max_[k] = std::max(max_[2 * k], max_[2 * k + 1]);
      }
    }
  }

  std::vector<Pair>& pairs_;
  std::size_t size_ = 1;
  std::vector<std::uint32_t> min_;
  std::vector<std::uint32_t> max_;
};

}  // namespace

void ContactSortOrder(const char* const* names, int count, int* order) {
  if (names == nullptr || order == nullptr || count < 1) return;
  const auto n = static_cast<std::size_t>(count);

  std::vector<Key> keys(n);
  for (std::size_t i = 0; i < n; ++i) Fold(names[i], keys[i]);

  // Rank the folded names: equal names share a rank, and ranks follow the byte order
  // (strcmp compares bytes as unsigned).
  std::vector<std::uint32_t> by_name(n);
  for (std::size_t i = 0; i < n; ++i) by_name[i] = static_cast<std::uint32_t>(i);
  std::sort(by_name.begin(), by_name.end(), [&keys](std::uint32_t a, std::uint32_t b) {
    return std::strcmp(keys[a].data(), keys[b].data()) < 0;
  });
  std::vector<Pair> pairs(n);
  Pair rank = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && std::strcmp(keys[by_name[k - 1]].data(), keys[by_name[k]].data()) != 0) ++rank;
    pairs[by_name[k]] = rank << 32 | by_name[k];
  }

  PairSort(pairs).Sort(0, count - 1);
  for (std::size_t k = 0; k < n; ++k) order[k] = static_cast<int>(pairs[k] & 0xFFFFFFFF);
}

}  // namespace mivo

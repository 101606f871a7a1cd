// The order of the contact table: a quicksort by display name whose exact steps decide where
// names that compare equal end up. This computes that order cheaply: each name is folded once,
// the folded names are ranked, and the quicksort's own steps then run on small (rank, index)
// pairs instead of on whole contact records.
#pragma once

#include <cstddef>

namespace mivo {

// A name is read up to its terminator, and never beyond this many bytes (the phone-book field
// may be full, with no terminator).
inline constexpr std::size_t kSortNameMax = 64;

// Puts into order[0..count) the indexes (into names) of the names in the order in which the
// contact quicksort leaves them: names compare without regard to case (A to Z fold onto a to z,
// every other byte compares as it is, unsigned); the first name of a range is its pivot; a name
// goes to the pivot's left only when it compares strictly less, and the steps are exactly
// those of ControllerDialog::SortContacts. A null name reads as empty; a count below 1 does
// nothing.
void ContactSortOrder(const char* const* names, int count, int* order);

}  // namespace mivo

#include <gtest/gtest.h>

#include "core/text.h"

namespace mivo {
namespace {

TEST(CopyText, CutsAndTerminates) {
  char small[4];
  EXPECT_EQ(CopyText(small, "abcdef"), 3u);
  EXPECT_STREQ(small, "abc");
  const char field[3] = {'x', 'y', 'z'};  // unterminated
  char out[8];
  EXPECT_EQ(CopyText(out, field, sizeof field), 3u);
  EXPECT_STREQ(out, "xyz");
  EXPECT_EQ(CopyText(out, nullptr), 0u);
  EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace mivo

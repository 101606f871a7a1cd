// The Win32 tests' entry point. Standard output is switched to binary mode, so that the list
// of tests that CTest reads for its discovery has plain LF line ends (a Windows program would
// end each line with CR LF, and every discovered name would then carry a CR that matches no
// test). A run that selects no test at all fails: a filter that matches nothing is a fault of
// the build, not a pass.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "gtest/gtest.h"

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (testing::GTEST_FLAG(list_tests)) return result;
  if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
    std::fprintf(stderr, "no test was selected\n");
    return 1;
  }
  return result;
}

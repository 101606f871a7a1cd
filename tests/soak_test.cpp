// One simulated day of use: no timer outside the known set, a trace of steady shape, and
// resident memory that stays flat. tools/soak runs the same for a week.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/soak/soak_driver.h"

namespace mivo {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kCheckMemory = false;  // the sanitizer's quarantine holds freed memory on purpose
#else
constexpr bool kCheckMemory = true;
#endif

TEST(Soak, OneSimulatedDay) {
  soak::Options options;
  options.hours = 24;
  options.seed = 7;
  options.res_dir = MIVO_RES_DIR;
  const soak::Report report = soak::Run(options);
  std::ostringstream numbers;
  soak::Print(report, numbers);
  ASSERT_EQ(report.failure, "") << numbers.str();
  EXPECT_EQ(report.hours.size(), 24u);
  // Every hour saw use, and the use reached the trace.
  for (const soak::Hour& hour : report.hours) EXPECT_GT(hour.events, 0);
  for (const char* kind : {"fCallUser", "fSendKey", "fSetMute", "fSetOnHold", "fSending",
                           "fGetVoiceMails", "mixerClose", "mixerSetControlDetails"}) {
    EXPECT_GT(report.Count(kind), 0) << kind << " never traced\n" << numbers.str();
  }
  EXPECT_EQ(soak::CheckShape(report, kCheckMemory), "") << numbers.str();
}

// The checks over a run catch a trace that keeps growing and memory that keeps growing.
TEST(Soak, ShapeCheckCatchesGrowth) {
  soak::Report report;
  report.kinds = {"fSendDisplayLCD_TXT", "SetTimer"};
  for (int h = 0; h < 24; ++h) {
    soak::Hour hour;
    hour.by_kind = {1000 + (h % 3) * 100, 200};
    hour.lines = hour.by_kind[0] + hour.by_kind[1];
    hour.rss_kb = 5000 + h % 2;
    report.hours.push_back(hour);
  }
  report.end_rss_kb = 5000;
  EXPECT_EQ(soak::CheckShape(report, true), "");

  soak::Report growing_kind = report;
  for (int h = 12; h < 24; ++h) growing_kind.hours[h].by_kind[1] = 200 + (h - 11) * 100;
  EXPECT_NE(soak::CheckShape(growing_kind, true).find("SetTimer"), std::string::npos);

  soak::Report one_storm = report;
  one_storm.hours[5].lines = 20000;
  EXPECT_NE(soak::CheckShape(one_storm, true).find("hour 6"), std::string::npos);

  soak::Report leaking = report;
  leaking.end_rss_kb = 9000;
  EXPECT_NE(soak::CheckShape(leaking, true).find("memory"), std::string::npos);
  EXPECT_EQ(soak::CheckShape(leaking, false), "");
}

}  // namespace
}  // namespace mivo

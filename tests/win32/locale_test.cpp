// The simulated platform checked against the real system: the day and month names of the six
// languages as GetDateFormatA gives them, and the Windows-1252 conversions of all 256 bytes.
// The reference is Windows 10. Where Wine's locale data differ from it, the difference is
// listed below and the simulation keeps to Windows 10.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/event_loop.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_world.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_system.h"
#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

// The language ids the controller formats dates with: English, German, Spanish, French,
// Italian, Dutch.
constexpr int kLanguages[] = {9, 7, 10, 12, 16, 19};

// The controller's own date picture, and the pictures of the names.
constexpr const char* kDatePicture = "MMM'/'dd'/'yyyy";
constexpr const char* kDayPictures[] = {"dddd", "ddd"};
constexpr const char* kMonthPictures[] = {"MMMM", "MMM", kDatePicture};

// A name that Wine formats differently from Windows 10, in a picture of its own ("ddd",
// "MMM") and, where `in_date_too`, inside the controller's date picture as well.
struct WineDeparture {
  int language;
  const char* picture;
  const char* windows10;  // what Windows 10, and so the simulation, writes
  const char* wine;       // what Wine writes
  bool in_date_too;
};

// Wine takes its German and Spanish abbreviations from newer locale data (Unicode CLDR) than
// Windows 10 has. German month abbreviations differ only standing alone: inside a date Wine
// writes Windows 10's. The full names, and the other four languages, agree. The texts are
// Windows-1252 bytes.
constexpr WineDeparture kWineDepartures[] = {
    {7, "ddd", "So", "So.", false},
    {7, "ddd", "Mo", "Mo.", false},
    {7, "ddd", "Di", "Di.", false},
    {7, "ddd", "Mi", "Mi.", false},
    {7, "ddd", "Do", "Do.", false},
    {7, "ddd", "Fr", "Fr.", false},
    {7, "ddd", "Sa", "Sa.", false},
    {7, "MMM", "Jan.", "Jan", false},
    {7, "MMM", "Feb.", "Feb", false},
    {7, "MMM", "M\xE4rz", "M\xE4r", false},
    {7, "MMM", "Apr.", "Apr", false},
    {7, "MMM", "Juni", "Jun", false},
    {7, "MMM", "Juli", "Jul", false},
    {7, "MMM", "Aug.", "Aug", false},
    {7, "MMM", "Sept.", "Sep", false},
    {7, "MMM", "Okt.", "Okt", false},
    {7, "MMM", "Nov.", "Nov", false},
    {7, "MMM", "Dez.", "Dez", false},
    {10, "ddd", "dom.", "dom", false},
    {10, "ddd", "lun.", "lun", false},
    {10, "ddd", "mar.", "mar", false},
    {10, "ddd", "mi\xE9.", "mi\xE9", false},
    {10, "ddd", "jue.", "jue", false},
    {10, "ddd", "vie.", "vie", false},
    {10, "ddd",
     "s\xE1"
     "b.",
     "s\xE1"
     "b",
     false},
    {10, "MMM", "ene.", "ene", true},
    {10, "MMM", "feb.", "feb", true},
    {10, "MMM", "mar.", "mar", true},
    {10, "MMM", "abr.", "abr", true},
    {10, "MMM", "may.", "may", true},
    {10, "MMM", "jun.", "jun", true},
    {10, "MMM", "jul.", "jul", true},
    {10, "MMM", "ago.", "ago", true},
    {10, "MMM", "sep.", "sept", true},
    {10, "MMM", "oct.", "oct", true},
    {10, "MMM", "nov.", "nov", true},
    {10, "MMM", "dic.", "dic", true},
};

// What Wine writes where the simulation wrote `simulated`: a listed name replaced.
std::string OnWine(int language, const std::string& picture, const std::string& simulated) {
  const bool in_date = picture == kDatePicture;
  for (const WineDeparture& departure : kWineDepartures) {
    if (departure.language != language) continue;
    if (!(picture == departure.picture || (in_date && departure.in_date_too))) continue;
    const std::string windows10 = departure.windows10;
    if (simulated.rfind(windows10, 0) == 0 &&
        (simulated.size() == windows10.size() || simulated[windows10.size()] == '/')) {
      return departure.wine + simulated.substr(windows10.size());
    }
  }
  return simulated;
}

class DateNames : public ::testing::Test {
 protected:
  DateNames() : simulated_(loop_, world_) {}

  // The date formatted by the simulation and by the system; a failure gives "(failed)".
  void Compare(int language, const char* picture, const mivo::LocalTime& date) {
    char simulated[64] = {};
    char real[64] = {};
    const int simulated_size = simulated_.GetDateFormat(language, LOCALE_USE_CP_ACP, &date, picture,
                                                        simulated, sizeof simulated);
    const int real_size =
        real_.GetDateFormat(language, LOCALE_USE_CP_ACP, &date, picture, real, sizeof real);
    const std::string a = simulated_size > 0 ? simulated : "(failed)";
    const std::string b = real_size > 0 ? real : "(failed)";
    const std::string expected = RunningOnWine() ? OnWine(language, picture, a) : a;
    if (expected == b) return;
    differences_.push_back("language " + std::to_string(language) + ", " + picture + ", " +
                           std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
                           std::to_string(date.day) + ": simulated \"" + a + "\", expected \"" +
                           expected + "\", system \"" + b + "\"");
  }

  static std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  }

  mivo::sim::EventLoop loop_;
  mivo::sim::SimWorld world_;
  mivo::sim::SimClock simulated_;
  Win32Clock real_;
  std::vector<std::string> differences_;
};

TEST_F(DateNames, EveryDayAndMonthNameOfTheSixLanguagesAgreesWithTheSystem) {
  for (int language : kLanguages) {
    // 2026-01-04 was a Sunday: a week of days.
    for (int day = 4; day <= 10; ++day) {
      mivo::LocalTime date;
      date.year = 2026;
      date.month = 1;
      date.day = day;
      date.day_of_week = day - 4;
      for (const char* picture : kDayPictures) Compare(language, picture, date);
    }
    for (int month = 1; month <= 12; ++month) {
      mivo::LocalTime date;
      date.year = 2026;
      date.month = month;
      date.day = 9;
      for (const char* picture : kMonthPictures) Compare(language, picture, date);
    }
  }
  EXPECT_TRUE(differences_.empty()) << Joined(differences_);
}

TEST_F(DateNames, InvalidDatesFailAlike) {
  for (const auto& [year, month, day] : {std::tuple{2026, 2, 29}, std::tuple{2026, 13, 1},
                                         std::tuple{1600, 1, 1}, std::tuple{2026, 4, 31}}) {
    SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
    mivo::LocalTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    char out[64];
    // Wine formats a 29 February of any year; Windows 10 refuses it.
    if (!(RunningOnWine() && month == 2 && day == 29)) {
      EXPECT_EQ(real_.GetDateFormat(9, LOCALE_USE_CP_ACP, &date, "dddd", out, sizeof out), 0);
    }
    EXPECT_EQ(simulated_.GetDateFormat(9, LOCALE_USE_CP_ACP, &date, "dddd", out, sizeof out), 0);
  }
}

class CodePage1252 : public ::testing::Test {
 protected:
  CodePage1252() : simulated_(world_) {}

  mivo::sim::SimWorld world_;
  mivo::sim::SimSystem simulated_;
  Win32System real_;
};

TEST_F(CodePage1252, AllBytesConvertToTheSameCharactersAndBack) {
  std::vector<std::string> differences;
  for (int byte = 1; byte < 256; ++byte) {
    const char text[2] = {static_cast<char>(byte), '\0'};
    char16_t simulated[4] = {};
    char16_t real[4] = {};
    const int simulated_size = simulated_.MultiByteToWideChar(1252, text, simulated, 4);
    const int real_size = real_.MultiByteToWideChar(1252, text, real, 4);
    if (simulated_size != real_size || simulated[0] != real[0]) {
      differences.push_back("byte " + std::to_string(byte) + ": simulated U+" +
                            std::to_string(simulated[0]) + ", system U+" + std::to_string(real[0]));
      continue;
    }
    char simulated_back[4] = {};
    char real_back[4] = {};
    simulated_.WideCharToMultiByte(1252, simulated, simulated_back, 4);
    real_.WideCharToMultiByte(1252, real, real_back, 4);
    if (std::string(simulated_back) != real_back || real_back[0] != text[0]) {
      differences.push_back("back to byte " + std::to_string(byte) + ": simulated " +
                            std::to_string(static_cast<unsigned char>(simulated_back[0])) +
                            ", system " + std::to_string(static_cast<unsigned char>(real_back[0])));
    }
  }
  std::string text;
  for (const std::string& line : differences) text += line + "\n";
  EXPECT_TRUE(differences.empty()) << text;

  // The terminator alone, and the size-only query.
  char16_t out[2] = {1, 1};
  EXPECT_EQ(real_.MultiByteToWideChar(1252, "", out, 2), 1);
  EXPECT_EQ(simulated_.MultiByteToWideChar(1252, "", out, 2), 1);
  EXPECT_EQ(real_.MultiByteToWideChar(1252, "abc", nullptr, 0),
            simulated_.MultiByteToWideChar(1252, "abc", nullptr, 0));
  // A buffer too small: 0 from both.
  EXPECT_EQ(real_.MultiByteToWideChar(1252, "abc", out, 2), 0);
  EXPECT_EQ(simulated_.MultiByteToWideChar(1252, "abc", out, 2), 0);
}

TEST_F(CodePage1252, TheAnsiCodePageIsTheSameWhenItIs1252) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system's ANSI code page is " << ::GetACP();
  for (int byte = 1; byte < 256; ++byte) {
    const char text[2] = {static_cast<char>(byte), '\0'};
    char16_t simulated[4] = {};
    char16_t real[4] = {};
    simulated_.MultiByteToWideChar(CP_ACP, text, simulated, 4);
    real_.MultiByteToWideChar(CP_ACP, text, real, 4);
    EXPECT_EQ(simulated[0], real[0]) << "byte " << byte;
  }
}

}  // namespace
}  // namespace mivo::win32::test

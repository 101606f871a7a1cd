#include "platform/win32/win32_clock.h"

#include <ctime>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

// FILETIME counts 100-ns intervals from 1601-01-01; 11644473600 seconds lie before 1970.
constexpr std::int64_t kIntervalsPerSecond = 10000000;
constexpr std::int64_t kSeconds1601To1970 = 11644473600;

LocalTime FromSystemTime(const SYSTEMTIME& time) {
  LocalTime t;
  t.year = time.wYear;
  t.month = time.wMonth;
  t.day_of_week = time.wDayOfWeek;
  t.day = time.wDay;
  t.hour = time.wHour;
  t.minute = time.wMinute;
  t.second = time.wSecond;
  return t;
}

// A field that does not fit the system's 16-bit field is made one the system refuses.
WORD Field(int value) {
  return value >= 0 && value <= 0xFFFF ? static_cast<WORD>(value) : 0xFFFF;
}

}  // namespace

std::int64_t Win32Clock::Time() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const std::int64_t intervals = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  return intervals / kIntervalsPerSecond - kSeconds1601To1970;
}

LocalTime Win32Clock::GetLocalTime() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return FromSystemTime(now);
}

bool Win32Clock::LocalTimeOf(std::int64_t utc_seconds, LocalTime* out) {
  if (out == nullptr) return false;
  const __time64_t when = utc_seconds;
  std::tm broken{};
  if (::_localtime64_s(&broken, &when) != 0) return false;
  out->year = broken.tm_year + 1900;
  out->month = broken.tm_mon + 1;
  out->day_of_week = broken.tm_wday;
  out->day = broken.tm_mday;
  out->hour = broken.tm_hour;
  out->minute = broken.tm_min;
  out->second = broken.tm_sec;
  return true;
}

TimeZoneInfo Win32Clock::GetTimeZoneInformation() {
  TIME_ZONE_INFORMATION zone;
  const DWORD which = ::GetTimeZoneInformation(&zone);
  TimeZoneInfo info;
  info.bias_minutes = zone.Bias;
  info.daylight = which == TIME_ZONE_ID_DAYLIGHT;
  return info;
}

int Win32Clock::GetDateFormat(int locale, DWORD flags, const LocalTime* date, const char* picture,
                              char* out, int out_size) {
  SYSTEMTIME when{};
  if (date != nullptr) {
    when.wYear = Field(date->year);
    when.wMonth = Field(date->month);
    when.wDayOfWeek = Field(date->day_of_week);
    when.wDay = Field(date->day);
    when.wHour = Field(date->hour);
    when.wMinute = Field(date->minute);
    when.wSecond = Field(date->second);
  }
  return ::GetDateFormatA(static_cast<LCID>(locale), flags, date != nullptr ? &when : nullptr,
                          picture, out, out_size);
}

}  // namespace mivo::win32

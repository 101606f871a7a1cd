// The PC's real clock, time zone and locale date formatting.
#pragma once

#include "platform/host.h"

namespace mivo::win32 {

class Win32Clock : public ClockHost {
 public:
  std::int64_t Time() override;
  LocalTime GetLocalTime() override;
  bool LocalTimeOf(std::int64_t utc_seconds, LocalTime* out) override;
  TimeZoneInfo GetTimeZoneInformation() override;
  // The locale is a language id as the controller keeps it; the system takes it as a locale
  // identifier of that language's default country.
  int GetDateFormat(int locale, DWORD flags, const LocalTime* date, const char* picture, char* out,
                    int out_size) override;
};

}  // namespace mivo::win32

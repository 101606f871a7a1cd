// The simulated PC clock: local date and time from the world, advanced by the event loop's
// virtual clock; the time zone; and the locale names of days and months of the six languages
// as Windows formats them (in the ANSI code page, Windows-1252).
#pragma once

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

class SimClock : public ClockHost {
 public:
  SimClock(EventLoop& loop, SimWorld& world);

  // Local seconds now: the world's local time plus the virtual time elapsed since it was set.
  std::int64_t LocalSecondsNow() const;
  // Call when the world's local time was set (`time` command): the virtual clock counts on
  // from the new value.
  void ResetEpoch();

  std::int64_t Time() override;
  LocalTime GetLocalTime() override;
  bool LocalTimeOf(std::int64_t utc_seconds, LocalTime* out) override;
  TimeZoneInfo GetTimeZoneInformation() override;
  int GetDateFormat(int locale, DWORD flags, const LocalTime* date, const char* picture, char* out,
                    int out_size) override;

 private:
  EventLoop& loop_;
  SimWorld& world_;
  std::int64_t epoch_ms_ = 0;  // loop time when the world's local time was set
};

}  // namespace mivo::sim

// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_clock.h"

namespace mivo::sim {

SimClock::SimClock(EventLoop& loop, SimWorld& world)
    : loop_(loop), world_(world) {}
std::int64_t SimClock::LocalSecondsNow() const { return 0; }
void SimClock::ResetEpoch() { }
std::int64_t SimClock::Time() { return 0; }
LocalTime SimClock::GetLocalTime() { return {}; }
bool SimClock::LocalTimeOf(std::int64_t, LocalTime*) { return false; }
TimeZoneInfo SimClock::GetTimeZoneInformation() { return {}; }
int SimClock::GetDateFormat(int, DWORD, const LocalTime*, const char*, char*, int) { return 0; }

}  // namespace mivo::sim

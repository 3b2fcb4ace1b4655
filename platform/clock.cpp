#include "platform/clock.h"

#include <cstdint>
#include <ctime>

#include <sys/times.h>
#include <unistd.h>

namespace kv {
namespace {

struct ClockSource {
  bool high_resolution = false;
  double seconds_per_tick = 0.0;
};

ClockSource first_reading() {
  ClockSource source;
  timespec resolution{};
  if (clock_getres(CLOCK_MONOTONIC, &resolution) == 0) {
    // CLOCK_MONOTONIC counts nanoseconds; its "frequency" is 1e9 ticks per second.
    source.high_resolution = true;
    source.seconds_per_tick = 1.0 / 1e9;
  }
  return source;
}

// The system's tick count since boot, in milliseconds, wrapping as a 32-bit number.
std::uint32_t millisecond_tick() {
  static const long ticks_per_second = sysconf(_SC_CLK_TCK);
  tms unused{};
  const auto ticks = static_cast<std::uint64_t>(times(&unused));
  return static_cast<std::uint32_t>(ticks * 1000u / static_cast<std::uint64_t>(ticks_per_second));
}

}  // namespace

double clock_seconds() {
  static const ClockSource source = first_reading();
  if (!source.high_resolution) return millisecond_tick() * 0.001;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::int64_t ticks = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  return static_cast<double>(ticks) * source.seconds_per_tick;
}

}  // namespace kv

// The processor's time-stamp counter and its rate, measured once against
// CLOCK_MONOTONIC, so that benchmark figures can be given in cycles.
#pragma once

#include <stdint.h>
#include <time.h>

namespace bench {

inline uint64_t ReadTsc() {
  uint32_t lo, hi;
  __asm__ __volatile__("rdtsc" : "=a"(lo), "=d"(hi));
  return (uint64_t(hi) << 32) | lo;
}

inline double MonotonicSeconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The process's processor time.
inline double ProcessSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Counter ticks per second over a quarter of a second of sleep; the counter
// runs at a constant rate on processors of this class, asleep or not.
inline double MeasureTscHz() {
  const double start = MonotonicSeconds();
  const uint64_t ticks = ReadTsc();
  const timespec quarter = {0, 250000000};
  nanosleep(&quarter, nullptr);
  const uint64_t endTicks = ReadTsc();
  const double seconds = MonotonicSeconds() - start;
  return seconds > 0 ? double(endTicks - ticks) / seconds : 0;
}

}  // namespace bench

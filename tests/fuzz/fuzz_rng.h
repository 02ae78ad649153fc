// The fuzzer's random numbers: splitmix64, so one seed gives one sequence on
// every machine. Each step draws from its own generator, seeded from the
// run's seed and the step's index, so a step means the same action whether
// or not the steps before it ran (what the minimiser relies on).
#pragma once

#include <stddef.h>
#include <stdint.h>

class FuzzRng {
 public:
  explicit FuzzRng(uint64_t seed) : state_(seed) {}
  FuzzRng(uint64_t seed, uint64_t step) : state_(seed ^ (step * 0xD1B54A32D192ED03ull)) { Next(); }

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n); n > 0.
  uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }
  // Uniform in [lo, hi].
  int Range(int lo, int hi) { return lo + int(Below(uint32_t(hi - lo + 1))); }
  // True with probability percent / 100.
  bool Percent(unsigned percent) { return Below(100) < percent; }
  double Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
  template <class T, size_t N>
  const T &Pick(const T (&table)[N]) {
    return table[Below(N)];
  }

 private:
  uint64_t state_;
};

// The canary checks of query_model.h.
#pragma once

#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <type_traits>

namespace query_test {

constexpr int kRoom = 160;
constexpr uint8_t kCanary = 0xCD;

template <typename T>
bool SameValue(T a, T b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

// Floating results within `tolerance` (relative beyond 1) when it is not 0.
template <typename T>
bool Matches(T got, T want, double tolerance) {
  if constexpr (std::is_floating_point_v<T>) {
    if (tolerance != 0)
      return fabs(double(got) - double(want)) <= tolerance * (1 + fabs(double(want)));
  }
  return SameValue(got, want);
}

template <typename T, typename Get>
void ExpectWritten(const std::vector<T> &want, Get get, const std::string &what, double tolerance) {
  T buffer[kRoom];
  memset(buffer, kCanary, sizeof buffer);
  get(buffer);
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_TRUE(Matches(buffer[i], want[i], tolerance))
        << what << ": element " << i << " is " << +buffer[i] << ", wanted " << +want[i];
  uint8_t canary[sizeof buffer];
  memset(canary, kCanary, sizeof canary);
  const size_t used = want.size() * sizeof(T);
  EXPECT_EQ(memcmp(reinterpret_cast<uint8_t *>(buffer) + used, canary, sizeof buffer - used), 0)
      << what << ": written beyond " << want.size() << " values";
}

template <typename T, typename Get>
void ExpectUntouched(Get get, const std::string &what) {
  ExpectWritten<T>({}, get, what, 0);
}

}  // namespace query_test

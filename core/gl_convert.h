// Float-to-integer conversions with a defined result for every value: the
// rasterizers and setters meet NaN, infinities and depths above 2^31, for
// which the plain C++ conversions are undefined.
#pragma once

#include <stdint.h>

// Toward zero; NaN gives 0, values beyond the 32-bit range the nearest end
// of it.
inline int32_t __glTruncateToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return int32_t(v);
}

// Toward zero into 0 .. 2^32 - 1; NaN and negative values give 0.
inline uint32_t __glTruncateToUint(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 4294967295.0) return UINT32_MAX;
  return uint32_t(v);
}

// Toward minus infinity, with the same ends as __glTruncateToInt.
inline int32_t __glFloorToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  int32_t i = int32_t(v);
  return (double(i) > v) ? i - 1 : i;
}

// Toward zero into the 64-bit range (NaN gives 0). Pixel packing keeps the
// low bits of the result, so values beyond the 32-bit range still give a
// defined element.
inline int64_t __glTruncateToInt64(double v) {
  if (!(v == v)) return 0;
  if (v >= 9223372036854775807.0) return INT64_MAX;
  if (v <= -9223372036854775808.0) return INT64_MIN;
  return int64_t(v);
}

// Toward minus infinity, with the same ends as __glTruncateToInt64.
inline int64_t __glFloorToInt64(double v) {
  int64_t i = __glTruncateToInt64(v);
  return (double(i) > v && i != INT64_MIN) ? i - 1 : i;
}

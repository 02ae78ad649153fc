// The roundings of the pixel setters: to the nearest integer, halves away
// from zero, with the defined results of core/gl_convert.h for NaN and
// values beyond the 32-bit range.
#pragma once

#include <stdint.h>

#include "core/gl_convert.h"

// truncate(v + 0.5) when v > 0, else truncate(v - 0.5): the rounding of
// glPixelZoom, glPixelTransfer and glPixelMap. glPixelStore tests v >= 0,
// which gives the same result: both give 0 at zero.
inline int32_t __glPixelRound(double v) {
  return __glTruncateToInt(v > 0.0 ? v + 0.5 : v - 0.5);
}

// The double-precision model the frustum checks are held to, and a context
// with nothing but a viewport: a 640 x 480 viewport at the window bias,
// depth range [0, 1].
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>

#include "core/context.h"

struct ViewportContext {
  explicit ViewportContext(GlCpuFlags flags = 0);
  ~ViewportContext();
  ViewportContext(const ViewportContext &) = delete;
  ViewportContext &operator=(const ViewportContext &) = delete;
  GlContext *gc;
};

// The codes of clip coordinates (a coordinate or w that is not a number
// outside on the high side), 1/w as a float, and the window coordinates:
// scale · (1/w) · c + centre rounded once, with the product term apart.
struct ClipModel {
  uint32_t codes;
  float invW;
  float window[3];
  double term[3];
};
ClipModel ModelOf(const GlViewport &vp, const GlCoord &clip);

// The same float, or both NaN.
testing::AssertionResult SameFloat(float got, float want);
// Within `tolerance` of want (NaN only matches NaN).
testing::AssertionResult Within(float got, double want, double tolerance);

// Clip coordinates every frustum check is held to: on and just beyond each
// face, w <= 0 (both signs of zero), NaN and infinities.
#pragma once

#include <math.h>

#include "geometry/s_vertex.h"

namespace vertex_test {

struct ClipCase {
  const char *what;
  GlCoord clip;
};

inline const GLfloat kAbove2 = nextafterf(2.0f, 3.0f);  // the float just beyond w = 2

inline const ClipCase kClipCases[] = {
    {"inside", {0.5f, -0.25f, 0.125f, 1.0f}},
    {"the origin", {0, 0, 0, 1}},
    {"x = w", {2, 0, 0, 2}},
    {"x = -w", {-2, 0, 0, 2}},
    {"y = w", {0, 2, 0, 2}},
    {"y = -w", {0, -2, 0, 2}},
    {"z = w", {0, 0, 2, 2}},
    {"z = -w", {0, 0, -2, 2}},
    {"every coordinate on a face", {-2, 2, 2, 2}},
    {"just beyond x = w", {kAbove2, 0, 0, 2}},
    {"just beyond x = -w", {-kAbove2, 0, 0, 2}},
    {"just beyond y = w", {0, kAbove2, 0, 2}},
    {"just beyond y = -w", {0, -kAbove2, 0, 2}},
    {"just beyond z = w", {0, 0, kAbove2, 2}},
    {"just beyond z = -w", {0, 0, -kAbove2, 2}},
    {"far outside on three sides", {-100, 100, 100, 1}},
    {"w < 0, the origin: both codes of every pair", {0, 0, 0, -1}},
    {"w < 0, |x| < |w|", {0.5f, 0, 0, -1}},
    {"w < 0, x = -w", {1, 0, 0, -1}},
    {"w = +0, the origin", {0, 0, 0, 0.0f}},
    {"w = -0, the origin", {0, 0, 0, -0.0f}},
    {"w = +0, x > 0", {1, 0, 0, 0.0f}},
    {"w = +0, x < 0", {-1, 0, 0, 0.0f}},
    {"w = -0, y > 0", {0, 1, 0, -0.0f}},
    {"w = -0, z < 0", {0, 0, -1, -0.0f}},
    {"NaN x", {NAN, 0, 0, 1}},
    {"NaN y", {0, NAN, 0, 1}},
    {"NaN z", {0, 0, NAN, 1}},
    {"NaN w", {0, 0, 0, NAN}},
    {"NaN everywhere", {NAN, NAN, NAN, NAN}},
    {"x = +infinity", {INFINITY, 0, 0, 1}},
    {"x = -infinity", {-INFINITY, 0, 0, 1}},
    {"w = +infinity", {1, -1, 0.5f, INFINITY}},
    {"w = -infinity", {1, -1, 0.5f, -INFINITY}},
    {"tiny w, inside", {1e-30f, -1e-30f, 0, 2e-30f}},
    {"huge w, inside", {1e30f, -1e30f, 0, 2e30f}},
};

}  // namespace vertex_test

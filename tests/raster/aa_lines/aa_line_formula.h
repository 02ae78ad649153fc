// The antialiased line's coverage rule evaluated in double precision at a
// pixel's centre, l and d measured from the first vertex (window
// coordinates), without stipple.
#pragma once

#include <math.h>

namespace aa_model {

inline double LineCoverage(double ax, double ay, double bx, double by, double width, int x,
                           int y) {
  const double dx = bx - ax, dy = by - ay, length = hypot(dx, dy);
  const double ux = dx / length, uy = dy / length;
  const double px = x + 0.5 - ax, py = y + 0.5 - ay;
  const double l = ux * px + uy * py, d = -uy * px + ux * py;
  const double hw = 0.5 * width - 0.5, end = length - 0.5;
  double c = 1.0;
  if (d > hw)
    c = hw - d + 1.0;
  else if (d < -hw)
    c = 1.0 + d + hw;
  if (c < 0) return 0;
  if (l < 0.5)
    c *= 0.5 + l;
  else if (l > end)
    c *= end - l + 1.0;
  return c < 0 ? 0 : c;
}

}  // namespace aa_model

// An independent evaluator in double precision: de Casteljau's construction
// over the control points, derivatives from the differences of neighbouring
// points, and the surface normal of a map as OpenGL defines it.
#pragma once

#include <vector>

namespace eval_test {

// A map as the application gives it: packed points (1-D: order x k; 2-D:
// point (i, j) at (i * vOrder + j) * k).
struct RefMap {
  int k = 0;
  int uOrder = 1, vOrder = 1;  // vOrder 1 for a 1-D map
  double u1 = 0, u2 = 1, v1 = 0, v2 = 1;
  std::vector<double> points;
};

std::vector<double> RefValue(const RefMap &map, double u, double v = 0);
// The partials along u and v as given (2-D maps).
void RefPartials(const RefMap &map, double u, double v, std::vector<double> &du,
                 std::vector<double> &dv);
// The unit normal dp/du x dp/dv of a 3- or 4-component vertex map (the
// projected point for 4 components).
std::vector<double> RefNormal(const RefMap &map, double u, double v);

// Points drawn from a fixed sequence in [-range, range].
std::vector<double> SomePoints(int count, unsigned seed, double range = 4.0);

}  // namespace eval_test

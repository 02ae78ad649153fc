// Double-precision plane geometry the window clipper's results are held
// to: a rectangle clipper, areas, sides and barycentric weights.
#pragma once

#include <array>
#include <vector>

namespace clip_window_test {

struct Pt {
  double x, y;
};
using Poly = std::vector<Pt>;

// What of a convex polygon lies inside x0 <= x <= x1, y0 <= y <= y1.
Poly ClipToBox(const Poly &poly, double x0, double y0, double x1, double y1);
// Positive for counter-clockwise order.
double SignedArea(const Poly &poly);
// +1 when p lies inside the triangle by more than `margin`, -1 when outside
// by more, 0 when nearer an edge than that (either winding; a triangle of
// no area contains nothing).
int TriangleSide(const Pt tri[3], Pt p, double margin);
int BoxSide(double x0, double y0, double x1, double y1, Pt p, double margin);
// Weights of the corners of `tri` that make p.
std::array<double, 3> Barycentric(const Pt tri[3], Pt p);
// Distance of p from the line through a and b.
double LineDistance(Pt a, Pt b, Pt p);
// Whether p lies on segment a-b within `margin`.
bool OnSegment(Pt a, Pt b, Pt p, double margin);

}  // namespace clip_window_test

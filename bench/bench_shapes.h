// The triangles the triangle benchmarks draw: right triangles of a given
// area, turned at random from a fixed seed, so every run and every program
// draws the same ones.
#pragma once

#include <math.h>
#include <stdint.h>

#include <vector>

namespace bench {

struct Vertex {
  float x, y, z;
  float r, g, b, a;
  float nx, ny, nz;
};

// xorshift32: the same triangles on every machine.
struct Random {
  uint32_t state;
  float Unit() {  // [0, 1)
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    return float(state >> 8) / 16777216.0f;
  }
  float Between(float lo, float hi) { return lo + (hi - lo) * Unit(); }
};

// `count` triangles of `area` pixels inside a width x height window (window
// coordinates, y up), three vertices each; `clipped` puts them across the
// window's four edges in turn.
inline std::vector<Vertex> RightTriangles(float area, int count, int32_t width, int32_t height,
                                          bool clipped) {
  Random random{0x9E3779B9u};
  const float legs = sqrtf(2 * area);
  std::vector<Vertex> out(size_t(count) * 3);
  for (int t = 0; t < count; t++) {
    float cx = random.Between(legs, width - legs), cy = random.Between(legs, height - legs);
    if (clipped) {  // round the four edges in turn
      const float across = random.Between(-legs / 2, legs / 2);
      if (t & 1) cx = (t & 2) ? across : width + across;
      else cy = (t & 2) ? across : height + across;
    }
    const float turn = random.Between(0, 6.2831853f), cs = cosf(turn), sn = sinf(turn);
    const float corner[3][2] = {{0, 0}, {legs, 0}, {0, legs}};
    for (int k = 0; k < 3; k++) {
      Vertex &v = out[size_t(t) * 3 + k];
      const float dx = corner[k][0] - legs / 3, dy = corner[k][1] - legs / 3;
      v.x = cx + dx * cs - dy * sn, v.y = cy + dx * sn + dy * cs;
      v.z = random.Between(-0.9f, 0.9f);
      v.r = random.Unit(), v.g = random.Unit(), v.b = random.Unit(), v.a = random.Unit();
      v.nx = random.Between(-0.5f, 0.5f), v.ny = random.Between(-0.5f, 0.5f), v.nz = 1;
    }
  }
  return out;
}

// The area of a triangle inside a width x height window: the polygon
// clipped against the window's four edges, then the shoelace sum.
inline double AreaInWindow(const Vertex *v, int32_t width, int32_t height) {
  double px[12], py[12];
  int n = 3;
  for (int i = 0; i < 3; i++) px[i] = v[i].x, py[i] = v[i].y;
  for (int edge = 0; edge < 4; edge++) {
    const int axis = edge & 1;        // 0: x, 1: y
    const bool keepAbove = edge < 2;  // the low edges keep what lies above
    const double limit = keepAbove ? 0 : (axis ? height : width);
    double qx[12], qy[12];
    int m = 0;
    for (int i = 0; i < n; i++) {
      const int j = (i + 1) % n;
      const double a = (axis ? py[i] : px[i]) - limit, b = (axis ? py[j] : px[j]) - limit;
      const bool inA = keepAbove ? a >= 0 : a <= 0, inB = keepAbove ? b >= 0 : b <= 0;
      if (inA) qx[m] = px[i], qy[m] = py[i], m++;
      if (inA != inB) {
        const double t = a / (a - b);
        qx[m] = px[i] + t * (px[j] - px[i]), qy[m] = py[i] + t * (py[j] - py[i]), m++;
      }
    }
    n = m;
    for (int i = 0; i < n; i++) px[i] = qx[i], py[i] = qy[i];
  }
  double twice = 0;
  for (int i = 0; i < n; i++) twice += px[i] * py[(i + 1) % n] - px[(i + 1) % n] * py[i];
  return fabs(twice) / 2;
}

}  // namespace bench

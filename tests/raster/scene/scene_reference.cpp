#include "tests/raster/scene/scene_reference.h"

#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <utility>

namespace scene_test {

namespace {

// v on the grid of 2^-12, as an integer number of grid steps.
bool OnGrid(double v, int64_t *out) {
  const double scaled = v * 4096.0;
  const double whole = nearbyint(scaled);
  if (whole != scaled || fabs(whole) > 1e12) return false;
  *out = int64_t(whole);
  return true;
}

bool Compare(GLenum func, double a, double b) {
  switch (func) {
    case GL_NEVER: return false;
    case GL_LESS: return a < b;
    case GL_EQUAL: return a == b;
    case GL_LEQUAL: return a <= b;
    case GL_GREATER: return a > b;
    case GL_NOTEQUAL: return a != b;
    case GL_GEQUAL: return a >= b;
    default: return true;
  }
}

// A name for the triangle's depth plane: the same vertices give the same
// depths, bit for bit, in the driver as here.
uint64_t SurfaceOf(const SceneVertex *v[3]) {
  uint64_t h = 1469598103934665603ull;
  for (int i = 0; i < 3; i++) {
    const double coords[3] = {v[i]->x, v[i]->y, v[i]->z};
    uint8_t bytes[sizeof coords];
    memcpy(bytes, coords, sizeof coords);
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  }
  return h | 1;
}

}  // namespace

// Whether dx / dy is a binary fraction short enough for a float.
bool ExactSlope(int64_t dx, int64_t dy) {
  if (dy == 0) return true;
  const double slope = double(dx) / double(dy);
  return double(float(slope)) * double(dy) == double(dx);
}

bool Covers(const double a[2], const double b[2], const double c[2], int32_t i, int32_t j,
            bool *tie) {
  if (tie) *tie = false;
  int64_t p[3][2];
  const double *in[3] = {a, b, c};
  for (int k = 0; k < 3; k++)
    for (int d = 0; d < 2; d++)
      if (!OnGrid(in[k][d], &p[k][d])) {
        ADD_FAILURE() << "vertex coordinate " << in[k][d] << " is off the reference's grid";
        return false;
      }
  int lo = 0, mid = 1, hi = 2;
  if (p[lo][1] > p[mid][1]) std::swap(lo, mid);
  if (p[mid][1] > p[hi][1]) std::swap(mid, hi);
  if (p[lo][1] > p[mid][1]) std::swap(lo, mid);
  const int64_t xc = int64_t(i) * 4096 + 2048, yc = int64_t(j) * 4096 + 2048;
  if (!(yc > p[lo][1] && yc <= p[hi][1])) return false;
  // Positive: the centre lies right of the edge from e0 up to e1 on its row.
  auto right = [&](int e0, int e1) {
    return (xc - p[e0][0]) * (p[e1][1] - p[e0][1]) - (yc - p[e0][1]) * (p[e1][0] - p[e0][0]);
  };
  const int64_t side = (p[mid][0] - p[lo][0]) * (p[hi][1] - p[lo][1]) -
                       (p[mid][1] - p[lo][1]) * (p[hi][0] - p[lo][0]);
  if (side == 0) return false;
  const int64_t longEdge = right(lo, hi);
  const int s0 = yc <= p[mid][1] ? lo : mid, s1 = yc <= p[mid][1] ? mid : hi;
  const int64_t shortEdge = right(s0, s1);
  const int64_t leftEdge = side > 0 ? longEdge : shortEdge;
  const int64_t rightEdge = side > 0 ? shortEdge : longEdge;
  if (tie) {
    // Within 2^-10 pixel of the edge along the row, or on an edge of an
    // inexact slope.
    auto near = [&](int64_t value, int e0, int e1) {
      const int64_t dx = p[e1][0] - p[e0][0], dy = p[e1][1] - p[e0][1];
      return value == 0 ? !ExactSlope(dx, dy) : (value < 0 ? -value : value) < 4 * dy;
    };
    *tie = near(longEdge, lo, hi) || near(shortEdge, s0, s1);
  }
  return leftEdge > 0 && rightEdge <= 0;
}

std::vector<TriangleIndexes> Decompose(GLenum mode, int32_t n) {
  std::vector<TriangleIndexes> out;
  switch (mode) {
    case GL_TRIANGLES:
      for (int32_t i = 0; i + 2 < n; i += 3) out.push_back({i, i + 1, i + 2, i + 2});
      break;
    case GL_TRIANGLE_STRIP:
      for (int32_t i = 0; i + 2 < n; i++)
        out.push_back(i & 1 ? TriangleIndexes{i + 1, i, i + 2, i + 2}
                            : TriangleIndexes{i, i + 1, i + 2, i + 2});
      break;
    case GL_TRIANGLE_FAN:
      for (int32_t i = 1; i + 1 < n; i++) out.push_back({0, i, i + 1, i + 1});
      break;
    case GL_QUADS:
      for (int32_t i = 0; i + 3 < n; i += 4) {
        out.push_back({i, i + 1, i + 2, i + 3});
        out.push_back({i, i + 2, i + 3, i + 3});
      }
      break;
    case GL_QUAD_STRIP:
      for (int32_t i = 0; i + 3 < n; i += 2) {
        out.push_back({i, i + 1, i + 3, i + 3});
        out.push_back({i, i + 3, i + 2, i + 3});
      }
      break;
    case GL_POLYGON:
      for (int32_t i = 1; i + 1 < n; i++) out.push_back({0, i, i + 1, 0});
      break;
    default:
      break;
  }
  return out;
}

SceneReference::SceneReference(const SceneTarget &target)
    : t_(target), pixels_(size_t(target.width) * target.height) {}

void SceneReference::Clear(const std::vector<uint32_t> &colors, uint32_t stencil) {
  for (size_t i = 0; i < pixels_.size(); i++) {
    pixels_[i] = RefPixel{};
    pixels_[i].initial = colors[i];
    pixels_[i].stencil = stencil & ((1u << t_.stencilBits) - 1);
  }
}

double SceneReference::DeviceY(double y) const {
  return t_.yInverted ? double(t_.height) - t_.epsilon - y : y;
}

void SceneReference::Draw(const SceneStep &step) {
  const std::vector<SceneVertex> &v = step.primitive.v;
  for (const TriangleIndexes &t : Decompose(step.primitive.mode, int32_t(v.size())))
    Triangle(step.state, &v[t.a], &v[t.b], &v[t.c], &v[t.provoking]);
}

void SceneReference::Triangle(const SceneState &s, const SceneVertex *a, const SceneVertex *b,
                              const SceneVertex *c, const SceneVertex *provoking) {
  const double glArea = (b->x - a->x) * (c->y - a->y) - (c->x - a->x) * (b->y - a->y);
  if (glArea == 0) return;
  const bool front = (s.frontFace == GL_CCW) == (glArea > 0);
  if (s.cull && (s.cullFace == GL_FRONT_AND_BACK || (s.cullFace == GL_FRONT) == front)) return;

  const SceneVertex *v[3] = {a, b, c};
  for (const SceneVertex *w : {a, b, c, provoking})
    for (int k = 0; k < 4 && t_.format.rgba; k++)
      if (w->c[k] < 0 || w->c[k] > 1) ADD_FAILURE() << "colours are clamped: keep them in [0, 1]";
  double p[3][2];
  for (int k = 0; k < 3; k++) p[k][0] = v[k]->x, p[k][1] = DeviceY(v[k]->y);
  const double det = (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) -
                     (p[2][0] - p[0][0]) * (p[1][1] - p[0][1]);
  auto plane = [&](double v0, double v1, double v2, double *ddx, double *ddy) {
    *ddx = ((v1 - v0) * (p[2][1] - p[0][1]) - (v2 - v0) * (p[1][1] - p[0][1])) / det;
    *ddy = ((v2 - v0) * (p[1][0] - p[0][0]) - (v1 - v0) * (p[2][0] - p[0][0])) / det;
  };
  double dzdx, dzdy;
  plane(a->z, b->z, c->z, &dzdx, &dzdy);
  double dcdx[4], dcdy[4];
  for (int k = 0; k < 4; k++) plane(a->c[k], b->c[k], c->c[k], &dcdx[k], &dcdy[k]);
  const double offset =
      s.offset ? s.factor * std::max(fabs(dzdx), fabs(dzdy)) + s.units * t_.offsetUnit : 0;
  const uint64_t surface = SurfaceOf(v);

  for (int32_t row = 0; row < t_.height; row++)
    for (int32_t x = 0; x < t_.width; x++) {
      bool tie;
      const bool covered = Covers(p[0], p[1], p[2], x, row, &tie);
      if (tie) At(x, row).ambiguous = true;
      if (!covered) continue;
      const double dx = x + 0.5 - p[0][0], dy = row + 0.5 - p[0][1];
      double color[4];
      for (int k = 0; k < 4; k++)
        color[k] = s.smooth ? a->c[k] + dcdx[k] * dx + dcdy[k] * dy : provoking->c[k];
      double z = a->z + dzdx * dx + dzdy * dy + offset;
      bool exact = false;
      if (z <= 0) z = 0, exact = s.offset;
      if (z >= 1) z = 1, exact = s.offset;
      Fragment(s, x, row, color, z, exact, surface);
    }
}

void SceneReference::Fragment(const SceneState &s, int32_t x, int32_t row, const double color[4],
                              double z, bool exactDepth, uint64_t surface, double zSlack) {
  RefPixel &p = At(x, row);
  const int32_t glx = x, gly = GlRow(row);
  if (s.scissor && !(glx >= s.box[0] && glx < s.box[0] + s.box[2] && gly >= s.box[1] &&
                     gly < s.box[1] + s.box[3]))
    return;
  if (s.stipple) {
    const uint8_t byte = s.pattern[(gly & 31) * 4 + (glx & 31) / 8];
    if (!((byte >> (7 - (glx & 7))) & 1)) return;
  }
  if (s.alphaTest && t_.format.rgba && s.alphaFunc != GL_ALWAYS && s.alphaFunc != GL_NEVER) {
    if (fabs(color[3] - s.alphaRef) < kAlphaEpsilon) {
      p.ambiguous = true;
      return;
    }
  }
  if (s.alphaTest && t_.format.rgba && !Compare(s.alphaFunc, color[3], s.alphaRef)) return;

  const uint32_t stencilMax = (1u << t_.stencilBits) - 1;
  auto stencilOp = [&](GLenum op) {
    if (!s.stencil.on) return;
    uint32_t value = p.stencil;
    switch (op) {
      case GL_ZERO: value = 0; break;
      case GL_REPLACE: value = std::min(s.stencil.ref, stencilMax); break;
      case GL_INCR: value = value < stencilMax ? value + 1 : value; break;
      case GL_DECR: value = value > 0 ? value - 1 : 0; break;
      case GL_INVERT: value = ~value; break;
      default: break;
    }
    const uint32_t mask = s.stencil.writeMask & stencilMax;
    p.stencil = (p.stencil & ~mask) | (value & mask);
  };
  if (s.stencil.on) {
    const uint32_t ref = std::min(s.stencil.ref, stencilMax) & s.stencil.mask;
    if (!Compare(s.stencil.func, double(ref), double(p.stencil & s.stencil.mask))) {
      stencilOp(s.stencil.fail);
      return;
    }
  }
  if (s.depthTest) {
    const bool exactPair = (exactDepth && p.surface == 0) || surface == p.surface;
    bool pass;
    if (s.depthFunc == GL_NEVER || s.depthFunc == GL_ALWAYS) {
      pass = s.depthFunc == GL_ALWAYS;
    } else if (z == p.depth && exactPair) {
      pass = Compare(s.depthFunc, z, z);
    } else if (fabs(z - p.depth) < t_.DepthEpsilon() + zSlack + p.depthSlack || z == p.depth) {
      p.ambiguous = true;
      return;
    } else {
      pass = Compare(s.depthFunc, z, p.depth);
    }
    if (!pass) {
      stencilOp(s.stencil.zfail);
      return;
    }
    if (s.depthWrite) {
      p.depth = z;
      p.surface = exactDepth ? 0 : surface;
      p.depthSlack = zSlack;
    }
  }
  stencilOp(s.stencil.zpass);
  p.drawn = true;
  p.writes++;
  for (int k = 0; k < 4; k++) p.color[k] = color[k] * t_.scale[k];
}

}  // namespace scene_test

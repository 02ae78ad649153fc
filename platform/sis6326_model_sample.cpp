// The SiS 6326 drawing model: the sampler. Level of detail from rho, the
// level choice of each filter, nearest and linear filtering with repeat and
// clamp, the black border, and the texel reads.
#include <cmath>

#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

// Half a piecewise-linear log2 of rho, exact at powers of two.
float Lambda(float rho) {
  if (rho == 0.0f) return 0.0f;
  float whole = std::trunc(rho);
  int e = whole <= 1.0f ? 0 : std::ilogb(whole);
  float power = std::ldexp(1.0f, e);
  return ((rho - power) / power + float(e)) * 0.5f;
}

// An integer coordinate wrapped into [0, size) by AND (size - 1), size a
// power of two; exact for any finite value.
int Repeat(double whole, int size) {
  double m = std::fmod(whole, double(size));
  return int(m < 0 ? m + size : m);
}

int Clamp(double whole, int size) { return whole < 0 ? 0 : whole > size - 1 ? size - 1 : int(whole); }

// One axis of a linear filter: the two taps (-1 for the border) and the
// fraction of the second.
struct Taps {
  int i0, i1;
  float a;
};

Taps LinearTaps(float u, int size, bool repeat) {
  if (!repeat) u = u < 0.0f ? 0.0f : u > float(size) ? float(size) : u;
  float shifted = u - 0.5f;
  float low = std::floor(shifted);
  Taps t;
  t.a = shifted - low;
  if (repeat) {
    t.i0 = Repeat(low, size);
    t.i1 = (t.i0 + 1) & (size - 1);
  } else {
    t.i0 = int(low);
    t.i1 = t.i0 + 1;
    if (t.i0 < 0) t.i0 = -1;
    if (t.i1 > size - 1) t.i1 = -1;
  }
  return t;
}

struct Reader {
  const TextureSetup &texture;
  VideoView &view;
  Judge &judge;
  int levelIndex;

  // The texel (col, row) of the level; -1 in either reads the border.
  bool Read(int col, int row, Texel *out) {
    *out = {{0, 0, 0, 0}};
    if (col < 0 || row < 0) return true;
    const TextureLevel &level = texture.level[levelIndex];
    uint64_t at = level.address + uint64_t(row) * level.pitch + uint64_t(col) * 4;
    const uint8_t *p = view.At(at, 4, level.pool);
    if (p == nullptr)
      return judge.Fail("A6", "level %d texel (%d, %d) at %s offset 0x%llX lies in no live surface",
                        levelIndex, col, row, level.pool == VideoPool::kLocal ? "local" : "non-local",
                        (unsigned long long)at);
    *out = {{p[3], p[2], p[1], p[0]}};
    return true;
  }
};

bool SampleLevel(Reader &reader, bool linear, float u, float v, Texel *out) {
  const TextureSetup &x = reader.texture;
  const TextureLevel &level = x.level[reader.levelIndex];
  if (!std::isfinite(u) || !std::isfinite(v))
    return reader.judge.Fail("F5", "sample position (%g, %g) is not finite", double(u), double(v));
  if (!linear)
    return reader.Read(NearestTexel(u, level.width, x.repeatS), NearestTexel(v, level.height, x.repeatT), out);
  Taps s = LinearTaps(u, level.width, x.repeatS), t = LinearTaps(v, level.height, x.repeatT);
  Texel tap[4];
  if (!reader.Read(s.i0, t.i0, &tap[0]) || !reader.Read(s.i1, t.i0, &tap[1]) ||
      !reader.Read(s.i0, t.i1, &tap[2]) || !reader.Read(s.i1, t.i1, &tap[3]))
    return false;
  const float weight[4] = {(1.0f - s.a) * (1.0f - t.a), s.a * (1.0f - t.a), (1.0f - s.a) * t.a, s.a * t.a};
  for (int c = 0; c < 4; ++c) {
    double sum = 0;
    for (int k = 0; k < 4; ++k) sum += double(tap[k].c[c]) * double(weight[k]);
    out->c[c] = int(std::trunc(sum));
  }
  return true;
}

}  // namespace

int NearestTexel(double u, int size, bool repeat) {
  double whole = std::trunc(u);
  return repeat ? Repeat(whole, size) : Clamp(whole, size);
}

float VertexRho(const Gradients &g, float width, float height) {
  // The difference of s / q (t / q) between the neighbours one pixel either side.
  auto across = [](float v, float dv, float q, float dq) { return (v + dv) / (q + dq) - (v - dv) / (q - dq); };
  float sx = across(g.a, g.ax, g.c, g.cx) * width, tx = across(g.b, g.bx, g.c, g.cx) * height;
  float sy = across(g.a, g.ay, g.c, g.cy) * width, ty = across(g.b, g.by, g.c, g.cy) * height;
  float rx = sx * sx + tx * tx, ry = sy * sy + ty * ty;
  return (rx > ry ? rx : ry) * 0.25f;
}

void ChooseLevels(const TextureSetup &texture, float lambda, SamplePlan *p) {
  int n = texture.highest;
  p->levels = 1;
  p->level[1] = 0;
  p->blend = 0;
  // A NaN or infinite rho, or a level beyond n, takes level n unconverted.
  if (!std::isfinite(lambda)) {
    p->level[0] = n;
  } else if (texture.filter <= 3) {
    float rounded = lambda + 0.49995f;
    p->level[0] = lambda <= 0.5f ? 0 : rounded >= float(n + 1) ? n : int(rounded);
  } else if (lambda >= float(n)) {
    p->level[0] = n;
  } else {
    int d = int(lambda) + 1;
    p->levels = 2;
    p->level[0] = d - 1;
    p->level[1] = d;
    p->blend = lambda - std::floor(lambda);
  }
}

SamplePlan PlanSample(const TextureSetup &texture, float s, float t, float rho) {
  SamplePlan p{};
  p.s = s;
  p.t = t;
  p.rho = rho;
  p.levels = 1;
  bool mipmap = texture.filter >= 2;
  if (rho <= texture.switchOver) {
    p.magnified = true;
    p.linear = texture.magnifyLinear;
  } else if (!mipmap) {
    p.linear = texture.filter == 1;
    p.lambda = std::isfinite(rho) ? Lambda(rho) : rho;
  } else {
    p.linear = texture.filter == 3 || texture.filter == 5;
    p.lambda = std::isfinite(rho) ? Lambda(rho) : rho;
    ChooseLevels(texture, p.lambda, &p);
  }
  for (int k = 0; k < p.levels; ++k) {
    const TextureLevel &level = texture.level[p.level[k]];
    p.u[k] = s * float(level.width);
    p.v[k] = t * float(level.height);
  }
  return p;
}

bool FetchSample(const TextureSetup &texture, const SamplePlan &plan, VideoView &view, Judge &judge,
                 Texel *out) {
  Texel level[2];
  for (int k = 0; k < plan.levels; ++k) {
    Reader reader{texture, view, judge, plan.level[k]};
    if (!SampleLevel(reader, plan.linear, plan.u[k], plan.v[k], &level[k])) return false;
  }
  if (plan.levels == 1) {
    *out = level[0];
    return true;
  }
  float f = plan.blend, g = 1.0f - f;
  for (int c = 0; c < 4; ++c)
    out->c[c] = int(std::trunc(double(level[0].c[c]) * double(g) + double(level[1].c[c]) * double(f)));
  return true;
}

}  // namespace platform

#include "tests/pixels/tex_draw/sampler_model.h"

#include <math.h>

#include <algorithm>

namespace tex_draw_test {
namespace {

constexpr float kPastEveryLevel = 1000.0f;

bool Mipmapped(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

Texel Nearest(const ModelTexture &tex, const ModelLevel &l, float u, float v) {
  int32_t col = int32_t(truncf(u)), row = int32_t(truncf(v));
  if (tex.wrapS == GL_REPEAT) col &= l.width - 1;
  else col = std::clamp(col, 0, l.width - 1);
  if (tex.wrapT == GL_REPEAT) row &= l.height - 1;
  else row = std::clamp(row, 0, l.height - 1);
  return l.At(row, col);
}

// The two taps along one axis and the weight of the second.
struct Taps {
  int32_t i0, i1;
  float a;
};

Taps LinearTaps(GLenum wrap, float u, int32_t size) {
  if (wrap == GL_CLAMP) u = std::clamp(u, 0.0f, float(size));
  const float u1 = u - 0.5f;
  const float fl = floorf(u1);
  Taps t{int32_t(fl), int32_t(fl) + 1, u1 - fl};
  if (wrap == GL_REPEAT) t.i0 &= size - 1, t.i1 &= size - 1;
  return t;
}

Texel Linear(const ModelTexture &tex, const ModelLevel &l, float u, float v) {
  const Taps s = LinearTaps(tex.wrapS, u, l.width), t = LinearTaps(tex.wrapT, v, l.height);
  auto tap = [&](int32_t row, int32_t col) -> const Texel & {
    if (row < 0 || row >= l.height || col < 0 || col >= l.width) return tex.border;
    return l.At(row, col);
  };
  const float w00 = (1 - s.a) * (1 - t.a), w10 = s.a * (1 - t.a);
  const float w01 = (1 - s.a) * t.a, w11 = s.a * t.a;
  const Texel &t00 = tap(t.i0, s.i0), &t10 = tap(t.i0, s.i1);
  const Texel &t01 = tap(t.i1, s.i0), &t11 = tap(t.i1, s.i1);
  Texel out;
  for (int c = 0; c < 4; c++) {
    const long double sum = (long double)t11[c] * w11 + (long double)t10[c] * w10 +
                            (long double)t01[c] * w01 + (long double)t00[c] * w00;
    out[size_t(c)] = uint8_t(sum);
  }
  return out;
}

Texel Filter(const ModelTexture &tex, bool linear, int32_t level, float s, float t) {
  const ModelLevel &l = tex.levels[size_t(level)];
  const float u = s * float(l.width), v = t * float(l.height);
  return linear ? Linear(tex, l, u, v) : Nearest(tex, l, u, v);
}

Texel Minify(const ModelTexture &tex, float lambda, float s, float t) {
  const int32_t p = int32_t(tex.levels.size()) - 1;
  const GLenum f = tex.minFilter;
  const bool linearTexels = f == GL_LINEAR_MIPMAP_NEAREST || f == GL_LINEAR_MIPMAP_LINEAR;
  if (f == GL_NEAREST_MIPMAP_NEAREST || f == GL_LINEAR_MIPMAP_NEAREST) {
    int32_t level = 0;
    if (lambda > 0.5f) level = lambda >= float(p) + 1 ? p : std::min(int32_t(lambda + 0.49995f), p);
    return Filter(tex, linearTexels, level, s, t);
  }
  const int32_t d = lambda >= float(p) ? p + 1 : int32_t(lambda) + 1;
  if (d > p) return Filter(tex, linearTexels, p, s, t);
  const Texel t0 = Filter(tex, linearTexels, d - 1, s, t);
  const Texel t1 = Filter(tex, linearTexels, d, s, t);
  const float fr = lambda - floorf(lambda), g = 1.0f - fr;
  Texel out;
  for (size_t c = 0; c < 4; c++)
    out[c] = uint8_t((long double)t0[c] * g + (long double)t1[c] * fr);
  return out;
}

}  // namespace

float ModelLambda(float rho) {
  if (rho == 0) return 0;
  if (!(rho < 4294967296.0f)) return kPastEveryLevel;  // NaN too
  const uint32_t whole = uint32_t(rho);
  int32_t n = 0;
  while ((whole >> (n + 1)) != 0) n++;
  const double p = ldexp(1.0, n);
  return float(((double(rho) - p) / p + n) * 0.5);
}

Texel ModelSample(const ModelTexture &tex, float s, float t, float rho) {
  const bool sameLevelFilters = tex.minFilter == tex.magFilter && !Mipmapped(tex.minFilter);
  const bool magLinear = tex.magFilter == GL_LINEAR;
  if (sameLevelFilters) return Filter(tex, magLinear, 0, s, t);
  const float c = magLinear && (tex.minFilter == GL_NEAREST_MIPMAP_NEAREST ||
                                tex.minFilter == GL_LINEAR_MIPMAP_NEAREST)
                      ? 2.0f
                      : 1.0f;
  if (c >= rho) return Filter(tex, magLinear, 0, s, t);
  if (!Mipmapped(tex.minFilter)) return Filter(tex, tex.minFilter == GL_LINEAR, 0, s, t);
  return Minify(tex, ModelLambda(rho), s, t);
}

}  // namespace tex_draw_test

// The fast rasterizer's texel filters: nearest and bilinear workers on one
// level in its texel units, and the plain and mipmap filters on normalised
// coordinates that scale into a level and call them.
#include "fastraster/fr_tex.h"

#include <array>

#include "core/gl_assert.h"
#include "fastraster/fr_tables.h"
#include "pixels/px_texture.h"

namespace {

constexpr std::array<float, 256> BuildByteToFloat() {
  std::array<float, 256> t{};
  const float one = 1.0f / 255.0f;
  for (int k = 0; k < 256; k++) t[size_t(k)] = float(k) * one;
  return t;
}

// Sizes without the border: a bordered level's extract procedure moves
// row and column by one itself, so -1 and the size reach its border.
struct Extent {
  int32_t width, height;
  bool oneD;
};
Extent Interior(const GlTextureObject *tex, const GlTextureLevel *level) {
  return {int32_t(1) << level->widthLog2, int32_t(1) << level->heightLog2, tex->dim == 1};
}

int32_t NearestIndex(int32_t c, GLenum wrap, int32_t size) {
  const int32_t i = c >> 16;
  if (wrap == GL_REPEAT) return i & (size - 1);
  return i < 0 ? 0 : (i > size - 1 ? size - 1 : i);
}

// The taps around a texel-unit coordinate, half a texel back; `frac` is the
// low word of the shifted coordinate, the second tap's weight in 1/65535.
struct Taps {
  int32_t i0, i1;
  uint32_t frac;
};
Taps LinearTaps(int32_t c, GLenum wrap, int32_t size) {
  if (wrap == GL_REPEAT) {
    const uint32_t u = uint32_t(c) - 0x8000u;
    const int32_t i0 = int32_t(u >> 16) & (size - 1);
    return {i0, (i0 + 1) & (size - 1), u & 0xFFFFu};
  }
  const int32_t top = size << 16;
  if (c < 0) c = 0;
  if (c > top) c = top;
  const int32_t u = c - 0x8000;
  return {u >> 16, (u >> 16) + 1, uint32_t(u) & 0xFFFFu};
}

void Fetch(GlTextureObject *tex, GlTextureLevel *level, int32_t row, int32_t col,
           uint8_t out[4]) {
  level->extract(level, tex, 0, row, col, out);
}

// Scales normalised coordinates into the level: shifted left by its log2
// sizes. Clamped coordinates saturate to [0, 1] first so that the shift
// cannot overflow; repeated ones wrap correctly as they are.
uint32_t ScaleInto(int32_t c, GLenum wrap, int32_t log2) {
  if (wrap != GL_REPEAT) c = c < 0 ? 0 : (c > 0x10000 ? 0x10000 : c);
  return uint32_t(c) << log2;
}

typedef void (*Worker)(GlTextureObject *tex, uint32_t level, int32_t s, int32_t t,
                       uint8_t out[4]);

void SampleLevel(Worker worker, GlTextureObject *tex, uint32_t n, int32_t s, int32_t t,
                 uint8_t out[4]) {
  const GlTextureLevel *level = tex->levels[n];
  worker(tex, n, int32_t(ScaleInto(s, tex->wrapS, level->widthLog2)),
         int32_t(ScaleInto(t, tex->wrapT, level->heightLog2)), out);
}

// lambda rounded to the nearest level, halves upwards, at most the last.
void NearestLevel(Worker worker, GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                  uint8_t out[4]) {
  uint32_t n = uint32_t(int32_t(lod + 0x8000u) >> 16);
  if (n > uint32_t(tex->maxLog2)) n = uint32_t(tex->maxLog2);
  SampleLevel(worker, tex, n, s, t, out);
}

// Levels d = floor(lambda) + 1 and d - 1, blended by the fraction's top
// eight bits through the byte product; past the last level the last alone,
// and below level 0 (lambda in (-1, 0)) level 0 alone.
void BlendLevels(Worker worker, GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                 uint8_t out[4]) {
  const uint32_t d = uint32_t(int32_t(lod + 0x10000u) >> 16);
  if (d > uint32_t(tex->maxLog2)) {
    SampleLevel(worker, tex, uint32_t(tex->maxLog2), s, t, out);
    return;
  }
  if (d == 0) {
    SampleLevel(worker, tex, 0, s, t, out);
    return;
  }
  uint8_t a[4] = {}, b[4] = {};
  SampleLevel(worker, tex, d, s, t, a);
  SampleLevel(worker, tex, d - 1, s, t, b);
  const uint32_t f = (lod >> 8) & 0xFF;
  for (int c = 0; c < 4; c++) out[c] = uint8_t(__glFRProduct(b[c], 255 - f) + __glFRProduct(a[c], f));
}

}  // namespace

extern const std::array<float, 256> __glFRByteToFloat = BuildByteToFloat();

namespace {

// The byte-to-float values times 2^31, exact.
constexpr std::array<uint32_t, 256> BuildByteToFloat31() {
  const std::array<float, 256> f = BuildByteToFloat();
  std::array<uint32_t, 256> t{};
  for (size_t k = 0; k < 256; k++) t[k] = uint32_t(double(f[k]) * 2147483648.0);
  return t;
}
constexpr std::array<uint32_t, 256> kByteToFloat31 = BuildByteToFloat31();
static_assert(kByteToFloat31[255] == 0x80000000u && kByteToFloat31[1] == 0x808081u,
              "byte-to-float values are multiples of 2^-31");

}  // namespace

void __glFRNearestFilterUVScaled(GlTextureObject *tex, uint32_t n, int32_t s, int32_t t,
                                 uint8_t out[4]) {
  GlTextureLevel *level = tex->levels[n];
  const Extent e = Interior(tex, level);
  const int32_t col = NearestIndex(s, tex->wrapS, e.width);
  const int32_t row = e.oneD ? 0 : NearestIndex(t, tex->wrapT, e.height);
  Fetch(tex, level, row, col, out);
}

// The four taps weighted by (1 - fs)(1 - ft), fs(1 - ft), (1 - fs)ft, fs ft
// with fs and ft in 1/65535, summed without rounding: the weights are the
// integer products of the fractions and every byte-to-float value is a
// multiple of 2^-31, so sum(value x 2^31 x weight) is an integer below 2^63,
// and trunc(sum x 255 / (65535^2 x 2^31)) is taken exactly. Equal taps
// give their own value; nothing is rounded upwards. At most 255.
void __glFRLinearFilterUVScaled(GlTextureObject *tex, uint32_t n, int32_t s, int32_t t,
                                uint8_t out[4]) {
  GlTextureLevel *level = tex->levels[n];
  const Extent e = Interior(tex, level);
  const Taps u = LinearTaps(s, tex->wrapS, e.width);
  // A 1D level has one row: t plays no part.
  const Taps v = e.oneD ? Taps{0, 0, 0} : LinearTaps(t, tex->wrapT, e.height);
  uint8_t texel[4][4] = {};
  Fetch(tex, level, v.i0, u.i0, texel[0]);
  Fetch(tex, level, v.i0, u.i1, texel[1]);
  Fetch(tex, level, v.i1, u.i0, texel[2]);
  Fetch(tex, level, v.i1, u.i1, texel[3]);
  const uint32_t fs = u.frac, ft = v.frac, gs = 65535 - fs, gt = 65535 - ft;
  const uint32_t weight[4] = {gs * gt, fs * gt, gs * ft, fs * ft};
  for (int c = 0; c < 4; c++) {
    uint64_t sum = 0;
    for (int k = 0; k < 4; k++) sum += uint64_t(kByteToFloat31[texel[k][c]]) * weight[k];
    // floor(255 sum / 2^31) without leaving 64 bits, then over 65535^2.
    const uint64_t whole = 255 * (sum >> 31) + ((255 * (sum & 0x7FFFFFFFu)) >> 31);
    const uint64_t value = whole / 4294836225u;
    out[c] = uint8_t(value > 255 ? 255 : value);
  }
}

void __glFRNearestFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                         uint8_t out[4]) {
  __GL_ASSERT(0 == lod, "0 == lod", "fr_tex");
  SampleLevel(__glFRNearestFilterUVScaled, tex, 0, s, t, out);
}

void __glFRLinearFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                        uint8_t out[4]) {
  __GL_ASSERT(0 == lod, "0 == lod", "fr_tex");
  SampleLevel(__glFRLinearFilterUVScaled, tex, 0, s, t, out);
}

void __glFR_NMNFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  NearestLevel(__glFRNearestFilterUVScaled, tex, lod, s, t, out);
}

void __glFR_LMNFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  NearestLevel(__glFRLinearFilterUVScaled, tex, lod, s, t, out);
}

void __glFR_NMLFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  BlendLevels(__glFRNearestFilterUVScaled, tex, lod, s, t, out);
}

void __glFR_LMLFilter(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  BlendLevels(__glFRLinearFilterUVScaled, tex, lod, s, t, out);
}

#include "tests/fastraster/tex/tex_reference.h"

#include <math.h>

namespace tex_ref {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) q--;
  return q;
}
int64_t Mod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

uint8_t BorderByte(float c) { return c <= 0.0f ? 0 : c >= 1.0f ? 255 : uint8_t(c * 255.0); }

struct Taps {
  int64_t i0, i1, frac;
};

Taps LinearTaps(int64_t c, bool repeat, int64_t size) {
  if (repeat) {
    const int64_t u = c - 0x8000;
    const int64_t i0 = Mod(FloorDiv(u, 65536), size);
    return {i0, (i0 + 1) % size, Mod(u, 65536)};
  }
  if (c < 0) c = 0;
  if (c > size * 65536) c = size * 65536;
  const int64_t u = c - 0x8000;
  const int64_t i0 = FloorDiv(u, 65536);
  return {i0, i0 + 1, u - i0 * 65536};
}

}  // namespace

float ByteToFloat(uint8_t k) {
  volatile float one = 1.0f / 255.0f;
  return float(k) * one;
}

uint32_t Product(uint32_t a, uint32_t b) {
  const auto sq = [](int32_t k) { return uint32_t(k * k / 255); };
  return (sq(int32_t(a)) + sq(int32_t(b)) - sq(int32_t(a) - int32_t(b))) >> 1;
}

Texel Model::At(int32_t n, int32_t row, int32_t col) const {
  const GlTextureLevel &l = *t_.level(n);
  const bool inside = row >= 0 && col >= 0 && row < l.height2 && col < l.width2;
  const bool onBorder = border_ && row >= -1 && col >= -1 && row <= l.height2 && col <= l.width2;
  if (inside || onBorder) {
    const uint8_t *p = t_.texel(n, row, col);
    return {p[0], p[1], p[2], p[3]};
  }
  const float *c = t_.tex()->borderColor;
  return {BorderByte(c[0]), BorderByte(c[1]), BorderByte(c[2]), BorderByte(c[3])};
}

Texel Model::Nearest(int32_t n, int64_t s, int64_t t) const {
  const GlTextureLevel &l = *t_.level(n);
  const GlTextureObject &tex = *t_.tex();
  const auto index = [](int64_t c, bool repeat, int64_t size) {
    const int64_t i = FloorDiv(c, 65536);
    return repeat ? Mod(i, size) : (i < 0 ? 0 : (i >= size ? size - 1 : i));
  };
  const int64_t col = index(s, tex.wrapS == GL_REPEAT, l.width2);
  const int64_t row = tex.dim == 1 ? 0 : index(t, tex.wrapT == GL_REPEAT, l.height2);
  return At(n, int32_t(row), int32_t(col));
}

Texel Model::Linear(int32_t n, int64_t s, int64_t t) const {
  const GlTextureLevel &l = *t_.level(n);
  const GlTextureObject &tex = *t_.tex();
  const Taps u = LinearTaps(s, tex.wrapS == GL_REPEAT, l.width2);
  const Taps v = tex.dim == 1 ? Taps{0, 0, 0} : LinearTaps(t, tex.wrapT == GL_REPEAT, l.height2);
  const Texel taps[4] = {At(n, int32_t(v.i0), int32_t(u.i0)), At(n, int32_t(v.i0), int32_t(u.i1)),
                         At(n, int32_t(v.i1), int32_t(u.i0)), At(n, int32_t(v.i1), int32_t(u.i1))};
  const uint64_t fs = uint64_t(u.frac), ft = uint64_t(v.frac);
  const uint64_t weight[4] = {(65535 - fs) * (65535 - ft), fs * (65535 - ft), (65535 - fs) * ft,
                              fs * ft};
  Texel out{};
  for (int c = 0; c < 4; c++) {
    // Every byte-to-float value is a multiple of 2^-31: B = value x 2^31,
    // split into 16-bit halves so that sum B x weight = H 2^16 + L stays in
    // 64 bits; then floor(255 (H 2^16 + L) / (65535^2 2^31)) in two steps.
    uint64_t high = 0, low = 0;
    for (int k = 0; k < 4; k++) {
      const uint64_t b = uint64_t(ldexp(double(ByteToFloat(taps[k][size_t(c)])), 31));
      high += (b >> 16) * weight[k];
      low += (b & 0xFFFF) * weight[k];
    }
    const uint64_t a = 255 * high, bl = 255 * low;
    const uint64_t y = (a >> 15) + (((a & 0x7FFF) << 16) + bl) / (uint64_t(1) << 31);
    const uint64_t whole = y / 4294836225ull;
    out[size_t(c)] = uint8_t(whole > 255 ? 255 : whole);
  }
  return out;
}

Texel Model::Sample(bool linear, int32_t n, int32_t s, int32_t t) const {
  const GlTextureLevel &l = *t_.level(n);
  const int64_t S = int64_t(s) * l.width2, T = int64_t(t) * l.height2;
  return linear ? Linear(n, S, T) : Nearest(n, S, T);
}

Texel Model::NearestLevel(bool linear, uint32_t lod, int32_t s, int32_t t) const {
  int64_t n = FloorDiv(int64_t(int32_t(lod)) + 0x8000, 65536);
  const int32_t last = t_.tex()->maxLog2;
  if (n < 0 || n > last) n = last;
  return Sample(linear, int32_t(n), s, t);
}

Texel Model::BlendLevels(bool linear, uint32_t lod, int32_t s, int32_t t) const {
  const int64_t d = FloorDiv(int64_t(int32_t(lod)), 65536) + 1;
  const int32_t last = t_.tex()->maxLog2;
  if (d < 0 || d > last) return Sample(linear, last, s, t);
  if (d == 0) return Sample(linear, 0, s, t);
  const Texel a = Sample(linear, int32_t(d), s, t), b = Sample(linear, int32_t(d) - 1, s, t);
  const uint32_t f = (lod >> 8) & 0xFF;
  Texel out{};
  for (size_t c = 0; c < 4; c++) out[c] = uint8_t(Product(b[c], 255 - f) + Product(a[c], f));
  return out;
}

}  // namespace tex_ref

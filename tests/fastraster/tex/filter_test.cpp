// The texel filters against the scalar model on small RGBA8 textures, with
// and without a border, under every pair of wraps, at coordinates inside,
// on and far outside the texture; the named cases of the bilinear weights
// and of the level choice; and every tap inside what the level stores.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "fastraster/fr_tex.h"
#include "tests/fastraster/tex/tex_reference.h"

namespace tex_filter_test {
namespace {

using tex_ref::Model;
using tex_ref::Texel;

// Every tap the filters ask for, checked against the level's stored extent:
// a bordered level stores rows and columns -1 .. size.
struct TapBounds {
  GlTexelExtractProc real = nullptr;
  int32_t border = 0;
  int bad = 0;
};
TapBounds gBounds;

void CheckedExtract(GlTextureLevel *level, GlTextureObject *tex, int32_t unused, GLint row,
                    GLint col, GLubyte *texel) {
  if (gBounds.border &&
      (row < -1 || col < -1 || row > level->height2 || col > level->width2)) {
    if (gBounds.bad++ < 4) ADD_FAILURE() << "tap (" << row << ", " << col << ") outside";
    return;
  }
  gBounds.real(level, tex, unused, row, col, texel);
}

void FillRandom(FilterTexture &t, uint32_t seed) {
  uint32_t x = seed * 2654435761u + 1;
  for (int32_t n = 0; n <= t.tex()->maxLog2; n++) {
    const GlTextureLevel &l = *t.level(n);
    for (int32_t row = -l.border; row < l.height2 + l.border; row++)
      for (int32_t col = -l.border; col < l.width2 + l.border; col++)
        for (int c = 0; c < 4; c++) {
          x ^= x << 13, x ^= x >> 17, x ^= x << 5;
          t.texel(n, row, col)[c] = uint8_t(x);
        }
  }
}

// A texture of the case's size whose extract procedures check their taps.
struct Case {
  int32_t w, h, border, dim;
  GLenum wrapS, wrapT;
  std::string Name() const {
    return std::to_string(w) + "x" + std::to_string(h) + (border ? " bordered" : "") +
           (dim == 1 ? " 1D" : "") + (wrapS == GL_REPEAT ? " repeat" : " clamp") +
           (wrapT == GL_REPEAT ? "/repeat" : "/clamp");
  }
};

struct Rig {
  explicit Rig(const Case &c)
      : t(c.w, c.h, __glTexFormatRGBA8, GL_RGBA, c.dim, c.border), model(t, c.border) {
    GlTextureObject *tex = t.tex();
    tex->wrapS = c.wrapS;
    tex->wrapT = c.wrapT;
    tex->borderColor[0] = 0.25f, tex->borderColor[1] = 1.0f;
    tex->borderColor[2] = 0.0f, tex->borderColor[3] = 0.5f;
    FillRandom(t, uint32_t(c.w * 31 + c.h * 7 + c.border));
    gBounds = {t.level(0)->extract, c.border, 0};
    for (int32_t n = 0; n <= tex->maxLog2; n++) t.level(n)->extract = CheckedExtract;
  }
  FilterTexture t;
  Model model;
};

std::vector<Case> Cases() {
  std::vector<Case> out;
  const int32_t sizes[][2] = {{2, 2}, {4, 2}, {2, 4}, {8, 4}, {4, 8}};
  for (const auto &sz : sizes)
    for (int32_t border : {0, 1})
      for (GLenum ws : {GL_REPEAT, GL_CLAMP})
        for (GLenum wt : {GL_REPEAT, GL_CLAMP}) out.push_back({sz[0], sz[1], border, 2, ws, wt});
  for (int32_t border : {0, 1})
    for (GLenum w : {GL_REPEAT, GL_CLAMP}) out.push_back({8, 1, border, 1, w, GL_CLAMP});
  return out;
}

// Normalised 16.16 coordinates: texel centres and edges, negative and far
// out (40.0 and beyond), the ends of the range, and a spread between.
std::vector<int32_t> Coordinates() {
  std::vector<int32_t> v = {0,       1,        0x1000,   0x2000,  0x4000,  0x7FFF,
                            0x8000,  0xC000,   0xFFFF,   0x10000, 0x10001, 0x18000,
                            -1,      -0x2000,  -0x8000,  -0x10000, -0x2A000, 40 << 16,
                            -(40 << 16), 0x7FFFFFFF, INT32_MIN, 0x12345678};
  for (int32_t k = 0; k < 16; k++) v.push_back(k * 0x1357 - 0x3000);
  return v;
}

std::string Show(const Texel &x) {
  return std::to_string(x[0]) + "," + std::to_string(x[1]) + "," + std::to_string(x[2]) + "," +
         std::to_string(x[3]);
}

// A few of them, for the many level values of the mipmap filters.
std::vector<int32_t> FewCoordinates() {
  return {0, 0x7FFF, 0xC000, 0x10000, -0x2000, -0x10000, 40 << 16, 0x12345678, 0x2A3D7};
}

// Runs `filter` over the coordinate grid and compares with `expect`.
template <class Filter, class Expect>
void Sweep(const std::string &what, Filter filter, Expect expect,
           const std::vector<int32_t> &grid = Coordinates()) {
  int wrong = 0;
  for (int32_t s : grid)
    for (int32_t t : grid) {
      uint8_t got[4] = {};
      filter(s, t, got);
      const Texel want = expect(s, t);
      const Texel have = {got[0], got[1], got[2], got[3]};
      if (have != want && wrong++ < 4)
        ADD_FAILURE() << what << " at s " << std::hex << s << ", t " << t << ": " << std::dec
                      << Show(have) << ", model " << Show(want);
    }
  EXPECT_EQ(gBounds.bad, 0) << what;
}

TEST(TexelFilters, PlainFiltersMatchTheModel) {
  for (const Case &c : Cases()) {
    Rig rig(c);
    GlTextureObject *tex = rig.t.tex();
    Sweep(c.Name() + " nearest",
          [&](int32_t s, int32_t t, uint8_t *out) { __glFRNearestFilter(tex, 0, s, t, out); },
          [&](int32_t s, int32_t t) { return rig.model.Sample(false, 0, s, t); });
    Sweep(c.Name() + " linear",
          [&](int32_t s, int32_t t, uint8_t *out) { __glFRLinearFilter(tex, 0, s, t, out); },
          [&](int32_t s, int32_t t) { return rig.model.Sample(true, 0, s, t); });
  }
}

TEST(TexelFilters, UVScaledWorkersTakeTexelUnitsOfTheirLevel) {
  for (const Case &c : Cases()) {
    Rig rig(c);
    GlTextureObject *tex = rig.t.tex();
    for (uint32_t n = 0; n <= uint32_t(tex->maxLog2); n++) {
      const std::string what = c.Name() + " level " + std::to_string(n);
      Sweep(what + " nearest",
            [&](int32_t s, int32_t t, uint8_t *out) {
              __glFRNearestFilterUVScaled(tex, n, s, t, out);
            },
            [&](int32_t s, int32_t t) { return rig.model.Nearest(int32_t(n), s, t); });
      Sweep(what + " linear",
            [&](int32_t s, int32_t t, uint8_t *out) {
              __glFRLinearFilterUVScaled(tex, n, s, t, out);
            },
            [&](int32_t s, int32_t t) { return rig.model.Linear(int32_t(n), s, t); });
    }
  }
}

// 16.16 lambdas: below a half, the half, fractions, whole levels, past the
// last level, and (for the blending filters) between -1 and 0.
const uint32_t kLods[] = {0,       0x7D70,  0x8000,  0xC000, 0x10000, 0x14000, 0x18000,
                          0x1FFFF, 0x20000, 0x2A3D7, 0x30000, 0x38000, 0x40000, 0x50000,
                          0xA0000, 0x7FFF0000u, uint32_t(-0x4000), uint32_t(-0x8000)};

TEST(TexelFilters, MipmapFiltersMatchTheModel) {
  for (const Case &c : Cases()) {
    Rig rig(c);
    GlTextureObject *tex = rig.t.tex();
    for (uint32_t lod : kLods) {
      const std::string what = c.Name() + " lod " + std::to_string(int32_t(lod));
      if (int32_t(lod) >= 0) {  // callers never pass a negative lambda to these
        Sweep(what + " NMN",
              [&](int32_t s, int32_t t, uint8_t *out) { __glFR_NMNFilter(tex, lod, s, t, out); },
              [&](int32_t s, int32_t t) { return rig.model.NearestLevel(false, lod, s, t); },
              FewCoordinates());
        Sweep(what + " LMN",
              [&](int32_t s, int32_t t, uint8_t *out) { __glFR_LMNFilter(tex, lod, s, t, out); },
              [&](int32_t s, int32_t t) { return rig.model.NearestLevel(true, lod, s, t); },
              FewCoordinates());
      }
      Sweep(what + " NML",
            [&](int32_t s, int32_t t, uint8_t *out) { __glFR_NMLFilter(tex, lod, s, t, out); },
            [&](int32_t s, int32_t t) { return rig.model.BlendLevels(false, lod, s, t); },
            FewCoordinates());
      Sweep(what + " LML",
            [&](int32_t s, int32_t t, uint8_t *out) { __glFR_LMLFilter(tex, lod, s, t, out); },
            [&](int32_t s, int32_t t) { return rig.model.BlendLevels(true, lod, s, t); },
            FewCoordinates());
    }
  }
}

// One texture whose texels are a single value per level: red 10 (n + 1).
struct LevelCoded {
  LevelCoded() : t(8, 8, __glTexFormatRGBA8, GL_RGBA) {
    for (int32_t n = 0; n <= t.tex()->maxLog2; n++) t.Fill(n, {uint8_t(10 * (n + 1)), 0, 0, 255});
  }
  uint8_t Red(FrTexelFilterProc filter, uint32_t lod) {
    uint8_t out[4] = {};
    filter(t.tex(), lod, 0x4000, 0x4000, out);
    return out[0];
  }
  FilterTexture t;
};

struct LevelCase {
  const char *what;
  FrTexelFilterProc filter;
  uint32_t lod;
  uint8_t red;
};

// Levels 0 .. 3 hold red 10, 20, 30, 40.
const LevelCase kLevelCases[] = {
    {"NMN 0.49", __glFR_NMNFilter, 0x7D70, 10},
    {"NMN 0.5", __glFR_NMNFilter, 0x8000, 20},
    {"LMN 0.49", __glFR_LMNFilter, 0x7D70, 10},
    {"LMN 0.5", __glFR_LMNFilter, 0x8000, 20},
    {"NMN past the last", __glFR_NMNFilter, 0x70000, 40},
    {"NML 0", __glFR_NMLFilter, 0x00000, 10},
    {"NML 1", __glFR_NMLFilter, 0x10000, 20},
    {"LML 2", __glFR_LMLFilter, 0x20000, 30},
    {"LML 3, the last", __glFR_LMLFilter, 0x30000, 40},
    {"LML past the last", __glFR_LMLFilter, 0x90000, 40},
    {"NML half way", __glFR_NMLFilter, 0x18000, 25},  // P(20, 127) + P(30, 128) = 10 + 15
    {"NML -0.5", __glFR_NMLFilter, uint32_t(-0x8000), 10},
    {"LML -0.99", __glFR_LMLFilter, uint32_t(-0xFD70), 10},
};

TEST(TexelFilters, LevelValueChoosesTheLevels) {
  LevelCoded t;
  for (const LevelCase &c : kLevelCases) EXPECT_EQ(t.Red(c.filter, c.lod), c.red) << c.what;
}

// A 2 x 2 clamped texture, column 0 black, border colour white: at s = 0
// (row centre) the border and column 0 each weigh about a half.
TEST(TexelFilters, ClampedBilinearBlendsTheBorderColourAtTheEdge) {
  FilterTexture t(2, 2, __glTexFormatRGBA8, GL_RGBA);
  GlTextureObject *tex = t.tex();
  tex->wrapS = tex->wrapT = GL_CLAMP;
  for (int c = 0; c < 4; c++) tex->borderColor[c] = 1.0f;
  t.Fill(0, {0, 0, 0, 0});
  uint8_t out[4] = {};
  __glFRLinearFilter(tex, 0, 0, 0x4000, out);  // t at row 0's centre
  // 255 x 32768 / 65535 = 127.50..., truncated.
  EXPECT_EQ(out[0], 127);
  // With the border colour black and the texels white, column 0 weighs
  // 32767 / 65535.
  for (int c = 0; c < 4; c++) tex->borderColor[c] = 0.0f;
  t.Fill(0, {255, 255, 255, 255});
  __glFRLinearFilter(tex, 0, 0, 0x4000, out);
  EXPECT_EQ(out[0], 127);
}

// A fraction of 0xFFFF is a full weight (divisor 65535): the second tap
// alone, 255 and never more; equal taps give their own value.
TEST(TexelFilters, FullWeightGivesTheTapExactly) {
  FilterTexture t(4, 4, __glTexFormatRGBA8, GL_RGBA);
  GlTextureObject *tex = t.tex();
  t.Fill(0, {0, 0, 0, 0});
  t.texel(0, 1, 2)[0] = 255;
  uint8_t out[4] = {};
  // u = s - 0x8000 = 1.FFFF: column 1 with weight 0, column 2 with weight 1.
  __glFRLinearFilterUVScaled(tex, 0, 0x27FFF, 0x18000, out);
  EXPECT_EQ(out[0], 255);
  for (uint8_t v : {1, 7, 100, 128, 254, 255}) {
    t.Fill(0, {v, v, v, v});
    for (int32_t s : {0x1234, 0x18000, 0x2ABCD, 0x3FFFF}) {
      __glFRLinearFilterUVScaled(tex, 0, s, 0x27777, out);
      EXPECT_EQ(out[0], v) << "value " << int(v) << " at " << std::hex << s;
    }
  }
}

// s = 40.0 on a 1024-texel level: shifted left by 10 it would leave 32 bits
// and wrap to the other side; clamped it samples as s = 1.0 does, and -40.0
// as 0 does (t at row 0's centre).
TEST(TexelFilters, FarClampedCoordinatesReachTheNearEdge) {
  FilterTexture t(1024, 2, __glTexFormatRGBA8, GL_RGBA);
  GlTextureObject *tex = t.tex();
  tex->wrapS = tex->wrapT = GL_CLAMP;
  for (int32_t col = 0; col < 1024; col++)
    t.texel(0, 0, col)[0] = uint8_t(col == 0 ? 100 : col == 1023 ? 200 : 0);
  const auto red = [&](FrTexelFilterProc filter, int32_t s) {
    uint8_t out[4] = {};
    filter(tex, 0, s, 0x4000, out);
    return out[0];
  };
  EXPECT_EQ(red(__glFRNearestFilter, 40 << 16), 200);
  EXPECT_EQ(red(__glFRNearestFilter, 0x7FFFFFFF), 200);
  EXPECT_EQ(red(__glFRNearestFilter, -(40 << 16)), 100);
  for (int32_t s : {40 << 16, 0x7FFFFFFF, 0x10001})
    EXPECT_EQ(red(__glFRLinearFilter, s), red(__glFRLinearFilter, 0x10000)) << s;
  EXPECT_EQ(red(__glFRLinearFilter, -(40 << 16)), red(__glFRLinearFilter, 0));
  EXPECT_NE(red(__glFRLinearFilter, 0x10000), red(__glFRLinearFilter, 0));
}

// Repeat wrapping of a negative coordinate reaches the far edge.
TEST(TexelFilters, RepeatedNegativeCoordinatesWrapToTheFarEdge) {
  FilterTexture t(4, 4, __glTexFormatRGBA8, GL_RGBA);
  t.Fill(0, {0, 0, 0, 0});
  t.texel(0, 3, 3)[0] = 9;
  uint8_t out[4] = {};
  __glFRNearestFilter(t.tex(), 0, -0x1000, -0x1000, out);
  EXPECT_EQ(out[0], 9);
}

TEST(TexelFilters, ByteToFloatIsTheContextsRule) {
  for (int k = 0; k < 256; k++)
    EXPECT_EQ(__glFRByteToFloat[size_t(k)], tex_ref::ByteToFloat(uint8_t(k))) << k;
}

TEST(TexelFiltersDeathTest, PlainFiltersTakeOnlyLevelZero) {
  FilterTexture t(2, 2, __glTexFormatRGBA8, GL_RGBA);
  uint8_t out[4] = {};
  EXPECT_DEATH(__glFRNearestFilter(t.tex(), 1, 0, 0, out), "0 == lod");
  EXPECT_DEATH(__glFRLinearFilter(t.tex(), 0x10000, 0, 0, out), "0 == lod");
}

}  // namespace
}  // namespace tex_filter_test

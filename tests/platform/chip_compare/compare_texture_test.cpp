// The comparison helper's texture class on frame pairs made from textured
// primitives the model drew: a pixel may take another texel or level only
// where the model's own sample there (as its per-pixel query reports it)
// lies near a decision whose two sides sample differently.
#include <cmath>
#include <utility>
#include <vector>

#include "platform/sis6326_compare.h"
#include "tests/platform/chip_model/model_texture_support.h"

namespace {

using modeltest::Level;
using modeltest::TexVertex;
using modeltest::TextureState;

constexpr uint32_t kNone = SIS6326_ALLOWED_BY_NONE, kTexel = SIS6326_ALLOWED_TEXEL_BOUNDARY;
constexpr uint32_t kLevel = SIS6326_ALLOWED_LEVEL_SWITCH, kSwitchOver = SIS6326_ALLOWED_SWITCH_OVER;
constexpr float kNear = 1.0f / 256;

// Every channel 128 away: far beyond one unit, whatever the texel.
constexpr uint32_t kFlip = 0x80808080u;

// Texel (col, row): distinct per texel, no channel near 0x80.
uint32_t Texel(int col, int row) { return 0xF0000000u | uint32_t(16 + col * 12) << 16 | uint32_t(16 + row * 12) << 8 | 0x20u; }

class TextureCompare : public modeltest::TextureModelTest {
 protected:
  static SiS6326Frame Colour(const std::vector<uint32_t> &p, const modeltest::Target &t) {
    return {p.data(), t.width, t.height, t.width * 4, 0x33};
  }

  // The target's frame against itself with the given pixels flipped.
  SiS6326Comparison Flipped(const modeltest::Target &t, const std::vector<std::pair<int, int>> &pixels,
                            bool *ok) {
    const std::vector<uint32_t> hw = Read(t);
    std::vector<uint32_t> sw = hw;
    for (auto [i, j] : pixels) sw[size_t(j * t.width + i)] ^= kFlip;
    const SiS6326Frame h = Colour(hw, t), s = Colour(sw, t);
    SiS6326Comparison c;
    *ok = PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &c);
    return c;
  }
};

void ExpectOnly(const SiS6326Comparison &c, uint32_t tolerance, uint32_t count) {
  for (uint32_t t = 0; t < SIS6326_TOLERANCES; ++t) EXPECT_EQ(c.allowed[t], t == tolerance ? count : 0u) << t;
}

// ---- Nearest taps, by points (rho 1: magnified, at their own s and t) -----------------

TEST_F(TextureCompare, ANearestTapMayDifferOnlyWhereItsTexelChangesWithin2To8) {
  struct Case {
    const char *what;
    bool linear, clamp;
    float u, v;  // in texels of the 4 x 4 level
    uint32_t tolerance;
    uint32_t filter = 0;  // 1 when linear
  } const cases[] = {
      {"u on the boundary of texels 1 and 2", false, false, 2.0f, 1.5f, kTexel},
      {"u 2^-9 before it", false, false, 2.0f - 1.0f / 512, 1.5f, kTexel},
      {"u 2^-7 after it", false, false, 2.0f + 1.0f / 128, 1.5f, kNone},
      {"a texel centre", false, false, 1.5f, 1.5f, kNone},
      {"v on the boundary of rows 2 and 3", false, false, 0.5f, 3.0f, kTexel},
      {"repeat at u = w, where texel 3 wraps to texel 0", false, false, 4.0f, 1.5f, kTexel},
      {"repeat at u = -1, between texels 3 and 0", false, false, -1.0f, 1.5f, kTexel},
      {"clamp at u = w, which keeps texel 3", false, true, 4.0f, 1.5f, kNone},
      {"near u = 0, which truncation keeps on texel 0", false, false, 1.0f / 1024, 1.5f, kNone},
      {"linear magnification on a boundary", true, false, 2.0f, 1.5f, kNone},
      // Magnified, level 0; minified, levels 0 and 1: but a point's rho is 1 on both paths.
      {"nearest mipmap linear at a texel centre", false, false, 1.5f, 1.5f, kNone, 4},
  };
  constexpr int kCases = sizeof cases / sizeof cases[0];
  const modeltest::Target &target = MakeTarget(kCases, 1, 32);
  std::vector<Level> level = MakeTexture(4, 2);
  for (const Level &l : level) Fill(l, Texel);
  uint32_t at[kCases];
  for (int k = 0; k < kCases; ++k) {
    const Case &c = cases[k];
    TextureState state;
    state.filter = c.linear ? 1 : c.filter;
    state.highest = c.filter >= 2 ? 1 : 0;
    state.magnifyLinear = c.linear;
    state.clampS = state.clampT = c.clamp;
    state.widthLog2 = state.heightLog2 = 2;
    DrawInto(target, modeltest::kModeTexture);
    Texture(state, level);
    at[k] = Next() + 1;
    TexPoint({float(k), 0, c.u / 4, c.v / 4});
  }
  Fire();
  for (int k = 0; k < kCases; ++k) {
    const Case &c = cases[k];
    SCOPED_TRACE(c.what);
    const SiS6326TextureSample s = Sample(at[k], k, 0);
    EXPECT_EQ(s.u[0], c.u);
    EXPECT_EQ(s.v[0], c.v);
    bool ok = false;
    const SiS6326Comparison r = Flipped(target, {{k, 0}}, &ok);
    EXPECT_EQ(ok, c.tolerance != kNone);
    EXPECT_EQ(r.differing, 1u);
    ExpectOnly(r, c.tolerance, 1);
  }
}

TEST_F(TextureCompare, AtOneTexelAPixelTexelCentredNearestSamplesMustAgree) {
  const modeltest::Target &target = MakeTarget(8, 8, 32);
  std::vector<Level> levels = MakeTexture(8, 4);
  for (const Level &l : levels) Fill(l, Texel);
  struct Case {
    const char *what;
    uint32_t filter;
    uint32_t tolerance;
  } const cases[] = {
      {"nearest", 0, kNone},
      {"nearest mipmap nearest: level 0 on both sides of rho 1", 2, kNone},
      // Magnified, level 0 alone; just minified, levels 0 and 1 blended.
      {"nearest mipmap linear: rho 1 is where blending starts", 4, kSwitchOver},
  };
  std::vector<std::pair<int, int>> all;
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) all.push_back({i, j});
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PlatformSiS6326Reset();
    TextureState state;
    state.filter = c.filter;
    state.highest = c.filter >= 2 ? 3 : 0;
    state.widthLog2 = state.heightLog2 = 3;
    DrawInto(target, modeltest::kModeTexture);
    Texture(state, levels);
    // One triangle over the whole target, whose edges pass no pixel centre:
    // s = X / 8 and t = Y / 8 in buffer coordinates.
    const uint32_t at = Next() + 1;
    TexTriangle({-0.5f, -0.5f, 0, 0}, {15.5f, -0.5f, 2, 0}, {-0.5f, 15.5f, 0, 2});
    Fire();
    const SiS6326TextureSample s = Sample(at, 2, 1);
    EXPECT_FLOAT_EQ(s.rho, 1.0f);
    EXPECT_EQ(s.u[0], 2.5f);
    bool ok = c.tolerance == kNone;
    const SiS6326Comparison r = Flipped(target, all, &ok);
    EXPECT_EQ(ok, c.tolerance != kNone);
    ExpectOnly(r, c.tolerance, 64);
  }
}

// ---- Level of detail: rho constant over a triangle ---------------------------------

// Level k of a 16 x 16 texture holds one colour.
uint32_t LevelColour(int k) { return 0xE0000000u | uint32_t(30 + 40 * k) << 16 | uint32_t(200 - 30 * k) << 8 | 0x30u; }

TEST_F(TextureCompare, ALevelMayDifferOnlyNearWhereTheChoiceChanges) {
  const float kSqrt2 = std::sqrt(2.0f);
  struct Case {
    const char *what;
    uint32_t filter;
    bool magnifyLinear;
    int highest;
    float a, b;  // texels of level 0 a pixel along x, in s and in t: rho = a² + b²
    float lambda;
    bool magnified;
    uint32_t tolerance;
  } const cases[] = {
      {"filter 2 at lambda 0.5", 2, false, 4, 1, 1, 0.5f, false, kLevel},
      {"filter 2 at lambda 0.75", 2, false, 4, 1, kSqrt2, 0.75f, false, kNone},
      {"filter 2 at lambda 1.5", 2, false, 4, 2, 2, 1.5f, false, kLevel},
      {"filter 3 at lambda 1.5", 3, false, 4, 2, 2, 1.5f, false, kLevel},
      {"filter 2 at lambda 1.5, level 1 the highest", 2, false, 1, 2, 2, 1.5f, false, kNone},
      {"filter 5 at lambda 1", 5, false, 4, 2, 0, 1.0f, false, kLevel},
      {"filter 5 at lambda 1.25", 5, false, 4, std::sqrt(6.0f), 0, 1.25f, false, kNone},
      {"filter 4 at lambda n = 1", 4, false, 1, kSqrt2, kSqrt2, 1.0f, false, kLevel},
      {"filter 1 at lambda 0.5 has no level to choose", 1, false, 0, 1, 1, 0.5f, false, kNone},
      {"filter 5 just minified with level 0 the highest", 5, true, 0, std::sqrt(1.002f), 0, 0.001f, false,
       kNone},
      {"filter 3, linear magnification, rho 1.995 below c = 2", 3, true, 4, std::sqrt(1.995f), 0, 0, true,
       kSwitchOver},
      {"filter 3, linear magnification, rho 1.9", 3, true, 4, std::sqrt(1.9f), 0, 0, true, kNone},
      {"filter 0, linear magnification, rho 1.002 above c = 1", 0, true, 0, std::sqrt(1.002f), 0, 0.001f,
       false, kSwitchOver},
      {"filter 1, linear magnification, rho 1.002: linear on both sides", 1, true, 0, std::sqrt(1.002f), 0,
       0.001f, false, kNone},
      {"filter 0, linear magnification, rho 1.02", 0, true, 0, std::sqrt(1.02f), 0, 0.01f, false, kNone},
  };
  const modeltest::Target &target = MakeTarget(8, 8, 32);
  std::vector<Level> levels = MakeTexture(16, 5);
  for (int k = 0; k < 5; ++k) Fill(levels[size_t(k)], [k](int, int) { return LevelColour(k); });
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PlatformSiS6326Reset();
    TextureState state;
    state.filter = c.filter;
    state.magnifyLinear = c.magnifyLinear;
    state.highest = c.highest;
    state.widthLog2 = state.heightLog2 = 4;
    DrawInto(target, modeltest::kModeTexture);
    Texture(state, levels);
    // Buffer x from 0 to 8: s = a x / 16, t = b x / 16, the same down every column.
    const uint32_t at = Next() + 1;
    TexTriangle({-0.5f, -0.5f, 0, 0}, {7.5f, -0.5f, c.a / 2, c.b / 2}, {-0.5f, 7.5f, 0, 0});
    Fire();
    const SiS6326TextureSample s = Sample(at, 1, 1);
    EXPECT_NEAR(s.rho, c.a * c.a + c.b * c.b, 1e-4);
    EXPECT_NEAR(s.lambda, c.lambda, 1e-4);
    EXPECT_EQ(s.magnified != 0, c.magnified);
    bool ok = c.tolerance == kNone;
    const SiS6326Comparison r = Flipped(target, {{1, 1}}, &ok);
    EXPECT_EQ(ok, c.tolerance != kNone);
    ExpectOnly(r, c.tolerance, 1);
  }
}

// ---- A perspective quad against the rule read on the query's values -------------------

// From the query's values alone: nearest taps within 2^-8 of a boundary
// other than 0 (where truncation keeps texel 0) on a level wider than one
// texel, and, minified, lambda within 2^-8 of k + 0.50005 for k below n.
// With nearest magnification rho 1 is no decision for filter 2.
uint32_t ExpectedForFilter2(const SiS6326TextureSample &s, int n) {
  auto nearBoundary = [](float u, int size) {
    const float whole = std::nearbyint(u);
    return size > 1 && whole != 0 && std::fabs(u - whole) <= kNear;
  };
  const int size = 16 >> s.level[0];
  if (nearBoundary(s.u[0], size) || nearBoundary(s.v[0], size)) return kTexel;
  if (!s.magnified)
    for (int k = 0; k < n; ++k)
      if (std::fabs(s.lambda - (float(k) + 0.50005f)) <= kNear) return kLevel;
  return kNone;
}

TEST_F(TextureCompare, APerspectiveQuadAllowsExactlyThePixelsNearADecision) {
  constexpr int kSide = 64, kHighest = 4;
  const modeltest::Target &target = MakeTarget(kSide, kSide, 32);
  std::vector<Level> levels = MakeTexture(16, 5);
  for (const Level &l : levels) Fill(l, Texel);
  TextureState state;
  state.filter = 2;
  state.highest = kHighest;
  state.widthLog2 = state.heightLog2 = 4;
  DrawInto(target, modeltest::kModeTexture | modeltest::kModePerspective);
  Texture(state, levels);
  // The far edge at the top (q = 1/8), the near one at the bottom (q = 1):
  // from about one texel a pixel at the bottom to eight at the top.
  const float e = kSide - 0.5f;
  const TexVertex a{-0.5f, -0.5f, 0, 0, 0.125f}, b{e, -0.5f, 4, 0, 0.125f};
  const TexVertex c{e, e, 4, 4, 1}, d{-0.5f, e, 0, 4, 1};
  const uint32_t first = Next() + 1;
  TexTriangle(a, b, d);
  const uint32_t second = Next() + 1;
  TexTriangle(b, c, d);
  Fire();
  uint32_t expected[SIS6326_TOLERANCES] = {};
  std::vector<std::pair<int, int>> all;
  float lowest = 100, highest = 0;
  for (int j = 0; j < kSide; ++j)
    for (int i = 0; i < kSide; ++i) {
      if (i + j == kSide - 1) continue;  // centred on the shared edge, which T1 allows
      SiS6326TextureSample s = {};
      ASSERT_TRUE(PlatformSiS6326TextureSample(first, i, j, &s) || PlatformSiS6326TextureSample(second, i, j, &s));
      ++expected[ExpectedForFilter2(s, kHighest)];
      all.push_back({i, j});
      lowest = std::fmin(lowest, s.lambda), highest = std::fmax(highest, s.lambda);
    }
  ASSERT_LT(lowest, 0.5f);
  ASSERT_GT(highest, 2.5f);
  ASSERT_GT(expected[kTexel], 0u) << "the scene holds pixels near a texel boundary";
  ASSERT_GT(expected[kLevel], 0u) << "and near a level switch";
  bool ok = true;
  const SiS6326Comparison r = Flipped(target, all, &ok);
  EXPECT_FALSE(ok);
  for (uint32_t t : {kNone, kTexel, kLevel, kSwitchOver}) EXPECT_EQ(r.allowed[t], expected[t]) << t;
}

// ---- Depth follows a texel only through the alpha test ----------------------------------

TEST_F(TextureCompare, ADepthMayDifferByATexelOnlyWhereItsAlphaWasTested) {
  struct Case {
    const char *what;
    bool alphaTest;
    float u;
    uint32_t tolerance;
  } const cases[] = {
      {"alpha tested, on a texel boundary", true, 2.0f, kTexel},
      {"alpha tested, at a texel centre", true, 2.5f, kNone},
      {"not alpha tested, on a texel boundary", false, 2.0f, kNone},
  };
  const modeltest::Target &target = MakeTarget(4, 1, 32);
  const modeltest::Target &zb = MakeZ(4, 1, 16);
  std::vector<Level> level = MakeTexture(4);
  Fill(level[0], Texel);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PlatformSiS6326Reset();
    Write(zb, 0xFFFF);
    constexpr uint32_t kAlphaTest = 1u << 17, kZTest = 1u << 20, kZWrite = 1u << 21;
    DrawInto(target, modeltest::kModeTexture | kZTest | kZWrite | (c.alphaTest ? kAlphaTest : 0));
    Reg(modeltest::kZ, 1u << 20 | 7u << 16 | uint32_t(zb.pitch));  // 16 bits, always
    Reg(modeltest::kZAddress, zb.offset);
    Reg(modeltest::kAlpha, 7u << 24);  // always
    TextureState state;
    state.widthLog2 = state.heightLog2 = 2;
    Texture(state, level);
    TexPoint({1, 0, c.u / 4, 0.375f, 1, 0xFFFFFFFF, 0.5f});
    Fire();
    const std::vector<uint32_t> hw = Read(target);
    std::vector<uint16_t> hz;
    for (uint32_t p : Read(zb)) hz.push_back(uint16_t(p));
    ASSERT_EQ(hz[1], 32767) << "the point was stored";
    // The software discarded the fragment: its depth kept the cleared value.
    std::vector<uint16_t> sz = hz;
    sz[1] = 0xFFFF;
    const SiS6326Frame h = Colour(hw, target);
    const SiS6326Frame hd{hz.data(), 4, 1, 8, SIS6326_FRAME_Z16}, sd{sz.data(), 4, 1, 8, SIS6326_FRAME_Z16};
    SiS6326Comparison r;
    EXPECT_EQ(PlatformSiS6326Compare(&h, &h, &hd, &sd, &r), c.tolerance != kNone ? TRUE : FALSE);
    EXPECT_EQ(r.differing, 1u);
    ExpectOnly(r, c.tolerance, 1);
  }
}

}  // namespace

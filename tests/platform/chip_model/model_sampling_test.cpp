// The SiS 6326 drawing model's sampler: texture coordinates with and
// without perspective, the level of detail and the level each filter
// takes, nearest and linear filtering with repeat and clamp, and the
// values the per-pixel sample query reports (rules F3-F5).
#include <cmath>
#include <string>

#include "tests/platform/chip_model/model_texture_support.h"

namespace {

using modeltest::Level;
using modeltest::TexVertex;
using modeltest::TextureState;

class Sampling : public modeltest::TextureModelTest {};

// ---- Filters and wrap on one level (F5), by points: rho 1 magnifies ----------

// A row of four texels: A, R, G, B.
constexpr uint32_t kRow[4] = {0xFF285078, 0xFF102030, 0xFF405060, 0xFFC86428};

TEST_F(Sampling, F5_RepeatAndClampAtTheEdgesOfARowOfFourTexels) {
  const modeltest::Target &t = MakeTarget(8, 1, 32);
  std::vector<Level> level = MakeTexture(4);
  Fill(level[0], [](int col, int row) { return row == 0 ? kRow[col] : 0xFFFFFFFFu; });
  auto mix = [](uint32_t a, double wa, uint32_t b, double wb) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
      out |= uint32_t(std::trunc((a >> shift & 0xFF) * wa + (b >> shift & 0xFF) * wb)) << shift;
    return out;
  };
  struct Case {
    const char *what;
    bool linear, clamp;
    float u;
    uint32_t expected;
  } const cases[] = {
      {"repeat nearest at -0.5 truncates to texel 0", false, false, -0.5f, kRow[0]},
      {"repeat nearest at -1.5 wraps to texel 3", false, false, -1.5f, kRow[3]},
      {"repeat nearest at 4.0 wraps to texel 0", false, false, 4.0f, kRow[0]},
      {"clamp nearest at -1.5", false, true, -1.5f, kRow[0]},
      {"clamp nearest at 9", false, true, 9.0f, kRow[3]},
      {"repeat linear at 0.25 blends texels 3 and 0", true, false, 0.25f, mix(kRow[3], 0.25, kRow[0], 0.75)},
      {"repeat linear at 1.5 is texel 1", true, false, 1.5f, kRow[1]},
      {"clamp linear at 0 blends the border and texel 0", true, true, 0.0f, mix(0, 0.5, kRow[0], 0.5)},
      {"clamp linear at w blends texel 3 and the border", true, true, 4.0f, mix(kRow[3], 0.5, 0, 0.5)},
      {"clamp linear beyond w", true, true, 7.0f, mix(kRow[3], 0.5, 0, 0.5)},
  };
  for (const Case &c : cases) {
    Write(t, 0x12345678);
    TextureState state;
    state.magnifyLinear = c.linear;
    state.filter = c.linear ? 1 : 0;
    state.clampS = state.clampT = c.clamp;
    state.widthLog2 = 2;
    DrawInto(t, modeltest::kModeTexture);
    Texture(state, level);
    TexPoint({0, 0, c.u / 4, 0.5f});
    Fire();
    EXPECT_EQ(Read(t)[0], c.expected) << c.what;
  }
}

// ---- Level of detail and the level each filter takes (F4) ----------------------

// Level k of a 16 x 16 texture holds one colour; blends of neighbours stay
// clear of whole numbers, so a weight a little off cannot change a byte.
uint32_t LevelColour(int k) {
  const uint32_t red[5] = {201, 101, 60, 33, 7};
  return 0xFF000000u | red[k] << 16 | (255 - red[k]) << 8 | uint32_t(17 * k + 1);
}

uint32_t Blend(int k0, int k1, double f) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8)
    out |= uint32_t(std::trunc((LevelColour(k0) >> shift & 0xFF) * (1 - f) +
                               (LevelColour(k1) >> shift & 0xFF) * f))
           << shift;
  return out;
}

TEST_F(Sampling, F4_LambdaAndTheLevelsEachFilterTakes) {
  const modeltest::Target &target = MakeTarget(8, 8, 32);
  std::vector<Level> levels = MakeTexture(16, 5);
  for (int k = 0; k < 5; ++k) Fill(levels[size_t(k)], [k](int, int) { return LevelColour(k); });
  const float kSqrt2 = std::sqrt(2.0f), kSqrt6 = std::sqrt(6.0f), kSqrt14 = std::sqrt(1.4f);
  struct Case {
    const char *what;
    uint32_t filter;
    bool magnifyLinear;
    float a, b;  // texels of level 0 per pixel along x, in s and in t: rho = a² + b²
    float rho, lambda;
    bool magnified;
    int levels, level0, level1;
    float blend;
  } const cases[] = {
      {"rho 4 gives lambda 1", 1, false, 2, 0, 4, 1.0f, false, 1, 0, 0, 0},
      {"rho 3 gives lambda 0.75", 1, false, 1, kSqrt2, 3, 0.75f, false, 1, 0, 0, 0},
      {"rho 16 gives lambda 2", 1, false, 4, 0, 16, 2.0f, false, 1, 0, 0, 0},
      {"filter 2 at lambda 0.5 takes level 0", 2, false, 1, 1, 2, 0.5f, false, 1, 0, 0, 0},
      {"filter 2 at lambda 0.6 takes level 1", 2, false, 1, kSqrt14, 2.4f, 0.6f, false, 1, 1, 0, 0},
      {"filter 2 at lambda 1.5 takes level 1", 2, false, 2, 2, 8, 1.5f, false, 1, 1, 0, 0},
      {"filter 3 beyond n + 0.5 takes level n", 3, false, 64, 0, 4096, 6.0f, false, 1, 4, 0, 0},
      {"filter 5 at lambda 1.25 blends levels 1 and 2", 5, false, kSqrt6, 0, 6, 1.25f, false, 2, 1, 2, 0.25f},
      {"filter 4 at lambda 1.25 blends levels 1 and 2", 4, false, kSqrt6, 0, 6, 1.25f, false, 2, 1, 2, 0.25f},
      {"filter 5 at lambda 2 takes levels 2 and 3", 5, false, 4, 0, 16, 2.0f, false, 2, 2, 3, 0},
      {"filter 5 at lambda n takes level n alone", 5, false, 16, 0, 256, 4.0f, false, 1, 4, 0, 0},
      {"linear magnification with filter 3 magnifies at rho 1.44", 3, true, 1.2f, 0, 1.44f, 0, true, 1, 0, 0, 0},
      {"nearest magnification with filter 3 minifies at rho 1.44", 3, false, 1.2f, 0, 1.44f, 0.22f, false, 1, 0, 0, 0},
      {"linear magnification with filter 5 minifies at rho 1.21", 5, true, 1.1f, 0, 1.21f, 0.105f, false, 2, 0, 1, 0.105f},
  };
  for (const Case &c : cases) {
    Write(target, 0);
    TextureState state;
    state.filter = c.filter;
    state.magnifyLinear = c.magnifyLinear;
    state.highest = c.filter >= 2 ? 4 : 0;
    state.widthLog2 = state.heightLog2 = 4;
    DrawInto(target, modeltest::kModeTexture);
    Texture(state, levels);
    // Buffer x from 0 to 8: s = a x / 16, t = b x / 16, the same down every column.
    uint32_t at = Next() + 1;
    float s8 = c.a * 8 / 16, t8 = c.b * 8 / 16;
    TexTriangle({-0.5f, -0.5f, 0, 0}, {7.5f, -0.5f, s8, t8}, {-0.5f, 7.5f, 0, 0});
    Fire();
    SiS6326TextureSample s = Sample(at, 1, 1);
    EXPECT_NEAR(s.rho, c.rho, c.rho * 1e-5) << c.what;
    EXPECT_NEAR(s.lambda, c.lambda, 2e-5) << c.what;
    EXPECT_EQ(s.magnified != 0, c.magnified) << c.what;
    EXPECT_EQ(s.filter, c.filter) << c.what;
    EXPECT_EQ(s.switchOver, c.magnifyLinear && (c.filter == 2 || c.filter == 3) ? 2.0f : 1.0f) << c.what;
    ASSERT_EQ(int(s.levels), c.levels) << c.what;
    EXPECT_EQ(int(s.level[0]), c.level0) << c.what;
    uint32_t expected = LevelColour(c.level0);
    if (c.levels == 2) {
      EXPECT_EQ(int(s.level[1]), c.level1) << c.what;
      EXPECT_NEAR(s.blend, c.blend, 2e-5) << c.what;
      expected = Blend(c.level0, c.level1, c.blend);
    }
    EXPECT_EQ(Read(target)[1 * 8 + 1], expected) << c.what;
  }
}

TEST_F(Sampling, F4_ARhoThatIsNotFiniteSamplesLevelN) {
  const modeltest::Target &target = MakeTarget(8, 8, 32);
  std::vector<Level> levels = MakeTexture(16, 5);
  for (int k = 0; k < 5; ++k) Fill(levels[size_t(k)], [k](int, int) { return LevelColour(k); });
  for (uint32_t filter : {2u, 5u}) {
    Write(target, 0);
    TextureState state;
    state.filter = filter;
    state.highest = 3;
    state.widthLog2 = state.heightLog2 = 4;
    DrawInto(target, modeltest::kModeTexture | modeltest::kModePerspective);
    Texture(state, levels);
    // q rises by 1 a pixel from 1 at the left: one pixel left of a left
    // vertex q is 0, and that vertex's rho is infinite.
    uint32_t at = Next() + 1;
    TexTriangle({-0.5f, -0.5f, 0, 0, 1}, {7.5f, -0.5f, 0.5f, 0, 9}, {-0.5f, 7.5f, 0, 0.5f, 1});
    Fire();
    SiS6326TextureSample s = Sample(at, 1, 1);
    EXPECT_FALSE(std::isfinite(s.rho)) << filter;
    EXPECT_EQ(s.levels, 1u) << filter;
    EXPECT_EQ(s.level[0], 3u) << filter;
    EXPECT_EQ(Read(target)[1 * 8 + 1], LevelColour(3)) << filter;
  }
}

// ---- Coordinates (F3) --------------------------------------------------------------

// A square in a plane tilted away from the viewer, seen through a pinhole:
// buffer X = 64 + 96 x / z, Y = 64 + 96 y / z, with z = 3 + y for x, y in
// [-1, 1]; s = (x + 1) / 2, t = (y + 1) / 2. Inverting the projection gives
// each pixel centre's exact s and t.
struct Tilted {
  static void Project(double x, double y, double *X, double *Y) {
    double z = 3 + y;
    *X = 64 + 96 * x / z;
    *Y = 64 + 96 * y / z;
  }
  static void Texture(double X, double Y, double *s, double *t) {
    double a = (X - 64) / 96, b = (Y - 64) / 96;
    double z = 3 / (1 - b);
    *s = (a * z + 1) / 2;
    *t = (b * z + 1) / 2;
  }
};

TEST_F(Sampling, F3_APerspectiveQuadFollowsTheAnalyticMapping) {
  const modeltest::Target &target = MakeTarget(128, 128, 32);
  std::vector<Level> level = MakeTexture(16);
  auto texel = [](int col, int row) { return 0xFF000055u | uint32_t(col * 16) << 16 | uint32_t(row * 16) << 8; };
  Fill(level[0], texel);
  TextureState state;
  state.widthLog2 = state.heightLog2 = 4;
  DrawInto(target, modeltest::kModeTexture | modeltest::kModePerspective);
  Texture(state, level);
  TexVertex corner[4];
  const double xs[4] = {-1, 1, 1, -1}, ys[4] = {-1, -1, 1, 1};
  for (int k = 0; k < 4; ++k) {
    double X, Y;
    Tilted::Project(xs[k], ys[k], &X, &Y);
    // The chip frame is the buffer's less 0.5; S and T are sent with Q = 1 / z.
    corner[k] = {float(X - 0.5), float(Y - 0.5), float((xs[k] + 1) / 2), float((ys[k] + 1) / 2),
                 float(1 / (3 + ys[k]))};
  }
  uint32_t first = Next() + 1;
  TexTriangle(corner[0], corner[1], corner[3]);
  uint32_t second = Next() + 1;
  TexTriangle(corner[1], corner[2], corner[3]);
  Fire();
  std::vector<uint32_t> pixels = Read(target);
  int covered = 0, nearBoundary = 0;
  for (int j = 0; j < 128; ++j)
    for (int i = 0; i < 128; ++i) {
      uint32_t p = pixels[size_t(j * 128 + i)];
      if (p == 0) continue;
      ++covered;
      double s, t;
      Tilted::Texture(i + 0.5, j + 0.5, &s, &t);
      SiS6326TextureSample sample = {};
      ASSERT_TRUE(PlatformSiS6326TextureSample(first, i, j, &sample) ||
                  PlatformSiS6326TextureSample(second, i, j, &sample));
      EXPECT_NEAR(sample.s, s, 1e-5) << i << ", " << j;
      EXPECT_NEAR(sample.t, t, 1e-5) << i << ", " << j;
      double u = s * 16, v = t * 16;
      bool edgeU = std::fabs(u - std::round(u)) < 1.0 / 256, edgeV = std::fabs(v - std::round(v)) < 1.0 / 256;
      nearBoundary += edgeU || edgeV;
      int col = int(p >> 16 & 0xFF) / 16, row = int(p >> 8 & 0xFF) / 16;
      if (!edgeU) {
        EXPECT_EQ(col, std::min(15, int(u))) << i << ", " << j;
      }
      if (!edgeV) {
        EXPECT_EQ(row, std::min(15, int(v))) << i << ", " << j;
      }
    }
  EXPECT_GT(covered, 4000);
  EXPECT_LT(nearBoundary, covered / 10);
}

TEST_F(Sampling, F3_WithoutTheModeBitSAndTAreInterpolatedAsSent) {
  const modeltest::Target &target = MakeTarget(16, 16, 32);
  std::vector<Level> level = MakeTexture(16);
  TextureState state;
  state.widthLog2 = state.heightLog2 = 4;
  DrawInto(target, modeltest::kModeTexture);
  Texture(state, level);
  uint32_t at = Next() + 1;
  // q differs per vertex and must change nothing.
  TexTriangle({-0.5f, -0.5f, 0, 0, 1}, {15.5f, -0.5f, 1, 0, 4}, {-0.5f, 15.5f, 0, 1, 0.25f});
  Fire();
  for (auto [i, j] : {std::pair{0, 0}, std::pair{5, 3}, std::pair{2, 12}}) {
    SiS6326TextureSample s = Sample(at, i, j);
    EXPECT_NEAR(s.s, (i + 0.5) / 16, 1e-6) << i << ", " << j;
    EXPECT_NEAR(s.t, (j + 0.5) / 16, 1e-6) << i << ", " << j;
    EXPECT_FLOAT_EQ(s.rho, 1.0f) << "one texel a pixel";
  }
}

// ---- The sample query ---------------------------------------------------------------

TEST_F(Sampling, TheQueryReportsPositionsPerLevelAndOnlyForTexturedPixels) {
  const modeltest::Target &target = MakeTarget(8, 8, 32);
  std::vector<Level> levels = MakeTexture(16, 2);
  TextureState state;
  state.filter = 5;
  state.highest = 1;
  state.widthLog2 = state.heightLog2 = 4;
  DrawInto(target, modeltest::kModeTexture);
  Texture(state, levels);
  // 1.5 texels a pixel along both axes: rho 2.25, lambda 0.5625, levels 0 and 1.
  uint32_t rect = Next() + 1;
  TexRect(0, 0, 8, 8, 0, 0, 0.75f, 0.75f);
  uint32_t point = Next() + 1;
  TexPoint({6, 6, 0.3f, 0.6f});
  uint32_t plain = Next() + 1;
  Triangle(modeltest::kFlatTriangle, {0, 0}, {4, 0}, {0, 4});
  Fire();
  SiS6326TextureSample s = Sample(rect, 3, 2);
  EXPECT_FLOAT_EQ(s.s, 3.5f * 0.75f / 8);
  EXPECT_FLOAT_EQ(s.t, 2.5f * 0.75f / 8);
  EXPECT_FLOAT_EQ(s.rho, 2.25f);
  EXPECT_FLOAT_EQ(s.lambda, 0.5625f);
  ASSERT_EQ(s.levels, 2u);
  EXPECT_EQ(s.level[0], 0u);
  EXPECT_EQ(s.level[1], 1u);
  EXPECT_FLOAT_EQ(s.blend, 0.5625f);
  EXPECT_EQ(s.linear, 1u);
  EXPECT_FLOAT_EQ(s.u[0], s.s * 16);
  EXPECT_FLOAT_EQ(s.v[0], s.t * 16);
  EXPECT_FLOAT_EQ(s.u[1], s.s * 8);
  EXPECT_FLOAT_EQ(s.v[1], s.t * 8);
  // A point: rho 1, magnified, at its own s and t.
  SiS6326TextureSample p = Sample(point, 6, 6);
  EXPECT_FLOAT_EQ(p.rho, 1.0f);
  EXPECT_EQ(p.magnified, 1u);
  EXPECT_EQ(p.linear, 0u) << "nearest magnification";
  EXPECT_FLOAT_EQ(p.u[0], 0.3f * 16);
  EXPECT_FLOAT_EQ(p.v[0], 0.6f * 16);
  SiS6326TextureSample none;
  EXPECT_FALSE(PlatformSiS6326TextureSample(point, 5, 6, &none)) << "a pixel the point does not cover";
  EXPECT_FALSE(PlatformSiS6326TextureSample(plain, 1, 1, &none)) << "an untextured triangle";
  EXPECT_FALSE(PlatformSiS6326TextureSample(plain + 100, 1, 1, &none)) << "no primitive there";
  EXPECT_FALSE(PlatformSiS6326TextureSample(rect, 8, 2, &none)) << "outside the clip rectangle";
  EXPECT_FALSE(PlatformSiS6326TextureSample(rect, -1, 2, &none));
}

}  // namespace

// The SiS 6326 drawing model's triangles: chip frame, clip rectangle, exact
// coverage, vertex order and interpolation (rules B1-B4, C1).
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::kFlatTriangle;
using modeltest::kSmoothTriangle;
using modeltest::Vertex;

class Triangles : public modeltest::ModelTest {
 protected:
  // The pixels (nonzero) one triangle writes into a cleared 16 x 16 target.
  std::vector<uint32_t> Coverage(const modeltest::Target &t, const Vertex v[3],
                                 uint32_t command = kFlatTriangle) {
    Write(t, 0);
    DrawInto(t);
    Triangle(command, v[0], v[1], v[2]);
    Fire();
    return Read(t);
  }
};

// Coverage by the rule itself, on vertices of a 1/16 grid given in sixteenths
// of a chip pixel: yMin < Yc <= yMax and xLeft(Yc) < Xc <= xRight(Yc), with
// the boundary crossings as exact fractions.
bool Oracle(const int64_t x[3], const int64_t y[3], int i, int j) {
  // Buffer frame: X = x + 0.5; the centre of pixel (i, j) is (i + 0.5, j + 0.5).
  int64_t X[3], Y[3];
  for (int k = 0; k < 3; ++k) X[k] = x[k] + 8, Y[k] = y[k] + 8;
  int64_t xc = 16 * i + 8, yc = 16 * j + 8;
  if ((X[1] - X[0]) * (Y[2] - Y[0]) == (Y[1] - Y[0]) * (X[2] - X[0])) return false;
  int64_t yMin = std::min({Y[0], Y[1], Y[2]}), yMax = std::max({Y[0], Y[1], Y[2]});
  if (!(yMin < yc && yc <= yMax)) return false;
  // Crossings num / den with den > 0; find the smallest and the largest.
  bool any = false;
  int64_t loN = 0, loD = 1, hiN = 0, hiD = 1;
  auto add = [&](int64_t n, int64_t d) {
    if (!any || n * loD < loN * d) loN = n, loD = d;
    if (!any || n * hiD > hiN * d) hiN = n, hiD = d;
    any = true;
  };
  for (int k = 0; k < 3; ++k) {
    int64_t xa = X[k], ya = Y[k], xb = X[(k + 1) % 3], yb = Y[(k + 1) % 3];
    if (yc < std::min(ya, yb) || yc > std::max(ya, yb)) continue;
    if (ya == yb) {
      add(xa, 1), add(xb, 1);
      continue;
    }
    int64_t n = xa * (yb - ya) + (yc - ya) * (xb - xa), d = yb - ya;
    if (d < 0) n = -n, d = -d;
    add(n, d);
  }
  return any && loN < xc * loD && xc * hiD <= hiN;
}

Vertex Grid(int64_t x, int64_t y) { return Vertex{float(x) / 16.0f, float(y) / 16.0f}; }

TEST_F(Triangles, B3_CoverageOfGridTrianglesInBothOrientationsMatchesTheRule) {
  const modeltest::Target &t = MakeTarget(16, 16);
  std::vector<std::array<int64_t, 6>> table = {
      {0, 0, 64, 0, 0, 64},          // chip (0, 0), (4, 0), (0, 4)
      {0, 0, 0, 64, 64, 0},          // the same, other orientation
      {8, 8, 200, 8, 8, 200},        // vertices on pixel centres
      {-24, 40, 260, 40, 100, 250},  // a horizontal top edge
      {0, 0, 255, 255, 0, 255},      // a diagonal through centres
      {40, -30, 41, 300, 250, 120},  // thin and tall
  };
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return int64_t((seed >> 8) % 320) - 32;
  };
  for (int n = 0; n < 120; ++n) table.push_back({next(), next(), next(), next(), next(), next()});
  for (const auto &c : table) {
    for (bool flip : {false, true}) {
      int64_t x[3] = {c[0], flip ? c[4] : c[2], flip ? c[2] : c[4]};
      int64_t y[3] = {c[1], flip ? c[5] : c[3], flip ? c[3] : c[5]};
      Vertex v[3] = {Grid(x[0], y[0]), Grid(x[1], y[1]), Grid(x[2], y[2])};
      std::vector<uint32_t> pixels = Coverage(t, v);
      for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
          ASSERT_EQ(pixels[size_t(j * 16 + i)] != 0, Oracle(x, y, i, j))
              << "pixel (" << i << ", " << j << ") of (" << x[0] << ", " << y[0] << "), (" << x[1]
              << ", " << y[1] << "), (" << x[2] << ", " << y[2] << ") in sixteenths";
    }
  }
}

// A fan and a strip share edges: their triangles cover each pixel of their
// union once.
TEST_F(Triangles, B3_FansAndStripsCoverEachPixelOnce) {
  const modeltest::Target &t = MakeTarget(16, 16);
  const int64_t centre[2] = {120, 130};
  const int64_t ring[][2] = {{20, 10}, {150, -8}, {250, 60}, {240, 220}, {110, 250}, {-10, 180}};
  std::vector<std::array<int64_t, 6>> fan, strip;
  for (int k = 0; k < 6; ++k)
    fan.push_back({centre[0], centre[1], ring[k][0], ring[k][1], ring[(k + 1) % 6][0], ring[(k + 1) % 6][1]});
  const int64_t zig[][2] = {{-8, 0}, {10, 250}, {70, 3}, {90, 240}, {170, 17}, {185, 260}, {262, 5}};
  for (int k = 0; k + 2 < 7; ++k)
    strip.push_back({zig[k][0], zig[k][1], zig[k + 1][0], zig[k + 1][1], zig[k + 2][0], zig[k + 2][1]});
  for (const auto *mesh : {&fan, &strip}) {
    std::vector<int> count(256, 0);
    for (const auto &c : *mesh) {
      Vertex v[3] = {Grid(c[0], c[1]), Grid(c[2], c[3]), Grid(c[4], c[5])};
      std::vector<uint32_t> pixels = Coverage(t, v);
      for (size_t p = 0; p < 256; ++p) count[p] += pixels[p] != 0;
    }
    int covered = 0;
    for (size_t p = 0; p < 256; ++p) {
      EXPECT_LE(count[p], 1) << "pixel " << p % 16 << ", " << p / 16;
      covered += count[p];
    }
    EXPECT_GT(covered, 150);
  }
}

TEST_F(Triangles, B1_TheTriangleEngineSamplesPixelCentresAtChipIntegers) {
  const modeltest::Target &t = MakeTarget(16, 16);
  Vertex v[3] = {{0, 0}, {4, 0}, {0, 4}};
  std::vector<uint32_t> pixels = Coverage(t, v);
  // Chip (i, j) is the centre of pixel (i, j): rows 1-3 (y in (0, 4]) from x > 0 to x <= 4 - y.
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) {
      bool expected = j >= 1 && j <= 4 && i >= 1 && i <= 4 - j;
      EXPECT_EQ(pixels[size_t(j * 16 + i)] != 0, expected) << i << ", " << j;
    }
}

TEST_F(Triangles, B1_ANonFiniteCoordinateIsReportedAndDrawsNothing) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  uint32_t at = Next() + 1;  // the wait before the command
  Triangle(kFlatTriangle, {0, 0}, {NAN, 0}, {0, 6});
  Fire();
  std::vector<std::string> v = modeltest::TakeViolations();
  EXPECT_EQ(v, std::vector<std::string>{"B1@" + std::to_string(at)});
  for (uint32_t p : Read(t)) EXPECT_EQ(p, 0u);
}

TEST_F(Triangles, B2_ClipRegistersBoundColumnsAndRows) {
  const modeltest::Target &t = MakeTarget(8, 10);
  DrawInto(t);
  Clip(2, 3, 5, 7);
  Triangle(kFlatTriangle, {-20, -20}, {40, -20}, {-20, 40});
  Fire();
  std::vector<uint32_t> pixels = Read(t);
  for (int j = 0; j < 10; ++j)
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(pixels[size_t(j * 8 + i)] != 0, i >= 2 && i <= 4 && j >= 3 && j <= 6) << i << ", " << j;
}

TEST_F(Triangles, B4_OrderedVerticesAndTheSideBitOnTheChipsThatNeedThem) {
  const modeltest::Target &t = MakeTarget(16, 16);
  struct Case {
    const char *what;
    uint8_t revision;
    Vertex a, b, c;
    uint32_t side;
    bool reported;
  } const cases[] = {
      {"code 0x26, bottom first", 0x0B, {2, 12}, {12, 6}, {2, 1}, 0, true},
      {"code 0x23, bottom first", 0xD2, {2, 12}, {12, 6}, {2, 1}, 0, false},
      {"code 0x26, middle right, bit clear", 0x0B, {2, 1}, {12, 6}, {2, 12}, 0, false},
      {"code 0x26, middle right, bit set", 0x0B, {2, 1}, {12, 6}, {2, 12}, 0x80, true},
      {"code 0x26, middle left, bit set", 0x0B, {12, 1}, {2, 6}, {12, 12}, 0x80, false},
      {"code 0x26, middle left, bit clear", 0x0B, {12, 1}, {2, 6}, {12, 12}, 0, true},
      // Within 2^-10 of the long edge either value is accepted (a sliver that covers nothing).
      {"code 0x26, middle on the edge, bit set", 0x0B, {2, 1}, {7.0005f, 6}, {12, 11}, 0x80, false},
      {"code 0x26, middle on the edge, bit clear", 0x0B, {2, 1}, {6.9995f, 6}, {12, 11}, 0, false},
      {"code 0x1C, middle right, bit set", 0x0A, {2, 1}, {12, 6}, {2, 12}, 0x80, true},
      {"code 0x23, side bit set", 0xD2, {2, 1}, {12, 6}, {2, 12}, 0x80, true},
  };
  for (const Case &c : cases) {
    PlatformSiS6326SetChip(0x6326, c.revision);
    Write(t, 0);
    DrawInto(t);
    Triangle(kFlatTriangle | c.side, c.a, c.b, c.c);
    Fire();
    std::vector<std::string> v = modeltest::TakeViolations();
    EXPECT_EQ(v.size(), c.reported ? 1u : 0u) << c.what;
    if (!v.empty()) {
      EXPECT_EQ(v[0].substr(0, 3), "B4@") << c.what;
    }
    bool drawn = false;
    for (uint32_t p : Read(t)) drawn |= p != 0;
    if (c.b.x == 2 || c.b.x == 12) {
      EXPECT_EQ(drawn, !c.reported) << c.what;
    }
  }
}

TEST_F(Triangles, C1_SmoothColoursFollowThePlaneThroughTheVertices) {
  const modeltest::Target &t = MakeTarget(16, 16, 32);
  DrawInto(t);
  Vertex a{0.5f, 0.25f, 0, 0xFF102030}, b{15.0f, 2.0f, 0, 0x80F08010}, c{3.0f, 15.5f, 0, 0x4000FFC0};
  Triangle(kSmoothTriangle, a, b, c);
  Fire();
  std::vector<uint32_t> pixels = Read(t);
  // Buffer frame: X = x + 0.5, Y = y + 0.5.
  double X[3] = {a.x + 0.5, b.x + 0.5, c.x + 0.5}, Y[3] = {a.y + 0.5, b.y + 0.5, c.y + 0.5};
  uint32_t colours[3] = {a.colour, b.colour, c.colour};
  int checked = 0;
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) {
      uint32_t p = pixels[size_t(j * 16 + i)];
      if (p == 0) continue;
      ++checked;
      double px = i + 0.5, py = j + 0.5;
      double det = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
      double w1 = ((px - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (py - Y[0])) / det;
      double w2 = ((X[1] - X[0]) * (py - Y[0]) - (px - X[0]) * (Y[1] - Y[0])) / det;
      for (int shift : {24, 16, 8, 0}) {
        double v0 = (colours[0] >> shift) & 0xFF, v1 = (colours[1] >> shift) & 0xFF, v2 = (colours[2] >> shift) & 0xFF;
        double expected = v0 + w1 * (v1 - v0) + w2 * (v2 - v0);
        EXPECT_NEAR(double((p >> shift) & 0xFF), expected, 0.5 + 1e-9) << i << ", " << j << " shift " << shift;
      }
    }
  EXPECT_GT(checked, 50);
}

TEST_F(Triangles, C1_AFlatTriangleWithUnequalColourWordsIsReported) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  uint32_t at = Next() + 1;
  Triangle(kFlatTriangle, {0, 0, 0, 0xFF0000FF}, {6, 0, 0, 0xFF0000FF}, {0, 6, 0, 0xFF0000FE});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"C1@" + std::to_string(at)});
  for (uint32_t p : Read(t)) EXPECT_EQ(p, 0u);
}

TEST_F(Triangles, C1_AnUnknownTriangleCommandIsReported) {
  const modeltest::Target &t = MakeTarget(8, 8);
  for (uint32_t command : {0x6002u | 0x500u, 0x6002u | 0x140000u | 0x500u, 0x6003u | 0x40000u | 0x500u}) {
    DrawInto(t);
    uint32_t at = Next() + 1;
    Triangle(command, {0, 0}, {6, 0}, {0, 6});
    Fire();
    EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"C1@" + std::to_string(at)})
        << std::hex << command;
  }
}

TEST_F(Triangles, E2_AFlatFoggedTriangleShadesBetweenItsFoggedColours) {
  const modeltest::Target &t = MakeTarget(16, 16, 32);
  DrawInto(t, 1u << 3);
  Reg(modeltest::kFog, 0x00FF00);  // green fog
  Triangle(kFlatTriangle, {0, 0, 0, 0xFFFF0000, 255}, {15, 0, 0, 0xFFFF0000, 128},
           {0, 15, 0, 0xFFFF0000, 0});
  Fire();
  std::vector<uint32_t> pixels = Read(t);
  uint32_t nearColour = pixels[size_t(1 * 16 + 1)];  // near the unfogged vertex
  EXPECT_GT((nearColour >> 16) & 0xFF, 0xE0u);
  EXPECT_LT((nearColour >> 8) & 0xFF, 0x20u);
  uint32_t nearFog = pixels[size_t(14 * 16 + 1)];
  EXPECT_LT((nearFog >> 16) & 0xFF, 0x30u);
  EXPECT_GT((nearFog >> 8) & 0xFF, 0xC0u);
  EXPECT_EQ(nearFog >> 24, 0xFFu) << "alpha is not fogged";
}

}  // namespace

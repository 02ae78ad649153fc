// The SiS 6326 drawing model's lines and points: the diamond rule in all
// eight octants, the command table, stipple, colour and depth along a line,
// and points (rules B1, B4-B7, C2, C3).
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>

#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::LineCommand;
using modeltest::Vertex;
using Pixels = std::set<std::pair<int, int>>;

class LinesAndPoints : public modeltest::ModelTest {
 protected:
  Pixels Drawn(const modeltest::Target &t) {
    Pixels out;
    std::vector<uint32_t> p = Read(t);
    for (int j = 0; j < t.height; ++j)
      for (int i = 0; i < t.width; ++i)
        if (p[size_t(j * t.width + i)]) out.insert({i, j});
    return out;
  }
};

// Integer arithmetic in sixteenths of a pixel, independent of the model's.
int64_t FloorDiv(int64_t a, int64_t b) {
  if (b < 0) a = -a, b = -b;
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// R = nearest integer to (c + 0.5), ties to even, for c in sixteenths.
int64_t Nearest(int64_t c16) {
  int64_t v = c16 + 8, q = FloorDiv(v, 16), rest = v - 16 * q;
  if (rest > 8) return q + 1;
  if (rest < 8) return q;
  return (q % 2 == 0) ? q : q + 1;
}

// The pixels of the line rule for buffer-frame ends in sixteenths.
Pixels Oracle(int64_t X1, int64_t Y1, int64_t X2, int64_t Y2) {
  bool yMajor = !(std::llabs(Y2 - Y1) < std::llabs(X2 - X1));
  int64_t M1 = yMajor ? Y1 : X1, M2 = yMajor ? Y2 : X2, m1 = yMajor ? X1 : Y1, m2 = yMajor ? X2 : Y2;
  int d = M2 >= M1 ? 1 : -1;
  auto endIndex = [&](int64_t M, int64_t m) {
    int64_t RM = Nearest(M), Rm = Nearest(m);
    int64_t fM = M + 8 - 16 * RM, fm = m + 8 - 16 * Rm;  // sixteenths
    return d * fM + std::llabs(fm) > 8 ? RM - 1 + d : RM - 1;
  };
  int64_t start = endIndex(M1, m1), end = endIndex(M2, m2);
  Pixels out;
  for (int64_t k = 0; k < (end - start) * d; ++k) {
    int64_t s = start + k * d;
    // floor(m1 + (m2 - m1)(s + 0.5 - M1) / (M2 - M1)), all in sixteenths.
    int64_t minor = FloorDiv(m1 * (M2 - M1) + (m2 - m1) * (16 * s + 8 - M1), 16 * (M2 - M1));
    out.insert(yMajor ? std::make_pair(int(minor), int(s)) : std::make_pair(int(s), int(minor)));
  }
  return out;
}

TEST_F(LinesAndPoints, B6_ASpanAlongARowWritesItsPixels) {
  const modeltest::Target &t = MakeTarget(16, 8);
  DrawInto(t);
  Line(LineCommand(false, false, false), {10.0f, 5.5f}, {13.0f, 5.5f});
  Fire();
  EXPECT_EQ(Drawn(t), (Pixels{{10, 5}, {11, 5}, {12, 5}}));
}

TEST_F(LinesAndPoints, B6_SegmentsInAllEightOctantsFollowTheDiamondRule) {
  const modeltest::Target &t = MakeTarget(24, 24);
  // Centres and offsets in sixteenths; ends inside and just outside their diamonds.
  const int64_t ends[][2] = {{0, 0}, {7, 0}, {8, 0}, {9, 0}, {0, 7}, {0, 9}, {4, 4}, {5, 4}, {-7, 1}, {-9, 0}};
  const int64_t directions[][2] = {{150, 40}, {40, 150}, {-40, 150}, {-150, 40},
                                   {-150, -40}, {-40, -150}, {40, -150}, {150, -40},
                                   {160, 0}, {0, 160}, {100, 100}, {-100, 100}};
  int checked = 0;
  for (const auto &dir : directions)
    for (const auto &e1 : ends)
      for (const auto &e2 : ends) {
        // Chip coordinates: x = X - 0.5, y = Y; start near the middle.
        int64_t X1 = 16 * 12 + e1[0] - (dir[0] / 2), Y1 = 16 * 12 + e1[1] - (dir[1] / 2);
        int64_t X2 = X1 + dir[0] + e2[0] - e1[0], Y2 = Y1 + dir[1] + e2[1] - e1[1];
        bool yMajor = !(std::llabs(Y2 - Y1) < std::llabs(X2 - X1));
        bool backwards = yMajor ? Y2 < Y1 : X2 < X1;
        Write(t, 0);
        DrawInto(t);
        Line(LineCommand(yMajor, backwards, false), {float(X1 - 8) / 16.0f, float(Y1) / 16.0f},
             {float(X2 - 8) / 16.0f, float(Y2) / 16.0f});
        Fire();
        ASSERT_EQ(Drawn(t), Oracle(X1, Y1, X2, Y2))
            << "(" << X1 << ", " << Y1 << ") to (" << X2 << ", " << Y2 << ") in sixteenths";
        ++checked;
      }
  EXPECT_EQ(checked, 1200);
}

TEST_F(LinesAndPoints, B6_ACommandUnlikeTheLinesDirectionIsReported) {
  const modeltest::Target &t = MakeTarget(16, 16);
  struct Case {
    uint32_t command;
    Vertex a, b;
  } const cases[] = {
      {LineCommand(false, true, false), {1, 1}, {10, 3}},   // says backwards
      {LineCommand(true, false, false), {1, 1}, {10, 3}},   // says y-major
      {LineCommand(false, false, false), {1, 1}, {3, 10}},  // says x-major
      {0x1301, {1, 1}, {10, 3}},                            // no such row
  };
  for (const Case &c : cases) {
    Write(t, 0);
    DrawInto(t);
    uint32_t at = Next() + 1;
    Line(c.command, c.a, c.b);
    Fire();
    EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"B6@" + std::to_string(at)})
        << std::hex << c.command;
    EXPECT_TRUE(Drawn(t).empty());
  }
}

TEST_F(LinesAndPoints, B4_LinesSentBottomFirstOnChipsThatOrderVertices) {
  const modeltest::Target &t = MakeTarget(16, 16);
  for (uint8_t revision : {uint8_t(0x0B), uint8_t(0xD2)}) {
    PlatformSiS6326SetChip(0x6326, revision);
    Write(t, 0);
    DrawInto(t);
    Line(LineCommand(true, true, false), {3, 12}, {5, 2});
    Fire();
    EXPECT_EQ(modeltest::TakeViolations().size(), revision == 0x0B ? 1u : 0u) << int(revision);
    EXPECT_EQ(Drawn(t).empty(), revision == 0x0B);
  }
}

TEST_F(LinesAndPoints, B7_StippleByPatternAndRepeatRestartsAtEachCommand) {
  const modeltest::Target &t = MakeTarget(40, 4);
  DrawInto(t, 1u << 12);
  Reg(modeltest::kPattern, 0x00FFu << 16 | 2);
  Line(LineCommand(false, false, false), {0, 1}, {40, 1});
  Line(LineCommand(false, false, false), {0, 2}, {40, 2});
  Fire();
  Pixels drawn = Drawn(t);
  for (int i = 0; i < 40; ++i) {
    bool on = (i / 2) % 16 < 8;
    EXPECT_EQ(drawn.count({i, 1}) == 1, on) << i;
    EXPECT_EQ(drawn.count({i, 2}) == 1, on) << "restarted: " << i;
  }
  uint32_t at = Next() + 3;  // after the register's wait and store and the line's wait
  Reg(modeltest::kPattern, 0xFFFFu << 16);
  Line(LineCommand(false, false, false), {0, 1}, {40, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"B7@" + std::to_string(at)});
}

TEST_F(LinesAndPoints, C2_SmoothLinesRampFromTheFirstVertexAndCorrectDepth) {
  const modeltest::Target &t = MakeTarget(16, 4, 32);
  const modeltest::Target &z = MakeZ(16, 4, 16);
  DrawInto(t, 1u << 20 | 1u << 21);
  Reg(modeltest::kZ, 1u << 20 | 7u << 16 | uint32_t(z.pitch));
  Reg(modeltest::kZAddress, z.offset);
  Line(LineCommand(false, false, true), {0, 1, 0.0f, 0xFF000000}, {8, 1, 1.0f, 0xFFFFFFFF});
  Fire();
  std::vector<uint32_t> colour = Read(t), depth = Read(z);
  for (int k = 0; k < 8; ++k) {
    double c = 255.0 * k / 8.0;  // c1 + k (c2 - c1) / L
    EXPECT_EQ(colour[size_t(16 + k)] & 0xFF, uint32_t(c + 0.5)) << k;
    double zk = (k + 0.5 - 0.5) / 8.0;  // (s + 0.5 - M1) / (M2 - M1), M1 = 0.5
    EXPECT_EQ(depth[size_t(16 + k)], uint32_t(std::floor(zk * 65535))) << k;
  }
  // A flat line's colour words must agree.
  uint32_t at = Next() + 1;
  Line(LineCommand(false, false, false), {0, 2, 0, 0xFF000000}, {8, 2, 0, 0xFF000001});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"C2@" + std::to_string(at)});
}

// A line can have more pixels than its major length plus one: its last pixel
// then lies past the second vertex and its colour past the second colour,
// here red above 255 and green below 0. Each channel lands on its own
// field's end; none spills into its neighbours.
TEST_F(LinesAndPoints, C2_ALastPixelPastTheEndColourIsClampedPerChannel) {
  struct Case {
    int bits;
    uint32_t last;  // the third pixel: red full, green and blue empty
  };
  for (const Case &c : {Case{16, 0xF800u}, Case{32, 0xFFFF0000u}}) {
    SCOPED_TRACE(c.bits);
    const modeltest::Target &t = MakeTarget(8, 4, c.bits);
    DrawInto(t);
    // X from 0.95 to 2.9 (length 1.95) covers pixels 0, 1 and 2 of row 1:
    // the last at k = 2, 2 / 1.95 of the way from green to red.
    Line(LineCommand(false, false, true), {0.45f, 1.5f, 0, 0xFF00FF00}, {2.4f, 1.9f, 0, 0xFFFF0000});
    Fire();
    std::vector<uint32_t> p = Read(t);
    EXPECT_EQ(p[size_t(t.width + 2)], c.last);
    EXPECT_EQ(p[size_t(t.width + 3)], 0u);
    EXPECT_EQ(p[size_t(2)], 0u);
  }
}

TEST_F(LinesAndPoints, B5_APointWritesThePixelHoldingIt) {
  const modeltest::Target &t = MakeTarget(16, 8);
  struct Case {
    float x, y;
    int i, j;
  } const cases[] = {{10.2f, 3.2f, 10, 3}, {10.6f, 3.9f, 11, 3}, {3.0f, 5.0f, 3, 5}, {2.6f, 5.99f, 3, 5}};
  for (const Case &c : cases) {
    Write(t, 0);
    DrawInto(t);
    Point({c.x, c.y});
    Fire();
    EXPECT_EQ(Drawn(t), (Pixels{{c.i, c.j}})) << c.x << ", " << c.y;
  }
}

TEST_F(LinesAndPoints, C3_APointTakesItsVertexColourDepthAndFog) {
  const modeltest::Target &t = MakeTarget(8, 8, 32);
  const modeltest::Target &z = MakeZ(8, 8, 16);
  DrawInto(t, 1u << 3 | 1u << 20 | 1u << 21);
  Reg(modeltest::kFog, 0x0000FF);
  Reg(modeltest::kZ, 1u << 20 | 7u << 16 | uint32_t(z.pitch));
  Reg(modeltest::kZAddress, z.offset);
  Point({2, 2, 0.5f, 0x80FF0000, 51});  // f = 0.2
  Fire();
  uint32_t p = Read(t)[2 * 8 + 2];
  EXPECT_EQ(p, 0x80330000u | uint32_t(0.8 * 255 + 0.5));
  EXPECT_EQ(Read(z)[2 * 8 + 2], 32767u);
  uint32_t at = Next() + 1;
  chip.Wait(9);
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, 0x200);
  for (int w = 0; w < 8; ++w) chip.Store32(SIS6326_VERTEX_BLOCKS + 4 * uint32_t(w), 0);
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), std::vector<std::string>{"E3@" + std::to_string(at)})
      << "a textured point without mode bit 10";
}

}  // namespace

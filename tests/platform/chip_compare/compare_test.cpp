// The comparison helper on frame pairs made from what the model drew: a
// hardware frame read back and a software frame changed by hand, one kind
// of difference at a time.
#include <cstring>
#include <vector>

#include "platform/sis6326_compare.h"
#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::Vertex;

constexpr int kSize = 24;
constexpr uint32_t kFlatLine = 0xC1301;
constexpr uint16_t kWhite = 0xFFFF;

class Compare : public modeltest::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    target = &MakeTarget(kSize, kSize, 16);
    DrawInto(*target);
  }

  // The target's pixels as a frame's memory.
  std::vector<uint16_t> Frame() {
    std::vector<uint16_t> out;
    for (uint32_t p : Read(*target)) out.push_back(uint16_t(p));
    return out;
  }
  static SiS6326Frame Colour(const std::vector<uint16_t> &p) {
    return {p.data(), kSize, kSize, kSize * 2, 0x11};
  }
  static SiS6326Frame Depth(const std::vector<uint16_t> &p) {
    return {p.data(), kSize, kSize, kSize * 2, SIS6326_FRAME_Z16};
  }
  static uint16_t &At(std::vector<uint16_t> &p, int i, int j) { return p[size_t(j * kSize + i)]; }

  // A white triangle whose long edge runs through the centres of the
  // pixels with i + j = 16: buffer corners (0.5, 0.5), (16.5, 0.5), (0.5, 16.5).
  void DrawTriangle() {
    Triangle(modeltest::kFlatTriangle, Vertex{0, 0}, Vertex{16, 0}, Vertex{0, 16});
    Fire();
  }
  // A white line from buffer (0.5, 2) to (20.5, 12): at column s its exact
  // row is 2 + s / 2, on a row boundary at every even column.
  void DrawLine() {
    Line(kFlatLine, Vertex{0, 2}, Vertex{20, 12});
    Fire();
  }

  SiS6326Comparison Run(const std::vector<uint16_t> &hardware, const std::vector<uint16_t> &software,
                        bool *ok, const std::vector<uint16_t> *hardwareZ = nullptr,
                        const std::vector<uint16_t> *softwareZ = nullptr) {
    SiS6326Comparison c;
    const SiS6326Frame h = Colour(hardware), s = Colour(software);
    SiS6326Frame hz{}, sz{};
    if (hardwareZ) hz = Depth(*hardwareZ), sz = Depth(*softwareZ);
    *ok = PlatformSiS6326Compare(&h, &s, hardwareZ ? &hz : nullptr, softwareZ ? &sz : nullptr, &c);
    return c;
  }

  modeltest::Target *target = nullptr;
};

TEST_F(Compare, EqualFramesHaveNoDifference) {
  DrawTriangle();
  std::vector<uint16_t> hw = Frame();
  bool ok = false;
  SiS6326Comparison c = Run(hw, hw, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(c.compared, uint32_t(kSize * kSize));
  EXPECT_EQ(c.differing, 0u);
  EXPECT_EQ(c.largestDifference, 0u);
  EXPECT_EQ(c.meanDifference, 0.0);
  EXPECT_EQ(c.firstFailedX, -1);
}

TEST_F(Compare, EachDifferenceIsClassifiedByTheToleranceThatAllowsIt) {
  DrawTriangle();
  DrawLine();
  const std::vector<uint16_t> hw = Frame();
  ASSERT_EQ(At(const_cast<std::vector<uint16_t> &>(hw), 8, 8), kWhite) << "the edge pixel drew";
  struct Case {
    const char *name;
    void (*change)(std::vector<uint16_t> &);
    uint32_t tolerance;
    uint32_t count;
  } const cases[] = {
      {"one unit of green", [](std::vector<uint16_t> &p) { At(p, 3, 3) -= 0x20; },
       SIS6326_ALLOWED_COLOUR, 1},
      {"one unit of red and of blue", [](std::vector<uint16_t> &p) { At(p, 4, 3) -= 0x0801; },
       SIS6326_ALLOWED_COLOUR, 1},
      {"a pixel centred on the triangle's edge left out",
       [](std::vector<uint16_t> &p) { At(p, 8, 8) = 0; }, SIS6326_ALLOWED_EDGE, 1},
      {"a line pixel stepped across an exact row boundary",
       [](std::vector<uint16_t> &p) {
         // Column 18, outside the triangle: exact row 11; the line's pixel
         // is (18, 11), the other side of the boundary (18, 10).
         At(p, 18, 11) = 0;
         At(p, 18, 10) = kWhite;
       },
       SIS6326_ALLOWED_LINE_STEP, 2},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> sw = hw;
    c.change(sw);
    bool ok = false;
    SiS6326Comparison r = Run(hw, sw, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(r.differing, c.count);
    EXPECT_EQ(r.allowed[c.tolerance], c.count);
    EXPECT_EQ(r.allowed[SIS6326_ALLOWED_BY_NONE], 0u);
  }
}

TEST_F(Compare, ADifferenceNoToleranceAllowsFails) {
  DrawTriangle();
  DrawLine();
  const std::vector<uint16_t> hw = Frame();
  struct Case {
    const char *name;
    int i, j;
    uint16_t value;
  } const cases[] = {
      {"an interior pixel two units of green off", 3, 4, uint16_t(kWhite - 0x40)},
      {"an interior pixel left out", 5, 5, 0},
      {"a pixel outside everything drawn", 22, 2, kWhite},
      // Column 17: exact row 10.5, half a pixel from any boundary.
      {"a line pixel stepped where no boundary is near", 17, 11, kWhite},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> sw = hw;
    At(sw, c.i, c.j) = c.value;
    bool ok = true;
    SiS6326Comparison r = Run(hw, sw, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(r.allowed[SIS6326_ALLOWED_BY_NONE], 1u);
    EXPECT_EQ(r.firstFailedX, c.i);
    EXPECT_EQ(r.firstFailedY, c.j);
  }
}

TEST_F(Compare, DepthFramesAllowCloseValuesAndTiesTheModelMet) {
  struct Case {
    const char *name;
    uint16_t stored;         // before the triangle
    bool tie;                // the model's test compared values within 2
    uint32_t ties, depths;   // pixels allowed as depth ties, as close depths
  } const cases[] = {{"stored one above", 32768, true, 1, 1},
                     {"stored two above", 32769, true, 2, 0},
                     {"stored far above", 40000, false, 0, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    PlatformSiS6326Reset();
    const modeltest::Target &zb = MakeZ(kSize, kSize, 16);
    Write(zb, c.stored);
    DrawInto(*target, 1u << 20 | 1u << 21);
    Reg(modeltest::kZ, 1u << 20 | 1u << 16 | uint32_t(zb.pitch));
    Reg(modeltest::kZAddress, zb.offset);
    Triangle(modeltest::kFlatTriangle, Vertex{0, 0, 0.5f}, Vertex{16, 0, 0.5f}, Vertex{0, 16, 0.5f});
    Fire();
    const std::vector<uint16_t> hw = Frame();
    std::vector<uint16_t> hz;
    for (uint32_t p : Read(zb)) hz.push_back(uint16_t(p));
    ASSERT_EQ(At(hz, 4, 4), 32767);
    // The software path failed the test at an interior pixel: its colour is
    // missing and its depth kept the stored value.
    std::vector<uint16_t> sw = hw, sz = hz;
    At(sw, 4, 4) = 0;
    At(sz, 4, 4) = c.stored;
    bool ok = !c.tie;
    SiS6326Comparison r = Run(hw, sw, &ok, &hz, &sz);
    EXPECT_EQ(ok, c.tie);
    EXPECT_EQ(r.compared, uint32_t(2 * kSize * kSize));
    EXPECT_EQ(r.allowed[SIS6326_ALLOWED_DEPTH_TIE], c.ties);
    EXPECT_EQ(r.allowed[SIS6326_ALLOWED_DEPTH], c.depths);
    // Without the depth frames no tie is allowed.
    Run(hw, sw, &ok);
    EXPECT_FALSE(ok);
    // The same colours with equal depths: a colour difference the depth
    // test cannot explain.
    Run(hw, sw, &ok, &hz, &hz);
    EXPECT_EQ(ok, c.tie);
  }
}

TEST_F(Compare, DepthDifferencesOnTheirOwn) {
  DrawTriangle();
  const std::vector<uint16_t> hw = Frame();
  const std::vector<uint16_t> hz(kSize * kSize, 0x4000);
  struct Case {
    const char *name;
    int i, j;
    uint16_t value;
    uint32_t tolerance;
  } const cases[] = {
      {"one off, outside anything drawn", 20, 20, 0x4001, SIS6326_ALLOWED_DEPTH},
      {"far off on the triangle's edge", 8, 8, 0x7000, SIS6326_ALLOWED_EDGE},
      {"two off, outside anything drawn", 20, 20, 0x4002, SIS6326_ALLOWED_BY_NONE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> sz = hz;
    At(sz, c.i, c.j) = c.value;
    bool ok = false;
    SiS6326Comparison r = Run(hw, hw, &ok, &hz, &sz);
    EXPECT_EQ(ok, c.tolerance != SIS6326_ALLOWED_BY_NONE);
    EXPECT_EQ(r.differing, 1u);
    EXPECT_EQ(r.allowed[c.tolerance], 1u);
  }
}

TEST_F(Compare, LargestAndMeanChannelDifference) {
  DrawTriangle();
  const std::vector<uint16_t> hw = Frame();
  std::vector<uint16_t> sw = hw;
  At(sw, 2, 2) -= 0x0801;  // red and blue one unit each
  At(sw, 8, 8) = 0;        // every channel at its full range
  bool ok = false;
  SiS6326Comparison r = Run(hw, sw, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(r.largestDifference, 63u);
  EXPECT_DOUBLE_EQ(r.meanDifference, (1.0 + 1.0 + 31.0 + 63.0 + 31.0) / (3.0 * kSize * kSize));
}

TEST_F(Compare, FramesOfUnlikeShapeOrUnknownFormatAreRefused) {
  std::vector<uint16_t> a(kSize * kSize), b(kSize * kSize);
  SiS6326Frame h = Colour(a), s = Colour(b);
  SiS6326Comparison r;
  EXPECT_TRUE(PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &r));
  s.format = 0x10;
  EXPECT_FALSE(PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &r));
  s = Colour(b);
  s.width = kSize - 1;
  EXPECT_FALSE(PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &r));
  h.format = s.format = 0x20;
  s.width = kSize;
  EXPECT_FALSE(PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &r));
  h = Colour(a), s = Colour(b);
  SiS6326Frame z = Depth(a);
  EXPECT_FALSE(PlatformSiS6326Compare(&h, &s, &z, nullptr, &r));
  EXPECT_FALSE(PlatformSiS6326Compare(&z, &z, nullptr, nullptr, &r));
  EXPECT_FALSE(PlatformSiS6326Compare(&h, &s, &h, &s, &r));
  // A pitch too small for the width, where width x bytes would wrap in 32
  // bits: refused before a pixel is read.
  std::vector<uint32_t> row(1);
  const SiS6326Frame wide = {row.data(), 1 << 30, 1, 4, 0x33};
  EXPECT_FALSE(PlatformSiS6326Compare(&wide, &wide, nullptr, nullptr, &r));
}

}  // namespace

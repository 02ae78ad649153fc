// Hardware lines: the command by direction and shading, both vertex blocks,
// the colour of each end, the fire, the order of the chips that take the
// upper vertex first, and lines that send nothing.
#include <math.h>

#include <string>

#include "tests/sis/primitives/primitive_fixture.h"

namespace {

using sisprim::Block;
using sisprim::PrimitiveTest;
using sisprim::Vertex;

constexpr GlColor kRed = {255, 0, 0, 255}, kBlue = {0, 0, 255, 128};
constexpr uint32_t kRedWord = 0xFFFF0000, kBlueWord = 0x800000FF;

class HardwareLine : public PrimitiveTest {
 protected:
  // Draws the line through the flat or smooth procedure; its log.
  std::vector<SiS6326Event> Draw(GlVertex a, GlVertex b, bool smooth) {
    if (smooth)
      __glSiSRenderSmoothLine(gc(), &a, &b);
    else
      __glSiSRenderFlatLine(gc(), &a, &b);
    return Events();
  }
};

TEST_F(HardwareLine, TheCommandNamesAxisDirectionAndShading) {
  struct Case {
    const char *name;
    float x1, y1, x2, y2;
    uint32_t flat, smooth;
  } const cases[] = {
      {"horizontal, rightwards", 10, 20, 30, 20, 0xC1301, 0x101301},
      {"x-major, rightwards and down", 10, 20, 30, 25, 0xC1301, 0x101301},
      {"x-major, leftwards", 30, 20, 10, 25, 0x50301, 0x110301},
      {"y-major, down", 10, 10, 12, 30, 0xC1381, 0x101381},
      {"y-major, up", 10, 30, 12, 10, 0x50381, 0x110381},
      {"vertical, up", 10, 30, 10, 10, 0x50381, 0x110381},
      // Equal steps are y-major.
      {"diagonal, down", 10, 10, 20, 20, 0xC1381, 0x101381},
      {"diagonal, up-left", 20, 20, 10, 10, 0x50381, 0x110381},
      {"a single point", 10, 10, 10, 10, 0xC1381, 0x101381},
  };
  for (const Case &c : cases) {
    for (bool smooth : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (smooth ? ", smooth" : ", flat"));
      std::vector<SiS6326Event> log = Draw(Vertex(c.x1, c.y1), Vertex(c.x2, c.y2), smooth);
      ASSERT_EQ(log.size(), 4u);
      EXPECT_EQ(log[0].kind, uint32_t(SIS6326_EVENT_WAIT));
      EXPECT_EQ(log[0].value, 11u);
      EXPECT_EQ(log[1].kind, uint32_t(SIS6326_EVENT_PRIMITIVE));
      EXPECT_EQ(log[1].value, smooth ? c.smooth : c.flat);
      // Lines fire at once.
      EXPECT_EQ(log[2].kind, uint32_t(SIS6326_EVENT_WAIT));
      EXPECT_EQ(log[2].value, 1u);
      EXPECT_EQ(log[3].kind, uint32_t(SIS6326_EVENT_FIRE));
      EXPECT_EQ(log[3].value, 0xFFu);
    }
  }
}

TEST_F(HardwareLine, BlocksCarryBothEndsLessTheBiasAndHalfAPixelInX) {
  GlVertex a = Vertex(10.25f, 20.75f, 0.25f, kRed), b = Vertex(30.5f, 22.0f, 0.75f, kBlue);
  std::vector<SiS6326Event> p = Primitives(Draw(a, b, true));
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].written[0], 0x1Fu);
  EXPECT_EQ(p[0].written[1], 0x1Fu);
  ExpectBlock(p[0], 0, {0, 0.25f, 9.75f, 20.75f, kRedWord});
  ExpectBlock(p[0], 1, {0, 0.75f, 30.0f, 22.0f, kBlueWord});
}

TEST_F(HardwareLine, AFlatLineSendsItsSecondEndsColourInBothBlocks) {
  GlVertex a = Vertex(10, 20, 0.5f, kRed), b = Vertex(30, 20, 0.5f, kBlue);
  // The front end aimed the second end at its back colours.
  b.color = &b.colors[__GL_BACKFACE];
  b.colors[__GL_BACKFACE] = kBlue;
  GlColor *const aimedA = a.color, *const aimedB = b.color;
  __glSiSRenderFlatLine(gc(), &a, &b);
  std::vector<SiS6326Event> p = Primitives(Events());
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].vertex[0][4], kBlueWord);
  EXPECT_EQ(p[0].vertex[1][4], kBlueWord);
  EXPECT_EQ(a.color, aimedA);
  EXPECT_EQ(b.color, aimedB);
}

TEST_F(HardwareLine, TheDepthFormsSendWhatThePlainFormsSend) {
  struct Form {
    void (*plain)(GlContext *, GlVertex *, GlVertex *);
    void (*depth)(GlContext *, GlVertex *, GlVertex *);
  } const forms[] = {{__glSiSRenderFlatLine, __glSiSRenderFlatDepthLine},
                     {__glSiSRenderSmoothLine, __glSiSRenderSmoothDepthLine}};
  for (const Form &f : forms) {
    GlVertex a = Vertex(3, 4, 0.1f, kRed), b = Vertex(40, 9, 0.9f, kBlue);
    f.plain(gc(), &a, &b);
    std::vector<SiS6326Event> plain = Primitives(Events());
    f.depth(gc(), &a, &b);
    std::vector<SiS6326Event> depth = Primitives(Events());
    ASSERT_EQ(plain.size(), 1u);
    ASSERT_EQ(depth.size(), 1u);
    EXPECT_EQ(plain[0].value, depth[0].value);
    EXPECT_EQ(memcmp(plain[0].vertex, depth[0].vertex, sizeof plain[0].vertex), 0);
  }
}

TEST_F(HardwareLine, OrderingChipsSendTheUpperVertexFirst) {
  struct Case {
    uint32_t chip;
    bool reversed;
  } const cases[] = {
      {sisprim::kChipOrdered, true}, {sisprim::kChipOrderedOld, true}, {sisprim::kChipPlain, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "chip code 0x" << std::hex << c.chip);
    sis()->chipCode = c.chip;
    // Given bottom-first.
    GlVertex lower = Vertex(10, 30, 0.25f, kRed), upper = Vertex(12, 10, 0.75f, kBlue);
    for (bool smooth : {false, true}) {
      std::vector<SiS6326Event> p = Primitives(Draw(lower, upper, smooth));
      ASSERT_EQ(p.size(), 1u);
      const uint32_t up = smooth ? 0x101381 : 0xC1381, down = smooth ? 0x110381 : 0x50381;
      EXPECT_EQ(p[0].value, c.reversed ? up : down);
      const Block first = {0, 0.25f, 9.5f, 30.0f, smooth ? kRedWord : kBlueWord};
      const Block second = {0, 0.75f, 11.5f, 10.0f, kBlueWord};
      ExpectBlock(p[0], 0, c.reversed ? second : first);
      ExpectBlock(p[0], 1, c.reversed ? first : second);
    }
    // Given top-first, or on one row: the given order.
    std::vector<SiS6326Event> p = Primitives(Draw(Vertex(30, 7), Vertex(10, 7), false));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].value, 0x50301u);
    EXPECT_EQ(p[0].vertex[0][2], sisprim::Word(29.5f));
  }
}

TEST_F(HardwareLine, ALineWithANonFiniteCoordinateSendsNothing) {
  const float nan = NAN, inf = INFINITY;
  struct Case {
    const char *name;
    int end;
    float GlCoord::*field;
    float value;
  } const cases[] = {
      {"x NaN", 0, &GlCoord::x, nan},  {"y NaN", 1, &GlCoord::y, nan},
      {"z NaN", 0, &GlCoord::z, nan},  {"x infinite", 1, &GlCoord::x, inf},
      {"y -infinite", 0, &GlCoord::y, -inf},
  };
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered}) {
    sis()->chipCode = chip;
    for (const Case &c : cases) {
      SCOPED_TRACE(c.name);
      GlVertex v[2] = {Vertex(1, 2), Vertex(30, 40)};
      v[c.end].window.*c.field = c.value;
      __glSiSRenderSmoothLine(gc(), &v[0], &v[1]);
      __glSiSRenderFlatDepthLine(gc(), &v[0], &v[1]);
      EXPECT_TRUE(Events().empty());
    }
  }
}

}  // namespace

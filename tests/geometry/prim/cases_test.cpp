// Single cases written out by hand: the windings of strips, fans, quads and
// quad strips, the codes that draw, clip or drop, the edges a quad hides,
// the incomplete primitives glEnd drops, and where the stipple restarts.
#include <gtest/gtest.h>

#include "geometry/s_vertex.h"
#include "tests/geometry/prim/prim_fixture.h"

namespace {

constexpr uint32_t L = __GL_CLIP_LEFT, R = __GL_CLIP_RIGHT, T = __GL_CLIP_TOP, C = __GL_HAS_CULLED;

struct HandOffCase {
  const char *name;
  GLenum mode;
  int count;
  std::vector<uint32_t> codes;  // empty: all clean
  std::vector<bool> flags;      // empty: all on
  std::vector<std::string> calls;
  int locks;
};

class HandOffs : public testing::TestWithParam<HandOffCase> {};

TEST_P(HandOffs, AreTheOnesOpenGLDefines) {
  const HandOffCase &c = GetParam();
  PrimFixture f;
  std::vector<uint32_t> codes = c.codes;
  codes.resize(c.count, 0);
  EXPECT_EQ(Describe(f.run(PrimRun{c.mode, c.count, codes, c.flags}), false), c.calls);
  EXPECT_EQ(f.lockCalls(), c.locks);
  EXPECT_EQ(f.unlockCalls(), c.locks);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, HandOffs,
    testing::Values(
        HandOffCase{"SevenTriangleVerticesDrawTwo", GL_TRIANGLES, 7, {}, {},
                    {"renderTriangle(2,0,1) e111", "renderTriangle(5,3,4) e111"}, 2},
        HandOffCase{"OneVertexRightOfWIsClipped", GL_TRIANGLES, 3, {0, R, 0}, {},
                    {"clipTriangle(2,0,1) or=0x20000 e111"}, 1},
        HandOffCase{"AllRightOfWIsDroppedUnlocked", GL_TRIANGLES, 3, {R, R, R}, {}, {}, 0},
        HandOffCase{"CodesNotSharedAreClipped", GL_TRIANGLES, 3, {L, R, L | T}, {},
                    {"clipTriangle(2,0,1) or=0xb0000 e111"}, 1},
        HandOffCase{"OneSharedCodeAmongOthersDrops", GL_TRIANGLES, 3, {L | T, L, L | R}, {}, {}, 0},
        HandOffCase{"CullBitOnAllDrops", GL_TRIANGLES, 3, {C, C, C}, {}, {}, 0},
        HandOffCase{"CullBitOnOneIsClipped", GL_TRIANGLES, 3, {0, C, 0}, {},
                    {"clipTriangle(2,0,1) or=0x2000 e111"}, 1},
        HandOffCase{"CullBitOnTwoIsClipped", GL_TRIANGLES, 3, {C, 0, C}, {},
                    {"clipTriangle(2,0,1) or=0x2000 e111"}, 1},
        HandOffCase{"OtherHasBitsDoNotCount", GL_TRIANGLES, 3,
                    {__GL_HAS_FRONT_COLOR | __GL_HAS_FOG, 0x1000u, 0xC000u}, {},
                    {"renderTriangle(2,0,1) e111"}, 1},
        HandOffCase{"TriangleEdgeFlagsAsGiven", GL_TRIANGLES, 3, {}, {true, false, true},
                    {"renderTriangle(2,0,1) e110"}, 1},
        HandOffCase{"StripOfFive", GL_TRIANGLE_STRIP, 5, {}, {false, false, false, false, false},
                    {"renderTriangle(2,0,1) e111", "renderTriangle(3,2,1) e111",
                     "renderTriangle(4,2,3) e111"}, 3},
        HandOffCase{"FanOfFive", GL_TRIANGLE_FAN, 5, {}, {},
                    {"renderTriangle(2,0,1) e111", "renderTriangle(3,0,2) e111",
                     "renderTriangle(4,0,3) e111"}, 3},
        HandOffCase{"FanClipsAroundTheCentre", GL_TRIANGLE_FAN, 4, {L, 0, 0, L}, {},
                    {"clipTriangle(2,0,1) or=0x10000 e111",
                     "clipTriangle(3,0,2) or=0x10000 e111"}, 2},
        HandOffCase{"QuadHidesItsDiagonal", GL_QUADS, 4, {}, {},
                    {"renderTriangle(3,0,1) e110", "renderTriangle(3,1,2) e011"}, 1},
        HandOffCase{"QuadEdgeFlagsPickItsEdges", GL_QUADS, 4, {}, {false, true, true, false},
                    {"renderTriangle(3,0,1) e000", "renderTriangle(3,1,2) e011"}, 1},
        HandOffCase{"QuadWithCodesGoesWhole", GL_QUADS, 4, {0, 0, T, 0}, {true, false, true, true},
                    {"__glDoPolygonClip(0,1,2,3) or=0x80000 e1011"}, 1},
        HandOffCase{"QuadSharingACodeDrops", GL_QUADS, 4, {T, T, T | L, T}, {}, {}, 0},
        HandOffCase{"SevenQuadVerticesDrawOne", GL_QUADS, 7, {}, {},
                    {"renderTriangle(3,0,1) e110", "renderTriangle(3,1,2) e011"}, 1},
        HandOffCase{"QuadStripOfSix", GL_QUAD_STRIP, 6, {}, {false, false, false, false, false, false},
                    {"renderTriangle(2,0,1) e110", "renderTriangle(2,1,3) e011",
                     "renderTriangle(4,2,3) e110", "renderTriangle(4,3,5) e011"}, 2},
        HandOffCase{"QuadStripWithCodesGoesWhole", GL_QUAD_STRIP, 6, {0, 0, 0, 0, C, 0}, {},
                    {"renderTriangle(2,0,1) e110", "renderTriangle(2,1,3) e011",
                     "__glDoPolygonClip(2,3,5,4) or=0x2000 e1111"}, 2},
        HandOffCase{"OddQuadStripVertexDropped", GL_QUAD_STRIP, 5, {}, {},
                    {"renderTriangle(2,0,1) e110", "renderTriangle(2,1,3) e011"}, 1},
        HandOffCase{"PolygonOfTwoDrawsNothing", GL_POLYGON, 2, {}, {}, {}, 0},
        HandOffCase{"PolygonOfThree", GL_POLYGON, 3, {}, {true, false, true},
                    {"clipPolygon(0,1,2) e101"}, 1},
        HandOffCase{"PolygonAlwaysGoesToTheClipper", GL_POLYGON, 4, {R, R, R, R}, {},
                    {"clipPolygon(0,1,2,3) e1111"}, 1},
        HandOffCase{"LoneLineVertexDropped", GL_LINES, 3, {}, {}, {"clipLine(0,1)"}, 1},
        HandOffCase{"IndependentLinesAlwaysGoToTheClipper", GL_LINES, 2, {L, L}, {},
                    {"clipLine(0,1)"}, 1},
        HandOffCase{"LoopOfOneDrawsNothing", GL_LINE_LOOP, 1, {}, {}, {}, 0},
        HandOffCase{"LoopOfTwoDrawsItsSegmentBothWays", GL_LINE_LOOP, 2, {}, {},
                    {"clipLine(0,1)", "clipLine(1,0)"}, 2},
        HandOffCase{"LoopOfThreeCloses", GL_LINE_LOOP, 3, {}, {},
                    {"clipLine(0,1)", "renderLine(1,2)", "clipLine(2,0)"}, 3},
        HandOffCase{"FastStripSegmentsWithCodesGoToTheLineClipper", GL_LINE_STRIP, 4,
                    {0, L, L, 0}, {}, {"clipLine(0,1)", "clipLine(1,2)", "clipLine(2,3)"}, 3},
        HandOffCase{"LoneStripVertexDrawsNothing", GL_LINE_STRIP, 1, {}, {}, {}, 0},
        HandOffCase{"PointsWithCodesDropped", GL_POINTS, 4, {0, L, C, 0}, {},
                    {"renderPoint(0)", "renderPoint(3)"}, 2}),
    [](const testing::TestParamInfo<HandOffCase> &info) { return std::string(info.param.name); });
// clang-format on

// The validating line strip: segments with codes go to __glClipLine, which
// validates them itself, or are dropped; clean ones validate their new end.
TEST(ValidatingLineStrip, SendsCodedSegmentsToTheFullClipper) {
  PrimFixture f;
  f.setFrontNeeds(__GL_HAS_FRONT_COLOR);
  // 4-5 shares T: dropped.
  EXPECT_EQ(
      Describe(f.run(PrimRun{GL_LINE_STRIP, 6, {0, L, 0, 0, L | T, T}, {}}), false),
      (std::vector<std::string>{"validate0(0) needs=0x1", "__glClipLine(0,1)", "__glClipLine(1,2)",
                                "validate3(3) needs=0x1", "renderLine(2,3)", "__glClipLine(3,4)"}));
}

// lineStippleStarted as each hand-off sees it: 0 where the pattern restarts.
struct StippleCase {
  const char *name;
  GLenum mode;
  int count;
  std::string seen;  // one digit per hand-off call
};

class StippleRestart : public testing::TestWithParam<StippleCase> {};

TEST_P(StippleRestart, HappensWhereEachModeStartsALine) {
  const StippleCase &c = GetParam();
  PrimFixture f;
  std::string seen;
  for (const PrimCall &call : f.run(PrimRun{c.mode, c.count, {}, {}}))
    if (call.stipple >= 0) seen += char('0' + call.stipple);
  EXPECT_EQ(seen, c.seen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StippleRestart,
    testing::Values(StippleCase{"EveryIndependentLine", GL_LINES, 6, "000"},
                    StippleCase{"StripOnlyAtBegin", GL_LINE_STRIP, 4, "011"},
                    StippleCase{"LoopOnlyAtBeginAndNotWhenClosing", GL_LINE_LOOP, 3, "011"},
                    StippleCase{"EveryTriangle", GL_TRIANGLES, 6, "00"},
                    StippleCase{"EveryStripTriangle", GL_TRIANGLE_STRIP, 4, "00"},
                    StippleCase{"EveryFanTriangle", GL_TRIANGLE_FAN, 4, "00"},
                    StippleCase{"EveryQuadNotBetweenItsTriangles", GL_QUADS, 8, "0101"},
                    StippleCase{"EveryQuadStripQuad", GL_QUAD_STRIP, 6, "0101"},
                    StippleCase{"PolygonOnlyAtBegin", GL_POLYGON, 20, "01"},
                    StippleCase{"PointsNever", GL_POINTS, 2, "11"}),
    [](const testing::TestParamInfo<StippleCase> &info) { return std::string(info.param.name); });

// A dropped triangle restarts the stipple too.
TEST(StippleRestart, EvenForADroppedTriangle) {
  PrimFixture f;
  f.begin(GL_TRIANGLES);
  for (int i = 0; i < 3; ++i) f.give(i, 0, true);
  EXPECT_EQ(f.gc()->lineStippleStarted, 1);  // the recorder drew a line
  for (int i = 3; i < 6; ++i) f.give(i, L, true);
  EXPECT_EQ(f.gc()->lineStippleStarted, 0);
  f.end();
  EXPECT_EQ(f.calls().size(), 1u);
}

}  // namespace

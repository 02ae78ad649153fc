// GL_POLYGON beyond the sixteen slots: the batches cover the polygon as fans
// that share the first vertex, the edges between batches stay hidden, and
// the records carried into the next batch are whole and point at their own
// colours.
#include <gtest/gtest.h>
#include <string.h>

#include "geometry/s_vertex.h"
#include "tests/geometry/prim/prim_fixture.h"
#include "tests/geometry/prim/prim_patterns.h"

namespace {

std::vector<PrimCall> Batches(const std::vector<PrimCall> &calls) {
  std::vector<PrimCall> out;
  for (const PrimCall &c : calls)
    if (c.kind == "clipPolygon") out.push_back(c);
  return out;
}

// Twenty vertices: 15 at the sixteenth, then 7 at glEnd; the edge P0-P14 is
// hidden in both batches while P14's own flag still rules P14-P15.
struct TwentyCase {
  const char *name;
  std::vector<int> flagsOff;  // vertices given with the edge flag off
  std::string firstEdges, secondEdges;
};

class TwentyVertices : public testing::TestWithParam<TwentyCase> {};

TEST_P(TwentyVertices, DrawFifteenThenSeven) {
  const TwentyCase &c = GetParam();
  std::vector<bool> flags(20, true);
  for (int id : c.flagsOff) flags[id] = false;
  PrimFixture f;
  const std::vector<PrimCall> batches = Batches(f.run(PrimRun{GL_POLYGON, 20, {}, flags}));
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(Describe(batches[0]), "@15 clipPolygon(0,1,2,3,4,5,6,7,8,9,10,11,12,13,14) e" +
                                      c.firstEdges + " stip0 lock1#1");
  EXPECT_EQ(Describe(batches[1]),
            "@20 clipPolygon(0,14,15,16,17,18,19) e" + c.secondEdges + " stip1 lock1#2");
}

INSTANTIATE_TEST_SUITE_P(
    Flags, TwentyVertices,
    testing::Values(TwentyCase{"AllOn", {}, "111111111111110", "0111111"},
                    TwentyCase{"FourteenOff", {14}, "111111111111110", "0011111"},
                    TwentyCase{"FirstOff", {0}, "011111111111110", "0111111"},
                    TwentyCase{"LastOff", {19}, "111111111111110", "0111110"},
                    TwentyCase{"FifteenOff", {15}, "111111111111110", "0101111"}),
    [](const testing::TestParamInfo<TwentyCase> &info) { return std::string(info.param.name); });

// For any length, the batches are [P0, Pa, ..., Pb] with consecutive a..b,
// the first starting at P1, each next one at the last of the one before, the
// last ending at the last vertex: together exactly the fan (P0, Pj, Pj+1),
// j = 1 .. n-2, of the polygon, in batches of at most fifteen.
TEST(PolygonBatches, CoverThePolygonAsOneFan) {
  for (int n = 0; n <= 64; ++n) {
    PrimFixture f;
    const std::vector<PrimCall> batches = Batches(f.run(PrimRun{GL_POLYGON, n, {}, {}}));
    if (n < 3) {
      EXPECT_TRUE(batches.empty()) << n;
      continue;
    }
    int start = 1;
    for (const PrimCall &b : batches) {
      ASSERT_GE(b.ids.size(), 3u) << n;
      EXPECT_LE(b.ids.size(), 15u) << n;
      EXPECT_EQ(b.ids[0], 0) << n;
      EXPECT_EQ(b.ids[1], start) << n;
      for (size_t i = 2; i < b.ids.size(); ++i) EXPECT_EQ(b.ids[i], b.ids[i - 1] + 1) << n;
      start = b.ids.back();
    }
    EXPECT_EQ(start, n - 1) << n;
  }
}

// The clipper validates what it draws, and may leave a vertex's colour
// pointer at its back colour; the records carried over keep what was
// computed and point at their own front colour.
TEST(PolygonFlush, CarriesWholeRecordsWithTheirOwnColour) {
  PrimFixture f;
  GlContext *gc = f.gc();
  f.paintBackColors = true;
  f.begin(GL_POLYGON);
  for (int i = 0; i < 15; ++i) f.give(i, 0, i != 14);
  GlVertex *slots = gc->vertexBuffer.slots;
  for (int i = 0; i < 15; ++i) {
    slots[i].colors[__GL_FRONTFACE] = {float(i), 0.5f, 0.25f, 1.0f};
    slots[i].colors[__GL_BACKFACE] = {-float(i), 0.5f, 0.25f, 1.0f};
    slots[i].window = {10.0f * i, 20.0f * i, 0.5f, 1.0f};
  }
  // The clipper validates: the fog bit appears on every vertex it was given.
  gc->procs.clipPolygon = [](GlContext *, GlVertex *first, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
      first[i].has |= __GL_HAS_FOG;
      first[i].color = &first[i].colors[__GL_BACKFACE];
    }
  };
  GlVertex source = slots[14];
  f.give(15, 0, true);
  const GlVertex &newest = slots[15];

  // Slot 14 got its edge back (off, as given) and kept the validated bit.
  EXPECT_EQ(slots[14].has & __GL_HAS_EDGEFLAG_BOUNDARY, 0u);
  EXPECT_NE(slots[14].has & __GL_HAS_FOG, 0u);
  // The copies: whole records but the colour pointer.
  struct Copy {
    int slot;
    const GlVertex *from;
  };
  for (const Copy &c : {Copy{1, &slots[14]}, Copy{2, &newest}}) {
    const GlVertex &copy = slots[c.slot];
    EXPECT_EQ(copy.color, &copy.colors[__GL_FRONTFACE]) << "slot " << c.slot;
    EXPECT_EQ(memcmp(&copy, c.from, offsetof(GlVertex, color)), 0) << "slot " << c.slot;
    EXPECT_EQ(memcmp(&copy.fog, &c.from->fog, sizeof(GlVertex) - offsetof(GlVertex, fog)), 0)
        << "slot " << c.slot;
  }
  EXPECT_EQ(slots[1].obj.y, source.obj.y);
  EXPECT_EQ(slots[1].colors[__GL_FRONTFACE].r, 14.0f);
  EXPECT_EQ(gc->vertexBuffer.next, &slots[3]);
  // The first vertex's edge now leads to the copy of slot 14: hidden.
  EXPECT_EQ(slots[0].has & __GL_HAS_EDGEFLAG_BOUNDARY, 0u);
}

// Each flush of a long polygon takes one lock of its own, and the one at
// glEnd another.
TEST(PolygonFlush, EveryBatchIsOneHandOff) {
  for (int n : {16, 28, 29, 31, 42, 43}) {
    PrimFixture f;
    const std::vector<PrimCall> batches = Batches(f.run(PrimRun{GL_POLYGON, n, {}, {}}));
    EXPECT_EQ(f.lockCalls(), int(batches.size())) << n;
    for (size_t i = 0; i < batches.size(); ++i) EXPECT_EQ(batches[i].lockCalls, int(i) + 1) << n;
  }
}

}  // namespace

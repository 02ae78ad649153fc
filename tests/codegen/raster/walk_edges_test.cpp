// The walk's edge cases in spanlet mode: chunk masks at 32 and 33 pixels,
// halves without rows, rows without pixels, and a depth test that neither
// fails nor writes.
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "fastraster/fr_tables.h"
#include "tests/codegen/raster/raster_fixture.h"

namespace raster_test {
namespace {

constexpr uint32_t kSmooth = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR;

std::map<int32_t, std::vector<const Chunk *>> ByRow(const std::vector<Chunk> &chunks) {
  std::map<int32_t, std::vector<const Chunk *>> rows;
  for (const Chunk &c : chunks) rows[c.span.y].push_back(&c);
  return rows;
}

int Pixels(uint32_t mask) { return __builtin_popcount(mask); }

TEST(SpanletWalk, ChunksOfARowAreFullUntilTheLast) {
  RasterContext rc;
  rc.SetFlags(kSmooth);
  // Row k of this triangle covers k or k + 1 pixels, so rows of 32 and 33
  // pixels both occur.
  GlVertex v[3] = {RasterContext::Vertex(0, 0), RasterContext::Vertex(0, 64),
                   RasterContext::Vertex(64, 64)};
  const std::vector<Chunk> got = rc.Generated(&v[0], &v[1], &v[2]);
  bool saw32 = false, saw33 = false;
  for (const auto &[y, row] : ByRow(got)) {
    int total = 0;
    for (const Chunk *c : row) total += Pixels(c->mask);
    SCOPED_TRACE(testing::Message() << "row " << y << ", " << total << " pixels");
    ASSERT_EQ(row.size(), size_t((total + 31) / 32));
    for (size_t i = 0; i < row.size(); i++) {
      const int left = total - int(32 * i);
      EXPECT_EQ(row[i]->mask, left >= 32 ? 0xFFFFFFFFu : __glFRMaskTable[left]);
      EXPECT_EQ(row[i]->span.x, row[0]->span.x + int32_t(32 * i));
    }
    if (total == 32) {
      saw32 = true;
      EXPECT_EQ(row.size(), 1u);
    }
    if (total == 33) {
      saw33 = true;
      ASSERT_EQ(row.size(), 2u);
      EXPECT_EQ(row[1]->mask, 0x80000000u);
    }
  }
  EXPECT_TRUE(saw32);
  EXPECT_TRUE(saw33);
}

// A triangle's rows (window rows, top to bottom) with the pixels each
// covers; rows without chunks count 0.
std::vector<int> RowPixels(const std::vector<Chunk> &chunks, int32_t top, int32_t bottom) {
  std::vector<int> out(size_t(bottom - top), 0);
  for (const Chunk &c : chunks) {
    EXPECT_GE(c.span.y, top);
    EXPECT_LT(c.span.y, bottom);
    if (c.span.y >= top && c.span.y < bottom) out[size_t(c.span.y - top)] += Pixels(c.mask);
  }
  return out;
}

TEST(SpanletWalk, HalvesWithoutRows) {
  RasterContext rc;
  rc.SetFlags(kSmooth);
  // A horizontal top edge: the upper half has no rows, the first row drawn
  // is the lower half's first.
  GlVertex top[3] = {RasterContext::Vertex(5, 4), RasterContext::Vertex(70, 4),
                     RasterContext::Vertex(40, 36)};
  std::vector<int> rows = RowPixels(rc.Generated(&top[0], &top[1], &top[2]), 4, 36);
  EXPECT_GT(rows.front(), 60);
  EXPECT_GT(rows.back(), 0);
  // A horizontal bottom edge: the walk ends with the upper half.
  GlVertex bottom[3] = {RasterContext::Vertex(30, 2), RasterContext::Vertex(4, 34),
                        RasterContext::Vertex(80, 34)};
  rows = RowPixels(rc.Generated(&bottom[0], &bottom[1], &bottom[2]), 2, 34);
  EXPECT_GT(rows.front(), 0);
  EXPECT_GT(rows.back(), 70);
}

TEST(SpanletWalk, RowsWithoutPixelsStillStepTheEdges) {
  RasterContext rc;
  rc.SetFlags(kSmooth);
  // Under a pixel wide: some rows cover no pixel centre, the rows after them
  // must still lie where the edges are.
  GlVertex v[3] = {RasterContext::Vertex(20.25, 3), RasterContext::Vertex(28.75, 35),
                   RasterContext::Vertex(24.9, 19)};
  const std::vector<Chunk> want = rc.Prebuilt(&v[0], &v[1], &v[2]);
  rc.gc()->vertexBuffer.provoking = nullptr;
  const std::vector<Chunk> got = rc.Generated(&v[0], &v[1], &v[2]);
  const std::vector<int> rows = RowPixels(got, 3, 35);
  bool emptyThenFull = false;
  for (size_t i = 1; i < rows.size(); i++)
    if (rows[i - 1] == 0 && rows[i] > 0) emptyThenFull = true;
  EXPECT_TRUE(emptyThenFull) << "the triangle has an empty row before a covered one";
  EXPECT_EQ(CompareChunks(want, got, kSmooth, false, 1, kOneUnit), "");
}

TEST(SpanletWalk, DepthThatNeitherFailsNorWritesIsNotWalked) {
  RasterContext rc;
  rc.SetFlags(kSmooth | __GL_SHADE_DEPTH_TEST);
  rc.gc()->state.depth.testFunc = GL_ALWAYS;
  rc.gc()->state.depth.writeEnable = 0;
  GlVertex v[3] = {RasterContext::Vertex(1, 1), RasterContext::Vertex(90, 9),
                   RasterContext::Vertex(45, 17, 0.9)};
  const std::vector<Chunk> got = rc.Generated(&v[0], &v[1], &v[2]);
  ASSERT_GT(got.size(), 4u);
  for (const Chunk &c : got) {
    EXPECT_EQ(c.span.zbuf, got[0].span.zbuf) << "the depth address is never set";
    EXPECT_EQ(c.span.z, got[0].span.z) << "the depth value is never set";
  }
}

// A routine made for a depth test that cannot fail is not reused once the
// test can: the later one walks the depth words on every row and chunk.
TEST(SpanletWalk, DepthFunctionChangeGetsItsOwnRoutine) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  const uint32_t flags = kSmooth | __GL_SHADE_DEPTH_TEST;
  rc.SetFlags(flags);
  gc->state.depth.testFunc = GL_ALWAYS;
  gc->state.depth.writeEnable = 0;
  GlVertex v[3] = {RasterContext::Vertex(1, 1), RasterContext::Vertex(90, 9),
                   RasterContext::Vertex(45, 17, 0.9)};
  const void *always = rc.Raster(true);
  rc.Generated(&v[0], &v[1], &v[2]);
  gc->state.depth.testFunc = GL_LESS;
  gc->state.depth.writeEnable = 1;
  EXPECT_NE(rc.Raster(true), always);
  const std::vector<Chunk> want = rc.Prebuilt(&v[0], &v[1], &v[2]);
  gc->vertexBuffer.provoking = nullptr;
  const std::vector<Chunk> got = rc.Generated(&v[0], &v[1], &v[2]);
  EXPECT_EQ(CompareChunks(want, got, flags, false, 1, kOneUnit), "");
}

}  // namespace
}  // namespace raster_test

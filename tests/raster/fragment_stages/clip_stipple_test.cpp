// The clip and polygon-stipple stages: which pixels each leaves alive, and
// the stage contract's answers.
#include <gtest/gtest.h>

#include <string>

#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {
namespace {

// Clip box columns [10, 50) of a 100-pixel window.
TEST(ClipSpan, CutsTheSpanToTheClipBoxColumns) {
  struct Case {
    const char *name;
    int32_t x, length;
    GLbool8 result;
    uint8_t done;
    int32_t lengthAfter;
    int32_t firstAlive;  // pixels before it are dead (words written only when result)
  } cases[] = {
      {"inside", 10, 40, 0, 0, 40, 0},
      {"inside, one pixel", 49, 1, 0, 0, 1, 0},
      {"entirely left", 0, 10, 1, 1, 10, 0},
      {"entirely right", 50, 5, 1, 1, 5, 0},
      {"far right", 90, 10, 1, 1, 10, 0},
      {"overhangs the right: shortened", 45, 20, 0, 0, 5, 0},
      {"overhangs the left: dead pixels", 5, 20, 1, 0, 20, 5},
      {"overhangs the left, ends at the right edge", 0, 50, 1, 0, 50, 10},
      {"overhangs both ends", 0, 70, 1, 0, 50, 10},
      {"left by exactly a word", -22, 60, 1, 0, 60, 32},
      {"left by 33 pixels, long", -23, 73, 1, 0, 73, 33},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    SpanContext ctx(0, 100, 2);
    ctx.ancillary().SetClipBox(10, 0, 50, 2);
    std::fill(ctx.words().begin(), ctx.words().end(), 0x5A5A5A5Au);
    ctx.SetSpan(c.x, 0, c.length);
    EXPECT_EQ(__glClipSpan(ctx.gc()), c.result);
    EXPECT_EQ(ctx.sh().done, c.done);
    if (c.done) continue;
    EXPECT_EQ(ctx.sh().length, c.lengthAfter);
    EXPECT_EQ(ctx.sh().x, c.x + kBias) << "the first pixel stays";
    if (!c.result) {
      EXPECT_EQ(ctx.words()[0], 0x5A5A5A5Au) << "no words without a left cut";
      continue;
    }
    for (int32_t k = 0; k < c.lengthAfter; k++)
      EXPECT_EQ(Alive(ctx.words(), k), k >= c.firstAlive) << k;
  }
}

// The stipple pattern is fixed to the window: pattern bit 31 - (X mod 32)
// of row Y mod 32 governs pixel (X, Y), counted from the window's bottom
// whichever way the drawable is stored.
TEST(StippleSpan, PatternBitsFollowWindowColumnsAndRows) {
  std::mt19937 rng(29);
  for (bool topDown : {false, true})
    for (int trial = 0; trial < 40; trial++) {
      SCOPED_TRACE(std::string(topDown ? "top-down" : "bottom-up") + " trial " +
                   std::to_string(trial));
      SpanContext ctx(0, 200, 70);
      GlContext *gc = ctx.gc();
      gc->constants.yInverted = topDown;
      for (uint32_t &row : gc->polygon.stipple) row = rng() | 1u;
      const int32_t x = int32_t(rng() % 100), y = int32_t(rng() % 70);
      const int32_t length = 1 + int32_t(rng() % 100);
      ctx.SetSpan(x, y, length);
      const int32_t row = topDown ? (70 - y - 1) & 31 : y & 31;
      // Plain: writes every word.
      std::fill(ctx.words().begin(), ctx.words().end(), 0u);
      const GLbool8 plain = __glStippleSpan(gc);
      EXPECT_TRUE(plain);
      bool any = false;
      for (int32_t k = 0; k < length; k++) {
        const int32_t X = x + k;
        const bool bit = (gc->polygon.stipple[row] >> (31 - (X & 31))) & 1;
        ASSERT_EQ(Alive(ctx.words(), k), bit) << k;
        any |= bit;
      }
      EXPECT_EQ(ctx.sh().done, any ? 0 : 1);
      // Stippled: ANDs into the words already there.
      std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
      for (uint32_t &w : in) w = rng();
      ctx.words() = in;
      ctx.sh().stipplePat = ctx.words().data();
      ctx.sh().done = 0;
      bool left = false;
      const GLbool8 stippled = __glStippleStippledSpan(gc);
      for (int32_t k = 0; k < length; k++) {
        const int32_t X = x + k;
        const bool bit = (gc->polygon.stipple[row] >> (31 - (X & 31))) & 1;
        ASSERT_EQ(Alive(ctx.words(), k), bit && Alive(in, k)) << k;
        left |= bit && Alive(in, k);
      }
      EXPECT_EQ(stippled != 0, !left);
      EXPECT_EQ(ctx.sh().done, 0) << "the twin never sets done";
    }
}

TEST(StippleSpan, ARowOfZerosEndsTheSpan) {
  struct Case {
    const char *name;
    uint32_t row;
    int32_t x, length;
    bool ends;
  } cases[] = {
      {"all zeros", 0u, 3, 40, true},
      {"bits only where the short span is not", 0x0000FFFFu, 0, 8, true},
      {"one bit under the span", 0x00800000u, 0, 9, false},
      {"one bit reached by turning", 0x00000001u, 31, 1, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    SpanContext ctx(0, 64, 4);
    for (uint32_t &row : ctx.gc()->polygon.stipple) row = c.row;
    ctx.SetSpan(c.x, 1, c.length);
    EXPECT_TRUE(__glStippleSpan(ctx.gc()));
    EXPECT_EQ(ctx.sh().done, c.ends ? 1 : 0);
    std::fill(ctx.words().begin(), ctx.words().end(), ~0u);
    ctx.sh().done = 0;
    EXPECT_EQ(__glStippleStippledSpan(ctx.gc()) != 0, c.ends);
  }
}

}  // namespace
}  // namespace fragment_stages

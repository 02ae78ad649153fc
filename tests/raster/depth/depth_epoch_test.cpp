// The 24-bit epoch depth buffer against a plain reference buffer over long
// random runs of whole-window and scissored clears, depth writes and state
// changes, through both epoch runs and many turns between them.
#include <gtest/gtest.h>

#include <random>

#include "raster/s_depth.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/depth/depth_reference.h"

namespace ancillary_test {
namespace {

struct Sequence {
  const char *what;
  int32_t width, height;
  uint32_t seed;
  int steps;
  // The functions the sequence moves between.
  std::vector<GLenum> functions;
  // Of 100 steps, how many clear; of 100 clears, how many are epoch clears
  // (of the whole window, at the far end of the function in force).
  uint32_t clears, epochClears;
};

const Sequence kSequences[] = {
    {"LESS family, 13 x 11", 13, 11, 11, 40000, {GL_LESS, GL_LEQUAL}, 30, 50},
    {"GREATER family, 9 x 3", 9, 3, 12, 40000, {GL_GREATER, GL_GEQUAL}, 30, 50},
    {"every function, 5 x 130", 5, 130, 13, 40000,
     {GL_LESS, GL_LEQUAL, GL_GREATER, GL_GEQUAL, GL_EQUAL, GL_NOTEQUAL, GL_ALWAYS, GL_NEVER}, 30,
     50},
    {"both families, one row", 17, 1, 14, 30000, {GL_LESS, GL_GREATER, GL_LEQUAL, GL_GEQUAL}, 30,
     50},
    {"both families, one column", 1, 40, 15, 30000, {GL_LEQUAL, GL_GEQUAL, GL_EQUAL}, 30, 50},
    // Long stretches of epoch clears with sparse drawing: words that no
    // clear rewrites would outlive their epoch.
    {"sparse drawing, 13 x 11", 13, 11, 16, 60000, {GL_LESS}, 90, 99},
    {"sparse drawing, 7 x 300", 7, 300, 17, 20000, {GL_LEQUAL, GL_GEQUAL}, 90, 99},
    {"sparse drawing, 40 x 2", 40, 2, 18, 60000, {GL_GREATER}, 90, 99},
};

struct Tally {
  int fastClears = 0, turns = 0, reversed = 0, descending = 0, ascending = 0;
};

TEST(DepthEpochs, RandomClearsAndWritesAgreeWithAPlainBuffer) {
  for (const Sequence &s : kSequences) {
    SCOPED_TRACE(s.what);
    AncillaryContext ctx(s.width, s.height);
    GlContext *gc = ctx.gc();
    DepthBufferFixture depth(&ctx, 24);
    DepthReference ref(kDepth24, s.width, s.height);
    std::mt19937 rng(s.seed);
    auto random = [&](uint32_t n) { return uint32_t(rng() % n); };
    Tally tally;

    // Start from a cleared buffer, as an application does.
    depth.Clear();
    ref.Clear(gc->state.depth.clear, 0, 0, s.width, s.height);
    for (int step = 0; step < s.steps; step++) {
      depth.ValidateIfAsked();
      const GlDepthBufferPrivate before = *depth.rec();
      const uint32_t what = random(100);
      const uint32_t changes = s.clears + (100 - s.clears) / 10;
      if (what < s.clears) {
        // Epoch clears of the whole window at the far end of the function
        // in force; or clears at another depth, or of a box.
        const GLenum f = gc->state.depth.testFunc;
        const bool epoch = random(100) < s.epochClears;
        const double far = f == GL_GREATER || f == GL_GEQUAL ? 0.0 : 1.0;
        const double depths[] = {0.5, 1.0, 0.0, random(1000) / 999.0};
        gc->state.depth.clear = epoch ? far : depths[random(4)];
        // glClearDepth asks for no depth pick: the clear works from the
        // state as it finds it.
        int32_t x0 = 0, y0 = 0, x1 = s.width, y1 = s.height;
        if (!epoch && random(2) == 0) {
          x0 = int32_t(random(uint32_t(s.width)));
          y0 = int32_t(random(uint32_t(s.height)));
          x1 = x0 + 1 + int32_t(random(uint32_t(s.width - x0)));
          y1 = y0 + 1 + int32_t(random(uint32_t(s.height - y0)));
        }
        ctx.SetClipBox(x0, y0, x1, y1);
        depth.Clear();
        // The depth write mask holds for clears too.
        if (gc->state.depth.writeEnable) ref.Clear(gc->state.depth.clear, x0, y0, x1, y1);
        ctx.SetWholeWindow();
        const GlDepthBufferPrivate &after = *depth.rec();
        if (after.base == before.base + before.step) tally.fastClears++;
        if (after.step != before.step) tally.turns++;
      } else if (what < changes - 2) {
        gc->state.depth.testFunc = s.functions[random(uint32_t(s.functions.size()))];
        depth.Validate();
      } else if (what < changes) {
        gc->state.depth.writeEnable = random(4) != 0;
        depth.Validate();
      } else {
        const int32_t x = int32_t(random(uint32_t(s.width)));
        const int32_t y = int32_t(random(uint32_t(s.height)));
        uint32_t z = uint32_t(uint64_t(rng()) * (uint64_t(kDepth24.scale) + 1) >> 32);
        if (random(8) == 0) z = random(2) ? kDepth24.scale : 0;
        if (random(8) == 0) z = ref.At(x, y) << kDepth24.shift;
        const GLenum f = gc->state.depth.testFunc;
        ASSERT_EQ(depth.Store(x, y, z), ref.Store(f, gc->state.depth.writeEnable, x, y, z))
            << "step " << step << " at " << x << ", " << y << " z " << z << " function " << f;
      }
      const GlDepthBufferPrivate &now = *depth.rec();
      tally.reversed += now.reverse;
      tally.descending += now.step == __GL_DEPTH_STEP_DOWN;
      tally.ascending += now.step == __GL_DEPTH_STEP_UP;
      // The whole window after every change, or often enough when it is big.
      const bool small = s.width * s.height <= 200;
      if ((what < changes && (small || step % 16 == 0)) || step % 64 == 0) {
        for (int32_t y = 0; y < s.height; y++)
          for (int32_t x = 0; x < s.width; x++)
            ASSERT_EQ(depth.Fetch(x, y), ref.At(x, y))
                << "step " << step << " pixel " << x << ", " << y;
      }
    }
    EXPECT_TRUE(depth.memory().GuardsIntact());
    // The sequence went where it was meant to.
    EXPECT_GT(tally.fastClears, 1000);
    EXPECT_GT(tally.turns, 8);
    EXPECT_GT(tally.descending, 0);
    EXPECT_GT(tally.ascending, 0);
    EXPECT_GT(tally.reversed, 0);
  }
}

}  // namespace
}  // namespace ancillary_test

// The 24-bit buffer's epoch runs from outside: the function it performs and
// whether it stores reversed depth, for each function and run; what reads
// of it return; and the fix that hands its words over as plain depth.
#include <gtest/gtest.h>

#include <string>

#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/depth/depth_reference.h"

namespace ancillary_test {
namespace {

// Brings a fresh 24-bit buffer into a run: the first validation turns the
// used-up descending run of a new record into an ascending one; a full
// clear puts it at epoch 0xFF, whose next epoch clear starts a descending
// run. Epoch clears need the far end of a GL_LESS or GL_GREATER family
// function; the state's function and clear depth are put back after.
void EnterRun(GlContext *gc, DepthBufferFixture &depth, bool descending) {
  if (!descending) return;
  GlDepthState saved = gc->state.depth;
  const GLenum f = saved.testFunc;
  const bool greater = f == GL_GREATER || f == GL_GEQUAL;
  gc->state.depth.testFunc = greater ? f : GL_LESS;
  gc->state.depth.clear = greater ? 0.0 : 1.0;
  depth.Validate();
  for (int i = 0; i < 2; i++) {
    depth.Clear();
    depth.ValidateIfAsked();
  }
  gc->state.depth = saved;
  depth.Validate();
}

TEST(DepthRuns, TheFunctionPerformedAndTheDirectionStored) {
  struct Case {
    GLenum func;
    bool descending;
    GLenum performed;
    uint8_t reverse;
  } cases[] = {
      // GL_LESS after the descending run ends: GL_GREATER on reversed depth.
      {GL_LESS, false, GL_GREATER, 1},     {GL_LEQUAL, false, GL_GEQUAL, 1},
      {GL_GREATER, false, GL_GREATER, 0},  {GL_GEQUAL, false, GL_GEQUAL, 0},
      {GL_EQUAL, false, GL_EQUAL, 0},      {GL_ALWAYS, false, GL_ALWAYS, 0},
      {GL_LESS, true, GL_LESS, 0},         {GL_LEQUAL, true, GL_LEQUAL, 0},
      {GL_GREATER, true, GL_LESS, 1},      {GL_GEQUAL, true, GL_LEQUAL, 1},
      {GL_NOTEQUAL, true, GL_NOTEQUAL, 0}, {GL_NEVER, true, GL_NEVER, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.func) + (c.descending ? " descending" : " ascending"));
    AncillaryContext ctx(5, 3);
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = c.func;
    gc->state.depth.clear = c.func == GL_GREATER || c.func == GL_GEQUAL ? 0.0 : 1.0;
    DepthBufferFixture depth(&ctx, 24);
    EnterRun(ctx.gc(), depth, c.descending);
    EXPECT_EQ(depth.rec()->step, c.descending ? __GL_DEPTH_STEP_DOWN : __GL_DEPTH_STEP_UP);
    EXPECT_EQ(depth.rec()->reverse, c.reverse);
    EXPECT_EQ(depth.dfb()->func, c.performed);
    EXPECT_EQ(__glDepthProcIndex(gc), int32_t(16 + c.performed - GL_NEVER));
    EXPECT_EQ(depth.dfb()->store, __glStoreProcs[16 + c.performed - GL_NEVER]);
    // Whatever it stores, reads give window depth as the application's
    // function sees it.
    depth.Clear();
    depth.ValidateIfAsked();
    gc->state.depth.testFunc = GL_ALWAYS;
    depth.Validate();
    for (uint32_t z : {0u, 1u << 7, 0x12345680u, kDepth24.scale}) {
      EXPECT_TRUE(depth.Store(2, 1, z));
      EXPECT_EQ(depth.Fetch(2, 1), z >> 7);
    }
  }
}

// A clear that makes the buffer store the other way asks for validation,
// so that the store picked follows.
TEST(DepthRuns, ADirectionChangedByAClearAsksForValidation) {
  AncillaryContext ctx(4, 2);
  GlContext *gc = ctx.gc();
  DepthBufferFixture depth(&ctx, 24);  // ascending, reversed, GL_GREATER
  depth.Clear();                        // full: epoch 0xFF, still ascending
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  depth.Clear();  // the epoch clear wraps and turns the run
  EXPECT_EQ(depth.rec()->step, __GL_DEPTH_STEP_DOWN);
  EXPECT_EQ(depth.dfb()->func, GLenum(GL_LESS));
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(gc->dirtyMask & __GL_DIRTY_DEPTH, __GL_DIRTY_DEPTH);
  depth.Validate();
  EXPECT_EQ(depth.dfb()->store, __glStoreProcs[16 + GL_LESS - GL_NEVER]);
}

// Reads of every width give stored units, which a reader divides by
// scale >> shift to have depth in [0, 1].
TEST(DepthRuns, ReadsGiveStoredUnitsInEveryWidthAndRun) {
  struct Case {
    DepthWidth width;
    bool descending;
  } cases[] = {{kDepth16, false}, {kDepth24, false}, {kDepth24, true}, {kDepth32, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.width.bits) + (c.descending ? " descending" : ""));
    AncillaryContext ctx(3, 1);
    ctx.gc()->state.depth.testFunc = GL_LEQUAL;
    DepthBufferFixture depth(&ctx, c.width.bits);
    EnterRun(ctx.gc(), depth, c.descending);
    depth.Clear();
    depth.ValidateIfAsked();
    for (double d : {0.0, 0.25, 0.5, 1.0}) {
      const uint32_t z = uint32_t(d * c.width.scale);
      ASSERT_TRUE(depth.Store(1, 0, z)) << "no farther than the clear";
      EXPECT_NEAR(double(depth.Fetch(1, 0)) / c.width.Top(), d, 1.0 / c.width.Top());
      EXPECT_EQ(depth.Fetch(0, 0), c.width.Top()) << "cleared to the far end";
      depth.Clear();
      depth.ValidateIfAsked();
    }
  }
}

// The fix rewrites the clip box as plain depth under the given top bits:
// words of older epochs as their clear's depth, reversed words turned
// back; the next clear of the buffer is full.
TEST(DepthRuns, TheFixWritesPlainDepthUnderTheTopBitsGiven) {
  for (bool descending : {false, true}) {
    SCOPED_TRACE(descending ? "descending" : "ascending");
    AncillaryContext ctx(6, 4);
    GlContext *gc = ctx.gc();
    DepthBufferFixture depth(&ctx, 24);
    EnterRun(gc, depth, descending);
    depth.Clear();  // an epoch clear: most words are now older
    depth.ValidateIfAsked();
    for (int32_t i = 0; i < 6; i++) depth.Store(i, i % 4, kDepth24.scale / (i + 2));
    std::vector<uint32_t> fetched, raw;
    for (int32_t y = 0; y < 4; y++)
      for (int32_t x = 0; x < 6; x++) {
        fetched.push_back(depth.Fetch(x, y));
        raw.push_back(depth.memory().Read(x, y));
      }
    ctx.SetClipBox(1, 0, 5, 3);
    ctx.TakeBufferLocks();
    depth.rec()->fullClear = 0;
    depth.dfb()->fix(gc, depth.dfb(), 0x42123456u);
    for (int32_t y = 0; y < 4; y++)
      for (int32_t x = 0; x < 6; x++) {
        const size_t i = size_t(y) * 6 + x;
        const bool inside = x >= 1 && x < 5 && y < 3;
        EXPECT_EQ(depth.memory().Read(x, y), inside ? 0x42000000u | fetched[i] : raw[i])
            << x << ", " << y;
      }
    EXPECT_EQ(depth.rec()->fullClear, 1);
    EXPECT_EQ(ctx.TakeBufferLocks(), (std::vector<std::string>{"lock 32", "unlock 32"}));
    EXPECT_EQ(ctx.drawableLocks, ctx.drawableUnlocks);
  }
}

// The fix reads the clip box under the drawable's lock, which may deliver
// a resize that changes it.
TEST(DepthRuns, TheFixTakesTheBoxItsLockDelivers) {
  AncillaryContext ctx(6, 4);
  GlContext *gc = ctx.gc();
  DepthBufferFixture depth(&ctx, 24);
  depth.Clear();
  depth.ValidateIfAsked();
  std::vector<uint32_t> raw;
  for (int32_t y = 0; y < 4; y++)
    for (int32_t x = 0; x < 6; x++) raw.push_back(depth.memory().Read(x, y));
  ctx.atNextDrawableLock = [&ctx] { ctx.SetClipBox(0, 0, 3, 2); };
  depth.dfb()->fix(gc, depth.dfb(), 0x42000000u);
  for (int32_t y = 0; y < 4; y++)
    for (int32_t x = 0; x < 6; x++) {
      const uint32_t word = depth.memory().Read(x, y);
      if (x < 3 && y < 2)
        EXPECT_EQ(word >> 24, 0x42u) << x << ", " << y;
      else
        EXPECT_EQ(word, raw[size_t(y) * 6 + x]) << x << ", " << y;
    }
  EXPECT_EQ(ctx.drawableLocks, ctx.drawableUnlocks);
}

// Only a buffer with epochs has anything to fix.
TEST(DepthRuns, BuffersWithoutEpochsHaveNothingToFix) {
  for (uint32_t bits : {16u, 32u}) {
    SCOPED_TRACE(bits);
    AncillaryContext ctx(3, 3);
    DepthBufferFixture depth(&ctx, bits);
    depth.memory().Write(1, 1, 0x1234);
    depth.dfb()->fix(ctx.gc(), depth.dfb(), 0xFF000000u);
    EXPECT_EQ(depth.memory().Read(1, 1), 0x1234u);
    // Nor does a 24-bit visual bound to 32-bit words, whose record has none.
    depth::Fix_zbuffer(ctx.gc(), depth.dfb(), 0xFF000000u);
    EXPECT_EQ(depth.memory().Read(1, 1), 0x1234u);
  }
}

}  // namespace
}  // namespace ancillary_test

// The depth clear: scissored clears, the epoch clear and its bands, the
// first clear of a new buffer, the full clear, and the conditions under
// which each is used.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/s_depth.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/depth/depth_reference.h"

namespace ancillary_test {
namespace {

// Every word of the window, by row.
std::vector<uint32_t> Words(PixelMemory &memory, int32_t w, int32_t h) {
  std::vector<uint32_t> words;
  for (int32_t y = 0; y < h; y++)
    for (int32_t x = 0; x < w; x++) words.push_back(memory.Read(x, y));
  return words;
}

// A scissored clear writes its box alone and leaves the epoch as it is,
// whatever the width and even at a depth that would allow an epoch clear;
// a box that covers the window is a window clear.
TEST(DepthClear, AScissoredClearWritesItsBoxAlone) {
  struct Case {
    const char *what;
    uint32_t bits;
    int32_t x0, y0, x1, y1;
  } cases[] = {
      {"24 bits, inner box", 24, 2, 1, 5, 3},
      {"24 bits, one pixel", 24, 0, 0, 1, 1},
      {"24 bits, all rows but one column short", 24, 0, 0, 6, 4},
      {"24 bits, all columns but one row short", 24, 0, 1, 7, 4},
      {"16 bits, inner box", 16, 1, 1, 6, 3},
      {"32 bits, inner box", 32, 3, 0, 4, 4},
  };
  for (const Case &c : cases) {
    for (double clear : {0.25, 1.0}) {
      SCOPED_TRACE(std::string(c.what) + ", cleared to " + std::to_string(clear));
      AncillaryContext ctx(7, 4);
      GlContext *gc = ctx.gc();
      DepthBufferFixture depth(&ctx, c.bits);
      const DepthWidth width = c.bits == 16 ? kDepth16 : c.bits == 24 ? kDepth24 : kDepth32;
      gc->state.depth.clear = 0.75;
      depth.Validate();
      depth.Clear();  // the whole window
      depth.ValidateIfAsked();
      for (int32_t i = 0; i < 7; i++) depth.Store(i, i % 4, width.scale / 3);
      const std::vector<uint32_t> before = Words(depth.memory(), 7, 4);
      std::vector<uint32_t> fetched;
      for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 7; x++) fetched.push_back(depth.Fetch(x, y));
      const GlDepthBufferPrivate record = *depth.rec();
      gc->state.depth.clear = clear;
      depth.Validate();
      ctx.SetClipBox(c.x0, c.y0, c.x1, c.y1);
      depth.Clear();
      EXPECT_EQ(depth.rec()->base, record.base) << "no new epoch";
      EXPECT_EQ(depth.rec()->step, record.step);
      for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 7; x++) {
          const bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
          const size_t i = size_t(y) * 7 + x;
          if (inside) {
            EXPECT_EQ(depth.Fetch(x, y), width.ClearUnits(clear)) << x << ", " << y;
          } else {
            EXPECT_EQ(depth.memory().Read(x, y), before[i]) << x << ", " << y;
            EXPECT_EQ(depth.Fetch(x, y), fetched[i]) << x << ", " << y;
          }
        }
      EXPECT_EQ(ctx.TakeBufferLocks().back(), "unlock 32");
      EXPECT_EQ(ctx.drawableLocks, ctx.drawableUnlocks);
    }
  }
}

// Rows each epoch clear rewrites, over 128 epochs of one run: every row of
// the window exactly once, whatever its height.
TEST(DepthClear, EpochBandsRewriteEveryRowOncePer128Epochs) {
  struct Case {
    int32_t width, height;
  } cases[] = {{1, 1}, {3, 5}, {13, 1}, {200, 1}, {2, 127}, {1, 128}, {7, 129}, {4, 300}};
  constexpr uint32_t kMark = 0x00ABCDEFu;  // no clear writes it
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    AncillaryContext ctx(c.width, c.height);
    DepthBufferFixture depth(&ctx, 24);
    depth.Clear();  // the first clear is full and starts a run
    depth.ValidateIfAsked();
    std::vector<int> writes(size_t(c.height), 0);
    for (int epoch = 0; epoch < 128; epoch++) {
      for (int32_t y = 0; y < c.height; y++)
        for (int32_t x = 0; x < c.width; x++) depth.memory().Write(x, y, kMark);
      const uint32_t base = depth.rec()->base;
      depth.Clear();
      depth.ValidateIfAsked();
      ASSERT_NE(depth.rec()->base, base) << "an epoch clear";
      for (int32_t y = 0; y < c.height; y++) {
        const bool written = depth.memory().Read(0, y) != kMark;
        for (int32_t x = 1; x < c.width; x++)
          ASSERT_EQ(depth.memory().Read(x, y) != kMark, written) << "whole rows";
        writes[size_t(y)] += written;
      }
    }
    for (int32_t y = 0; y < c.height; y++) EXPECT_EQ(writes[size_t(y)], 1) << "row " << y;
    EXPECT_TRUE(depth.memory().GuardsIntact());
  }
}

// Which clear runs: the first clear of a new record and the first after a
// resize rewrite everything; a clear depth that is not the far end of the
// function, or buffers without epochs, always do; writes off clear nothing.
TEST(DepthClear, WhenEachClearRuns) {
  enum Kind { kNothing, kFull, kEpoch };
  struct Case {
    const char *what;
    uint32_t bits;
    GLenum func;
    double clear;
    bool write;
    bool resized;
    int clearsBefore;  // clears since the record was made
    Kind kind;
  } cases[] = {
      {"first clear of a new buffer", 24, GL_LESS, 1.0, true, false, 0, kFull},
      {"second clear, GL_LESS at 1.0", 24, GL_LESS, 1.0, true, false, 1, kEpoch},
      {"GL_LEQUAL at 1.0", 24, GL_LEQUAL, 1.0, true, false, 3, kEpoch},
      {"GL_GREATER at 0.0", 24, GL_GREATER, 0.0, true, false, 2, kEpoch},
      {"GL_GEQUAL at 0.0", 24, GL_GEQUAL, 0.0, true, false, 2, kEpoch},
      {"GL_LESS at 0.5", 24, GL_LESS, 0.5, true, false, 2, kFull},
      {"GL_LESS at 0.0", 24, GL_LESS, 0.0, true, false, 2, kFull},
      {"GL_GREATER at 1.0", 24, GL_GREATER, 1.0, true, false, 2, kFull},
      {"GL_EQUAL at 1.0", 24, GL_EQUAL, 1.0, true, false, 2, kFull},
      {"GL_ALWAYS at 1.0", 24, GL_ALWAYS, 1.0, true, false, 2, kFull},
      {"after a resize", 24, GL_LESS, 1.0, true, true, 2, kFull},
      {"16 bits", 16, GL_LESS, 1.0, true, false, 2, kFull},
      {"32 bits", 32, GL_LESS, 1.0, true, false, 2, kFull},
      {"depth writes off", 24, GL_LESS, 1.0, false, false, 2, kNothing},
      {"depth writes off, 16 bits", 16, GL_LESS, 0.5, false, false, 2, kNothing},
  };
  constexpr int32_t kW = 6, kH = 300;  // bands are two or three rows
  constexpr uint32_t kMark = 0x00ABCDEFu;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(kW, kH);
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = c.func;
    gc->state.depth.clear = c.clear;
    DepthBufferFixture depth(&ctx, c.bits);
    for (int i = 0; i < c.clearsBefore; i++) {
      depth.Clear();
      depth.ValidateIfAsked();
    }
    if (c.resized) {
      EXPECT_TRUE(depth.dfb()->buf.resize(&depth.dfb()->buf, 0, 0, kW, kH, 32));
    }
    gc->state.depth.writeEnable = c.write;
    depth.Validate();
    const uint32_t mark = c.bits == 16 ? kMark & 0xFFFF : kMark;
    for (int32_t y = 0; y < kH; y++)
      for (int32_t x = 0; x < kW; x++) depth.memory().Write(x, y, mark);
    ctx.TakeBufferLocks();
    depth.Clear();
    int rows = 0;
    for (int32_t y = 0; y < kH; y++) rows += depth.memory().Read(0, y) != mark;
    const int expected[] = {0, kH, -1};
    if (c.kind == kEpoch) {
      EXPECT_GT(rows, 0);
      EXPECT_LE(rows, kH / 128 + 1);
    } else {
      EXPECT_EQ(rows, expected[c.kind]);
    }
    const std::vector<std::string> locks =
        c.kind == kNothing ? std::vector<std::string>{}
                           : std::vector<std::string>{"lock 32", "unlock 32"};
    EXPECT_EQ(ctx.TakeBufferLocks(), locks);
    EXPECT_EQ(ctx.drawableLocks, ctx.drawableUnlocks);
    // Whatever was written reads as the clear depth.
    if (c.kind == kFull && c.write) {
      const DepthWidth width = c.bits == 16 ? kDepth16 : c.bits == 24 ? kDepth24 : kDepth32;
      EXPECT_EQ(depth.Fetch(kW - 1, kH - 1), width.ClearUnits(c.clear));
    }
  }
}

// glClearDepth asks for no depth pick, so the clear itself decides whether
// an epoch clear gives the clear depth in force: whatever was drawn before,
// every word then reads as that depth.
TEST(DepthClear, TheClearDepthInForceAtTheClearDecides) {
  struct Case {
    const char *what;
    GLenum func;
    double picked, cleared;  // the clear depth at the last pick, and at the clear
  } cases[] = {
      {"GL_LESS picked at 1.0, cleared at 0.5", GL_LESS, 1.0, 0.5},
      {"GL_LESS picked at 1.0, cleared at 0.0", GL_LESS, 1.0, 0.0},
      {"GL_GEQUAL picked at 0.0, cleared at 0.25", GL_GEQUAL, 0.0, 0.25},
      {"GL_LEQUAL picked at 0.5, cleared at 1.0", GL_LEQUAL, 0.5, 1.0},
      {"GL_GREATER picked at 1.0, cleared at 0.0", GL_GREATER, 1.0, 0.0},
  };
  constexpr int32_t kW = 5, kH = 300;  // bands are two or three rows
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(kW, kH);
    GlContext *gc = ctx.gc();
    gc->state.depth.testFunc = c.func;
    gc->state.depth.clear = c.picked;
    DepthBufferFixture depth(&ctx, 24);
    for (int i = 0; i < 3; i++) {
      depth.Clear();
      depth.ValidateIfAsked();
    }
    GlDepthBuffer *dfb = depth.dfb();
    for (int32_t y = 0; y < kH; y++)
      for (int32_t x = 0; x < kW; x++)
        dfb->storeAlways(dfb, x + kBias, y + kBias, kDepth24.scale / 3);
    depth.Validate();
    gc->state.depth.clear = c.cleared;  // as glClearDepth leaves it
    depth.Clear();
    depth.ValidateIfAsked();
    const uint32_t cleared = kDepth24.ClearUnits(c.cleared);
    for (int32_t y = 0; y < kH; y++)
      for (int32_t x = 0; x < kW; x++) ASSERT_EQ(depth.Fetch(x, y), cleared) << x << ", " << y;
    for (uint32_t z : {0u, kDepth24.scale / 4, kDepth24.scale / 2, kDepth24.scale}) {
      const int32_t y = int32_t(z % kH);
      EXPECT_EQ(depth.Store(1, y, z), ReferencePasses(c.func, kDepth24.Units(z), cleared)) << z;
    }
  }
}

// An empty clip box clears nothing and takes no buffer lock.
TEST(DepthClear, AnEmptyBoxClearsNothing) {
  for (uint32_t bits : {16u, 24u, 32u}) {
    SCOPED_TRACE(bits);
    AncillaryContext ctx(4, 4);
    DepthBufferFixture depth(&ctx, bits);
    depth.Clear();
    const std::vector<uint32_t> before = Words(depth.memory(), 4, 4);
    const uint32_t base = depth.rec()->base;
    ctx.TakeBufferLocks();
    const int32_t boxes[][4] = {{1, 1, 1, 3}, {0, 2, 4, 2}, {3, 0, 2, 4}};
    for (const auto &box : boxes) {
      ctx.SetClipBox(box[0], box[1], box[2], box[3]);
      depth.Clear();
    }
    EXPECT_EQ(Words(depth.memory(), 4, 4), before);
    EXPECT_EQ(depth.rec()->base, base);
    EXPECT_TRUE(ctx.TakeBufferLocks().empty());
  }
}

// The stored clear value of each width: the clear depth times the scale,
// in the width's units.
TEST(DepthClear, TheClearValueOfEachWidth) {
  struct Case {
    uint32_t bits;
    double clear;
    uint32_t word;  // after a full clear in an unreversed run
  } cases[] = {
      {16, 1.0, 0xFFFF}, {16, 0.0, 0}, {16, 0.5, 0x7FFF},
      {32, 1.0, 0x7FC00000u}, {32, 0.5, 0x3FE00000u}, {32, 0.0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + " bits at " + std::to_string(c.clear));
    AncillaryContext ctx(3, 2);
    ctx.gc()->state.depth.clear = c.clear;
    DepthBufferFixture depth(&ctx, c.bits);
    depth.Clear();
    EXPECT_EQ(depth.memory().Read(2, 1), c.word);
  }
}

}  // namespace
}  // namespace ancillary_test

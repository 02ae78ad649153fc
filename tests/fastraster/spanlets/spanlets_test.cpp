// The clip-mask, stipple, alpha-test, index-test and double-store spanlets
// against screen-order models, mirrored for right-to-left chunks, on
// bottom-up and top-down drawables.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <random>
#include <vector>

#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"

namespace {

constexpr int32_t kBias = 6144;

std::vector<uint32_t> handed;
void GLFASTCALL Successor(uint32_t mask, FrSpan *) { handed.push_back(mask); }

// The window column of the chunk's pixel i (0 = mask bit 31).
int32_t ColumnOf(const FrSpan &s, int i) { return s.direction > 0 ? s.x + i : -s.x - i; }

class SpanletTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
    gc->constants.viewportXAdjust = kBias;
    gc->constants.viewportYAdjust = kBias;
    gc->constants.alphaTestSize = 256;
    gc->modes.indexBits = 8;
    GlProcs &p = gc->procs;
    p.afterMask = p.afterStipple = p.afterAlphaTest = p.afterIndexTest = Successor;
    span.gc = gc;
    handed.clear();
  }
  void TearDown() override { free(gc); }

  // A chunk whose leftmost column is `left`, walked in `direction`.
  void Place(int32_t left, int32_t y, int direction) {
    span.direction = direction;
    span.x = direction > 0 ? left : -(left + 31);
    span.y = y;
  }
  // What the successor got: nothing, or one mask.
  bool Handed(uint32_t *mask) {
    if (handed.empty()) return false;
    EXPECT_EQ(handed.size(), 1u);
    *mask = handed.back();
    handed.clear();
    return true;
  }
  // Runs `spanlet` and compares with the live pixels `keeps` chooses.
  template <typename Keeps>
  void Expect(FrSpanletProc spanlet, uint32_t mask, Keeps keeps) {
    uint32_t want = 0;
    for (int i = 0; i < 32; i++)
      if ((mask & (0x80000000u >> i)) && keeps(i)) want |= 0x80000000u >> i;
    spanlet(mask, &span);
    uint32_t got = 0;
    const bool called = Handed(&got);
    EXPECT_EQ(called, want != 0);
    if (called) {
      EXPECT_EQ(got, want);
    }
  }

  GlContext *gc = nullptr;
  FrSpan span{};
  std::mt19937 rng{104};
};

TEST_F(SpanletTest, ClipMaskKeepsThePixelsInsideTheBox) {
  for (int n = 0; n < 400; n++) {
    int32_t *box = gc->transform.clipBox;
    box[0] = kBias + int32_t(rng() % 100);
    box[1] = kBias + int32_t(rng() % 40);
    box[2] = box[0] + 1 + int32_t(rng() % 90);
    box[3] = box[1] + 1 + int32_t(rng() % 40);
    Place(int32_t(rng() % 200) - 20, int32_t(rng() % 90) - 5, rng() % 2 ? 1 : -1);
    const uint32_t mask = rng() % 4 ? 0xFFFFFFFFu : uint32_t(rng());
    Expect(__glGenMask, mask, [&](int i) {
      const int32_t x = ColumnOf(span, i) + kBias, y = span.y + kBias;
      return x >= box[0] && x < box[2] && y >= box[1] && y < box[3];
    });
  }
}

TEST_F(SpanletTest, AChunkOverTheLeftEdgeLosesItsFirstColumnsInScreenOrder) {
  int32_t *box = gc->transform.clipBox;
  box[0] = kBias + 13, box[1] = kBias, box[2] = kBias + 200, box[3] = kBias + 50;
  uint32_t got = 0;
  Place(10, 5, 1);
  __glGenMask(0xFFFFFFFFu, &span);
  ASSERT_TRUE(Handed(&got));
  EXPECT_EQ(got, 0x1FFFFFFFu);
  Place(10, 5, -1);
  __glGenMask(0xFFFFFFFFu, &span);
  ASSERT_TRUE(Handed(&got));
  EXPECT_EQ(got, 0xFFFFFFF8u);
  // Rows outside the box are dropped whatever the mask.
  Place(20, 50, 1);
  __glGenMask(0xFFFFFFFFu, &span);
  EXPECT_FALSE(Handed(&got));
  Place(20, -1, -1);
  __glGenMask(0xFFFFFFFFu, &span);
  EXPECT_FALSE(Handed(&got));
}

TEST_F(SpanletTest, StippleFollowsThePatternOnBothKindsOfDrawable) {
  for (uint32_t &row : gc->polygon.stipple) row = rng();
  gc->constants.height = 77;
  for (uint8_t inverted : {0, 1}) {
    gc->constants.yInverted = inverted;
    for (int n = 0; n < 300; n++) {
      Place(int32_t(rng() % 300), int32_t(rng() % 77), rng() % 2 ? 1 : -1);
      const uint32_t mask = rng() % 4 ? 0xFFFFFFFFu : uint32_t(rng());
      const int32_t row = inverted ? 77 - span.y - 1 : span.y;
      Expect(__glGenStipple, mask, [&](int i) {
        return (gc->polygon.stipple[row & 31] >> (31 - (ColumnOf(span, i) & 31))) & 1;
      });
    }
  }
}

TEST_F(SpanletTest, AStippleColumnOfThirtyTwoKeepsOnlyTheLastPixel) {
  for (uint32_t &row : gc->polygon.stipple) row = 0x80000000u;
  uint32_t got = 0;
  Place(33, 3, 1);
  __glGenStipple(0xFFFFFFFFu, &span);
  ASSERT_TRUE(Handed(&got));
  EXPECT_EQ(got, 0x00000001u);
  Place(33, 3, -1);  // the same pixels walked from the right: column 64 first
  __glGenStipple(0xFFFFFFFFu, &span);
  ASSERT_TRUE(Handed(&got));
  EXPECT_EQ(got, 0x80000000u);
  __glGenStipple(0, &span);
  EXPECT_FALSE(Handed(&got));
}

TEST_F(SpanletTest, AlphaTestReadsTheTableOrTheStateWithoutOne) {
  uint8_t table[256];
  for (uint8_t &e : table) e = uint8_t(rng() % 2);
  gc->alphaTestTable = table;
  for (int n = 0; n < 50; n++) {
    for (uint32_t &c : span.colors) c = rng();
    Expect(__glFRAlphaTest, rng(), [&](int i) { return table[span.colors[i] >> 24] != 0; });
  }
  // Without a table: GL_GREATER than one half, by the alpha byte.
  gc->alphaTestTable = nullptr;
  gc->state.raster.alphaFunction = GL_GREATER;
  gc->state.raster.alphaReference = 0.5f;
  gc->constants.alphaScale = 255.0f;
  gc->constants.alphaTableConv = 1.0f;
  for (int n = 0; n < 20; n++) {
    for (uint32_t &c : span.colors) c = rng();
    Expect(__glFRAlphaTest, rng(), [&](int i) { return (span.colors[i] >> 24) > 127; });
  }
  // A table that passes nothing ends the chain.
  gc->alphaTestTable = table;
  for (uint8_t &e : table) e = 0;
  Expect(__glFRAlphaTest, 0xFFFFFFFFu, [](int) { return false; });
}

TEST_F(SpanletTest, IndexTestReadsTheTableOrTheStateWithoutOne) {
  uint8_t table[256];
  for (uint8_t &e : table) e = uint8_t(rng() % 2);
  gc->indexTestTable = table;
  for (int n = 0; n < 50; n++) {
    for (uint32_t &c : span.colors) c = rng();
    Expect(__glFRIndexTest, rng(),
           [&](int i) { return table[(span.colors[i] >> 16) & 0xFF] != 0; });
  }
  gc->indexTestTable = nullptr;
  gc->state.raster.indexFunction = GL_LEQUAL;
  gc->state.raster.indexReference = 100.0f;
  for (int n = 0; n < 20; n++) {
    for (uint32_t &c : span.colors) c = rng();
    Expect(__glFRIndexTest, rng(), [&](int i) { return ((span.colors[i] >> 16) & 0xFF) <= 100; });
  }
}

struct StoreCall {
  GlColorBuffer *buffer;
  FrAddress pixel;
  const uint32_t *ditherRow;
  uint32_t mask;
};
std::vector<StoreCall> stores;

void GLFASTCALL RecordStore(uint32_t mask, FrSpan *span) {
  stores.push_back({span->gc->drawBuffer, span->pixel, span->ditherRow, mask});
  span->ditherRow += 32;  // as a dithering store leaves it
}

TEST_F(SpanletTest, DoubleStoreWritesTheBackBufferThenTheFront) {
  GlColorBuffer front{}, back{};
  gc->front = &front;
  gc->back = &back;
  gc->drawBuffer = &back;
  gc->procs.doubleStoreSpan = RecordStore;
  uint8_t backPixels[4], frontPixels[4];
  const uint32_t dither[64] = {};
  span.pixel = backPixels;
  span.pixel2 = frontPixels;
  span.ditherRow = dither + 2;
  stores.clear();
  __glFRDoubleStore(0x80000001u, &span);
  ASSERT_EQ(stores.size(), 2u);
  EXPECT_EQ(stores[0].buffer, &back);
  EXPECT_EQ(stores[0].pixel, backPixels);
  EXPECT_EQ(stores[1].buffer, &front);
  EXPECT_EQ(stores[1].pixel, frontPixels);
  EXPECT_EQ(stores[0].ditherRow, dither + 2);
  EXPECT_EQ(stores[1].ditherRow, dither + 2);
  EXPECT_EQ(stores[1].mask, 0x80000001u);
  EXPECT_EQ(span.pixel, backPixels);
  EXPECT_EQ(gc->drawBuffer, &back);
}

}  // namespace

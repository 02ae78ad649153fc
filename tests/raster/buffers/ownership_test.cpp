// Which pixels a partly covered window owns, and where a window pixel lies
// in a drawable buffer's memory.
#include <gtest/gtest.h>

#include <vector>

#include "raster/s_buffers.h"
#include "tests/raster/buffers/lock_fixture.h"
#include "tests/support/pixel_memory.h"

namespace raster_buffers_test {
namespace {

// What a window shows: an L of two rectangles.
const std::vector<GlRect> kL = {{0, 0, 10, 5}, {0, 5, 4, 12}};

TEST(Ownership, APixelIsOwnedWhenAVisibleRectangleHoldsIt) {
  struct Case {
    const char *what;
    std::vector<GlRect> rects;
    int32_t x, y;  // drawable coordinates
    bool owned;
  } cases[] = {
      {"inside the first", kL, 3, 2, true},
      {"the first's first pixel", kL, 0, 0, true},
      {"the first's last pixel", kL, 9, 4, true},
      {"on the first's right edge", kL, 10, 2, false},
      {"on the first's bottom edge, outside the second", kL, 6, 5, false},
      {"on the first's bottom edge, inside the second", kL, 2, 5, true},
      {"on the second's bottom edge", kL, 2, 12, false},
      {"left of both", kL, -1, 3, false},
      {"in the notch of the L", kL, 5, 8, false},
      {"nothing visible", {}, 0, 0, false},
      {"an empty rectangle owns nothing", {{4, 4, 4, 8}}, 4, 5, false},
      {"negative coordinates", {{-5, -5, 0, 0}}, -1, -5, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LockContext lc;
    GlContext *gc = lc.gc();
    gc->constants.viewportXAdjust = 6144;
    gc->constants.viewportYAdjust = 4096;
    std::vector<GlRect> rects = c.rects;
    lc.drawable()->clipCount = int32_t(rects.size());
    lc.drawable()->clipRects = rects.empty() ? nullptr : rects.data();
    EXPECT_EQ(__glTestOwnership(gc, c.x + 6144, c.y + 4096) != 0, c.owned);
  }
}

TEST(Ownership, AContextWithoutADrawableOwnsNothing) {
  LockContext lc;
  lc.gc()->drawablePrivate = nullptr;
  EXPECT_FALSE(__glTestOwnership(lc.gc(), 0, 0));
}

TEST(PixelAddress, RowsArePitchApartAndThreeByteRowsArePadded) {
  struct Case {
    const char *what;
    uint32_t bits, elementSize;
    int32_t width, pitch;
    int32_t rowBytes;
  } cases[] = {
      {"8 bits", 8, 1, 5, 0, 5},
      {"16 bits, wider pitch", 16, 2, 5, 7, 14},
      {"24 bits, padded", 24, 3, 5, 0, 16},
      {"24 bits, already a word", 24, 3, 4, 0, 12},
      {"24 bits, one pixel", 24, 3, 1, 0, 4},
      {"32 bits", 32, 4, 3, 0, 12},
      {"accumulation", 64, 8, 3, 0, 24},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PixelMemory memory(c.width, 3, c.bits, c.elementSize, c.pitch);
    GlDrawableBuffer *buffer = memory.buffer();
    EXPECT_EQ(__glRowBytes(buffer), c.rowBytes);
    LockContext lc;
    GlContext *gc = lc.gc();
    gc->constants.viewportXAdjust = 6144;
    gc->constants.viewportYAdjust = 6144;
    for (int32_t y = 0; y < 3; y++)
      for (int32_t x = 0; x < c.width; x++)
        EXPECT_EQ(__glPixelAddress(gc, buffer, x + 6144, y + 6144),
                  buffer->base + y * c.rowBytes + x * int32_t(c.elementSize))
            << x << "," << y;
  }
}

}  // namespace
}  // namespace raster_buffers_test

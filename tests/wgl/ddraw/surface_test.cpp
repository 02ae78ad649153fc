// The colour and depth surfaces: their size, where they lie, their element
// size, lock addresses and fills; the primary buffer's screen description;
// frees that leave the shared primary surface alone.
#include <string.h>

#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"
#include "wgl/wgl_ddraw_kind.h"

namespace wgl_ddraw_test {
namespace {

using DDrawSurface = DDrawTest;

TEST_F(DDrawSurface, TakeTheWindowSizeWithDepthRowsOfWholeGroupsOfEight) {
  struct Case {
    int width, height;
    DWORD colorWidth, colorHeight;  // of the surfaces
    DWORD depthWidth;
    uint32_t storedWidth, storedDepthWidth;
  } cases[] = {
      {0, 0, 1, 1, 1, 0, 0},  // 0 x 0 windows still get surfaces
      {100, 40, 100, 40, 112, 100, 112},
      {96, 40, 96, 40, 96, 96, 96},
      {9, 3, 9, 3, 24, 9, 24},
      {1, 1, 1, 1, 16, 1, 16},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    WglDrawablePrivate *w = MakeWindow(50, 60, 200, 100);
    w->width = c.width;
    w->height = c.height;
    ASSERT_TRUE(Update(w));
    GlDrawable &d = w->drawable;
    DDSURFACEDESC back = Describe(d.back), depth = Describe(d.depth);
    EXPECT_EQ(back.dwWidth, c.colorWidth);
    EXPECT_EQ(back.dwHeight, c.colorHeight);
    EXPECT_EQ(depth.dwWidth, c.depthWidth);
    EXPECT_EQ(depth.dwHeight, c.colorHeight);
    EXPECT_EQ(d.back.width, c.storedWidth);
    EXPECT_EQ(d.depth.width, c.storedDepthWidth);
    EXPECT_EQ(d.back.height, uint32_t(c.height));
  }
}

TEST_F(DDrawSurface, GoToVideoMemoryWhereTheDeviceSaysElseSystemMemory) {
  struct Case {
    uint32_t flags;
    DWORD back, depth;
  } cases[] = {
      {0x24, DDSCAPS_VIDEOMEMORY, DDSCAPS_VIDEOMEMORY},
      {0x04, DDSCAPS_VIDEOMEMORY, DDSCAPS_SYSTEMMEMORY},
      {0x20, DDSCAPS_SYSTEMMEMORY, DDSCAPS_VIDEOMEMORY},
      {0x00, DDSCAPS_SYSTEMMEMORY, DDSCAPS_SYSTEMMEMORY},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.flags);
    SetDeviceFlags(c.flags);
    WglDrawablePrivate *w = MakeWindow(10, 10, 32, 16);
    ASSERT_TRUE(Update(w));
    const DWORD where = DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY;
    EXPECT_EQ(Describe(w->drawable.back).ddsCaps.dwCaps & where, c.back);
    EXPECT_EQ(Describe(w->drawable.depth).ddsCaps.dwCaps & (where | DDSCAPS_ZBUFFER),
              c.depth | DDSCAPS_ZBUFFER);
  }
}

// The core keeps depths above 16 bits in 32-bit words: so must the surface's
// rows, or the core's writes run into the next row.
TEST_F(DDrawSurface, DepthElementsFitTheCoresWords) {
  struct Case {
    uint32_t bits, elementSize;
  } cases[] = {{16, 2}, {24, 4}, {32, 4}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.bits);
    WglDrawablePrivate *w = MakeWindow(10, 10, 37, 5, c.bits);
    ASSERT_TRUE(Update(w));
    GlDrawableBuffer &depth = w->drawable.depth;
    EXPECT_EQ(depth.elementSize, c.elementSize);
    EXPECT_EQ(depth.elementSizeLog2, c.elementSize == 4 ? 2u : 1u);
    EXPECT_EQ(Describe(depth).dwZBufferBitDepth, c.bits);
    const uint32_t value = c.elementSize == 2 ? 0xCDEFu : 0x00ABCDEFu;
    depth.fill(&depth, &w->drawable, value, 0, 0, int32_t(depth.width), 5);
    depth.lock(&depth, &w->drawable);
    ASSERT_NE(depth.base, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(depth.base) % 8, 0u);
    EXPECT_EQ(depth.pitch * int32_t(c.elementSize), depth.pitchBytes);
    EXPECT_GE(depth.pitchBytes, int32_t(depth.width * c.elementSize));
    // Every element of the last row holds the whole fill value.
    for (uint32_t x = 0; x < 37; ++x) {
      uint32_t stored = 0;
      memcpy(&stored, depth.base + 4 * depth.pitchBytes + x * c.elementSize, c.elementSize);
      EXPECT_EQ(stored, value) << x;
    }
    depth.unlock(&depth, &w->drawable);
    EXPECT_EQ(depth.base, nullptr);
  }
}

TEST_F(DDrawSurface, ColourLockGivesTheSurfaceAndFillsWriteIt) {
  WglDrawablePrivate *w = MakeWindow(10, 10, 21, 7);
  ASSERT_TRUE(Update(w));
  GlDrawableBuffer &back = w->drawable.back;
  EXPECT_EQ(back.elementSize, 2u);
  back.fill(&back, &w->drawable, 0x1234, 0, 0, 21, 7);
  back.fill(&back, &w->drawable, 0xBEEF, 3, 2, 5, 4);
  back.lock(&back, &w->drawable);
  ASSERT_NE(back.base, nullptr);
  EXPECT_EQ(back.base, Describe(back).lpSurface);
  EXPECT_EQ(back.pitchBytes, Describe(back).lPitch);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 21; ++x) {
      uint16_t value;
      memcpy(&value, back.base + y * back.pitchBytes + 2 * x, 2);
      bool inside = x >= 3 && x < 8 && y >= 2 && y < 6;
      EXPECT_EQ(value, inside ? 0xBEEF : 0x1234) << x << "," << y;
    }
  back.unlock(&back, &w->drawable);
  EXPECT_EQ(back.base, nullptr);
}

TEST_F(DDrawSurface, ThePrimaryBufferDescribesTheScreenAndEveryWindowShares) {
  WglDrawablePrivate *a = MakeWindow(10, 10, 20, 20);
  WglDrawablePrivate *b = MakeWindow(40, 10, 20, 20);
  for (WglDrawablePrivate *w : {a, b}) {
    const GlDrawableBuffer &front = w->drawable.front;
    EXPECT_EQ(front.handle, lpPrimarySurface);
    EXPECT_EQ(front.width, 1024u);
    EXPECT_EQ(front.height, 768u);
    EXPECT_EQ(front.depth, 16u);
    EXPECT_EQ(front.elementSize, 2u);
    EXPECT_EQ(front.pitchBytes, ScreenPitch());
    EXPECT_EQ(front.pitch, ScreenPitch() / 2);
  }
  EXPECT_NE(lpPrimaryBase, nullptr);
  EXPECT_EQ(__wglDDrawGetPrimaryBase(), lpPrimaryBase);
  ASSERT_TRUE(Update(a));
  ASSERT_TRUE(Update(b));
  // A drawable going takes its clipper, never the screen's surface.
  GlDrawableBuffer &front = a->drawable.front;
  front.free(&front, &a->drawable);
  EXPECT_EQ(lpPrimarySurface->lpVtbl->IsLost(lpPrimarySurface), DD_OK);
  GlDrawableBuffer &other = b->drawable.front;
  ClipToWindow(b);
  other.lock(&other, &b->drawable);
  EXPECT_EQ(other.base, Screen(40, 10));
  other.unlock(&other, &b->drawable);
}

TEST_F(DDrawSurface, APrimaryFillPaintsOnlyTheWindowsVisiblePart) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 40, 20);
  ASSERT_TRUE(Update(w));
  HWND above = DesktopCreateWindow(120, 90, 10, 20);  // covers x 20..29, y 0..9 of w
  uint16_t before;
  memcpy(&before, Screen(125, 105), 2);
  GlDrawableBuffer &front = w->drawable.front;
  front.fill(&front, &w->drawable, 0x7E0, 0, 0, 40, 20);
  uint16_t inside, covered, outside;
  memcpy(&inside, Screen(100, 100), 2);
  memcpy(&covered, Screen(125, 105), 2);
  memcpy(&outside, Screen(99, 100), 2);
  EXPECT_EQ(inside, 0x7E0);
  EXPECT_EQ(covered, before);
  EXPECT_NE(outside, 0x7E0);
  DestroyWindow(above);
}

}  // namespace
}  // namespace wgl_ddraw_test

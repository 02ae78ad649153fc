// The two swaps: the blit of the back surface (or of the swap hints' bounds,
// clipped to the back surface) to the window, and the copy of the visible
// rectangles while the back buffer lives in plain memory.
#include <string.h>

#include <vector>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"
#include "wgl/wgl_drawable_update.h"

namespace wgl_ddraw_test {
namespace {

using DDrawSwap = DDrawTest;

TEST_F(DDrawSwap, HintsShowTheirBoundsClippedToTheBackSurfaceInOneBlit) {
  struct Hint {
    int x, y, width, height;  // GL coordinates: y from the bottom
  };
  struct Case {
    const char *what;
    std::vector<Hint> hints;
    RECT shown;  // window coordinates; empty: nothing
  } cases[] = {
      {"eight hints",
       {{2, 2, 4, 4}, {10, 3, 2, 2}, {5, 20, 3, 3}, {30, 30, 2, 2},
        {7, 7, 1, 1}, {12, 12, 5, 5}, {3, 25, 4, 4}, {20, 5, 6, 6}},
       {2, 48 - 32, 32, 48 - 2}},
      {"partly outside", {{-10, -5, 20, 15}, {60, 40, 20, 20}}, {0, 0, 64, 48}},
      {"wholly outside", {{100, 100, 5, 5}}, {0, 0, 0, 0}},
      {"one in, one out", {{4, 4, 8, 8}, {-50, -50, 10, 10}}, {4, 36, 12, 44}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *w = MakeWindow(100, 100, 64, 48);
    ASSERT_TRUE(Update(w));
    ClipToWindow(w);
    FillBack(w, [](int, int) -> uint16_t { return 0x1111; });
    ASSERT_TRUE(w->swapBuffers(w));
    FillBack(w, [](int, int) -> uint16_t { return 0x2222; });
    for (const Hint &h : c.hints) __wglAddSwapHintRect(&w->drawable, h.x, h.y, h.width, h.height);
    // A second blit would fail.
    PlatformArmFault({"Blt", "primary", 1, 0, 0});
    EXPECT_TRUE(w->swapBuffers(w));
    EXPECT_EQ(PlatformFaultsFired("Blt"), 0u);
    PlatformClearFaults();
    EXPECT_EQ(__wglSwapHintCount(w), 0u);
    for (int y = -1; y <= 48; ++y)
      for (int x = -1; x <= 64; ++x) {
        bool inWindow = x >= 0 && x < 64 && y >= 0 && y < 48;
        if (!inWindow) {
          EXPECT_NE(ScreenAt(100 + x, 100 + y), 0x2222);
          continue;
        }
        bool inside = x >= c.shown.left && x < c.shown.right && y >= c.shown.top && y < c.shown.bottom;
        ASSERT_EQ(ScreenAt(100 + x, 100 + y), inside ? 0x2222 : 0x1111) << x << "," << y;
      }
    // Without hints the next swap shows the whole window.
    EXPECT_TRUE(w->swapBuffers(w));
    EXPECT_EQ(ScreenAt(100, 100), 0x2222);
    EXPECT_EQ(ScreenAt(163, 147), 0x2222);
    FreeWindows();
  }
}

TEST_F(DDrawSwap, ALostSurfaceFailsOneSwapAndIsBackForTheNext) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 32, 16);
  ASSERT_TRUE(Update(w));
  ClipToWindow(w);
  FillBack(w, [](int x, int y) -> uint16_t { return uint16_t(x + 100 * y); });
  PlatformLoseSurfaces();
  EXPECT_FALSE(w->swapBuffers(w));
  EXPECT_TRUE(w->swapBuffers(w));
  EXPECT_EQ(ScreenAt(131, 115), 31 + 1500);
}

// After a display change the back surface comes back at the next lock,
// before the frame is drawn: only the screen is still lost at the swap, and
// the frame is shown once it is restored.
TEST_F(DDrawSwap, AFrameDrawnAfterTheLossIsShownAtOnce) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 32, 16);
  ASSERT_TRUE(Update(w));
  ClipToWindow(w);
  PlatformLoseSurfaces();
  FillBack(w, [](int x, int y) -> uint16_t { return uint16_t(x + 100 * y); });
  EXPECT_TRUE(w->swapBuffers(w));
  EXPECT_EQ(ScreenAt(131, 115), 31 + 1500);
}

TEST_F(DDrawSwap, SwapsWithoutABackSurfaceOrWindowShowNothing) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 32, 16);
  ASSERT_TRUE(Update(w));
  w->width = w->height = 0;
  w->rect = RECT{100, 100, 100, 100};
  ASSERT_TRUE(Update(w));
  EXPECT_TRUE(w->swapBuffers(w));  // 0 x 0: nothing to show
  GlDrawableBuffer &back = w->drawable.back;
  back.free(&back, &w->drawable);
  EXPECT_FALSE(__wglDDrawDDrawSwapBuffers(w));
  EXPECT_FALSE(__wglDDrawDDrawSwapBuffers(nullptr));
}

// The screen keeps the clipper of the last window that swapped: a window
// that cannot put its own there must not blit through the other's, which
// would paint over that window.
TEST_F(DDrawSwap, ASwapThatCannotAttachItsClipperShowsNothing) {
  WglDrawablePrivate *below = MakeWindow(100, 100, 64, 48);
  WglDrawablePrivate *above = MakeWindow(120, 110, 40, 30);
  for (WglDrawablePrivate *w : {below, above}) {
    ASSERT_TRUE(Update(w));
    ClipToWindow(w);
  }
  FillBack(above, uint16_t(0x2222));
  ASSERT_TRUE(above->swapBuffers(above));
  FillBack(below, uint16_t(0x1111));
  PlatformClearDebugOutput();
  PlatformArmFault({"SetClipper", "primary", 0, 1, 0});
  EXPECT_FALSE(below->swapBuffers(below));
  PlatformClearFaults();
  EXPECT_NE(Messages().find("WGL: Update: SetClipper: DDERROR = DDERR_GENERIC"), std::string::npos)
      << Messages();
  EXPECT_EQ(Messages().find("SwapBuffers: Blt"), std::string::npos) << Messages();
  EXPECT_EQ(ScreenAt(130, 120), 0x2222);
  EXPECT_NE(ScreenAt(101, 101), 0x1111);
  // Once the clipper goes on, the swap shows the window around the other.
  EXPECT_TRUE(below->swapBuffers(below));
  EXPECT_EQ(ScreenAt(101, 101), 0x1111);
  EXPECT_EQ(ScreenAt(130, 120), 0x2222);
}

// The memory swap copies the visible rectangles and nothing else: pixels of
// the window on top, beside the window and off the screen stay as they were.
TEST_F(DDrawSwap, TheMemorySwapCopiesOnlyTheVisibleRectangles) {
  struct Case {
    const char *what;
    int x, y, width, height;
  } cases[] = {
      {"aligned rows (16 bytes at a time)", 100, 100, 64, 40},
      {"odd screen column (4 bytes at a time)", 101, 100, 63, 40},
      {"odd row pitch in memory", 100, 100, 61, 40},
      {"short rows", 301, 100, 7, 5},
      {"partly off the screen", -20, -10, 64, 40},
      {"off the bottom right", 1000, 750, 64, 40},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PlatformArmFault({"CreateSurface", "offscreen", 0, 0, 0});
    WglDrawablePrivate *w = MakeWindow(c.x, c.y, c.width, c.height);
    ASSERT_TRUE(Update(w));
    PlatformClearFaults();
    ASSERT_EQ(w->swapBuffers, __wglDDrawMemSwapBuffers);
    const RECT cover = {c.x + 10, c.y + 5, c.x + 20, c.y + 15};
    HWND above = DesktopCreateWindow(cover.left, cover.top, 10, 10);
    ClipToWindow(w);
    // Everything around and under the window gets a known pattern.
    for (int y = c.y - 2; y < c.y + c.height + 2; ++y)
      for (int x = c.x - 3; x < c.x + c.width + 3; ++x)
        if (x >= 0 && x < 1024 && y >= 0 && y < 768) {
          uint16_t value = uint16_t(0xA000 + x * 3 + y * 5);
          bool covered = x >= cover.left && x < cover.right && y >= cover.top && y < cover.bottom;
          if (!covered) memcpy(Screen(x, y), &value, 2);
        }
    std::vector<uint16_t> before;
    for (int y = c.y - 2; y < c.y + c.height + 2; ++y)
      for (int x = c.x - 3; x < c.x + c.width + 3; ++x)
        before.push_back(x >= 0 && x < 1024 && y >= 0 && y < 768 ? ScreenAt(x, y) : 0);
    FillBack(w, [](int x, int y) -> uint16_t { return uint16_t(0x0101 * (x + 1) + 0x31 * y); });
    EXPECT_TRUE(w->swapBuffers(w));
    size_t i = 0;
    for (int y = c.y - 2; y < c.y + c.height + 2; ++y)
      for (int x = c.x - 3; x < c.x + c.width + 3; ++x, ++i) {
        if (x < 0 || x >= 1024 || y < 0 || y >= 768) continue;
        bool inWindow = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
        bool covered = x >= cover.left && x < cover.right && y >= cover.top && y < cover.bottom;
        uint16_t expected = inWindow && !covered
                                ? uint16_t(0x0101 * (x - c.x + 1) + 0x31 * (y - c.y))
                                : before[i];
        ASSERT_EQ(ScreenAt(x, y), expected) << x << "," << y;
      }
    DestroyWindow(above);
    FreeWindows();
  }
}

}  // namespace
}  // namespace wgl_ddraw_test

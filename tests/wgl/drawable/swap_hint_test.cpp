// Swap hints: placement in window rows, growth of the list, the bounding
// rectangle, emptying, and growth without memory.
#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

struct Hint {
  int32_t x, y, width, height;
};

const RECT *HintRects(const WglDrawablePrivate *d) {
  return reinterpret_cast<const RECT *>(d->swapHints->Buffer);
}

void ExpectRect(const RECT &r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

class SwapHintTest : public DrawableTest {
 protected:
  WglDrawablePrivate *Drawable(int32_t height) {
    WglDrawablePrivate *d = Create(BitmapDC(8, 8, 16), nullptr, Modes(true, false, false, false));
    d->drawable.height = height;
    return d;
  }
};

TEST_F(SwapHintTest, RowsAreCountedFromTheTopOfTheWindow) {
  struct Case {
    int32_t drawableHeight;
    Hint hint;
    RECT stored;
  };
  const Case cases[] = {
      {200, {10, 20, 30, 40}, {10, 140, 40, 180}},
      {100, {0, 0, 100, 100}, {0, 0, 100, 100}},
      {50, {5, 45, 10, 5}, {5, 0, 15, 5}},
      {480, {0, 0, 1, 1}, {0, 479, 1, 480}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "height " << c.drawableHeight << " y " << c.hint.y);
    WglDrawablePrivate *d = Drawable(c.drawableHeight);
    __wglAddSwapHintRect(&d->drawable, c.hint.x, c.hint.y, c.hint.width, c.hint.height);
    ASSERT_EQ(__wglSwapHintCount(d), 1u);
    ExpectRect(HintRects(d)[0], c.stored.left, c.stored.top, c.stored.right, c.stored.bottom);
    EXPECT_EQ(d->swapHints->rdh.nRgnSize, 16u);
    ExpectRect(d->swapHints->rdh.rcBound, c.stored.left, c.stored.top, c.stored.right,
               c.stored.bottom);
  }
}

TEST_F(SwapHintTest, TheListDoublesWhenFullAndKeepsItsRectangles) {
  struct Case {
    uint32_t hints;
    uint32_t capacity;
  };
  const Case cases[] = {{1, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 16}, {17, 32}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.hints);
    WglDrawablePrivate *d = Drawable(1000);
    for (uint32_t i = 0; i < c.hints; i++) __wglAddSwapHintRect(&d->drawable, int32_t(i), 0, 1, 1);
    EXPECT_EQ(d->swapHintCapacity, c.capacity);
    EXPECT_EQ(GlobalSize(d->swapHints), c.capacity * 16 + 36);
    EXPECT_EQ(d->swapHints->rdh.dwSize, 32u);
    EXPECT_EQ(d->swapHints->rdh.iType, 1u);
    ASSERT_EQ(__wglSwapHintCount(d), c.hints);
    EXPECT_EQ(d->swapHints->rdh.nRgnSize, c.hints * 16);
    for (uint32_t i = 0; i < c.hints; i++)
      ExpectRect(HintRects(d)[i], LONG(i), 999, LONG(i) + 1, 1000);
  }
}

TEST_F(SwapHintTest, TheBoundGrowsWithEachHint) {
  struct Case {
    const char *name;
    std::vector<Hint> hints;
    RECT bound;
  };
  const Case cases[] = {
      {"nested", {{10, 10, 50, 50}, {20, 20, 5, 5}}, {10, 40, 60, 90}},
      {"apart", {{0, 90, 10, 10}, {80, 0, 20, 10}}, {0, 0, 100, 100}},
      {"left of the window", {{-30, 10, 40, 10}, {5, 5, 5, 5}}, {-30, 80, 10, 95}},
      {"above the window", {{0, 95, 10, 20}}, {0, -15, 10, 5}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    WglDrawablePrivate *d = Drawable(100);
    for (const Hint &h : c.hints) __wglAddSwapHintRect(&d->drawable, h.x, h.y, h.width, h.height);
    ExpectRect(d->swapHints->rdh.rcBound, c.bound.left, c.bound.top, c.bound.right, c.bound.bottom);
  }
}

TEST_F(SwapHintTest, EmptyingStartsTheBoundAnew) {
  WglDrawablePrivate *d = Drawable(100);
  __wglAddSwapHintRect(&d->drawable, 0, 0, 100, 100);
  __wglAddSwapHintRect(&d->drawable, 0, 0, 10, 10);
  __wglClearSwapHints(d);
  EXPECT_EQ(__wglSwapHintCount(d), 0u);
  __wglAddSwapHintRect(&d->drawable, 20, 30, 5, 5);
  EXPECT_EQ(__wglSwapHintCount(d), 1u);
  EXPECT_EQ(d->swapHints->rdh.nRgnSize, 16u);
  ExpectRect(d->swapHints->rdh.rcBound, 20, 65, 25, 70);
}

TEST_F(SwapHintTest, AListThatCannotGrowStaysAsItWas) {
  WglDrawablePrivate *d = Drawable(100);
  for (int i = 0; i < 4; i++) __wglAddSwapHintRect(&d->drawable, i * 10, 0, 10, 10);
  const RGNDATA *before = d->swapHints;
  const RECT bound = before->rdh.rcBound;
  MarkHeap();
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 0, 0});
  __wglAddSwapHintRect(&d->drawable, 90, 90, 10, 10);
  EXPECT_GT(PlatformFaultsFired("GlobalAlloc"), 0u);
  PlatformClearFaults();
  EXPECT_EQ(d->swapHints, before);
  EXPECT_EQ(d->swapHintCapacity, 4u);
  EXPECT_EQ(__wglSwapHintCount(d), 4u);
  EXPECT_EQ(d->swapHints->rdh.nRgnSize, 64u);
  ExpectRect(d->swapHints->rdh.rcBound, bound.left, bound.top, bound.right, bound.bottom);
  EXPECT_EQ(LiveBlocksSinceMark(), 0);
  // With memory again the list grows as usual.
  __wglAddSwapHintRect(&d->drawable, 90, 90, 10, 10);
  EXPECT_EQ(__wglSwapHintCount(d), 5u);
  EXPECT_EQ(d->swapHintCapacity, 8u);
}

}  // namespace
}  // namespace drawable_test

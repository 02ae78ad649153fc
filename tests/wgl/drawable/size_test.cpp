// A drawable's geometry: a window's client area on the screen, a memory
// DC's selected bitmap, and when the buffers follow a change.
#include <stdlib.h>

#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

void ExpectGeometry(const WglDrawablePrivate *d, int x, int y, int width, int height) {
  EXPECT_EQ(d->x, x);
  EXPECT_EQ(d->y, y);
  EXPECT_EQ(d->width, width);
  EXPECT_EQ(d->height, height);
  RECT expected = width && height ? RECT{x, y, x + width, y + height} : RECT{0, 0, 0, 0};
  EXPECT_EQ(d->rect.left, expected.left);
  EXPECT_EQ(d->rect.top, expected.top);
  EXPECT_EQ(d->rect.right, expected.right);
  EXPECT_EQ(d->rect.bottom, expected.bottom);
}

TEST_F(DrawableTest, AWindowTakesItsClientAreaOnTheScreen) {
  struct Case {
    int x, y, width, height;
  };
  const Case cases[] = {{10, 20, 64, 48}, {0, 0, 1, 1}, {-50, -20, 100, 80}, {1000, 700, 200, 150}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
    HWND w = Window(c.x, c.y, c.width, c.height);
    WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
    __wglUpdateDrawableSize(d);
    ExpectGeometry(d, c.x, c.y, c.width, c.height);
  }
}

TEST_F(DrawableTest, AWindowFollowsMovesAndResizes) {
  HWND w = Window(10, 10, 50, 40);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  struct Step {
    int x, y, width, height;
  };
  const Step steps[] = {{30, 5, 50, 40}, {30, 5, 120, 90}, {-10, 300, 8, 300}};
  for (const Step &s : steps) {
    ASSERT_TRUE(MoveWindow(w, s.x, s.y, s.width, s.height, FALSE));
    __wglUpdateDrawableSize(d);
    ExpectGeometry(d, s.x, s.y, s.width, s.height);
  }
}

// Bitmaps take the size of the bitmap selected in their DC; rows either way.
TEST_F(DrawableTest, ABitmapTakesTheSizeOfItsSelectedBitmap) {
  struct Case {
    const char *name;
    int width, height, bitCount;
  };
  const Case cases[] = {
      {"bottom-up 32-bit", 64, 32, 32},
      {"top-down 16-bit", 17, -9, 16},
      {"bottom-up 24-bit", 3, 200, 24},
      {"8-bit", 100, 1, 8},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    WglDrawablePrivate *d =
        Create(BitmapDC(c.width, c.height, c.bitCount), nullptr, Modes(false, false, false, false));
    // Twice: the size must not fall back to nothing at a later update.
    for (int i = 0; i < 2; i++) {
      __wglUpdateDrawableSize(d);
      ExpectGeometry(d, 0, 0, c.width, abs(c.height));
    }
  }
}

TEST_F(DrawableTest, ABitmapFollowsTheBitmapSelectedNow) {
  HDC dc = CreateCompatibleDC(nullptr);
  WglDrawablePrivate *d = Create(dc, nullptr, Modes(false, false, false, false));
  __wglUpdateDrawableSize(d);
  ExpectGeometry(d, 0, 0, 1, 1);  // a fresh memory DC holds the 1 x 1 stock bitmap

  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  __wglUpdateDrawableSize(d);
  ExpectGeometry(d, 0, 0, 40, 30);

  SelectObject(dc, old);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  DeleteDC(dc);
  // A DC that is gone has nothing to draw into.
  __wglUpdateDrawableSize(d);
  ExpectGeometry(d, 0, 0, 0, 0);
}

// The window hook clears the record's window at WM_DESTROY while contexts
// keep it; the window's DC still exists then, holding a 1 x 1 stock bitmap
// that is not the window's.
TEST_F(DrawableTest, ARecordWhoseWindowWentHasNothingToDraw) {
  HWND w = Window(10, 20, 64, 48);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  __wglUpdateDrawableSize(d);
  ExpectGeometry(d, 10, 20, 64, 48);
  d->hwnd = nullptr;
  __wglUpdateDrawableSize(d);
  ExpectGeometry(d, 0, 0, 0, 0);
}

// Fake buffer kinds that count the updates they are asked for.
struct UpdateLog {
  int calls = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
};
UpdateLog gUpdates;

uint32_t CountUpdate(GlDrawableBuffer *, int32_t x, int32_t y, int32_t width, int32_t height,
                     GlDrawable *, uint32_t) {
  gUpdates.calls++;
  gUpdates.x = x, gUpdates.y = y, gUpdates.width = width, gUpdates.height = height;
  return 1;
}

TEST_F(DrawableTest, BuffersFollowOnlyASizeChange) {
  struct Step {
    const char *name;
    int x, y, width, height;
    int updates;  // calls expected at this step
  };
  const Step steps[] = {
      {"first update", 10, 10, 50, 40, 1},    {"the same again", 10, 10, 50, 40, 0},
      {"moved only", 70, 20, 50, 40, 0},      {"resized", 70, 20, 60, 40, 1},
      {"shrunk to nothing", 70, 20, 0, 0, 1}, {"nothing again still updates", 70, 20, 0, 0, 1},
      {"back to a size", 5, 6, 60, 40, 1},
  };
  HWND w = Window(10, 10, 50, 40);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  d->drawable.front.update = CountUpdate;
  for (const Step &s : steps) {
    SCOPED_TRACE(s.name);
    ASSERT_TRUE(MoveWindow(w, s.x, s.y, s.width, s.height, FALSE));
    gUpdates = UpdateLog();
    EXPECT_TRUE(__wglUpdateDrawableBuffers(d));
    EXPECT_EQ(gUpdates.calls, s.updates);
    const GlDrawable &view = d->drawable;
    EXPECT_EQ(view.width, s.width);
    EXPECT_EQ(view.height, s.height);
    // The core always learns where the window is now.
    EXPECT_EQ(view.x, s.x);
    EXPECT_EQ(view.y, s.y);
    if (s.updates) {
      EXPECT_EQ(gUpdates.x, s.x);
      EXPECT_EQ(gUpdates.y, s.y);
      EXPECT_EQ(gUpdates.width, s.width);
      EXPECT_EQ(gUpdates.height, s.height);
    }
  }
}

TEST_F(DrawableTest, ABitmapsBuffersAreSizedOnceForItsBitmap) {
  WglDrawablePrivate *d = Create(BitmapDC(33, -21, 32), nullptr, Modes(false, false, false, false));
  d->drawable.front.update = CountUpdate;
  gUpdates = UpdateLog();
  EXPECT_TRUE(__wglUpdateDrawableBuffers(d));
  EXPECT_TRUE(__wglUpdateDrawableBuffers(d));
  EXPECT_EQ(gUpdates.calls, 1);
  EXPECT_EQ(gUpdates.width, 33);
  EXPECT_EQ(gUpdates.height, 21);
}

}  // namespace
}  // namespace drawable_test

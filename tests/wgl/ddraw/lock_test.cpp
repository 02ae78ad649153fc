// Locking: the primary buffer addresses the window's origin wherever the
// window lies, locks nothing when none of the window shows, and every lock
// gives up after a bounded number of failed attempts.
#include <string.h>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"
#include "wgl/wgl_ddraw_kind.h"

namespace wgl_ddraw_test {
namespace {

using DDrawLock = DDrawTest;

TEST_F(DDrawLock, ThePrimaryBaseAddressesTheWindowOriginWhereverItLies) {
  struct Case {
    int x, y;
  } cases[] = {{0, 0}, {200, 100}, {-30, -20}, {500, -10}, {-5, 300}, {1000, 700}, {-99, 767}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    WglDrawablePrivate *w = MakeWindow(c.x, c.y, 100, 80);
    ASSERT_TRUE(Update(w));
    ClipToWindow(w);
    GlDrawableBuffer &front = w->drawable.front;
    front.lock(&front, &w->drawable);
    ASSERT_NE(front.base, nullptr);
    EXPECT_EQ(front.base, static_cast<uint8_t *>(lpPrimaryBase) +
                              intptr_t(c.y) * ScreenPitch() + intptr_t(c.x) * 2);
    EXPECT_EQ(front.pitchBytes, ScreenPitch());
    // The pixel at the window's first visible place is the screen's.
    int vx = c.x < 0 ? 0 : c.x, vy = c.y < 0 ? 0 : c.y;
    EXPECT_EQ(front.base + (vy - c.y) * front.pitchBytes + (vx - c.x) * 2, Screen(vx, vy));
    front.unlock(&front, &w->drawable);
    EXPECT_EQ(front.base, nullptr);
    FreeWindows();
  }
}

namespace {

bool DrawsIntoDiscard(const WglDrawablePrivate *w, const GlDrawableBuffer &buffer) {
  return w->discard != nullptr && buffer.base >= w->discard &&
         buffer.base < w->discard + w->discardBytes;
}

// Every pixel of the window, as the core would address it: the sanitizer
// build sees a write outside the block.
void WriteEveryPixel(const WglDrawablePrivate *w, const GlDrawableBuffer &buffer) {
  for (int32_t y = 0; y < w->drawable.height; y++)
    memset(buffer.base + y * buffer.pitchBytes, 0x5A, size_t(w->drawable.width) * buffer.elementSize);
}

}  // namespace

TEST_F(DDrawLock, APrimaryBufferWithNothingOnTheScreenLocksNothing) {
  enum Way { kPlace, kEmpty, kHide, kCover };
  struct Case {
    const char *what;
    int x, y;
    Way way;
  } cases[] = {
      {"right of the screen", 1100, 100, kPlace},
      {"left of the screen", -200, 100, kPlace},
      {"below the screen", 100, 800, kPlace},
      {"above the screen", 100, -300, kPlace},
      {"0 x 0 (minimised)", 100, 100, kEmpty},
      {"hidden", 100, 100, kHide},
      {"covered by another window", 100, 100, kCover},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *w = MakeWindow(c.x, c.y, 60, 40);
    ASSERT_TRUE(Update(w));
    ClipToWindow(w);
    HWND cover = nullptr;
    if (c.way == kEmpty) w->rect = RECT{c.x, c.y, c.x, c.y}, w->width = w->height = 0;
    if (c.way == kHide) ShowWindow(w->hwnd, SW_HIDE);
    if (c.way == kCover) cover = DesktopCreateWindow(c.x - 5, c.y - 5, 80, 60);
    PlatformClearDebugOutput();
    PlatformArmFault({"Lock", "primary", 0, 0, 0});
    GlDrawableBuffer &front = w->drawable.front;
    front.lock(&front, &w->drawable);
    // The core draws into the drawable's discard block, which nobody shows.
    EXPECT_TRUE(DrawsIntoDiscard(w, front));
    WriteEveryPixel(w, front);
    EXPECT_EQ(PlatformFaultsFired("Lock"), 0u);  // not even tried
    EXPECT_EQ(Messages().find("LockPrimary"), std::string::npos);
    front.unlock(&front, &w->drawable);
    PlatformClearFaults();
    if (cover) DestroyWindow(cover);
    FreeWindows();
  }
}

TEST_F(DDrawLock, EveryLockGivesUpAfterABoundedNumberOfFailures) {
  enum Which { kBack, kDepth, kFront };
  struct Case {
    const char *what;
    Which which;
    PlatformFault fault;
    bool locks;
    const char *message;  // each failed attempt's, or null
  } cases[] = {
      {"busy back", kBack, {"Lock", "offscreen", 0, 0, DWORD(DDERR_SURFACEBUSY)}, false, nullptr},
      {"failing back", kBack, {"Lock", "offscreen", 0, 0, DWORD(DDERR_GENERIC)}, false,
       "WGL: DDraw: Lock: DDERROR = DDERR_GENERIC"},
      {"lost-looking back", kBack, {"Lock", "offscreen", 0, 0, DWORD(DDERR_SURFACELOST)}, false,
       nullptr},
      {"busy depth", kDepth, {"Lock", "zbuffer", 0, 0, DWORD(DDERR_SURFACEBUSY)}, false, nullptr},
      {"failing front", kFront, {"Lock", "primary", 0, 0, DWORD(DDERR_INVALIDRECT)}, false,
       "WGL: DDraw: LockPrimary: Lock: DDERROR = DDERR_INVALIDRECT"},
      {"busy front", kFront, {"Lock", "primary", 0, 0, DWORD(DDERR_SURFACEBUSY)}, false, nullptr},
      {"back busy but not for ever", kBack,
       {"Lock", "offscreen", 0, WGL_LOCK_RETRIES - 1, DWORD(DDERR_SURFACEBUSY)}, true, nullptr},
      {"front failing but not for ever", kFront,
       {"Lock", "primary", 0, WGL_LOCK_RETRIES - 1, DWORD(DDERR_GENERIC)}, true,
       "WGL: DDraw: LockPrimary: Lock: DDERROR = DDERR_GENERIC"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *w = MakeWindow(100, 100, 60, 40);
    ASSERT_TRUE(Update(w));
    ClipToWindow(w);
    GlDrawable &d = w->drawable;
    GlDrawableBuffer *buffer = c.which == kBack ? &d.back : c.which == kDepth ? &d.depth : &d.front;
    PlatformClearDebugOutput();
    PlatformArmFault(c.fault);
    buffer->lock(buffer, &d);
    ASSERT_NE(buffer->base, nullptr);
    EXPECT_EQ(!DrawsIntoDiscard(w, *buffer), c.locks);
    if (!c.locks) WriteEveryPixel(w, *buffer);
    EXPECT_EQ(PlatformFaultsFired("Lock"), c.locks ? WGL_LOCK_RETRIES - 1u : WGL_LOCK_RETRIES);
    size_t reports = c.locks ? WGL_LOCK_RETRIES - 1 : WGL_LOCK_RETRIES;
    if (c.message) {
      EXPECT_EQ(Count(Messages(), c.message), reports);
    }
    buffer->unlock(buffer, &d);
    EXPECT_EQ(buffer->base, nullptr);
    // Nothing stays held: the next lock goes through.
    PlatformClearFaults();
    buffer->lock(buffer, &d);
    EXPECT_NE(buffer->base, nullptr);
    buffer->unlock(buffer, &d);
    FreeWindows();
  }
}

TEST_F(DDrawLock, ALostSurfaceIsRestoredAtTheLock) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 60, 40);
  ASSERT_TRUE(Update(w));
  ClipToWindow(w);
  GlDrawable &d = w->drawable;
  for (GlDrawableBuffer *buffer : {&d.front, &d.back, &d.depth}) {
    PlatformLoseSurfaces();
    LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer->handle);
    ASSERT_EQ(surface->lpVtbl->IsLost(surface), DDERR_SURFACELOST);
    buffer->lock(buffer, &d);
    EXPECT_NE(buffer->base, nullptr);
    EXPECT_EQ(buffer->handle, surface);  // restored in place
    EXPECT_EQ(surface->lpVtbl->IsLost(surface), DD_OK);
    buffer->unlock(buffer, &d);
  }
}

}  // namespace
}  // namespace wgl_ddraw_test

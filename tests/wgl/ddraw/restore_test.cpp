// Surfaces lost to another program come back in place; surfaces lost to a
// display-mode change are made again at their old size, the screen's once
// for every window.
#include <string.h>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"
#include "wgl/wgl_ddraw_kind.h"

namespace wgl_ddraw_test {
namespace {

using DDrawRestore = DDrawTest;

HRESULT Lost(const GlDrawableBuffer &buffer) {
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer.handle);
  return surface->lpVtbl->IsLost(surface);
}

TEST_F(DDrawRestore, ADisplayChangeKeepingTheDepthRemakesTheSurfaces) {
  SetDeviceFlags(0x24);
  WglDrawablePrivate *a = MakeWindow(100, 100, 100, 60, 24);
  WglDrawablePrivate *b = MakeWindow(300, 100, 50, 30, 24);
  ASSERT_TRUE(Update(a));
  ASSERT_TRUE(Update(b));
  GlDrawable &d = a->drawable;
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  PlatformClearDebugOutput();

  for (GlDrawableBuffer *buffer : {&d.back, &d.depth}) {
    buffer->lock(buffer, &d);
    EXPECT_NE(buffer->base, nullptr);
    buffer->unlock(buffer, &d);
  }
  // Surfaces of the old mode cannot be restored: these were made anew.
  EXPECT_EQ(Lost(d.back), DD_OK);
  EXPECT_EQ(Lost(d.depth), DD_OK);
  DDSURFACEDESC back = Describe(d.back), depth = Describe(d.depth);
  EXPECT_EQ(back.dwWidth, 100u);
  EXPECT_EQ(back.dwHeight, 60u);
  EXPECT_TRUE(back.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);
  EXPECT_EQ(depth.dwWidth, 112u);
  EXPECT_EQ(depth.dwZBufferBitDepth, 24u);
  EXPECT_TRUE(depth.ddsCaps.dwCaps & DDSCAPS_ZBUFFER);

  // The screen's surface is made once, and both windows draw on it.
  ClipToWindow(a);
  d.front.lock(&d.front, &d);
  ASSERT_NE(d.front.base, nullptr);
  EXPECT_EQ(lpPrimarySurface->lpVtbl->IsLost(lpPrimarySurface), DD_OK);
  EXPECT_EQ(d.front.handle, lpPrimarySurface);
  EXPECT_EQ(d.front.width, 800u);
  EXPECT_EQ(d.front.base, Screen(100, 100));
  d.front.unlock(&d.front, &d);
  GlDrawableBuffer &other = b->drawable.front;
  ClipToWindow(b);
  other.lock(&other, &b->drawable);
  EXPECT_EQ(other.handle, lpPrimarySurface);
  EXPECT_EQ(other.base, Screen(300, 100));
  other.unlock(&other, &b->drawable);
  EXPECT_EQ(Messages().find("DDERROR"), std::string::npos) << Messages();

  // And the swap shows the back buffer on the new screen.
  d.back.fill(&d.back, &d, 0x4321, 0, 0, 100, 60);
  EXPECT_TRUE(a->swapBuffers(a));
  EXPECT_EQ(ScreenAt(199, 159), 0x4321);
}

// After a change to another pixel size the core's pixels do not fit the
// screen's: the front buffer then draws where nobody sees it.
TEST_F(DDrawRestore, AScreenOfAnotherPixelSizeIsNotLocked) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 40, 30);
  ASSERT_TRUE(Update(w));
  ASSERT_TRUE(DesktopSetDisplayMode(32, 1024, 768));
  ClipToWindow(w);
  GlDrawableBuffer &front = w->drawable.front;
  front.lock(&front, &w->drawable);
  // The screen is not written: the core draws into the discard block.
  EXPECT_TRUE(w->discard && front.base >= w->discard && front.base < w->discard + w->discardBytes);
  front.unlock(&front, &w->drawable);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  front.lock(&front, &w->drawable);
  EXPECT_NE(front.base, nullptr);
  front.unlock(&front, &w->drawable);
}

TEST_F(DDrawRestore, FailuresAreReportedAndLeaveTheBuffer) {
  struct Case {
    PlatformFault fault;
    bool remade;
    const char *message;  // null: none
  } cases[] = {
      {{"IsLost", "offscreen", 0, 1, DWORD(DDERR_GENERIC)}, false,
       "WGL: DDraw: RestoreSurface: IsLost: DDERROR = DDERR_GENERIC"},
      {{"Restore", "offscreen", 0, 1, DWORD(DDERR_OUTOFMEMORY)}, false,
       "WGL: DDraw: RestoreSurface: Restore: failed: DDERROR = DDERR_OUTOFMEMORY"},
      {{"Restore", "offscreen", 0, 1, DWORD(DDERR_WRONGMODE)}, true, nullptr},
      {{"GetSurfaceDesc", "offscreen", 0, 1, 0}, false,
       "WGL: DDraw: RestoreSurface: GetSurfaceDesc: DDERROR = DDERR_GENERIC"},
      {{"Release", "offscreen", 0, 1, 0}, false, "WGL: DDraw: RestoreSurface: Release"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.fault.call);
    WglDrawablePrivate *w = MakeWindow(100, 100, 40, 30);
    ASSERT_TRUE(Update(w));
    GlDrawableBuffer &back = w->drawable.back;
    PlatformLoseSurfaces();
    PlatformClearDebugOutput();
    // A wrong mode stands in for "Restore" itself when that is the fault.
    if (strcmp(c.fault.call, "GetSurfaceDesc") == 0 || strcmp(c.fault.call, "Release") == 0)
      PlatformArmFault({"Restore", "offscreen", 0, 1, DWORD(DDERR_WRONGMODE)});
    PlatformArmFault(c.fault);
    __wglDDrawRestoreSurface(&back, w);
    PlatformClearFaults();
    ASSERT_NE(back.handle, nullptr);
    // Only a surface made anew is back; the others stay lost.
    EXPECT_EQ(Lost(back), c.remade ? DD_OK : DDERR_SURFACELOST);
    if (c.message)
      EXPECT_NE(Messages().find(c.message), std::string::npos) << Messages();
    else
      EXPECT_EQ(Messages().find("DDERROR"), std::string::npos) << Messages();
    FreeWindows();
  }
}


// Every window shares the screen's surface: when one window makes it again
// after a display change, the others drop the old one (it is gone) and take
// the new one, and a screen that could not be made is tried again.
TEST_F(DDrawRestore, OtherWindowsFollowTheScreenAnotherMadeAgain) {
  struct Case {
    const char *what;
    bool createFails;
    bool freeFirst;  // free the other window before it draws again
  } cases[] = {
      {"made again, the other draws", false, false},
      {"made again, the other is freed", false, true},
      {"not made, the other draws", true, false},
      {"not made, the other is freed", true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *a = MakeWindow(100, 100, 40, 30);
    WglDrawablePrivate *b = MakeWindow(300, 100, 40, 30);
    ASSERT_TRUE(Update(a));
    ASSERT_TRUE(Update(b));
    ClipToWindow(a);
    ClipToWindow(b);
    ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
    if (c.createFails) PlatformArmFault({"CreateSurface", "primary", 0, 1, 0});
    GlDrawableBuffer &first = a->drawable.front;
    first.lock(&first, &a->drawable);
    first.unlock(&first, &a->drawable);
    PlatformClearFaults();
    EXPECT_EQ(lpPrimarySurface == nullptr, c.createFails);
    GlDrawableBuffer &other = b->drawable.front;
    if (c.freeFirst) {
      // The sanitizer build sees any use of the released surface.
      other.free(&other, &b->drawable);
      EXPECT_EQ(other.handle, nullptr);
    } else {
      PlatformClearDebugOutput();
      other.lock(&other, &b->drawable);
      ASSERT_NE(lpPrimarySurface, nullptr);
      EXPECT_EQ(other.handle, lpPrimarySurface);
      EXPECT_EQ(other.base, Screen(300, 100));
      other.unlock(&other, &b->drawable);
      EXPECT_EQ(Messages().find("DDERROR"), std::string::npos) << Messages();
    }
    FreeWindows();
    DesktopSetDisplayMode(16, 1024, 768);
  }
}

// A window that only swaps never locks its front buffer: the swap itself
// tries again for a screen that could not be made at a display change.
TEST_F(DDrawRestore, TheNextSwapMakesTheScreenThatCouldNotBeMade) {
  WglDrawablePrivate *w = MakeWindow(100, 100, 40, 30);
  ASSERT_TRUE(Update(w));
  ClipToWindow(w);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  w->drawable.back.fill(&w->drawable.back, &w->drawable, 0x1357, 0, 0, 40, 30);
  PlatformArmFault({"CreateSurface", "primary", 0, 1, 0});
  EXPECT_FALSE(w->swapBuffers(w));
  PlatformClearFaults();
  ASSERT_EQ(lpPrimarySurface, nullptr);
  EXPECT_TRUE(w->swapBuffers(w));
  ASSERT_NE(lpPrimarySurface, nullptr);
  EXPECT_EQ(ScreenAt(139, 129), 0x1357);
}

// A smaller screen refuses a rectangle of the old one: the front buffer of a
// window that reaches past the new screen's edge still locks at once.
TEST_F(DDrawRestore, AWindowPastTheEdgeOfASmallerScreenLocksAtOnce) {
  WglDrawablePrivate *w = MakeWindow(700, 500, 200, 150);
  ASSERT_TRUE(Update(w));
  ClipToWindow(w);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  PlatformClearDebugOutput();
  GlDrawableBuffer &front = w->drawable.front;
  front.lock(&front, &w->drawable);
  EXPECT_EQ(front.base, Screen(700, 500));
  EXPECT_EQ(front.width, 800u);
  EXPECT_EQ(front.height, 600u);
  front.unlock(&front, &w->drawable);
  EXPECT_EQ(Messages().find("DDERROR"), std::string::npos) << Messages();
}

}  // namespace
}  // namespace wgl_ddraw_test

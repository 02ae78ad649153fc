// Buffers without room for a surface fall back to plain memory (the drawable
// then swaps by copying while its back buffer is there), and every later
// resize tries for a surface again.
#include <string.h>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/ddraw/ddraw_fixture.h"
#include "wgl/wgl_ddraw_kind.h"
#include "wgl/wgl_drawable_update.h"

namespace wgl_ddraw_test {
namespace {

using DDrawFallback = DDrawTest;

TEST_F(DDrawFallback, ABufferWithoutASurfaceDrawsInMemoryUntilAResizeFindsRoom) {
  struct Case {
    const char *what;
    PlatformFault fault;  // call null: video memory holds only the screen
    bool backFalls, depthFalls;
  } cases[] = {
      {"no off-screen surface", {"CreateSurface", "offscreen", 0, 0, 0}, true, false},
      {"no z-buffer", {"CreateSurface", "zbuffer", 0, 0, 0}, false, true},
      {"video memory full", {nullptr, nullptr, 0, 0, 0}, true, true},
  };
  SetDeviceFlags(0x24);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PlatformClearDebugOutput();
    WglDrawablePrivate *w = MakeWindow(200, 150, 64, 32);
    if (c.fault.call)
      PlatformArmFault(c.fault);
    else
      ASSERT_TRUE(PlatformSetVideoMemorySize(DWORD(ScreenPitch()) * 768 + 64));
    ASSERT_TRUE(Update(w));
    GlDrawable &d = w->drawable;
    // A fallback that worked is no failure.
    EXPECT_EQ(Messages().find("DDERROR"), std::string::npos) << Messages();
    EXPECT_EQ(__wglDDrawHasSurface(&d.back), !c.backFalls);
    EXPECT_EQ(__wglDDrawHasSurface(&d.depth), !c.depthFalls);
    for (GlDrawableBuffer *b : {&d.back, &d.depth}) {
      EXPECT_EQ(b->width, 64u);
      EXPECT_EQ(b->height, 32u);
      EXPECT_EQ(b->elementSize, 2u);
    }
    if (c.backFalls) {
      EXPECT_NE(d.back.base, nullptr);  // memory: always there
    }
    // Only a back buffer in memory needs the copying swap.
    EXPECT_EQ(w->swapBuffers, c.backFalls ? __wglDDrawMemSwapBuffers : __wglDDrawDDrawSwapBuffers);
    ClipToWindow(w);
    FillBack(w, 0x1357);
    EXPECT_TRUE(w->swapBuffers(w));
    EXPECT_EQ(ScreenAt(200 + 63, 150 + 31), 0x1357);

    // Room again: the next resize makes surfaces.
    PlatformClearFaults();
    ASSERT_TRUE(PlatformSetVideoMemorySize(8u << 20));
    Move(w, 200, 150, 48, 24);
    ASSERT_TRUE(Update(w));
    EXPECT_TRUE(__wglDDrawHasSurface(&d.back));
    EXPECT_TRUE(__wglDDrawHasSurface(&d.depth));
    EXPECT_EQ(Describe(d.depth).dwWidth, 48u);
    EXPECT_EQ(w->swapBuffers, __wglDDrawDDrawSwapBuffers);
    ClipToWindow(w);
    FillBack(w, 0x2468);
    EXPECT_TRUE(w->swapBuffers(w));
    EXPECT_EQ(ScreenAt(200 + 47, 150 + 23), 0x2468);
    FreeWindows();
  }
}

// The back buffer decides the swap: a depth buffer coming back from memory
// must not switch the blit on while the back buffer is still in memory.
TEST_F(DDrawFallback, TheSwapFollowsTheBackBufferWhateverTheDepthBufferDoes) {
  SetDeviceFlags(0x24);
  WglDrawablePrivate *w = MakeWindow(10, 10, 40, 20);
  PlatformArmFault({"CreateSurface", nullptr, 0, 0, 0});
  ASSERT_TRUE(Update(w));
  EXPECT_EQ(w->swapBuffers, __wglDDrawMemSwapBuffers);
  // Next resize: only the z-buffer finds room.
  PlatformClearFaults();
  PlatformArmFault({"CreateSurface", "offscreen", 0, 0, 0});
  Move(w, 10, 10, 30, 20);
  ASSERT_TRUE(Update(w));
  EXPECT_FALSE(__wglDDrawHasSurface(&w->drawable.back));
  EXPECT_TRUE(__wglDDrawHasSurface(&w->drawable.depth));
  EXPECT_EQ(w->swapBuffers, __wglDDrawMemSwapBuffers);
  ClipToWindow(w);
  FillBack(w, 0x0F0F);
  EXPECT_TRUE(w->swapBuffers(w));
    EXPECT_EQ(ScreenAt(10, 10), 0x0F0F);
}

// A buffer whose memory failed too has nothing to draw, and the next resize
// still tries for a surface.
TEST_F(DDrawFallback, WhenMemoryFailsTooTheUpdateFailsAndTheNextResizeTriesAgain) {
  WglDrawablePrivate *w = MakeWindow(10, 10, 40, 20);
  PlatformArmFault({"CreateSurface", "offscreen", 0, 0, 0});
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 0, 0});
  GlDrawableBuffer &back = w->drawable.back;
  EXPECT_EQ(back.update(&back, 10, 10, 40, 20, &w->drawable, 4), 0u);
  EXPECT_NE(Messages().find("WGL: DDraw: Update: UpdateFallback: DDERROR = DDERR_OUTOFVIDEOMEMORY"),
            std::string::npos)
      << Messages();
  PlatformClearFaults();
  EXPECT_EQ(back.update(&back, 10, 10, 40, 20, &w->drawable, 4), 1u);
  EXPECT_TRUE(__wglDDrawHasSurface(&back));
}

// A buffer that moved to memory gives the fallback's code, 16, at every
// resize that still finds no room: the device sees it left out of the changed
// mask while the buffers that did change are in it.
TEST_F(DDrawFallback, AFallBackGivesItsOwnCodeAndStaysOutOfTheChangedMask) {
  struct Case {
    const char *what;
    const char *surface;
    bool depth;
  } cases[] = {{"back buffer", "offscreen", false}, {"depth buffer", "zbuffer", true}};
  SetDeviceFlags(0x24);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    WglDrawablePrivate *w = MakeWindow(10, 10, 40, 20);
    GlDrawableBuffer &buffer = c.depth ? w->drawable.depth : w->drawable.back;
    const uint32_t bit = c.depth ? 32 : 4;
    PlatformArmFault({"CreateSurface", c.surface, 0, 0, 0});
    EXPECT_EQ(buffer.update(&buffer, 10, 10, 40, 20, &w->drawable, bit), 16u);
    EXPECT_FALSE(__wglDDrawHasSurface(&buffer));
    // And again at the next resize, still without room.
    EXPECT_EQ(buffer.update(&buffer, 10, 10, 30, 10, &w->drawable, bit), 16u);
    EXPECT_NE(buffer.base, nullptr);
    // The whole set resized: the fallen-back buffer is the one bit missing
    // from the mask the device reads.
    GlModes modes{};
    modes.doubleBufferMode = 1;
    modes.haveDepthBuffer = 1;
    w->drawable.modes = &modes;
    ASSERT_TRUE(__wglUpdateBuffers(&w->drawable, 10, 10, 36, 18));
    const uint32_t other = c.depth ? 4u : 32u;
    EXPECT_EQ(w->drawable.changedBuffers & bit, 0u);
    EXPECT_EQ(w->drawable.changedBuffers & other, other);
    PlatformClearFaults();
    // With room again the surface comes back, and that is a change.
    ASSERT_TRUE(__wglUpdateBuffers(&w->drawable, 10, 10, 32, 16));
    EXPECT_TRUE(__wglDDrawHasSurface(&buffer));
    EXPECT_EQ(w->drawable.changedBuffers & bit, bit);
    w->drawable.modes = nullptr;
    FreeWindows();
  }
}

}  // namespace
}  // namespace wgl_ddraw_test

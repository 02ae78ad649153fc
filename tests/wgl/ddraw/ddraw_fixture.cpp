#include "tests/wgl/ddraw/ddraw_fixture.h"

#include <string.h>

#include <vector>

#include "core/device.h"
#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/support/debug_text.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_global_lock.h"

namespace wgl_ddraw_test {

void DDrawTest::SetUp() {
  PlatformClearFaults();
  PlatformSetVideoMemorySize(8u << 20);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  PlatformClearDebugOutput();
  __wglCreateMutex();
  // The live device's flags: the SiS device, whose windows take these kinds.
  savedFlags_ = __glDevice->flags;
  ASSERT_TRUE(__wglDDrawOpen());
  opened_ = true;
}

void DDrawTest::TearDown() {
  PlatformClearFaults();
  FreeWindows();
  if (opened_) __wglDDrawClose();
  __glDevice->flags = savedFlags_;
  __wglDestroyMutex();
  EXPECT_EQ(lpDirectDrawCount, 0);
  EXPECT_EQ(lpDirectDraw, nullptr);
  PlatformSetVideoMemorySize(8u << 20);
  DesktopSetDisplayMode(16, 1024, 768);
}

WglDrawablePrivate *DDrawTest::MakeWindow(int x, int y, int width, int height,
                                          uint32_t depthBits) {
  WglDrawablePrivate *w = new WglDrawablePrivate{};
  w->hwnd = DesktopCreateWindow(x, y, width, height);
  w->hdc = GetDC(w->hwnd);
  w->x = x;
  w->y = y;
  w->rect = RECT{x, y, x + width, y + height};
  w->width = width;
  w->height = height;
  w->swapHintCapacity = 4;
  w->swapHints = static_cast<RGNDATA *>(__wglCalloc(1, 4 * sizeof(RECT) + sizeof(RGNDATA)));
  w->swapHints->rdh.dwSize = sizeof(RGNDATAHEADER);
  w->swapHints->rdh.iType = RDH_RECTANGLES;
  w->setSwapBuffers = __wglDDrawDDrawSwapBuffers;
  w->memSwapBuffers = __wglDDrawMemSwapBuffers;
  w->swapBuffers = __wglDDrawDDrawSwapBuffers;
  GlDrawable &d = w->drawable;
  d.mutex = __wglCreateDrawableMutex();
  d.malloc = __wglMalloc;
  d.calloc = __wglCalloc;
  d.realloc = __wglRealloc;
  d.free = __wglFree;
  d.setCoreClipRect = __wglSetCoreClipRect;
  d.updateClipList = __wglDDrawUpdateClipList;
  d.wglPrivate = w;
  d.yInverted = 1;
  __wglInitDDrawPrimary(&d.front, w);
  __wglInitDDraw(&d.back, w, d.front.depth, __wglInitMem);
  if (depthBits) __wglInitDDrawDepth(&d.depth, w, depthBits, __wglInitMem);
  windows_[windowCount_++] = w;
  return w;
}

bool DDrawTest::Update(WglDrawablePrivate *w) {
  GlDrawable &d = w->drawable;
  d.width = w->width;
  d.height = w->height;
  d.x = w->x;
  d.y = w->y;
  struct {
    GlDrawableBuffer *buffer;
    uint32_t bit;
  } buffers[] = {{&d.front, 1}, {&d.back, 4}, {&d.depth, 32}};
  bool ok = true;
  for (auto &b : buffers)
    if (b.buffer->update &&
        b.buffer->update(b.buffer, w->x, w->y, w->width, w->height, &d, b.bit) == 0)
      ok = false;
  return ok;
}

void DDrawTest::Move(WglDrawablePrivate *w, int x, int y, int width, int height) {
  MoveWindow(w->hwnd, x, y, width, height, TRUE);
  w->x = x;
  w->y = y;
  w->rect = RECT{x, y, x + width, y + height};
  w->width = width;
  w->height = height;
}

void DDrawTest::ClipToWindow(WglDrawablePrivate *w) {
  __wglSetCoreClipRect(&w->drawable, 0, 0, w->width, w->height);
}

void DDrawTest::FreeWindow(WglDrawablePrivate *w) {
  GlDrawable &d = w->drawable;
  for (GlDrawableBuffer *b : {&d.front, &d.back, &d.depth})
    if (b->free) b->free(b, &d);
  __wglFree(d.clipRects);
  __wglFree(w->swapHints);
  __wglFree(w->discard);
  __wglDestroyDrawableMutex(d.mutex);
  if (IsWindow(w->hwnd)) {
    ReleaseDC(w->hwnd, w->hdc);
    DestroyWindow(w->hwnd);
  }
  delete w;
}

void DDrawTest::FreeWindows() {
  for (int i = 0; i < windowCount_; ++i) FreeWindow(windows_[i]);
  windowCount_ = 0;
}

void DDrawTest::SetDeviceFlags(uint32_t flags) { __glDevice->flags = flags; }

std::string DDrawTest::Messages() { return PlatformDebugText(); }

size_t DDrawTest::Count(const std::string &text, const std::string &what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

DDSURFACEDESC DDrawTest::Describe(const GlDrawableBuffer &buffer) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  LPDIRECTDRAWSURFACE surface = static_cast<LPDIRECTDRAWSURFACE>(buffer.handle);
  EXPECT_NE(surface, nullptr);
  if (surface) {
    EXPECT_EQ(surface->lpVtbl->GetSurfaceDesc(surface, &desc), DD_OK);
  }
  return desc;
}

int32_t DDrawTest::ScreenPitch() {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof desc;
  lpPrimarySurface->lpVtbl->GetSurfaceDesc(lpPrimarySurface, &desc);
  return desc.lPitch;
}

uint8_t *DDrawTest::Screen(int x, int y) {
  return static_cast<uint8_t *>(lpPrimaryBase) + y * ScreenPitch() + x * 2;
}

uint16_t DDrawTest::ScreenAt(int x, int y) {
  uint16_t value;
  memcpy(&value, Screen(x, y), 2);
  return value;
}

namespace {

void FillBackWith(WglDrawablePrivate *w, uint16_t (*pattern)(int x, int y), uint16_t value) {
  GlDrawableBuffer &back = w->drawable.back;
  back.lock(&back, &w->drawable);
  ASSERT_NE(back.base, nullptr);
  for (uint32_t y = 0; y < back.height; ++y)
    for (uint32_t x = 0; x < back.width; ++x) {
      uint16_t pixel = pattern ? pattern(int(x), int(y)) : value;
      memcpy(back.base + y * back.pitchBytes + 2 * x, &pixel, 2);
    }
  back.unlock(&back, &w->drawable);
}

}  // namespace

void DDrawTest::FillBack(WglDrawablePrivate *w, uint16_t (*pattern)(int x, int y)) {
  FillBackWith(w, pattern, 0);
}

void DDrawTest::FillBack(WglDrawablePrivate *w, uint16_t value) { FillBackWith(w, nullptr, value); }

}  // namespace wgl_ddraw_test

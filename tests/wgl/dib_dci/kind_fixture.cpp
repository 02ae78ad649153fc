#include "tests/wgl/dib_dci/kind_fixture.h"

#include <stdlib.h>
#include <string.h>

#include "platform/control.h"
#include "tests/support/debug_text.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_global_lock.h"

int gLiveBlocks = 0;
int gAllocationsBeforeFailure = -1;
DciCalls gDciCalls;

namespace {

bool AllocationFails() {
  if (gAllocationsBeforeFailure < 0) return false;
  if (gAllocationsBeforeFailure == 0) return true;
  --gAllocationsBeforeFailure;
  return false;
}

void *TestMalloc(size_t size) {
  if (AllocationFails()) return nullptr;
  void *block = malloc(size);
  if (block) ++gLiveBlocks;
  return block;
}

void *TestCalloc(size_t count, size_t size) {
  if (AllocationFails()) return nullptr;
  void *block = calloc(count, size);
  if (block) ++gLiveBlocks;
  return block;
}

void *TestRealloc(void *block, size_t size) {
  if (AllocationFails()) return nullptr;
  void *grown = realloc(block, size);
  if (grown && !block) ++gLiveBlocks;
  return grown;
}

void TestFree(void *block) {
  if (block) --gLiveBlocks;
  free(block);
}

// The platform's DCI functions, forwarded; access calls are counted.
DCIRVAL WINAPI CountingBeginAccess(LPDCISURFACEINFO surface, int x, int y, int width, int height) {
  ++gDciCalls.begin;
  DCIRVAL result = DCIBeginAccess(surface, x, y, width, height);
  if (result < 0) ++gDciCalls.beginRefused;
  return result;
}

void WINAPI CountingEndAccess(LPDCISURFACEINFO surface) {
  ++gDciCalls.end;
  DCIEndAccess(surface);
}

const PlatformExport kPlatform[] = {
    {"DCIOpenProvider", reinterpret_cast<void *>(&DCIOpenProvider)},
    {"DCICloseProvider", reinterpret_cast<void *>(&DCICloseProvider)},
    {"DCICreatePrimary", reinterpret_cast<void *>(&DCICreatePrimary)},
    {"DCIDestroy", reinterpret_cast<void *>(&DCIDestroy)},
    {"WinWatchOpen", reinterpret_cast<void *>(&WinWatchOpen)},
    {"WinWatchClose", reinterpret_cast<void *>(&WinWatchClose)},
    {"WinWatchGetClipList", reinterpret_cast<void *>(&WinWatchGetClipList)},
    {"WinWatchDidStatusChange", reinterpret_cast<void *>(&WinWatchDidStatusChange)},
    {"DCIBeginAccess", reinterpret_cast<void *>(&DCIBeginAccess)},
    {"DCIEndAccess", reinterpret_cast<void *>(&DCIEndAccess)},
};
constexpr size_t kDciFunctions = sizeof kPlatform / sizeof kPlatform[0];

// The platform's table with the access calls counted.
PlatformExport gCounting[kDciFunctions];

}  // namespace

void InstallCountingDci() {
  gDciCalls = DciCalls();
  for (size_t i = 0; i < kDciFunctions; ++i) {
    gCounting[i] = kPlatform[i];
    if (strcmp(kPlatform[i].name, "DCIBeginAccess") == 0)
      gCounting[i].proc = reinterpret_cast<void *>(&CountingBeginAccess);
    if (strcmp(kPlatform[i].name, "DCIEndAccess") == 0)
      gCounting[i].proc = reinterpret_cast<void *>(&CountingEndAccess);
  }
  PlatformRegisterModule("DCIMAN32.DLL", gCounting, kDciFunctions);
}

void RestorePlatformDci() { PlatformRegisterModule("DCIMAN32.DLL", kPlatform, kDciFunctions); }

std::string DebugOutput() { return PlatformDebugText(); }

bool ReportedError(const char *text) {
  return DebugOutput().find(std::string("OGL ERR:") + text + "\n") != std::string::npos;
}

GlModes Modes(uint32_t colorBits, uint32_t depthBits, uint32_t stencilBits, bool doubleBuffer) {
  GlModes m;
  memset(&m, 0, sizeof m);
  m.rgbMode = 1;
  m.doubleBufferMode = doubleBuffer;
  m.colorBits = colorBits;
  m.depthBits = depthBits;
  m.haveDepthBuffer = depthBits != 0;
  m.stencilBits = stencilBits;
  m.haveStencilBuffer = stencilBits != 0;
  if (colorBits == 16) m.redMask = 0xF800, m.greenMask = 0x07E0, m.blueMask = 0x001F;
  if (colorBits >= 24) m.redMask = 0xFF0000, m.greenMask = 0xFF00, m.blueMask = 0xFF;
  return m;
}

void KindTest::SetUp() {
  gLiveBlocks = 0;
  gAllocationsBeforeFailure = -1;
  PlatformClearDebugOutput();
  __wglCreateMutex();
}

void KindTest::TearDown() {
  for (TestDrawable *d : drawables_) {
    // Whatever a test left in a buffer goes back (the kinds' frees may run twice).
    for (GlDrawableBuffer *b : {&d->gl()->front, &d->gl()->back, &d->gl()->accum, &d->gl()->depth,
                                &d->gl()->stencil})
      if (b->free) b->free(b, d->gl());
    __wglFree(d->gl()->clipRects);
    __wglFree(d->record.swapHints);
    __wglFree(d->record.discard);
    __wglDestroyDrawableMutex(d->gl()->mutex);
    delete d;
  }
  for (HDC dc : memoryDCs_) DeleteDC(dc);
  for (HBITMAP b : bitmaps_) DeleteObject(b);
  for (auto &w : windowDCs_) ReleaseDC(w.first, w.second);
  __wglDestroyMutex();
  PlatformSetPlatformId(VER_PLATFORM_WIN32_NT);
  DesktopTest::TearDown();
}

TestDrawable *KindTest::Drawable(HDC hdc, HWND hwnd, const GlModes &modes) {
  TestDrawable *d = new TestDrawable;
  memset(&d->record, 0, sizeof d->record);
  d->modes = modes;
  d->record.hdc = hdc;
  d->record.hwnd = hwnd;
  GlDrawable *gl = d->gl();
  gl->modes = &d->modes;
  gl->mutex = __wglCreateDrawableMutex();
  gl->malloc = TestMalloc;
  gl->calloc = TestCalloc;
  gl->realloc = TestRealloc;
  gl->free = TestFree;
  gl->wglPrivate = &d->record;
  // Room for four swap hints, as a new drawable has.
  d->record.swapHints = static_cast<RGNDATA *>(__wglCalloc(1, 4 * sizeof(RECT) + 36));
  d->record.swapHints->rdh.dwSize = sizeof(RGNDATAHEADER);
  d->record.swapHints->rdh.iType = RDH_RECTANGLES;
  d->record.swapHintCapacity = 4;
  gl->addSwapHintRect = __wglAddSwapHintRect;
  gl->setCoreClipRect = __wglSetCoreClipRect;
  drawables_.push_back(d);
  return d;
}

TestDrawable *KindTest::WindowDrawable(HWND hwnd, const GlModes &modes) {
  HDC hdc = GetDC(hwnd);
  windowDCs_.push_back({hwnd, hdc});
  TestDrawable *d = Drawable(hdc, hwnd, modes);
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  d->record.x = origin.x;
  d->record.y = origin.y;
  d->record.width = client.right;
  d->record.height = client.bottom;
  d->record.rect = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  GlDrawable *gl = d->gl();
  gl->x = origin.x;
  gl->y = origin.y;
  gl->width = client.right;
  gl->height = client.bottom;
  gl->yInverted = 1;
  __wglSetCoreClipRect(gl, 0, 0, client.right, client.bottom);
  return d;
}

HDC KindTest::MemoryDCWithDIB(int width, int height, int bitCount, void **bits) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_NE(dc, nullptr);
  memoryDCs_.push_back(dc);
  // Room for the colour table of a section of 8 bits or fewer (all black).
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info;
  memset(&info, 0, sizeof info);
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bitCount);
  void *pixels = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                     &pixels, nullptr, 0);
  EXPECT_NE(section, nullptr);
  bitmaps_.push_back(section);
  SelectObject(dc, section);
  if (bits) *bits = pixels;
  return dc;
}

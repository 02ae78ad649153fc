// The interface records: GlModes from descriptors, element sizes, the
// context list, the imports every context gets, the allocators and the
// extension entries handed out by name.
#include <stdlib.h>
#include <string.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "platform/control.h"
#include "tests/wgl/entries/entries_fixture.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_modes.h"

namespace wgl_test {
namespace {

PIXELFORMATDESCRIPTOR Descriptor(DWORD flags, BYTE type, BYTE color, BYTE r, BYTE rs, BYTE g,
                                 BYTE gs, BYTE b, BYTE bs, BYTE a, BYTE as, BYTE depth,
                                 BYTE stencil, BYTE accum) {
  PIXELFORMATDESCRIPTOR d;
  memset(&d, 0, sizeof d);
  d.nSize = sizeof d;
  d.nVersion = 1;
  d.dwFlags = flags;
  d.iPixelType = type;
  d.cColorBits = color;
  d.cRedBits = r, d.cRedShift = rs;
  d.cGreenBits = g, d.cGreenShift = gs;
  d.cBlueBits = b, d.cBlueShift = bs;
  d.cAlphaBits = a, d.cAlphaShift = as;
  d.cDepthBits = depth;
  d.cStencilBits = stencil;
  d.cAccumBits = accum;
  d.cAccumRedBits = BYTE(accum / 4), d.cAccumGreenBits = BYTE(accum / 4);
  d.cAccumBlueBits = BYTE(accum / 4), d.cAccumAlphaBits = BYTE(accum / 4);
  return d;
}

class ZBitsEnvironment {
 public:
  explicit ZBitsEnvironment(const char *value) {
    if (value) setenv("GLFORCEZBITS", value, 1);
    else unsetenv("GLFORCEZBITS");
  }
  ~ZBitsEnvironment() { unsetenv("GLFORCEZBITS"); }
};

TEST(GlModesFromDescriptor, FieldsMasksAndForcedDepth) {
  const struct {
    const char *label;
    PIXELFORMATDESCRIPTOR descriptor;
    const char *forceZ;
    GlModes want;
  } cases[] = {
      {"5-6-5 double, depth 16",
       Descriptor(PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 16, 5, 11, 6, 5, 5, 0, 0, 0, 16, 0, 0), nullptr,
       {1, 0, 1, 0, 0, 1, 0,
        5, 6, 5, 0, 0xF800, 0x07E0, 0x001F, 0, 16, 16, 0, 0, 0, 0, 16, 0, {0, 0}, 0}},
      {"stereo double, 8-8-8-8, stencil, accumulation",
       Descriptor(PFD_DOUBLEBUFFER | PFD_STEREO, PFD_TYPE_RGBA, 32, 8, 16, 8, 8, 8, 0, 8, 24, 24, 8,
                  64),
       nullptr,
       {1, 0, 1, 2, 1, 1, 1,
        8, 8, 8, 8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, 32, 32, 16, 16, 16, 16, 24, 8, {0, 0}, 0}},
      {"colour index, no component bits",
       Descriptor(0, PFD_TYPE_COLORINDEX, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), nullptr,
       {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0, 0, 0, {0, 0}, 0}},
      {"GLFORCEZBITS 24 over 16",
       Descriptor(0, PFD_TYPE_RGBA, 16, 5, 11, 6, 5, 5, 0, 0, 0, 16, 0, 0), "24",
       {1, 0, 0, 0, 0, 1, 0,
        5, 6, 5, 0, 0xF800, 0x07E0, 0x001F, 0, 16, 16, 0, 0, 0, 0, 24, 0, {0, 0}, 0}},
      {"GLFORCEZBITS 24 without a depth buffer",
       Descriptor(0, PFD_TYPE_RGBA, 16, 5, 11, 6, 5, 5, 0, 0, 0, 0, 0, 0), "24",
       {1, 0, 0, 0, 0, 0, 0,
        5, 6, 5, 0, 0xF800, 0x07E0, 0x001F, 0, 16, 16, 0, 0, 0, 0, 24, 0, {0, 0}, 0}},
      {"GLFORCEZBITS 0 is taken as it stands",
       Descriptor(0, PFD_TYPE_RGBA, 16, 5, 11, 6, 5, 5, 0, 0, 0, 16, 0, 0), "0",
       {1, 0, 0, 0, 0, 1, 0,
        5, 6, 5, 0, 0xF800, 0x07E0, 0x001F, 0, 16, 16, 0, 0, 0, 0, 0, 0, {0, 0}, 0}},
      {"GLFORCEZBITS beyond any depth is ignored",
       Descriptor(0, PFD_TYPE_RGBA, 16, 5, 11, 6, 5, 5, 0, 0, 0, 16, 0, 0), "4000000000",
       {1, 0, 0, 0, 0, 1, 0,
        5, 6, 5, 0, 0xF800, 0x07E0, 0x001F, 0, 16, 16, 0, 0, 0, 0, 16, 0, {0, 0}, 0}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    ZBitsEnvironment environment(c.forceZ);
    GlModes modes;
    memset(&modes, 0xA5, sizeof modes);
    __wglFormatGLModes(&modes, &c.descriptor);
    EXPECT_EQ(memcmp(&modes, &c.want, sizeof modes), 0);
    EXPECT_EQ(modes.depthBits, c.want.depthBits);
    EXPECT_EQ(modes.redMask, c.want.redMask);
    EXPECT_EQ(modes.stereoMode, c.want.stereoMode);
  }
}

TEST(GlModesFromDescriptor, ElementSizes) {
  const struct {
    uint32_t bits, depthElement, otherElement;
  } cases[] = {
      {1, 1, 1}, {8, 1, 1}, {9, 2, 2}, {15, 2, 2}, {16, 2, 2},
      {17, 4, 3}, {24, 4, 3}, {25, 4, 4}, {32, 4, 4}, {64, 4, 8},
  };
  static WglDrawablePrivate drawable;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.bits);
    EXPECT_EQ(__wglDepthElementSize(c.bits), c.depthElement);
    EXPECT_EQ(__wglBufferElementSize(&drawable.drawable.depth, &drawable, c.bits), c.depthElement);
    EXPECT_EQ(__wglBufferElementSize(&drawable.drawable.back, &drawable, c.bits), c.otherElement);
    EXPECT_EQ(__wglBufferElementSize(&drawable.drawable.accum, &drawable, c.bits), c.otherElement);
  }
}

TEST(Allocators, ZeroFilledSizesAndFailures) {
  PlatformHeapStats before = PlatformGetHeapStats();
  EXPECT_EQ(__wglMalloc(0), nullptr);
  EXPECT_EQ(__wglCalloc(0, 8), nullptr);
  EXPECT_EQ(__wglCalloc(8, 0), nullptr);
  EXPECT_EQ(__wglCalloc(0x10000, 0x10001), nullptr);  // the product wraps
  EXPECT_EQ(__wglRealloc(nullptr, 0), nullptr);

  const struct {
    size_t from, to;
  } cases[] = {{16, 64}, {64, 16}, {32, 32}, {0, 24}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.to);
    uint8_t *block = static_cast<uint8_t *>(__wglMalloc(c.from));
    for (size_t i = 0; i < c.from; ++i) block[i] = uint8_t(i + 1);
    uint8_t *grown = static_cast<uint8_t *>(__wglRealloc(block, c.to));
    ASSERT_NE(grown, nullptr);
    for (size_t i = 0; i < c.to; ++i) EXPECT_EQ(grown[i], i < c.from ? uint8_t(i + 1) : 0) << i;
    __wglFree(grown);
  }

  // A failed growth leaves the old block as it was.
  uint8_t *block = static_cast<uint8_t *>(__wglCalloc(4, 4));
  block[3] = 7;
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 1, 0});
  EXPECT_EQ(__wglRealloc(block, 64), nullptr);
  PlatformClearFaults();
  EXPECT_EQ(block[3], 7);
  EXPECT_EQ(__wglRealloc(block, 0), nullptr);  // frees it
  __wglFree(nullptr);
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
}

using Records = EntriesTest;

TEST_F(Records, ContextListFindsByHandleContextAndWindow) {
  static WglContext a, b, c;
  HWND w1 = window_, w2 = singleWindow_;
  a = WglContext();
  b = WglContext();
  c = WglContext();
  a.handle = 101, a.gc = reinterpret_cast<GlContext *>(0x1000), a.hwnd = w1;
  b.handle = 102, b.gc = reinterpret_cast<GlContext *>(0x2000), b.hwnd = w2;
  c.handle = 103, c.gc = reinterpret_cast<GlContext *>(0x3000), c.hwnd = w1;
  WglContext *head = glrcListEnd.next;
  __wglAddContext(&a);
  __wglAddContext(&b);
  __wglAddContext(&c);
  EXPECT_EQ(glrcListEnd.next, &c);
  EXPECT_EQ(c.prev, &glrcListEnd);
  EXPECT_EQ(a.prev, &b);

  const struct {
    const char *label;
    WglContext *found, *want;
  } finds[] = {
      {"handle 0 is the sentinel", __wglFindWGLContext(0), &glrcListEnd},
      {"handle", __wglFindWGLContext(102), &b},
      {"unknown handle", __wglFindWGLContext(999), nullptr},
      {"gc", __wglFindWGLGLcontext(a.gc), &a},
      {"unknown gc", __wglFindWGLGLcontext(reinterpret_cast<GlContext *>(0x4000)), nullptr},
      {"window: newest first", __wglFindWGLWindow(w1, nullptr), &c},
      {"window: after a record", __wglFindWGLWindow(w1, &c), &a},
      {"window: no more", __wglFindWGLWindow(w1, &a), nullptr},
      {"no window", __wglFindWGLWindow(nullptr, nullptr), nullptr},
  };
  for (const auto &f : finds) EXPECT_EQ(f.found, f.want) << f.label;

  __wglRemoveContext(&b);
  EXPECT_EQ(__wglFindWGLContext(102), nullptr);
  EXPECT_EQ(c.next, &a);
  EXPECT_EQ(a.prev, &c);
  __wglRemoveContext(&c);
  EXPECT_EQ(glrcListEnd.next, &a);
  EXPECT_EQ(a.prev, &glrcListEnd);
  __wglRemoveContext(&a);
  EXPECT_EQ(glrcListEnd.next, head);
}

TEST_F(Records, ImportsSeeTheBoundDrawable) {
  DHGLRC handle = Create(windowDC_);
  GlContext *gc = Record(handle)->gc;
  int32_t x = -1, y = -1;
  uint32_t width = 1, height = 1;
  EXPECT_EQ(gc->imports.getDrawablePrivate(gc), nullptr);
  EXPECT_FALSE(gc->imports.getDrawableSize(gc, &x, &y, &width, &height));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(width, 0u);
  EXPECT_EQ(height, 0u);

  ASSERT_TRUE(Bind(windowDC_, handle));
  EXPECT_EQ(gc->imports.getDrawablePrivate(gc), &Drawable(windowDC_)->drawable);
  MoveWindow(window_, 30, 40, 50, 60, FALSE);
  EXPECT_TRUE(gc->imports.getDrawableSize(gc, &x, &y, &width, &height));
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  EXPECT_EQ(width, 50u);
  EXPECT_EQ(height, 60u);
  EXPECT_TRUE(DrvReleaseContext(handle));
  EXPECT_EQ(gc->imports.getDrawablePrivate(gc), nullptr);
}

TEST_F(Records, ExtensionEntriesByExactName) {
  const struct {
    const char *name;
    VlxDriverProc entry;
  } rows[] = {
#define ROW(Name) {"gl" #Name, reinterpret_cast<VlxDriverProc>(&gl##Name)}
      ROW(ArrayElementEXT),     ROW(DrawArraysEXT),
      ROW(VertexPointerEXT),    ROW(NormalPointerEXT),
      ROW(ColorPointerEXT),     ROW(IndexPointerEXT),
      ROW(TexCoordPointerEXT),  ROW(EdgeFlagPointerEXT),
      ROW(GetPointervEXT),      ROW(ColorSubTableEXT),
      ROW(ColorTableEXT),       ROW(CopyColorTableEXT),
      ROW(GetColorTableEXT),    ROW(GetColorTableParameterfvEXT),
      ROW(GetColorTableParameterivEXT), ROW(LockArraysVLX),
      ROW(UnlockArraysVLX),     ROW(CullParameterdvVLX),
      ROW(CullParameterfvVLX),  ROW(IndexFuncVLX),
      ROW(IndexMaterialVLX),    ROW(AddSwapHintRectWIN),
#undef ROW
      {"glLockArraysVLx", nullptr},
      {"glLockArraysVLX ", nullptr},
      {"glLockArrays", nullptr},
      {"glBegin", nullptr},
      {"", nullptr},
  };
  DHGLRC handle = Create(windowDC_);
  ASSERT_TRUE(Bind(windowDC_, handle));
  for (const auto &row : rows) EXPECT_EQ(DrvGetProcAddress(row.name), row.entry) << row.name;
  EXPECT_EQ(DrvGetProcAddress(nullptr), nullptr);
  EXPECT_TRUE(DrvReleaseContext(handle));
}

// The swap goes to the first context bound to the window, double-buffered
// ones only, and answers with the drawable's swap.
int gSwaps;
BOOL CountingSwap(WglDrawablePrivate *) { return ++gSwaps, 0x101; }

TEST_F(Records, SwapCallsTheBoundDrawablesSwap) {
  const struct {
    HDC EntriesTest::*dc;
    bool bind;
    int swaps;
    BOOL result;
  } cases[] = {
      {&EntriesTest::windowDC_, true, 1, 1},   // the byte of the answer
      {&EntriesTest::windowDC_, false, 0, 0},  // nothing bound to the window
      {&EntriesTest::singleDC_, true, 0, 0},   // single-buffered
  };
  for (const auto &c : cases) {
    HDC hdc = this->*c.dc;
    DHGLRC handle = Create(hdc);
    WglDrawablePrivate *drawable = Drawable(hdc);
    WglSwapProc saved = drawable->swapBuffers;
    drawable->swapBuffers = CountingSwap;
    gSwaps = 0;
    if (c.bind) {
      ASSERT_TRUE(Bind(hdc, handle));
    }
    EXPECT_EQ(DrvSwapBuffers(hdc), c.result);
    EXPECT_EQ(gSwaps, c.swaps);
    if (c.bind) {
      EXPECT_TRUE(DrvReleaseContext(handle));
    }
    drawable->swapBuffers = saved;
    EXPECT_TRUE(DrvDeleteContext(handle));
  }
}

}  // namespace
}  // namespace wgl_test

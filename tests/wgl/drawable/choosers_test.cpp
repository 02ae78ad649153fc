// The three buffer sets with the real buffer kinds: what each chooser
// installs, the depths it gives each buffer, and the depth buffer's element
// size end to end (the core keeps depths of 17 to 32 bits in 32-bit words).
#include <string.h>

#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_choosers.h"
#include "wgl/wgl_dci.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

enum class Set { kDDraw, kDCI, kDIB };

const char *Name(Set s) { return s == Set::kDDraw ? "DirectDraw" : s == Set::kDCI ? "DCI" : "DIB"; }

class ChooserTest : public DrawableTest {
 protected:
  void SetUp() override {
    DrawableTest::SetUp();
    ASSERT_TRUE(__wglDDrawOpen());
    ASSERT_TRUE(__wglDCIOpen());
    device_.flags = 0x24;  // back and depth in video memory
    device_.freeBuffers = __wglFreeBuffers;
    device_.updateDrawablePalette = __wglDDrawUpdateDrawablePalette;
    device_.dibInitDrawable = __wglDIBInitDrawable;
  }
  void TearDown() override {
    __wglFreeDrawableList();
    __wglDCIClose();
    __wglDDrawClose();
    DrawableTest::TearDown();
  }

  // A drawable of the set: a window for DirectDraw and DCI, a memory DC
  // with a DIB section (bottom-up when height > 0) for the bitmap set.
  WglDrawablePrivate *Make(Set set, const GlModes &modes, int width, int height,
                           int bitmapBits = 16) {
    device_.initDrawable = set == Set::kDCI ? __wglDCIInitDrawable : __wglDDrawInitDrawable;
    if (set == Set::kDIB) return Create(BitmapDC(width, height, bitmapBits), nullptr, modes);
    HWND w = Window(20, 30, width, height);
    return Create(GetDC(w), w, modes);
  }
};

TEST_F(ChooserTest, EachSetInstallsItsSwapsAndClipList) {
  struct Case {
    Set set;
    int bitmapHeight;  // the bitmap set: negative for a top-down bitmap
    WglSwapProc swap, memorySwap;
    void (*clipList)(GlDrawable *);
    void (*palette)(WglDrawablePrivate *);
    uint8_t yInverted;
  };
  const Case cases[] = {
      {Set::kDDraw, 0, __wglDDrawDDrawSwapBuffers, __wglDDrawMemSwapBuffers,
       __wglDDrawUpdateClipList, __wglDDrawUpdateDrawablePalette, 1},
      {Set::kDCI, 0, __wglDCIDIBSwapBuffers, nullptr, __wglDCIUpdateClipList,
       __wglDIBUpdateDrawablePalette, 1},
      {Set::kDIB, 16, nullptr, nullptr, __wglDIBUpdateClipList, __wglDDrawUpdateDrawablePalette, 0},
      {Set::kDIB, -16, nullptr, nullptr, __wglDIBUpdateClipList, __wglDDrawUpdateDrawablePalette,
       1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << Name(c.set) << " " << c.bitmapHeight);
    WglDrawablePrivate *d =
        Make(c.set, Modes(true, true, true, true), 16, c.set == Set::kDIB ? c.bitmapHeight : 16);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->swapBuffers, c.swap);
    EXPECT_EQ(d->setSwapBuffers, c.swap);
    EXPECT_EQ(d->memSwapBuffers, c.memorySwap);
    EXPECT_EQ(d->drawable.updateClipList, c.clipList);
    EXPECT_EQ(d->updateDrawablePalette, c.palette);
    EXPECT_EQ(d->freeBuffers, __wglFreeBuffers);
    EXPECT_EQ(d->drawable.yInverted, c.yInverted);
  }
}

TEST_F(ChooserTest, DirectDrawBuffersFallBackToMemory) {
  WglDrawablePrivate *d = Make(Set::kDDraw, Modes(true, true, true, true), 16, 16);
  struct Case {
    const char *name;
    const GlDrawableBuffer *buffer;
    WglSurfaceInitProc own;
    WglBufferInitProc fallback;
  };
  const GlDrawable &v = d->drawable;
  const Case cases[] = {
      {"front", &v.front, nullptr, nullptr},
      {"back", &v.back, __wglInitDDraw, __wglInitMem},
      {"accumulation", &v.accum, nullptr, nullptr},
      {"depth", &v.depth, __wglInitDDrawDepth, __wglInitMem},
      {"stencil", &v.stencil, __wglInitDDraw, __wglInitMem},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.buffer->ownInit, c.own);
    EXPECT_EQ(c.buffer->fallbackInit, c.fallback);
  }
}

TEST_F(ChooserTest, BuffersTakeTheirDepthsFromTheModes) {
  // Colour 16 bits, or 8-bit indices; accumulation 4 x 16; depth 24; stencil 8.
  GlModes rgba = Modes(true, true, true, true, 24);
  GlModes index = rgba;
  index.rgbMode = 0, index.colorIndexMode = 1;
  index.colorBits = 0, index.indexBits = 8;
  index.haveAccumBuffer = 0;
  index.accumRedBits = index.accumGreenBits = index.accumBlueBits = index.accumAlphaBits = 0;
  struct Case {
    Set set;
    const GlModes *modes;
    int bitmapBits;
    uint32_t front, back, accum, depth, stencil;  // 0: the buffer stays empty
  };
  const Case cases[] = {
      // The DirectDraw front buffer is the screen, at the display's depth.
      {Set::kDDraw, &rgba, 16, 16, 16, 64, 24, 8},
      {Set::kDDraw, &index, 16, 16, 8, 0, 24, 8},
      {Set::kDCI, &rgba, 16, 16, 16, 64, 24, 8},
      {Set::kDCI, &index, 16, 8, 8, 0, 24, 8},
      // A bitmap never has a back buffer.
      {Set::kDIB, &rgba, 16, 16, 0, 64, 24, 8},
      {Set::kDIB, &index, 8, 8, 0, 0, 24, 8},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << Name(c.set) << (c.modes == &index ? " index" : " RGBA"));
    WglDrawablePrivate *d = Make(c.set, *c.modes, 16, 16, c.bitmapBits);
    const GlDrawable &v = d->drawable;
    const GlDrawableBuffer *buffers[] = {&v.front, &v.back, &v.accum, &v.depth, &v.stencil};
    const uint32_t depths[] = {c.front, c.back, c.accum, c.depth, c.stencil};
    for (int i = 0; i < 5; i++) {
      SCOPED_TRACE(i);
      EXPECT_EQ(buffers[i]->depth, depths[i]);
      if (depths[i] == 0) {
        EXPECT_EQ(buffers[i]->update, nullptr) << "an absent buffer stays empty";
        EXPECT_EQ(buffers[i]->free, nullptr);
      }
    }
  }
}

// Every set's depth buffer holds width x height elements of the size the
// core writes: 2 bytes up to 16 bits, 4 bytes above.
TEST_F(ChooserTest, DepthElementsAreTheCoresWordSize) {
  struct Case {
    Set set;
    uint32_t depthBits;
    uint32_t elementSize, log2;
  };
  const Case cases[] = {
      {Set::kDDraw, 16, 2, 1}, {Set::kDDraw, 24, 4, 2}, {Set::kDDraw, 32, 4, 2},
      {Set::kDCI, 16, 2, 1},   {Set::kDCI, 24, 4, 2},   {Set::kDCI, 32, 4, 2},
      {Set::kDIB, 16, 2, 1},   {Set::kDIB, 24, 4, 2},   {Set::kDIB, 32, 4, 2},
  };
  const int width = 100, height = 37;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << Name(c.set) << " depth " << c.depthBits);
    WglDrawablePrivate *d =
        Make(c.set, Modes(true, false, true, false, c.depthBits), width, height, 32);
    ASSERT_TRUE(__wglUpdateDrawableBuffers(d));
    GlDrawable *v = &d->drawable;
    GlDrawableBuffer *depth = &v->depth;
    EXPECT_EQ(depth->depth, c.depthBits);
    EXPECT_EQ(depth->elementSize, c.elementSize);
    EXPECT_EQ(depth->elementSizeLog2, c.log2);
    if (depth->lock) depth->lock(depth, v);
    ASSERT_NE(depth->base, nullptr);
    EXPECT_GE(depth->pitchBytes, int32_t(width * depth->elementSize));
    EXPECT_EQ(depth->pitch, depth->pitchBytes / int32_t(depth->elementSize));
    // Distinct words everywhere, read back unchanged: rows must not overlap.
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) {
        uint32_t value = uint32_t(y * width + x) * 2654435761u;
        memcpy(depth->base + y * depth->pitchBytes + x * depth->elementSize, &value,
               depth->elementSize);
      }
    int wrong = 0;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) {
        uint32_t value = uint32_t(y * width + x) * 2654435761u, read = 0, expect = 0;
        memcpy(&read, depth->base + y * depth->pitchBytes + x * depth->elementSize,
               depth->elementSize);
        memcpy(&expect, &value, depth->elementSize);
        wrong += read != expect;
      }
    EXPECT_EQ(wrong, 0);
    if (depth->unlock) depth->unlock(depth, v);
  }
}

// A bitmap's front buffer has the bitmap's pixel size: a 32-bit format has
// only 24 component bits, yet its pixels are 4 bytes.
TEST_F(ChooserTest, ABitmapsFrontBufferHasTheBitmapsPixelSize) {
  struct Case {
    int bitmapBits;
    uint32_t colorBits, red, green, blue;
    uint32_t elementSize;
  };
  const Case cases[] = {
      {16, 16, 5, 6, 5, 2},
      {24, 24, 8, 8, 8, 3},
      {32, 32, 8, 8, 8, 4},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.bitmapBits);
    GlModes m = Modes(false, false, false, false);
    m.colorBits = m.indexBits = c.colorBits;
    m.redBits = c.red, m.greenBits = c.green, m.blueBits = c.blue, m.alphaBits = 0;
    WglDrawablePrivate *d = Make(Set::kDIB, m, 10, -4, c.bitmapBits);
    ASSERT_TRUE(__wglUpdateDrawableBuffers(d));
    EXPECT_EQ(d->drawable.front.elementSize, c.elementSize);
    EXPECT_EQ(d->drawable.front.depth, uint32_t(c.bitmapBits));
    EXPECT_EQ(d->drawable.front.width, 10u);
    EXPECT_EQ(d->drawable.front.height, 4u);
  }
}

}  // namespace
}  // namespace drawable_test

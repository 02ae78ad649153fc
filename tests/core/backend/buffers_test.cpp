// The buffer objects of a bound context: the depth range words they give,
// window size changes, and the back end's window-system operations.
#include <gtest/gtest.h>

#include <limits.h>

#include <memory>

#include "core/context.h"
#include "core/current.h"
#include "core/s_backend.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

class BoundBuffers : public LifeTest {
 protected:
  void Finish(GlContext *gc) {
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
};

TEST_F(BoundBuffers, DepthMaxFollowsTheDepthBuffer) {
  struct Case {
    const char *what;
    uint32_t depthBits;
    uint32_t scale;
    float depthMax;
  } cases[] = {
      {"no depth buffer", 0, 0x7FFFFF80u, 2147483520.0f},
      {"16 bits", 16, 0xFFFF0000u, 4294901760.0f},
      {"24 bits", 24, 0x7FC00000u, 2143289344.0f},
      {"32 bits", 32, 0x7FC00000u, 2143289344.0f},
  };
  TestWindow window(64, 64);
  UseWindow(&window);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlContext *gc = CreateBound(TestModes(true, true, c.depthBits));
    ASSERT_NE(gc, nullptr);
    EXPECT_EQ(gc->depthBuffer.scale, c.scale);
    EXPECT_EQ(gc->constants.depthMax, c.depthMax);
    Finish(gc);
  }
}

TEST_F(BoundBuffers, ColourBuffersTakeTheVisualsRanges) {
  GlModes rgba = TestModes();
  rgba.redBits = 8, rgba.greenBits = 8, rgba.blueBits = 8, rgba.alphaBits = 2;
  GlModes ci = TestModes(false);
  ci.indexBits = 4;
  struct Case {
    const char *what;
    GlModes modes;
    float red, green, blue, alpha;
    uint32_t redMax;  // the red mask shifted down, or the index mask
  } cases[] = {
      {"5-6-5", TestModes(), 31, 63, 31, 255, 31},
      {"8-8-8-2", rgba, 255, 255, 255, 3, 31},
      {"colour index 4 bits", ci, 255, 255, 255, 255, 0xF},
  };
  TestWindow window(64, 64);
  UseWindow(&window);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlContext *gc = CreateBound(c.modes);
    ASSERT_NE(gc, nullptr);
    for (GlColorBuffer *cfb : {&gc->frontBuffer, &gc->backBuffer}) {
      EXPECT_EQ(cfb->redScale, c.red);
      EXPECT_EQ(cfb->greenScale, c.green);
      EXPECT_EQ(cfb->blueScale, c.blue);
      EXPECT_EQ(cfb->alphaScale, c.alpha);
      EXPECT_EQ(cfb->redMax, c.redMax);
    }
    Finish(gc);
  }
}

// The depth buffer keeps the direction it stores depth in to itself: the
// depth range of a bound context is the same whichever way it runs.
TEST_F(BoundBuffers, TheDepthRangeIgnoresTheDepthBuffersDirection) {
  TestWindow window(64, 64);
  UseWindow(&window);
  GlContext *gc = CreateBound(TestModes(true, true, 24));
  ASSERT_NE(gc, nullptr);
  gc->dispatch.DepthRange(0.1, 0.9);
  const float zScale = gc->state.viewport.zScale, zCenter = gc->state.viewport.zCenter;
  auto *rec = static_cast<GlDepthBufferPrivate *>(window.drawable()->depth.corePrivate);
  ASSERT_NE(rec, nullptr) << "the binding made the depth buffer's record";
  for (uint8_t reverse : {1, 0}) {
    SCOPED_TRACE(reverse);
    rec->reverse = reverse;
    __glUpdateDepthRange(gc);
    EXPECT_EQ(gc->state.viewport.zScale, zScale);
    EXPECT_EQ(gc->state.viewport.zCenter, zCenter);
  }
  EXPECT_EQ(zScale, float((0.9 - 0.1) * 0.5));
  Finish(gc);
}

TEST_F(BoundBuffers, WindowSizeChanges) {
  struct Case {
    const char *what;
    bool yInverted;
    int32_t width, height;
    bool taken;
    float rasterShift;  // of the raster position's window y
  } cases[] = {
      {"same size", false, 640, 480, true, 0},
      {"smaller", false, 320, 240, true, 0},
      {"top-down, 10 rows fewer", true, 640, 470, true, -10},
      {"top-down, wider only", true, 700, 480, true, 0},
      {"top-down, 20 rows more", true, 640, 500, true, 20},
      {"negative width", false, -1, 480, false, 0},
      {"negative height", true, 640, INT_MIN, false, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(640, 480, c.yInverted);
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes());
    ASSERT_NE(gc, nullptr);
    const float rasterY = gc->state.current.rasterPos.window.y;
    window.Resize(c.width, c.height);  // what getDrawableSize reports too
    EXPECT_EQ(__glChangeWindowSize(gc, 0, 0, c.width, c.height), c.taken);
    EXPECT_EQ(gc->constants.width, c.taken ? c.width : 640);
    EXPECT_EQ(gc->constants.height, c.taken ? c.height : 480);
    EXPECT_EQ(gc->state.current.rasterPos.window.y, rasterY + c.rasterShift);
    if (c.taken) {
      // The clip box follows the window (scissor test off).
      EXPECT_EQ(gc->transform.clipBox[2] - gc->transform.clipBox[0], c.width);
      EXPECT_EQ(gc->transform.clipBox[3] - gc->transform.clipBox[1], c.height);
    }
    window.Resize(640, 480);
    Finish(gc);
    UseWindow(nullptr);
  }
}

// The raster position the application set stays where it is, in window
// coordinates from the bottom-left corner, when the context is bound again
// to a window whose height or row order differs from the last one's.
TEST_F(BoundBuffers, RebindingKeepsTheRasterPosition) {
  struct Case {
    const char *what;
    bool fromInverted;
    int32_t fromHeight;
    bool toInverted;
    int32_t toHeight;
  } cases[] = {
      {"bottom-up, lower", false, 480, false, 400},
      {"top-down, lower", true, 480, true, 400},
      {"top-down, higher", true, 480, true, 600},
      {"top-down, same height", true, 480, true, 480},
      {"bottom-up to top-down", false, 480, true, 480},
      {"top-down to bottom-up, lower", true, 480, false, 300},
      {"bottom-up to top-down, higher", false, 200, true, 700},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow from(640, c.fromHeight, c.fromInverted);
    TestWindow to(640, c.toHeight, c.toInverted);
    UseWindow(&from);
    GlContext *gc = CreateBound(TestModes());
    ASSERT_NE(gc, nullptr);
    GlVertex &rp = gc->state.current.rasterPos;
    rp.window.x += 10.0f;
    rp.window.y += c.fromInverted ? -150.0f : 150.0f;
    const float x = __glReturnWindowX(gc, rp.window.x);
    const float y = __glReturnWindowY(gc, rp.window.y);
    ASSERT_EQ(y, 150.0f);
    ASSERT_TRUE(Release(gc));

    UseWindow(&to);
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(__glReturnWindowX(gc, rp.window.x), x);
    EXPECT_EQ(__glReturnWindowY(gc, rp.window.y), y);
    Finish(gc);
    UseWindow(nullptr);
  }
}

// A context of the test visual bound to a 640 x 480 window.
class BoundWindow : public BoundBuffers {
 protected:
  void SetUp() override {
    BoundBuffers::SetUp();
    UseWindow(&window);
    gc = CreateBound(TestModes());
    ASSERT_NE(gc, nullptr);
  }
  void TearDown() override {
    window.Resize(640, 480);
    UseWindow(&window);
    if (gc) Finish(gc);
    BoundBuffers::TearDown();
  }
  TestWindow window{640, 480};
  GlContext *gc = nullptr;
};

TEST_F(BoundWindow, AResizeProcedureCanRefuse) {
  static int calls;
  calls = 0;
  gc->depthBuffer.buf.resize = [](GlBuffer *, int32_t, int32_t, int32_t, int32_t, uint32_t bit) {
    calls++;
    return GLbool8(bit != __GL_DEPTH_BUFFER_MASK);
  };
  gc->backBuffer.buf.resize = gc->depthBuffer.buf.resize;
  gc->stencilBuffer.buf.resize = gc->depthBuffer.buf.resize;
  EXPECT_FALSE(__glChangeWindowSize(gc, 0, 0, 100, 100));
  EXPECT_EQ(calls, 2) << "back, then depth, which refuses; stencil is not asked";
  EXPECT_EQ(gc->constants.width, 640);
  EXPECT_FALSE(gc->exports.notifyChangeBufferSize(gc, 0, 0, 100, 100));
  EXPECT_EQ(gc->constants.width, 640);
  gc->depthBuffer.buf.resize = gc->backBuffer.buf.resize = gc->stencilBuffer.buf.resize = nullptr;
}

TEST_F(BoundWindow, WithoutAWindowSizeTheViewportIsLeftAlone) {
  UseWindow(nullptr);  // the layer reports no size
  EXPECT_FALSE(__glFindWindowSize(gc));
  EXPECT_FALSE(gc->procs.applyViewport(gc));
  EXPECT_FALSE(gc->procs.applyScissor(gc));
  EXPECT_EQ(gc->constants.width, 640);
}

TEST_F(BoundWindow, NotificationsOfTheWindowSystem) {

  window.Resize(300, 200);
  EXPECT_TRUE(gc->exports.notifyChangeBufferSize(gc, 0, 0, 300, 200));
  EXPECT_EQ(gc->constants.width, 300);
  EXPECT_EQ(gc->transform.viewportInside, 0u) << "the old viewport sticks out";
  EXPECT_FALSE(gc->exports.notifyChangeBufferSize(gc, 0, 0, 0x80000000u, 200));

  // Lost buffers: the window reads as empty.
  window.Resize(0, 0);
  gc->exports.notifyDestroyBuffers(gc);
  EXPECT_EQ(gc->constants.width, 0);
  EXPECT_EQ(gc->constants.height, 0);

  static int flushes;
  flushes = 0;
  gc->procs.flush = [](GlContext *) { flushes++; };
  gc->exports.swapBuffers(gc);
  EXPECT_EQ(flushes, 1);
}

}  // namespace
}  // namespace life_test

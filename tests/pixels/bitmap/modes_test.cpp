// What a bitmap does besides drawing: the render modes, the raster move on
// normal and top-down drawables, the entry's errors, refused and far-away
// bitmaps, and the buffer locks.
#include <gtest/gtest.h>

#include <math.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "tests/pixels/bitmap/bitmap_fixture.h"
#include "tests/pixels/draw/lock_recorder.h"
#include "tests/support/counting_imports.h"

namespace bitmap_test {
namespace {

const GLubyte kBits[8] = {0xFF, 0x81, 0xFF, 0x81, 0xFF, 0x81, 0xFF, 0x81};

class BitmapModes : public BitmapTest {
 protected:
  // Nothing in the draw buffer changed.
  bool Untouched() {
    for (uint32_t p : Image())
      if (p != 0x5A5Au) return false;
    return true;
  }
  float RasterWindowY() { return gc->state.current.rasterPos.window.y; }
};

// The raster move: (xmove, ymove) in OpenGL's coordinates, ymove in rows
// downwards on a top-down drawable; an empty bitmap moves too.
TEST_F(BitmapModes, MovesTheRasterPositionByItsStep) {
  struct Case {
    const char *name;
    bool yInverted;
    int width, height;
    const GLubyte *bits;
    float rowStep;  // of the window y the renderers keep
  } cases[] = {
      {"empty", false, 0, 0, nullptr, 7},
      {"empty, top-down", true, 0, 0, nullptr, -7},
      {"drawn", false, 8, 4, kBits, 7},
      {"drawn, top-down", true, 8, 4, kBits, -7},
      {"no bits for a non-empty bitmap", false, 8, 4, nullptr, 7},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    OpenTarget(true, c.yInverted);
    glRasterPos2f(10, 12);
    const std::vector<float> before = RasterPosition();
    const float rowBefore = RasterWindowY();
    glBitmap(c.width, c.height, 0, 0, 5, 7, c.bits);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const std::vector<float> after = RasterPosition();
    EXPECT_EQ(after[0], before[0] + 5);
    EXPECT_EQ(after[1], before[1] + 7);
    EXPECT_EQ(RasterWindowY(), rowBefore + c.rowStep);
    if (c.bits == nullptr) {
      EXPECT_TRUE(Untouched());
    }
  }
}

// Invalid position: nothing; selection: the move only; feedback: one
// bitmap record, then the move.
TEST_F(BitmapModes, RenderModesDecideWhatHappens) {
  struct Case {
    const char *name;
    GLenum mode;
    bool valid;
    bool moves;
    int records;
  } cases[] = {
      {"invalid raster position", GL_RENDER, false, false, 0},
      {"select", GL_SELECT, true, true, 0},
      {"feedback", GL_FEEDBACK, true, true, 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    OpenTarget(true);
    GLfloat feedback[64] = {};
    GLuint names[16] = {};
    glFeedbackBuffer(64, GL_3D, feedback);
    glSelectBuffer(16, names);
    glRasterPos2f(10, 12);
    if (!c.valid) glRasterPos2f(-100, 12);
    const std::vector<float> before = RasterPosition();
    glRenderMode(c.mode);
    for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastRGB16}) {
      Pin(r);
      const std::vector<float> start = RasterPosition();
      glBitmap(8, 4, 0, 0, 5, 7, kBits);
      const std::vector<float> end = RasterPosition();
      EXPECT_EQ(end[0], start[0] + (c.moves ? 5 : 0));
      EXPECT_EQ(end[1], start[1] + (c.moves ? 7 : 0));
    }
    GLint valid = 0;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    EXPECT_EQ(valid != 0, c.valid);
    const GLint values = glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(Untouched());
    if (c.mode == GL_FEEDBACK) {
      // Two records of a token and an x, y, z vertex, the second one step on.
      ASSERT_EQ(values, 8);
      EXPECT_EQ(feedback[0], GLfloat(GL_BITMAP_TOKEN));
      EXPECT_EQ(feedback[1], before[0]);
      EXPECT_EQ(feedback[2], before[1]);
      EXPECT_EQ(feedback[4], GLfloat(GL_BITMAP_TOKEN));
      EXPECT_EQ(feedback[5], before[0] + 5);
      EXPECT_EQ(feedback[6], before[1] + 7);
    }
  }
}

// Refused calls record their error and neither draw nor move.
TEST_F(BitmapModes, RefusedCallsLeaveEverything) {
  struct Case {
    const char *name;
    void (*call)();
    GLenum error;
  } cases[] = {
      {"inside glBegin",
       [] {
         glBegin(GL_POINTS);
         glBitmap(8, 4, 0, 0, 5, 7, kBits);
         glEnd();
       },
       GL_INVALID_OPERATION},
      {"negative width", [] { glBitmap(-1, 4, 0, 0, 5, 7, kBits); }, GL_INVALID_VALUE},
      {"negative height", [] { glBitmap(8, -4, 0, 0, 5, 7, kBits); }, GL_INVALID_VALUE},
      {"no memory for the temporary",
       [] {
         CountingImports::failAllocation(1);
         glBitmap(8, 4, 0, 0, 5, 7, kBits);
         CountingImports::failAllocation(0);
       },
       GL_OUT_OF_MEMORY},
      {"rows out of the client's reach",
       [] {
         glPixelStorei(GL_UNPACK_SKIP_ROWS, 0x7FFFFFF);
         glPixelStorei(GL_UNPACK_ROW_LENGTH, 0x7FFFFFF);
         glBitmap(8, 4, 0, 0, 5, 7, kBits);
       },
       GL_INVALID_VALUE},
      {"a temporary beyond 2^31 bytes",
       [] { glBitmap(0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 5, 7, kBits); }, GL_OUT_OF_MEMORY},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    OpenTarget(true);
    glRasterPos2f(10, 12);
    Validate();
    const std::vector<float> before = RasterPosition();
    c.call();
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_EQ(RasterPosition(), before);
    EXPECT_TRUE(Untouched());
  }
}

// Origins and positions beyond any drawable draw nothing, write nothing
// outside the buffer and still move.
TEST_F(BitmapModes, FarAwayBitmapsDrawNothing) {
  struct Case {
    const char *name;
    float xorig, yorig, premove;
  } cases[] = {
      {"xorig 1e30", 1e30f, 0, 0},
      {"xorig -1e30", -1e30f, 0, 0},
      {"yorig 1e30", 0, 1e30f, 0},
      {"yorig -1e30", 0, -1e30f, 0},
      {"xorig NaN", NAN, 0, 0},
      {"moved 1e30 away", 0, 0, 1e30f},
      {"moved -3e38 away twice", 0, 0, -3e38f},
  };
  for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastRGB16})
    for (const auto &c : cases) {
      SCOPED_TRACE(c.name);
      OpenTarget(true);
      glRasterPos2f(10, 12);
      if (c.premove != 0) {
        glBitmap(0, 0, 0, 0, c.premove, 0, nullptr);
        glBitmap(0, 0, 0, 0, c.premove, 0, nullptr);
      }
      Pin(r);
      static GLubyte ones[64 * 8];
      memset(ones, 0xFF, sizeof ones);
      glBitmap(64, 8, c.xorig, c.yorig, 1, 0, ones);
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      EXPECT_TRUE(Untouched());
    }
}

// Drawn bits are written under one lock of the render buffers; a bitmap
// with no bits takes none.
TEST_F(BitmapModes, LocksTheRenderBuffersOnceAroundTheBits) {
  for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastRGB16}) {
    OpenTarget(true);
    glRasterPos2f(10, 12);
    Pin(r);
    const uint32_t mask = gc->renderBufferMask;
    draw_test::LockRecorder locks(gc);
    glBitmap(8, 4, 0, 0, 5, 7, kBits);
    EXPECT_EQ(locks.Masks(), (std::vector<uint32_t>{mask, mask | locks.kUnlock}));
    locks.Masks().clear();
    glBitmap(0, 0, 0, 0, 5, 7, nullptr);
    glBitmap(8, 4, 0, 0, 5, 7, nullptr);
    EXPECT_TRUE(locks.Masks().empty());
    // Clipped whole: still balanced.
    glBitmap(8, 4, 500, 0, 5, 7, kBits);
    EXPECT_EQ(locks.Depth(), 0);
  }
}

}  // namespace
}  // namespace bitmap_test

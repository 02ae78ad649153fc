// glReadBuffer: which colour buffer each request reads, what queries get
// back, and the refusals of single-buffered and stereo-less visuals.
#include <string.h>

#include "tests/pixels/store/pixel_state_fixture.h"
#include "tests/support/counting_imports.h"

namespace pixel_state_test {
namespace {

struct ReadCase {
  GLenum mode;
  bool doubleBuffered;
  GLenum error;
  GLenum read;  // the buffer read, on success
};

const ReadCase kCases[] = {
    {GL_FRONT_LEFT, true, GL_NO_ERROR, GL_FRONT},
    {GL_FRONT, true, GL_NO_ERROR, GL_FRONT},
    {GL_LEFT, true, GL_NO_ERROR, GL_FRONT},
    {GL_LEFT, false, GL_NO_ERROR, GL_FRONT},
    {GL_BACK, true, GL_NO_ERROR, GL_BACK},
    {GL_BACK_LEFT, true, GL_NO_ERROR, GL_BACK},
    {GL_BACK, false, GL_INVALID_OPERATION, 0},
    {GL_BACK_LEFT, false, GL_INVALID_OPERATION, 0},
    {GL_FRONT_RIGHT, true, GL_INVALID_OPERATION, 0},
    {GL_BACK_RIGHT, true, GL_INVALID_OPERATION, 0},
    {GL_RIGHT, true, GL_INVALID_OPERATION, 0},
    {GL_AUX0, true, GL_INVALID_OPERATION, 0},  // no visual has auxiliary buffers
    {0x040C, true, GL_INVALID_OPERATION, 0},
    {0x04FF, true, GL_INVALID_OPERATION, 0},
    {0x0500, true, GL_INVALID_ENUM, 0},
    {GL_FRONT_AND_BACK, true, GL_INVALID_ENUM, 0},
    {GL_NONE, true, GL_INVALID_ENUM, 0},
    {0x03FF, false, GL_INVALID_ENUM, 0},
};

TEST_F(PixelStateTest, ReadBufferResolvesTheRequest) {
  for (bool doubleBuffered : {true, false}) {
    Use(TestModes(true, doubleBuffered));
    const GLenum initial = doubleBuffered ? GL_BACK : GL_FRONT;
    for (const ReadCase &c : kCases) {
      if (c.doubleBuffered != doubleBuffered) continue;
      SCOPED_TRACE(Hex(c.mode) + (doubleBuffered ? " double" : " single"));
      gc->pixel.readBuffer = gc->pixel.readBufferReturn = initial;
      Settle();
      glReadBuffer(c.mode);
      EXPECT_EQ(glGetError(), c.error);
      if (c.error != GL_NO_ERROR) {
        ExpectUnmarked();
        EXPECT_EQ(gc->pixel.readBuffer, initial);
        EXPECT_EQ(gc->pixel.readBufferReturn, initial);
        continue;
      }
      ExpectMarked(__GL_DIRTY_PIXEL | __GL_DIRTY_GENERIC);
      EXPECT_EQ(gc->pixel.readBuffer, c.read);
      EXPECT_EQ(gc->pixel.readBufferReturn, c.mode) << "queries get the request back";
    }
  }
}

// The next validation reads from the buffer chosen.
TEST_F(PixelStateTest, ReadBufferTakesEffectAtValidation) {
  ASSERT_NE(gc->back, nullptr);
  glReadBuffer(GL_LEFT);
  ValidatePending();
  EXPECT_EQ(gc->readBuffer, gc->front);
  glReadBuffer(GL_BACK);
  ValidatePending();
  EXPECT_EQ(gc->readBuffer, gc->back);
}

const GLfloat kHalf[] = {0.5f};
const GLuint kOne[] = {1};
const GLushort kMax[] = {65535};

// Every setter refuses to run between glBegin and glEnd and changes nothing.
TEST_F(PixelStateTest, SettersAreRefusedInsideBeginEnd) {
  void (*calls[])() = {
      [] { glPixelStorei(GL_UNPACK_ALIGNMENT, 1); },
      [] { glPixelStoref(GL_PACK_ROW_LENGTH, 3.0f); },
      [] { glPixelZoom(2.0f, 2.0f); },
      [] { glPixelTransferf(GL_RED_SCALE, 2.0f); },
      [] { glPixelTransferi(GL_INDEX_SHIFT, 1); },
      [] { glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 1, kHalf); },
      [] { glPixelMapuiv(GL_PIXEL_MAP_I_TO_I, 1, kOne); },
      [] { glPixelMapusv(GL_PIXEL_MAP_A_TO_A, 1, kMax); },
      [] { glReadBuffer(GL_FRONT); },
  };
  unsigned char before[sizeof(GlPixelMachine)];
  memcpy(before, &gc->pixel, sizeof before);
  for (size_t i = 0; i < sizeof calls / sizeof calls[0]; i++) {
    SCOPED_TRACE(i);
    glGetError();
    gc->beginMode = __GL_IN_BEGIN;
    calls[i]();
    EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_EQ(memcmp(&gc->pixel, before, sizeof before), 0);
  }
}

}  // namespace
}  // namespace pixel_state_test

// The buffer lock around every draw, and the draws the kernels leave to the
// generic path because they would get the buffers or the colours wrong:
// both buffers, no buffer, fog.
#include "core/current.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/pixels/draw/lock_recorder.h"
#include "tests/pixels/fast_draw/fast_draw_fixture.h"

namespace fast_draw_test {
namespace {

using draw_test::LockRecorder;

class Buffers : public FastDrawTest {};

TEST_F(Buffers, EveryDrawUnlocksWhatItLocked) {
  struct Case {
    const char *name;
    double x, y;
    float zoom;
    bool scissor;
    std::vector<GlRect> visible;
    int locks;  // nested lock levels taken
    bool draws;
  };
  const std::vector<GlRect> all = {{0, 0, draw_test::kWidth, draw_test::kHeight}};
  const Case kCases[] = {
      {"kernel", 10, 10, 1, false, all, 1, true},
      {"outside the window", -50, -50, 1, false, all, 1, false},
      {"outside the scissor box", 10, 10, 1, true, all, 1, false},
      {"no visible rectangle meets it", 10, 10, 1, false, {{30, 30, 40, 40}}, 1, false},
      {"generic", 10, 10, 2, false, all, 2, true},
      {"generic outside the window", -50, -50, 2, false, all, 1, false},
  };
  uint8_t image[4 * 3 * 3] = {};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    OpenFormat(Format("5-6-5"));
    SetVisible(c.visible);
    glPixelZoom(c.zoom, c.zoom);
    if (c.scissor) {
      glEnable(GL_SCISSOR_TEST);
      glScissor(40, 40, 5, 5);
    }
    SetRaster(c.x, c.y);
    Validate();
    const std::vector<uint32_t> before = Pixels(colorMemory);
    const uint32_t m = gc->renderBufferMask;
    {
      LockRecorder recorder(gc);
      DrawNow(4, 3, GL_RGB, GL_UNSIGNED_BYTE, image);
      std::vector<uint32_t> want(size_t(c.locks), m);
      want.insert(want.end(), size_t(c.locks), m | LockRecorder::kUnlock);
      EXPECT_EQ(LockRecorder::Masks(), want);
      EXPECT_EQ(LockRecorder::Depth(), 0);
    }
    EXPECT_EQ(Pixels(colorMemory) != before, c.draws);
  }
}

// Draws a 6 x 4 image at (8, 8) through the entry with the state `set`.
struct Outcome {
  bool front, back;  // whether each buffer changed
  std::vector<uint32_t> frontPixels, backPixels;
};

class GenericOnly : public FastDrawTest {
 protected:
  Outcome Draw(const char *fmt, void (*set)()) {
    OpenFormat(Format(fmt));
    set();
    SetRaster(8, 8);
    const std::vector<uint32_t> front = Pixels(frontMemory), back = Pixels(colorMemory);
    uint8_t image[6 * 4 * 3];
    for (size_t i = 0; i < sizeof image; i++) image[i] = uint8_t(40 + 5 * i);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(6, 4, format.rgba ? GL_RGB : GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Outcome o{false, false, Pixels(frontMemory), Pixels(colorMemory)};
    o.front = o.frontPixels != front;
    o.back = o.backPixels != back;
    return o;
  }
};

TEST_F(GenericOnly, FrontAndBackWritesBothBuffers) {
  for (const char *fmt : {"5-6-5", "index 8"}) {
    SCOPED_TRACE(fmt);
    const Outcome o = Draw(fmt, [] { glDrawBuffer(GL_FRONT_AND_BACK); });
    EXPECT_TRUE(o.front);
    EXPECT_TRUE(o.back);
    EXPECT_EQ(o.frontPixels, o.backPixels);
  }
}

TEST_F(GenericOnly, NoDrawBufferWritesNoBuffer) {
  for (const char *fmt : {"5-6-5", "index 8"}) {
    SCOPED_TRACE(fmt);
    // The back buffer was drawn last: GL_NONE must not fall back to it.
    const Outcome o = Draw(fmt, [] { glDrawBuffer(GL_NONE); });
    EXPECT_FALSE(o.front);
    EXPECT_FALSE(o.back);
  }
}

TEST_F(GenericOnly, FogColoursDrawnPixels) {
  const Outcome o = Draw("5-6-5", [] {
    // Linear fog that has reached its colour at the raster position's depth.
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 1.0f);
    const GLfloat green[4] = {0, 1, 0, 1};
    glFogfv(GL_FOG_COLOR, green);
    __glGetTLSCXValue()->state.current.rasterPos.eye.z = -10.0f;
  });
  ASSERT_TRUE(o.back);
  for (int y = 8; y < 12; y++)
    for (int x = 8; x < 14; x++)
      EXPECT_EQ(o.backPixels[size_t(y * draw_test::kWidth + x)], 0x07E0u);
}

}  // namespace
}  // namespace fast_draw_test

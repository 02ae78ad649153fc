// The copy path's set-up: the buffers it locks (those drawn and the one
// read), the clip of both rectangles and the overlap test.
#include "core/gl_api.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_enums.h"
#include "raster/s_buffers.h"
#include "tests/pixels/copy/copy_fixture.h"
#include "tests/pixels/draw/lock_recorder.h"

namespace copy_test {
namespace {

class CopyPath : public CopyTest {};

TEST_F(CopyPath, LocksTheBuffersDrawnAndTheOneRead) {
  Open(true);
  FillPattern();
  struct Case {
    GLenum read, draw, format;
    uint32_t mask;
  };
  constexpr uint32_t F = __GL_FRONT_BUFFER_MASK, B = __GL_BACK_BUFFER_MASK;
  const Case cases[] = {
      {GL_FRONT, GL_BACK, GL_RGBA, F | B},
      {GL_BACK, GL_FRONT, GL_RGBA, F | B},
      {GL_BACK, GL_BACK, GL_RGBA, B},
      {GL_FRONT, GL_FRONT_AND_BACK, GL_RGBA, F | B},
      {GL_FRONT, GL_BACK, GL_DEPTH_COMPONENT, B | __GL_DEPTH_BUFFER_MASK},
      {GL_FRONT, GL_BACK, GL_STENCIL_INDEX, __GL_STENCIL_BUFFER_MASK},
  };
  for (const Case &c : cases) {
    glReadBuffer(c.read);
    glDrawBuffer(c.draw);
    Validate();
    draw_test::LockRecorder recorder(gc);
    SetRaster(30, 30);
    __glSlowPickCopyPixels(gc, 1, 1, 4, 4, c.format);
    const std::vector<uint32_t> &locks = draw_test::LockRecorder::Masks();
    SCOPED_TRACE(testing::Message() << "read " << std::hex << c.read << " draw " << c.draw
                                    << " format " << c.format);
    ASSERT_EQ(locks.size(), 2u);
    // The render mask may add the depth and stencil bits of enabled tests.
    EXPECT_EQ(locks[0] & c.mask, c.mask);
    EXPECT_EQ(locks[1], locks[0] | draw_test::LockRecorder::kUnlock);
    if (c.format == GL_STENCIL_INDEX) {
      EXPECT_EQ(locks[0], c.mask);
    }
  }
}

TEST_F(CopyPath, ClipMovesEachSideByWhatTheOtherLost) {
  Open(true);
  FillPattern();
  Validate();
  glPixelZoom(1, 1);
  // Source starting left of the drawable: the destination moves right by
  // the cut; destination running off the top: the source loses those rows.
  SetRaster(10, 45);
  GlPixelSpanInfo info;
  __glInitCopyPixelsInfo(gc, &info, -3, 2, 8, 6, GL_RGBA);
  ASSERT_TRUE(__glClipCopyPixels(gc, &info));
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  EXPECT_EQ(info.width, 5);
  EXPECT_EQ(info.height, 3);
  EXPECT_EQ(int32_t(info.readX) - ax, 0);
  EXPECT_EQ(int32_t(info.readY) - ay, 2);
  EXPECT_EQ(info.startCol - ax, 13);
  EXPECT_EQ(info.startRow - ay, 45);
  EXPECT_EQ(info.overlap, 0);
  // Wholly outside on either side: nothing.
  __glInitCopyPixelsInfo(gc, &info, 70, 2, 8, 6, GL_RGBA);
  EXPECT_FALSE(__glClipCopyPixels(gc, &info));
  SetRaster(-30, 5);
  __glInitCopyPixelsInfo(gc, &info, 1, 2, 8, 6, GL_RGBA);
  EXPECT_FALSE(__glClipCopyPixels(gc, &info));
}

TEST_F(CopyPath, OverlapNeedsBothAxes) {
  Open(true);
  Validate();
  glPixelZoom(1, 1);
  struct Case {
    double x, y;
    bool overlap;
  };
  const Case cases[] = {{20, 15, true}, {29, 22, true}, {30, 15, false}, {20, 23, false},
                        {11, 15, true}, {10, 15, false}, {25, 7, false}, {25, 8, true}};
  for (const Case &c : cases) {
    SetRaster(c.x, c.y);
    GlPixelSpanInfo info;
    __glInitCopyPixelsInfo(gc, &info, 20, 15, 10, 8, GL_RGBA);
    ASSERT_TRUE(__glClipCopyPixels(gc, &info));
    EXPECT_EQ(info.overlap, c.overlap ? 1 : 0) << c.x << ", " << c.y;
  }
}

}  // namespace
}  // namespace copy_test

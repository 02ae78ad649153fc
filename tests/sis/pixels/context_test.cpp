// The SiS pixel paths in a SiS context whose back and depth buffers are
// video-memory surfaces: with its pickers in the table, a colour and a depth
// rectangle go straight into the surfaces at the window's biased position,
// send the chip nothing, and leave no lock held.
#include <gtest/gtest.h>

#include "core/context.h"
#include "pixels/px_enums.h"
#include "sis/sis_pixels.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/sis/clear/clear_fixture.h"

namespace sis_clear_test {
namespace {

class SiSContextPixels : public HardwareClear {
 protected:
  void SetUp() override {
    HardwareClear::SetUp();
    OpenWith(nullptr);
    Show(Back(), Kind::kSurface);
    Show(Depth(), Kind::kSurface);
    // The kernels draw only where the window shows.
    window->SetClipRects({{0, 0, hwcompare::kWidth, hwcompare::kHeight}});
    gc->procs.pickPixelProcs = __glSiSPickPixelProcs;
  }

  // Draws at drawable (x, y) and gives the chip's log of the draw.
  std::vector<SiS6326Event> DrawLogged(int x, int y, int w, int h, GLenum format, GLenum type,
                                       const void *pixels) {
    GlVertex &rp = gc->state.current.rasterPos;
    rp.window.x = GLfloat(x + gc->constants.fviewportXAdjust);
    rp.window.y = GLfloat(y + gc->constants.fviewportYAdjust);
    rp.window.z = 0.5f;
    gc->state.current.validRasterPos = 1;
    PlatformSiS6326TakeLog(nullptr, 0);
    std::vector<SiS6326Event> events(PlatformSiS6326LogCount());
    events.resize(PlatformSiS6326TakeLog(events.data(), events.size()));
    gc->dispatch.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gc->dispatch.DrawPixels(w, h, format, type, pixels);
    EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gc->procs.drawPixels, __glSiSPickDrawPixels);
    events.assign(PlatformSiS6326LogCount(), SiS6326Event{});
    events.resize(PlatformSiS6326TakeLog(events.data(), events.size()));
    EXPECT_EQ(modeltest::Describe(modeltest::Violations()), "");
    EXPECT_EQ(Tail(gc)->lockDepth, 0u);
    EXPECT_EQ(gc->sLockDepth, 0);
    return events;
  }

  // The buffer's row of drawable row y (its rows may run downwards).
  uint32_t Row(const GlDrawableBuffer *b, int y) const {
    return gc->constants.yInverted ? b->height - 1 - uint32_t(y) : uint32_t(y);
  }
};

bool SendsNothingThatDraws(const std::vector<SiS6326Event> &events) {
  return OfKind(events, SIS6326_EVENT_FILL_2D).empty() &&
         OfKind(events, SIS6326_EVENT_PRIMITIVE).empty();
}

TEST_F(SiSContextPixels, ColourRectangleLandsInTheBackSurface) {
  LoadChip();
  const uint8_t image[3 * 4 * 2] = {0xF8, 0x04, 0x10, 0x18, 0xFC, 0x88, 0x40, 0x40,
                                    0x40, 0x08, 0x10, 0xF0, 1,    2,    3,    0xFF,
                                    0xFF, 0xFF, 0x80, 0x7F, 0x81, 0,    0,    0};
  const std::vector<uint16_t> before = Pixels(Back());
  const std::vector<SiS6326Event> events = DrawLogged(7, 5, 4, 2, GL_RGB, GL_UNSIGNED_BYTE, image);
  EXPECT_TRUE(SendsNothingThatDraws(events));
  const std::vector<uint16_t> after = Pixels(Back());
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); i++) changed += after[i] != before[i];
  EXPECT_LE(changed, 8u);

  for (int j = 0; j < 2; j++)
    for (int i = 0; i < 4; i++) {
      const uint8_t *s = &image[(j * 4 + i) * 3];
      const uint16_t want = uint16_t((s[0] >> 3) << 11 | (s[1] >> 2) << 5 | (s[2] >> 3));
      EXPECT_EQ(after[Row(Back(), 5 + j) * Back()->width + 7 + i], want) << i << ", " << j;
    }
}

TEST_F(SiSContextPixels, DepthRectangleLandsInTheDepthSurface) {
  gc->dispatch.Enable(GL_DEPTH_TEST);
  gc->dispatch.DepthFunc(GL_ALWAYS);
  gc->dispatch.ColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  LoadChip();
  const uint16_t words[3 * 2] = {0, 1, 0x1234, 0x8000, 0xFFFE, 0xFFFF};
  const std::vector<uint16_t> colour = Pixels(Back());
  const std::vector<SiS6326Event> events =
      DrawLogged(20, 30, 3, 2, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, words);
  EXPECT_TRUE(SendsNothingThatDraws(events));
  EXPECT_EQ(Pixels(Back()), colour);
  const std::vector<uint16_t> z = Pixels(Depth());
  for (int j = 0; j < 2; j++)
    for (int i = 0; i < 3; i++)
      EXPECT_EQ(z[Row(Depth(), 30 + j) * Depth()->width + 20 + i], words[j * 3 + i])
          << i << ", " << j;
}

}  // namespace
}  // namespace sis_clear_test

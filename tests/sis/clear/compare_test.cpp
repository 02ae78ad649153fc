// The model's fills against the software clears on the same surfaces:
// colour within one unit of each channel (the fill truncates and does not
// dither), depth identical, on 5-6-5 and 5-5-5 buffers.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "core/context.h"
#include "tests/sis/clear/clear_fixture.h"
#include "tests/support/counting_imports.h"

namespace sis_clear_test {
namespace {

struct Format {
  const char *name;
  uint32_t greenBits;
  uint32_t redMask, greenMask, blueMask;
};

constexpr Format kFormats[] = {
    {"RGB565", 6, 0xF800, 0x07E0, 0x001F},
    {"RGB555", 5, 0x7C00, 0x03E0, 0x001F},
};

uint32_t Channel(uint16_t pixel, uint32_t mask) {
  uint32_t shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  return (pixel & mask) >> shift;
}

class ClearsThroughTheModel : public HardwareClear, public ::testing::WithParamInterface<Format> {
 protected:
  void SetUp() override {
    HardwareClear::SetUp();
    const Format &f = GetParam();
    GlModes modes = TestModes(true, true, 16, 0, false);
    modes.greenBits = f.greenBits;
    modes.redMask = f.redMask, modes.greenMask = f.greenMask, modes.blueMask = f.blueMask;
    modes.colorBits = 10 + f.greenBits;
    OpenWith(&modes);
  }

  // The clear through the fill and through the buffer's own clear.
  void BothWays(GLbitfield mask, std::vector<uint16_t> *hardware, std::vector<uint16_t> *software) {
    GlDrawableBuffer *target = mask == GL_DEPTH_BUFFER_BIT ? Depth() : Back();
    Show(target, Kind::kSurface);
    const std::vector<SiS6326Event> events = ClearLogged(mask);
    EXPECT_EQ(OfKind(events, SIS6326_EVENT_FILL_2D).size(), 1u);
    *hardware = Pixels(target);
    Show(target, Kind::kMemory);
    ClearLogged(mask);
    *software = Pixels(target);
  }
};

TEST_P(ClearsThroughTheModel, ColourWithinOneUnitOfTheSoftwareClear) {
  const Format &f = GetParam();
  const GLfloat colours[][3] = {{0.3f, 0.6f, 0.9f}, {0.5f, 0.5f, 0.5f}, {1, 1, 1}, {0, 0, 0},
                                {0.99f, 0.01f, 0.51f}};
  for (bool dither : {false, true})
    for (bool scissor : {false, true})
      for (const auto &c : colours) {
        SCOPED_TRACE(::testing::Message() << "dither " << dither << ", scissor " << scissor
                                          << ", colour " << c[0] << " " << c[1] << " " << c[2]);
        UseState(false, false, dither);
        gc->dispatch.ClearColor(c[0], c[1], c[2], 1.0f);
        gc->dispatch.Scissor(9, 3, 20, 30);
        if (scissor)
          gc->dispatch.Enable(GL_SCISSOR_TEST);
        else
          gc->dispatch.Disable(GL_SCISSOR_TEST);
        std::vector<uint16_t> hardware, software;
        BothWays(GL_COLOR_BUFFER_BIT, &hardware, &software);
        size_t cleared = 0;
        for (size_t i = 0; i < hardware.size(); ++i) {
          cleared += software[i] != 0;
          for (uint32_t mask : {f.redMask, f.greenMask, f.blueMask}) {
            const int d = int(Channel(hardware[i], mask)) - int(Channel(software[i], mask));
            ASSERT_LE(abs(d), 1) << "pixel " << i << ": " << hardware[i] << " against "
                                 << software[i];
          }
          // Outside the box both leave the surface as it was.
          if (software[i] == 0) {
            ASSERT_EQ(hardware[i], 0);
          }
        }
        if (c[0] + c[1] + c[2] > 0.5f) {
          EXPECT_EQ(cleared, scissor ? 600u : size_t(hwcompare::kWidth * hwcompare::kHeight));
        }
      }
}

TEST_P(ClearsThroughTheModel, DepthIdenticalToTheSoftwareClear) {
  for (GLdouble depth : {0.0, 0.1, 0.25, 0.5, 0.7, 0.999, 1.0})
    for (bool scissor : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "depth " << depth << ", scissor " << scissor);
      gc->dispatch.ClearDepth(depth);
      gc->dispatch.Scissor(1, 2, 30, 17);
      if (scissor)
        gc->dispatch.Enable(GL_SCISSOR_TEST);
      else
        gc->dispatch.Disable(GL_SCISSOR_TEST);
      std::vector<uint16_t> hardware, software;
      BothWays(GL_DEPTH_BUFFER_BIT, &hardware, &software);
      EXPECT_EQ(hardware, software);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ClearsThroughTheModel, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sis_clear_test

// The frame-buffer type the fast rasterizer reads: each layout it knows by
// pixel size, shifts and channel widths, and 0 for everything else.
#include <gtest/gtest.h>

#include "fastraster/fr_pick.h"
#include "tests/core/services/service_context.h"

namespace {

TEST(FrameBufferType, LayoutsByPixelSizeShiftsAndWidths) {
  struct Case {
    const char *what;
    bool rgba;
    uint32_t colorBits;
    uint32_t bits[4];
    uint32_t shifts[4];
    bool alphaMask;
    uint8_t type;
  } cases[] = {
      {"colour index 8", false, 8, {0, 0, 0, 0}, {0, 0, 0, 0}, false, FR_FB_CI8},
      {"colour index 16", false, 16, {0, 0, 0, 0}, {0, 0, 0, 0}, false, FR_FB_OTHER},
      {"colour index 4 in 8 bits", false, 8, {0, 0, 0, 0}, {0, 0, 0, 0}, false, FR_FB_CI8},
      {"3-3-2", true, 8, {3, 3, 2, 0}, {5, 2, 0, 0}, false, FR_FB_RGB332},
      {"2-3-3", true, 8, {2, 3, 3, 0}, {6, 3, 0, 0}, false, FR_FB_OTHER},
      {"5-5-5", true, 16, {5, 5, 5, 0}, {10, 5, 0, 0}, false, FR_FB_RGB555},
      {"1-5-5-5", true, 16, {5, 5, 5, 1}, {10, 5, 0, 15}, true, FR_FB_A1RGB5},
      {"5-6-5", true, 16, {5, 6, 5, 0}, {11, 5, 0, 0}, false, FR_FB_RGB565},
      {"5-6-5 blue first", true, 16, {5, 6, 5, 0}, {0, 5, 11, 0}, false, FR_FB_OTHER},
      {"8-8-8", true, 24, {8, 8, 8, 0}, {16, 8, 0, 0}, false, FR_FB_RGB8},
      {"8-8-8 blue high", true, 24, {8, 8, 8, 0}, {0, 8, 16, 0}, false, FR_FB_OTHER},
      {"X-8-8-8", true, 32, {8, 8, 8, 0}, {16, 8, 0, 0}, false, FR_FB_XRGB8},
      {"8-8-8-8", true, 32, {8, 8, 8, 8}, {16, 8, 0, 24}, true, FR_FB_ARGB8},
      {"8-8-8-8 alpha low", true, 32, {8, 8, 8, 8}, {24, 16, 8, 0}, true, FR_FB_OTHER},
      {"8-8-8-8, alpha at 0 but red at 16",
       true,
       32,
       {8, 8, 8, 8},
       {16, 8, 0, 0},
       true,
       FR_FB_OTHER},
      {"12 bits", true, 12, {4, 4, 4, 0}, {8, 4, 0, 0}, false, FR_FB_OTHER},
      // A visual whose widths disagree with the layout its shifts name.
      {"5-6-5 shifts, 8-bit widths", true, 16, {8, 8, 8, 2}, {11, 5, 0, 0}, false, FR_FB_OTHER},
      {"5-5-5 shifts with an alpha bit count",
       true,
       16,
       {5, 5, 5, 1},
       {10, 5, 0, 0},
       false,
       FR_FB_OTHER},
      {"X-8-8-8 shifts, 6-bit green", true, 32, {8, 6, 8, 0}, {16, 8, 0, 0}, false, FR_FB_OTHER},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ServiceContext ctx;
    GlContext *gc = ctx.gc();
    GlModes &m = gc->modes;
    m.rgbMode = c.rgba;
    m.colorIndexMode = !c.rgba;
    m.colorBits = c.colorBits;
    m.redBits = c.bits[0], m.greenBits = c.bits[1], m.blueBits = c.bits[2], m.alphaBits = c.bits[3];
    m.alphaMask = c.alphaMask ? 0xFFu << c.shifts[3] : 0;
    GlColorBuffer cfb{};
    cfb.redShift = c.shifts[0], cfb.greenShift = c.shifts[1];
    cfb.blueShift = c.shifts[2], cfb.alphaShift = c.shifts[3];
    cfb.frFbType = 0xEE;
    __glFRPickFBType(gc, &cfb);
    EXPECT_EQ(cfb.frFbType, c.type);
  }
}

}  // namespace

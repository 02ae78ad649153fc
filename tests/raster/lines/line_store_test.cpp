// The direct line stores against the general one, which goes through the
// colour buffer's fragment store: 5-6-5 and 5-5-5 RGB and 8-bit colour
// index, flat, smooth and dithered, plain and stippled, over random
// segments with colours away from rounding ties.
#include <gtest/gtest.h>

#include <vector>

#include "raster/s_dither.h"
#include "raster/s_line.h"
#include "tests/raster/color/color_fixture.h"

namespace {

constexpr int32_t kW = 40, kH = 30;

struct StoreCase {
  const char *name;
  bool rgba, flat, dither;
  GlSpanProc plain, stippled;
};

const StoreCase kCases[] = {
    {"RGB flat", true, true, false, __glStoreLine_RGB_16_Flat, __glStoreStippledLine_RGB_16_Flat},
    {"RGB smooth", true, false, false, __glStoreLine_RGB_16_Smooth,
     __glStoreStippledLine_RGB_16_Smooth},
    {"RGB dither", true, false, true, __glStoreLine_RGB_16_Dither,
     __glStoreStippledLine_RGB_16_Dither},
    {"CI flat", false, true, false, __glStoreLine_CI_8_Flat, __glStoreStippledLine_CI_8_Flat},
    {"CI smooth", false, false, false, __glStoreLine_CI_8_Smooth,
     __glStoreStippledLine_CI_8_Smooth},
    {"CI flat dither", false, true, true, __glStoreLine_CI_8_Flat_Dither,
     __glStoreStippledLine_CI_8_Flat_Dither},
    {"CI smooth dither", false, false, true, __glStoreLine_CI_8_Smooth_Dither,
     __glStoreStippledLine_CI_8_Smooth_Dither},
};

TEST(LineStores, DirectStoresEqualTheGeneralStore) {
  TestRandom rng(9);
  for (const StoreCase &c : kCases) {
    for (const ColorFormat &format : c.rgba ? kRgbFormats : kIndexFormats) {
      if (format.bytes() != (c.rgba ? 2u : 1u) || format.hasAlpha()) continue;
      SCOPED_TRACE(std::string(c.name) + ", " + format.name);
      BoundColorBuffer buffer(format, kW, kH, false);
      GlContext *gc = buffer.gc();
      // The picker takes the direct stores only where drawing keeps no bit.
      if (buffer.cfb()->destMask != 0) continue;
      buffer.SetFlags((c.rgba ? __GL_SHADE_RGB : 0) | (c.dither ? __GL_SHADE_DITHER : 0));
      buffer.cfb()->pick(gc, buffer.cfb());
      std::vector<GlColor> colors(GL_SPAN_PIXELS);
      std::vector<uint32_t> words(GL_SPAN_STIPPLE_WORDS);
      GlShader &sh = gc->polygon.shader;
      sh.spanColors = colors.data();
      sh.stipplePat = words.data();
      sh.cfb = buffer.cfb();
      const uint32_t max = c.rgba ? 31 : format.indexMask();
      for (int i = 0; i < 40; i++) {
        GlVertex a{}, b{};
        auto coord = [&](int32_t n) {
          return float(kBias) + 0.5f + float(rng.Next() % uint32_t(n * 16)) / 16.0f;
        };
        a.window = {coord(kW), coord(kH), 0, 1};
        b.window = {coord(kW), coord(kH), 0, 1};
        gc->state.line.aliasedWidth = 1;
        __glInitLineData(gc, &a, &b);
        sh.length = gc->line.pixelCount;
        if (sh.length == 0) continue;
        const uint32_t greenMax = format.bits[1] == 6 ? 63 : 31;
        auto color = [&]() {
          return GlColor{rng.Component(max, 1.0f / 128), rng.Component(greenMax, 1.0f / 128),
                         rng.Component(31, 1.0f / 128), 1.0f};
        };
        const GlColor first = color();
        for (int32_t k = 0; k < sh.length; k++) colors[size_t(k)] = c.flat ? first : color();
        for (bool stippled : {false, true}) {
          for (uint32_t &w : words) w = stippled ? rng.Next() : ~0u;
          buffer.FillPattern(uint32_t(i));
          (stippled ? c.stippled : c.plain)(gc);
          const std::vector<uint8_t> direct = buffer.Bytes();
          buffer.FillPattern(uint32_t(i));
          (stippled ? __glStoreStippledLine : __glStoreLine)(gc);
          const std::vector<uint8_t> general = buffer.Bytes();
          size_t at = 0;
          while (at < direct.size() && direct[at] == general[at]) at++;
          ASSERT_EQ(at, direct.size()) << "byte " << at << ": direct " << int(direct[at])
                                       << ", general " << int(general[at]) << ", colour "
                                       << first.r << " " << first.g << " " << first.b << "segment " << i << (stippled ? " stippled" : "");
        }
      }
    }
  }
}

TEST(LineStores, DitherOffsetsAtTheFirstPixels) {
  // (d + 0.5) / 16 - 0.5 for d = 0 at (0, 0) and d = 8 at (1, 0).
  EXPECT_EQ(__glFloatDitherTable[0], -0.46875f);
  EXPECT_EQ(__glFloatDitherTable[1], 0.03125f);
}

}  // namespace

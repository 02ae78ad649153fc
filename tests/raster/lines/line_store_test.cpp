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

// A line's last pixel can lie past its second vertex, its colour then past
// the second colour and out of the buffer's range. The 16-bit RGB direct
// stores put such a component on its field's end, as the general store
// writes the colour clamped; a green below 0 does not set red's bits.
TEST(LineStores, ComponentsPastTheRangeLandOnTheFieldsEnds) {
  for (const StoreCase &c : kCases) {
    if (!c.rgba) continue;
    for (const ColorFormat &format : kRgbFormats) {
      if (format.bytes() != 2 || format.hasAlpha()) continue;
      SCOPED_TRACE(std::string(c.name) + ", " + format.name);
      BoundColorBuffer buffer(format, kW, kH, false);
      GlContext *gc = buffer.gc();
      if (buffer.cfb()->destMask != 0) continue;
      buffer.SetFlags(__GL_SHADE_RGB | (c.dither ? __GL_SHADE_DITHER : 0));
      buffer.cfb()->pick(gc, buffer.cfb());
      const GLfloat top[3] = {GLfloat(buffer.cfb()->redMax), GLfloat(buffer.cfb()->greenMax),
                              GLfloat(buffer.cfb()->blueMax)};
      // Per channel: below 0 by more than half a unit, above the top, far off.
      const GLfloat past[][3] = {
          {-1.2f, 5.0f, top[2] + 0.6f}, {top[0] + 1.0f, -3.0f, -0.7f}, {-40.0f, top[1] + 9.0f, 10.0f}};
      std::vector<GlColor> colors(GL_SPAN_PIXELS);
      std::vector<uint32_t> words(GL_SPAN_STIPPLE_WORDS, ~0u);
      GlShader &sh = gc->polygon.shader;
      sh.spanColors = colors.data();
      sh.stipplePat = words.data();
      sh.cfb = buffer.cfb();
      GlVertex a{}, b{};
      a.window = {float(kBias) + 2.5f, float(kBias) + 3.5f, 0, 1};
      b.window = {float(kBias) + 9.5f, float(kBias) + 5.5f, 0, 1};
      gc->state.line.aliasedWidth = 1;
      __glInitLineData(gc, &a, &b);
      sh.length = gc->line.pixelCount;
      ASSERT_GT(sh.length, 2);
      for (const auto &p : past) {
        for (int32_t k = 0; k < sh.length; k++) colors[size_t(k)] = {p[0], p[1], p[2], 1.0f};
        buffer.FillPattern(1);
        c.plain(gc);
        const std::vector<uint8_t> direct = buffer.Bytes();
        for (int32_t k = 0; k < sh.length; k++) {
          GlColor &q = colors[size_t(k)];
          GLfloat *ch[3] = {&q.r, &q.g, &q.b};
          for (int i = 0; i < 3; i++) *ch[i] = *ch[i] < 0 ? 0 : *ch[i] > top[i] ? top[i] : *ch[i];
        }
        buffer.FillPattern(1);
        __glStoreLine(gc);
        const std::vector<uint8_t> general = buffer.Bytes();
        size_t at = 0;
        while (at < direct.size() && direct[at] == general[at]) at++;
        EXPECT_EQ(at, direct.size()) << "colour " << p[0] << " " << p[1] << " " << p[2];
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

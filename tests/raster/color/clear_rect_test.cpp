// The colour and index clear rectangles against the model: the generic
// rectangle through the store, whichever rectangle the pick installs, the
// 3-byte word fill, and the integer part of the clear index on every route.
#include <gtest/gtest.h>
#include <math.h>

#include <vector>

#include "raster/s_ci.h"
#include "raster/s_rgb.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

// The generic clear rectangle stores the clear colour at every pixel of the
// rectangle as a fragment would be stored, dithered and masked, but neither
// blended nor combined by the logic op; the flags come back unchanged.
TEST(RgbClearRect, GenericRectangleIsTheStoreOfTheClearColour) {
  for (const ColorFormat &f : kRgbFormats) {
    for (int dither = 0; dither < 2; dither++) {
      for (uint32_t mask = 0; mask < 16; mask++) {
        SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " mask " << mask);
        BoundColorBuffer b(f);
        GlContext *gc = b.gc();
        ModelState s;
        s.dither = dither;
        for (int i = 0; i < 4; i++) s.write[i] = (mask >> i) & 1;
        GlRasterState &r = gc->state.raster;
        r.rMask = s.write[0], r.gMask = s.write[1], r.bMask = s.write[2], r.aMask = s.write[3];
        r.logicOp = GL_SET;
        TestRandom random(mask + 16 * dither);
        r.clear = {GLfloat(random.Next() % 257) / 256, GLfloat(random.Next() % 257) / 256,
                   GLfloat(random.Next() % 257) / 256, GLfloat(random.Next() % 257) / 256};
        const uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_BLEND | __GL_SHADE_LOGIC_OP |
                               (dither ? __GL_SHADE_DITHER : 0);
        b.SetFlags(flags);
        b.cfb()->pick(gc, b.cfb());
        b.FillPattern(mask);
        std::vector<uint8_t> want = b.Bytes();
        const GlDrawableBuffer *mem = b.memory().buffer();
        const GlColor color = ModelClearColor(r.clear, gc->front);
        for (int32_t row = 1; row < 5; row++)
          for (int32_t col = 2; col < 9; col++)
            WritePixel(want, mem, col, row,
                       ModelRgbStore(f, s, col + kBias, row + kBias, color,
                                     ReadPixel(want, mem, col, row)));
        rgb::ClearRect(b.cfb(), 2 + kBias, 1 + kBias, 9 + kBias, 5 + kBias);
        EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
        EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
        EXPECT_TRUE(b.memory().GuardsIntact());
      }
    }
  }
}

// Whichever clear rectangle the pick installs (word fills, dithered fills,
// the 3-byte fill or the generic one) leaves the pixels the model gives for
// the clear colour stored at each pixel.
TEST(RgbClearRect, PickedRectangleOfEveryStateFollowsTheModel) {
  for (const ColorFormat &f : kRgbFormats) {
    for (int dither = 0; dither < 2; dither++) {
      if (dither && f.bytes() >= 3) continue;  // the flag is never set there
      for (uint32_t mask = 0; mask < 16; mask++) {
        SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " mask " << mask);
        BoundColorBuffer b(f, 13, 7);
        GlContext *gc = b.gc();
        ModelState s;
        s.dither = dither;
        for (int i = 0; i < 4; i++) s.write[i] = (mask >> i) & 1;
        GlRasterState &r = gc->state.raster;
        r.rMask = s.write[0], r.gMask = s.write[1], r.bMask = s.write[2], r.aMask = s.write[3];
        // Off the grid where a channel value plus an offset is a whole number.
        TestRandom random(mask + 16 * dither + 40);
        auto component = [&] { return (GLfloat(random.Next() % 256) + 0.3f) / 256.3f; };
        r.clear = {component(), component(), component(), component()};
        b.SetFlags(__GL_SHADE_RGB | (dither ? __GL_SHADE_DITHER : 0));
        b.cfb()->pick(gc, b.cfb());
        b.FillPattern(mask + 3);
        std::vector<uint8_t> want = b.Bytes();
        const GlDrawableBuffer *mem = b.memory().buffer();
        const GlColor color = ModelClearColor(r.clear, gc->front);
        for (int32_t row = 1; row < 6; row++)
          for (int32_t col = 1; col < 12; col++)
            WritePixel(want, mem, col, row,
                       ModelRgbStore(f, s, col + kBias, row + kBias, color,
                                     ReadPixel(want, mem, col, row)));
        b.cfb()->clearRect(b.cfb(), 1 + kBias, 1 + kBias, 12 + kBias, 6 + kBias);
        EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
        EXPECT_TRUE(b.memory().GuardsIntact());
      }
    }
  }
}

// The 3-byte word fill: every start alignment and width, rounded to
// nearest, nothing outside the rectangle touched; and the same pixels as
// the generic rectangle away from rounding ties.
TEST(RgbClearRect, ThreeByteFillEveryAlignmentAndWidth) {
  const ColorFormat &f = kRgbFormats[4];
  const GlColor clears[] = {{0.25f + 1.0f / 1024, 0.5f, 1.0f, 1.0f},
                            {0.0f, 0.75f + 1.0f / 1024, 0.125f, 0.0f},
                            {0.875f + 1.0f / 1024, 0.125f - 1.0f / 1024, 0.625f, 0.3f}};
  for (const GlColor &clear : clears) {
    for (int32_t x0 = 0; x0 < 5; x0++) {
      for (int32_t width = 0; width < 12; width++) {
        SCOPED_TRACE(testing::Message()
                     << "clear " << clear.r << " from " << x0 << ", " << width << " wide");
        BoundColorBuffer fill(f, 17, 4), generic(f, 17, 4);
        for (BoundColorBuffer *b : {&fill, &generic}) {
          b->gc()->state.raster.clear = clear;
          b->FillPattern(uint32_t(x0 * 16 + width));
        }
        std::vector<uint8_t> want = fill.Bytes();
        const GlDrawableBuffer *mem = fill.memory().buffer();
        auto round = [](GLfloat c) { return uint32_t(floor(double(c * 255.0f) + 0.5)); };
        const uint32_t pixel = round(clear.r) << 16 | round(clear.g) << 8 | round(clear.b);
        for (int32_t row = 1; row < 3; row++)
          for (int32_t col = x0; col < x0 + width; col++) WritePixel(want, mem, col, row, pixel);
        rgb::ClearRect_24(fill.cfb(), x0 + kBias, 1 + kBias, x0 + width + kBias, 3 + kBias);
        EXPECT_EQ(FirstDifference(want, fill.Bytes(), mem), "");
        EXPECT_TRUE(fill.memory().GuardsIntact());
        rgb::ClearRect(generic.cfb(), x0 + kBias, 1 + kBias, x0 + width + kBias, 3 + kBias);
        EXPECT_EQ(FirstDifference(generic.Bytes(), fill.Bytes(), mem), "");
      }
    }
  }
}

TEST(RgbClearRect, ThreeByteFillOfAnEmptyRectangleWritesNothing) {
  BoundColorBuffer b(kRgbFormats[4], 8, 4);
  b.gc()->state.raster.clear = {1, 1, 1, 1};
  b.FillPattern(2);
  const std::vector<uint8_t> before = b.Bytes();
  const int32_t rects[][4] = {{3, 1, 3, 3}, {3, 2, 6, 2}, {5, 1, 2, 3}, {2, 3, 6, 1}};
  for (const auto &r : rects)
    rgb::ClearRect_24(b.cfb(), r[0] + kBias, r[1] + kBias, r[2] + kBias, r[3] + kBias);
  EXPECT_EQ(b.Bytes(), before);
}

// The index clear takes the integer part of the clear index on every
// route: 3.7 clears to 3, dithered or not, whatever the width or mask.
TEST(IndexClearRect, TheIntegerPartOfTheClearIndex) {
  struct Case {
    const char *what;
    size_t format;  // in kIndexFormats
    GLfloat clearIndex;
    bool dither;
    uint32_t writeMask;
  } cases[] = {
      {"3.7", 0, 3.7f, false, UINT32_MAX},
      {"3.7 dithered", 0, 3.7f, true, UINT32_MAX},
      {"3.7, low four bits writable", 0, 3.7f, false, 0x0F},
      {"200.9375 dithered, alternate bits", 0, 200.9375f, true, 0x55},
      {"12 bits, 4095.5", 1, 4095.5f, true, UINT32_MAX},
      {"16 bits, 3.7", 2, 3.7f, false, UINT32_MAX},
      {"24 bits, the largest index", 3, 16777215.0f, false, UINT32_MAX},
      {"24 bits, 3.7 dithered", 3, 3.7f, true, 0xF0F0F0},
      {"32 bits, 3.7", 4, 3.7f, true, UINT32_MAX},
  };
  for (const Case &c : cases) {
    for (bool generic : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.what << (generic ? ", generic" : ", picked"));
      const ColorFormat &f = kIndexFormats[c.format];
      BoundColorBuffer b(f);
      GlContext *gc = b.gc();
      gc->state.raster.clearIndex = c.clearIndex;
      gc->state.raster.writeMask = c.writeMask;
      gc->state.raster.logicOp = GL_CLEAR + 6;  // GL_XOR: not applied to clears
      const uint32_t flags = __GL_SHADE_LOGIC_OP | (c.dither ? __GL_SHADE_DITHER : 0);
      b.SetFlags(flags);
      b.cfb()->pick(gc, b.cfb());
      ModelState s;
      s.dither = c.dither;
      s.indexWriteMask = c.writeMask;
      b.FillPattern(7);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      for (int32_t row = 0; row < 4; row++)
        for (int32_t col = 1; col < 10; col++)
          WritePixel(want, mem, col, row,
                     ModelIndexStore(f, s, col + kBias, row + kBias, floorf(c.clearIndex),
                                     ReadPixel(want, mem, col, row)));
      auto clearRect = generic ? ci::ClearRect : b.cfb()->clearRect;
      clearRect(b.cfb(), 1 + kBias, kBias, 10 + kBias, 4 + kBias);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
    }
  }
}

}  // namespace

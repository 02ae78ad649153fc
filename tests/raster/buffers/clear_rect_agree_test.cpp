// The word-filling clear rectangles a colour buffer's pick installs against
// the generic one, which stores the clear colour pixel by pixel through the
// buffer's fragment store: with every channel written the two must leave
// the same memory, alpha included, dithered or not.
#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "raster/s_buffers.h"
#include "raster/s_ci.h"
#include "raster/s_rgb.h"
#include "raster/s_shader.h"
#include "tests/raster/color/color_fixture.h"

namespace {

typedef void (*ClearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// The clear colours: the ends of the range, alpha alone on and off, and
// values off the dither grid.
std::vector<GlColor> Clears() {
  std::vector<GlColor> clears = {{0, 0, 0, 0},         {1, 1, 1, 1},          {0, 0, 0, 1},
                                 {1, 1, 1, 0},         {0.5f, 0.5f, 0.5f, 0.5f},
                                 {0.3f, 0.7f, 0.1f, 0.6f}, {0.03f, 0.97f, 0.49f, 0.51f}};
  TestRandom random(77);
  for (int i = 0; i < 8; i++)
    clears.push_back({GLfloat(random.Next() % 1025) / 1024, GLfloat(random.Next() % 1025) / 1024,
                      GLfloat(random.Next() % 1025) / 1024, GLfloat(random.Next() % 1025) / 1024});
  return clears;
}

// Rectangles (drawable coordinates) with every start column modulo 4 and
// widths that leave heads and tails, in an 11 x 6 buffer.
const int32_t kRects[][4] = {{0, 0, 11, 6}, {1, 1, 10, 5}, {2, 0, 7, 3},
                             {3, 2, 4, 6},  {1, 3, 3, 4},  {0, 5, 9, 6}};

// Runs `fast` and the generic rectangle over the same pattern and expects
// the same bytes.
void ExpectSameMemory(BoundColorBuffer &fastBuffer, BoundColorBuffer &genericBuffer,
                      ClearRect fast, ClearRect generic) {
  for (const auto &r : kRects) {
    SCOPED_TRACE(testing::Message() << "[" << r[0] << ", " << r[2] << ") x [" << r[1] << ", "
                                    << r[3] << ")");
    fastBuffer.FillPattern(5);
    genericBuffer.FillPattern(5);
    fast(fastBuffer.cfb(), r[0] + kBias, r[1] + kBias, r[2] + kBias, r[3] + kBias);
    generic(genericBuffer.cfb(), r[0] + kBias, r[1] + kBias, r[2] + kBias, r[3] + kBias);
    ASSERT_EQ(fastBuffer.Bytes(), genericBuffer.Bytes());
  }
}

TEST(ClearRectsAgree, RgbWordFillsLeaveWhatTheFragmentStoreLeaves) {
  for (const ColorFormat &f : kRgbFormats) {
    // 3-byte pixels have a fill of their own, which rounds by another road.
    if (f.bytes() == 3) continue;
    // Dithering is in force only below 3 bytes a pixel.
    for (int dither = 0; dither < (f.bytes() < 3 ? 2 : 1); dither++) {
      for (const GlColor &clear : Clears()) {
        SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " clear " << clear.r
                                        << " " << clear.g << " " << clear.b << " " << clear.a);
        BoundColorBuffer fast(f), generic(f);
        for (BoundColorBuffer *b : {&fast, &generic}) {
          b->gc()->state.raster.clear = clear;
          b->SetFlags(__GL_SHADE_RGB | (dither ? __GL_SHADE_DITHER : 0));
          b->cfb()->pick(b->gc(), b->cfb());
        }
        ASSERT_NE(fast.cfb()->clearRect, rgb::ClearRect) << "no channel is masked";
        ExpectSameMemory(fast, generic, fast.cfb()->clearRect, rgb::ClearRect);
      }
    }
  }
}

TEST(ClearRectsAgree, IndexByteFillsLeaveWhatTheFragmentStoreLeaves) {
  const ColorFormat &f = kIndexFormats[0];
  ASSERT_EQ(f.bytes(), 1u);
  for (int dither = 0; dither < 2; dither++) {
    for (GLfloat index : {0.0f, 1.0f, 3.5f, 3.9375f, 127.0f, 200.25f, 255.0f, 255.9375f}) {
      SCOPED_TRACE(testing::Message() << "dither " << dither << " index " << index);
      BoundColorBuffer fast(f), generic(f);
      for (BoundColorBuffer *b : {&fast, &generic}) {
        b->gc()->state.raster.clearIndex = index;
        b->SetFlags(dither ? __GL_SHADE_DITHER : 0);
        b->cfb()->pick(b->gc(), b->cfb());
      }
      ASSERT_NE(fast.cfb()->clearRect, ci::ClearRect) << "every index bit is written";
      ExpectSameMemory(fast, generic, fast.cfb()->clearRect, ci::ClearRect);
    }
  }
}

}  // namespace

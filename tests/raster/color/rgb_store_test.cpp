// The RGB fragment stores and fetches in every colour format against the
// reference model: dithering, every colour mask, every logic operation,
// blending and front-buffer ownership.
#include <gtest/gtest.h>

#include "raster/s_rgb.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

int gBlendCalls = 0;

// The test's blend: every component halved.
void HalfBlend(GlContext *, GlColorBuffer *, const GlFragment *frag, GlColor *out) {
  gBlendCalls++;
  *out = {frag->color.r * 0.5f, frag->color.g * 0.5f, frag->color.b * 0.5f, frag->color.a * 0.5f};
}

uint32_t FlagsOf(const ModelState &s) {
  uint32_t flags = __GL_SHADE_RGB;
  if (s.dither) flags |= __GL_SHADE_DITHER;
  if (s.logicOp) flags |= __GL_SHADE_LOGIC_OP;
  if (s.blend) flags |= __GL_SHADE_BLEND;
  if (s.front) flags |= __GL_SHADE_FRONT_BUFFER;
  return flags;
}

const std::vector<GlRect> kPartlyHidden = {{0, 0, 4, 6}, {6, 2, 11, 5}};

// Applies the model's state to the bound buffer and picks.
void Apply(BoundColorBuffer &b, const ModelState &s) {
  GlContext *gc = b.gc();
  GlRasterState &r = gc->state.raster;
  r.rMask = s.write[0], r.gMask = s.write[1], r.bMask = s.write[2], r.aMask = s.write[3];
  r.writeMask = s.indexWriteMask;
  r.logicOp = s.op;
  if (s.none) r.drawBuffer = GL_NONE;
  b.SetVisible(s.visible.empty() ? std::vector<GlRect>{{0, 0, b.width(), b.height()}} : s.visible);
  gc->procs.blend.blend = HalfBlend;
  b.SetFlags(FlagsOf(s));
  b.cfb()->pick(gc, b.cfb());
}

GlColor RandomColor(TestRandom &random, const ColorFormat &f) {
  auto max = [&](int i) { return f.masks[i] ? f.masks[i] >> __builtin_ctz(f.masks[i]) : 255u; };
  return {random.Component(max(0)), random.Component(max(1)), random.Component(max(2)),
          random.Component(max(3))};
}

// Stores `count` random fragments and compares the whole buffer with the
// model's image.
void StoreAndCompare(BoundColorBuffer &b, const ModelState &s, uint32_t seed, int count) {
  b.FillPattern(seed);
  std::vector<uint8_t> want = b.Bytes();
  const GlDrawableBuffer *mem = b.memory().buffer();
  TestRandom random(seed);
  for (int i = 0; i < count; i++) {
    GlFragment frag{};
    const int32_t col = int32_t(random.Next() % uint32_t(b.width()));
    const int32_t row = int32_t(random.Next() % uint32_t(b.height()));
    frag.x = col + kBias, frag.y = row + kBias;
    frag.color = RandomColor(random, b.format());
    WritePixel(
        want, mem, col, row,
        ModelRgbStore(b.format(), s, frag.x, frag.y, frag.color, ReadPixel(want, mem, col, row)));
    b.cfb()->store(b.cfb(), &frag);
  }
  EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
  EXPECT_TRUE(b.memory().GuardsIntact());
}

TEST(RgbStore, EveryFormatDitherAndColourMask) {
  for (const ColorFormat &f : kRgbFormats) {
    for (int dither = 0; dither < 2; dither++) {
      for (uint32_t mask = 0; mask < 16; mask++) {
        SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " mask " << mask);
        BoundColorBuffer b(f);
        ModelState s;
        s.dither = dither;
        for (int i = 0; i < 4; i++) s.write[i] = (mask >> i) & 1;
        Apply(b, s);
        StoreAndCompare(b, s, mask * 2 + dither + 1, 40);
      }
    }
  }
}

TEST(RgbStore, EveryLogicOperation) {
  for (const ColorFormat &f : kRgbFormats) {
    for (GLenum op = GL_CLEAR; op <= GL_SET; op++) {
      for (uint32_t mask : {0xFu, 0x5u}) {
        SCOPED_TRACE(testing::Message()
                     << f.name << " op 0x" << std::hex << op << " mask " << mask);
        BoundColorBuffer b(f);
        ModelState s;
        s.logicOp = true;
        s.op = op;
        s.dither = op & 1;
        for (int i = 0; i < 4; i++) s.write[i] = (mask >> i) & 1;
        Apply(b, s);
        StoreAndCompare(b, s, op, 30);
      }
    }
  }
}

TEST(RgbStore, BlendingOwnershipAndNoDrawBuffer) {
  // blendCalls: the blend procedure's calls for 50 stores, -1 unchecked;
  // hidden pixels are not blended.
  struct Case {
    const char *what;
    bool blend, front, none;
    int blendCalls;
  } cases[] = {
      {"blended", true, false, false, 50},
      {"blended front buffer, partly hidden", true, true, false, -1},
      {"front buffer, partly hidden", false, true, false, 0},
      {"draw buffer GL_NONE", false, false, true, 0},
      {"draw buffer GL_NONE, blended", true, false, true, -1},
  };
  for (const ColorFormat &f : kRgbFormats) {
    for (const Case &c : cases) {
      SCOPED_TRACE(testing::Message() << f.name << ": " << c.what);
      BoundColorBuffer b(f);
      ModelState s;
      s.blend = c.blend, s.front = c.front, s.none = c.none;
      if (c.front) s.visible = kPartlyHidden;
      Apply(b, s);
      gBlendCalls = 0;
      StoreAndCompare(b, s, 7, 50);
      if (c.blendCalls >= 0) {
        EXPECT_EQ(gBlendCalls, c.blendCalls);
      }
      if (c.front && c.blend) {
        EXPECT_LT(gBlendCalls, 50);
      }
    }
  }
}

TEST(RgbStore, WithoutABlendProcedureTheFragmentGoesIn) {
  BoundColorBuffer b(kRgbFormats[2]);
  ModelState s;
  Apply(b, s);
  b.SetFlags(__GL_SHADE_RGB | __GL_SHADE_BLEND);
  b.gc()->procs.blend.blend = nullptr;
  StoreAndCompare(b, s, 3, 20);
}

// Each pixel of the 4 x 4 dither cell rounds up from 1 - (2 D + 1) / 32 on,
// D its matrix entry; a 64th less stays 0. Pixel (1, 2) takes entry 11.
TEST(RgbStore, DitherThresholdsFollowTheMatrix) {
  const uint32_t matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (const ColorFormat &f : {kRgbFormats[0], kRgbFormats[2], kRgbFormats[4]}) {
    BoundColorBuffer b(f, 4, 4);
    ModelState s;
    s.dither = true;
    Apply(b, s);
    for (int32_t y = 0; y < 4; y++) {
      for (int32_t x = 0; x < 4; x++) {
        SCOPED_TRACE(testing::Message() << f.name << " pixel " << x << ", " << y);
        const GLfloat threshold = 1.0f - GLfloat(2 * matrix[y][x] + 1) / 32.0f;
        for (auto [c, want] : {std::pair{threshold, 1u}, std::pair{threshold - 1.0f / 64, 0u}}) {
          GlFragment frag{};
          frag.x = x + kBias, frag.y = y + kBias;
          frag.color = {c, c, c, c};
          b.cfb()->store(b.cfb(), &frag);
          const uint32_t pixel = b.memory().Read(x, y);
          EXPECT_EQ((pixel & f.masks[2]) >> __builtin_ctz(f.masks[2]), want) << "blue from " << c;
        }
      }
    }
  }
}

TEST(RgbFetch, EveryFormatReadsTheModelsColour) {
  for (const ColorFormat &f : kRgbFormats) {
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f);
    b.FillPattern(11);
    // Without alpha bits alpha reads as the context's range.
    const GLfloat alphaScale = f.bits[3] ? GLfloat((1u << f.bits[3]) - 1) : 255.0f;
    for (int32_t row = 0; row < b.height(); row++) {
      for (int32_t col = 0; col < b.width(); col++) {
        const GlColor want = ModelRgbFetch(f, b.memory().Read(col, row), alphaScale);
        for (int slot = 0; slot < 2; slot++) {
          GlColor got{-1, -1, -1, -1};
          b.cfb()->fetch[slot](b.cfb(), col + kBias, row + kBias, &got);
          EXPECT_EQ(got.r, want.r);
          EXPECT_EQ(got.g, want.g);
          EXPECT_EQ(got.b, want.b);
          EXPECT_EQ(got.a, want.a);
        }
      }
    }
  }
}

// A pixel fetched and stored back is unchanged in every channel (bits of no
// channel, the X byte, are cleared by any store).
TEST(RgbFetch, StoringAFetchedPixelGivesItBack) {
  for (const ColorFormat &f : kRgbFormats) {
    for (int dither = 0; dither < 2; dither++) {
      SCOPED_TRACE(testing::Message() << f.name << " dither " << dither);
      BoundColorBuffer b(f);
      ModelState s;
      s.dither = dither;
      Apply(b, s);
      b.FillPattern(5);
      const uint32_t channels = f.masks[0] | f.masks[1] | f.masks[2] | f.masks[3];
      for (int32_t row = 0; row < b.height(); row++) {
        for (int32_t col = 0; col < b.width(); col++) {
          const uint32_t before = b.memory().Read(col, row);
          GlFragment frag{};
          frag.x = col + kBias, frag.y = row + kBias;
          b.cfb()->fetch[0](b.cfb(), frag.x, frag.y, &frag.color);
          b.cfb()->store(b.cfb(), &frag);
          EXPECT_EQ(b.memory().Read(col, row), before & channels) << col << ", " << row;
        }
      }
    }
  }
}

}  // namespace

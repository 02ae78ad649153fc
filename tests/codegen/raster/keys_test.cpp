// The raster cache's keys: a state seen before finds its routine, states
// that need different code get different routines, the flags guard traps
// under other flags, and generation fits every routine into its cell.
#include <signal.h>

#include <gtest/gtest.h>

#include "codegen/og_ras_walk.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/codegen/raster/raster_fixture.h"
#include "tests/codegen/raster/raster_texture.h"

namespace raster_test {
namespace {

constexpr uint32_t kSmooth = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR;

TEST(RasterKeys, ARepeatedStateFindsItsRoutineAndNameSpace) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  rc.SetFlags(kSmooth | __GL_SHADE_DEPTH_TEST);
  for (bool spanlet : {true, false}) {
    void *first = rc.Raster(spanlet);
    OgNameSpace *ns = gc->rasterNameSpace;
    ASSERT_NE(ns, nullptr);
    EXPECT_EQ(ns->direct_map, spanlet ? 1 : 0);
    EXPECT_EQ(ns->open, 0) << "closed after generation";
    gc->rasterNameSpace = nullptr;
    EXPECT_EQ(rc.Raster(spanlet), first);
    EXPECT_EQ(gc->rasterNameSpace, ns) << "a hit points the context at the routine's space";
  }
  EXPECT_NE(rc.Raster(true), rc.Raster(false));
}

TEST(RasterKeys, FlagsTheRoutineIgnoresShareIt) {
  RasterContext rc;
  rc.SetFlags(kSmooth);
  void *plain = rc.Raster(true);
  rc.SetFlags(kSmooth | __GL_SHADE_STIPPLE | __GL_SHADE_TWOSIDED | __GL_SHADE_CULL_FACE);
  EXPECT_EQ(rc.Raster(true), plain);
  rc.SetFlags(kSmooth | __GL_SHADE_ALPHA_TEST);
  EXPECT_NE(rc.Raster(true), plain);
}

// Outside spanlet mode the depth state is in the key; in spanlet mode only
// whether depth is walked at all.
TEST(RasterKeys, DepthStateInBothModes) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  rc.SetFlags(kSmooth | __GL_SHADE_DEPTH_TEST);
  struct Case {
    GLenum func;
    GLbool8 write;
    uint32_t spanletKey, key;
  };
  using namespace og_raster;
  const Case cases[] = {
      {GL_ALWAYS, 0, kKeySpanlet, (7u << kKeyDepthFuncShift) | kKeyDeepDepth},
      {GL_ALWAYS, 1, kKeySpanlet | kKeyEffectiveDepth,
       (7u << kKeyDepthFuncShift) | kKeyDeepDepth | kKeyDepthWrite | kKeyEffectiveDepth},
      {GL_LESS, 0, kKeySpanlet | kKeyEffectiveDepth,
       (1u << kKeyDepthFuncShift) | kKeyDeepDepth | kKeyEffectiveDepth},
      {GL_NEVER, 1, kKeySpanlet | kKeyEffectiveDepth,
       kKeyDeepDepth | kKeyDepthWrite | kKeyEffectiveDepth},
  };
  for (const Case &c : cases) {
    gc->state.depth.testFunc = c.func;
    gc->state.depth.writeEnable = c.write;
    EXPECT_EQ(__glRasterKey2(gc, 1), c.spanletKey) << std::hex << c.func;
    EXPECT_EQ(__glRasterKey2(gc, 0), c.key) << std::hex << c.func;
  }
  gc->modes.depthBits = 16;
  EXPECT_EQ(__glRasterKey2(gc, 0) & kKeyDeepDepth, 0u);
}

TEST(RasterKeys, TextureFactsOutsideSpanletMode) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  rc.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE);
  TestTexture tex(gc, 5, 3, GL_RGBA, GL_DECAL);
  using namespace og_raster;
  EXPECT_EQ(__glRasterKey2(gc, 0), (2u << kKeyEnvShift) | (5u << kKeyWidthShift) |
                                       (3u << kKeyHeightShift) | (3u << kKeyBaseFormatShift));
  EXPECT_EQ(__glRasterKey2(gc, 1), kKeySpanlet) << "spanlet mode keeps texture facts out";
  tex.object.baseFormat = GL_RGB;  // decal on RGB counts as replace
  EXPECT_EQ((__glRasterKey2(gc, 0) >> kKeyEnvShift) & 7, 6u);
  tex.object.minFilter = GL_LINEAR;
  EXPECT_NE(__glRasterKey2(gc, 1) & kKeyLevelOfDetail, 0u);
  tex.level.baseFormat = GL_COLOR_INDEX;
  EXPECT_NE(__glRasterKey2(gc, 0) & kKeyColorIndexTexture, 0u);
}

// The span copies texels as pixels only from the level's frame-buffer copy:
// a routine made with the copy must not serve a texture without one.
TEST(RasterKeys, AuxiliaryImageGetsItsOwnRoutine) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  rc.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE);
  TestTexture tex(gc, 4, 4, GL_RGB, GL_REPLACE);
  tex.WithCopy(true);
  void *withCopy = rc.Raster(false);
  tex.WithCopy(false);
  void *without = rc.Raster(false);
  EXPECT_NE(withCopy, without);
  tex.WithCopy(true);
  EXPECT_EQ(rc.Raster(false), withCopy);
  // Dither rules the copy out, as it does in the setup.
  rc.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_DITHER);
  EXPECT_EQ(__glRasterKey2(gc, 0) & og_raster::kKeyAuxImage, 0u);
}

TEST(RasterKeys, BlendFactorsWithMmx) {
  RasterContext rc(16, nullptr);
  GlContext *gc = rc.gc();
  gc->modes.colorBits = 16;
  gc->constants.cpuFlags |= __GL_CPU_MMX;
  rc.SetFlags(__GL_SHADE_RGB | __GL_SHADE_BLEND);
  gc->state.raster.blendSrc = GL_SRC_ALPHA;
  gc->state.raster.blendDst = GL_ONE_MINUS_DST_COLOR;
  EXPECT_EQ(__glRasterKey2(gc, 0), (4u << 4) | (9u << 8));
  gc->constants.cpuFlags &= ~__GL_CPU_MMX;
  EXPECT_EQ(__glRasterKey2(gc, 0), 0u);
}

TEST(RasterKeys, BlendFactorIndices) {
  const GLenum factors[] = {GL_ZERO,          GL_ONE,       GL_SRC_COLOR,
                            GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                            GL_DST_ALPHA,     GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR,
                            GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
  for (uint32_t i = 0; i < 11; i++) EXPECT_EQ(og_raster::bf_to_index(factors[i]), i);
  EXPECT_DEATH(og_raster::bf_to_index(GLenum(GL_SRC_ALPHA_SATURATE + 1)), "");
}

TEST(RasterKeys, Log2) {
  const uint32_t cases[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {31, 4}, {32, 5}, {255, 7},
                               {256, 8}, {0x80000000u, 31}, {0xFFFFFFFFu, 31}};
  for (const auto &c : cases) EXPECT_EQ(og_raster::log2(c[0]), int32_t(c[1])) << c[0];
}

// Entered under flags whose first key differs, the routine stops at its
// guard instead of drawing with the wrong layout.
TEST(RasterKeysDeathTest, GuardTrapsUnderOtherFlags) {
  RasterContext rc;
  GlContext *gc = rc.gc();
  rc.SetFlags(kSmooth);
  GlVertex v[3] = {RasterContext::Vertex(1, 1), RasterContext::Vertex(40, 9),
                   RasterContext::Vertex(20, 30)};
  rc.Generated(&v[0], &v[1], &v[2]);
  const void *setup = reinterpret_cast<const void *>(gc->procs.fillTriangle);
  gc->polygon.shader.modeFlags = kSmooth | __GL_SHADE_DEPTH_TEST;
  EXPECT_EXIT(RunFastChecked(setup, uint32_t(uintptr_t(gc)), uint32_t(uintptr_t(&v[0])),
                             {uint32_t(uintptr_t(&v[1])), uint32_t(uintptr_t(&v[2]))}),
              testing::KilledBySignal(SIGTRAP), "");
  // Ignored flags do not trap.
  gc->polygon.shader.modeFlags = kSmooth | __GL_SHADE_STIPPLE;
  rc.chunks.clear();
  RunFastChecked(setup, uint32_t(uintptr_t(gc)), uint32_t(uintptr_t(&v[0])),
                 {uint32_t(uintptr_t(&v[1])), uint32_t(uintptr_t(&v[2]))});
  EXPECT_FALSE(rc.chunks.empty());
}

// Generation asserts when code would pass the cell's end, so making every
// combination shows that each fits.
TEST(RasterKeys, EveryRoutineFitsItsCell) {
  const uint32_t options[] = {__GL_SHADE_ITERATE_COLOR, __GL_SHADE_DEPTH_TEST,
                              __GL_SHADE_STENCIL_TEST,  __GL_SHADE_DITHER,
                              __GL_SHADE_ALPHA,         __GL_SHADE_MASK,
                              __GL_SHADE_TEXTURE,       __GL_SHADE_PERSPECTIVE};
  for (uint32_t bits : {16u, 32u}) {
    RasterContext rc(bits, nullptr);
    GlContext *gc = rc.gc();
    gc->modes.colorBits = bits;
    gc->constants.cpuFlags |= __GL_CPU_MMX;  // the MMX body below 17 bits
    TestTexture tex(gc, 8, 8, GL_RGBA, GL_MODULATE);
    tex.object.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    for (uint32_t mask = 0; mask < (1u << 8); mask++) {
      uint32_t flags = __GL_SHADE_RGB;
      for (int i = 0; i < 8; i++)
        if (mask & (1u << i)) flags |= options[i];
      if ((flags & __GL_SHADE_PERSPECTIVE) && !(flags & __GL_SHADE_TEXTURE)) continue;
      rc.SetFlags(flags);
      for (bool spanlet : {true, false}) {
        ASSERT_NE(rc.Raster(spanlet), nullptr) << std::hex << flags;
        ASSERT_EQ(gc->ogs.failure, nullptr) << std::hex << flags;
      }
    }
  }
}

}  // namespace
}  // namespace raster_test

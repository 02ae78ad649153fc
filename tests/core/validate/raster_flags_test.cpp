// The raster-mode flags word: state in, flags out, one row per feature and
// the conditions that keep it off.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

GlTextureObject gTexture;

// A current texture with these filters.
void UseTexture(GlContext *gc, GLenum minFilter, GLenum magFilter) {
  gTexture = GlTextureObject{};
  gTexture.minFilter = minFilter;
  gTexture.magFilter = magFilter;
  gc->texture.current = &gTexture;
  gc->texture.active = 1;
}

struct FlagsCase {
  const char *what;
  GlModes (*modes)();
  void (*change)(GlContext *gc);
  uint32_t flags;
};

GlModes Rgba16() { return TestModes(); }
void Nothing(GlContext *) {}
void Enable(GlContext *gc, uint32_t bits) { gc->state.enables.general |= bits; }

// A 16-bit RGBA context starts with dithering and smooth shading.
constexpr uint32_t kRgbaDefaults = 0x20043;
constexpr uint32_t kIndexDefaults = 0x20042;

const FlagsCase kFlagsCases[] = {
    {"defaults", Rgba16, Nothing, kRgbaDefaults},
    {"flat shading", Rgba16, [](GlContext *gc) { gc->state.light.shadingModel = GL_FLAT; }, 0x41},
    {"colour logic op", Rgba16, [](GlContext *gc) { Enable(gc, __GL_COLOR_LOGIC_OP_ENABLE); },
     kRgbaDefaults | 0x80},
    {"blending", Rgba16, [](GlContext *gc) { Enable(gc, __GL_BLEND_ENABLE); },
     kRgbaDefaults | 0x100 | 0x8000000},
    {"blending under a logic op", Rgba16,
     [](GlContext *gc) { Enable(gc, __GL_BLEND_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE); },
     kRgbaDefaults | 0x80},
    {"index logic op in RGBA", Rgba16,
     [](GlContext *gc) { Enable(gc, __GL_INDEX_LOGIC_OP_ENABLE); }, kRgbaDefaults},
    {"alpha test", Rgba16, [](GlContext *gc) { Enable(gc, __GL_ALPHA_TEST_ENABLE); },
     kRgbaDefaults | 0x200 | 0x8000000},
    {"alpha bitplanes", RgbaAlpha, Nothing, kRgbaDefaults | 0x8000000},
    {"green write-protected", Rgba16, [](GlContext *gc) { gc->state.raster.gMask = 0; },
     kRgbaDefaults | 0x800},
    {"alpha write-protected without alpha planes", Rgba16,
     [](GlContext *gc) { gc->state.raster.aMask = 0; }, kRgbaDefaults},
    {"alpha write-protected with alpha planes", RgbaAlpha,
     [](GlContext *gc) { gc->state.raster.aMask = 0; }, kRgbaDefaults | 0x8000000 | 0x800},
    {"index test in RGBA", Rgba16, [](GlContext *gc) { Enable(gc, __GL_INDEX_TEST_ENABLE); },
     kRgbaDefaults},
    {"colour index", ColorIndex8, Nothing, kIndexDefaults},
    {"colour index: index logic op", ColorIndex8,
     [](GlContext *gc) { Enable(gc, __GL_INDEX_LOGIC_OP_ENABLE); }, kIndexDefaults | 0x80},
    {"colour index: colour logic op", ColorIndex8,
     [](GlContext *gc) { Enable(gc, __GL_COLOR_LOGIC_OP_ENABLE); }, kIndexDefaults},
    {"colour index: blending and alpha test", ColorIndex8,
     [](GlContext *gc) { Enable(gc, __GL_BLEND_ENABLE | __GL_ALPHA_TEST_ENABLE); },
     kIndexDefaults},
    {"colour index: partial index mask", ColorIndex8,
     [](GlContext *gc) { gc->state.raster.writeMask = 0x7F; }, kIndexDefaults | 0x800},
    {"colour index: index test", ColorIndex8,
     [](GlContext *gc) { Enable(gc, __GL_INDEX_TEST_ENABLE); }, kIndexDefaults | 0x200000},
    {"texture, perspective hint left open", Rgba16,
     [](GlContext *gc) { UseTexture(gc, GL_NEAREST, GL_NEAREST); },
     kRgbaDefaults | 0x8 | 0x800000 | 0x2000000},
    {"texture, fastest hint, equal filters", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc, GL_LINEAR, GL_LINEAR);
       gc->state.hints.perspectiveCorrection = GL_FASTEST;
     },
     kRgbaDefaults | 0x8},
    {"texture, fastest hint, different filters", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc, GL_LINEAR, GL_NEAREST);
       gc->state.hints.perspectiveCorrection = GL_FASTEST;
     },
     kRgbaDefaults | 0x8 | 0x800000 | 0x2000000},
    {"texture, nicest hint, equal filters", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc, GL_NEAREST, GL_NEAREST);
       gc->state.hints.perspectiveCorrection = GL_NICEST;
     },
     kRgbaDefaults | 0x8 | 0x800000 | 0x2000000},
    {"mipmapped texture", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR);
       gc->state.hints.perspectiveCorrection = GL_FASTEST;
     },
     kRgbaDefaults | 0x8 | 0x4000000 | 0x800000 | 0x2000000},
    {"depth test", Rgba16, [](GlContext *gc) { Enable(gc, __GL_DEPTH_TEST_ENABLE); },
     kRgbaDefaults | 0x4004},
    {"depth test without a depth buffer (single-buffered: the front is drawn)", RgbaBare,
     [](GlContext *gc) { Enable(gc, __GL_DEPTH_TEST_ENABLE); }, kRgbaDefaults | 0x400000},
    {"polygon offset by factor", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_DEPTH_TEST_ENABLE | __GL_POLYGON_OFFSET_FILL_ENABLE);
       gc->state.polygon.factor = 1.0f;
     },
     kRgbaDefaults | 0x4004 | 0x100000},
    {"polygon offset by units", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_DEPTH_TEST_ENABLE | __GL_POLYGON_OFFSET_FILL_ENABLE);
       gc->state.polygon.units = -0.5f;
     },
     kRgbaDefaults | 0x4004 | 0x100000},
    {"polygon offset of nothing", Rgba16,
     [](GlContext *gc) { Enable(gc, __GL_DEPTH_TEST_ENABLE | __GL_POLYGON_OFFSET_FILL_ENABLE); },
     kRgbaDefaults | 0x4004},
    {"polygon offset of lines only", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_DEPTH_TEST_ENABLE | __GL_POLYGON_OFFSET_LINE_ENABLE);
       gc->state.polygon.factor = 1.0f;
     },
     kRgbaDefaults | 0x4004},
    {"polygon offset without depth test", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_POLYGON_OFFSET_FILL_ENABLE);
       gc->state.polygon.factor = 1.0f;
     },
     kRgbaDefaults},
    {"face culling", Rgba16, [](GlContext *gc) { Enable(gc, __GL_CULL_FACE_ENABLE); },
     kRgbaDefaults | 0x10000},
    {"dithering off", Rgba16,
     [](GlContext *gc) { gc->state.enables.general &= ~__GL_DITHER_ENABLE; }, 0x20003},
    {"dithering on 4-byte pixels", Rgba32, Nothing, 0x20003},
    {"polygon stipple", Rgba16, [](GlContext *gc) { Enable(gc, __GL_POLYGON_STIPPLE_ENABLE); },
     kRgbaDefaults | 0x10},
    {"line stipple", Rgba16, [](GlContext *gc) { Enable(gc, __GL_LINE_STIPPLE_ENABLE); },
     kRgbaDefaults | 0x8000},
    {"stencil test", Rgba16, [](GlContext *gc) { Enable(gc, __GL_STENCIL_TEST_ENABLE); },
     kRgbaDefaults | 0x20},
    {"stencil test without a stencil buffer", RgbaBare,
     [](GlContext *gc) { Enable(gc, __GL_STENCIL_TEST_ENABLE); }, kRgbaDefaults | 0x400000},
    {"two-sided lighting", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_LIGHTING_ENABLE);
       gc->state.light.model.twoSided = 1;
     },
     kRgbaDefaults | 0x400},
    {"one-sided lighting", Rgba16, [](GlContext *gc) { Enable(gc, __GL_LIGHTING_ENABLE); },
     kRgbaDefaults},
    {"two-sided model without lighting", Rgba16,
     [](GlContext *gc) { gc->state.light.model.twoSided = 1; }, kRgbaDefaults},
    {"fog, flat shading", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_FOG_ENABLE);
       gc->state.light.shadingModel = GL_FLAT;
     },
     0x41 | 0x2002},
    {"fog, fastest hint", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_FOG_ENABLE);
       gc->state.hints.fog = GL_FASTEST;
     },
     kRgbaDefaults | 0x2002},
    {"fog, nicest hint: per fragment", Rgba16,
     [](GlContext *gc) {
       Enable(gc, __GL_FOG_ENABLE);
       gc->state.hints.fog = GL_NICEST;
     },
     kRgbaDefaults | 0x2002 | 0x1000},
    {"nicest fog hint, fog off", Rgba16, [](GlContext *gc) { gc->state.hints.fog = GL_NICEST; },
     kRgbaDefaults},
    {"drawing the front buffer", Rgba16,
     [](GlContext *gc) { gc->state.raster.drawBuffer = GL_FRONT; }, kRgbaDefaults | 0x400000},
    {"drawing both buffers", Rgba16,
     [](GlContext *gc) { gc->state.raster.drawBuffer = GL_FRONT_AND_BACK; },
     kRgbaDefaults | 0x400000},
    {"drawing no buffer", Rgba16, [](GlContext *gc) { gc->state.raster.drawBuffer = GL_NONE; },
     kRgbaDefaults},
};

class RasterModeFlags : public ValidateTest {};

TEST_F(RasterModeFlags, FollowTheState) {
  for (const FlagsCase &c : kFlagsCases) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    c.change(gc);
    const uint32_t flags = __glComputeRasterModeFlags(gc);
    EXPECT_EQ(flags, c.flags) << std::hex << flags;
    gc->texture.current = nullptr;
    gc->texture.active = 0;
  }
}

// The pass stores the word where the rasterizer and generated code read it.
TEST_F(RasterModeFlags, ValidationStoresThemInTheShader) {
  gc->state.enables.general |= __GL_CULL_FACE_ENABLE | __GL_STENCIL_TEST_ENABLE;
  gc->dirtyMask |= __GL_DIRTY_SCISSOR;
  gc->procs.validate(gc);
  EXPECT_EQ(gc->polygon.shader.modeFlags, kRgbaDefaults | 0x10000 | 0x20);
}

}  // namespace
}  // namespace validate_test

// The raster-mode flags word: what the rasterizer's pickers and generated
// code read of the state, one bit per feature in force.
#include "core/context.h"
#include "core/s_pick.h"
#include "raster/s_shader.h"

// The drawable's pixels are as wide as the visual's colour.
uint32_t __glColorBytesPerPixel(const GlContext *gc) { return (gc->modes.colorBits + 7) / 8; }

namespace {

uint32_t ColorFlags(const GlContext *gc) {
  const uint32_t enables = gc->state.enables.general;
  const GlRasterState &raster = gc->state.raster;
  uint32_t flags = 0;
  if (!gc->modes.rgbMode) {
    if (enables & __GL_INDEX_LOGIC_OP_ENABLE) flags |= __GL_SHADE_LOGIC_OP;
    if (raster.writeMask != gc->frontBuffer.redMax) flags |= __GL_SHADE_MASK;
    if (enables & __GL_INDEX_TEST_ENABLE) flags |= __GL_SHADE_INDEX_TEST;
    return flags;
  }
  const bool alphaPlanes = gc->modes.alphaBits != 0;
  flags |= __GL_SHADE_RGB;
  if (enables & __GL_COLOR_LOGIC_OP_ENABLE)
    flags |= __GL_SHADE_LOGIC_OP;
  else if (enables & __GL_BLEND_ENABLE)
    flags |= __GL_SHADE_BLEND | __GL_SHADE_ALPHA;  // a logic op replaces blending
  if (enables & __GL_ALPHA_TEST_ENABLE) flags |= __GL_SHADE_ALPHA_TEST | __GL_SHADE_ALPHA;
  if (alphaPlanes) flags |= __GL_SHADE_ALPHA;
  if (!raster.rMask || !raster.gMask || !raster.bMask || (!raster.aMask && alphaPlanes))
    flags |= __GL_SHADE_MASK;
  return flags;
}

uint32_t TextureFlags(const GlContext *gc) {
  const GlTextureObject *tex = gc->texture.current;
  if (!tex) return 0;
  uint32_t flags = __GL_SHADE_TEXTURE;
  if (tex->minFilter != GL_NEAREST && tex->minFilter != GL_LINEAR) flags |= __GL_SHADE_MIPMAP;
  // Perspective is only given up when asked to and no filter choice can
  // depend on the level of detail.
  if (gc->state.hints.perspectiveCorrection != GL_FASTEST || tex->minFilter != tex->magFilter)
    flags |= __GL_SHADE_TEX_DIVIDED | __GL_SHADE_PERSPECTIVE;
  return flags;
}

uint32_t FragmentFlags(const GlContext *gc) {
  const GlState &s = gc->state;
  const uint32_t enables = s.enables.general;
  uint32_t flags = 0;
  if (s.light.shadingModel == GL_SMOOTH)
    flags |= __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR;
  if ((enables & __GL_DEPTH_TEST_ENABLE) && gc->modes.haveDepthBuffer) {
    flags |= __GL_SHADE_DEPTH_TEST | __GL_SHADE_DEPTH_ITER;
    if ((enables & __GL_POLYGON_OFFSET_FILL_ENABLE) &&
        (s.polygon.factor != 0.0f || s.polygon.units != 0.0f))
      flags |= __GL_SHADE_POLYGON_OFFSET;
  }
  if (enables & __GL_CULL_FACE_ENABLE) flags |= __GL_SHADE_CULL_FACE;
  if ((enables & __GL_DITHER_ENABLE) && __glColorBytesPerPixel(gc) < 3) flags |= __GL_SHADE_DITHER;
  if (enables & __GL_POLYGON_STIPPLE_ENABLE) flags |= __GL_SHADE_STIPPLE;
  if (enables & __GL_LINE_STIPPLE_ENABLE) flags |= __GL_SHADE_LINE_STIPPLE;
  if ((enables & __GL_STENCIL_TEST_ENABLE) && gc->modes.haveStencilBuffer)
    flags |= __GL_SHADE_STENCIL_TEST;
  if ((enables & __GL_LIGHTING_ENABLE) && s.light.model.twoSided) flags |= __GL_SHADE_TWOSIDED;
  if (enables & __GL_FOG_ENABLE) {
    flags |= __GL_SHADE_FOG | __GL_SHADE_ITERATE_COLOR;
    // The fog picker leaves no per-vertex fog under GL_NICEST: fog then
    // comes per fragment.
    if (s.hints.fog == GL_NICEST) flags |= __GL_SHADE_FRAGMENT_FOG;
  }
  if (s.raster.drawBuffer == GL_FRONT || s.raster.drawBuffer == GL_FRONT_AND_BACK)
    flags |= __GL_SHADE_FRONT_BUFFER;
  return flags;
}

}  // namespace

uint32_t __glComputeRasterModeFlags(GlContext *gc) {
  return ColorFlags(gc) | TextureFlags(gc) | FragmentFlags(gc);
}

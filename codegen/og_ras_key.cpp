// The raster routine's key words and the decisions the state fixes for it.
#include <initializer_list>

#include "codegen/og_ras.h"
#include "codegen/og_ras_setup.h"
#include "codegen/og_ras_walk.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "fastraster/fr_pick.h"

namespace og_raster {
namespace {

const GlTextureLevel *Level0(const GlContext *gc) {
  const GlTextureObject *tex = gc->texture.current;
  return tex && tex->levels ? tex->levels[0] : nullptr;
}

uint32_t EnvBits(GLenum env) {
  switch (env) {
    case GL_DECAL: return 2;
    case GL_BLEND: return 4;
    case GL_REPLACE: return 6;
    case GL_ADD: return 8;
    default: return 0;  // GL_MODULATE
  }
}

uint32_t FormatBits(GLenum format) {
  switch (format) {
    case GL_LUMINANCE_ALPHA: return 1;
    case GL_RGB: return 2;
    case GL_RGBA: return 3;
    case GL_INTENSITY: return 4;
    case GL_ALPHA: return 5;
    default: return 0;  // GL_LUMINANCE
  }
}

bool EffectiveDepth(const GlContext *gc, uint32_t flags) {
  return (flags & __GL_SHADE_DEPTH_TEST) &&
         (gc->state.depth.writeEnable || gc->state.depth.testFunc != GL_ALWAYS);
}

uint32_t TextureBits(GlContext *gc, uint32_t flags) {
  const GlTextureObject *tex = gc->texture.current;
  const GlTextureLevel *level = Level0(gc);
  uint32_t bits = EnvBits(og_setup::EffectiveEnv(gc)) << kKeyEnvShift;
  if (!tex || !level) return bits;
  if (__glFRSupportsMMX(gc)) {
    if (flags & __GL_SHADE_BLEND) {
      bits |= bf_to_index(gc->state.raster.blendSrc) << kKeyWidthShift;
      bits |= bf_to_index(gc->state.raster.blendDst) << kKeyHeightShift;
    }
  } else {
    __GL_ASSERT(level->widthLog2 < 16, "current->level[0]->widthLog2 < 16", "og_ras");
    __GL_ASSERT(level->heightLog2 < 16, "current->level[0]->heightLog2 < 16", "og_ras");
    bits |= uint32_t(level->widthLog2) << kKeyWidthShift;
    bits |= uint32_t(level->heightLog2) << kKeyHeightShift;
  }
  if (level->baseFormat == GL_COLOR_INDEX) bits |= kKeyColorIndexTexture;
  bits |= FormatBits(tex->baseFormat) << kKeyBaseFormatShift;
  // The same test as the setup's: then its texel base is the copy in the
  // frame buffer's format, and the span copies texels as pixels.
  if (__glSetupStateBits(gc, 0) & 0x02) bits |= kKeyAuxImage;
  return bits;
}

}  // namespace

uint32_t RasterKey2(GlContext *gc, bool spanlet) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool texturing = (flags & __GL_SHADE_TEXTURE) != 0;
  uint32_t key = spanlet ? uint32_t(kKeySpanlet) : 0u;
  if (!spanlet) {
    if (texturing) key |= TextureBits(gc, flags);
    if (!texturing && (flags & __GL_SHADE_BLEND) && __glFRSupportsMMX(gc)) {
      key |= bf_to_index(gc->state.raster.blendSrc) << kKeyWidthShift;
      key |= bf_to_index(gc->state.raster.blendDst) << kKeyHeightShift;
    }
    if (flags & __GL_SHADE_DEPTH_TEST) {
      key |= ((gc->state.depth.testFunc - GL_NEVER) & 7) << kKeyDepthFuncShift;
      if (gc->modes.depthBits > 16) key |= kKeyDeepDepth;
      if (gc->state.depth.writeEnable) key |= kKeyDepthWrite;
    }
  }
  if (gc->drawBoth) key |= kKeyDoubleStore;
  const GlTextureObject *tex = gc->texture.current;
  if (texturing && tex && tex->minFilter != tex->magFilter) key |= kKeyLevelOfDetail;
  // Spanlet mode keeps the depth state out of the key, but whether the
  // depth words are walked depends on it.
  if (EffectiveDepth(gc, flags)) key |= kKeyEffectiveDepth;
  return key;
}

void Decide(Gen &g) {
  GlContext *gc = g.gc;
  const uint32_t f = g.flags;
  g.rgba = (f & __GL_SHADE_RGB) != 0;
  g.texturing = (f & __GL_SHADE_TEXTURE) != 0;
  g.env = g.texturing ? og_setup::EffectiveEnv(gc) : GLenum(0);
  g.perspective = g.texturing && (f & __GL_SHADE_PERSPECTIVE);
  g.lod = g.perspective && (g.key2 & kKeyLevelOfDetail);
  g.dither = (f & __GL_SHADE_DITHER) != 0;
  g.stencil = (f & __GL_SHADE_STENCIL_TEST) != 0;
  g.doubleStore = (g.key2 & kKeyDoubleStore) != 0;
  g.depth = (g.key2 & kKeyEffectiveDepth) != 0;
  g.mmx = !g.spanlet && __glFRSupportsMMX(gc);
  g.dual = g.mmx && !(f & (__GL_SHADE_TEXTURE | __GL_SHADE_BLEND));
  g.colorIterated = (f & __GL_SHADE_ITERATE_COLOR) && g.env != GL_REPLACE;
  // The colour words exist only where the setup writes planes.
  g.walkColor = (f & __GL_SHADE_ITERATE_COLOR) && og_setup::NeedColor(f, g.env);
  g.walkAlpha = g.walkColor && g.rgba && (f & __GL_SHADE_ALPHA) && !g.dual;
  switch (gc->drawBuffer ? gc->drawBuffer->frFbType : 0) {
    case FR_FB_CI8: case FR_FB_RGB332: g.bpp = 1; break;
    case FR_FB_RGB555: case FR_FB_RGB565: case FR_FB_A1RGB5: g.bpp = 2; break;
    case FR_FB_RGB8: g.bpp = 3; break;
    case FR_FB_XRGB8: case FR_FB_ARGB8: g.bpp = 4; break;
    default:  // a layout the fast path never draws: the buffer's own size
      g.bpp = gc->drawBuffer && gc->drawBuffer->buf.drawableBuf
                  ? gc->drawBuffer->buf.drawableBuf->elementSize
                  : 4;
  }
  g.flatFill = !g.spanlet && g.bpp != 3 &&
               !(f & (__GL_SHADE_ITERATE_COLOR | __GL_SHADE_TEXTURE | __GL_SHADE_MASK)) && !g.depth;
  const GlTextureObject *tex = gc->texture.current;
  const GlTextureLevel *level = tex && tex->levels ? tex->levels[0] : nullptr;
  g.widthLog2 = level ? level->widthLog2 : 0;
  g.heightLog2 = level ? level->heightLog2 : 0;
}

}  // namespace og_raster

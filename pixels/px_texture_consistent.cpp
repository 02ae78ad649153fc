// Whether a texture object can be used for texturing as it stands.
#include "core/context.h"
#include "pixels/px_texture.h"

namespace {

int32_t Halved(int32_t size) { return size > 1 ? size / 2 : 1; }

// The format the environment sees, or 0 when the context cannot use the
// level's format: a colour-index context needs colour indices, an RGBA
// context looks indices up in the colour table.
GLenum EffectiveFormat(const GlContext *gc, const GlTextureObject *tex, GLenum levelFormat) {
  if (gc->modes.colorIndexMode) return levelFormat == GL_COLOR_INDEX ? levelFormat : 0;
  if (levelFormat != GL_COLOR_INDEX) return levelFormat;
  // A table without entries is no table: the texels would index nothing.
  const GlColorTable &table = tex->colorTable;
  if (table.width <= 0 || table.table == nullptr) return 0;
  return table.baseFormat == GL_COLOR_INDEX ? 0 : table.baseFormat;
}

bool EnvironmentFits(const GlContext *gc, GLenum mode, GLenum format) {
  bool ci = gc->modes.colorIndexMode != 0;
  switch (mode) {
    case GL_REPLACE: return true;
    case GL_ADD: return ci;
    case GL_DECAL: return !ci && (format == GL_RGB || format == GL_RGBA);
    case GL_MODULATE:
    case GL_BLEND: return !ci;
    default: return false;
  }
}

// Levels 1 on, each half the size of the one before (at least 1), with
// level 0's border and requested format, until a 1 x 1 level.
bool ChainComplete(const GlContext *gc, const GlTextureObject *tex) {
  const GlTextureLevel *base = tex->levels[0];
  int32_t b = base->border;
  int32_t w = base->width2, h = base->height2, d = base->depth2;
  for (int32_t i = 1; i < gc->constants.maxMipMapLevel; ++i) {
    if (w == 1 && h == 1) return true;
    w = Halved(w);
    h = Halved(h);
    d = Halved(d);
    const GlTextureLevel *level = tex->levels[i];
    if (level == nullptr || level->border != b ||
        level->requestedFormat != base->requestedFormat || level->width != 2 * b + w ||
        level->height != 2 * b + h || level->depth != 2 * b + d) {
      return false;
    }
  }
  return true;
}

}  // namespace

GLbool8 __glIsTextureConsistent(GlContext *gc, GlTextureObject *tex) {
  if (tex == nullptr || tex->levels == nullptr || gc->constants.maxMipMapLevel < 1) return 0;
  const GlTextureLevel *base = tex->levels[0];
  if (base == nullptr || base->width <= 0 || base->height <= 0 || base->depth <= 0) return 0;
  GLenum format = EffectiveFormat(gc, tex, base->baseFormat);
  if (format == 0) return 0;
  // Without an environment there is nothing to apply a texel with.
  if (gc->texture.env == nullptr || !EnvironmentFits(gc, gc->texture.env[0].mode, format)) {
    return 0;
  }
  if (tex->minFilter == GL_NEAREST || tex->minFilter == GL_LINEAR) return 1;
  return ChainComplete(gc, tex);
}

// The pick's texture section: the texel filters, the texture flags, the
// colour key bits of the environment, the environment colour bytes and
// the extraction spanlet. Values outside the lists below decline, so no
// texture reaches a kernel that cannot read it. Nothing here writes the
// context.
#include "core/context.h"
#include "fastraster/fr_pick_work.h"
#include "fastraster/fr_tex.h"
#include "raster/s_shader.h"

namespace {

bool PickFilters(const GlTextureObject &tex, FrPick *pick, bool *mipmap) {
  *mipmap = true;
  switch (tex.minFilter) {
    case GL_NEAREST: pick->minFilter = __glFRNearestFilter; *mipmap = false; break;
    case GL_LINEAR: pick->minFilter = __glFRLinearFilter; *mipmap = false; break;
    case GL_NEAREST_MIPMAP_NEAREST: pick->minFilter = __glFR_NMNFilter; break;
    case GL_LINEAR_MIPMAP_NEAREST: pick->minFilter = __glFR_LMNFilter; break;
    case GL_NEAREST_MIPMAP_LINEAR: pick->minFilter = __glFR_NMLFilter; break;
    case GL_LINEAR_MIPMAP_LINEAR: pick->minFilter = __glFR_LMLFilter; break;
    default: return false;
  }
  switch (tex.magFilter) {
    case GL_NEAREST: pick->magFilter = __glFRNearestFilter; break;
    case GL_LINEAR: pick->magFilter = __glFRLinearFilter; break;
    default: return false;
  }
  return true;
}

bool KnownBase(GLenum base, bool rgba) {
  switch (base) {
    case GL_ALPHA: case GL_LUMINANCE: case GL_LUMINANCE_ALPHA: case GL_INTENSITY:
    case GL_RGB: case GL_RGBA:
      return true;
    case GL_COLOR_INDEX:
      return !rgba;  // an RGBA context draws a paletted texture by its palette's format
    default:
      return false;
  }
}

// Texel alpha and four-byte texels, by base format.
void PickTexelFlags(GLenum base, GLenum env, FrPick *pick) {
  const auto fourBytes = [pick] {
    pick->texFlags |= FR_TEX_FOUR_BYTES;
    pick->colorKey |= 0x20;
  };
  switch (base) {
    case GL_RGBA:
      pick->texFlags |= FR_TEX_ALPHA;
      if (env == GL_DECAL || pick->alphaNeeded) fourBytes();
      break;
    case GL_LUMINANCE_ALPHA:
      pick->texFlags |= FR_TEX_ALPHA;
      if (pick->alphaNeeded) fourBytes();
      break;
    case GL_INTENSITY:
      if (pick->alphaNeeded) fourBytes();
      break;
    default:
      break;
  }
}

// The environment colour as the kernels read it: bytes at 0..255, dithered
// buffers take off what the dither adds back. The colour is kept at the
// draw buffer's scale (31 for a 5-bit red), not the context's 255, so the
// buffer's own reciprocals bring it back to 0..1.
void PickEnvColor(GlContext *gc, FrPick *pick) {
  const GlColor &c = gc->texture.env[0].color;
  const GlColorBuffer &db = *gc->drawBuffer;
  const GLfloat v[4] = {c.r * db.oneOverRedScale, c.g * db.oneOverGreenScale,
                        c.b * db.oneOverBlueScale, c.a * db.oneOverAlphaScale};
  const uint32_t bits[4] = {gc->modes.redBits, gc->modes.greenBits, gc->modes.blueBits,
                            gc->modes.alphaBits};
  const bool dither = (pick->flags & __GL_SHADE_DITHER) != 0;
  for (int i = 0; i < 4; i++) {
    GLfloat f = v[i] * 255.0f + 0.5f;
    // Clamped so that a stray colour cannot wrap the byte.
    uint32_t byte = f >= 255.0f ? 255u : f > 0.0f ? uint32_t(f) : 0u;
    const bool reduced = i < 3 || bits[3] != 0;
    if (dither && reduced && bits[i] != 0 && bits[i] < 32) byte -= byte >> bits[i];
    pick->envColor[i] = uint8_t(byte);
  }
}

// The texture cannot change the colour: drawn untextured.
void DropTexture(FrPick *pick) {
  pick->flags &= ~(__GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE);
  pick->textured = false;
}

// The environment's colour key bits; false declines.
bool PickEnvironment(GlContext *gc, GLenum base, GLenum env, FrPick *pick) {
  const bool alphaBase = base == GL_ALPHA;
  switch (env) {
    case GL_REPLACE:
      if (!alphaBase) {
        pick->colorKey |= 0x04;
      } else if (pick->alphaNeeded) {
        pick->colorKey |= 0x38;
        pick->genericSetup = pick->spanletMode = true;
      } else {
        DropTexture(pick);
      }
      return true;
    case GL_MODULATE:
      if (!alphaBase) {
        pick->colorKey |= 0x0C;
      } else if (pick->alphaNeeded) {
        pick->colorKey |= 0x3C;
        pick->spanletMode = true;
      } else {
        DropTexture(pick);
      }
      return true;
    case GL_DECAL:
      if (pick->texFlags & FR_TEX_ALPHA) {
        pick->colorKey |= 0x08;
        pick->spanletMode = true;
      } else {
        pick->colorKey |= 0x04;
      }
      return true;
    case GL_BLEND:
      if (alphaBase && !pick->alphaNeeded) {
        DropTexture(pick);
        return true;
      }
      if (alphaBase) pick->colorKey |= 0x3C;
      else if (base == GL_INTENSITY && pick->alphaNeeded) pick->colorKey |= 0x14;
      else pick->colorKey |= 0x10;
      pick->spanletMode = true;
      PickEnvColor(gc, pick);
      return true;
    case GL_ADD:
      pick->colorKey |= 0x08;
      return true;
    default:
      return false;
  }
}

typedef void(GLFASTCALL *Extract)(uint32_t, FrSpan *);

// [family][variant]: families affine, PC, PCRho, PCMipmap; variants A, 1, 3, 4.
#define FR_EXTRACT_ENTRY(family, variant) family##_##variant,
const Extract kExtract[4][4] = {
    {FR_EXTRACT_VARIANTS(FR_EXTRACT_ENTRY, __glGenericExtractTexels)},
    {FR_EXTRACT_VARIANTS(FR_EXTRACT_ENTRY, __glGenericExtractTexelsPC)},
    {FR_EXTRACT_VARIANTS(FR_EXTRACT_ENTRY, __glGenericExtractTexelsPCRho)},
    {FR_EXTRACT_VARIANTS(FR_EXTRACT_ENTRY, __glGenericExtractTexelsPCMipmap)},
};
#undef FR_EXTRACT_ENTRY

}  // namespace

bool FrPickTexture(GlContext *gc, FrPick *pick) {
  const GlTextureObject *tex = gc->texture.current;
  if (tex == nullptr || gc->texture.env == nullptr) return false;
  // The resolved base format: a paletted texture in an RGBA context is
  // drawn, keyed and extracted by its palette's format.
  const GLenum base = tex->baseFormat;
  const GLenum env = gc->texture.env[0].mode;
  if (!KnownBase(base, pick->rgba)) return false;
  const bool minMagDiffer = tex->minFilter != tex->magFilter;
  if (pick->flags & __GL_SHADE_PERSPECTIVE) pick->texFlags |= FR_TEX_PERSPECTIVE;
  pick->textured = pick->genericExtract = true;
  bool mipmap = false;
  if (!PickFilters(*tex, pick, &mipmap)) return false;
  if (pick->rgba) PickTexelFlags(base, env, pick);
  if (!PickEnvironment(gc, base, env, pick)) return false;
  if (!pick->textured) {
    pick->genericExtract = false;
    pick->texFlags = 0;
    return true;
  }
  int variant = !pick->rgba                          ? 1
                : base == GL_ALPHA                   ? 0
                : pick->texFlags & FR_TEX_FOUR_BYTES ? 3
                                                     : 2;
  int family = 0;
  if (minMagDiffer || (pick->texFlags & FR_TEX_PERSPECTIVE))
    family = mipmap ? 3 : minMagDiffer ? 2 : 1;
  pick->extract = kExtract[family][variant];
  return true;
}

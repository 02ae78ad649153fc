// The per-fragment texturing procedures of the current texture: fragment
// procedure and level of detail by its filters, environment by the first
// environment's mode and the texture's base format, filters by dimension
// and filter, then the context's two fragment-texturing slots.
#include <type_traits>

#include "core/context.h"
#include "core/s_nop.h"
#include "core/s_pick.h"
#include "pixels/px_rho.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texenv_procs.h"
#include "pixels/px_texture.h"

static_assert(std::is_same_v<decltype(GlProcs::texture), GlTextureFragmentProc> &&
                  std::is_same_v<decltype(GlProcs::textureRaster), GlTextureFragmentProc>,
              "the fragment-texturing slots hold the texture's fragment procedure");

namespace {

bool Mipmapped(GLenum filter) {
  return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_NEAREST ||
         filter == GL_NEAREST_MIPMAP_LINEAR || filter == GL_LINEAR_MIPMAP_LINEAR;
}

void PickFragment(GlContext *gc, GlTextureObject *tex) {
  GlProcs &p = gc->procs;
  p.texRho = __glComputeLineRho;
  p.calcPolygonRho = __glComputePolygonRho;
  if (!Mipmapped(tex->minFilter) && tex->minFilter == tex->magFilter) {
    // One filter everywhere: the level of detail is never looked at.
    tex->fragment = __glFastTextureFragment;
    p.texRho = __glNopLineRho;
    p.calcPolygonRho = __glNopPolygonRho;
    return;
  }
  tex->fragment = Mipmapped(tex->minFilter) ? __glMipMapFragment : __glTextureFragment;
  // Linear magnification next to a nearest-level minification keeps
  // magnifying up to rho 2, so that the switch shows no seam.
  bool nearestLevel =
      tex->minFilter == GL_NEAREST_MIPMAP_NEAREST || tex->minFilter == GL_LINEAR_MIPMAP_NEAREST;
  tex->switchover = tex->magFilter == GL_LINEAR && nearestLevel ? 2.0f : gc->constants.one;
}

// Level 0's format; in an RGBA context indices stand for the colour
// table's entries, so its format decides.
GLenum EffectiveBaseFormat(const GlContext *gc, const GlTextureObject *tex) {
  const GlTextureLevel *base = tex->levels ? tex->levels[0] : nullptr;
  GLenum format = base ? base->baseFormat : 0;
  if (format == GL_COLOR_INDEX && !gc->modes.colorIndexMode) format = tex->colorTable.baseFormat;
  return format;
}

// The environment procedures by base format, in the order of kFormats.
constexpr GLenum kFormats[] = {GL_ALPHA,     GL_RGB,       GL_RGBA,       GL_LUMINANCE,
                               GL_LUMINANCE_ALPHA, GL_INTENSITY, GL_COLOR_INDEX};
constexpr int kFormatCount = sizeof kFormats / sizeof kFormats[0];

struct EnvRow {
  GLenum mode;
  GlTextureEnvProc procs[kFormatCount];  // none: the pair has no procedure
};

const EnvRow kEnvRows[] = {
    {GL_MODULATE,
     {__glTextureModulateA, __glTextureModulateRGB, __glTextureModulateRGBA, __glTextureModulateL,
      __glTextureModulateLA, __glTextureModulateI, __glTextureModulateCI}},
    {GL_REPLACE,
     {__glTextureReplaceA, __glTextureReplaceRGB, __glTextureReplaceRGBA, __glTextureReplaceL,
      __glTextureReplaceLA, __glTextureReplaceI, __glTextureReplaceCI}},
    {GL_BLEND,
     {__glTextureBlendA, __glTextureBlendRGB, __glTextureBlendRGBA, __glTextureBlendL,
      __glTextureBlendLA, __glTextureBlendI, nullptr}},
    // Formats without colour leave the fragment as it is.
    {GL_DECAL,
     {__glNopProc<GlTextureEnvProc>(), __glTextureDecalRGB, __glTextureDecalRGBA,
      __glNopProc<GlTextureEnvProc>(), __glNopProc<GlTextureEnvProc>(),
      __glNopProc<GlTextureEnvProc>(), nullptr}},
    {GL_ADD, {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, __glTextureAddCI}},
};

// Pairs without a procedure leave the environment as it was.
void PickEnvironment(GlContext *gc, GlTextureObject *tex) {
  GLenum format = EffectiveBaseFormat(gc, tex);
  tex->baseFormat = format;
  if (gc->texture.env == nullptr) return;
  GLenum mode = gc->texture.env[0].mode;
  for (const EnvRow &row : kEnvRows) {
    if (row.mode != mode) continue;
    for (int i = 0; i < kFormatCount; ++i) {
      if (kFormats[i] == format && row.procs[i] != nullptr) tex->env = row.procs[i];
    }
  }
}

GlTextureFilterProc FilterFor(GLenum filter) {
  switch (filter) {
    case GL_NEAREST: return __glNearestFilter;
    case GL_LINEAR: return __glLinearFilter;
    case GL_NEAREST_MIPMAP_NEAREST: return __glNMNFilter;
    case GL_LINEAR_MIPMAP_NEAREST: return __glLMNFilter;
    case GL_NEAREST_MIPMAP_LINEAR: return __glNMLFilter;
    case GL_LINEAR_MIPMAP_LINEAR: return __glLMLFilter;
    default: return nullptr;
  }
}

void PickFilters(GlTextureObject *tex) {
  if (tex->dim == 1) {
    tex->nearest = __glNearestFilter1;
    tex->linear = __glLinearFilter1;
  } else if (tex->dim == 2) {
    tex->nearest = __glNearestFilter2;
    tex->linear = __glLinearFilter2;
  }
  if (GlTextureFilterProc minify = FilterFor(tex->minFilter)) tex->minify = minify;
  // Magnification has no mipmap forms.
  if (!Mipmapped(tex->magFilter)) {
    if (GlTextureFilterProc magnify = FilterFor(tex->magFilter)) tex->magnify = magnify;
  }
}

}  // namespace

void __glGenericPickTextureProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  GlTextureObject *tex = gc->texture.current;
  if (tex == nullptr) {
    p.texture = __glNopProc<GlTextureFragmentProc>();
    p.textureRaster = __glNopProc<GlTextureFragmentProc>();
    return;
  }
  PickFragment(gc, tex);
  PickEnvironment(gc, tex);
  PickFilters(tex);
  p.texture = tex->fragment;
  p.textureRaster = tex->fragment;
  if (!tex->resident && tex->makeResident != nullptr) {
    tex->makeResident(gc, tex, tex->residencyArg);
  }
}

// The blend picker: procs.blend from glBlendFunc and the blend enable.
#include "core/context.h"
#include "raster/s_blend.h"

namespace {

GlBlendProc FusedPair(GLenum src, GLenum dst) {
  if (src == GL_SRC_ALPHA) {
    if (dst == GL_ZERO) return __glDoBlend_SA_ZERO;
    if (dst == GL_ONE) return __glDoBlend_SA_ONE;
    if (dst == GL_ONE_MINUS_SRC_ALPHA) return __glDoBlend_SA_MSA;
  }
  if (src == GL_ONE_MINUS_SRC_ALPHA && dst == GL_SRC_ALPHA) return __glDoBlend_MSA_SA;
  return nullptr;
}

// Pairs whose factors sum to at most 1 in every component.
bool CannotExceedScale(GLenum src, GLenum dst) {
  return (src == GL_DST_ALPHA && dst == GL_ONE_MINUS_DST_ALPHA) ||
         (src == GL_ONE_MINUS_DST_ALPHA && dst == GL_DST_ALPHA) ||
         dst == GL_ONE_MINUS_SRC_COLOR || src == GL_ONE_MINUS_DST_COLOR || dst == GL_ZERO ||
         src == GL_ZERO;
}

GlBlendProc SourceFactor(GLenum src) {
  switch (src) {
    case GL_ZERO: return __glDoBlendSourceZERO;
    case GL_DST_COLOR: return __glDoBlendSourceDC;
    case GL_ONE_MINUS_DST_COLOR: return __glDoBlendSourceMDC;
    case GL_SRC_ALPHA: return __glDoBlendSourceSA;
    case GL_ONE_MINUS_SRC_ALPHA: return __glDoBlendSourceMSA;
    case GL_DST_ALPHA: return __glDoBlendSourceDA;
    case GL_ONE_MINUS_DST_ALPHA: return __glDoBlendSourceMDA;
    case GL_SRC_ALPHA_SATURATE: return __glDoBlendSourceSAT;
    default: return __glDoBlendSourceONE;
  }
}

GlBlendProc DestinationFactor(GLenum dst) {
  switch (dst) {
    case GL_ONE: return __glDoBlendDestONE;
    case GL_SRC_COLOR: return __glDoBlendDestSC;
    case GL_ONE_MINUS_SRC_COLOR: return __glDoBlendDestMSC;
    case GL_SRC_ALPHA: return __glDoBlendDestSA;
    case GL_ONE_MINUS_SRC_ALPHA: return __glDoBlendDestMSA;
    case GL_DST_ALPHA: return __glDoBlendDestDA;
    case GL_ONE_MINUS_DST_ALPHA: return __glDoBlendDestMDA;
    default: return __glDoBlendDestZERO;
  }
}

}  // namespace

bool __glBlendReadsDestination(GLenum src, GLenum dst) {
  switch (src) {
    case GL_DST_COLOR:
    case GL_ONE_MINUS_DST_COLOR:
    case GL_DST_ALPHA:
    case GL_ONE_MINUS_DST_ALPHA:
    case GL_SRC_ALPHA_SATURATE:
      return true;
    default:
      return dst != GL_ZERO;
  }
}

void __glGenericPickBlendProcs(GlContext *gc) {
  if (!gc->modes.rgbMode) return;
  GlBlendProcs &b = gc->procs.blend;
  const GLenum src = gc->state.raster.blendSrc, dst = gc->state.raster.blendDst;
  b.blend = __glBlendReadsDestination(src, dst) ? __glBlendFetching : __glBlendNonFetching;
  if (!(gc->state.enables.general & __GL_BLEND_ENABLE)) {
    b.blendColor = __glDoBlendNone;
  } else if (GlBlendProc fused = FusedPair(src, dst)) {
    // The fused forms call nothing else: the factor slots keep what they had.
    b.blendColor = fused;
    return;
  } else {
    b.blendColor = CannotExceedScale(src, dst) ? __glDoBlendNoClamp : __glDoBlend;
    b.blendSrc = SourceFactor(src);
    b.blendDst = DestinationFactor(dst);
  }
  b.blendAdd = __glDoBlendAdd;
}

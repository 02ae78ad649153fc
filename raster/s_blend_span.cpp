// The blend span procedures of the per-buffer span tail: each pixel's
// colour against the destination that fetchSpan left in fbcolors.
#include "core/context.h"
#include "raster/s_blend.h"

namespace {

bool StippleBit(const uint32_t *pattern, int32_t i) {
  return pattern[i >> 5] & (0x80000000u >> (i & 31));
}

// The combiner over the span, through a temporary so that the combiner may
// read the source while it writes.
template <bool Stippled>
GLbool8 BlendWith(GlContext *gc, GlBlendProc combine) {
  GlShader &sh = gc->polygon.shader;
  for (int32_t i = 0; i < sh.length; i++) {
    if (Stippled && !StippleBit(sh.stipplePat, i)) continue;
    GlColor blended;
    combine(gc, &sh.spanColors[i], &sh.fbcolors[i], &blended);
    sh.spanColors[i] = blended;
  }
  return 0;
}

}  // namespace

GLbool8 __glBlendSpan(GlContext *gc) { return BlendWith<false>(gc, gc->procs.blend.blendColor); }

GLbool8 __glBlendStippledSpan(GlContext *gc) {
  return BlendWith<true>(gc, gc->procs.blend.blendColor);
}

GLbool8 __glBlendSpan_SA_MSA(GlContext *gc) { return BlendWith<false>(gc, __glDoBlend_SA_MSA); }

GLbool8 __glBlendSpan_MSA_SA(GlContext *gc) { return BlendWith<false>(gc, __glDoBlend_MSA_SA); }

GLbool8 __glBlendSpan_SA_ZERO(GlContext *gc) { return BlendWith<false>(gc, __glDoBlend_SA_ZERO); }

GLbool8 __glBlendSpan_SA_ONE(GlContext *gc) { return BlendWith<false>(gc, __glDoBlend_SA_ONE); }

// RGBA groups to a format's components, in the format's order: unscaled by
// the reciprocal colour-buffer scales, or NS (copied bit for bit). The
// unscale stages of four-component groups are the same computation.
#include "pixels/px_packer.h"
#include "pixels/px_span_formats.h"
#include "pixels/px_span_scales.h"

namespace {

template <GlSpanFormatIndex F, bool Unscale>
void Reduce(const GlContext *gc, const GlPixelSpanInfo *info, const void *in, void *out) {
  constexpr GlSpanFormat format = kSpanFormats[F];
  const GlSpanScales scales = __glSpanScales(gc);
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += 4, d += format.components)
    for (int k = 0; k < format.components; k++) {
      const int c = __glSpanFormatSlot(format, k);
      d[k] = Unscale ? s[c] * scales.inverse[c] : s[c];
    }
}

// The unscaled colours summed, at most 1.0 (no lower limit); then alpha
// unscaled, when asked for.
template <bool WithAlpha>
void ReduceLuminance(const GlContext *gc, const GlPixelSpanInfo *info, const void *in, void *out) {
  const GlSpanScales scales = __glSpanScales(gc);
  const GLfloat *k = scales.inverse;
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += 4) {
    const GLfloat l = s[0] * k[0] + s[1] * k[1] + s[2] * k[2];
    *d++ = l > 1.0f ? 1.0f : l;
    if (WithAlpha) *d++ = s[3] * k[3];
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanReduceRed) { Reduce<kFormatRed, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceRedNS) { Reduce<kFormatRed, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceGreen) { Reduce<kFormatGreen, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceGreenNS) { Reduce<kFormatGreen, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceBlue) { Reduce<kFormatBlue, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceBlueNS) { Reduce<kFormatBlue, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceAlpha) { Reduce<kFormatAlpha, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceAlphaNS) { Reduce<kFormatAlpha, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceRGB) { Reduce<kFormatRGB, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceRGBNS) { Reduce<kFormatRGB, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceBGR) { Reduce<kFormatBGR, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceBGRNS) { Reduce<kFormatBGR, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReorderABGR) { Reduce<kFormatABGR, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReorderABGRNS) { Reduce<kFormatABGR, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReorderBGRA) { Reduce<kFormatBGRA, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReorderBGRANS) { Reduce<kFormatBGRA, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceRedAlpha) { Reduce<kFormatRedAlpha, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceRedAlphaNS) { Reduce<kFormatRedAlpha, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceLuminance) { ReduceLuminance<false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanReduceLuminanceAlpha) { ReduceLuminance<true>(gc, info, in, out); }

__GL_SPAN_STAGE(__glSpanPreUnscaleRGBA) { Reduce<kFormatRGBA, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanPostUnscaleRGBA) { Reduce<kFormatRGBA, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanUnscaleABGR) { Reduce<kFormatABGR, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanUnscaleBGRA) { Reduce<kFormatBGRA, true>(gc, info, in, out); }

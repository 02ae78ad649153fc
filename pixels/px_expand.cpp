// Expansion of a format's components to RGBA groups, alpha zero-fill, and
// the scaling and reordering of four-component groups. The scaled forms
// multiply each value by the colour-buffer scale of the slot it lands in
// and give a missing alpha the full alpha scale; the NS forms keep values
// and give it 1.0. Missing colours are 0.
#include "pixels/px_span_formats.h"
#include "pixels/px_span_scales.h"
#include "pixels/px_unpack.h"

namespace {

template <GlSpanFormatIndex F, bool Scaled>
void Expand(const GlContext *gc, const GlPixelSpanInfo *info, const void *in, void *out) {
  constexpr GlSpanFormat format = kSpanFormats[F];
  GLfloat scale[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  if constexpr (Scaled) {
    const GlSpanScales s = __glSpanScales(gc);
    for (int c = 0; c < 4; c++) scale[c] = s.scale[c];
  }
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += format.components, d += 4) {
    d[0] = d[1] = d[2] = 0.0f;
    d[3] = scale[3];
    for (int k = 0; k < format.components; k++)
      for (int c = 0; c < 4; c++)
        if (format.slots[k] >> c & 1) d[c] = Scaled ? s[k] * scale[c] : s[k];
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanExpandRed) { Expand<kFormatRed, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandRedNS) { Expand<kFormatRed, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandGreen) { Expand<kFormatGreen, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandGreenNS) { Expand<kFormatGreen, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandBlue) { Expand<kFormatBlue, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandBlueNS) { Expand<kFormatBlue, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandAlpha) { Expand<kFormatAlpha, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandAlphaNS) { Expand<kFormatAlpha, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandRGB) { Expand<kFormatRGB, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandRGBNS) { Expand<kFormatRGB, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandBGR) { Expand<kFormatBGR, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandBGRNS) { Expand<kFormatBGR, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandLuminance) { Expand<kFormatLuminance, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandLuminanceNS) { Expand<kFormatLuminance, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandLuminanceAlpha) {
  Expand<kFormatLuminanceAlpha, true>(gc, info, in, out);
}
__GL_SPAN_STAGE(__glSpanExpandLuminanceAlphaNS) {
  Expand<kFormatLuminanceAlpha, false>(gc, info, in, out);
}
__GL_SPAN_STAGE(__glSpanExpandRedAlpha) { Expand<kFormatRedAlpha, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandRedAlphaNS) { Expand<kFormatRedAlpha, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandIntensity) { Expand<kFormatIntensity, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanExpandIntensityNS) { Expand<kFormatIntensity, false>(gc, info, in, out); }

__GL_SPAN_STAGE(__glSpanScaleRGBA) { Expand<kFormatRGBA, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanScaleABGR) { Expand<kFormatABGR, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanScaleBGRA) { Expand<kFormatBGRA, true>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanPreReorderABGR) { Expand<kFormatABGR, false>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanPreReorderBGRA) { Expand<kFormatBGRA, false>(gc, info, in, out); }

__GL_SPAN_STAGE(__glSpanZeroFillAlpha) {
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += 4, d += 4) {
    d[0] = s[0], d[1] = s[1], d[2] = s[2];
    d[3] = 0.0f;
  }
}

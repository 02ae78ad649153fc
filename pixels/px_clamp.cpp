// Clamps: values outside the range become its nearer bound (NaN the lower
// one); values inside are copied bit for bit.
#include "pixels/px_span_scales.h"
#include "pixels/px_unpack.h"

namespace {

GLfloat Clamp(GLfloat v, GLfloat low, GLfloat high) {
  if (!(v >= low)) return low;
  return v > high ? high : v;
}

void ClampAll(const void *in, void *out, int32_t count, GLfloat high) {
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < count; i++) d[i] = Clamp(s[i], 0.0f, high);
}

// The components of Mask (bit 0 red .. bit 3 alpha) of each RGBA group into
// [0, colour-buffer scale]; the others copied.
template <int Mask>
void ClampGroups(const GlContext *gc, const GlPixelSpanInfo *info, const void *in, void *out) {
  const GlSpanScales scales = __glSpanScales(gc);
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += 4, d += 4)
    for (int c = 0; c < 4; c++) d[c] = (Mask >> c & 1) ? Clamp(s[c], 0.0f, scales.scale[c]) : s[c];
}

}  // namespace

__GL_SPAN_STAGE(__glSpanClampPreFloat) {
  ClampAll(in, out, info->srcSpanComponents * info->spanWidth, 1.0f);
}
__GL_SPAN_STAGE(__glSpanClampPostFloat) {
  ClampAll(in, out, info->dstSpanComponents * info->spanWidth, 1.0f);
}
__GL_SPAN_STAGE(__glSpanClampSigned) {
  const GLfloat infinity = __builtin_inff();
  ClampAll(in, out, info->dstSpanComponents * info->spanWidth, infinity);
}
__GL_SPAN_STAGE(__glSpanClampRed) { ClampGroups<0x1>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanClampGreen) { ClampGroups<0x2>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanClampBlue) { ClampGroups<0x4>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanClampAlpha) { ClampGroups<0x8>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanClampRGB) { ClampGroups<0x7>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanClampRGBA) { ClampGroups<0xF>(gc, info, in, out); }

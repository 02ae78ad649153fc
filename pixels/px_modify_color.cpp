// The colour transfer stages: each component of the source format through
// the transfer of the slot it lands in (luminance through red, green and
// blue), RGBA groups at colour-buffer scale out; slots the format lacks get
// the default colour.
#include "pixels/px_span_formats.h"
#include "pixels/px_transfer_rules.h"

namespace {

template <GlSpanFormatIndex F>
void ModifyColor(const GlContext *gc, const GlPixelSpanInfo *info, const void *in, void *out) {
  constexpr GlSpanFormat format = kSpanFormats[F];
  const GlColorTransfer transfer[4] = {__glColorTransfer(gc, 0), __glColorTransfer(gc, 1),
                                       __glColorTransfer(gc, 2), __glColorTransfer(gc, 3)};
  const GlColor &fill = gc->pixel.modify.defaultColor;
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += format.components, d += 4) {
    d[0] = fill.r, d[1] = fill.g, d[2] = fill.b, d[3] = fill.a;
    for (int k = 0; k < format.components; k++)
      for (int c = 0; c < 4; c++)
        if (format.slots[k] >> c & 1) d[c] = transfer[c](s[k]);
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanModifyRGBA) { ModifyColor<kFormatRGBA>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyABGR) { ModifyColor<kFormatABGR>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyBGRA) { ModifyColor<kFormatBGRA>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyRGB) { ModifyColor<kFormatRGB>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyBGR) { ModifyColor<kFormatBGR>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyRed) { ModifyColor<kFormatRed>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyGreen) { ModifyColor<kFormatGreen>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyBlue) { ModifyColor<kFormatBlue>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyAlpha) { ModifyColor<kFormatAlpha>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyLuminance) { ModifyColor<kFormatLuminance>(gc, info, in, out); }
__GL_SPAN_STAGE(__glSpanModifyLuminanceAlpha) {
  ModifyColor<kFormatLuminanceAlpha>(gc, info, in, out);
}
__GL_SPAN_STAGE(__glSpanModifyRedAlpha) { ModifyColor<kFormatRedAlpha>(gc, info, in, out); }

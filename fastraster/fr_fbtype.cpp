// The frame-buffer type of a colour buffer, as the fast rasterizer's kernel
// tables and the code generators read it.
#include "core/context.h"
#include "fastraster/fr_format.h"
#include "fastraster/fr_pick.h"

namespace {

bool Matches(FrField field, uint32_t bits, uint32_t shift) {
  return field.bits == bits && (!bits || field.shift == shift);
}

// The RGB layout with the visual's pixel size, the buffer's shifts and the
// visual's channel widths. Kernels for a layout assume its widths: a visual
// that names the layout's shifts with other widths takes the generic paths.
uint8_t ClassifyRGBA(const GlModes &m, const GlColorBuffer *cfb) {
  for (uint8_t type = 0; type < sizeof kFrPixelFormats / sizeof kFrPixelFormats[0]; type++) {
    const FrPixelFormat &f = kFrPixelFormats[type];
    if (!f.green.bits || 8u * f.bytes != m.colorBits) continue;  // none, or colour index
    if (Matches(f.red, m.redBits, cfb->redShift) && Matches(f.green, m.greenBits, cfb->greenShift) &&
        Matches(f.blue, m.blueBits, cfb->blueShift) && Matches(f.alpha, m.alphaBits, cfb->alphaShift))
      return type;
  }
  return FR_FB_OTHER;
}

}  // namespace

void __glFRPickFBType(GlContext *gc, GlColorBuffer *cfb) {
  const GlModes &m = gc->modes;
  if (!m.rgbMode)
    cfb->frFbType = m.colorBits == 8 ? FR_FB_CI8 : FR_FB_OTHER;
  else
    cfb->frFbType = ClassifyRGBA(m, cfb);
}

// The frame-buffer type of a colour buffer, as the fast rasterizer's kernel
// tables and the code generators read it.
#include "core/context.h"
#include "fastraster/fr_pick.h"

namespace {

struct Layout {
  uint8_t code;
  uint32_t bits[4];  // red, green, blue, alpha
};

// The RGBA layout the visual's pixel size and the buffer's shifts name.
Layout ClassifyRGBA(const GlModes &m, const GlColorBuffer *cfb) {
  const bool shifts565 = cfb->redShift == 11 && cfb->greenShift == 5 && cfb->blueShift == 0;
  const bool shifts555 = cfb->redShift == 10 && cfb->greenShift == 5 && cfb->blueShift == 0;
  const bool shifts888 = cfb->redShift == 16 && cfb->greenShift == 8 && cfb->blueShift == 0;
  switch (m.colorBits) {
    case 8:
      if (cfb->redShift == 5 && cfb->greenShift == 2 && cfb->blueShift == 0)
        return {FR_FB_RGB332, {3, 3, 2, 0}};
      break;
    case 16:
      if (shifts555)
        return cfb->alphaShift == 15 ? Layout{FR_FB_A1RGB5, {5, 5, 5, 1}}
                                     : Layout{FR_FB_RGB555, {5, 5, 5, 0}};
      if (shifts565) return {FR_FB_RGB565, {5, 6, 5, 0}};
      break;
    case 24:
      if (shifts888) return {FR_FB_RGB8, {8, 8, 8, 0}};
      break;
    case 32:
      if (m.alphaMask) {
        if (cfb->alphaShift == 24 && shifts888) return {FR_FB_ARGB8, {8, 8, 8, 8}};
      } else if (shifts888) {
        return {FR_FB_XRGB8, {8, 8, 8, 0}};
      }
      break;
  }
  return {FR_FB_OTHER, {0, 0, 0, 0}};
}

}  // namespace

void __glFRPickFBType(GlContext *gc, GlColorBuffer *cfb) {
  const GlModes &m = gc->modes;
  cfb->frFbType = FR_FB_OTHER;
  if (!m.rgbMode) {
    if (m.colorBits == 8) cfb->frFbType = FR_FB_CI8;
    return;
  }
  const Layout layout = ClassifyRGBA(m, cfb);
  // Kernels for a layout assume its channel widths: a visual that names the
  // layout's shifts with other widths takes the generic paths.
  const uint32_t bits[4] = {m.redBits, m.greenBits, m.blueBits, m.alphaBits};
  for (int i = 0; i < 4; i++)
    if (bits[i] != layout.bits[i]) return;
  cfb->frFbType = layout.code;
}

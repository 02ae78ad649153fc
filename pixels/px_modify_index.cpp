// Depth, stencil and colour-index transfer stages, one float per pixel in.
#include "pixels/px_enums.h"
#include "pixels/px_transfer_rules.h"

__GL_SPAN_STAGE(__glSpanModifyDepth) {
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  const GLfloat scale = tm.depthScale, bias = tm.depthBias;
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++) {
    const GLfloat v = s[i] * scale + bias;
    d[i] = !(v >= 0.0f) ? 0.0f : v > 1.0f ? 1.0f : v;
  }
}

__GL_SPAN_STAGE(__glSpanModifyStencil) {
  const GlIndexTransfer transfer(gc, gc->modes.stencilBits);
  const bool mapped = gc->pixel.transferMode.mapStencil;
  const GlPixelMap &map = __glUsableMap(gc->pixel.pixelMap[__GL_PIXEL_MAP_S_TO_S]);
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++) {
    const uint32_t n = transfer(s[i]);
    d[i] = GLfloat(mapped ? __glIndexMapInt(map, n) : int32_t(n));
  }
}

// To an index when the destination is a colour index, else through the
// four index-to-colour maps (whatever mapColor says) to RGBA groups.
__GL_SPAN_STAGE(__glSpanModifyCI) {
  const GlIndexTransfer transfer(gc, gc->modes.indexBits);
  const GlPixelMachine &px = gc->pixel;
  const GLfloat *s = static_cast<const GLfloat *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  if (info->dstFormat == GL_COLOR_INDEX) {
    const bool mapped = px.transferMode.mapColor;
    const GlPixelMap &map = __glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_I]);
    for (int32_t i = 0; i < info->spanWidth; i++) {
      const uint32_t n = transfer(s[i]);
      d[i] = GLfloat(mapped ? __glIndexMapInt(map, n) : int32_t(n));
    }
    return;
  }
  const GlSpanScales scales = __glSpanScales(gc);
  const GlPixelMap *maps[4];
  for (int c = 0; c < 4; c++) maps[c] = &__glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_R + c]);
  for (int32_t i = 0; i < info->spanWidth; i++, d += 4) {
    const uint32_t n = transfer(s[i]);
    for (int c = 0; c < 4; c++) d[c] = __glIndexMapFloat(*maps[c], n) * scales.scale[c];
  }
}

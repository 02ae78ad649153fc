// The pixel-transfer rules one value at a time, shared by the modify stages
// and the lookup-table builders: the colour transfer of one component and
// the index shift, offset and map look-up.
#pragma once

#include "core/context.h"
#include "core/gl_convert.h"
#include "pixels/px_modify.h"
#include "pixels/px_span_scales.h"

// The colour transfer of one component: scale and bias, then the colour map
// (mapColor) or the clamp, ending at colour-buffer scale.
struct GlColorTransfer {
  GLfloat scale, bias;
  GLfloat bufferScale;
  GLfloat scaled, biased;  // scale and bias times the buffer scale
  const GLfloat *map;      // the component's colour map, or null
  int32_t mapSize;

  // A value in [0, 1] (a bias or an unclamped value may leave it).
  GLfloat operator()(GLfloat x) const {
    if (map != nullptr) {
      const GLfloat v = x * scale + bias;
      return map[__glColorMapIndex(mapSize, v)] * bufferScale;
    }
    const GLfloat v = x * scaled + biased;
    if (!(v >= 0.0f)) return 0.0f;
    return v > bufferScale ? bufferScale : v;
  }
};

// A map's table, or the default map's single 0 when it has none.
inline const GlPixelMap &__glUsableMap(const GlPixelMap &map) {
  static const GLint kDefault = 0;
  static const GlPixelMap kDefaultMap = {1, {const_cast<GLint *>(&kDefault)}};
  return map.size >= 1 && map.base.mapI != nullptr ? map : kDefaultMap;
}

// The transfer of component c (0 red .. 3 alpha) under the context's state.
inline GlColorTransfer __glColorTransfer(const GlContext *gc, int c) {
  const GlPixelTransferMode &tm = gc->pixel.transferMode;
  const GLfloat scales[4] = {tm.redScale, tm.greenScale, tm.blueScale, tm.alphaScale};
  const GLfloat biases[4] = {tm.redBias, tm.greenBias, tm.blueBias, tm.alphaBias};
  const GLfloat buffer = __glSpanScales(gc).scale[c];
  GlColorTransfer t = {scales[c],          biases[c], buffer, scales[c] * buffer,
                       biases[c] * buffer, nullptr,   0};
  if (tm.mapColor) {
    const GlPixelMap &m = __glUsableMap(gc->pixel.pixelMap[__GL_PIXEL_MAP_R_TO_R + c]);
    t.map = m.base.mapF;
    t.mapSize = m.size;
  }
  return t;
}

// Index shift and offset on the 32-bit pattern of trunc(x). A shift beyond
// the destination's bit count becomes shift & 31 and then at most the bit
// count; shifts of 32 or more leave nothing (or the sign) behind.
struct GlIndexTransfer {
  int32_t shift, offset;

  GlIndexTransfer(const GlContext *gc, uint32_t bits) {
    const GlPixelTransferMode &tm = gc->pixel.transferMode;
    shift = tm.indexShift;
    offset = tm.indexOffset;
    if (shift > int64_t(bits)) {
      shift &= 31;
      if (shift > int64_t(bits)) shift = int32_t(bits);
    }
  }
  uint32_t operator()(GLfloat x) const {
    uint32_t n = uint32_t(__glTruncateToInt(x));
    if (shift >= 0)
      n = shift >= 32 ? 0 : n << shift;
    else
      n = uint32_t(int32_t(n) >> (shift <= -32 ? 31 : -shift));
    return n + uint32_t(offset);
  }
};

// Entry n & (size - 1) of a usable index map (sizes are powers of two).
inline GLint __glIndexMapInt(const GlPixelMap &map, uint32_t n) {
  return map.base.mapI[n & uint32_t(map.size - 1)];
}
inline GLfloat __glIndexMapFloat(const GlPixelMap &map, uint32_t n) {
  return map.base.mapF[n & uint32_t(map.size - 1)];
}

// The lookup tables of the unsigned-byte shortcuts: for each byte value the
// colour, index or index-to-colour result of the pixel transfer. A table is
// allocated on first use and kept until the context goes; a set whose
// tables cannot all be had keeps its valid flag clear.
#include <math.h>

#include "pixels/px_transfer_rules.h"

namespace {

constexpr size_t kTableBytes = __GL_PIXEL_TABLE_ENTRIES * sizeof(GLfloat);

bool Allocate(GlContext *gc, GLfloat **tables, int count) {
  for (int t = 0; t < count; t++) {
    if (tables[t] == nullptr)
      tables[t] = static_cast<GLfloat *>(gc->imports.malloc(gc, kTableBytes));
    if (tables[t] == nullptr) return false;
  }
  return true;
}

// The index factor of the shift: 2^shift (from the 32-bit pattern), or its
// reciprocal for a negative shift.
double ShiftFactor(int32_t shift) {
  if (shift >= 0) return double(uint32_t(1) << (shift & 31));
  return ldexp(1.0, shift);
}

// The nearest integer, halves away from zero.
int64_t Nearest(double v) { return __glTruncateToInt64(v >= 0.0 ? v + 0.5 : v - 0.5); }

}  // namespace

GLbool8 __glBuildRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, modify->rgbaTables, 4)) return 0;
  const bool mapped = gc->pixel.transferMode.mapColor;
  for (int c = 0; c < 4; c++) {
    const GlColorTransfer t = __glColorTransfer(gc, c);
    GLfloat *table = modify->rgbaTables[c];
    for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) {
      const GLfloat x = GLfloat(i / 255.0);
      const GLfloat v = x * t.scale + t.bias;
      if (mapped) {
        table[i] = t.map[__glColorMapIndex(t.mapSize, v)] * t.bufferScale;
      } else {
        const GLfloat clamped = !(v >= 0.0f) ? 0.0f : v > 1.0f ? 1.0f : v;
        table[i] = clamped * t.bufferScale;
      }
    }
  }
  modify->rgbaValid = 1;
  return 1;
}

GLbool8 __glBuildItoIModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, &modify->itoiTable, 1)) return 0;
  const GlPixelMachine &px = gc->pixel;
  const double factor = ShiftFactor(px.transferMode.indexShift);
  const bool mapped = px.transferMode.mapColor;
  const GlPixelMap &map = __glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_I]);
  const uint32_t indexMask = gc->drawBuffer ? gc->drawBuffer->redMax : 0;
  for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) {
    double v = i * factor + px.transferMode.indexOffset;
    if (mapped) v = __glIndexMapInt(map, uint32_t(Nearest(v)));
    modify->itoiTable[i] = GLfloat(uint32_t(__glTruncateToInt64(v)) & indexMask);
  }
  modify->itoiValid = 1;
  return 1;
}

GLbool8 __glBuildItoRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, modify->itoRgbaTables, 4)) return 0;
  const GlPixelMachine &px = gc->pixel;
  const double factor = ShiftFactor(px.transferMode.indexShift);
  const GlSpanScales scales = __glSpanScales(gc);
  for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) {
    const GLfloat v = GLfloat(i * factor + px.transferMode.indexOffset);
    const uint32_t r = uint32_t(Nearest(v));
    for (int c = 0; c < 4; c++) {
      const GlPixelMap &map = __glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_R + c]);
      modify->itoRgbaTables[c][i] = __glIndexMapFloat(map, r) * scales.scale[c];
    }
  }
  modify->itoRgbaValid = 1;
  return 1;
}

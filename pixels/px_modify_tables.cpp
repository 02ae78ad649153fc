// The lookup tables of the unsigned-byte shortcuts: for each byte value the
// colour, index or index-to-colour result of the pixel transfer. Each entry
// is what the span stage makes of that byte (the unpacked colour, or the
// index), by the same rules, so that a draw gives the same pixels through
// the table as through the stages. A table is allocated on first use and
// kept until the context goes; a set whose tables cannot all be had keeps
// its valid flag clear.
#include "pixels/px_enums.h"
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

}  // namespace

GLbool8 __glBuildRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, modify->rgbaTables, 4)) return 0;
  const GLfloat *bytes = gc->constants.uByteToFloat;
  for (int c = 0; c < 4; c++) {
    const GlColorTransfer transfer = __glColorTransfer(gc, c);
    for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++)
      modify->rgbaTables[c][i] = transfer(bytes[i]);
  }
  modify->rgbaValid = 1;
  return 1;
}

// Indices drawn as indices: the buffer keeps only the bits of its mask.
GLbool8 __glBuildItoIModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, &modify->itoiTable, 1)) return 0;
  const GlPixelMachine &px = gc->pixel;
  const GlIndexTransfer transfer(gc, gc->modes.indexBits);
  const bool mapped = px.transferMode.mapColor;
  const GlPixelMap &map = __glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_I]);
  const uint32_t indexMask = gc->drawBuffer ? gc->drawBuffer->redMax : 0;
  for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) {
    uint32_t n = transfer(GLfloat(i));
    if (mapped) n = uint32_t(__glIndexMapInt(map, n));
    modify->itoiTable[i] = GLfloat(n & indexMask);
  }
  modify->itoiValid = 1;
  return 1;
}

GLbool8 __glBuildItoRGBAModifyTables(GlContext *gc, GlPixelModifyState *modify) {
  if (!Allocate(gc, modify->itoRgbaTables, 4)) return 0;
  const GlPixelMachine &px = gc->pixel;
  const GlIndexTransfer transfer(gc, gc->modes.indexBits);
  const GlSpanScales scales = __glSpanScales(gc);
  for (int c = 0; c < 4; c++) {
    const GlPixelMap &map = __glUsableMap(px.pixelMap[__GL_PIXEL_MAP_I_TO_R + c]);
    for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++)
      modify->itoRgbaTables[c][i] = __glIndexMapFloat(map, transfer(GLfloat(i))) * scales.scale[c];
  }
  modify->itoRgbaValid = 1;
  return 1;
}

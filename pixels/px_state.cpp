// The pixel state's creation, defaults and release, and the colour-scale
// tables; colour tables live in the texture objects and need nothing here.
#include "pixels/px_state.h"

#include "core/context.h"
#include "core/s_error.h"

namespace {

constexpr size_t kTableBytes = __GL_PIXEL_TABLE_ENTRIES * sizeof(GLfloat);

void FreeTable(GlContext *gc, GLfloat *&table) {
  if (table != nullptr) gc->imports.free(gc, table);
  table = nullptr;
}

// Points the map at the shared one-entry default, freeing a table it owned.
void DefaultMap(GlContext *gc, GlPixelMap *map) {
  GlPixelMachine &px = gc->pixel;
  if (__glPixelMapOwnsTable(&px, map)) gc->imports.free(gc, map->base.mapI);
  px.defaultMapEntry = 0;
  map->base.mapI = &px.defaultMapEntry;
  map->size = 1;
}

// The largest value of each component the draw buffer stores, or the
// context's while it has none.
GlColor ColorBufferScales(const GlContext *gc) {
  if (const GlColorBuffer *cfb = gc->drawBuffer)
    return {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
  const GlConstants &k = gc->constants;
  return {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
}

}  // namespace

GLbool8 __glEarlyInitPixelState(GlContext *gc) {
  for (GlPixelMap &map : gc->pixel.pixelMap) DefaultMap(gc, &map);
  for (GLfloat *&table : gc->pixel.modify.colorScale) {
    table = static_cast<GLfloat *>(gc->imports.malloc(gc, kTableBytes));
    if (table == nullptr) return 0;
  }
  return 1;
}

void __glInitDefaultPixelMap(GlContext *gc, GLenum map) {
  if (map < __GL_PIXEL_MAP_FIRST || map >= __GL_PIXEL_MAP_FIRST + __GL_PIXEL_MAP_COUNT) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  DefaultMap(gc, &gc->pixel.pixelMap[map - __GL_PIXEL_MAP_FIRST]);
}

void __glInitPixelState(GlContext *gc) {
  GlPixelMachine &px = gc->pixel;
  GlPixelTransferMode &tm = px.transferMode;
  tm.redScale = tm.greenScale = tm.blueScale = tm.alphaScale = tm.depthScale = 1.0f;
  tm.zoomX = tm.zoomY = 1.0f;
  for (GlPixelMap &map : px.pixelMap) DefaultMap(gc, &map);
  px.packModes.alignment = 4;
  px.unpackModes.alignment = 4;
  px.readBuffer = gc->modes.doubleBufferMode ? GL_BACK : GL_FRONT;
  px.readBufferReturn = px.readBuffer;
  __glPixelSetColorScales(gc);
}

void __glPixelSetColorScales(GlContext *gc) {
  GlPixelModifyState &m = gc->pixel.modify;
  const GlColor scales = ColorBufferScales(gc);
  const GLfloat scale[4] = {scales.r, scales.g, scales.b, scales.a};
  const uint32_t indexMask = gc->drawBuffer ? gc->drawBuffer->redMax : 0;
  for (int c = 0; c < 4; c++) {
    GLfloat *table = m.colorScale[c];
    if (table == nullptr) continue;
    // The quotient in single precision first, as the span paths expect.
    const GLfloat step = scale[c] / 255.0f;
    for (int i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) table[i] = GLfloat(i) * step;
  }
  if (GLfloat *index = m.colorScale[__GL_PIXEL_TABLE_INDEX])
    for (uint32_t i = 0; i < __GL_PIXEL_TABLE_ENTRIES; i++) index[i] = GLfloat(i & indexMask);
  m.rgbaValid = 0;
}

void __glFreePixelState(GlContext *gc) {
  GlPixelMachine &px = gc->pixel;
  for (GlPixelMap &map : px.pixelMap) {
    if (__glPixelMapOwnsTable(&px, &map)) gc->imports.free(gc, map.base.mapI);
    map.base.mapI = nullptr;
    map.size = 0;
  }
  GlPixelModifyState &m = px.modify;
  for (GLfloat *&table : m.colorScale) FreeTable(gc, table);
  for (GLfloat *&table : m.rgbaTables) FreeTable(gc, table);
  for (GLfloat *&table : m.itoRgbaTables) FreeTable(gc, table);
  FreeTable(gc, m.itoiTable);
  for (GLfloat *&table : m.currentTables) table = nullptr;
  m.rgbaValid = m.itoiValid = m.itoRgbaValid = 0;
}

void __glInitColorTables(GlContext *gc) {}

void __glFreeColorTables(GlContext *gc) {}

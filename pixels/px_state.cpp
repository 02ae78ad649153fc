// The pixel state's defaults and release; colour tables live in the texture
// objects and need nothing here.
#include "pixels/px_state.h"

#include "core/context.h"
#include "core/s_error.h"

namespace {

void FreeMap(GlContext *gc, GlPixelMap *map) {
  if (map->base.mapF != nullptr) gc->imports.free(gc, map->base.mapF);
  map->base.mapF = nullptr;
  map->size = 0;
}

// One entry of 0: integer 0 and float 0.0 are both zero words.
void DefaultMap(GlContext *gc, GlPixelMap *map) {
  FreeMap(gc, map);
  void *table = gc->imports.malloc(gc, sizeof(GLint));
  if (table == nullptr) return;
  *static_cast<GLint *>(table) = 0;
  map->base.mapI = static_cast<GLint *>(table);
  map->size = 1;
}

}  // namespace

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
  px.readBuffer = gc->modes.doubleBufferMode ? GL_BACK : GL_FRONT;
  px.readBufferReturn = px.readBuffer;
}

void __glFreePixelState(GlContext *gc) {
  for (GlPixelMap &map : gc->pixel.pixelMap) FreeMap(gc, &map);
}

void __glInitColorTables(GlContext *gc) {}

void __glFreeColorTables(GlContext *gc) {}

// glPixelMapfv, glPixelMapuiv and glPixelMapusv: the ten pixel maps.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "pixels/px_enums.h"
#include "pixels/px_map.h"
#include "pixels/px_round.h"

namespace {

bool IsPowerOfTwo(GLsizei n) { return n > 0 && (n & (n - 1)) == 0; }

// Index maps hold integers; the others colour values in [0, 1].
bool HoldsIndices(int index) {
  return index == __GL_PIXEL_MAP_I_TO_I || index == __GL_PIXEL_MAP_S_TO_S;
}

GLint ToIndex(GLfloat v) { return __glPixelRound(v); }
GLint ToIndex(GLuint v) { return GLint(v); }  // the bits unchanged
GLint ToIndex(GLushort v) { return v; }

// NaN, which lies in no range, becomes 0.
GLfloat ToColor(const GlContext *, GLfloat v) { return __glClampRange(v, 0.0f, 1.0f); }
GLfloat ToColor(const GlContext *gc, GLuint v) {
  return GLfloat(v) * gc->constants.oneOverUIntMax;
}
GLfloat ToColor(const GlContext *gc, GLushort v) {
  return GLfloat(v) * gc->constants.oneOverUShortMax;
}

// The lookup tables built from a map no longer hold once it changes.
void Invalidate(GlContext *gc, int index) {
  GlPixelModifyState &m = gc->pixel.modify;
  if (index == __GL_PIXEL_MAP_I_TO_I)
    m.itoiValid = 0;
  else if (index >= __GL_PIXEL_MAP_I_TO_R && index <= __GL_PIXEL_MAP_I_TO_A)
    m.itoRgbaValid = 0;
  else if (index >= __GL_PIXEL_MAP_R_TO_R)
    m.rgbaValid = 0;
  __glDelayValidate(gc, __GL_DIRTY_PIXEL);
}

template <typename T>
void PixelMap(GLenum map, GLsizei mapsize, const T *values) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (GLenum error = __glPixelMapError(gc, map, mapsize)) {
    __glSetError(error);
    return;
  }
  const int index = int(map - GL_PIXEL_MAP_I_TO_I);
  GlPixelMachine &px = gc->pixel;
  GlPixelMap &pm = px.pixelMap[index];
  if (mapsize == 0) {
    __glInitDefaultPixelMap(gc, map);
    Invalidate(gc, index);
    return;
  }
  if (values == nullptr) return;
  // The new table first: when it cannot be had, the old map stays whole.
  void *table = gc->imports.malloc(gc, size_t(mapsize) * sizeof(GLint));
  if (table == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return;
  }
  if (HoldsIndices(index)) {
    GLint *entries = static_cast<GLint *>(table);
    for (GLsizei i = mapsize; i-- > 0;) entries[i] = ToIndex(values[i]);
  } else {
    GLfloat *entries = static_cast<GLfloat *>(table);
    for (GLsizei i = mapsize; i-- > 0;) entries[i] = ToColor(gc, values[i]);
  }
  if (__glPixelMapOwnsTable(&px, &pm)) gc->imports.free(gc, pm.base.mapI);
  pm.base.mapI = static_cast<GLint *>(table);
  pm.size = mapsize;
  Invalidate(gc, index);
}

}  // namespace

GLenum __glPixelMapError(const GlContext *gc, GLenum map, GLsizei mapsize) {
  if (map < GL_PIXEL_MAP_I_TO_I || map > GL_PIXEL_MAP_A_TO_A) return GL_INVALID_ENUM;
  // Indices are reduced by AND with size - 1.
  if (map <= GL_PIXEL_MAP_I_TO_A && !IsPowerOfTwo(mapsize)) return GL_INVALID_VALUE;
  if (mapsize < 0) return GL_INVALID_VALUE;
  // Larger tables would wrap the byte count on this 32-bit build.
  if (mapsize > gc->constants.maxPixelMapTable) return GL_INVALID_VALUE;
  return GL_NO_ERROR;
}

void GLENTRY __glim_PixelMapfv(GLenum map, GLsizei mapsize, const GLfloat *values) {
  PixelMap(map, mapsize, values);
}

void GLENTRY __glim_PixelMapuiv(GLenum map, GLsizei mapsize, const GLuint *values) {
  PixelMap(map, mapsize, values);
}

void GLENTRY __glim_PixelMapusv(GLenum map, GLsizei mapsize, const GLushort *values) {
  PixelMap(map, mapsize, values);
}

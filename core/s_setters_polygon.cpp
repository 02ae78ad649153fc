// The polygon group: culling, facing, rasterization modes, offset and the
// stipple pattern.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "pixels/px_pack.h"

void GLENTRY __glim_CullFace(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsFace(mode)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.polygon.cull = mode;
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

void GLENTRY __glim_FrontFace(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (mode != GL_CW && mode != GL_CCW) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.polygon.frontFaceDirection = mode;
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

// Points and lines of a polygon are drawn by the point and line procedures,
// so a valid mode marks their group before the face is looked at: a bad
// face then leaves that mark behind (one validation for nothing).
void GLENTRY __glim_PolygonMode(GLenum face, GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  switch (mode) {
    case GL_POINT: __glDelayValidate(gc, __GL_DIRTY_POINT); break;
    case GL_LINE: __glDelayValidate(gc, __GL_DIRTY_LINE); break;
    case GL_FILL: break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  GlPolygonState &p = gc->state.polygon;
  switch (face) {
    case GL_FRONT: p.frontMode = mode; break;
    case GL_BACK: p.backMode = mode; break;
    case GL_FRONT_AND_BACK: p.frontMode = p.backMode = mode; break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

void GLENTRY __glim_PolygonOffset(GLfloat factor, GLfloat units) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.polygon.factor = factor;
  gc->state.polygon.units = units;
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

// The rasterizer's form is made at once, not at validation.
void GLENTRY __glim_PolygonStipple(const GLubyte *mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc || !mask) return;
  // Unpack modes that put the pattern out of any image's reach keep the old one.
  if (!__glFillImage(gc, 32, 32, GL_COLOR_INDEX, GL_BITMAP, mask, gc->state.polygonStipple.stipple))
    return;
  gc->procs.convertStipple(gc);
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

// Hints, the shade model and the cull point of GL_VLX_cull_vertex.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"

namespace {

bool IsCullParameter(GLenum pname) {
  return pname == GL_CULL_VERTEX_EYE_POSITION_VLX || pname == GL_CULL_VERTEX_OBJECT_POSITION_VLX;
}

}  // namespace

// Each hint marks the group whose procedures it chooses between.
void GLENTRY __glim_Hint(GLenum target, GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (mode != GL_DONT_CARE && mode != GL_FASTEST && mode != GL_NICEST) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlHintState &h = gc->state.hints;
  GLenum *hint;
  uint32_t dirty;
  switch (target) {
    case GL_PERSPECTIVE_CORRECTION_HINT:
      hint = &h.perspectiveCorrection;
      dirty = __GL_DIRTY_GENERIC;
      break;
    case GL_POINT_SMOOTH_HINT:
      hint = &h.pointSmooth;
      dirty = __GL_DIRTY_POINT;
      break;
    case GL_LINE_SMOOTH_HINT:
      hint = &h.lineSmooth;
      dirty = __GL_DIRTY_LINE;
      break;
    case GL_POLYGON_SMOOTH_HINT:
      hint = &h.polygonSmooth;
      dirty = __GL_DIRTY_POLYGON;
      break;
    case GL_FOG_HINT:
      hint = &h.fog;
      dirty = __GL_DIRTY_GENERIC;
      break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  *hint = mode;
  __glDelayValidate(gc, dirty);
}

void GLENTRY __glim_ShadeModel(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (mode != GL_FLAT && mode != GL_SMOOTH) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.light.shadingModel = mode;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// The point is given in eye or in object coordinates; the last one given is
// in force.
void GLENTRY __glim_CullParameterfvVLX(GLenum pname, GLfloat *params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!IsCullParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlTransformMachine &tm = gc->transform;
  GlCoord point = {params[0], params[1], params[2], params[3]};
  bool object = pname == GL_CULL_VERTEX_OBJECT_POSITION_VLX;
  (object ? tm.cullObjPos : tm.cullEyePos) = point;
  tm.cullObjPosInForce = object;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// The pname is checked before the glBegin check, which the float entry
// makes.
void GLENTRY __glim_CullParameterdvVLX(GLenum pname, GLdouble *params) {
  if (!IsCullParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) {
    __glim_CullParameterfvVLX(pname, nullptr);
    return;
  }
  GLfloat f[4] = {GLfloat(params[0]), GLfloat(params[1]), GLfloat(params[2]), GLfloat(params[3])};
  __glim_CullParameterfvVLX(pname, f);
}

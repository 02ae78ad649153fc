// glGetBooleanv, glGetIntegerv, glGetFloatv and glGetDoublev: one engine
// that stages a pname's values by their natural kind and converts them once.
// Stored fields come from the table in s_get_fields.cpp; the rows here are
// computed or read through pointers.
#include "core/s_get.h"

#include <math.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/gl_get_enums.h"
#include "core/s_constants.h"
#include "core/s_error.h"
#include "core/s_get_stage.h"
#include "dlist/dl_call.h"
#include "geometry/s_color.h"
#include "geometry/s_xform.h"
#include "pixels/px_texture.h"

namespace {

int32_t StackDepth(const GlTransform *base, const GlTransform *top) {
  return int32_t(top - base) + 1;
}

void StageMatrix(const GlTransform *top, GlGetStage *stage) {
  for (GLfloat v : top->matrix.matrix) stage->Float(v);
}

void StageRasterColor(GlContext *gc, GlGetStage *stage) {
  const GlColor &c = gc->state.current.rasterPos.colors[__GL_FRONTFACE];
  if (gc->modes.colorIndexMode) {
    for (int i = 0; i < 4; ++i) stage->Float(1.0f);
    return;
  }
  stage->Color(c.r);
  stage->Color(c.g);
  stage->Color(c.b);
  stage->Color(c.a);
}

void StageRasterPosition(GlContext *gc, GlGetStage *stage) {
  const GlVertex &rp = gc->state.current.rasterPos;
  stage->Float(__glReturnWindowX(gc, rp.window.x));
  stage->Float(__glReturnWindowY(gc, rp.window.y));
  stage->Float(rp.window.z * gc->constants.oneOverDepthScale);
  stage->Float(rp.clip.w);
}

void StageBinding(GlContext *gc, GLenum target, GlGetStage *stage) {
  const GlTextureNamePriority *binding = __glLookUpTextureTexobjs(gc, target);
  stage->Int(binding ? GLint(binding->name) : 0);
}

// The rows whose value is not one stored field; false for any other pname.
bool StageComputed(GlContext *gc, GLenum pname, GlGetStage *stage) {
  const GlTransformMachine &tr = gc->transform;
  const GlEvaluatorState &ev = gc->state.evaluator;
  switch (pname) {
    case GL_CURRENT_RASTER_COLOR: StageRasterColor(gc, stage); return true;
    case GL_CURRENT_RASTER_INDEX:
      stage->Float(gc->modes.colorIndexMode ? gc->state.current.rasterPos.colors[__GL_FRONTFACE].r
                                            : 1.0f);
      return true;
    case GL_CURRENT_RASTER_POSITION: StageRasterPosition(gc, stage); return true;
    case GL_CURRENT_RASTER_DISTANCE:
      // A distance from the eye: eye z is negative in front of it.
      stage->Float(fabsf(gc->state.current.rasterPos.eye.z));
      return true;
    case GL_LIGHT_MODEL_AMBIENT: {
      GlColor c;
      __glUnScaleColorf(gc, &c, &gc->state.light.model.ambient);
      stage->Normalized(c.r);
      stage->Normalized(c.g);
      stage->Normalized(c.b);
      stage->Normalized(c.a);
      return true;
    }
    case GL_MODELVIEW_STACK_DEPTH:
      stage->Int(StackDepth(tr.modelViewStack, tr.modelView));
      return true;
    case GL_PROJECTION_STACK_DEPTH:
      stage->Int(StackDepth(tr.projectionStack, tr.projection));
      return true;
    case GL_TEXTURE_STACK_DEPTH: stage->Int(StackDepth(tr.textureStack, tr.texture)); return true;
    case GL_MODELVIEW_MATRIX: StageMatrix(tr.modelView, stage); return true;
    case GL_PROJECTION_MATRIX: StageMatrix(tr.projection, stage); return true;
    case GL_TEXTURE_MATRIX: StageMatrix(tr.texture, stage); return true;
    case GL_ATTRIB_STACK_DEPTH:
      stage->Int(int32_t(gc->attributeStackTop - gc->attributeStack));
      return true;
    case GL_CLIENT_ATTRIB_STACK_DEPTH:
      stage->Int(int32_t(gc->clientAttributeStackTop - gc->clientAttributeStack));
      return true;
    case GL_NAME_STACK_DEPTH: stage->Int(int32_t(gc->select.sp - gc->select.stack)); return true;
    case GL_TEXTURE_BINDING_1D: StageBinding(gc, GL_TEXTURE_1D, stage); return true;
    case GL_TEXTURE_BINDING_2D: StageBinding(gc, GL_TEXTURE_2D, stage); return true;
    case GL_MAP2_GRID_SEGMENTS:
      stage->Int(ev.grid2.un);
      stage->Int(ev.grid2.vn);
      return true;
    case GL_MAP2_GRID_DOMAIN:
      stage->Float(ev.grid2.u1);
      stage->Float(ev.grid2.u2);
      stage->Float(ev.grid2.v1);
      stage->Float(ev.grid2.v2);
      return true;
    case GL_MAX_LIST_NESTING: stage->Int(GL_DLIST_MAX_NESTING); return true;
    case GL_AUX_BUFFERS: stage->Int(__GL_AUX_BUFFERS); return true;
    case GL_STEREO:
      // Whatever the pixel format says: the driver draws no stereo pairs.
      stage->Bool(GL_FALSE);
      return true;
    default: return false;
  }
}

}  // namespace

void __glDoGet(GLenum pname, void *result, int32_t resultType) {
  GlContext *gc = __glGetTLSCXValue();
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  GlGetStage stage;
  stage.intCount = stage.floatCount = stage.boolCount = 0;
  stage.normalizedCount = stage.colorCount = 0;
  GLboolean on;
  if (__glLookUpEnable(gc, pname, &on)) {
    stage.Bool(on);
  } else if (!__glStageStoredField(gc, pname, &stage) && !StageComputed(gc, pname, &stage)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (stage.intCount)
    __glConvertResult(gc, __GL_INT, stage.ints, resultType, result, stage.intCount);
  else if (stage.floatCount)
    __glConvertResult(gc, __GL_FLOAT, stage.floats, resultType, result, stage.floatCount);
  else if (stage.boolCount)
    __glConvertResult(gc, __GL_BOOL, stage.bools, resultType, result, stage.boolCount);
  else if (stage.normalizedCount)
    __glConvertResult(gc, __GL_NORMALIZED, stage.normalized, resultType, result,
                      stage.normalizedCount);
  else if (stage.colorCount)
    __glConvertResult(gc, __GL_SCALED_COLOR, stage.colors, resultType, result, stage.colorCount);
}

void GLENTRY __glim_GetBooleanv(GLenum pname, GLboolean *params) {
  __glDoGet(pname, params, __GL_BOOLEAN);
}

void GLENTRY __glim_GetIntegerv(GLenum pname, GLint *params) {
  __glDoGet(pname, params, __GL_INT32);
}

void GLENTRY __glim_GetFloatv(GLenum pname, GLfloat *params) {
  __glDoGet(pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetDoublev(GLenum pname, GLdouble *params) {
  __glDoGet(pname, params, __GL_FLOAT64);
}

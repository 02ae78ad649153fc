// glGetMap, glGetPixelMap and glGetClipPlane: the evaluator maps with their
// control points, the pixel maps' entries and the eye-space clip planes.
#include "core/context.h"
#include "core/gl_convert.h"
#include "core/gl_entries.h"
#include "core/gl_get_enums.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_get_object.h"
#include "pixels/px_enums.h"

namespace {

void GetMap(GLenum target, GLenum query, void *v, int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GlEvaluatorMachine &ev = gc->eval;
  GLuint index1 = target - GL_MAP1_COLOR_4;
  GLuint index2 = target - GL_MAP2_COLOR_4;
  if (index1 >= __GL_MAP_RANGE_COUNT && index2 >= __GL_MAP_RANGE_COUNT) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  const bool oneD = index1 < __GL_MAP_RANGE_COUNT;
  const GlEvalMap1 &m1 = ev.eval1[oneD ? index1 : 0];
  const GlEvalMap2 &m2 = ev.eval2[oneD ? 0 : index2];
  switch (query) {
    case GL_COEFF: {
      int32_t count =
          oneD ? __glMap1_size(m1.k, m1.order) : __glMap2_size(m2.k, m2.uOrder, m2.vOrder);
      const GLfloat *points = oneD ? ev.eval1Data[index1] : ev.eval2Data[index2];
      if (points != nullptr) __glConvertResult(gc, __GL_FLOAT, points, resultType, v, count);
      break;
    }
    case GL_ORDER: {
      const GLint orders[2] = {oneD ? m1.order : m2.uOrder, m2.vOrder};
      __glConvertResult(gc, __GL_INT, orders, resultType, v, oneD ? 1 : 2);
      break;
    }
    case GL_DOMAIN: {
      const GLfloat domain[4] = {oneD ? m1.u1 : m2.u1, oneD ? m1.u2 : m2.u2, m2.v1, m2.v2};
      __glConvertResult(gc, __GL_FLOAT, domain, resultType, v, oneD ? 2 : 4);
      break;
    }
    default: __glSetError(GL_INVALID_ENUM); break;
  }
}

// The map, or null after recording GL_INVALID_ENUM.
const GlPixelMap *PixelMap(GLenum map, bool *integers) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return nullptr;
  GLuint index = map - GL_PIXEL_MAP_I_TO_I;
  if (index >= __GL_PIXEL_MAP_COUNT) {
    __glSetError(GL_INVALID_ENUM);
    return nullptr;
  }
  *integers = index == __GL_PIXEL_MAP_I_TO_I || index == __GL_PIXEL_MAP_S_TO_S;
  return &gc->pixel.pixelMap[index];
}

// Integer maps as integers; float maps truncated toward zero, unscaled.
template <typename Out>
void GetPixelMapIntegers(GLenum map, Out *values) {
  bool integers;
  const GlPixelMap *m = PixelMap(map, &integers);
  if (m == nullptr) return;
  for (int32_t i = 0; i < m->size; ++i)
    values[i] = integers ? Out(m->base.mapI[i]) : Out(__glTruncateToUint(m->base.mapF[i]));
}

}  // namespace

void GLENTRY __glim_GetMapfv(GLenum target, GLenum query, GLfloat *v) {
  GetMap(target, query, v, __GL_FLOAT32);
}

void GLENTRY __glim_GetMapdv(GLenum target, GLenum query, GLdouble *v) {
  GetMap(target, query, v, __GL_FLOAT64);
}

void GLENTRY __glim_GetMapiv(GLenum target, GLenum query, GLint *v) {
  GetMap(target, query, v, __GL_INT32);
}

void GLENTRY __glim_GetPixelMapfv(GLenum map, GLfloat *values) {
  bool integers;
  const GlPixelMap *m = PixelMap(map, &integers);
  if (m == nullptr) return;
  for (int32_t i = 0; i < m->size; ++i)
    values[i] = integers ? GLfloat(m->base.mapI[i]) : m->base.mapF[i];
}

void GLENTRY __glim_GetPixelMapuiv(GLenum map, GLuint *values) { GetPixelMapIntegers(map, values); }

void GLENTRY __glim_GetPixelMapusv(GLenum map, GLushort *values) {
  GetPixelMapIntegers(map, values);
}

void GLENTRY __glim_GetClipPlane(GLenum plane, GLdouble *equation) {
  int32_t index;
  GlContext *gc =
      __glContextForNumbered(plane, GL_CLIP_PLANE0, &GlConstants::numberOfClipPlanes, &index);
  if (!gc) return;
  const GlCoord &p = gc->state.transform.eyeClipPlanes[index];
  equation[0] = p.x;
  equation[1] = p.y;
  equation[2] = p.z;
  equation[3] = p.w;
}

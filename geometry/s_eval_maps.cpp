// glMap1 and glMap2: argument checks in their fixed order, room for the
// control points, and the copy of the points into packed storage.
#include <string.h>

#include <type_traits>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "geometry/s_eval.h"

namespace {

bool ValidOrder(const GlContext *gc, GLint order) {
  return order >= 1 && order <= gc->constants.maxEvalOrder;
}

// Everything but the strides; k of the target, or -1 after recording the
// error. Maps need no picked procedures, so a pending validation waits.
int32_t CheckMap1(GlContext *gc, GLenum target, GLint order, GLfloat u1, GLfloat u2) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return -1;
  }
  if (target < GL_MAP1_COLOR_4 || target > GL_MAP1_VERTEX_4) {
    __glSetError(GL_INVALID_ENUM);
    return -1;
  }
  if (u1 == u2 || !ValidOrder(gc, order)) {
    __glSetError(GL_INVALID_VALUE);
    return -1;
  }
  return __glEvalComputeK(target);
}

int32_t CheckMap2(GlContext *gc, GLenum target, GLint uOrder, GLint vOrder, GLfloat u1, GLfloat u2,
                  GLfloat v1, GLfloat v2) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return -1;
  }
  if (target < GL_MAP2_COLOR_4 || target > GL_MAP2_VERTEX_4) {
    __glSetError(GL_INVALID_ENUM);
    return -1;
  }
  if (!ValidOrder(gc, uOrder) || !ValidOrder(gc, vOrder) || u1 == u2 || v1 == v2) {
    __glSetError(GL_INVALID_VALUE);
    return -1;
  }
  return __glEvalComputeK(target);
}

// The storage resized to `floats`; false (the old storage kept, error
// recorded) when the allocator refuses.
bool Resize(GlContext *gc, GLfloat **data, GLint floats) {
  void *block = gc->imports.realloc(gc, *data, sizeof(GLfloat) * size_t(floats));
  if (block == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return false;
  }
  *data = static_cast<GLfloat *>(block);
  return true;
}

template <typename T>
void Fill1(GLint k, GLint order, GLint stride, const T *points, GLfloat *data) {
  for (GLint i = 0; i < order; ++i, data += k, points += stride)
    for (GLint j = 0; j < k; ++j) data[j] = GLfloat(points[j]);
}

// Point (i, j) is read at i * uStride + j * vStride.
template <typename T>
void Fill2(GLint k, GLint uOrder, GLint vOrder, GLint uStride, GLint vStride, const T *points,
           GLfloat *data) {
  for (GLint i = 0; i < uOrder; ++i) {
    const T *row = points + ptrdiff_t(i) * uStride;
    for (GLint j = 0; j < vOrder; ++j, data += k) {
      const T *point = row + ptrdiff_t(j) * vStride;
      for (GLint c = 0; c < k; ++c) data[c] = GLfloat(point[c]);
    }
  }
}

template <typename T>
void Map1(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const T *points) {
  GlContext *gc = __glGetTLSCXValue();
  const int32_t k = CheckMap1(gc, target, order, u1, u2);
  if (k < 0) return;
  if (stride < k) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  // No points to read: the map stays as it was, as a listed call leaves it.
  if (points == nullptr) return;
  if (__glSetUpMap1(gc, target, order, u1, u2) == nullptr) return;
  GLfloat *data = gc->eval.eval1Data[target - GL_MAP1_COLOR_4];
  if constexpr (std::is_same_v<T, GLfloat>)
    __glFillMap1f(k, order, stride, points, data);
  else
    __glFillMap1d(k, order, stride, points, data);
}

template <typename T>
void Map2(GLenum target, GLfloat u1, GLfloat u2, GLint uStride, GLint uOrder, GLfloat v1,
          GLfloat v2, GLint vStride, GLint vOrder, const T *points) {
  GlContext *gc = __glGetTLSCXValue();
  const int32_t k = CheckMap2(gc, target, uOrder, vOrder, u1, u2, v1, v2);
  if (k < 0) return;
  if (uStride < k || vStride < k) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  // No points to read: the map stays as it was, as a listed call leaves it.
  if (points == nullptr) return;
  if (__glSetUpMap2(gc, target, uOrder, vOrder, u1, u2, v1, v2) == nullptr) return;
  GLfloat *data = gc->eval.eval2Data[target - GL_MAP2_COLOR_4];
  if constexpr (std::is_same_v<T, GLfloat>)
    __glFillMap2f(k, uOrder, vOrder, uStride, vStride, points, data);
  else
    __glFillMap2d(k, uOrder, vOrder, uStride, vStride, points, data);
}

}  // namespace

// Room first, then order and domain: a refused allocation leaves the map
// whole.
GlEvalMap1 *__glSetUpMap1(GlContext *gc, GLenum target, GLint order, GLfloat u1, GLfloat u2) {
  const int32_t k = CheckMap1(gc, target, order, u1, u2);
  if (k < 0) return nullptr;
  const int index = target - GL_MAP1_COLOR_4;
  if (!Resize(gc, &gc->eval.eval1Data[index], __glMap1_size(k, order))) return nullptr;
  GlEvalMap1 *map = &gc->eval.eval1[index];
  map->order = order;
  map->u1 = u1;
  map->u2 = u2;
  return map;
}

GlEvalMap2 *__glSetUpMap2(GlContext *gc, GLenum target, GLint uOrder, GLint vOrder, GLfloat u1,
                          GLfloat u2, GLfloat v1, GLfloat v2) {
  const int32_t k = CheckMap2(gc, target, uOrder, vOrder, u1, u2, v1, v2);
  if (k < 0) return nullptr;
  const int index = target - GL_MAP2_COLOR_4;
  if (!Resize(gc, &gc->eval.eval2Data[index], __glMap2_size(k, uOrder, vOrder))) return nullptr;
  GlEvalMap2 *map = &gc->eval.eval2[index];
  map->uOrder = uOrder;
  map->vOrder = vOrder;
  map->u1 = u1;
  map->u2 = u2;
  map->v1 = v1;
  map->v2 = v2;
  return map;
}

void __glFillMap1f(GLint k, GLint order, GLint stride, const GLfloat *points, GLfloat *data) {
  if (stride == k)
    memcpy(data, points, sizeof(GLfloat) * size_t(__glMap1_size(k, order)));
  else
    Fill1(k, order, stride, points, data);
}

void __glFillMap1d(GLint k, GLint order, GLint stride, const GLdouble *points, GLfloat *data) {
  Fill1(k, order, stride, points, data);
}

void __glFillMap2f(GLint k, GLint uOrder, GLint vOrder, GLint uStride, GLint vStride,
                   const GLfloat *points, GLfloat *data) {
  if (vStride == k && uStride == vOrder * k)
    memcpy(data, points, sizeof(GLfloat) * size_t(__glMap2_size(k, uOrder, vOrder)));
  else
    Fill2(k, uOrder, vOrder, uStride, vStride, points, data);
}

void __glFillMap2d(GLint k, GLint uOrder, GLint vOrder, GLint uStride, GLint vStride,
                   const GLdouble *points, GLfloat *data) {
  Fill2(k, uOrder, vOrder, uStride, vStride, points, data);
}

void GLENTRY __glim_Map1f(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order,
                          const GLfloat *points) {
  Map1(target, u1, u2, stride, order, points);
}

void GLENTRY __glim_Map1d(GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order,
                          const GLdouble *points) {
  Map1(target, GLfloat(u1), GLfloat(u2), stride, order, points);
}

void GLENTRY __glim_Map2f(GLenum target, GLfloat u1, GLfloat u2, GLint uStride, GLint uOrder,
                          GLfloat v1, GLfloat v2, GLint vStride, GLint vOrder,
                          const GLfloat *points) {
  Map2(target, u1, u2, uStride, uOrder, v1, v2, vStride, vOrder, points);
}

void GLENTRY __glim_Map2d(GLenum target, GLdouble u1, GLdouble u2, GLint uStride, GLint uOrder,
                          GLdouble v1, GLdouble v2, GLint vStride, GLint vOrder,
                          const GLdouble *points) {
  Map2(target, GLfloat(u1), GLfloat(u2), uStride, uOrder, GLfloat(v1), GLfloat(v2), vStride, vOrder,
       points);
}

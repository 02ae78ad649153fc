// The list ops of the evaluator maps: the control points copied at compile
// time without their strides (doubles as floats) and replayed through
// glMap1f or glMap2f, which check the arguments again.
#include <type_traits>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_op_layout.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"
#include "geometry/s_eval.h"

namespace {

constexpr uint32_t kMap1Head = 16, kMap2Head = 28;

// The components of the target, or -1 after compiling an InvalidEnum op.
int32_t Components(GlContext *gc, GLenum target) {
  const int32_t k = __glEvalComputeK(target);
  if (k < 0) __gllc_InvalidEnum(gc);
  return k;
}

// Ends compared as the immediate entries see them, as floats.
bool BadAxis(const GlContext *gc, int32_t k, GLint stride, GLint order, GLfloat a, GLfloat b) {
  return order > gc->constants.maxEvalOrder || order < 1 || stride < k || a == b;
}

template <typename T>
void CompileMap1(int16_t code, GLenum target, T u1, T u2, GLint stride, GLint order,
                 const T *points) {
  GlContext *gc = __glGetTLSCXValue();
  const int32_t k = Components(gc, target);
  if (k < 0) return;
  if (BadAxis(gc, k, stride, order, GLfloat(u1), GLfloat(u2))) {
    __gllc_InvalidValue(gc);
    return;
  }
  if (points == nullptr) return;  // nothing to read
  const uint32_t size = kMap1Head + 4 * uint32_t(__glMap1_size(k, order));
  __glDlistRecord(gc, code, size, false, 0, __glle_Map1, [&](GLubyte *data) {
    DlPut(data, target);
    DlPut(data + 4, GLfloat(u1));
    DlPut(data + 8, GLfloat(u2));
    DlPut(data + 12, order);
    GLfloat *out = reinterpret_cast<GLfloat *>(data + kMap1Head);
    if constexpr (std::is_same_v<T, GLfloat>)
      __glFillMap1f(k, order, stride, points, out);
    else
      __glFillMap1d(k, order, stride, points, out);
  });
}

template <typename T>
void CompileMap2(int16_t code, GLenum target, T u1, T u2, GLint ustride, GLint uorder, T v1,
                 T v2, GLint vstride, GLint vorder, const T *points) {
  GlContext *gc = __glGetTLSCXValue();
  const int32_t k = Components(gc, target);
  if (k < 0) return;
  if (BadAxis(gc, k, ustride, uorder, GLfloat(u1), GLfloat(u2)) ||
      BadAxis(gc, k, vstride, vorder, GLfloat(v1), GLfloat(v2))) {
    __gllc_InvalidValue(gc);
    return;
  }
  if (points == nullptr) return;  // nothing to read
  const uint32_t size = kMap2Head + 4 * uint32_t(__glMap2_size(k, uorder, vorder));
  __glDlistRecord(gc, code, size, false, 0, __glle_Map2, [&](GLubyte *data) {
    DlPut(data, target);
    DlPut(data + 4, GLfloat(u1));
    DlPut(data + 8, GLfloat(u2));
    DlPut(data + 12, uorder);
    DlPut(data + 16, GLfloat(v1));
    DlPut(data + 20, GLfloat(v2));
    DlPut(data + 24, vorder);
    GLfloat *out = reinterpret_cast<GLfloat *>(data + kMap2Head);
    if constexpr (std::is_same_v<T, GLfloat>)
      __glFillMap2f(k, uorder, vorder, ustride, vstride, points, out);
    else
      __glFillMap2d(k, uorder, vorder, ustride, vstride, points, out);
  });
}

}  // namespace

void GLENTRY __gllc_Map1f(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order,
                          const GLfloat *points) {
  CompileMap1(GL_DLOP_Map1f, target, u1, u2, stride, order, points);
}

void GLENTRY __gllc_Map1d(GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order,
                          const GLdouble *points) {
  CompileMap1(GL_DLOP_Map1d, target, u1, u2, stride, order, points);
}

void GLENTRY __gllc_Map2f(GLenum target, GLfloat u1, GLfloat u2, GLint ustride, GLint uorder,
                          GLfloat v1, GLfloat v2, GLint vstride, GLint vorder,
                          const GLfloat *points) {
  CompileMap2(GL_DLOP_Map2f, target, u1, u2, ustride, uorder, v1, v2, vstride, vorder, points);
}

void GLENTRY __gllc_Map2d(GLenum target, GLdouble u1, GLdouble u2, GLint ustride, GLint uorder,
                          GLdouble v1, GLdouble v2, GLint vstride, GLint vorder,
                          const GLdouble *points) {
  CompileMap2(GL_DLOP_Map2d, target, u1, u2, ustride, uorder, v1, v2, vstride, vorder, points);
}

// The points are dense: stride k, and for a surface a u stride of a whole
// row of v points.
const GLubyte *__glle_Map1(const GLubyte *data) {
  const GLenum target = DlWord(data);
  const GLint order = DlGet<GLint>(data + 12);
  const int32_t k = __glEvalComputeK(target);
  __glGetTLSCXValue()->dispatchState->Map1f(target, DlGet<GLfloat>(data + 4),
                                            DlGet<GLfloat>(data + 8), k, order,
                                            reinterpret_cast<const GLfloat *>(data + kMap1Head));
  return data + kMap1Head + 4 * uint32_t(__glMap1_size(k, order));
}

const GLubyte *__glle_Map2(const GLubyte *data) {
  const GLenum target = DlWord(data);
  const GLint uorder = DlGet<GLint>(data + 12), vorder = DlGet<GLint>(data + 24);
  const int32_t k = __glEvalComputeK(target);
  __glGetTLSCXValue()->dispatchState->Map2f(
      target, DlGet<GLfloat>(data + 4), DlGet<GLfloat>(data + 8), vorder * k, uorder,
      DlGet<GLfloat>(data + 16), DlGet<GLfloat>(data + 20), k, vorder,
      reinterpret_cast<const GLfloat *>(data + kMap2Head));
  return data + kMap2Head + 4 * uint32_t(__glMap2_size(k, uorder, vorder));
}

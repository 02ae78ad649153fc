// The conversion every query ends in: staged values of one kind into the
// application's type, with the rounding and normalization rules of OpenGL
// state queries. Out-of-range values saturate (DESIGN section 6).
#include <math.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "core/s_get.h"
#include "geometry/s_color.h"

int32_t __glRoundQueryToInt(GLfloat v) {
  // The sum is a float on purpose: 0.49999997 + 0.5 rounds to 1.
  GLfloat sum = v >= 0.0f ? v + 0.5f : v - 0.5f;
  return __glTruncateToInt(sum);
}

int32_t __glNormalizedToInt(const GlContext *gc, GLfloat v) {
  const GlConstants &k = gc->constants;
  return __glFloorToInt(floor(double(v) * double(k.uIntMax) * double(k.half)));
}

namespace {

template <typename Out, typename In, typename F>
void Each(const void *source, void *result, int32_t count, F convert) {
  const In *in = static_cast<const In *>(source);
  Out *out = static_cast<Out *>(result);
  for (int32_t i = 0; i < count; ++i) out[i] = convert(in[i]);
}

template <typename In>
void Plain(const void *source, int32_t resultType, void *result, int32_t count) {
  switch (resultType) {
    case __GL_FLOAT32:
      Each<GLfloat, In>(source, result, count, [](In v) { return GLfloat(v); });
      break;
    case __GL_FLOAT64:
      Each<GLdouble, In>(source, result, count, [](In v) { return GLdouble(v); });
      break;
    case __GL_BOOLEAN:
      Each<GLboolean, In>(source, result, count,
                          [](In v) { return GLboolean(v != In(0) ? GL_TRUE : GL_FALSE); });
      break;
  }
}

void ScaledColor(GlContext *gc, const void *source, int32_t resultType, void *result,
                 int32_t count) {
  const GLfloat *c = static_cast<const GLfloat *>(source);
  GlColor scaled = {c[0], c[1], c[2], c[3]};
  GlColor unscaled;
  switch (resultType) {
    case __GL_FLOAT32: __glUnScaleColorf(gc, static_cast<GlColor *>(result), &scaled); break;
    case __GL_FLOAT64: {
      __glUnScaleColorf(gc, &unscaled, &scaled);
      GLdouble *out = static_cast<GLdouble *>(result);
      out[0] = unscaled.r;
      out[1] = unscaled.g;
      out[2] = unscaled.b;
      out[3] = unscaled.a;
      break;
    }
    case __GL_INT32: __glUnScaleColori(gc, static_cast<GLint *>(result), &scaled); break;
    case __GL_BOOLEAN: Plain<GLfloat>(source, resultType, result, count); break;
  }
}

}  // namespace

void __glConvertResult(GlContext *gc, int32_t sourceKind, const void *source, int32_t resultType,
                       void *result, int32_t count) {
  if (resultType < __GL_FLOAT32 || resultType > __GL_BOOLEAN) return;
  switch (sourceKind) {
    case __GL_FLOAT:
      if (resultType == __GL_INT32)
        Each<GLint, GLfloat>(source, result, count, __glRoundQueryToInt);
      else
        Plain<GLfloat>(source, resultType, result, count);
      break;
    case __GL_INT:
      if (resultType == __GL_INT32)
        Each<GLint, GLint>(source, result, count, [](GLint v) { return v; });
      else
        Plain<GLint>(source, resultType, result, count);
      break;
    case __GL_BOOL:
      // Staged bytes keep their value: a flag byte of 2 reads back as 2.
      if (resultType == __GL_INT32)
        Each<GLint, GLubyte>(source, result, count, [](GLubyte v) { return GLint(v); });
      else
        Plain<GLubyte>(source, resultType, result, count);
      break;
    case __GL_NORMALIZED:
      if (resultType == __GL_INT32)
        Each<GLint, GLfloat>(source, result, count,
                             [gc](GLfloat v) { return __glNormalizedToInt(gc, v); });
      else
        Plain<GLfloat>(source, resultType, result, count);
      break;
    case __GL_SCALED_COLOR: ScaledColor(gc, source, resultType, result, count); break;
    default: break;
  }
}

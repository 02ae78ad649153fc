// What the object queries share: the values of one answer, gathered by
// kind and converted once into the caller's type.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "core/s_get.h"
#include "geometry/s_vertex.h"

struct GlContext;

// At most four values of one kind.
typedef struct GlQueryValues {
  int32_t kind;  // a source kind of __glConvertResult
  int32_t count;
  union {
    GLfloat f[4];
    GLint i[4];
  };
} GlQueryValues;

inline GlQueryValues __glQueryInt(GLint v) {
  GlQueryValues q{__GL_INT, 1, {}};
  q.i[0] = v;
  return q;
}

inline GlQueryValues __glQueryFloats(int32_t kind, const GLfloat *v, int32_t count) {
  GlQueryValues q{kind, count, {}};
  for (int32_t n = 0; n < count; ++n) q.f[n] = v[n];
  return q;
}

inline GlQueryValues __glQueryColor(int32_t kind, const GlColor &c) {
  const GLfloat v[4] = {c.r, c.g, c.b, c.a};
  return __glQueryFloats(kind, v, 4);
}

inline void __glWriteQuery(GlContext *gc, const GlQueryValues &q, int32_t resultType,
                           void *result) {
  __glConvertResult(gc, q.kind, q.kind == __GL_INT ? static_cast<const void *>(q.i) : q.f,
                    resultType, result, q.count);
}

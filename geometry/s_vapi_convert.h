// The conversions of the immediate colour and normal entries. Signed types
// map their whole range onto [-1, 1] as (2c + 1) / (2^n - 1), unsigned ones
// as c / (2^n - 1); products are formed in extended precision and rounded to
// float once. Nothing is clamped here.
#pragma once

#include "core/context.h"
#include "core/s_constants.h"

namespace vapi {

typedef long double Ext;

inline GLfloat Component(const GlConstants &k, GLbyte c) {
  return GLfloat((2 * Ext(c) + 1) * k.oneOverUByteMax);
}
inline GLfloat Component(const GlConstants &k, GLubyte c) { return k.uByteToFloat[c]; }
inline GLfloat Component(const GlConstants &k, GLshort c) {
  return GLfloat((2 * Ext(c) + 1) * k.oneOverUShortMax);
}
inline GLfloat Component(const GlConstants &k, GLushort c) {
  return GLfloat(Ext(c) * k.oneOverUShortMax);
}
inline GLfloat Component(const GlConstants &k, GLint c) {
  return GLfloat((2 * Ext(c) + 1) * k.oneOverUIntMax);
}
inline GLfloat Component(const GlConstants &k, GLuint c) {
  return GLfloat(Ext(c) * k.oneOverUIntMax);
}
inline GLfloat Component(const GlConstants &, GLfloat c) { return c; }
inline GLfloat Component(const GlConstants &, GLdouble c) { return GLfloat(c); }

}  // namespace vapi

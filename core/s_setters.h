// The state setters and enables: what their entries share, and the
// procedures other subsystems call (display lists count the values of a
// vector call with the _size procedures and check materials as the
// immediate entries do).
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "core/gl_defs.h"
#include "core/s_entry.h"
#include "geometry/s_color.h"
#include "geometry/s_light.h"

// ---- Values a vector entry reads for a pname; -1 for a pname it does not know ----
// Derives the fog colour in the buffer's units and bytes, and the index
// masked to the buffer's index bits, again from the values kept: after fog
// state came from another context, whose buffer may differ.
void __glRederiveFog(GlContext *gc);
GLint __glFogfv_size(GLenum pname);
GLint __glFogiv_size(GLenum pname);
GLint __glLightfv_size(GLenum pname);
GLint __glLightiv_size(GLenum pname);
GLint __glLightModelfv_size(GLenum pname);
GLint __glLightModeliv_size(GLenum pname);
GLint __glMaterialfv_size(GLenum pname);
GLint __glMaterialiv_size(GLenum pname);

// glMaterialiv's values as floats (__glMaterialiv_size of them): colours by
// the integer colour mapping, shininess and colour indexes plainly.
void __glMaterialValuesi(GlContext *gc, GLenum pname, const GLint *in, GLfloat *out);

// 0, or the error a glMaterial call with these arguments raises (the first
// value is read only for GL_SHININESS).
GLenum __glErrorCheckMaterial(GLenum face, GLenum pname, GLfloat firstValue);

// The light's spot direction, as glLight stored it with a fourth component,
// taken into eye space by the model-view inverse transpose: the eye-space
// value in the light, its unit x, y, z in the light's cache.
void __glTransformLightDirection(GlContext *gc, GlLight *light);

// ---- Shared by the entries ----

// GL_NEVER .. GL_ALWAYS.
inline bool __glIsComparisonFunc(GLenum func) { return func >= GL_NEVER && func <= GL_ALWAYS; }

inline bool __glIsFace(GLenum face) {
  return face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
}

// Into [lo, hi]; NaN, which is in no range, gives lo.
template <typename T>
inline T __glClampRange(T v, T lo, T hi) {
  if (!(v >= lo)) return lo;
  if (v > hi) return hi;
  return v;
}

// A colour parameter of a vector entry, floats or integers, scaled as a
// light colour is kept.
inline void __glScaleColorParam(GlContext *gc, GlColor *dst, const GLfloat *v) {
  GlColor c = {v[0], v[1], v[2], v[3]};
  __glScaleColorf(gc, dst, &c);
}
inline void __glScaleColorParam(GlContext *gc, GlColor *dst, const GLint *v) {
  __glScaleColori(gc, dst, v);
}

// Every bit of the drawn colour buffer's index (its red mask in an RGBA
// context); 0 while the context has no colour buffer.
inline uint32_t __glFullIndexMask(const GlContext *gc) {
  return gc->drawBuffer ? gc->drawBuffer->redMax : 0;
}

// 2^stencil bits - 1, as the stencil state stores it.
inline uint16_t __glStencilValueMask(const GlContext *gc) {
  uint32_t bits = gc->modes.stencilBits;
  return uint16_t(bits >= 16 ? 0xFFFFu : (1u << bits) - 1);
}

// __glDelayValidate, with derived tables to rebuild too.
inline void __glDelayValidateTables(GlContext *gc, uint32_t dirty, uint32_t tables) {
  __glDelayValidate(gc, dirty);
  gc->tableDirtyMask |= tables;
}

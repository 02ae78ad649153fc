// The converters that write one array element into a vertex, one per array,
// size and type, and the copiers of current values for arrays the state
// needs but that are not enabled. Every conversion is the one the immediate
// entry of the same form makes, so that an array vertex and an immediate
// vertex agree bit for bit.
#pragma once

#include <string.h>

#include "core/context.h"
#include "geometry/s_color.h"
#include "geometry/s_vapi_convert.h"

namespace varray {

// Application arrays need not be aligned to their element type: components
// are read byte-wise, which compiles to plain loads on x86.
template <typename T>
struct Components {
  const void *element;
  T operator[](int i) const {
    T value;
    memcpy(&value, static_cast<const char *>(element) + i * int(sizeof(T)), sizeof value);
    return value;
  }
};

template <int N, typename T>
void CopyVertex(GlContext *gc, const void *element, GlVertex *v) {
  const Components<T> c{element};
  v->obj.x = GLfloat(c[0]);
  v->obj.y = GLfloat(c[1]);
  v->obj.z = N > 2 ? GLfloat(c[N > 2 ? 2 : 0]) : 0.0f;
  v->obj.w = N > 3 ? GLfloat(c[N > 3 ? 3 : 0]) : gc->constants.one;
}

template <typename T>
void CopyNormal(GlContext *gc, const void *element, GlVertex *v) {
  const Components<T> c{element};
  const GlConstants &k = gc->constants;
  v->normal.x = vapi::Component(k, c[0]);
  v->normal.y = vapi::Component(k, c[1]);
  v->normal.z = vapi::Component(k, c[2]);
}

template <int N, typename T>
void CopyColor(GlContext *gc, const void *element, GlVertex *v) {
  const Components<T> c{element};
  const GlConstants &k = gc->constants;
  GlColor &out = v->colors[__GL_FRONTFACE];
  out.r = vapi::Component(k, c[0]);
  out.g = vapi::Component(k, c[1]);
  out.b = vapi::Component(k, c[2]);
  out.a = N > 3 ? vapi::Component(k, c[N > 3 ? 3 : 0]) : k.one;
  __glClampAndScaleColorf(gc, &out, &out);
}

// Only the first component: an index context keeps the index there.
template <typename T>
void CopyIndex(GlContext *, const void *element, GlVertex *v) {
  v->colors[__GL_FRONTFACE].r = GLfloat(Components<T>{element}[0]);
}

template <int N, typename T>
void CopyTexCoord(GlContext *gc, const void *element, GlVertex *v) {
  const Components<T> c{element};
  v->texture.x = GLfloat(c[0]);
  v->texture.y = N > 1 ? GLfloat(c[N > 1 ? 1 : 0]) : 0.0f;
  v->texture.z = N > 2 ? GLfloat(c[N > 2 ? 2 : 0]) : 0.0f;
  v->texture.w = N > 3 ? GLfloat(c[N > 3 ? 3 : 0]) : gc->constants.one;
}

}  // namespace varray

void CopyEdgeFlag(GlContext *gc, const void *element, GlVertex *v);
void CopyCurrentNormal(GlContext *gc, const void *element, GlVertex *v);
void CopyCurrentColor(GlContext *gc, const void *element, GlVertex *v);
void CopyCurrentIndex(GlContext *gc, const void *element, GlVertex *v);
void CopyCurrentTexCoord(GlContext *gc, const void *element, GlVertex *v);
void CopyCurrentEdgeFlag(GlContext *gc, const void *element, GlVertex *v);
// For a slot with nothing to copy: the vertex while no vertex array is in
// use (such draws take the glArrayElement path), the colour kind the visual
// does not use. No slot ever holds an empty procedure.
void CopyNothing(GlContext *gc, const void *element, GlVertex *v);

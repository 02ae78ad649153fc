// Copies of the current values into a vertex, shared by the immediate and
// the cached save procedures; a save procedure is a list of these.
#pragma once

#include "core/context.h"

namespace vertex_copy {

inline void Color(const GlContext *gc, GlVertex *v) {
  v->colors[__GL_FRONTFACE] = gc->state.current.color;
}

// Colour-index visuals carry the index in the red float.
inline void Index(const GlContext *gc, GlVertex *v) {
  v->colors[__GL_FRONTFACE].r = gc->state.current.index;
}

// The fourth component is left for the plane term of validation.
inline void Normal(const GlContext *gc, GlVertex *v) {
  const GLfloat *n = gc->state.current.normal;
  v->normal.x = n[0];
  v->normal.y = n[1];
  v->normal.z = n[2];
}

inline void Texture(const GlContext *gc, GlVertex *v) { v->texture = gc->state.current.texture; }

}  // namespace vertex_copy

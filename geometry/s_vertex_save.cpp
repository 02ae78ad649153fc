// The save procedures: each copies into a new vertex the current values the
// state will need of it, then hands the vertex to the primitive state
// machine. They touch no validity bit: what they copy is what validation
// starts from.
#include "core/context.h"
#include "geometry/s_vertex_procs.h"

namespace {

void Color(const GlContext *gc, GlVertex *v) {
  v->colors[__GL_FRONTFACE] = gc->state.current.color;
}

// Colour-index visuals carry the index in the red float.
void Index(const GlContext *gc, GlVertex *v) {
  v->colors[__GL_FRONTFACE].r = gc->state.current.index;
}

// The fourth component is left for the plane term of validation.
void Normal(const GlContext *gc, GlVertex *v) {
  const GLfloat *n = gc->state.current.normal;
  v->normal.x = n[0];
  v->normal.y = n[1];
  v->normal.z = n[2];
}

void Texture(const GlContext *gc, GlVertex *v) { v->texture = gc->state.current.texture; }

template <void (*...Copy)(const GlContext *, GlVertex *)>
void Save(GlContext *gc, GlVertex *v) {
  (Copy(gc, v), ...);
  gc->procs.primVertex(gc, v);
}

}  // namespace

void __glSaveN(GlContext *gc, GlVertex *v) { Save<Normal>(gc, v); }
void __glSaveC(GlContext *gc, GlVertex *v) { Save<Color>(gc, v); }
void __glSaveCI(GlContext *gc, GlVertex *v) { Save<Index>(gc, v); }
void __glSaveT(GlContext *gc, GlVertex *v) { Save<Texture>(gc, v); }
void __glSaveNT(GlContext *gc, GlVertex *v) { Save<Normal, Texture>(gc, v); }
void __glSaveCT(GlContext *gc, GlVertex *v) { Save<Color, Texture>(gc, v); }
void __glSaveCIT(GlContext *gc, GlVertex *v) { Save<Index, Texture>(gc, v); }
void __glSaveCAll(GlContext *gc, GlVertex *v) { Save<Color, Normal, Texture>(gc, v); }
void __glSaveCIAll(GlContext *gc, GlVertex *v) { Save<Index, Normal, Texture>(gc, v); }

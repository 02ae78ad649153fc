// The save procedures: each copies into a new vertex the current values the
// state will need of it, then hands the vertex to the primitive state
// machine. They touch no validity bit: what they copy is what validation
// starts from.
#include "core/context.h"
#include "geometry/s_vertex_copy.h"
#include "geometry/s_vertex_procs.h"

namespace {

using vertex_copy::Color;
using vertex_copy::Index;
using vertex_copy::Normal;
using vertex_copy::Texture;

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

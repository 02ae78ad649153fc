// The cache's save procedures: each copies into a new cached vertex the
// current values the state will need of it. Unlike the immediate ones they
// hand the vertex to nobody: the batch is drawn when the cache is processed.
#include "core/context.h"
#include "geometry/s_vertex_copy.h"
#include "geometry/vc_cache.h"

namespace {

using vertex_copy::Color;
using vertex_copy::Index;
using vertex_copy::Normal;
using vertex_copy::Texture;

template <void (*...Copy)(const GlContext *, GlVertex *)>
void Save(GlContext *gc, GlVertex *v) {
  (Copy(gc, v), ...);
}

}  // namespace

void __glVCSaveN(GlContext *gc, GlVertex *v) { Save<Normal>(gc, v); }
void __glVCSaveC(GlContext *gc, GlVertex *v) { Save<Color>(gc, v); }
void __glVCSaveCI(GlContext *gc, GlVertex *v) { Save<Index>(gc, v); }
void __glVCSaveNC(GlContext *gc, GlVertex *v) { Save<Normal, Color>(gc, v); }
void __glVCSaveNCI(GlContext *gc, GlVertex *v) { Save<Normal, Index>(gc, v); }
void __glVCSaveT(GlContext *gc, GlVertex *v) { Save<Texture>(gc, v); }
void __glVCSaveNT(GlContext *gc, GlVertex *v) { Save<Normal, Texture>(gc, v); }
void __glVCSaveCT(GlContext *gc, GlVertex *v) { Save<Color, Texture>(gc, v); }
void __glVCSaveCIT(GlContext *gc, GlVertex *v) { Save<Index, Texture>(gc, v); }
void __glVCSaveCAll(GlContext *gc, GlVertex *v) { Save<Color, Normal, Texture>(gc, v); }
void __glVCSaveCIAll(GlContext *gc, GlVertex *v) { Save<Index, Normal, Texture>(gc, v); }

const GlVcacheSaveProc RGBSaveProcs[8] = {
    nullptr,     __glVCSaveN,  __glVCSaveC,  __glVCSaveNC,
    __glVCSaveT, __glVCSaveNT, __glVCSaveCT, __glVCSaveCAll,
};
const GlVcacheSaveProc CISaveProcs[8] = {
    nullptr,     __glVCSaveN,  __glVCSaveCI,  __glVCSaveNCI,
    __glVCSaveT, __glVCSaveNT, __glVCSaveCIT, __glVCSaveCIAll,
};

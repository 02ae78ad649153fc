// The vertex picker, __glGenericPickVertexProcs: which clip check each size
// class takes, whether vertices are validated at all, and which current
// values a new vertex saves.
#include "geometry/s_vertex_pick.h"

#include "core/context.h"
#include "core/gl_assert.h"
#include "core/gl_entries.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_vertex_procs.h"
#include "geometry/vc_cache.h"

namespace {

// Rows of the save tables: 1 lit, 2 unlit; 5 lit and textured, 6 unlit and
// textured; 7 unlit with a sphere-mapped coordinate (its normal is saved
// too). Rows 0, 3 and 4 are never chosen.
typedef void (*GlSaveProc)(GlContext *gc, GlVertex *v);
const GlSaveProc kRGBSaveProcs[8] = {
    nullptr, __glSaveN, __glSaveC, nullptr, __glSaveT, __glSaveNT, __glSaveCT, __glSaveCAll,
};
const GlSaveProc kCISaveProcs[8] = {
    nullptr, __glSaveN, __glSaveCI, nullptr, __glSaveT, __glSaveNT, __glSaveCIT, __glSaveCIAll,
};

bool SphereMapped(const GlContext *gc, uint32_t enable, int32_t coord) {
  return (gc->state.enables.texture & enable) &&
         gc->texture.texCoordGen[coord].mode == GL_SPHERE_MAP;
}

void PickClipChecks(GlContext *gc) {
  GlProcs &p = gc->procs;
  if (gc->state.enables.clipPlanes) {
    p.clipCheck[0] = __glClipCheckAll2;
    p.clipCheck[1] = __glClipCheckAll3;
    p.clipCheck[2] = __glClipCheckAll4;
    return;
  }
  uint32_t (*frustum)(GlContext *, GlVertex *) =
      (gc->constants.cpuFlags & __GL_CPU_K3D) ? __glK3DClipCheckFrustum : __glI386ClipCheckFrustum;
  p.clipCheck[1] = frustum;
  p.clipCheck[2] = frustum;
  // Two-component vertices keep z inside the frustum when the composite
  // leaves x and y independent of z and puts z = 0 within [-1, 1].
  const GlMatrix &mvp = gc->transform.modelView->mvp;
  const GLfloat zOffset = mvp.matrix[14];
  const bool flat = mvp.matrixType >= __GL_MT_IS2D && zOffset >= -1.0f && zOffset <= 1.0f;
  p.clipCheck[0] = flat ? __glClipCheckFrustum2D : frustum;
}

void PickValidators(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.validateVertex[0] = __glValidateNothing;
  const bool needed = gc->vertexBuffer.frontNeeds != 0;
  p.validateVertex[1] = needed ? __glValidateVertex2 : __glValidateNothing;
  p.validateVertex[2] = needed ? __glValidateVertex3 : __glValidateNothing;
  p.validateVertex[3] = needed ? __glValidateVertex4 : __glValidateNothing;
}

// Without the vertex cache the immediate table in force holds the plain
// entries the cache would otherwise have replaced.
void PutBackPlainEntries(GlContext *gc) {
  GlDispatchState *table = gc->dispatchState;
  if (!table) return;  // not bound yet: the binding copies the plain table
  table->Begin = __glim_Begin;
  table->End = __glim_End;
  table->Vertex2fv = __glim_Vertex2fv;
  table->Vertex3fv = __glim_Vertex3fv;
  table->Vertex4fv = __glim_Vertex4fv;
}

void PickSaveProc(GlContext *gc) {
  if (gc->renderMode == GL_FEEDBACK) {
    // Feedback reports every attribute.
    gc->procs.v = gc->modes.colorIndexMode ? __glSaveCIAll : __glSaveCAll;
    return;
  }
  const bool lit = (gc->state.enables.general & __GL_LIGHTING_ENABLE) != 0;
  uint32_t row = lit ? 1 : 2;
  if (gc->texture.current) {
    row = lit ? 5 : 6;
    if (SphereMapped(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S)) row = lit ? 5 : 7;
    if (SphereMapped(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T)) row |= 1;
  }
  gc->procs.v = (gc->modes.rgbMode ? kRGBSaveProcs : kCISaveProcs)[row];
  __GL_ASSERT(gc->procs.v != 0, "gc->procs.v != 0", "s_vertex");
}

}  // namespace

uint32_t __glValidateNothing(GlContext *, GlVertex *v, uint32_t) { return v->has; }

void __glGenericPickVertexProcs(GlContext *gc) {
  PickClipChecks(gc);
  PickValidators(gc);
  // The cache's own picker chooses its entries and save procedure; the
  // immediate save procedure stays picked for whatever calls it directly.
  if (gc->vcache.enabled)
    __glPickVcacheProcs(gc);
  else
    PutBackPlainEntries(gc);
  PickSaveProc(gc);
}

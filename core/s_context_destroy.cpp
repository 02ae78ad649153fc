// Destruction: everything a context owns except the record itself and the
// frame-buffer data. Each part is freed only when it exists, so a context
// whose early initialisation stopped half-way is destroyed cleanly.
#include "codegen/og_cache.h"
#include "core/context.h"
#include "core/s_attrib.h"
#include "core/s_context.h"
#include "dlist/dl_names.h"
#include "geometry/s_eval.h"
#include "geometry/s_lcache.h"
#include "geometry/s_varray.h"
#include "geometry/s_xform.h"
#include "geometry/vc_cache.h"
#include "pixels/px_state.h"
#include "pixels/px_texture.h"
#include "platform/kernel.h"
#include "raster/s_buffers.h"

namespace {

template <typename T>
void Release(GlContext *gc, T *&block) {
  if (block) gc->imports.free(gc, block);
  block = nullptr;
}

void ReleaseGrowArray(GlContext *gc, GlGrowArray *array) {
  Release(gc, array->entries);
  array->count = 0;
  array->capacity = 0;
}

void ReleaseAttributes(GlContext *gc) {
  if (gc->attributeStack == nullptr) return;
  __glFreeAttributeState(gc);
  Release(gc, gc->attributeStack);
  gc->attributeStackTop = nullptr;
}

void ReleaseClientAttributes(GlContext *gc) {
  if (gc->clientAttributeStack == nullptr) return;
  for (int i = 0; i < gc->constants.maxClientAttribStackDepth; i++)
    Release(gc, gc->clientAttributeStack[i]);
  Release(gc, gc->clientAttributeStack);
  gc->clientAttributeStackTop = nullptr;
}

// The light and material caches give their tables back before the table
// cache itself goes.
void ReleaseSpecularTables(GlContext *gc) {
  GlLightMachine &lm = gc->light;
  for (int i = 0; lm.lightCaches && i < gc->constants.numberOfLights; i++) {
    __glFreeSpecLUT(gc, lm.lightCaches[i].spotLut);
    lm.lightCaches[i].spotLut = nullptr;
  }
  for (GlMaterialCache &mc : lm.materialCache) {
    __glFreeSpecLUT(gc, mc.specLut);
    mc.specLut = nullptr;
  }
  __glFreeLUTCache(gc);
}

}  // namespace

void __glDestroyContext(GlContext *gc) {
  ReleaseGrowArray(gc, &gc->growArray4);
  ReleaseGrowArray(gc, &gc->growArray8);
  if (gc->workBuffers) VirtualFree(gc->workBuffers, 0, MEM_RELEASE);
  gc->workBuffers = nullptr;
  Release(gc, gc->workRecords);
  __glReleaseCodeCache(gc);
  og_free_pools(gc);

  ReleaseAttributes(gc);
  ReleaseClientAttributes(gc);

  ReleaseSpecularTables(gc);
  Release(gc, gc->state.light.source);
  Release(gc, gc->light.lightCaches);
  Release(gc, gc->select.stack);
  gc->select.sp = nullptr;
  Release(gc, gc->spanColors[0]);
  Release(gc, gc->spanColors[1]);
  Release(gc, gc->spanStipple);

  __glFreeColorTables(gc);
  __glFreeIndexTestTable(gc);
  __glFreeEvaluatorState(gc);
  __glFreePixelState(gc);
  __glFreeVertexArrayState(gc);
  __glFreeDlistState(gc);
  __glFreeTextureState(gc);
  __glFreeTransformState(gc);
  __glFreeVertexCacheState(gc);
}

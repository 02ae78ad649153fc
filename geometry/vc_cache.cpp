// Setting up and releasing the vertex-cache state, and the material
// validator the cache installs.
#include "geometry/vc_cache.h"

#include <stdlib.h>

#include "core/context.h"
#include "geometry/s_prim_machine.h"

uint8_t __glDisableOgVcache;

namespace {

// The cache is the default road; "__GL_VCACHE=0" keeps the immediate entries.
constexpr uint8_t kOnByDefault = 1;

}  // namespace

void __glInitVertexCacheState(GlContext *gc) {
  GlVertexCacheMachine &vc = gc->vcache;
  const char *on = getenv("__GL_VCACHE");
  vc.enabled = on ? uint8_t(atoi(on) != 0) : kOnByDefault;
  if (const char *off = getenv("__GL_DISABLE_OG_VCACHE")) __glDisableOgVcache = atoi(off) != 0;
  for (int32_t mode = 0; mode < 10; ++mode) vc.processMode[mode] = __glProcessCacheProcs2[mode];
}

// The buffer belongs to the vertex-array state.
void __glFreeVertexCacheState(GlContext *) {}

// Before a material changes inside the block, the cached vertices get what
// smooth shading needs computed with the material they were given under.
// Every cached vertex is looked at, carried ones too: a carried vertex whose
// primitives were all dropped or clipped has not been lit yet.
void __glMatValidateVcache(GlContext *gc) {
  GlVertexCacheMachine &vc = gc->vcache;
  const uint32_t needs = gc->vertexBuffer.smoothNeeds;
  for (int32_t i = 0; i < vc.vertexCount; ++i) __glPrimValidateMissing(gc, &vc.vertices[i], needs);
  vc.validatedCount = vc.vertexCount;
  vc.flags |= __GL_VC_MATERIAL_VALIDATED;
}

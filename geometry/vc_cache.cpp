// The vertex cache fills these in; until it exists the cache stays off, so
// validation and the vertex picker take the cache-off path.
#include "geometry/vc_cache.h"

#include "core/context.h"

void __glInitVertexCacheState(GlContext *gc) { gc->vcache.enabled = 0; }

void __glFreeVertexCacheState(GlContext *gc) {}

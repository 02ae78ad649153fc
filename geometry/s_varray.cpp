// The vertex arrays fill these with their records and batch buffer; until
// then a context has no array state to set up or release.
#include "geometry/s_varray.h"

#include "core/context.h"

void __glInitVertexArrayState(GlContext *gc) {}

void __glFreeVertexArrayState(GlContext *gc) {}

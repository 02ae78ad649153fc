// The soft reset: the first binding turns a created context into one in the
// initial GL state, with the constants that depend on the bound visual's
// buffers and on the processor.
#include "core/context.h"
#include "core/s_context.h"
#include "core/s_context_steps.h"
#include "geometry/s_eval.h"
#include "geometry/s_lcache.h"
#include "geometry/s_varray.h"
#include "geometry/s_xform.h"
#include "geometry/vc_cache.h"
#include "pixels/px_state.h"
#include "pixels/px_texture.h"

void __glSoftResetContext(GlContext *gc) {
  __glResetConstants(gc);

  // Everything is validated before the first drawing.
  gc->beginMode = __GL_VALIDATE_PENDING;
  gc->dirtyMask = __GL_DIRTY_ALL;
  gc->tableDirtyMask = ~0u;
  gc->attributeStackTop = gc->attributeStack;
  gc->clientAttributeStackTop = gc->clientAttributeStack;
  GlVertexBuffer &vb = gc->vertexBuffer;
  vb.next = &vb.slots[0];
  for (GlVertex &v : vb.slots) v.color = &v.colors[__GL_FRONTFACE];

  __glResetStateGroups(gc);

  __glInitColorTables(gc);
  __glInitEvaluatorState(gc);
  __glInitTextureState(gc);
  __glInitTransformState(gc);
  __glInitPixelState(gc);
  __glInitLUTCache(gc);
  __glInitVertexArrayState(gc);
  __glInitVertexCacheState(gc);
}

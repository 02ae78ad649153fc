// The server attribute stack's records: their release at destruction.
#include "core/s_attrib.h"

#include "core/context.h"

void __glFreeAttributeState(GlContext *gc) {
  GlAttribRecord **stack = gc->attributeStack;
  if (stack == nullptr) return;
  // Records are made level by level, so the first empty slot ends them. A
  // record owns only the copies of a push not yet popped.
  for (int32_t i = 0; i < gc->constants.maxAttribStackDepth && stack[i] != nullptr; ++i) {
    GlAttribRecord *record = stack[i];
    if (record->state.light.source) gc->imports.free(gc, record->state.light.source);
    if (record->textureEnv) gc->imports.free(gc, record->textureEnv);
    if (record->state.transform.eyeClipPlanes)
      gc->imports.free(gc, record->state.transform.eyeClipPlanes);
    gc->imports.free(gc, record);
    stack[i] = nullptr;
  }
  gc->attributeStackTop = stack;
}

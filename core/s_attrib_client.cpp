// glPushClientAttrib and glPopClientAttrib: the pixel-store modes and the
// vertex-array state on the client attribute stack.
#include <string.h>

#include "core/context.h"
#include "core/gl_assert.h"
#include "core/gl_entries.h"
#include "core/s_attrib.h"
#include "core/s_entry.h"

namespace {

// What the application set on the arrays, lock included. The batch buffer,
// its size and where batches start in it stay: the buffer may have moved
// since the push. The pickers derive the rest again from what is restored;
// each array record comes back whole, so its converters fit its type and
// size.
void RestoreArrays(GlVertexArrayMachine &va, const GlVertexArrayMachine &saved) {
  memcpy(va.arrays, saved.arrays, sizeof va.arrays);
  va.formatWord = saved.formatWord;
  va.enableFields = saved.enableFields;
  va.enables = saved.enables;
  va.interleavedPointer = saved.interleavedPointer;
  va.interleavedFormat = saved.interleavedFormat;
  va.flags = (va.flags & ~__GL_VARRAY_LOCKED) | (saved.flags & __GL_VARRAY_LOCKED);
  va.lockFirst = saved.lockFirst;
  va.lockCount = saved.lockCount;
}

}  // namespace

void GLENTRY __glim_PushClientAttrib(GLbitfield mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlClientAttribRecord **sp = gc->clientAttributeStackTop;
  if (sp >= gc->clientAttributeStack + gc->constants.maxClientAttribStackDepth) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  GlClientAttribRecord *record = *sp;
  if (record == nullptr) {
    record = static_cast<GlClientAttribRecord *>(gc->imports.calloc(gc, 1, sizeof *record));
    if (record == nullptr) {
      __glSetError(GL_OUT_OF_MEMORY);
      return;
    }
    *sp = record;
  }
  record->mask = mask;
  if (mask & GL_CLIENT_PIXEL_STORE_BIT) {
    record->packModes = gc->pixel.packModes;
    record->unpackModes = gc->pixel.unpackModes;
  }
  if (mask & GL_CLIENT_VERTEX_ARRAY_BIT) record->vertexArray = gc->vertexArray;
  gc->clientAttributeStackTop = sp + 1;
}

void GLENTRY __glim_PopClientAttrib(void) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (gc->clientAttributeStackTop <= gc->clientAttributeStack) {
    __glSetError(GL_STACK_UNDERFLOW);
    return;
  }
  GlClientAttribRecord **sp = gc->clientAttributeStackTop - 1;
  GlClientAttribRecord *record = *sp;
  __GL_ASSERT(record != nullptr, "sp != 0", "s_attrib_client");
  gc->clientAttributeStackTop = sp;
  // The array enables are picked again: the copies and the batch start
  // follow the restored arrays and lock. The pixel paths follow the store
  // modes as they do after glPixelStore.
  uint32_t dirty = __GL_DIRTY_GENERIC | __GL_DIRTY_VERTEX_ARRAY;
  if (record->mask & GL_CLIENT_PIXEL_STORE_BIT) {
    gc->pixel.packModes = record->packModes;
    gc->pixel.unpackModes = record->unpackModes;
    dirty |= __GL_DIRTY_PIXEL;
  }
  if (record->mask & GL_CLIENT_VERTEX_ARRAY_BIT) RestoreArrays(gc->vertexArray, record->vertexArray);
  record->mask = 0;
  __glDelayValidate(gc, dirty);
}

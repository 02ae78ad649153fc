// Setting up and releasing the vertex-array state, and the batch buffer.
#include "geometry/s_varray.h"

#include <stdlib.h>

#include <initializer_list>

#include "core/context.h"
#include "core/s_nop.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_og.h"

uint8_t __glDisableOgVarray;
uint8_t __glDisableOgDrawVertexes;

namespace {

// Set to a nonzero number, a switch keeps a generated path off; unset, it
// stays as it was.
void ReadSwitch(const char *name, uint8_t *value) {
  if (const char *s = getenv(name)) *value = strtol(s, nullptr, 10) != 0;
}

// The whole batch a walk compiles, behind the two vertices it carries.
constexpr int32_t kInitialVertices = __GL_VARRAY_BATCH_SIZE + 2;

}  // namespace

GLbool8 AllocateVbuf(GlContext *gc, int32_t first, int32_t count) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const uint64_t needed = uint64_t(count > 0 ? count : 0) * sizeof(GlVertex);
  if (va.bufferBytes < 0 || uint64_t(va.bufferBytes) < needed) {
    const uint64_t grow = uint64_t(va.growSize > 0 ? va.growSize : __GL_VARRAY_GROW_SIZE);
    const uint64_t size = (needed + grow - 1) / grow * grow + 32;
    void *block = nullptr;
    if (size <= uint64_t(INT32_MAX)) {
      block = va.buffer && va.bufferBytes
                  ? gc->imports.realloc(gc, va.buffer, size_t(size))
                  : gc->imports.calloc(gc, 1, size_t(size));
    }
    if (!block) {
      // The old buffer stays, and with it every vertex it holds.
      va.cursor = reinterpret_cast<uintptr_t>(va.buffer);
      return 0;
    }
    va.buffer = static_cast<GlVertex *>(block);
    va.bufferBytes = int32_t(size);
    const size_t whole = size_t(size) / sizeof(GlVertex);
    for (size_t i = 0; i < whole; ++i) va.buffer[i].color = &va.buffer[i].colors[__GL_FRONTFACE];
    gc->vcache.vertices = va.buffer;
  }
  va.cursor = reinterpret_cast<uintptr_t>(va.buffer) - uintptr_t(first) * sizeof(GlVertex);
  return 1;
}

GLbool8 __glEarlyInitVertexArrayState(GlContext *gc) {
  gc->vertexArray.growSize = __GL_VARRAY_GROW_SIZE;
  return AllocateVbuf(gc, 0, kInitialVertices);
}

void __glInitVertexArrayState(GlContext *gc) {
  ReadSwitch("__GL_DISABLE_OG_VARRAY", &__glDisableOgVarray);
  ReadSwitch("__GL_DISABLE_OG_DRAWVERTEXES", &__glDisableOgDrawVertexes);
  GlVertexArrayMachine &va = gc->vertexArray;
  for (int i : {__GL_VARRAY_VERTEX, __GL_VARRAY_COLOR, __GL_VARRAY_TEXCOORD})
    va.arrays[i].size = 4;
  for (int i = 0; i < __GL_VARRAY_EDGEFLAG; ++i) va.arrays[i].type = GL_FLOAT;
  for (GlArrayRecord &r : va.arrays)
    r.immediateProc = reinterpret_cast<GlArrayImmediateProc>(reinterpret_cast<void (*)(void)>(__glAPINop1));
  va.interleavedFormat = 0;
  for (int mode = 0; mode < 10; ++mode) va.drawVertexes[mode] = __glDrawVertexesProcs[mode];
  __glVarrayInstallGenerated(gc, true);
  static_assert(__GL_VARRAY_BATCH_SIZE % 3 == 0 && __GL_VARRAY_BATCH_SIZE % 4 == 0,
                "triangles and quads never straddle batches");
  va.batchSize = __GL_VARRAY_BATCH_SIZE;
  va.growSize = __GL_VARRAY_GROW_SIZE;
  // Early initialisation made the buffer this size: this never fails.
  AllocateVbuf(gc, 0, kInitialVertices);
}

void __glFreeVertexArrayState(GlContext *gc) {
  GlVertexArrayMachine &va = gc->vertexArray;
  if (va.buffer) gc->imports.free(gc, va.buffer);
  va.buffer = nullptr;
  va.cursor = 0;
  va.bufferBytes = 0;
  gc->vcache.vertices = nullptr;
}

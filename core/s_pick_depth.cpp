// The depth picker: the depth buffer's test-and-store procedure and the
// single-pixel depth test, both by one index.
#include "core/context.h"
#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "raster/s_depth_test.h"

// Four blocks of the eight functions in GL order: 16-bit writing, 16-bit
// masked, 32-bit writing, 32-bit masked. GL_NEVER stores nothing, so the
// masked blocks share the writing one's.
const GlDepthTestPixelProc __glCDTPixel[32] = {
    __glDT_NEVER16,     __glDT_LESS16,       __glDT_EQUAL16,    __glDT_LEQUAL16,
    __glDT_GREATER16,   __glDT_NOTEQUAL16,   __glDT_GEQUAL16,   __glDT_ALWAYS16,
    __glDT_NEVER16,     __glDT_LESS16_M,     __glDT_EQUAL16_M,  __glDT_LEQUAL16_M,
    __glDT_GREATER16_M, __glDT_NOTEQUAL16_M, __glDT_GEQUAL16_M, __glDT_ALWAYS16_M,
    __glDT_NEVER,       __glDT_LESS,         __glDT_EQUAL,      __glDT_LEQUAL,
    __glDT_GREATER,     __glDT_NOTEQUAL,     __glDT_GEQUAL,     __glDT_ALWAYS,
    __glDT_NEVER,       __glDT_LESS_M,       __glDT_EQUAL_M,    __glDT_LEQUAL_M,
    __glDT_GREATER_M,   __glDT_NOTEQUAL_M,   __glDT_GEQUAL_M,   __glDT_ALWAYS_M,
};

int32_t __glDepthProcIndex(const GlContext *gc) {
  // The comparison the depth buffer performs on its stored words: a run
  // that stores depth reversed performs the mirror of the state's function.
  // The setter admits only the eight functions; the mask keeps any other
  // word inside the table.
  const GLenum func =
      gc->modes.haveDepthBuffer ? gc->depthBuffer.func : gc->state.depth.testFunc;
  int32_t index = int32_t(func - GL_NEVER) & 7;
  if (!gc->state.depth.writeEnable) index += 8;
  if (gc->modes.depthBits > 16) index += 16;
  return index;
}

void __glGenericPickDepthProcs(GlContext *gc) {
  // First, so that the buffer's function is current for the index.
  __glValidateZCount(gc);
  const int32_t index = __glDepthProcIndex(gc);
  if (gc->modes.haveDepthBuffer) gc->depthBuffer.pick(gc, &gc->depthBuffer, index);
  gc->procs.depthTestPixel = __glCDTPixel[index];
}

#include "geometry/s_varray_og.h"

#include "codegen/og_geom.h"
#include "core/context.h"
#include "geometry/s_varray_draw.h"

namespace {

// The compile generator is not part of the driver yet; until it is, the
// table procedures compile, as with its switch set.
GlCompileProc CompileWrapper() { return nullptr; }

}  // namespace

void GLFASTCALL __glDrawVertexes_TstripWrapper(GlContext *gc, int32_t first, int32_t count,
                                               const uint32_t *elements) {
  GlDrawVertexesProc &slot = gc->vertexArray.drawVertexes[GL_TRIANGLE_STRIP];
  void *code = __glGenerateDrawVerticesVcache(gc, GL_TRIANGLE_STRIP, elements != nullptr);
  // A routine that could not be made leaves the C walk in the slot.
  slot = code ? reinterpret_cast<GlDrawVertexesProc>(code) : __glDrawVertexes_Tstrip;
  slot(gc, first, count, elements);
}

void __glVarrayInstallGenerated(GlContext *gc, bool atReset) {
  GlVertexArrayMachine &va = gc->vertexArray;
  if (!atReset) {
    if (gc->constants.cpuFlags & 0x2u) return;
    if (gc->renderMode != GL_RENDER) return;
    if (GlCompileProc wrapper = CompileWrapper(); wrapper && !__glDisableOgVarray)
      va.compileProc = wrapper;
  }
  if (!__glDisableOgDrawVertexes) va.drawVertexes[GL_TRIANGLE_STRIP] = __glDrawVertexes_TstripWrapper;
}

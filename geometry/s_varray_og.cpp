#include "geometry/s_varray_og.h"

#include "core/context.h"

namespace {

// The generators behind the two wrappers are not part of the driver yet;
// until they are, the table procedures run, as with both switches set.
GlCompileProc CompileWrapper() { return nullptr; }
GlDrawVertexesProc TstripWrapper() { return nullptr; }

}  // namespace

void __glVarrayInstallGenerated(GlContext *gc, bool atReset) {
  GlVertexArrayMachine &va = gc->vertexArray;
  if (!atReset) {
    if (gc->constants.cpuFlags & 0x2u) return;
    if (gc->renderMode != GL_RENDER) return;
    if (GlCompileProc wrapper = CompileWrapper(); wrapper && !__glDisableOgVarray)
      va.compileProc = wrapper;
  }
  if (GlDrawVertexesProc wrapper = TstripWrapper(); wrapper && !__glDisableOgDrawVertexes)
    va.drawVertexes[GL_TRIANGLE_STRIP] = wrapper;
}

#include "geometry/s_varray_og.h"

#include "codegen/og_geom.h"
#include "core/context.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_pick.h"
#include "geometry/vc_cache.h"

namespace {

constexpr uint32_t kVcacheMode = 0x8000u;

// In colour-index mode the routine takes the index from the current index
// only: index (and colour) arrays keep the C compile, which converts them as
// glIndex does. Other polygon modes, feedback and selection need every
// attribute and the edge flags, which the C compile copies.
bool ArraysServed(const GlContext *gc) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  if (va.compileIndex < 0) return false;
  const uint32_t inUse = va.enableFields & va.neededFields;
  return !(gc->modes.colorIndexMode &&
           (inUse & (__GL_VARRAY_INDEX_FIELDS | __GL_VARRAY_COLOR_FIELDS)));
}

template <int N>
void GLFASTCALL CompileElementsVcacheWrapper(GlContext *gc, int32_t position, int32_t first,
                                             int32_t count) {
  if (count <= 0) return;
  void *code = __glGenerateCompileVcache(gc, N, kVcacheMode);
  GlCompileProc entry = code ? reinterpret_cast<GlCompileProc>(code) : __glCompileElements_NoCopy;
  // The slot keeps the wrapper, which looks the routine up again for the
  // state of the next pass; a routine that could not be made gives way to
  // the C compile until the next pick. Within this pass the state is fixed.
  if (!code) gc->vcache.compile[N - 2] = entry;
  gc->vertexArray.compileProc = entry;
  entry(gc, position, first, count);
}

}  // namespace

void GLFASTCALL __glDrawVertexes_TstripWrapper(GlContext *gc, int32_t first, int32_t count,
                                               const uint32_t *elements) {
  GlDrawVertexesProc &slot = gc->vertexArray.drawVertexes[GL_TRIANGLE_STRIP];
  void *code = __glGenerateDrawVerticesVcache(gc, GL_TRIANGLE_STRIP, elements != nullptr);
  // A routine that could not be made leaves the C walk in the slot.
  slot = code ? reinterpret_cast<GlDrawVertexesProc>(code) : __glDrawVertexes_Tstrip;
  slot(gc, first, count, elements);
}

// The wrapper stays in the compile slot: a matrix change re-runs no array
// picker, and a routine shaped for the old matrix type must not outlive it.
// The lookup finds the routine of the current state (the latest one first).
void GLFASTCALL CompileElementsVarrayWrapper(GlContext *gc, int32_t position, int32_t first,
                                             int32_t count) {
  if (count <= 0) return;
  GlVertexArrayMachine &va = gc->vertexArray;
  void *code = __glGenerateCompileVcache(gc, uint32_t(va.arrays[__GL_VARRAY_VERTEX].size),
                                         uint32_t(va.compileIndex) & 0x6u);
  if (!code) {
    va.compileProc = __glVarrayCCompile(gc);
    va.generatedCompile = nullptr;
    va.compileProc(gc, position, first, count);
    return;
  }
  va.generatedCompile = reinterpret_cast<GlCompileProc>(code);
  va.generatedCompile(gc, position, first, count);
}

void GLFASTCALL CompileElementsVcache2Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count) {
  CompileElementsVcacheWrapper<2>(gc, position, first, count);
}
void GLFASTCALL CompileElementsVcache3Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count) {
  CompileElementsVcacheWrapper<3>(gc, position, first, count);
}
void GLFASTCALL CompileElementsVcache4Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count) {
  CompileElementsVcacheWrapper<4>(gc, position, first, count);
}

void __glVarrayInstallGenerated(GlContext *gc, bool atReset) {
  GlVertexArrayMachine &va = gc->vertexArray;
  if (!atReset) {
    if (gc->constants.cpuFlags & __GL_CPU_K3D) return;
    if (gc->renderMode != GL_RENDER) return;
    if (!__glDisableOgVarray && ArraysServed(gc)) va.compileProc = CompileElementsVarrayWrapper;
  }
  if (!__glDisableOgDrawVertexes) va.drawVertexes[GL_TRIANGLE_STRIP] = __glDrawVertexes_TstripWrapper;
}

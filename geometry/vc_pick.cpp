// The vertex-cache picker, run by the vertex picker while the cache is on:
// the five cache entries, the material validator, the compiles and the save
// procedure for the current state.
#include "core/context.h"
#include "core/gl_entries.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_og.h"
#include "geometry/vc_cache.h"
#include "geometry/vc_entries.h"

namespace {

// The generating compiles, on processors without 3DNow!, in GL_RENDER,
// unless switched off.
GlCompileProc GeneratedCompile(int32_t size) {
  static constexpr GlCompileProc kWrappers[3] = {
      CompileElementsVcache2Wrapper, CompileElementsVcache3Wrapper, CompileElementsVcache4Wrapper};
  return kWrappers[size - 2];
}

bool SphereMapped(const GlContext *gc, uint32_t enable, int32_t coord) {
  return (gc->state.enables.texture & enable) &&
         gc->texture.texCoordGen[coord].mode == GL_SPHERE_MAP;
}

// Selection and feedback report every attribute. The cull test, lighting
// and sphere mapping all read the normal, so each sets its bit (never adds:
// a sum would carry into the colour or texture bit).
uint32_t SaveIndex(const GlContext *gc) {
  if (gc->renderMode != GL_RENDER) return 7;
  const uint32_t general = gc->state.enables.general;
  uint32_t index = (general & __GL_LIGHTING_ENABLE) ? 0x1 : 0x2;
  if (general & __GL_CULL_VERTEX_ENABLE) index |= 0x1;
  if (gc->texture.current) {
    index |= 0x4;
    if (SphereMapped(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S) ||
        SphereMapped(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T))
      index |= 0x1;
  }
  return index;
}

}  // namespace

void __glPickVcacheProcs(GlContext *gc) {
  GlVertexCacheMachine &vc = gc->vcache;
  for (GlVcacheProcessProc &p : vc.process) p = __glProcessVertexCacheLock;
  if (GlDispatchState *table = gc->dispatchState) {
    table->Begin = __glim_VertexCacheBegin;
    table->End = __glim_VertexCacheEnd;
    table->Vertex2fv = __glim_VertexCache2fv;
    table->Vertex3fv = __glim_VertexCache3fv;
    table->Vertex4fv = __glim_VertexCache4fv;
  }
  gc->procs.matValidate = __glMatValidateVcache;
  const bool generated = !__glDisableOgVcache && !(gc->constants.cpuFlags & __GL_CPU_K3D) &&
                         gc->renderMode == GL_RENDER;
  for (int32_t i = 0; i < 3; ++i) {
    GlCompileProc wrapper = generated ? GeneratedCompile(i + 2) : nullptr;
    vc.compile[i] = wrapper ? wrapper : __glCompileElements_NoCopy;
  }
  vc.save = (gc->modes.rgbMode ? RGBSaveProcs : CISaveProcs)[SaveIndex(gc)];
}

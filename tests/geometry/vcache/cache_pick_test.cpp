// The pickers' rows: which entries the vertex picker leaves in the table
// with the cache on and off, and which save procedure and compiles the
// cache picker chooses for each state.
#include <gtest/gtest.h>

#include <string.h>

#include "core/gl_entries.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/vc_cache.h"
#include "geometry/vc_entries.h"
#include "pixels/px_texture.h"
#include "tests/geometry/vcache/vcache_fixture.h"

namespace vcache_test {
namespace {

struct SaveRow {
  const char *what;
  bool rgb;
  uint32_t general;  // lighting, cull vertex
  bool textured;
  uint32_t texture;  // texture-generation enables
  GLenum sMode, tMode;
  GLenum renderMode;
  GlVcacheSaveProc save;
};

constexpr uint32_t kLit = __GL_LIGHTING_ENABLE;
constexpr uint32_t kCull = __GL_CULL_VERTEX_ENABLE;
constexpr uint32_t kGenS = __GL_TEXTURE_GEN_S_ENABLE;
constexpr uint32_t kGenT = __GL_TEXTURE_GEN_T_ENABLE;
constexpr GLenum kLinear = GL_OBJECT_LINEAR, kSphere = GL_SPHERE_MAP;

// clang-format off
const SaveRow kSaveRows[] = {
    {"unlit",                        true,  0,           false, 0,     kLinear, kLinear, GL_RENDER,   __glVCSaveC},
    {"lit",                          true,  kLit,        false, 0,     kLinear, kLinear, GL_RENDER,   __glVCSaveN},
    {"unlit, cull vertex",           true,  kCull,       false, 0,     kLinear, kLinear, GL_RENDER,   __glVCSaveNC},
    {"lit, cull vertex",             true,  kLit | kCull, false, 0,    kLinear, kLinear, GL_RENDER,   __glVCSaveN},
    {"unlit, textured",              true,  0,           true,  0,     kLinear, kLinear, GL_RENDER,   __glVCSaveCT},
    {"lit, textured",                true,  kLit,        true,  0,     kLinear, kLinear, GL_RENDER,   __glVCSaveNT},
    {"lit, sphere-mapped s",         true,  kLit,        true,  kGenS, kSphere, kLinear, GL_RENDER,   __glVCSaveNT},
    {"unlit, sphere-mapped t",       true,  0,           true,  kGenT, kLinear, kSphere, GL_RENDER,   __glVCSaveCAll},
    {"unlit, sphere mode, gen off",  true,  0,           true,  0,     kSphere, kSphere, GL_RENDER,   __glVCSaveCT},
    {"sphere mode, untextured",      true,  0,           false, kGenS, kSphere, kLinear, GL_RENDER,   __glVCSaveC},
    {"lit, cull, sphere-mapped",     true,  kLit | kCull, true, kGenS, kSphere, kLinear, GL_RENDER,   __glVCSaveNT},
    {"select",                       true,  kLit,        false, 0,     kLinear, kLinear, GL_SELECT,   __glVCSaveCAll},
    {"feedback",                     true,  kLit,        false, 0,     kLinear, kLinear, GL_FEEDBACK, __glVCSaveCAll},
    {"index, unlit",                 false, 0,           false, 0,     kLinear, kLinear, GL_RENDER,   __glVCSaveCI},
    {"index, unlit, cull vertex",    false, kCull,       false, 0,     kLinear, kLinear, GL_RENDER,   __glVCSaveNCI},
    {"index, textured",              false, 0,           true,  0,     kLinear, kLinear, GL_RENDER,   __glVCSaveCIT},
    {"index, sphere-mapped s",       false, 0,           true,  kGenS, kSphere, kLinear, GL_RENDER,   __glVCSaveCIAll},
    {"index, feedback",              false, 0,           false, 0,     kLinear, kLinear, GL_FEEDBACK, __glVCSaveCIAll},
};
// clang-format on

class CachePick : public VcacheTest {};

TEST_F(CachePick, TheSaveProcedureFollowsTheState) {
  ValidatePending();
  GlTextureObject *const current = gc->texture.current;
  const GlModes modes = gc->modes;
  GlTextureObject dummy;
  for (const SaveRow &r : kSaveRows) {
    SCOPED_TRACE(r.what);
    gc->modes.rgbMode = r.rgb;
    gc->modes.colorIndexMode = !r.rgb;
    gc->state.enables.general = r.general;
    gc->state.enables.texture = r.texture;
    gc->texture.current = r.textured ? &dummy : nullptr;
    gc->texture.texCoordGen[__GL_TEXGEN_S].mode = r.sMode;
    gc->texture.texCoordGen[__GL_TEXGEN_T].mode = r.tMode;
    gc->renderMode = r.renderMode;
    __glPickVcacheProcs(gc);
    EXPECT_EQ(gc->vcache.save, r.save);
  }
  gc->texture.current = current;
  gc->modes = modes;
  gc->renderMode = GL_RENDER;
}

// Until the generating compiles exist every state compiles with the plain
// no-copy compile, which must match what they would build.
TEST_F(CachePick, TheCompilesAndProcessorsAreFilledIn) {
  struct Row {
    uint32_t cpu;
    GLenum renderMode;
  };
  const auto cpu = gc->constants.cpuFlags;
  for (const Row r : {Row{0, GL_RENDER}, Row{__GL_CPU_K3D, GL_RENDER}, Row{0, GL_SELECT}}) {
    gc->constants.cpuFlags = r.cpu;
    gc->renderMode = r.renderMode;
    __glPickVcacheProcs(gc);
    for (GlCompileProc p : gc->vcache.compile) EXPECT_EQ(p, __glCompileElements_NoCopy);
    for (GlVcacheProcessProc p : gc->vcache.process) EXPECT_EQ(p, __glProcessVertexCacheLock);
    for (int mode = 0; mode < 10; ++mode)
      EXPECT_EQ(gc->vcache.processMode[mode], __glProcessCacheProcs2[mode]);
    EXPECT_EQ(gc->procs.matValidate, __glMatValidateVcache);
  }
  gc->constants.cpuFlags = cpu;
  gc->renderMode = GL_RENDER;
}

TEST_F(CachePick, TheVertexPickerTakesTheCachePickerOnlyWhenOn) {
  for (bool on : {false, true, false}) {
    gc->vcache.enabled = on;
    gc->dispatch.Begin = nullptr;
    gc->vcache.save = nullptr;
    __glGenericPickVertexProcs(gc);
    EXPECT_EQ(gc->dispatch.Begin, on ? __glim_VertexCacheBegin : __glim_Begin);
    EXPECT_EQ(gc->dispatch.Vertex2fv, on ? __glim_VertexCache2fv : __glim_Vertex2fv);
    EXPECT_EQ(gc->vcache.save != nullptr, on);
  }
}

}  // namespace
}  // namespace vcache_test

// A created context, before its first binding: the constants every creator
// stores, what early initialisation sets up, and a clean failure at every
// allocation it makes.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "codegen/og_work.h"
#include "core/context.h"
#include "core/current.h"
#include "core/s_arena.h"
#include "core/s_attrib.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "core/s_nop.h"
#include "dlist/dl_compiler.h"
#include "dlist/dl_optimize.h"
#include "dlist/dl_tables.h"
#include "platform/kernel.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

struct Value {
  const char *name;
  double actual;
  double expected;
};

// Every value a creator and early initialisation store, as they stand before
// the first binding.
std::vector<Value> CreationValues(const GlConstants &c) {
  return {
      {"half", c.half, 0.5},
      {"one", c.one, 1.0},
      {"numberOfLights", double(c.numberOfLights), 8},
      {"numberOfClipPlanes", double(c.numberOfClipPlanes), 6},
      {"numberOfTextures", double(c.numberOfTextures), 4},
      {"numberOfTextureEnvs", double(c.numberOfTextureEnvs), 1},
      {"maxViewportWidth", double(c.maxViewportWidth), 2048},
      {"maxViewportHeight", double(c.maxViewportHeight), 2048},
      {"viewportXAdjust", double(c.viewportXAdjust), 6144},
      {"viewportYAdjust", double(c.viewportYAdjust), 6144},
      {"fviewportXAdjust", c.fviewportXAdjust, 6144.0},
      {"fviewportYAdjust", c.fviewportYAdjust, 6144.0},
      {"redScale", c.redScale, 255.0},
      {"blueScale", c.blueScale, 255.0},
      {"greenScale", c.greenScale, 255.0},
      {"alphaScale", c.alphaScale, 255.0},
      {"depthScale", c.depthScale, 1.0},
      {"maxTextureSize", double(c.maxTextureSize), 1024},
      {"maxMipMapLevel", double(c.maxMipMapLevel), 11},
      {"subpixelBits", double(c.subpixelBits), 3},
      {"pointSizeMinimum", c.pointSizeMinimum, 0.5},
      {"pointSizeMaximum", c.pointSizeMaximum, 10.0},
      {"pointSizeGranularity", c.pointSizeGranularity, 0.125},
      {"lineWidthMinimum", c.lineWidthMinimum, 0.5},
      {"lineWidthMaximum", c.lineWidthMaximum, 10.0},
      {"lineWidthGranularity", c.lineWidthGranularity, 0.125},
      {"maxEvalOrder", double(c.maxEvalOrder), 30},
      {"maxPixelMapTable", double(c.maxPixelMapTable), 65536},
      {"maxAttribStackDepth", double(c.maxAttribStackDepth), 16},
      {"maxClientAttribStackDepth", double(c.maxClientAttribStackDepth), 16},
      {"maxNameStackDepth", double(c.maxNameStackDepth), 128},
      {"maxModelViewStackDepth", double(c.maxModelViewStackDepth), 32},
      {"maxProjectionStackDepth", double(c.maxProjectionStackDepth), 2},
      {"maxTextureStackDepth", double(c.maxTextureStackDepth), 10},
      // The eleven code-cache words, in the order of the record.
      {"textureReadCacheCount", double(c.textureReadCacheCount), 4},
      {"textureReadCacheSize", double(c.textureReadCacheSize), 1024},
      {"depthTestCacheCount", double(c.depthTestCacheCount), 4},
      {"depthTestCacheSize", double(c.depthTestCacheSize), 256},
      {"triSetupCacheCount", double(c.triSetupCacheCount), 40},
      {"triSetupCacheSize", double(c.triSetupCacheSize), 4096},
      {"triSetupDataSize", double(c.triSetupDataSize), 2048},
      {"triRasterCacheCount", double(c.triRasterCacheCount), 40},
      {"triRasterCacheSize", double(c.triRasterCacheSize), 16384},
      {"drawVertexesCacheCount", double(c.drawVertexesCacheCount), 20},
      {"drawVertexesCacheSize", double(c.drawVertexesCacheSize), 1024},
      // Nothing derived from a visual or a processor before the first binding.
      {"cpuFlags", double(c.cpuFlags), 0},
      {"depthMax", c.depthMax, 0},
      {"viewportEpsilon", c.viewportEpsilon, 0},
  };
}

class Creation : public LifeTest {};

TEST_F(Creation, StoresEveryConstantOfTheTable) {
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  for (const Value &v : CreationValues(gc->constants)) EXPECT_EQ(v.actual, v.expected) << v.name;
  EXPECT_EQ(gc->constants.vendor, nullptr) << "strings come with the first binding";
  Destroy(gc);
}

TEST_F(Creation, CopiesImportsAndModesAndFillsTheExports) {
  GlModes modes = TestModes(false, false, 24, 0, false);
  modes.reserved[1] = 0xABCD;  // every word is copied, also the unused ones
  GlContext *gc = Create(modes);
  ASSERT_NE(gc, nullptr);
  EXPECT_EQ(memcmp(&gc->imports, &imports, sizeof imports), 0);
  EXPECT_EQ(memcmp(&gc->modes, &modes, sizeof modes), 0);

  struct Slot {
    const char *name;
    void (*actual)();
    void (*expected)();
  };
  auto word = [](auto proc) { return reinterpret_cast<void (*)()>(proc); };
  const GlExports &e = gc->exports;
  Slot slots[] = {
      {"destroyContext", word(e.destroyContext), word(core::DestroyContext)},
      {"loseCurrent", word(e.loseCurrent), word(core::LoseCurrent)},
      {"makeCurrent", word(e.makeCurrent), word(core::MakeCurrent)},
      {"shareContext", word(e.shareContext), word(core::ShareContext)},
      {"copyContext", word(e.copyContext), word(__glCopyContext)},
      {"swapBuffers", word(e.swapBuffers), word(core::SwapBuffers)},
      {"notifyDestroyBuffers", word(e.notifyDestroyBuffers), word(core::NotifyDestroyBuffers)},
      {"notifyChangeBufferSize", word(e.notifyChangeBufferSize),
       word(core::NotifyChangeBufferSize)},
      {"dispatchExec", word(e.dispatchExec), word(__glDispatchExec)},
      {"pickColorMaterialProcs", word(gc->procs.pickColorMaterialProcs), word(__glNop1)},
      {"applyColor", word(gc->procs.applyColor), word(__glNop1)},
      {"newArena", word(gc->procs.newArena), word(__glNewArena)},
      {"deleteArena", word(gc->procs.deleteArena), word(__glDeleteArena)},
      {"arenaAlloc", word(gc->procs.arenaAlloc), word(__glArenaAlloc)},
      {"arenaFreeAll", word(gc->procs.arenaFreeAll), word(__glArenaFreeAll)},
      {"dlist optimizer", word(gc->dlist.optimizer), word(__glGenericDlistOptimizer)},
      {"dlist compiler", word(gc->dlist.compiler), word(__glGenericDlistCompiler)},
      {"dlist appendOp", word(gc->dlist.appendOp), word(__glNop2)},
      {"dlist beginList", word(gc->dlist.beginList), word(__glNop1)},
  };
  for (const Slot &s : slots) EXPECT_EQ(s.actual, s.expected) << s.name;
  EXPECT_EQ(e.dispatchExec(gc), &gc->dispatch);
  ASSERT_NE(e.beginDispatchOverride, nullptr);
  ASSERT_NE(e.endDispatchOverride, nullptr);
  e.beginDispatchOverride(gc);
  e.endDispatchOverride(gc);
  EXPECT_EQ(gc->dlist.listExecTable, __glListExecTable);
  EXPECT_EQ(gc->dlist.genericDlOps, __gl_GenericDlOps);
  EXPECT_EQ(gc->dlist.machineDlOps, nullptr);

  Destroy(gc);
}

TEST_F(Creation, SetsUpTheWorkStorage) {
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  struct Block {
    const char *name;
    const void *block;
    size_t bytes;
  } blocks[] = {
      {"lights", gc->state.light.source, 8 * sizeof(GlLight)},
      {"light caches", gc->light.lightCaches, 8 * sizeof(GlLightCache)},
      {"attribute stack", gc->attributeStack, 16 * sizeof(void *)},
      {"client attribute stack", gc->clientAttributeStack, 16 * sizeof(void *)},
      {"name stack", gc->select.stack, 128 * sizeof(GLuint)},
      // A span across a 2048-pixel viewport reaches 2050 pixels.
      {"span colours 0", gc->spanColors[0], 2050 * 16},
      {"span colours 1", gc->spanColors[1], 2050 * 16},
      {"span stipple", gc->spanStipple, 65 * 4},
      {"work records", gc->workRecords, 40 * sizeof(GlWorkRecord)},
      {"4-byte entries", gc->growArray4.entries, 1000 * 4},
      {"8-byte entries", gc->growArray8.entries, 1000 * 8},
  };
  for (const Block &b : blocks) {
    ASSERT_NE(b.block, nullptr) << b.name;
    EXPECT_EQ(BlockSize(b.block), b.bytes) << b.name;
  }
  // The last span pixel and stipple word are the span's own (the sanitizer
  // build checks the writes).
  gc->spanColors[0][2049] = GlColor{1, 2, 3, 4};
  gc->spanColors[1][2049] = GlColor{1, 2, 3, 4};
  gc->spanStipple[64] = 0xFFFFFFFFu;

  // The work buffers hold generated code: executable memory of the platform.
  ASSERT_NE(gc->workBuffers, nullptr);
  DWORD old = 0;
  EXPECT_TRUE(VirtualProtect(gc->workBuffers, 40 * 3072, PAGE_EXECUTE_READWRITE, &old));
  EXPECT_EQ(old, DWORD(PAGE_EXECUTE_READWRITE));
  for (int i = 0; i < 40; i++) {
    EXPECT_EQ(gc->workRecords[i].buffer, gc->workBuffers + i * 3072) << "record " << i;
    EXPECT_EQ(gc->workRecords[i].size, 3072u) << "record " << i;
  }
  EXPECT_EQ(gc->growArray4.capacity, 1000);
  EXPECT_EQ(gc->growArray4.count, 0);
  EXPECT_EQ(gc->growArray8.capacity, 1000);
  EXPECT_EQ(gc->growArray8.count, 0);
  EXPECT_EQ(gc->light.lutCache, nullptr);
  EXPECT_NE(gc->dlist.dlistArray, nullptr);
  EXPECT_NE(gc->dlist.namesArray, nullptr);
  EXPECT_NE(gc->dlist.arena, nullptr) << "lists can be compiled from the start";
  EXPECT_EQ(gc->dlist.malloc, gc->imports.malloc);
  EXPECT_NE(gc->state.transform.eyeClipPlanes, nullptr);

  Destroy(gc);
}

// Every allocation of creation refused in turn. Most make creation fail:
// the creator then gives null and leaves nothing allocated. A few are
// reserves the name manager can do without; creation then succeeds and the
// context still frees everything. Nothing is recorded on the thread's
// placeholder context either way.
TEST_F(Creation, FailsCleanlyAtEveryAllocation) {
  const GlModes modes[] = {TestModes(), TestModes(false, false, 0, 0, false)};
  for (const GlModes &m : modes) {
    const int before = CountingImports::allocations();
    GlContext *gc = Create(m);
    ASSERT_NE(gc, nullptr);
    const int made = CountingImports::allocations() - before;
    gc->exports.destroyContext(gc);
    ASSERT_EQ(CountingImports::live(), 0);

    int refused = 0;
    for (int n = 1; n <= made; n++) {
      SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
      CountingImports::failAllocation(n);
      gc = Create(m);
      CountingImports::failAllocation(0);
      if (gc == nullptr) {
        refused++;
      } else {
        gc->exports.destroyContext(gc);
      }
      ASSERT_EQ(CountingImports::live(), 0);
    }
    // The record, the arrays of early initialisation, the list state.
    EXPECT_GE(refused, 16);
    EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext);
    EXPECT_EQ(__wglPlaceholderContext.error, GLenum(GL_NO_ERROR));
  }
}

// Applications create contexts while another is bound on the thread: a
// failed creation is reported by the creator's null, never as an error of the
// bound context.
TEST_F(Creation, FailureLeavesTheBoundContextsErrorAlone) {
  TestWindow window(64, 64);
  UseWindow(&window);
  GlContext *bound = Create(TestModes());
  ASSERT_NE(bound, nullptr);
  ASSERT_TRUE(Bind(bound));
  const int before = CountingImports::allocations();
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  const int made = CountingImports::allocations() - before;
  gc->exports.destroyContext(gc);

  for (int n = 1; n <= made; n++) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
    CountingImports::failAllocation(n);
    gc = Create(TestModes());
    CountingImports::failAllocation(0);
    if (gc) gc->exports.destroyContext(gc);
    EXPECT_EQ(bound->error, GLenum(GL_NO_ERROR));
    bound->error = GL_NO_ERROR;
    EXPECT_EQ(__glGetTLSCXValue(), bound) << "the bound context stays current";
  }
  ASSERT_TRUE(Release(bound));
  Destroy(bound);
}

TEST_F(Creation, ManyContextsAreIndependent) {
  std::vector<GlContext *> contexts;
  for (int i = 0; i < 4; i++) contexts.push_back(Create(TestModes(i % 2 == 0)));
  for (GlContext *gc : contexts) ASSERT_NE(gc, nullptr);
  for (size_t i = 1; i < contexts.size(); i++) {
    EXPECT_NE(contexts[i]->workBuffers, contexts[0]->workBuffers);
    EXPECT_NE(contexts[i]->dlist.namesArray, contexts[0]->dlist.namesArray);
  }
  for (GlContext *gc : contexts) gc->exports.destroyContext(gc);
  EXPECT_EQ(CountingImports::live(), 0);
}

}  // namespace
}  // namespace life_test

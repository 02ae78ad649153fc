// A created SiS context, before its first binding: the core's constants and
// list procedures, the SiS exports, the chip words creation leaves, and a
// clean failure at every allocation.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/current.h"
#include "core/s_context.h"
#include "platform/control.h"
#include "platform/kernel.h"
#include "sis/sis_context_ops.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"

namespace sis_test {
namespace {


class SiSCreation : public SiSLifeTest {
 protected:
  void TearDown() override {
    PlatformSetProcessId(0);
    SiSLifeTest::TearDown();
  }
};

// A core context of the same modes is the reference for everything the two
// creators share.
TEST_F(SiSCreation, StoresTheCoreCreatorsConstantsAndListProcedures) {
  const GlModes modes[] = {TestModes(true), TestModes(false, false, 0, 0, false)};
  for (const GlModes &m : modes) {
    SCOPED_TRACE(m.rgbMode ? "RGBA" : "colour index");
    GlContext *sis = CreateSiS(m);
    GlContext *core = __glCoreCreateContext(&imports, &m);
    ASSERT_NE(sis, nullptr);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(memcmp(&sis->constants, &core->constants, sizeof sis->constants), 0);
    EXPECT_EQ(memcmp(&sis->imports, &imports, sizeof imports), 0);
    EXPECT_EQ(memcmp(&sis->modes, &m, sizeof m), 0);
    EXPECT_EQ(sis->dlist.optimizer, core->dlist.optimizer);
    EXPECT_EQ(sis->dlist.compiler, core->dlist.compiler);
    EXPECT_EQ(sis->dlist.listExecTable, core->dlist.listExecTable);
    EXPECT_EQ(sis->dlist.genericDlOps, core->dlist.genericDlOps);
    EXPECT_EQ(sis->dlist.machineDlOps, nullptr);
    EXPECT_EQ(sis->dlist.appendOp, core->dlist.appendOp);
    EXPECT_EQ(sis->dlist.beginList, core->dlist.beginList);
    // The four exports early initialisation sets are the core's.
    EXPECT_EQ(sis->exports.copyContext, core->exports.copyContext);
    EXPECT_EQ(sis->fogInHardware, 0) << "fog stays in software";
    sis->exports.destroyContext(sis);
    core->exports.destroyContext(core);
    EXPECT_EQ(CountingImports::live(), 0);
  }
}

TEST_F(SiSCreation, InstallsTheSiSExports) {
  GlContext *gc = CreateSiS(TestModes());
  ASSERT_NE(gc, nullptr);
  struct Export {
    const char *name;
    const void *actual, *expected;
  } exports[] = {
      {"destroyContext", (const void *)gc->exports.destroyContext,
       (const void *)sis::DestroyContext},
      {"loseCurrent", (const void *)gc->exports.loseCurrent, (const void *)sis::LoseCurrent},
      {"makeCurrent", (const void *)gc->exports.makeCurrent, (const void *)sis::MakeCurrent},
      {"shareContext", (const void *)gc->exports.shareContext, (const void *)sis::ShareContext},
      {"swapBuffers", (const void *)gc->exports.swapBuffers, (const void *)SiSSwapBuffers},
      {"notifyDestroyBuffers", (const void *)gc->exports.notifyDestroyBuffers,
       (const void *)sis::NotifyDestroyBuffers},
      {"notifyChangeBufferSize", (const void *)gc->exports.notifyChangeBufferSize,
       (const void *)sis::NotifyChangeBufferSize},
  };
  for (const Export &e : exports) EXPECT_EQ(e.actual, e.expected) << e.name;
  Destroy(gc);
}

// Creation leaves nothing recorded as sent, every primitive on the generic
// path, and the engine's words of a context that was never bound.
TEST_F(SiSCreation, LeavesTheChipWordsOfAnUnboundContext) {
  PlatformSetProcessId(0x4321);
  GlContext *gc = CreateSiS(TestModes());
  ASSERT_NE(gc, nullptr);
  const GlSiSTail *t = Tail(gc);
  const GlSiSProgrammedRegs &p = t->programmed;
  struct Word {
    const char *name;
    uint64_t actual, expected;
  } words[] = {
      {"programmed mode", p.mode, 0},
      {"programmed Z address", p.zAddress, 0},
      {"programmed Z pitch", p.zPitch, 0},
      {"programmed second alpha", p.alpha2, 0},
      {"programmed alpha test", p.alphaTest, 0},
      {"programmed colour address", p.colorAddress, 0},
      {"programmed colour pitch", p.colorPitch, 0},
      {"programmed line pattern", p.linePattern, 0},
      {"programmed fog", p.fog, 0},
      {"triangleFallback", t->triangleFallback, 1},
      {"lineFallback", t->lineFallback, 1},
      {"pointFallback", t->pointFallback, 1},
      {"ownerId", t->ownerId, 0x4321},
      {"restoreAll", t->restoreAll, 0},
      {"dirty", t->dirty, 0},
      {"lockDepth", t->lockDepth, 0},
      {"sLockDepth", gc->sLockDepth, 0},
      {"hwnd", uint64_t(uintptr_t(t->hwnd)), 0},
      {"frameBufferBase", uint64_t(uintptr_t(t->frameBufferBase)), 0},
      {"flags", gc->flags, 0},
  };
  for (const Word &w : words) EXPECT_EQ(w.actual, w.expected) << w.name;
  EXPECT_NE(t->serial, 0u);
  EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext) << "creation binds nothing";
  Destroy(gc);
}

// Every context names its register state differently, also when a new
// context takes the block of one destroyed before it.
TEST_F(SiSCreation, EveryContextHasASerialOfItsOwn) {
  std::set<uint64_t> seen;
  for (int i = 0; i < 8; i++) {
    GlContext *gc = CreateSiS(TestModes(i % 2 == 0));
    ASSERT_NE(gc, nullptr);
    EXPECT_NE(Tail(gc)->serial, 0u);
    EXPECT_TRUE(seen.insert(Tail(gc)->serial).second) << "serial reused at context " << i;
    Destroy(gc);
  }
  const uint64_t a = __glSiSNextSerial(), b = __glSiSNextSerial();
  EXPECT_GT(b, a);
}

TEST_F(SiSCreation, EveryAllocationFailureReturnsNoneAndLeavesNothing) {
  const GlModes modes[] = {TestModes(true), TestModes(false, false, 0, 0, false)};
  for (const GlModes &m : modes) {
    SCOPED_TRACE(m.rgbMode ? "RGBA" : "colour index");
    const int before = CountingImports::allocations();
    GlContext *gc = CreateSiS(m);
    ASSERT_NE(gc, nullptr);
    EXPECT_GE(BlockSize(gc), sizeof(GlSiSContext)) << "one block holds the tail";
    const int made = CountingImports::allocations() - before;
    gc->exports.destroyContext(gc);
    ASSERT_EQ(CountingImports::live(), 0);
    for (int n = 1; n <= made; n++) {
      SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
      CountingImports::failAllocation(n);
      gc = CreateSiS(m);
      CountingImports::failAllocation(0);
      if (n == 1) {
        EXPECT_EQ(gc, nullptr) << "the context block itself";
      }
      if (gc) gc->exports.destroyContext(gc);
      ASSERT_EQ(CountingImports::live(), 0);
    }
    EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext);
  }
}

}  // namespace
}  // namespace sis_test

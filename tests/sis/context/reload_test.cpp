// The engine's register state follows the bindings: contexts bound through
// make-current, with triangles taken off the generic path so the device
// lock uploads, reload every register when another context or another
// window had the engine, and only then.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "sis/sis_registers.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_process_state.h"

namespace sis_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

// One outermost lock and unlock; true when it sent the whole register set,
// which with no group dirty is the only upload that starts with the mode
// register.
bool LockCycleReloads(GlContext *gc) {
  __glSiSTail(gc)->dirty = 0;
  sistest::TakeLog();
  gc->lockDevice(gc);
  gc->unlockDevice(gc);
  for (const SiS6326Event &e : sistest::TakeLog())
    if (e.kind == SIS6326_EVENT_REGISTER) return e.offset == sis::kRegMode;
  return false;
}

class SiSReload : public SiSLifeTest {
 protected:
  void SetUp() override {
    SiSLifeTest::SetUp();
    window_ = std::make_unique<TestWindow>(64, 48);
    window_->AttachMemory(&GlDrawable::front, 16, 2);
    window_->AttachMemory(&GlDrawable::back, 16, 2);
    UseWindow(window_.get());
  }
  void TearDown() override {
    for (GlContext *gc : made_) gc->exports.destroyContext(gc);
    EXPECT_EQ(CountingImports::live(), 0) << "blocks left allocated";
    SiSLifeTest::TearDown();
  }
  GlContext *Make() {
    GlContext *gc = CreateSiS(TestModes());
    if (gc == nullptr) return nullptr;
    made_.push_back(gc);
    return gc;
  }

 private:
  std::unique_ptr<TestWindow> window_;
  std::vector<GlContext *> made_;
};

TEST_F(SiSReload, EachBindingReloadsWhenAnotherContextOrWindowHadTheEngine) {
  GlContext *a = Make(), *b = Make();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  struct Step {
    const char *what;
    GlContext *gc;
    uintptr_t window;
    bool reloads;
  } steps[] = {
      {"a, first use of the engine", a, 0x100, true},
      {"a again on its window", a, 0x100, false},
      {"b on the same window", b, 0x100, true},
      {"a back on that window", a, 0x100, true},
      {"a moved to another window", a, 0x200, true},
      {"a stays there", a, 0x200, false},
      {"a moved back", a, 0x100, true},
      {"b, bound to one window the whole time", b, 0x100, true},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    BindRecordTo(Window(s.window));
    ASSERT_TRUE(Bind(s.gc));
    TrianglesOnChip(s.gc);
    EXPECT_EQ(LockCycleReloads(s.gc), s.reloads);
    EXPECT_FALSE(LockCycleReloads(s.gc)) << "the engine now holds this context's state";
    EXPECT_EQ(__wglProcess.sisLoadedSerial, __glSiSTail(s.gc)->serial);
    ASSERT_TRUE(Release(s.gc));
  }
}

// Bring-up of a new context writes the engine's registers: the context
// whose state it held reloads at its next lock.
TEST_F(SiSReload, AnotherContextsBringUpMakesTheNextLockReload) {
  GlContext *a = Make();
  ASSERT_NE(a, nullptr);
  BindRecordTo(Window(0x100));
  ASSERT_TRUE(Bind(a));
  TrianglesOnChip(a);
  LockCycleReloads(a);
  ASSERT_FALSE(LockCycleReloads(a));
  ASSERT_NE(Make(), nullptr);
  EXPECT_TRUE(LockCycleReloads(a));
  ASSERT_TRUE(Release(a));
}

}  // namespace
}  // namespace sis_test

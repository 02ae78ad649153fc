// The render lock: one lock and one unlock per hand-off, none for a dropped
// primitive, none at all under an outer holder, once for nested hand-offs,
// and empty lock procedures skipped.
#include <gtest/gtest.h>

#include "geometry/s_prim.h"
#include "tests/geometry/prim/prim_fixture.h"
#include "tests/geometry/prim/prim_model.h"
#include "tests/geometry/prim/prim_patterns.h"

namespace {

struct LockCase {
  const char *name;
  bool lockProc, unlockProc;
  int32_t outerCount;  // held by an outer caller before glBegin
  bool nested;         // every hand-off takes the lock again inside
};

struct Workload {
  GLenum mode;
  int count;
  CodePattern codes;
};

// Each hand-off kind once at least: points, independent lines, a loop's
// closing segment, strips, quads as two triangles, both polygon batches,
// clipped and dropped primitives.
const Workload kWorkloads[] = {
    {GL_POINTS, 5, CodePattern::Sparse},         {GL_LINES, 6, CodePattern::Dense},
    {GL_LINE_LOOP, 4, CodePattern::Sparse},      {GL_LINE_STRIP, 9, CodePattern::Sparse},
    {GL_TRIANGLES, 13, CodePattern::Sparse},     {GL_TRIANGLE_STRIP, 9, CodePattern::Dense},
    {GL_TRIANGLE_FAN, 9, CodePattern::CullOnly}, {GL_QUADS, 12, CodePattern::Clean},
    {GL_QUAD_STRIP, 10, CodePattern::Sparse},    {GL_POLYGON, 20, CodePattern::AllLeft},
    {GL_TRIANGLES, 9, CodePattern::AllLeft},
};

class RenderLock : public testing::TestWithParam<LockCase> {};

TEST_P(RenderLock, LocksOncePerHandOff) {
  const LockCase &c = GetParam();
  for (const Workload &w : kWorkloads) {
    for (uint32_t frontNeeds : {0u, 0x18u}) {
      PrimFixture f;
      f.setFrontNeeds(frontNeeds);
      f.lockProc = c.lockProc;
      f.unlockProc = c.unlockProc;
      f.nestInHandOffs = c.nested;
      f.gc()->renderLockCount = c.outerCount;
      const PrimRun run{w.mode, w.count, MakeCodes(w.codes, w.count), {}};
      const std::vector<PrimCall> calls = f.run(run);
      const std::vector<PrimCall> model =
          ModelCalls(ModelRun{w.mode, w.count, run.codes, {}, frontNeeds});
      int handOffs = 0;
      for (const PrimCall &m : model) handOffs = std::max(handOffs, m.lockCalls);
      const bool counted = c.outerCount == 0;
      EXPECT_EQ(f.lockCalls(), counted && c.lockProc ? handOffs : 0) << ModeName(w.mode);
      EXPECT_EQ(f.unlockCalls(), counted && c.unlockProc ? handOffs : 0) << ModeName(w.mode);
      ASSERT_EQ(calls.size(), model.size()) << ModeName(w.mode);
      for (size_t i = 0; i < calls.size(); ++i) {
        const bool validation = calls[i].kind.rfind("validate", 0) == 0;
        EXPECT_EQ(calls[i].lockDepth, c.outerCount + (validation ? 0 : 1))
            << ModeName(w.mode) << " " << Describe(calls[i]);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderLock,
                         testing::Values(LockCase{"BothProcedures", true, true, 0, false},
                                         LockCase{"LockOnly", true, false, 0, false},
                                         LockCase{"UnlockOnly", false, true, 0, false},
                                         LockCase{"Neither", false, false, 0, false},
                                         LockCase{"OuterHolder", true, true, 1, false},
                                         LockCase{"DeepOuterHolder", true, true, 3, false},
                                         LockCase{"NestedHandOffs", true, true, 0, true},
                                         LockCase{"NestedUnderHolder", true, true, 2, true}),
                         [](const testing::TestParamInfo<LockCase> &info) {
                           return std::string(info.param.name);
                         });

// The lock itself: the procedures run on the 0 -> 1 and 1 -> 0 steps only.
struct LockStep {
  int32_t before;
  bool lock;  // true: __glRenderLock, false: __glRenderUnlock
  int32_t after;
  int lockCalls, unlockCalls;
};

int stepLocks, stepUnlocks;

class RenderLockStep : public testing::TestWithParam<LockStep> {};

TEST_P(RenderLockStep, CallsTheProcedureOnlyAtTheOuterStep) {
  const LockStep &s = GetParam();
  PrimFixture f;
  GlContext *gc = f.gc();
  stepLocks = stepUnlocks = 0;
  gc->lockRenderBuffers = [](GlContext *) { ++stepLocks; };
  gc->unlockRenderBuffers = [](GlContext *) { ++stepUnlocks; };
  gc->renderLockCount = s.before;
  if (s.lock)
    __glRenderLock(gc);
  else
    __glRenderUnlock(gc);
  EXPECT_EQ(gc->renderLockCount, s.after);
  EXPECT_EQ(stepLocks, s.lockCalls);
  EXPECT_EQ(stepUnlocks, s.unlockCalls);
}

INSTANTIATE_TEST_SUITE_P(Steps, RenderLockStep,
                         testing::Values(LockStep{0, true, 1, 1, 0}, LockStep{1, true, 2, 0, 0},
                                         LockStep{5, true, 6, 0, 0}, LockStep{1, false, 0, 0, 1},
                                         LockStep{2, false, 1, 0, 0}, LockStep{6, false, 5, 0, 0}));

}  // namespace

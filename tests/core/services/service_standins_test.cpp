// What the context's reset and destruction get from the evaluators, vertex
// arrays, vertex cache, pixel paths and code generator so far.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "geometry/s_eval.h"
#include "geometry/s_varray.h"
#include "geometry/vc_cache.h"
#include "pixels/px_state.h"
#include "tests/core/services/service_context.h"

namespace {

TEST(EvaluatorState, EveryMapStartsAsItsDefaultValue) {
  struct Case {
    int index;
    int32_t k;
    GLfloat value[4];
  } cases[] = {
      {0, 4, {1, 1, 1, 1}}, {1, 1, {1}},       {2, 3, {0, 0, 1}},
      {3, 1, {0}},          {4, 2, {0, 0}},    {5, 3, {0, 0, 0}},
      {6, 4, {0, 0, 0, 1}}, {7, 3, {0, 0, 0}}, {8, 4, {0, 0, 0, 1}},
  };
  ServiceContext ctx;
  int start = ServiceContext::Live();
  GlEvaluatorMachine &ev = ctx.gc()->eval;
  __glInitEvaluatorState(ctx.gc());
  for (const Case &c : cases) {
    SCOPED_TRACE(c.index);
    const GlEvalMap1 &m1 = ev.eval1[c.index];
    const GlEvalMap2 &m2 = ev.eval2[c.index];
    EXPECT_EQ(m1.k, c.k);
    EXPECT_EQ(m1.order, 1);
    EXPECT_EQ(m1.u1, 0.0f);
    EXPECT_EQ(m1.u2, 1.0f);
    EXPECT_EQ(m2.k, c.k);
    EXPECT_EQ(m2.uOrder, 1);
    EXPECT_EQ(m2.vOrder, 1);
    EXPECT_EQ(m2.u1, 0.0f);
    EXPECT_EQ(m2.u2, 1.0f);
    EXPECT_EQ(m2.v1, 0.0f);
    EXPECT_EQ(m2.v2, 1.0f);
    ASSERT_NE(ev.eval1Data[c.index], nullptr);
    ASSERT_NE(ev.eval2Data[c.index], nullptr);
    for (int i = 0; i < c.k; ++i) {
      EXPECT_EQ(ev.eval1Data[c.index][i], c.value[i]);
      EXPECT_EQ(ev.eval2Data[c.index][i], c.value[i]);
    }
  }
  // A second reset replaces the points without leaking the first ones.
  int afterFirst = ServiceContext::Live();
  __glInitEvaluatorState(ctx.gc());
  EXPECT_EQ(ServiceContext::Live(), afterFirst);
  __glFreeEvaluatorState(ctx.gc());
  EXPECT_EQ(ServiceContext::Live(), start);
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
    EXPECT_EQ(ev.eval1Data[i], nullptr);
    EXPECT_EQ(ev.eval2Data[i], nullptr);
  }
  __glFreeEvaluatorState(ctx.gc());  // twice is harmless
}

TEST(EvaluatorState, AMapWhosePointCannotBeHadHasNoOrder) {
  for (int refuse = 1; refuse <= 2 * __GL_MAP_RANGE_COUNT; ++refuse) {
    SCOPED_TRACE(refuse);
    ServiceContext ctx;
    int start = ServiceContext::Live();
    CountingImports::failAllocation(refuse);
    __glInitEvaluatorState(ctx.gc());
    CountingImports::failAllocation(0);
    const GlEvaluatorMachine &ev = ctx.gc()->eval;
    int missing = 0;
    for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
      EXPECT_EQ(ev.eval1[i].order, ev.eval1Data[i] ? 1 : 0);
      EXPECT_EQ(ev.eval2[i].uOrder, ev.eval2Data[i] ? 1 : 0);
      EXPECT_EQ(ev.eval2[i].vOrder, ev.eval2Data[i] ? 1 : 0);
      missing += !ev.eval1Data[i] + !ev.eval2Data[i];
    }
    EXPECT_EQ(missing, 1);
    __glFreeEvaluatorState(ctx.gc());
    EXPECT_EQ(ServiceContext::Live(), start);
  }
}

TEST(ServiceStandIns, TheVertexCacheIsOnByDefaultAndNothingIsAllocated) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  gc->vcache.enabled = 0;
  int start = ServiceContext::Live();
  __glInitVertexCacheState(gc);
  const char *value = getenv("__GL_VCACHE");
  EXPECT_EQ(gc->vcache.enabled, value ? atoi(value) != 0 : 1) << "the cache is the default road";
  __glInitVertexArrayState(gc);
  __glInitPixelState(gc);
  __glInitColorTables(gc);
  __glFreeColorTables(gc);
  __glFreePixelState(gc);
  __glFreeVertexArrayState(gc);
  __glFreeVertexCacheState(gc);
  EXPECT_EQ(ServiceContext::Live(), start);
}

}  // namespace

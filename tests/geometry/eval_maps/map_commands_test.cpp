// glMap1 and glMap2: the checks in their order, refused calls (errors and
// refused allocations) leaving every map as it was, the stored points of
// packed and padded sources, and the default maps.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/geometry/eval_maps/eval_fixture.h"
#include "tests/support/counting_imports.h"

namespace eval_test {
namespace {

// Enough points for any order and stride the rows use.
const std::vector<GLfloat> kPoints = [] {
  std::vector<GLfloat> p(30 * 30 * 16);
  for (size_t i = 0; i < p.size(); ++i) p[i] = GLfloat(i % 97) * 0.25f - 3.0f;
  return p;
}();
const std::vector<GLdouble> kPointsD(kPoints.begin(), kPoints.end());
const GLfloat *P = kPoints.data();
const GLdouble *PD = kPointsD.data();

TEST(EvalComputeK, GivesTheComponentsOfEveryTargetAndNoneOtherwise) {
  const int32_t k[] = {4, 1, 3, 1, 2, 3, 4, 3, 4};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(__glEvalComputeK(GL_MAP1_COLOR_4 + i), k[i]) << i;
    EXPECT_EQ(__glEvalComputeK(GL_MAP2_COLOR_4 + i), k[i]) << i;
  }
  for (GLenum other : {GLenum(0), GLenum(GL_MAP1_COLOR_4 - 1), GLenum(GL_MAP1_VERTEX_4 + 1),
                       GLenum(GL_MAP2_COLOR_4 - 1), GLenum(GL_MAP2_VERTEX_4 + 1), GLenum(~0u)})
    EXPECT_EQ(__glEvalComputeK(other), -1) << other;
  EXPECT_EQ(__glMap1_size(4, 30), 120);
  EXPECT_EQ(__glMap2_size(3, 30, 7), 630);
}

struct ErrorCase {
  const char *name;
  std::function<void()> call;
  GLenum error;
  bool inBegin = false;
};

const ErrorCase kErrors[] = {
    {"inside glBegin, before the target", [] { glMap1f(0, 0, 1, 3, 2, P); },
     GL_INVALID_OPERATION, true},
    {"2-D inside glBegin", [] { glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 2, P); },
     GL_INVALID_OPERATION, true},
    {"a 2-D target for glMap1", [] { glMap1f(GL_MAP2_VERTEX_3, 0, 1, 3, 2, P); },
     GL_INVALID_ENUM},
    {"a 1-D target for glMap2", [] { glMap2f(GL_MAP1_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 2, P); },
     GL_INVALID_ENUM},
    {"the target before the order", [] { glMap1f(GL_MAP1_VERTEX_4 + 1, 0, 1, 3, 31, P); },
     GL_INVALID_ENUM},
    {"order 0", [] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 0, P); }, GL_INVALID_VALUE},
    {"order 31", [] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 31, P); }, GL_INVALID_VALUE},
    {"negative order", [] { glMap1d(GL_MAP1_INDEX, 0, 1, 1, -5, PD); }, GL_INVALID_VALUE},
    {"u1 = u2", [] { glMap1f(GL_MAP1_COLOR_4, 2, 2, 4, 2, P); }, GL_INVALID_VALUE},
    {"double ends that round to one float",
     [] { glMap1d(GL_MAP1_COLOR_4, 1.0, 1.0 + 1e-12, 4, 2, PD); }, GL_INVALID_VALUE},
    {"stride below k", [] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 2, 2, P); }, GL_INVALID_VALUE},
    {"stride 0", [] { glMap1d(GL_MAP1_TEXTURE_COORD_1, 0, 1, 0, 2, PD); }, GL_INVALID_VALUE},
    {"2-D u order 31", [] { glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 31, 0, 1, 3, 2, P); },
     GL_INVALID_VALUE},
    {"2-D v order 0", [] { glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 0, P); },
     GL_INVALID_VALUE},
    {"2-D u1 = u2", [] { glMap2f(GL_MAP2_NORMAL, 1, 1, 6, 2, 0, 1, 3, 2, P); },
     GL_INVALID_VALUE},
    {"2-D v1 = v2", [] { glMap2f(GL_MAP2_NORMAL, 0, 1, 6, 2, -1, -1, 3, 2, P); },
     GL_INVALID_VALUE},
    {"2-D double v ends that round to one float",
     [] { glMap2d(GL_MAP2_NORMAL, 0, 1, 6, 2, 3.0, 3.0 - 1e-12, 3, 2, PD); }, GL_INVALID_VALUE},
    {"2-D short u stride", [] { glMap2f(GL_MAP2_COLOR_4, 0, 1, 3, 2, 0, 1, 4, 2, P); },
     GL_INVALID_VALUE},
    {"2-D short v stride", [] { glMap2d(GL_MAP2_COLOR_4, 0, 1, 8, 2, 0, 1, 3, 2, PD); },
     GL_INVALID_VALUE},    // Without points there is nothing to store: the checks still run.
    {"null points", [] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 2, nullptr); }, GL_NO_ERROR},
    {"null points, order 0", [] { glMap1d(GL_MAP1_VERTEX_3, 0, 1, 3, 0, nullptr); },
     GL_INVALID_VALUE},
    {"2-D null points", [] { glMap2f(GL_MAP2_COLOR_4, 0, 1, 8, 2, 0, 1, 4, 2, nullptr); },
     GL_NO_ERROR},
    {"2-D null double points", [] { glMap2d(GL_MAP2_NORMAL, 0, 1, 6, 2, 0, 1, 3, 2, nullptr); },
     GL_NO_ERROR},
};

TEST_F(EvalTest, RefusedMapCallsRecordTheirErrorAndChangeNoMap) {
  glMap1f(GL_MAP1_VERTEX_3, -1, 2, 3, 4, P + 5);  // something other than the defaults
  glMap2f(GL_MAP2_COLOR_4, 0, 3, 12, 2, 1, 2, 4, 3, P + 7);
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  const std::vector<GLfloat> before = Maps();
  for (const ErrorCase &c : kErrors) {
    if (c.inBegin) gc->beginMode = __GL_IN_BEGIN;
    c.call();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(TakeError(), c.error) << c.name;
    EXPECT_EQ(Maps(), before) << c.name;
  }
}

TEST_F(EvalTest, OrderThirtyIsAcceptedWithoutRunningAPendingValidation) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  glMap1f(GL_MAP1_TEXTURE_COORD_4, 5, -5, 4, 30, P);
  glMap2f(GL_MAP2_TEXTURE_COORD_2, 0, 1, 60, 30, 0, 1, 2, 30, P);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << "maps need no picked procedures";
  gc->beginMode = __GL_NOT_IN_BEGIN;
  const GlEvalMap1 &m = gc->eval.eval1[__GL_EVAL_TEXTURE4];
  EXPECT_EQ(m.order, 30);
  EXPECT_EQ(m.u1, 5.0f);
  EXPECT_EQ(m.u2, -5.0f);
  EXPECT_EQ(std::vector<GLfloat>(gc->eval.eval1Data[__GL_EVAL_TEXTURE4],
                                 gc->eval.eval1Data[__GL_EVAL_TEXTURE4] + 120),
            std::vector<GLfloat>(P, P + 120));
  const GlEvalMap2 &n = gc->eval.eval2[__GL_EVAL_TEXTURE2];
  EXPECT_EQ(n.uOrder, 30);
  EXPECT_EQ(n.vOrder, 30);
}

TEST_F(EvalTest, ARefusedAllocationLeavesTheMapAsItWas) {
  glMap1f(GL_MAP1_NORMAL, 0, 1, 3, 3, P);
  glMap2f(GL_MAP2_VERTEX_4, 0, 1, 8, 2, 0, 1, 4, 2, P);
  const std::vector<GLfloat> before = Maps();
  struct Case {
    const char *name;
    std::function<void()> call;
  } const cases[] = {
      {"glMap1f", [] { glMap1f(GL_MAP1_NORMAL, 2, 3, 3, 7, P + 1); }},
      {"glMap1d", [] { glMap1d(GL_MAP1_NORMAL, 2, 3, 3, 2, PD + 1); }},
      {"glMap2f", [] { glMap2f(GL_MAP2_VERTEX_4, 2, 3, 20, 4, 4, 5, 4, 5, P + 1); }},
      {"glMap2d", [] { glMap2d(GL_MAP2_VERTEX_4, 2, 3, 4, 1, 4, 5, 4, 1, PD + 1); }},
  };
  for (const Case &c : cases) {
    CountingImports::failAllocation(1);
    c.call();
    CountingImports::failAllocation(0);
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY)) << c.name;
    EXPECT_EQ(Maps(), before) << c.name;
  }
  glMap1f(GL_MAP1_NORMAL, 2, 3, 3, 7, P + 1);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->eval.eval1[__GL_EVAL_NORMAL].order, 7);
}

// Point (i, j), component c of a 2-D source.
GLfloat Element(int i, int j, int c) { return GLfloat(i * 100 + j * 10 + c) + 0.5f; }

struct Layout {
  const char *name;
  int uStride, vStride;
};

TEST_F(EvalTest, PackedPaddedAndTransposedSourcesStoreOneMap) {
  constexpr int kU = 3, kV = 5;
  for (int k : {1, 3, 4}) {
    const GLenum target = k == 1 ? GL_MAP2_INDEX : k == 3 ? GL_MAP2_VERTEX_3 : GL_MAP2_COLOR_4;
    std::vector<GLfloat> want;
    for (int i = 0; i < kU; ++i)
      for (int j = 0; j < kV; ++j)
        for (int c = 0; c < k; ++c) want.push_back(Element(i, j, c));
    const Layout layouts[] = {
        {"packed", kV * k, k},
        {"padded points", kV * (k + 2), k + 2},
        {"padded rows", kV * k + 7, k},
        {"v major", k, kU * k},
        {"overlapping rows", k, k},
    };
    for (const Layout &l : layouts) {
      SCOPED_TRACE(std::string(l.name) + ", k " + std::to_string(k));
      std::vector<GLfloat> src(size_t(kU * l.uStride + kV * l.vStride + k), -99.0f);
      std::vector<GLdouble> srcD(src.size(), -99.0);
      if (std::string(l.name) == "overlapping rows") {
        // Point (i, j) at (i + j) * k: rows share points, which only a
        // point-by-point copy reads right.
        for (int i = 0; i < kU; ++i)
          for (int j = 0; j < kV; ++j)
            for (int c = 0; c < k; ++c) src[size_t((i + j) * k + c)] = Element(0, i + j, c);
        want.clear();
        for (int i = 0; i < kU; ++i)
          for (int j = 0; j < kV; ++j)
            for (int c = 0; c < k; ++c) want.push_back(Element(0, i + j, c));
      } else {
        for (int i = 0; i < kU; ++i)
          for (int j = 0; j < kV; ++j)
            for (int c = 0; c < k; ++c)
              src[size_t(i * l.uStride + j * l.vStride + c)] = Element(i, j, c);
      }
      for (size_t e = 0; e < src.size(); ++e) srcD[e] = src[e];
      const GLfloat *data;
      glMap2f(target, 0, 1, l.uStride, kU, 0, 1, l.vStride, kV, src.data());
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      data = gc->eval.eval2Data[target - GL_MAP2_COLOR_4];
      EXPECT_EQ(std::vector<GLfloat>(data, data + want.size()), want) << "glMap2f";
      glMap2d(target, 0, 1, l.uStride, kU, 0, 1, l.vStride, kV, srcD.data());
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      data = gc->eval.eval2Data[target - GL_MAP2_COLOR_4];
      EXPECT_EQ(std::vector<GLfloat>(data, data + want.size()), want) << "glMap2d";
    }
  }
}

TEST_F(EvalTest, OneDimensionalStridesStoreOneMap) {
  for (int stride : {3, 4, 9}) {
    std::vector<GLfloat> src(size_t(6 * stride), -99.0f), want;
    for (int i = 0; i < 6; ++i)
      for (int c = 0; c < 3; ++c) {
        src[size_t(i * stride + c)] = Element(i, 0, c);
        want.push_back(Element(i, 0, c));
      }
    const std::vector<GLdouble> srcD(src.begin(), src.end());
    glMap1f(GL_MAP1_TEXTURE_COORD_3, 0, 1, stride, 6, src.data());
    const GLfloat *data = gc->eval.eval1Data[__GL_EVAL_TEXTURE3];
    EXPECT_EQ(std::vector<GLfloat>(data, data + 18), want) << stride;
    glMap1d(GL_MAP1_TEXTURE_COORD_3, 0, 1, stride, 6, srcD.data());
    data = gc->eval.eval1Data[__GL_EVAL_TEXTURE3];
    EXPECT_EQ(std::vector<GLfloat>(data, data + 18), want) << stride;
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

// The attribute of map `index` that a vertex carries after evaluation at a
// few parameters, in and beyond the domain.
void ExpectDefaultEverywhere(GlContext *gc, int dims, int index, const char *label) {
  const GLfloat *want = __glEvalDefaultValue(index);
  const int k = __glEvalComputeK(GL_MAP1_COLOR_4 + index);
  EvalStream stream(gc);
  for (GLfloat u : {-7.0f, 0.0f, 0.25f, 1.0f, 3.0f}) {
    if (dims == 1)
      glEvalCoord1f(u);
    else
      glEvalCoord2f(u, 1.0f - u);
  }
  const std::vector<StreamItem> got = stream.TakeVertices();
  ASSERT_EQ(got.size(), 5u) << label;
  for (const StreamItem &item : got)
    EXPECT_EQ(MapAttribute(item, index), std::vector<GLfloat>(want, want + k)) << label;
}

void EnableForDefault(int dims, int index) {
  const GLenum first = dims == 1 ? GL_MAP1_COLOR_4 : GL_MAP2_COLOR_4;
  for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) glDisable(first + i);
  glEnable(first + index);
  // A vertex map issues the vertex that carries the attribute.
  if (index < __GL_EVAL_VERTEX3) glEnable(first + __GL_EVAL_VERTEX3);
}

TEST_F(EvalTest, UntouchedMapsEvaluateToTheirDefaults) {
  for (int dims : {1, 2})
    for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
      if (index == __GL_EVAL_INDEX) continue;  // RGBA: the index map is not read
      EnableForDefault(dims, index);
      const std::string label = std::to_string(dims) + "-D map " + std::to_string(index);
      ExpectDefaultEverywhere(gc, dims, index, label.c_str());
    }
}

TEST_F(EvalTest, AMapTheResetLeftWithoutPointsEvaluatesToItsDefault) {
  // Each run of the reset's map defaults refuses one more of its
  // allocations; the map that lost its point keeps order 0.
  for (int refused = 1; refused <= 2 * __GL_MAP_RANGE_COUNT; ++refused) {
    CountingImports::failAllocation(refused);
    __glInitEvaluatorState(gc);
    CountingImports::failAllocation(0);
    int dims = 0, index = -1;
    for (int i = 0; i < __GL_MAP_RANGE_COUNT; ++i) {
      if (gc->eval.eval1[i].order == 0) dims = 1, index = i;
      if (gc->eval.eval2[i].uOrder == 0) dims = 2, index = i;
    }
    ASSERT_GE(index, 0) << refused;
    if (index == __GL_EVAL_INDEX) continue;
    EnableForDefault(dims, index);
    const std::string label = "refused allocation " + std::to_string(refused);
    ExpectDefaultEverywhere(gc, dims, index, label.c_str());
    // It takes new points as any map does.
    const GLenum target = (dims == 1 ? GL_MAP1_COLOR_4 : GL_MAP2_COLOR_4) + index;
    if (dims == 1)
      glMap1f(target, 0, 1, 4, 2, P);
    else
      glMap2f(target, 0, 1, 8, 2, 0, 1, 4, 2, P);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
  __glInitEvaluatorState(gc);
}

}  // namespace
}  // namespace eval_test

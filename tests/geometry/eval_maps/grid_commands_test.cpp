// glMapGrid and the grid points of glEvalPoint: the grids' reset, checks and
// conversions, and the parameter of each grid point, also at the ends of
// GLint and with grids that are not numbers.
#include <gtest/gtest.h>

#include <climits>
#include <array>
#include <cmath>
#include <cstring>

#include "tests/geometry/eval_maps/eval_fixture.h"

namespace eval_test {
namespace {

struct Param {
  GLfloat u, v;
};
std::vector<Param> gParams;

// Stands in for the evaluation procedures: the parameters they are given.
void Record1(GlContext *, GLfloat u, GLfloat) { gParams.push_back({u, 0}); }
void Record2(GlContext *, GLfloat u, GLfloat v) { gParams.push_back({u, v}); }

class GridTest : public EvalTest {
 protected:
  void Bound() override {
    gc->procs.evalCoord[0] = Record1;
    gc->procs.evalCoord[1] = Record2;
    gParams.clear();
  }
  static bool Same(const GlEvalGrid1 &a, const GlEvalGrid1 &b) {
    return memcmp(&a, &b, sizeof a) == 0;
  }
  static bool Same(const GlEvalGrid2 &a, const GlEvalGrid2 &b) {
    return memcmp(&a, &b, sizeof a) == 0;
  }
};

TEST_F(GridTest, TheResetGivesOneSegmentOverTheUnitDomain) {
  const GlEvaluatorState &e = gc->state.evaluator;
  EXPECT_TRUE(Same(e.grid1, GlEvalGrid1{0, 1, 1}));
  EXPECT_TRUE(Same(e.grid2, GlEvalGrid2{0, 1, 1, 0, 1, 1}));
}

TEST_F(GridTest, GridsAreStoredAsFloatsAndEqualEndsAreAccepted) {
  glMapGrid1f(7, 2, 2);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(Same(gc->state.evaluator.grid1, GlEvalGrid1{2, 2, 7}));
  glMapGrid1d(3, 0.1, -1e300);
  EXPECT_TRUE(Same(gc->state.evaluator.grid1, GlEvalGrid1{0.1f, -INFINITY, 3}));
  glMapGrid2f(4, -1, 1, 9, 5, 5);
  EXPECT_TRUE(Same(gc->state.evaluator.grid2, GlEvalGrid2{-1, 1, 4, 5, 5, 9}));
  glMapGrid2d(INT_MAX, 1.0 / 3, 2, 1, 0.7, -0.7);
  EXPECT_TRUE(
      Same(gc->state.evaluator.grid2, GlEvalGrid2{GLfloat(1.0 / 3), 2, INT_MAX, 0.7f, -0.7f, 1}));
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

TEST_F(GridTest, RefusedGridCallsChangeNoGrid) {
  glMapGrid1f(5, 1, 2);
  glMapGrid2f(6, 3, 4, 7, 5, 6);
  const GlEvaluatorState before = gc->state.evaluator;
  struct Case {
    const char *name;
    void (*call)();
    GLenum error;
    bool inBegin;
  } const cases[] = {
      {"1-D n 0", [] { glMapGrid1f(0, 0, 1); }, GL_INVALID_VALUE, false},
      {"1-D n negative", [] { glMapGrid1d(INT_MIN, 0, 1); }, GL_INVALID_VALUE, false},
      {"2-D u count 0", [] { glMapGrid2f(0, 0, 1, 1, 0, 1); }, GL_INVALID_VALUE, false},
      {"2-D v count negative", [] { glMapGrid2d(1, 0, 1, -1, 0, 1); }, GL_INVALID_VALUE, false},
      {"1-D inside glBegin, before the count", [] { glMapGrid1f(0, 0, 1); },
       GL_INVALID_OPERATION, true},
      {"2-D inside glBegin", [] { glMapGrid2f(1, 0, 1, 1, 0, 1); }, GL_INVALID_OPERATION, true},
  };
  for (const Case &c : cases) {
    if (c.inBegin) gc->beginMode = __GL_IN_BEGIN;
    c.call();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(TakeError(), c.error) << c.name;
    EXPECT_TRUE(Same(gc->state.evaluator.grid1, before.grid1)) << c.name;
    EXPECT_TRUE(Same(gc->state.evaluator.grid2, before.grid2)) << c.name;
  }
}

struct PointCase {
  GLfloat u1, u2;
  GLint n, i;
};

// The grid points: the first end exactly at i = 0, the last exactly at
// i = n, evenly between, and anything beyond on the same line.
TEST_F(GridTest, GridPointsLieOnTheGridAndHitBothEndsExactly) {
  const PointCase cases[] = {
      {0, 1, 1, 0},     {0, 1, 1, 1},       {-2, 3, 10, 0},     {-2, 3, 10, 10},
      {-2, 3, 10, 4},   {0.1f, 0.7f, 3, 3}, {0.1f, 0.7f, 3, 1}, {5, -5, 7, 7},
      {5, -5, 7, 2},    {5, -5, 7, -3},     {5, -5, 7, 12},     {1, 1, 4, 2},
      {0, 1, 1000, 1000}, {0, 1, 1000, 333},
  };
  for (const PointCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.u1 << ".." << c.u2 << " / " << c.n << " at " << c.i);
    glMapGrid1f(c.n, c.u1, c.u2);
    glMapGrid2f(c.n, c.u1, c.u2, 1, 8, 9);
    glEvalPoint1(c.i);
    glEvalPoint2(c.i, 1);
    ASSERT_EQ(gParams.size(), 2u);
    const double want = c.u1 + (double(c.u2) - c.u1) * c.i / c.n;
    for (const Param &p : gParams) {
      if (c.i == 0) {
        EXPECT_EQ(p.u, c.u1);
      }
      if (c.i == c.n) {
        EXPECT_EQ(p.u, c.u2);
      }
      EXPECT_NEAR(p.u, want, 1e-5 * (1 + std::fabs(want)));
    }
    EXPECT_EQ(gParams[1].v, 9.0f) << "v at its grid's end";
    gParams.clear();
  }
}

TEST_F(GridTest, GridPointsAreDefinedForEveryIndexAndGrid) {
  struct Case {
    GLfloat u1, u2;
    GLint n, i;
  } const cases[] = {
      {0, 1, 1, INT_MAX},  {0, 1, 1, INT_MIN},       {0, 1, INT_MAX, INT_MAX},
      {0, 1, INT_MAX, 1},  {NAN, 1, 3, 1},           {0, INFINITY, 3, 1},
      {-INFINITY, INFINITY, 2, 1}, {0, 1, 3, INT_MIN},
  };
  for (const Case &c : cases) {
    glMapGrid1f(c.n, c.u1, c.u2);
    glEvalPoint1(c.i);
  }
  ASSERT_EQ(gParams.size(), std::size(cases));
  EXPECT_EQ(gParams[0].u, GLfloat(INT_MAX));
  EXPECT_EQ(gParams[1].u, GLfloat(INT_MIN));
  EXPECT_EQ(gParams[2].u, 1.0f);
  EXPECT_TRUE(std::isnan(gParams[4].u));
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << "grid points record no errors";
}

TEST_F(GridTest, GridPointsAreTakenInsideGlBeginToo) {
  gc->beginMode = __GL_IN_BEGIN;
  glEvalPoint1(0);
  glEvalPoint2(1, 1);
  glEvalCoord1d(0.5);
  glEvalCoord2dv(std::array<GLdouble, 2>{0.25, 0.75}.data());
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  ASSERT_EQ(gParams.size(), 4u);
  EXPECT_EQ(gParams[2].u, 0.5f);
  EXPECT_EQ(gParams[3].u, 0.25f);
  EXPECT_EQ(gParams[3].v, 0.75f);
}

}  // namespace
}  // namespace eval_test

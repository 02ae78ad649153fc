// Evaluated attributes and vertices against a double-precision de Casteljau
// evaluation, for every map kind of both dimensions and every order; exact
// end points; the current values put back after every call.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "tests/geometry/eval_maps/eval_fixture.h"
#include "tests/support/counting_imports.h"

namespace eval_test {
namespace {

constexpr double kRange = 4.0;

// The basis is built in single precision: each order adds rounding steps.
double Tolerance(int orders) { return 8.0 * orders * FLT_EPSILON * kRange; }

const double kFractions[] = {0.0, 0.1, 0.37, 0.5, 0.9, 1.0};

std::string Label(int dims, int index, int uOrder, int vOrder) {
  return std::to_string(dims) + "-D map " + std::to_string(index) + ", orders " +
         std::to_string(uOrder) + " x " + std::to_string(vOrder);
}

void ExpectNear(const std::vector<GLfloat> &got, const std::vector<double> &want, double tol,
                const std::string &label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t c = 0; c < want.size(); ++c)
    EXPECT_NEAR(got[c], want[c], tol) << label << " [" << c << "]";
}

// Texture maps narrower than four leave the rest of (s, t, r, q) at (0, 0, 1).
void ExpectTextureRest(const StreamItem &item, int index, const std::string &label) {
  if (index < __GL_EVAL_TEXTURE1 || index > __GL_EVAL_TEXTURE4) return;
  const GLfloat rest[] = {0, 0, 0, 1};
  const GLfloat *t = &item.texture.x;
  for (int c = index - __GL_EVAL_TEXTURE1 + 1; c < 4; ++c) EXPECT_EQ(t[c], rest[c]) << label;
}

class EvalValues : public EvalTest {
 protected:
  // Loads a random map of this kind and orders and enables it (with a
  // vertex map to issue vertices).
  RefMap Random(int dims, int index, int uOrder, int vOrder, unsigned seed) {
    RefMap m;
    m.k = __glEvalComputeK(GL_MAP1_COLOR_4 + index);
    m.uOrder = uOrder;
    m.vOrder = dims == 2 ? vOrder : 1;
    // Reversed and offset domains in turn.
    m.u1 = seed % 2 ? 3.0 : -2.0;
    m.u2 = seed % 2 ? -2.0 : 3.0;
    m.v1 = seed % 3 ? 0.5 : 10.0;
    m.v2 = seed % 3 ? 10.0 : 0.5;
    m.points = SomePoints(m.k * m.uOrder * m.vOrder, seed, kRange);
    if (dims == 1) {
      Load1(GL_MAP1_COLOR_4 + index, m);
      EnableOnly1({index, __GL_EVAL_VERTEX3});
    } else {
      Load2(GL_MAP2_COLOR_4 + index, m);
      EnableOnly2({index, __GL_EVAL_VERTEX3});
    }
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    return m;
  }
};

TEST_F(EvalValues, OneDimensionalMapsOfEveryKindAndOrderMatchTheReference) {
  for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
    if (index == __GL_EVAL_INDEX) continue;  // colour-index mode, below
    for (int order = 1; order <= 30; ++order) {
      const std::string label = Label(1, index, order, 1);
      const RefMap m = Random(1, index, order, 1, unsigned(index * 31 + order));
      EvalStream stream(gc);
      for (double f : kFractions) glEvalCoord1f(GLfloat(m.u1 + f * (m.u2 - m.u1)));
      const std::vector<StreamItem> got = stream.TakeVertices();
      ASSERT_EQ(got.size(), std::size(kFractions)) << label;
      for (size_t p = 0; p < got.size(); ++p) {
        const GLfloat u = GLfloat(m.u1 + kFractions[p] * (m.u2 - m.u1));
        ExpectNear(MapAttribute(got[p], index), RefValue(m, u), Tolerance(order), label);
        ExpectTextureRest(got[p], index, label);
      }
      // The domain ends give the end points exactly.
      const std::vector<GLfloat> first(m.points.begin(), m.points.begin() + m.k);
      const std::vector<GLfloat> last(m.points.end() - m.k, m.points.end());
      EXPECT_EQ(MapAttribute(got.front(), index), first) << label;
      EXPECT_EQ(MapAttribute(got.back(), index), last) << label;
    }
  }
}

struct Orders {
  int u, v;
};
const Orders kOrders[] = {{1, 1}, {2, 2},   {1, 5},  {4, 1},  {3, 7},
                          {8, 3}, {12, 12}, {30, 2}, {2, 30}, {30, 30}};

TEST_F(EvalValues, TwoDimensionalMapsOfEveryKindMatchTheReference) {
  for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
    if (index == __GL_EVAL_INDEX) continue;
    for (const Orders &o : kOrders) {
      const std::string label = Label(2, index, o.u, o.v);
      const RefMap m = Random(2, index, o.u, o.v, unsigned(index * 7 + o.u * 61 + o.v));
      EvalStream stream(gc);
      std::vector<std::pair<GLfloat, GLfloat>> params;
      for (double fu : {0.0, 0.3, 1.0})
        for (double fv : {0.0, 0.6, 1.0}) {
          params.emplace_back(GLfloat(m.u1 + fu * (m.u2 - m.u1)),
                              GLfloat(m.v1 + fv * (m.v2 - m.v1)));
          glEvalCoord2f(params.back().first, params.back().second);
        }
      const std::vector<StreamItem> got = stream.TakeVertices();
      ASSERT_EQ(got.size(), params.size()) << label;
      for (size_t p = 0; p < got.size(); ++p) {
        ExpectNear(MapAttribute(got[p], index), RefValue(m, params[p].first, params[p].second),
                   Tolerance(o.u + o.v), label);
        ExpectTextureRest(got[p], index, label);
      }
      // Corners: (u1, v1) is point (0, 0), (u2, v2) the last point.
      const std::vector<GLfloat> first(m.points.begin(), m.points.begin() + m.k);
      const std::vector<GLfloat> last(m.points.end() - m.k, m.points.end());
      EXPECT_EQ(MapAttribute(got.front(), index), first) << label;
      EXPECT_EQ(MapAttribute(got.back(), index), last) << label;
    }
  }
}

// Every map at once, orders partly shared, so that one call's maps reuse
// each other's basis where parameter and order match and not otherwise.
TEST_F(EvalValues, MapsEvaluatedTogetherMatchTheReferenceEach) {
  const int orders[] = {5, 3, 5, 2, 5, 7, 3, 5, 5};
  for (int dims : {1, 2}) {
    for (GLenum autoNormal : {GL_FALSE, GL_TRUE}) {
      if (dims == 1 && autoNormal) continue;
      if (autoNormal)
        glEnable(GL_AUTO_NORMAL);
      else
        glDisable(GL_AUTO_NORMAL);
      std::vector<RefMap> maps;
      for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
        RefMap m;
        m.k = __glEvalComputeK(GL_MAP1_COLOR_4 + index);
        m.uOrder = orders[index];
        m.vOrder = dims == 2 ? orders[8 - index] : 1;
        m.u1 = -1, m.u2 = 2, m.v1 = 4, m.v2 = 0;
        m.points = SomePoints(m.k * m.uOrder * m.vOrder, 1000u + unsigned(index), kRange);
        if (dims == 1)
          Load1(GL_MAP1_COLOR_4 + index, m);
        else
          Load2(GL_MAP2_COLOR_4 + index, m);
        maps.push_back(m);
        glEnable((dims == 1 ? GL_MAP1_COLOR_4 : GL_MAP2_COLOR_4) + index);
      }
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      EvalStream stream(gc);
      const GLfloat u = 0.25f, v = 1.5f;
      if (dims == 1)
        glEvalCoord1f(u);
      else
        glEvalCoord2f(u, v);
      const std::vector<StreamItem> got = stream.TakeVertices();
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(got[0].size, 4) << "the four-component vertex map wins";
      for (int index : {__GL_EVAL_COLOR, __GL_EVAL_NORMAL, __GL_EVAL_TEXTURE4, __GL_EVAL_VERTEX4}) {
        if (autoNormal && index == __GL_EVAL_NORMAL) continue;
        const RefMap &m = maps[size_t(index)];
        ExpectNear(MapAttribute(got[0], index), RefValue(m, u, v), Tolerance(m.uOrder + m.vOrder),
                   Label(dims, index, m.uOrder, m.vOrder));
      }
    }
  }
  glDisable(GL_AUTO_NORMAL);
}

// The current values as the context keeps them.
std::vector<uint8_t> Current(const GlContext *gc) {
  const GlCurrentState &c = gc->state.current;
  std::vector<uint8_t> out;
  auto add = [&](const void *p, size_t n) {
    out.insert(out.end(), static_cast<const uint8_t *>(p), static_cast<const uint8_t *>(p) + n);
  };
  add(&c.color, sizeof c.color);
  add(&c.userColor, sizeof c.userColor);
  add(&c.index, sizeof c.index);
  add(c.normal, sizeof c.normal);
  add(&c.texture, sizeof c.texture);
  return out;
}

TEST_F(EvalValues, EveryCallLeavesTheCurrentValuesAsTheyWere) {
  for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
    RefMap m;
    m.k = __glEvalComputeK(GL_MAP1_COLOR_4 + index);
    m.uOrder = 3;
    m.vOrder = 3;
    m.points = SomePoints(m.k * 9, 77u + unsigned(index));
    Load2(GL_MAP2_COLOR_4 + index, m);
    m.vOrder = 1;
    Load1(GL_MAP1_COLOR_4 + index, m);
    glEnable(GL_MAP1_COLOR_4 + index);
    glEnable(GL_MAP2_COLOR_4 + index);
  }
  glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
  glNormal3f(0.5f, -0.25f, 2.0f);
  glTexCoord4f(7, 8, 9, 10);
  glMapGrid1f(4, 0, 1);
  glMapGrid2f(4, 0, 1, 4, 0, 1);
  struct Call {
    const char *name;
    void (*call)();
  } const calls[] = {
      {"glEvalCoord1f", [] { glEvalCoord1f(0.3f); }},
      {"glEvalCoord1dv", [] { const GLdouble u = 0.7; glEvalCoord1dv(&u); }},
      {"glEvalCoord2f", [] { glEvalCoord2f(0.3f, 0.9f); }},
      {"glEvalCoord2d", [] { glEvalCoord2d(0.1, 0.2); }},
      {"glEvalPoint1", [] { glEvalPoint1(2); }},
      {"glEvalPoint2", [] { glEvalPoint2(1, 3); }},
      {"glEvalMesh1", [] { glEvalMesh1(GL_LINE, 0, 4); }},
      {"glEvalMesh2 fill", [] { glEvalMesh2(GL_FILL, 0, 4, 0, 4); }},
      {"glEvalMesh2 line", [] { glEvalMesh2(GL_LINE, 0, 4, 0, 4); }},
      {"glEvalMesh2 point", [] { glEvalMesh2(GL_POINT, 0, 4, 0, 4); }},
  };
  for (GLenum autoNormal : {GL_FALSE, GL_TRUE}) {
    if (autoNormal) glEnable(GL_AUTO_NORMAL);
    ValidatePending();
    const std::vector<uint8_t> before = Current(gc);
    for (const Call &c : calls) {
      EvalStream stream(gc);
      gc->vcache.colorChanged = 0;
      c.call();
      EXPECT_FALSE(stream.TakeVertices().empty()) << c.name;
      EXPECT_EQ(Current(gc), before) << c.name;
      EXPECT_EQ(gc->vcache.colorChanged, 1) << c.name << ": the vertex cache hears of the colour";
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << c.name;
    }
  }
}

// The evaluated colour reaches the vertex as glColor would give it: as
// given, and scaled by procs.applyColor.
TEST_F(EvalValues, TheEvaluatedColourIsAppliedAsGlColorAppliesIt) {
  RefMap m;
  m.k = 4;
  m.uOrder = 2;
  m.points = {0.25, 0.5, 0.75, 1.0, 1.0, 0.0, 0.5, 0.25};
  Load1(GL_MAP1_COLOR_4, m);
  EnableOnly1({__GL_EVAL_COLOR, __GL_EVAL_VERTEX3});
  EvalStream stream(gc);
  glEvalCoord1f(0.0f);
  glEvalCoord1f(1.0f);
  const std::vector<StreamItem> got = stream.TakeVertices();
  ASSERT_EQ(got.size(), 2u);
  for (size_t p = 0; p < 2; ++p) {
    const GLfloat *c = &got[p].userColor.r;
    glColor4fv(c);
    EXPECT_EQ(memcmp(&got[p].color, &gc->state.current.color, sizeof(GlColor)), 0) << p;
  }
}

TEST_F(EvalValues, NoVertexMapIssuesNoVertex) {
  EnableOnly1({__GL_EVAL_COLOR, __GL_EVAL_NORMAL});
  EnableOnly2({__GL_EVAL_COLOR, __GL_EVAL_TEXTURE2});
  EvalStream stream(gc);
  glEvalCoord1f(0.5f);
  glEvalCoord2f(0.5f, 0.5f);
  EXPECT_TRUE(stream.Take().empty());
}

class EvalIndex : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    Use(TestModes(false));
  }
};

TEST_F(EvalIndex, TheIndexMapGivesEachVertexItsIndexAndPutsTheOldOneBack) {
  glIndexf(9.0f);
  for (int dims : {1, 2}) {
    RefMap m;
    m.k = 1;
    m.uOrder = 6;
    m.vOrder = dims == 2 ? 4 : 1;
    m.u1 = 1, m.u2 = -1;
    m.points = SomePoints(m.uOrder * m.vOrder, 5u + unsigned(dims), 100.0);
    if (dims == 1) {
      Load1(GL_MAP1_INDEX, m);
      EnableOnly1({__GL_EVAL_INDEX, __GL_EVAL_COLOR, __GL_EVAL_VERTEX3});
    } else {
      Load2(GL_MAP2_INDEX, m);
      EnableOnly2({__GL_EVAL_INDEX, __GL_EVAL_COLOR, __GL_EVAL_VERTEX3});
    }
    const GlColor userBefore = gc->state.current.userColor;
    EvalStream stream(gc);
    gc->vcache.colorChanged = 0;
    for (double f : kFractions) {
      if (dims == 1)
        glEvalCoord1f(GLfloat(1 - 2 * f));
      else
        glEvalCoord2f(GLfloat(1 - 2 * f), GLfloat(f));
    }
    const std::vector<StreamItem> got = stream.TakeVertices();
    ASSERT_EQ(got.size(), std::size(kFractions));
    for (size_t p = 0; p < got.size(); ++p) {
      const double f = kFractions[p];
      EXPECT_NEAR(got[p].index, RefValue(m, 1 - 2 * f, f)[0], Tolerance(10) * 25) << dims << "-D";
      EXPECT_EQ(memcmp(&got[p].userColor, &userBefore, sizeof userBefore), 0)
          << "the colour map is not read in colour-index mode";
    }
    EXPECT_EQ(got.front().index, GLfloat(m.points[0]));
    EXPECT_EQ(gc->state.current.index, 9.0f);
    EXPECT_EQ(gc->vcache.colorChanged, 1);
  }
}

}  // namespace
}  // namespace eval_test

// Auto-normals: dp/du x dp/dv of the evaluated surface, unit length, by
// direction and sign, for planes and an exact sphere patch given as three-
// and four-component maps, over forward and reversed domains.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "tests/geometry/eval_maps/eval_fixture.h"

namespace eval_test {
namespace {

using Vec = std::vector<double>;

double Dot(const Vec &a, const Vec &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A plane through `origin` spanned by e1 and e2, with control points
// scattered near a regular grid of it; weights turn it into a 4-component
// map (homogeneous points) that describes the same plane.
RefMap Plane(int uOrder, int vOrder, const Vec &weights) {
  const Vec origin = {0.5, -1, 2}, e1 = {1, 0.25, -0.5}, e2 = {0.3, 1, 0.75};
  const Vec jitter = SomePoints(2 * uOrder * vOrder, 11u, 0.2);
  RefMap m;
  m.k = weights.empty() ? 3 : 4;
  m.uOrder = uOrder;
  m.vOrder = vOrder;
  for (int i = 0; i < uOrder; ++i)
    for (int j = 0; j < vOrder; ++j) {
      const size_t n = size_t(i * vOrder + j);
      const double x = i + jitter[2 * n], y = j + jitter[2 * n + 1];
      const double w = weights.empty() ? 1.0 : weights[n % weights.size()];
      for (int c = 0; c < 3; ++c)
        m.points.push_back(GLfloat(w * (origin[c] + x * e1[c] + y * e2[c])));
      if (m.k == 4) m.points.push_back(GLfloat(w));
    }
  return m;
}

// One eighth of the unit sphere, exactly: a quarter-circle profile (u) swept
// by a quarter-circle turn (v), both rational quadratics.
RefMap SphereOctant() {
  const double h = std::sqrt(0.5);
  const double profile[3][3] = {{1, 0, 1}, {1, 1, h}, {0, 1, 1}};  // r, z, weight
  const double turn[3][3] = {{1, 0, 1}, {1, 1, h}, {0, 1, 1}};     // x, y, weight
  RefMap m;
  m.k = 4;
  m.uOrder = m.vOrder = 3;
  for (const auto &p : profile)
    for (const auto &t : turn) {
      const double w = p[2] * t[2];
      for (double c : {p[0] * t[0], p[0] * t[1], p[1]}) m.points.push_back(GLfloat(w * c));
      m.points.push_back(GLfloat(w));
    }
  return m;
}

struct Surface {
  const char *name;
  std::function<RefMap()> make;
  bool sphere = false;
};

const Surface kSurfaces[] = {
    {"bilinear plane, 3 components", [] { return Plane(2, 2, {}); }},
    {"cubic-by-quadratic plane, 3 components", [] { return Plane(4, 3, {}); }},
    {"plane, 4 components with varied w", [] { return Plane(3, 3, {0.5, 2, 1.25, 0.75, 1.5}); }},
    {"plane, 4 components with w -2", [] { return Plane(2, 3, {-2}); }},
    {"sphere octant, 4 components", SphereOctant, true},
};

struct Domain {
  double u1, u2, v1, v2;
};
const Domain kDomains[] = {
    {0, 1, 0, 1}, {1, 0, 0, 1}, {0, 1, 1, 0}, {1, 0, 1, 0}, {-3, 5, 2, -4},
};

class AutoNormal : public EvalTest {};

TEST_F(AutoNormal, NormalsPointAlongDuCrossDvForEveryDomain) {
  // A normal map that must not be read.
  const GLfloat ignored[] = {7, 7, 7};
  glMap2f(GL_MAP2_NORMAL, 0, 1, 3, 1, 0, 1, 3, 1, ignored);
  glEnable(GL_AUTO_NORMAL);
  for (const Surface &s : kSurfaces) {
    for (const Domain &d : kDomains) {
      RefMap m = s.make();
      m.u1 = d.u1, m.u2 = d.u2, m.v1 = d.v1, m.v2 = d.v2;
      const GLenum target = m.k == 4 ? GL_MAP2_VERTEX_4 : GL_MAP2_VERTEX_3;
      Load2(target, m);
      EnableOnly2({int(target - GL_MAP2_COLOR_4), __GL_EVAL_NORMAL});
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      EvalStream stream(gc);
      std::vector<std::pair<double, double>> params;
      // The sphere's pole (profile end) has no normal; stay short of it.
      for (double fu : {0.0, 0.35, s.sphere ? 0.8 : 1.0})
        for (double fv : {0.0, 0.5, 1.0}) {
          const double pu = m.u1 + fu * (m.u2 - m.u1);
          const double pv = m.v1 + fv * (m.v2 - m.v1);
          params.emplace_back(GLfloat(pu), GLfloat(pv));
          glEvalCoord2f(GLfloat(pu), GLfloat(pv));
        }
      const std::vector<StreamItem> got = stream.TakeVertices();
      ASSERT_EQ(got.size(), params.size());
      for (size_t p = 0; p < got.size(); ++p) {
        const std::string label = std::string(s.name) + ", domain " + std::to_string(d.u1) + ".." +
                                  std::to_string(d.u2) + " x " + std::to_string(d.v1) + ".." +
                                  std::to_string(d.v2) + ", point " + std::to_string(p);
        const Vec n = {got[p].normal[0], got[p].normal[1], got[p].normal[2]};
        const Vec want = RefNormal(m, params[p].first, params[p].second);
        EXPECT_NEAR(std::sqrt(Dot(n, n)), 1.0, 1e-4) << label;
        EXPECT_GT(Dot(n, want), 1 - 1e-4) << label;
        if (s.sphere) {
          // On the unit sphere the normal runs along the point itself.
          const Vec at = {got[p].vertex[0] / got[p].vertex[3], got[p].vertex[1] / got[p].vertex[3],
                          got[p].vertex[2] / got[p].vertex[3]};
          EXPECT_NEAR(std::sqrt(Dot(at, at)), 1.0, 1e-5) << label;
          EXPECT_NEAR(std::fabs(Dot(n, at)), 1.0, 1e-4) << label;
        }
      }
    }
  }
  glDisable(GL_AUTO_NORMAL);
}

TEST_F(AutoNormal, ReversingOneDomainTurnsTheNormalAndReversingBothDoesNot) {
  glEnable(GL_AUTO_NORMAL);
  EnableOnly2({__GL_EVAL_VERTEX3});
  const GLfloat square[] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0};  // P(i, j) = (i, j, 0)
  struct Case {
    GLfloat u1, u2, v1, v2, z;
  } const cases[] = {{0, 1, 0, 1, 1}, {1, 0, 0, 1, -1}, {0, 1, 1, 0, -1}, {1, 0, 1, 0, 1}};
  for (const Case &c : cases) {
    glMap2f(GL_MAP2_VERTEX_3, c.u1, c.u2, 6, 2, c.v1, c.v2, 3, 2, square);
    EvalStream stream(gc);
    glEvalCoord2f(0.5f, 0.5f);
    const std::vector<StreamItem> got = stream.TakeVertices();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].normal[0], 0.0f);
    EXPECT_EQ(got[0].normal[1], 0.0f);
    EXPECT_EQ(got[0].normal[2], c.z) << c.u1 << ".." << c.u2 << " x " << c.v1 << ".." << c.v2;
  }
  glDisable(GL_AUTO_NORMAL);
}

TEST_F(AutoNormal, WithoutAutoNormalsTheNormalMapGivesTheNormal) {
  const GLfloat normals[] = {1, 2, 3, 5, 6, 7};
  glMap2f(GL_MAP2_NORMAL, 0, 1, 3, 2, 0, 1, 3, 1, normals);
  const GLfloat square[] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0};
  glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 2, square);
  EnableOnly2({__GL_EVAL_NORMAL, __GL_EVAL_VERTEX3});
  EvalStream stream(gc);
  glEvalCoord2f(1, 0);
  const std::vector<StreamItem> got = stream.TakeVertices();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(MapAttribute(got[0], __GL_EVAL_NORMAL), (std::vector<GLfloat>{5, 6, 7}));
}

}  // namespace
}  // namespace eval_test

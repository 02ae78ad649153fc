// Clipped geometry through glBegin / glEnd against the reference clipped in
// double precision (scene_clip_reference.h states the edge epsilon and why):
// an orthographic view clipped at its sides, near and far planes, a
// perspective view with vertices beside, behind and level with the eye, and
// user clip planes given under another modelview matrix.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_clip_reference.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

struct ClipPrimitive {
  GLenum mode;
  std::vector<ObjectVertex> v;
};

struct UserPlane {
  std::array<double, 4> equation;  // in object coordinates of `shift`
  std::array<double, 3> shift;     // the modelview translation in force
};

struct ClipCase {
  std::string name;
  bool perspective;
  bool smooth;
  bool depthTest;
  std::vector<UserPlane> planes;
  std::vector<ClipPrimitive> primitives;
};

// The perspective view: 64 x 48 pixels over a frustum of the same aspect.
constexpr double kNear = 1, kFar = 10;
Mat4 Projection(bool perspective) {
  return perspective ? Mat4::Frustum(-1, 1, -0.75, 0.75, kNear, kFar)
                     : Mat4::Ortho(0, kWidth, 0, kHeight, 0, -1);
}

ObjectVertex O(double x, double y, double z, double r, double g, double b, double a = 1) {
  return {x, y, z, {r, g, b, a}};
}

// Orthographic: object x, y are window pixels and z is window z, clipped
// where z leaves [0, 1].
std::vector<ClipPrimitive> SideClipped() {
  return {{GL_TRIANGLES,
           {O(-30.25, 10.5, 0.3, 1, 0, 0), O(40, -20.75, 0.6, 0, 1, 0),
            O(20.5, 30.25, 0.5, 0, 0, 1), O(50, 5, 0.2, 1, 1, 0), O(95.5, 20, 0.4, 0, 1, 1),
            O(60, 70.125, 0.7, 1, 0, 1), O(-10, 60, 0.9, 0.5, 0.5, 1), O(30, 35, 0.1, 1, 0.5, 0),
            O(-20, 20, 0.5, 0, 0.25, 0.75)}},
          {GL_TRIANGLE_STRIP,
           {O(-5, -5, 0.5, 1, 0, 0), O(70, -3, 0.5, 0, 1, 0), O(-4, 53, 0.5, 0, 0, 1),
            O(69, 52, 0.5, 1, 1, 0)}}};
}

// A plane through the near and far planes, colours affine on it: a polygon
// must be planar to have one image whatever its split into triangles.
ObjectVertex Planar(double x, double y) {
  return O(x, y, 1.75 - x / 32 - y / 64, 0.2 + x / 100, 0.1 + y / 60, 0.9 - x / 120 - y / 100);
}

std::vector<ClipPrimitive> NearFarClipped() {
  return {{GL_TRIANGLES,
           {O(4, 4, -0.5, 1, 0, 0), O(60, 10, 0.75, 0, 1, 0), O(20, 44, 1.5, 0, 0, 1),
            O(6, 40, 1.25, 1, 1, 0), O(58, 36, -0.25, 0, 1, 1), O(40, 3, 0.5, 1, 0, 1),
            O(30, 24, -2, 0.5, 0.5, 0.5), O(70, 50, 3, 0.25, 1, 0.5),
            O(-6, 46, 0.5, 1, 0.25, 0)}},
          {GL_POLYGON,
           {Planar(10, 2), Planar(40, 1), Planar(62, 24), Planar(34, 46), Planar(2, 30)}},
          {GL_QUADS,
           {O(-8, 12, 0.5, 0, 0, 0), O(72, 12, 0.5, 1, 0, 0), O(72, 30, 1.25, 1, 1, 0),
            O(-8, 30, 1.25, 0, 1, 0)}}};
}

// Eye coordinates (identity modelview): the eye at the origin looking down
// -z; the near plane at z = -1, the far one at z = -10.
std::vector<ClipPrimitive> PerspectiveClipped() {
  return {{GL_TRIANGLES,
           {// Through the near plane, one corner behind the eye.
            O(-0.5, -0.5, -2, 1, 0, 0), O(0.8, -0.2, -3, 0, 1, 0), O(0.1, 0.6, 1, 0, 0, 1),
            // One corner level with the eye (w = 0).
            O(-2, 0.25, -4, 1, 1, 0), O(-1, -1.5, -5, 0, 1, 1), O(-0.5, 0.5, 0, 1, 0, 1),
            // Wholly behind the eye: nothing.
            O(-1, -1, 2, 1, 1, 1), O(1, -1, 2, 1, 1, 1), O(0, 1, 3, 1, 1, 1),
            // Past the far plane on one side, beside the frustum on another.
            O(-3, 1, -14, 0.5, 0.5, 1), O(2, 2.5, -6, 1, 0.5, 0.5), O(0.5, -1, -8, 0.5, 1, 0.5),
            // Behind the eye and beyond the sides: a wedge through the view.
            O(-6, -4, 3, 0.25, 0.75, 0.5), O(6, -4, 3, 0.75, 0.25, 0.5),
            O(0, 3, -9, 0.5, 0.5, 0.25)}},
          {GL_QUADS,
           {O(-4, -2, -1.5, 0.3, 0.6, 0.9), O(4, -2, -1.5, 0.6, 0.9, 0.3),
            O(4, -2, 0.5, 0.9, 0.3, 0.6), O(-4, -2, 0.5, 0.2, 0.2, 0.2)}}};
}

std::vector<ClipCase> ClipCases() {
  std::vector<ClipCase> cases;
  cases.push_back({"orthographic, sides", false, true, false, {}, SideClipped()});
  cases.push_back({"orthographic, near and far, depth tested", false, true, true, {}, NearFarClipped()});
  cases.push_back({"orthographic, near and far, flat", false, false, true, {}, NearFarClipped()});
  cases.push_back({"perspective, behind the eye and beside the view", true, false, true, {},
                   PerspectiveClipped()});
  const UserPlane slant{{1, -0.5, 0, -20}, {5, 3, 0}};
  const UserPlane below{{-0.25, -1, 0, 30}, {-4, 2, 0}};
  const UserPlane depth{{0, 0, -1, 0.625}, {0, 0, 0}};
  cases.push_back({"user plane", false, true, false, {slant}, SideClipped()});
  cases.push_back({"two user planes and the near and far planes", false, true, true,
                   {slant, below, depth}, NearFarClipped()});
  const UserPlane eyeSlant{{1, 0.5, 0.25, 0.5}, {0.5, -0.25, 0}};
  cases.push_back({"perspective with a user plane", true, false, true, {eyeSlant},
                   PerspectiveClipped()});
  return cases;
}

class ClipTest : public SceneTest {
 protected:
  // The view, the planes and the primitives through the entries and into
  // the reference.
  void Draw(SceneReference *ref, const ClipCase &c) {
    SceneState s;
    s.smooth = c.smooth;
    s.depthTest = c.depthTest;
    Apply(s);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (c.perspective)
      glFrustum(-1, 1, -0.75, 0.75, kNear, kFar);
    else
      glOrtho(0, kWidth, 0, kHeight, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    ClipSetup setup;
    setup.projection = Projection(c.perspective);
    for (size_t i = 0; i < c.planes.size(); i++) {
      const UserPlane &u = c.planes[i];
      glLoadIdentity();
      glTranslated(u.shift[0], u.shift[1], u.shift[2]);
      const GLdouble eq[4] = {u.equation[0], u.equation[1], u.equation[2], u.equation[3]};
      glClipPlane(GLenum(GL_CLIP_PLANE0 + 2 * i), eq);
      glEnable(GLenum(GL_CLIP_PLANE0 + 2 * i));
      const std::array<double, 4> &e = u.equation;
      setup.eyePlanes.push_back(
          {e[0], e[1], e[2], e[3] - e[0] * u.shift[0] - e[1] * u.shift[1] - e[2] * u.shift[2]});
    }
    glLoadIdentity();
    const double indexScale = format.rgba ? 1 : IndexRange(format);
    uint64_t surface = 0;
    for (ClipPrimitive p : c.primitives) {
      for (ObjectVertex &v : p.v) v.c[0] *= indexScale;
      glBegin(p.mode);
      for (const ObjectVertex &v : p.v) SendVertex(v.x, v.y, v.z, v.c);
      glEnd();
      for (const TriangleIndexes &t : Decompose(p.mode, int32_t(p.v.size()))) {
        const ObjectVertex *tri[3] = {&p.v[t.a], &p.v[t.b], &p.v[t.c]};
        DrawClipped(ref, s, ClipTriangle(setup, tri, kWidth, kHeight), p.v[t.provoking],
                    ++surface);
      }
    }
    for (size_t i = 0; i < c.planes.size(); i++) glDisable(GLenum(GL_CLIP_PLANE0 + 2 * i));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
};

TEST_F(ClipTest, ClippedGeometryEqualsTheReferenceClippedInDouble) {
  const ColorFormat formats[] = {kRgbFormats[2], kRgbFormats[6], kIndexFormats[1]};
  for (const ClipCase &c : ClipCases())
    for (const ColorFormat &f : formats)
      for (bool inverted : {false, true}) {
        const std::string what = c.name + ", " + f.name + (inverted ? ", top-down" : "");
        SCOPED_TRACE(what);
        if (!Open(f, 24, inverted)) continue;
        SceneReference ref(Target());
        ClearAll(&ref);
        Draw(&ref, c);
        const int ambiguous = Compare(ref, what);
        // Only the outlines are left out.
        EXPECT_LT(ambiguous, kWidth * kHeight / 10) << what;
      }
}

}  // namespace
}  // namespace scene_test

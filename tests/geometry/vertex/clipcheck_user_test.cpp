// The clip checks in force with user clip planes: the plane codes, the eye
// coordinates they leave valid, the frustum codes against the reference, and
// the one contract on the `has` word.
#include <gtest/gtest.h>
#include <math.h>

#include "geometry/s_clipcheck.h"
#include "tests/geometry/vertex/clip_cases.h"
#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

class UserPlanes : public VertexTest {
 protected:
  void SetPlane(int i, const GLdouble (&eq)[4]) {
    glClipPlane(GL_CLIP_PLANE0 + i, eq);
    glEnable(GL_CLIP_PLANE0 + i);
  }
  void ClearPlanes() {
    for (int i = 0; i < 6; ++i) glDisable(GL_CLIP_PLANE0 + i);
  }
  // The vertex glVertex3f handed on.
  GlVertex Enter(GLfloat x, GLfloat y, GLfloat z) {
    Handed().clear();
    glVertex3f(x, y, z);
    EXPECT_EQ(Handed().size(), 1u);
    return Handed().empty() ? GlVertex{} : Handed().back();
  }
};

struct PlaneCase {
  const char *what;
  GLdouble eq[4];
  GLfloat vertex[3];
  bool outside;
};

const PlaneCase kPlaneCases[] = {
    {"in front", {1, 0, 0, 0}, {0.5f, 0, 0}, false},
    {"behind", {1, 0, 0, 0}, {-0.5f, 0, 0}, true},
    {"on the plane", {1, 0, 0, 0}, {0, 0.5f, 0}, false},
    {"on an offset plane", {0, 0, -1, 0.25}, {0, 0, 0.25f}, false},
    {"behind an offset plane", {0, 0, -1, 0.25}, {0, 0, 0.5f}, true},
    {"a slanted plane, in front", {1, 1, 1, 0}, {0.5f, -0.25f, -0.125f}, false},
    {"a slanted plane, behind", {1, 1, 1, 0}, {-0.5f, 0.25f, 0.125f}, true},
    {"a NaN vertex", {1, 0, 0, 1}, {NAN, 0, 0}, true},
    {"beyond the frustum, in front", {0, 1, 0, 0}, {3, 3, 0}, false},
};

TEST_F(UserPlanes, EachPlaneCodesTheVerticesBehindIt) {
  for (int i = 0; i < 6; ++i) {
    for (const PlaneCase &c : kPlaneCases) {
      SCOPED_TRACE(testing::Message() << "plane " << i << ": " << c.what);
      ClearPlanes();
      SetPlane(i, c.eq);
      Ready();
      const GlVertex v = Enter(c.vertex[0], c.vertex[1], c.vertex[2]);
      // The transform is not under test here: the frustum codes follow the
      // clip coordinates the vertex carries.
      const uint32_t frustum = FrustumCodes(ToVec(v.clip));
      const uint32_t plane = c.outside ? __GL_CLIP_USER0 << i : 0;
      EXPECT_EQ(v.has, __GL_HAS_SIZE3 | __GL_HAS_EYE | __GL_HAS_CLIP | frustum | plane);
    }
  }
}

TEST_F(UserPlanes, EveryEnabledPlaneAddsItsOwnCode) {
  SetPlane(0, {1, 0, 0, 0});    // x >= 0
  SetPlane(3, {0, 1, 0, 0});    // y >= 0
  SetPlane(5, {0, 0, 1, 0.5});  // z >= -0.5
  Ready();
  struct {
    GLfloat x, y, z;
    uint32_t codes;
  } const kCases[] = {
      {0.5f, 0.5f, 0, 0},
      {-0.5f, 0.5f, 0, __GL_CLIP_USER0},
      {0.5f, -0.5f, 0, __GL_CLIP_USER0 << 3},
      {-0.5f, -0.5f, -0.75f, __GL_CLIP_USER0 | __GL_CLIP_USER0 << 3 | __GL_CLIP_USER0 << 5},
  };
  for (const auto &c : kCases) {
    const GlVertex v = Enter(c.x, c.y, c.z);
    EXPECT_EQ(v.has & 0xFFC00000u, c.codes) << c.x << ", " << c.y << ", " << c.z;
  }
}

// Planes are kept in eye space; the vertex's eye coordinates, valid right
// after the entry, are what they are tested against.
TEST_F(UserPlanes, EyeCoordinatesAreValidAfterTheEntry) {
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0.5f, -0.25f, -2);
  glRotatef(40, 0.3f, 1, 0.2f);
  SetPlane(2, {0.6, -0.8, 0, 0.1});
  glScalef(1.5f, 0.5f, 2);
  Ready();
  const GLfloat *mv = gc->transform.modelView->matrix.matrix;
  const GlCoord plane = gc->state.transform.eyeClipPlanes[2];
  const GLfloat kVertices[][3] = {
      {0, 0, 0}, {1, 2, 3}, {-1, 0.5f, 0.25f}, {2, -2, 1}, {0.3f, 0.7f, -1}};
  for (const auto &p : kVertices) {
    SCOPED_TRACE(testing::Message() << p[0] << ", " << p[1] << ", " << p[2]);
    const GlVertex v = Enter(p[0], p[1], p[2]);
    const Vec4 eye = Transform(mv, {p[0], p[1], p[2], 1});
    EXPECT_TRUE(v.has & __GL_HAS_EYE);
    EXPECT_TRUE(Close(v.eye.x, eye.x, 1e-6) && Close(v.eye.y, eye.y, 1e-6) &&
                Close(v.eye.z, eye.z, 1e-6) && Close(v.eye.w, eye.w, 1e-6))
        << v.eye.x << " " << v.eye.y << " " << v.eye.z << " " << v.eye.w;
    const double distance = plane.x * eye.x + plane.y * eye.y + plane.z * eye.z + plane.w * eye.w;
    ASSERT_GT(fabs(distance), 1e-4) << "a vertex too near the plane to decide";
    EXPECT_EQ((v.has & __GL_CLIP_USER0 << 2) != 0, distance < 0) << distance;
  }
}

// With a plane every vertex passes, the frustum codes are the reference check's
// for every size class.
TEST_F(UserPlanes, TheFrustumCodesAgreeWithTheReference) {
  SetPlane(4, {0, 0, 0, 1});
  Ready();
  const struct {
    uint32_t (*check)(GlContext *, GlVertex *);
    uint32_t sizeClass;
  } kChecks[] = {{__glClipCheckAll2, __GL_HAS_SIZE2},
                 {__glClipCheckAll3, __GL_HAS_SIZE3},
                 {__glClipCheckAll4, __GL_HAS_SIZE4}};
  for (const auto &k : kChecks) {
    for (const ClipCase &c : kClipCases) {
      SCOPED_TRACE(testing::Message() << c.what << ", class " << (k.sizeClass >> 14) + 1);
      GlVertex a{}, b{};
      a.obj = b.obj = {0, 0, 0, 1};
      a.clip = b.clip = c.clip;
      a.window = b.window = {-7, -7, -7, -7};
      a.has = b.has = k.sizeClass;
      const uint32_t all = k.check(gc, &a);
      const uint32_t frustum = __glClipCheckFrustum(gc, &b);
      EXPECT_EQ(all, k.sizeClass | __GL_HAS_EYE | __GL_HAS_CLIP | frustum);
      EXPECT_TRUE(Same(a.window.w, b.window.w));
      if (frustum) continue;
      EXPECT_TRUE(Same(a.window.x, b.window.x) && Same(a.window.y, b.window.y) &&
                  Same(a.window.z, b.window.z));
    }
  }
}

// ---- The `has` contract ----

typedef uint32_t (*Check)(GlContext *, GlVertex *);

struct HasCase {
  const char *what;
  Check check;
  uint32_t earlier;
  uint32_t sizeClass;
};

const HasCase kHasCases[] = {
    {"nothing before, 2", __glClipCheckAll2, 0, __GL_HAS_SIZE2},
    {"nothing before, 3", __glClipCheckAll3, 0, __GL_HAS_SIZE3},
    {"nothing before, 4", __glClipCheckAll4, 0, __GL_HAS_SIZE4},
    {"edge flag and colours survive", __glClipCheckAll3,
     __GL_HAS_SIZE3 | __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR,
     __GL_HAS_SIZE3},
    {"the cull bit survives", __glClipCheckAll4, __GL_HAS_CULLED | __GL_HAS_TEXTURE,
     __GL_HAS_SIZE4},
    {"the size class is replaced", __glClipCheckAll2, __GL_HAS_SIZE4 | __GL_HAS_EDGEFLAG_BOUNDARY,
     __GL_HAS_SIZE2},
    {"earlier codes are dropped", __glClipCheckAll3, 0xFFFF0000u | __GL_HAS_FOG, __GL_HAS_SIZE3},
};

TEST_F(UserPlanes, TheCheckKeepsTheLowBitsAndReplacesOnlyTheSizeClass) {
  SetPlane(1, {1, 0, 0, 0});  // x >= 0
  Ready();
  for (const HasCase &c : kHasCases) {
    SCOPED_TRACE(c.what);
    GlVertex v{};
    v.obj = {-0.5f, 0.25f, 7, 7};  // z and w as an earlier vertex left them
    v.clip = {-0.5f, 0.25f, 0, 1};
    v.has = c.earlier;
    const uint32_t result = c.check(gc, &v);
    const uint32_t kept = (c.earlier & 0x3FFFu) | c.sizeClass | __GL_HAS_EYE | __GL_HAS_CLIP;
    EXPECT_EQ(v.has, kept) << std::hex << v.has;
    EXPECT_EQ(result, kept | __GL_CLIP_USER0 << 1) << std::hex << result;
    // What the class promises of the missing coordinates.
    EXPECT_EQ(v.obj.z, c.sizeClass == __GL_HAS_SIZE2 ? 0.0f : 7.0f);
    EXPECT_EQ(v.obj.w, c.sizeClass == __GL_HAS_SIZE4 ? 7.0f : 1.0f);
  }
}

TEST_F(UserPlanes, TheEntryLeavesNothingOfTheSlotsEarlierVertex) {
  SetPlane(0, {0, 1, 0, 0});  // y >= 0
  Ready();
  for (GlVertex &slot : gc->vertexBuffer.slots) {
    slot.has = 0xFFFFFFFFu;
    slot.eye = {99, 99, 99, 99};
  }
  const GlVertex v = Enter(0.25f, -0.5f, 0.5f);
  EXPECT_EQ(v.has, __GL_HAS_SIZE3 | __GL_HAS_EYE | __GL_HAS_CLIP | __GL_CLIP_USER0)
      << std::hex << v.has;
  EXPECT_EQ(v.eye.y, -0.5f) << "computed afresh";
}

}  // namespace
}  // namespace vertex_test

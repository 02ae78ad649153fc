// Every glRasterPos form against the double-precision reference: object
// coordinates as the form converts them, clip, eye and window coordinates
// and depth of a perspective scene; and every form refused inside
// glBegin/glEnd with the raster position left as it was.
#include <gtest/gtest.h>

#include <math.h>

#include <vector>

#include "geometry/s_clipcheck.h"
#include "tests/rpos/rpos_fixture.h"

namespace rpos_test {
namespace {

enum class Type { kDouble, kFloat, kInt, kShort };

struct Form {
  const char *name;
  int count;
  Type type;
  void (*call)(const double *p);
};

#define F(p) GLfloat(p)
#define I(p) GLint(p)
#define S(p) GLshort(p)
const Form kForms[] = {
    {"glRasterPos2d", 2, Type::kDouble, [](const double *p) { glRasterPos2d(p[0], p[1]); }},
    {"glRasterPos2dv", 2, Type::kDouble, [](const double *p) { glRasterPos2dv(p); }},
    {"glRasterPos2f", 2, Type::kFloat, [](const double *p) { glRasterPos2f(F(p[0]), F(p[1])); }},
    {"glRasterPos2fv", 2, Type::kFloat,
     [](const double *p) {
       const GLfloat v[] = {F(p[0]), F(p[1])};
       glRasterPos2fv(v);
     }},
    {"glRasterPos2i", 2, Type::kInt, [](const double *p) { glRasterPos2i(I(p[0]), I(p[1])); }},
    {"glRasterPos2iv", 2, Type::kInt,
     [](const double *p) {
       const GLint v[] = {I(p[0]), I(p[1])};
       glRasterPos2iv(v);
     }},
    {"glRasterPos2s", 2, Type::kShort, [](const double *p) { glRasterPos2s(S(p[0]), S(p[1])); }},
    {"glRasterPos2sv", 2, Type::kShort,
     [](const double *p) {
       const GLshort v[] = {S(p[0]), S(p[1])};
       glRasterPos2sv(v);
     }},
    {"glRasterPos3d", 3, Type::kDouble, [](const double *p) { glRasterPos3d(p[0], p[1], p[2]); }},
    {"glRasterPos3dv", 3, Type::kDouble, [](const double *p) { glRasterPos3dv(p); }},
    {"glRasterPos3f", 3, Type::kFloat,
     [](const double *p) { glRasterPos3f(F(p[0]), F(p[1]), F(p[2])); }},
    {"glRasterPos3fv", 3, Type::kFloat,
     [](const double *p) {
       const GLfloat v[] = {F(p[0]), F(p[1]), F(p[2])};
       glRasterPos3fv(v);
     }},
    {"glRasterPos3i", 3, Type::kInt,
     [](const double *p) { glRasterPos3i(I(p[0]), I(p[1]), I(p[2])); }},
    {"glRasterPos3iv", 3, Type::kInt,
     [](const double *p) {
       const GLint v[] = {I(p[0]), I(p[1]), I(p[2])};
       glRasterPos3iv(v);
     }},
    {"glRasterPos3s", 3, Type::kShort,
     [](const double *p) { glRasterPos3s(S(p[0]), S(p[1]), S(p[2])); }},
    {"glRasterPos3sv", 3, Type::kShort,
     [](const double *p) {
       const GLshort v[] = {S(p[0]), S(p[1]), S(p[2])};
       glRasterPos3sv(v);
     }},
    {"glRasterPos4d", 4, Type::kDouble,
     [](const double *p) { glRasterPos4d(p[0], p[1], p[2], p[3]); }},
    {"glRasterPos4dv", 4, Type::kDouble, [](const double *p) { glRasterPos4dv(p); }},
    {"glRasterPos4f", 4, Type::kFloat,
     [](const double *p) { glRasterPos4f(F(p[0]), F(p[1]), F(p[2]), F(p[3])); }},
    {"glRasterPos4fv", 4, Type::kFloat,
     [](const double *p) {
       const GLfloat v[] = {F(p[0]), F(p[1]), F(p[2]), F(p[3])};
       glRasterPos4fv(v);
     }},
    {"glRasterPos4i", 4, Type::kInt,
     [](const double *p) { glRasterPos4i(I(p[0]), I(p[1]), I(p[2]), I(p[3])); }},
    {"glRasterPos4iv", 4, Type::kInt,
     [](const double *p) {
       const GLint v[] = {I(p[0]), I(p[1]), I(p[2]), I(p[3])};
       glRasterPos4iv(v);
     }},
    {"glRasterPos4s", 4, Type::kShort,
     [](const double *p) { glRasterPos4s(S(p[0]), S(p[1]), S(p[2]), S(p[3])); }},
    {"glRasterPos4sv", 4, Type::kShort,
     [](const double *p) {
       const GLshort v[] = {S(p[0]), S(p[1]), S(p[2]), S(p[3])};
       glRasterPos4sv(v);
     }},
};
#undef F
#undef I
#undef S

// Positions inside the scene's volume: whole numbers every form takes as
// they are, and fractions the double forms round to float.
const double kWholePoints[][4] = {{3, -2, 4, 2}, {-5, 5, -5, 1}, {0, 0, 0, 1}, {1, 2, -3, 3}};
const double kFractionPoints[][4] = {
    {1.0 / 3, -2.6, 1.7, 1.25}, {4.9, 0.1, -4.99, 0.75}, {-0.001, 1e-7, 2.0 / 3, 1.0 / 7}};

// The object coordinates the form hands on: the rest of (x, y, 0, 1).
void ObjectOf(const Form &f, const double *p, double obj[4]) {
  obj[0] = p[0];
  obj[1] = p[1];
  obj[2] = f.count > 2 ? p[2] : 0.0;
  obj[3] = f.count > 3 ? p[3] : 1.0;
  for (int i = 0; i < 4; ++i) obj[i] = double(GLfloat(obj[i]));  // every form ends as floats
}

double Tolerance(double scale, double value) { return scale * (1 + fabs(value)); }

class RasterPosEntries : public RasterPosTest {
 protected:
  void Check(const Form &f, const double *p) {
    double obj[4];
    ObjectOf(f, p, obj);
    const double normal[3] = {0, 0, 1};
    const Expected e = Reference(gc, kPerspective, obj, normal);
    ASSERT_TRUE(e.valid) << "the reference puts every case inside";
    f.call(p);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(valid());
    const GlVertex &v = raster();
    const GLfloat *got = &v.obj.x;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], GLfloat(obj[i])) << "obj " << i;
    const GLfloat *clip = &v.clip.x, *eye = &v.eye.x, *window = &v.window.x;
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(clip[i], e.clip[i], Tolerance(2e-6, e.clip[i])) << "clip " << i;
      EXPECT_NEAR(eye[i], e.eye[i], Tolerance(2e-6, e.eye[i])) << "eye " << i;
    }
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(window[i], e.window[i], Tolerance(2e-6, e.window[i])) << "window " << i;
    EXPECT_NEAR(v.window.w, 1.0 / e.clip[3], Tolerance(2e-6, 1.0 / e.clip[3])) << "1/w";
    EXPECT_EQ(v.has & 0xFFFF0000u, 0u);
  }
};

TEST_F(RasterPosEntries, EveryFormMatchesTheReference) {
  LoadScene(kPerspective);
  for (const Form &f : kForms) {
    SCOPED_TRACE(f.name);
    for (const auto &p : kWholePoints) Check(f, p);
    if (f.type == Type::kDouble || f.type == Type::kFloat)
      for (const auto &p : kFractionPoints) Check(f, p);
  }
}

// The 2-coordinate forms under a composite that keeps z inside take the
// clip check without division; the result must not differ.
TEST_F(RasterPosEntries, TheFlatSceneMatchesTheReference) {
  // glOrtho(-4, 6, -5, 3, -1, 3) under the identity: the composite's type
  // promises x and y independent of z.
  Scene flat = kPerspective;
  const GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const GLfloat ortho[16] = {0.2f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, -0.5f, 0, -0.2f, 0.25f, -0.5f, 1};
  memcpy(flat.modelView, identity, sizeof identity);
  memcpy(flat.projection, ortho, sizeof ortho);
  LoadScene(flat);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-4, 6, -5, 3, -1, 3);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  ValidatePending();
  ASSERT_EQ(gc->procs.clipCheck[0], __glClipCheckFrustum2D);
  const double points[][4] = {{3, -2, 0, 1}, {-3.5, 2.5, 0, 1}, {1.0 / 3, 0.1, 0, 1}};
  for (const auto &p : points) {
    double obj[4];
    ObjectOf(kForms[0], p, obj);
    const double normal[3] = {0, 0, 1};
    const Expected e = Reference(gc, flat, obj, normal);
    ASSERT_TRUE(e.valid);
    glRasterPos2d(p[0], p[1]);
    ASSERT_TRUE(valid());
    const GLfloat *window = &raster().window.x;
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(window[i], e.window[i], Tolerance(2e-6, e.window[i])) << "window " << i;
  }
}

// Inside glBegin/glEnd every form is refused and the position stays whole.
TEST_F(RasterPosEntries, EveryFormIsRefusedInsideBegin) {
  LoadScene(kPerspective);
  glRasterPos3f(1, 1, 1);
  ASSERT_TRUE(valid());
  const GlVertex before = raster();
  const double p[] = {-2, 3, 1, 1};
  for (const Form &f : kForms) {
    SCOPED_TRACE(f.name);
    glBegin(GL_POINTS);
    f.call(p);
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_TRUE(Same(raster(), before));
    EXPECT_TRUE(valid());
  }
}

}  // namespace
}  // namespace rpos_test

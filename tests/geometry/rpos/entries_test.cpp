// Every glRasterPos form against the double-precision reference: object
// coordinates as the form converts them, clip, eye and window coordinates
// and depth of a perspective scene; and every form refused inside
// glBegin/glEnd with the raster position left as it was.
#include <gtest/gtest.h>

#include <math.h>

#include <utility>
#include <vector>

#include "geometry/s_clipcheck.h"
#include "tests/geometry/rpos/rpos_fixture.h"

namespace rpos_test {
namespace {

enum class Type { kDouble, kFloat, kInt, kShort };

struct Form {
  const char *name;
  int count;
  Type type;
  void (*call)(const double *p);
};

// Calls `entry` with the first N of p converted to T, one by one or as an
// array.
template <typename T, typename Entry, size_t... I>
void Spread(Entry entry, const double *p, std::index_sequence<I...>) {
  entry(T(p[I])...);
}
template <typename T, int N, typename Entry>
void Scalars(Entry entry, const double *p) {
  Spread<T>(entry, p, std::make_index_sequence<N>());
}
template <typename T, int N, typename Entry>
void Array(Entry entry, const double *p) {
  T v[N];
  for (int i = 0; i < N; ++i) v[i] = T(p[i]);
  entry(v);
}

// The scalar and the array form of one count and type.
#define FORMS(n, suffix, T, type)                                          \
  {"glRasterPos" #n #suffix, n, type,                                      \
   [](const double *p) { Scalars<T, n>(glRasterPos##n##suffix, p); }},     \
  {"glRasterPos" #n #suffix "v", n, type,                                  \
   [](const double *p) { Array<T, n>(glRasterPos##n##suffix##v, p); }}
const Form kForms[] = {
    FORMS(2, d, GLdouble, Type::kDouble), FORMS(2, f, GLfloat, Type::kFloat),
    FORMS(2, i, GLint, Type::kInt),       FORMS(2, s, GLshort, Type::kShort),
    FORMS(3, d, GLdouble, Type::kDouble), FORMS(3, f, GLfloat, Type::kFloat),
    FORMS(3, i, GLint, Type::kInt),       FORMS(3, s, GLshort, Type::kShort),
    FORMS(4, d, GLdouble, Type::kDouble), FORMS(4, f, GLfloat, Type::kFloat),
    FORMS(4, i, GLint, Type::kInt),       FORMS(4, s, GLshort, Type::kShort),
};
#undef FORMS

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

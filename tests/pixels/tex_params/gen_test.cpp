// glTexGen: the modes by coordinate, the planes in every form, and the eye
// plane taken through the inverse of the model-view matrix in force.
#include <vector>

#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

TEST_F(TexParamTest, GenModesByCoordinate) {
  const struct {
    GLenum coord;
    GLenum mode;
    bool accepted;
  } cases[] = {
      {GL_S, GL_SPHERE_MAP, true},     {GL_T, GL_SPHERE_MAP, true},
      {GL_R, GL_SPHERE_MAP, false},    {GL_Q, GL_SPHERE_MAP, false},
      {GL_R, GL_OBJECT_LINEAR, true},  {GL_Q, GL_EYE_LINEAR, true},
      {GL_S, GL_OBJECT_LINEAR, true},  {GL_T, GL_LINEAR, false},
      {GL_S, GL_SPHERE_MAP + 1, false}, {GL_Q, 0, false},
  };
  for (const auto &c : cases) {
    for (int form = 0; form < 6; ++form) {
      SCOPED_TRACE(testing::Message() << "coord 0x" << std::hex << c.coord << " mode 0x"
                                      << c.mode << " form " << std::dec << form);
      const int index = int(c.coord - GL_S);
      Gen(index).mode = GL_EYE_LINEAR;
      Settle();
      const GLfloat f = GLfloat(c.mode);
      const GLdouble d = GLdouble(c.mode);
      const GLint i = GLint(c.mode);
      switch (form) {
        case 0: glTexGenf(c.coord, GL_TEXTURE_GEN_MODE, f); break;
        case 1: glTexGend(c.coord, GL_TEXTURE_GEN_MODE, d); break;
        case 2: glTexGeni(c.coord, GL_TEXTURE_GEN_MODE, i); break;
        case 3: glTexGenfv(c.coord, GL_TEXTURE_GEN_MODE, &f); break;
        case 4: glTexGendv(c.coord, GL_TEXTURE_GEN_MODE, &d); break;
        default: glTexGeniv(c.coord, GL_TEXTURE_GEN_MODE, &i); break;
      }
      EXPECT_EQ(Error(), c.accepted ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_ENUM));
      EXPECT_EQ(Gen(index).mode, c.accepted ? c.mode : GLenum(GL_EYE_LINEAR));
      EXPECT_EQ(Marked(), c.accepted);
    }
  }
  glTexGend(GL_S, GL_TEXTURE_GEN_MODE, GLdouble(GL_OBJECT_LINEAR) + 0.5);
  EXPECT_EQ(Gen(0).mode, GLenum(GL_OBJECT_LINEAR));
}

TEST_F(TexParamTest, GenRefusesCoordinatesNamesAndScalarPlanes) {
  const GLfloat plane[4] = {1, 2, 3, 4};
  struct {
    const char *what;
    void (*call)(const GLfloat *);
    GLenum error;
  } cases[] = {
      {"coordinate after Q",
       [](const GLfloat *p) { glTexGenfv(GL_Q + 1, GL_OBJECT_PLANE, p); }, GL_INVALID_ENUM},
      {"coordinate before S",
       [](const GLfloat *p) { glTexGenfv(GL_S - 1, GL_OBJECT_PLANE, p); }, GL_INVALID_ENUM},
      {"unknown name", [](const GLfloat *p) { glTexGenfv(GL_S, GL_TEXTURE_ENV_COLOR, p); },
       GL_INVALID_ENUM},
      {"plane through f", [](const GLfloat *) { glTexGenf(GL_S, GL_OBJECT_PLANE, 1.0f); },
       GL_INVALID_ENUM},
      {"plane through d", [](const GLfloat *) { glTexGend(GL_S, GL_EYE_PLANE, 1.0); },
       GL_INVALID_ENUM},
      {"plane through i", [](const GLfloat *) { glTexGeni(GL_S, GL_OBJECT_PLANE, 1); },
       GL_INVALID_ENUM},
      {"inside glBegin",
       [](const GLfloat *p) {
         glBegin(GL_POINTS);
         glTexGenfv(GL_S, GL_OBJECT_PLANE, p);
         glEnd();
       },
       GL_INVALID_OPERATION},
  };
  for (const auto &c : cases) {
    c.call(plane);
    EXPECT_EQ(Error(), c.error) << c.what;
    EXPECT_EQ(Gen(0).objectPlane.x, 1.0f) << c.what;
    EXPECT_EQ(Gen(0).objectPlane.y, 0.0f) << c.what;
  }
  glTexGenfv(GL_S, GL_EYE_PLANE, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
}

TEST_F(TexParamTest, ObjectPlaneIsStoredAsGivenInEveryForm) {
  const GLfloat f[4] = {0.5f, -1.5f, 2.5f, 3.0f};
  const GLdouble d[4] = {0.5, -1.5, 2.5, 3.0};
  const GLint i[4] = {1, -2, 3, 4};
  glTexGenfv(GL_S, GL_OBJECT_PLANE, f);
  glTexGendv(GL_R, GL_OBJECT_PLANE, d);
  glTexGeniv(GL_Q, GL_OBJECT_PLANE, i);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  const GlCoord &s = Gen(0).objectPlane, &r = Gen(2).objectPlane, &q = Gen(3).objectPlane;
  EXPECT_EQ((std::vector<GLfloat>{s.x, s.y, s.z, s.w}), (std::vector<GLfloat>{0.5f, -1.5f, 2.5f, 3}));
  EXPECT_EQ((std::vector<GLfloat>{r.x, r.y, r.z, r.w}), (std::vector<GLfloat>{0.5f, -1.5f, 2.5f, 3}));
  EXPECT_EQ((std::vector<GLfloat>{q.x, q.y, q.z, q.w}), (std::vector<GLfloat>{1, -2, 3, 4}));
  // The model-view matrix plays no part in the object plane.
  glTranslatef(5, 6, 7);
  glTexGenfv(GL_T, GL_OBJECT_PLANE, f);
  EXPECT_EQ(Gen(1).objectPlane.w, 3.0f);
}

// The eye plane p is kept as p M^-1 for the M in force: a point at eye
// position M v then gives the same value as v gives with p.
TEST_F(TexParamTest, EyePlaneIsStoredTransformedAndKept) {
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(2, 3, 4);
  glScalef(2, 1, 1);
  const GLdouble plane[4] = {1, 2, 3, 4};
  glTexGendv(GL_T, GL_EYE_PLANE, plane);
  ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
  // M^-1 for M = T(2,3,4) S(2,1,1): x' = (x-2)/2, y' = y-3, z' = z-4.
  // p M^-1 = (1/2, 2, 3, 4 - 1 - 6 - 12).
  const GlCoord &e = Gen(1).eyePlane;
  EXPECT_FLOAT_EQ(e.x, 0.5f);
  EXPECT_FLOAT_EQ(e.y, 2.0f);
  EXPECT_FLOAT_EQ(e.z, 3.0f);
  EXPECT_FLOAT_EQ(e.w, -15.0f);
  GLfloat back[4];
  glGetTexGenfv(GL_T, GL_EYE_PLANE, back);
  EXPECT_FLOAT_EQ(back[3], -15.0f);
  // A later matrix change leaves it, and the next plane sees the new matrix.
  glLoadIdentity();
  EXPECT_FLOAT_EQ(Gen(1).eyePlane.w, -15.0f);
  glTexGendv(GL_S, GL_EYE_PLANE, plane);
  EXPECT_FLOAT_EQ(Gen(0).eyePlane.x, 1.0f);
  EXPECT_FLOAT_EQ(Gen(0).eyePlane.w, 4.0f);
}

}  // namespace
}  // namespace tex_param_test

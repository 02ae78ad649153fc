// Object-linear, eye-linear, sphere-map and mixed generation through a
// general texture matrix, against the same rules in double precision.
#include <math.h>

#include <array>

#include "pixels/px_texgen.h"
#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

using Vec4 = std::array<double, 4>;

constexpr uint32_t S = __GL_TEXTURE_GEN_S_ENABLE, T = __GL_TEXTURE_GEN_T_ENABLE,
                   R = __GL_TEXTURE_GEN_R_ENABLE, Q = __GL_TEXTURE_GEN_Q_ENABLE;
constexpr GLenum kEye = GL_EYE_LINEAR, kObj = GL_OBJECT_LINEAR, kSph = GL_SPHERE_MAP;

const GLdouble kObjectPlanes[4][4] = {
    {0.5, -1, 2, 0.25}, {-0.75, 0.5, 1, -2}, {1, 1, -0.5, 3}, {0.125, -0.5, 0.25, 1}};
const GLdouble kEyePlanes[4][4] = {
    {1, 0.5, -0.25, 2}, {0.25, -1, 0.75, -1}, {-2, 0.5, 1, 0.5}, {0.5, 0.25, -1, 4}};
// Column-major, with a projective row so that q mixes into every output.
const GLdouble kTextureMatrix[16] = {1.5, 0.25, -0.5, 0.125, -0.25, 0.75, 0.5, 0.25,
                                     0.5,  -1,   2,    -0.5,  0.3,   -0.2, 0.1, 1.25};

struct VertexIn {
  Vec4 obj, eye, normal, tex;
};

const VertexIn kVertices[] = {
    {{1, 2, 3, 1}, {0.5, -1, -4, 1}, {0, 0, 1, 0}, {0.25, 0.75, 0.5, 1}},
    {{-2.5, 0.5, 1, 2}, {3, 2, -1, 1.5}, {0.6, 0, 0.8, 0}, {-1, 2, 3, 0.5}},
    {{0, 0, 0, 1}, {-0.2, 0.3, -2, 1}, {0.267261, 0.534522, 0.801784, 0}, {1, 1, 1, 1}},
};

double Dot4(const GLdouble *p, const Vec4 &v) {
  return p[0] * v[0] + p[1] * v[1] + p[2] * v[2] + p[3] * v[3];
}

// The rule written out: the reflected unit eye vector on the unit square.
void Sphere(const VertexIn &v, double *s, double *t) {
  const double len = sqrt(v.eye[0] * v.eye[0] + v.eye[1] * v.eye[1] + v.eye[2] * v.eye[2]);
  const double u[3] = {v.eye[0] / len, v.eye[1] / len, v.eye[2] / len};
  const double d = u[0] * v.normal[0] + u[1] * v.normal[1] + u[2] * v.normal[2];
  const double r[3] = {u[0] - 2 * d * v.normal[0], u[1] - 2 * d * v.normal[1],
                       u[2] - 2 * d * v.normal[2] + 1};
  const double m = 2 * sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
  *s = m == 0 ? 0.5 : r[0] / m + 0.5;
  *t = m == 0 ? 0.5 : r[1] / m + 0.5;
}

Vec4 Reference(const VertexIn &v, uint32_t enables, const GLenum modes[4]) {
  const uint32_t bits[4] = {S, T, R, Q};
  Vec4 str = v.tex;
  double sphere[2];
  Sphere(v, &sphere[0], &sphere[1]);
  for (int c = 0; c < 4; ++c) {
    if (!(enables & bits[c])) continue;
    if (modes[c] == kObj) str[c] = Dot4(kObjectPlanes[c], v.obj);
    if (modes[c] == kEye) str[c] = Dot4(kEyePlanes[c], v.eye);
    if (modes[c] == kSph) str[c] = sphere[c];
  }
  Vec4 out{};
  for (int row = 0; row < 4; ++row)
    for (int k = 0; k < 4; ++k) out[row] += kTextureMatrix[k * 4 + row] * str[k];
  return out;
}

class TexCoordTest : public TexParamTest {
 protected:
  void SetUp() override {
    TexParamTest::SetUp();
    for (int c = 0; c < 4; ++c) {
      glTexGendv(GL_S + c, GL_OBJECT_PLANE, kObjectPlanes[c]);
      glTexGendv(GL_S + c, GL_EYE_PLANE, kEyePlanes[c]);  // identity model-view
    }
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixd(kTextureMatrix);
    glMatrixMode(GL_MODELVIEW);
  }
  static GlVertex Make(const VertexIn &in) {
    GlVertex v{};
    v.obj = {GLfloat(in.obj[0]), GLfloat(in.obj[1]), GLfloat(in.obj[2]), GLfloat(in.obj[3])};
    v.eye = {GLfloat(in.eye[0]), GLfloat(in.eye[1]), GLfloat(in.eye[2]), GLfloat(in.eye[3])};
    v.normal = {GLfloat(in.normal[0]), GLfloat(in.normal[1]), GLfloat(in.normal[2]), 0};
    v.texture = {GLfloat(in.tex[0]), GLfloat(in.tex[1]), GLfloat(in.tex[2]), GLfloat(in.tex[3])};
    return v;
  }
  static void ExpectNear(const GlVertex &v, const Vec4 &want) {
    const GLfloat got[4] = {v.texture.x, v.texture.y, v.texture.z, v.texture.w};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 2e-5 * (1 + fabs(want[i]))) << i;
  }
};

TEST_F(TexCoordTest, PickedAndMixedProceduresMatchTheReference) {
  struct Case {
    const char *what;
    uint32_t enables;
    GLenum modes[4];
    GlVertexProc picked;
  } cases[] = {
      {"none", 0, {kEye, kEye, kEye, kEye}, __glCalcTexture},
      {"object s t", S | T, {kObj, kObj, kEye, kEye}, __glCalcObjectLinear},
      {"eye s t", S | T, {kEye, kEye, kObj, kObj}, __glCalcEyeLinear},
      {"sphere s t", S | T, {kSph, kSph, kEye, kEye}, __glCalcSphereMap},
      {"object s, eye t", S | T, {kObj, kEye, kEye, kEye}, __glCalcMixedTexture},
      {"sphere s, object t", S | T, {kSph, kObj, kEye, kEye}, __glCalcMixedTexture},
      {"sphere t alone", T, {kObj, kSph, kEye, kEye}, __glCalcMixedTexture},
      {"all four", S | T | R | Q, {kEye, kSph, kObj, kEye}, __glCalcMixedTexture},
      {"r and q only", R | Q, {kSph, kSph, kEye, kObj}, __glCalcMixedTexture},
  };
  for (const Case &c : cases) {
    for (int coord = 0; coord < 4; ++coord) Gen(coord).mode = c.modes[coord];
    gc->state.enables.texture = c.enables;
    gc->dirtyMask |= __GL_DIRTY_ALL;
    gc->beginMode = __GL_VALIDATE_PENDING;
    Validate();
    ASSERT_EQ(gc->procs.calcTexture, c.picked) << c.what;
    for (size_t i = 0; i < std::size(kVertices); ++i) {
      SCOPED_TRACE(testing::Message() << c.what << " vertex " << i);
      const Vec4 want = Reference(kVertices[i], c.enables, c.modes);
      GlVertex v = Make(kVertices[i]);
      gc->procs.calcTexture(gc, &v);
      ExpectNear(v, want);
      GlVertex mixed = Make(kVertices[i]);
      __glCalcMixedTexture(gc, &mixed);
      ExpectNear(mixed, want);
    }
  }
}

// Straight back along the normal: the reflection is (0, 0, -1), m is 0.
TEST_F(TexCoordTest, SphereMapOfTheReflectionBackAtTheEyeIsTheCentre) {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  for (GlVertexProc proc : {__glCalcSphereMap, __glCalcMixedTexture}) {
    Gen(0).mode = Gen(1).mode = kSph;
    gc->state.enables.texture = S | T;
    GlVertex v{};
    v.eye = {0, 0, 5, 1};
    v.normal = {0, 0, 1, 0};
    v.texture = {9, 9, 0.25f, 1};
    proc(gc, &v);
    EXPECT_EQ(v.texture.x, 0.5f);
    EXPECT_EQ(v.texture.y, 0.5f);
    EXPECT_EQ(v.texture.z, 0.25f);
    EXPECT_EQ(v.texture.w, 1.0f);
  }
}

}  // namespace
}  // namespace tex_param_test

// The object queries: lights, materials, texture environment, generation,
// parameters and levels, evaluator maps, pixel maps and clip planes, each
// through its float and integer forms against the conversion model.
#include <gtest/gtest.h>
#include <math.h>

#include <string>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "pixels/px_texture.h"
#include "tests/core/queries/query_fixture.h"
#include "tests/support/counting_imports.h"

namespace query_test {
namespace {

using Values = std::vector<long double>;

class ObjectQuery : public QueryTest {
 protected:
  // Float and integer forms of one answer against the model; the double
  // form too where the entry has one.
  template <typename Fv, typename Iv>
  void Expect(const Staged &want, Fv fv, Iv iv, const std::string &what, double tolerance = 0) {
    ExpectWritten<GLfloat>(AsFloats(want), fv, what + " float", tolerance);
    ExpectWritten<GLint>(AsInts(want), iv, what + " integer");
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << what;
  }
  Staged Color(const GlColor &scaled) {
    Staged s{Kind::kColor, {scaled.r, scaled.g, scaled.b, scaled.a}};
    Recips(s.recip);
    return s;
  }
  template <typename T, typename Get>
  void ExpectRefused(GLenum error, Get get, const std::string &what) {
    ExpectUntouched<T>(get, what);
    EXPECT_EQ(TakeError(), error) << what;
  }
};

TEST_F(ObjectQuery, LightColoursComeBackUnscaled) {
  const GLfloat diffuse[4] = {0.1f, 0.5f, 0.9f, 1};
  glLightfv(GL_LIGHT2, GL_DIFFUSE, diffuse);
  const GlLight &l = gc->state.light.source[2];
  Expect(
      Color(l.diffuse), [](GLfloat *p) { glGetLightfv(GL_LIGHT2, GL_DIFFUSE, p); },
      [](GLint *p) { glGetLightiv(GL_LIGHT2, GL_DIFFUSE, p); }, "diffuse");
  ExpectWritten<GLfloat>(
      {0.1f, 0.5f, 0.9f, 1}, [](GLfloat *p) { glGetLightfv(GL_LIGHT2, GL_DIFFUSE, p); }, "as set",
      1e-6);
  // Light 0's default specular is white, the others' black.
  Expect(
      Color(gc->state.light.source[0].specular),
      [](GLfloat *p) { glGetLightfv(GL_LIGHT0, GL_SPECULAR, p); },
      [](GLint *p) { glGetLightiv(GL_LIGHT0, GL_SPECULAR, p); }, "specular");
  Expect(
      Color(gc->state.light.source[7].ambient),
      [](GLfloat *p) { glGetLightfv(GL_LIGHT7, GL_AMBIENT, p); },
      [](GLint *p) { glGetLightiv(GL_LIGHT7, GL_AMBIENT, p); }, "ambient");
}

TEST_F(ObjectQuery, LightPlainValuesRound) {
  const GLfloat position[4] = {0.5f, -0.5f, 1.4f, 0};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  ExpectWritten<GLint>(
      {1, -1, 1, 0}, [](GLint *p) { glGetLightiv(GL_LIGHT0, GL_POSITION, p); }, "position");
  Expect(
      {Kind::kFloat, {0.5f, -0.5f, 1.4f, 0}},
      [](GLfloat *p) { glGetLightfv(GL_LIGHT0, GL_POSITION, p); },
      [](GLint *p) { glGetLightiv(GL_LIGHT0, GL_POSITION, p); }, "position");
  const GLfloat direction[3] = {0.25f, -2.5f, 1};
  glLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, direction);
  Expect(
      {Kind::kFloat, {0.25, -2.5, 1}},
      [](GLfloat *p) { glGetLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, p); },
      [](GLint *p) { glGetLightiv(GL_LIGHT1, GL_SPOT_DIRECTION, p); }, "direction");
  const std::pair<GLenum, GLfloat> scalars[] = {{GL_SPOT_EXPONENT, 12.5f},
                                                {GL_SPOT_CUTOFF, 45.5f},
                                                {GL_CONSTANT_ATTENUATION, 2.5f},
                                                {GL_LINEAR_ATTENUATION, 0.25f},
                                                {GL_QUADRATIC_ATTENUATION, 7}};
  for (auto [pname, value] : scalars) {
    glLightf(GL_LIGHT3, pname, value);
    Expect(
        {Kind::kFloat, {value}}, [p = pname](GLfloat *v) { glGetLightfv(GL_LIGHT3, p, v); },
        [p = pname](GLint *v) { glGetLightiv(GL_LIGHT3, p, v); },
        "light scalar " + std::to_string(pname));
  }
}

TEST_F(ObjectQuery, LightRefusals) {
  ExpectRefused<GLfloat>(
      GL_INVALID_ENUM, [](GLfloat *p) { glGetLightfv(GL_LIGHT0 + 8, GL_DIFFUSE, p); }, "light 8");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetLightiv(GL_LIGHT0 - 1, GL_DIFFUSE, p); }, "below");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetLightiv(GL_LIGHT0, GL_EMISSION, p); }, "pname");
}

TEST_F(ObjectQuery, MaterialValues) {
  const GLfloat ambient[4] = {0.1f, -0.3f, 0.5f, 1};
  glMaterialfv(GL_BACK, GL_AMBIENT, ambient);
  Expect(
      {Kind::kNormalized, {0.1f, -0.3f, 0.5f, 1}},
      [](GLfloat *p) { glGetMaterialfv(GL_BACK, GL_AMBIENT, p); },
      [](GLint *p) { glGetMaterialiv(GL_BACK, GL_AMBIENT, p); }, "ambient");
  const GLfloat emission[4] = {0.25f, 0.5f, 0.75f, 1};
  glMaterialfv(GL_FRONT, GL_EMISSION, emission);
  Expect(
      Color(gc->state.light.front.emissive),
      [](GLfloat *p) { glGetMaterialfv(GL_FRONT, GL_EMISSION, p); },
      [](GLint *p) { glGetMaterialiv(GL_FRONT, GL_EMISSION, p); }, "emission");
  glMaterialf(GL_FRONT, GL_SHININESS, 20.5f);
  Expect(
      {Kind::kFloat, {20.5}}, [](GLfloat *p) { glGetMaterialfv(GL_FRONT, GL_SHININESS, p); },
      [](GLint *p) { glGetMaterialiv(GL_FRONT, GL_SHININESS, p); }, "shininess");
  const GLfloat indexes[3] = {1, 2, 3};
  glMaterialfv(GL_FRONT, GL_COLOR_INDEXES, indexes);
  Expect(
      {Kind::kFloat, {1, 2, 3}}, [](GLfloat *p) { glGetMaterialfv(GL_FRONT, GL_COLOR_INDEXES, p); },
      [](GLint *p) { glGetMaterialiv(GL_FRONT, GL_COLOR_INDEXES, p); }, "indexes");
}

// Not colours: an index shift or offset reads back as the number it is.
TEST_F(ObjectQuery, MaterialIndexShiftAndOffsetRound) {
  const std::pair<GLenum, GLfloat> rows[] = {
      {GL_INDEX_SHIFT, 1}, {GL_INDEX_SHIFT, 5}, {GL_INDEX_OFFSET, -2.5f}, {GL_INDEX_OFFSET, 7}};
  for (auto [pname, value] : rows) {
    glMaterialfv(GL_BACK, pname, &value);
    Expect(
        {Kind::kFloat, {value}}, [p = pname](GLfloat *v) { glGetMaterialfv(GL_BACK, p, v); },
        [p = pname](GLint *v) { glGetMaterialiv(GL_BACK, p, v); },
        std::to_string(pname) + " " + std::to_string(value));
  }
  GLint shift;
  glMateriali(GL_FRONT, GL_INDEX_SHIFT, 1);
  glGetMaterialiv(GL_FRONT, GL_INDEX_SHIFT, &shift);
  EXPECT_EQ(shift, 1);
}

TEST_F(ObjectQuery, MaterialRefusals) {
  ExpectRefused<GLfloat>(
      GL_INVALID_ENUM, [](GLfloat *p) { glGetMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, p); },
      "both faces");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetMaterialiv(GL_FRONT, GL_POSITION, p); }, "pname");
}

TEST_F(ObjectQuery, TextureEnvironment) {
  Expect(
      {Kind::kInt, {GL_MODULATE}},
      [](GLfloat *p) { glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, p); },
      [](GLint *p) { glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, p); }, "mode");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetTexEnviv(GL_TEXTURE_2D, GL_TEXTURE_ENV_MODE, p); },
      "target");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_GEN_MODE, p); },
      "pname");
}

// The environment colour is kept in the buffer's units: each component
// divided by the buffer's largest value of it.
struct EnvCase {
  const char *name;
  uint32_t redBits, greenBits, blueBits;
};

class TextureEnvColor : public ObjectQuery, public testing::WithParamInterface<EnvCase> {};

TEST_P(TextureEnvColor, ReadsBackThroughTheBufferMaxima) {
  const EnvCase &c = GetParam();
  GlModes m = TestModes();
  m.redBits = c.redBits, m.greenBits = c.greenBits, m.blueBits = c.blueBits;
  m.blueMask = (1u << c.blueBits) - 1;
  m.greenMask = ((1u << c.greenBits) - 1) << c.blueBits;
  m.redMask = ((1u << c.redBits) - 1) << (c.blueBits + c.greenBits);
  m.colorBits = c.redBits + c.greenBits + c.blueBits;
  Use(m);
  const GlColorBuffer &fb = gc->frontBuffer;
  ASSERT_EQ(fb.redScale, GLfloat((1u << c.redBits) - 1));
  ASSERT_EQ(fb.greenScale, GLfloat((1u << c.greenBits) - 1));
  gc->texture.env[0].color = {fb.redScale * 0.5f, fb.greenScale * 0.25f, fb.blueScale,
                              fb.alphaScale * 0.75f};
  const long double want[4] = {0.5, 0.25, 1, 0.75};
  GLfloat f[4];
  GLint i[4];
  glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, f);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, i);
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(f[k], double(want[k]), 1e-6) << k;
    EXPECT_NEAR(double(i[k]), floor(double(want[k]) * 2147482496.0), 512) << k;
  }
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Buffers, TextureEnvColor,
                         testing::Values(EnvCase{"RGB565", 5, 6, 5}, EnvCase{"RGB888", 8, 8, 8}),
                         [](const testing::TestParamInfo<EnvCase> &i) { return i.param.name; });

TEST_F(ObjectQuery, TextureGeneration) {
  Expect(
      {Kind::kFloat, {1, 0, 0, 0}}, [](GLfloat *p) { glGetTexGenfv(GL_S, GL_EYE_PLANE, p); },
      [](GLint *p) { glGetTexGeniv(GL_S, GL_EYE_PLANE, p); }, "s eye");
  Expect(
      {Kind::kFloat, {0, 1, 0, 0}}, [](GLfloat *p) { glGetTexGenfv(GL_T, GL_OBJECT_PLANE, p); },
      [](GLint *p) { glGetTexGeniv(GL_T, GL_OBJECT_PLANE, p); }, "t object");
  Expect(
      {Kind::kInt, {GL_EYE_LINEAR}},
      [](GLfloat *p) { glGetTexGenfv(GL_Q, GL_TEXTURE_GEN_MODE, p); },
      [](GLint *p) { glGetTexGeniv(GL_Q, GL_TEXTURE_GEN_MODE, p); }, "q mode");
  // glTexGen does not exist yet: the plane is stored by hand.
  gc->texture.texCoordGen[__GL_TEXGEN_R].objectPlane = {0.5f, -1.5f, 2.5f, 3};
  Expect(
      {Kind::kFloat, {0.5, -1.5, 2.5, 3}},
      [](GLfloat *p) { glGetTexGenfv(GL_R, GL_OBJECT_PLANE, p); },
      [](GLint *p) { glGetTexGeniv(GL_R, GL_OBJECT_PLANE, p); }, "r object");
  ExpectWritten<GLdouble>(
      {0.5, -1.5, 2.5, 3}, [](GLdouble *p) { glGetTexGendv(GL_R, GL_OBJECT_PLANE, p); }, "double");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetTexGeniv(GL_Q + 1, GL_EYE_PLANE, p); }, "coord");
  ExpectRefused<GLdouble>(
      GL_INVALID_ENUM, [](GLdouble *p) { glGetTexGendv(GL_S, GL_TEXTURE_ENV_MODE, p); }, "pname");
}

TEST_F(ObjectQuery, TextureParameters) {
  const std::pair<GLenum, GLenum> enums[] = {{GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR},
                                             {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                                             {GL_TEXTURE_WRAP_S, GL_REPEAT},
                                             {GL_TEXTURE_WRAP_T, GL_REPEAT}};
  for (auto [pname, value] : enums)
    Expect(
        {Kind::kInt, {(long double)value}},
        [p = pname](GLfloat *v) { glGetTexParameterfv(GL_TEXTURE_1D, p, v); },
        [p = pname](GLint *v) { glGetTexParameteriv(GL_TEXTURE_1D, p, v); },
        "parameter " + std::to_string(pname));
  // glTexParameter does not exist yet: the border colour is stored by hand.
  GlTextureParams *params = &gc->texture.targets[__GL_TEXTURE_2D_INDEX].params;
  const GLfloat border[4] = {1, 0.5f, 0, 0.25f};
  for (int i = 0; i < 4; ++i) params->borderColor[i] = border[i];
  Expect(
      {Kind::kNormalized, {1, 0.5, 0, 0.25}},
      [](GLfloat *p) { glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, p); },
      [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, p); }, "border");
  ExpectWritten<GLint>(
      {2147482496}, [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, p); },
      "default priority");
  glBindTexture(GL_TEXTURE_2D, 5);
  const GLuint name = 5;
  const GLclampf half = 0.5f;
  glPrioritizeTextures(1, &name, &half);
  Expect(
      {Kind::kNormalized, {0.5}},
      [](GLfloat *p) { glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, p); },
      [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, p); }, "priority");
  GlTextureObject *tex = gc->texture.bound[__GL_TEXTURE_2D_INDEX];
  tex->resident = 0;
  Expect(
      {Kind::kInt, {0}},
      [](GLfloat *p) { glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, p); },
      [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, p); }, "absent");
  tex->resident = 1;
  Expect(
      {Kind::kInt, {1}},
      [](GLfloat *p) { glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, p); },
      [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, p); }, "resident");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM,
      [](GLint *p) { glGetTexParameteriv(GL_PROXY_TEXTURE_2D, GL_TEXTURE_WRAP_S, p); }, "proxy");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *p) { glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WIDTH, p); },
      "pname");
}

TEST_F(ObjectQuery, TextureLevelParameters) {
  // Levels are empty until images are defined.
  const std::pair<GLenum, long double> empty[] = {
      {GL_TEXTURE_WIDTH, 0},      {GL_TEXTURE_HEIGHT, 0},   {GL_TEXTURE_BORDER, 0},
      {GL_TEXTURE_COMPONENTS, 1}, {GL_TEXTURE_RED_SIZE, 0}, {GL_TEXTURE_INTENSITY_SIZE, 0}};
  for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_PROXY_TEXTURE_1D, GL_PROXY_TEXTURE_2D})
    for (auto [pname, value] : empty)
      Expect(
          {Kind::kInt, {value}},
          [t = target, p = pname](GLfloat *v) { glGetTexLevelParameterfv(t, 10, p, v); },
          [t = target, p = pname](GLint *v) { glGetTexLevelParameteriv(t, 10, p, v); },
          "empty " + std::to_string(target) + " " + std::to_string(pname));
  // A level of each dimension with a border, stored by hand: a 1-D level is
  // kept 2 x border + 1 rows high, and its height reads 1.
  GlTextureLevel *l1 = gc->texture.bound[__GL_TEXTURE_1D_INDEX]->levels[2];
  GlTextureLevel *l2 = gc->texture.bound[__GL_TEXTURE_2D_INDEX]->levels[0];
  l1->width = 10, l1->height = 3, l1->border = 1, l1->requestedFormat = GL_RGB;
  l1->redBits = 5, l1->greenBits = 6, l1->blueBits = 4, l1->alphaBits = 3;
  l1->luminanceBits = 2, l1->intensityBits = 7;
  l2->width = 18, l2->height = 10, l2->border = 1;
  const std::pair<GLenum, long double> level1[] = {
      {GL_TEXTURE_WIDTH, 10},          {GL_TEXTURE_HEIGHT, 1},     {GL_TEXTURE_BORDER, 1},
      {GL_TEXTURE_COMPONENTS, GL_RGB}, {GL_TEXTURE_RED_SIZE, 5},   {GL_TEXTURE_GREEN_SIZE, 6},
      {GL_TEXTURE_BLUE_SIZE, 4},       {GL_TEXTURE_ALPHA_SIZE, 3}, {GL_TEXTURE_LUMINANCE_SIZE, 2},
      {GL_TEXTURE_INTENSITY_SIZE, 7}};
  for (auto [pname, value] : level1)
    Expect(
        {Kind::kInt, {value}},
        [p = pname](GLfloat *v) { glGetTexLevelParameterfv(GL_TEXTURE_1D, 2, p, v); },
        [p = pname](GLint *v) { glGetTexLevelParameteriv(GL_TEXTURE_1D, 2, p, v); },
        "1-D " + std::to_string(pname));
  Expect(
      {Kind::kInt, {10}},
      [](GLfloat *v) { glGetTexLevelParameterfv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, v); },
      [](GLint *v) { glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, v); },
      "2-D height");
  *l1 = GlTextureLevel{};
  l1->requestedFormat = 1;
  *l2 = GlTextureLevel{};
  l2->requestedFormat = 1;
}

struct LevelRefusal {
  GLenum target;
  GLint level;
  GLenum pname;
  GLenum error;
};

TEST_F(ObjectQuery, TextureLevelRefusalsInTheirOrder) {
  const LevelRefusal rows[] = {
      {GL_TEXTURE_ENV, 11, 0, GL_INVALID_ENUM},  // the target before the level
      {GL_TEXTURE_2D, -1, 0, GL_INVALID_VALUE},  // the level before the pname
      {GL_TEXTURE_1D, 11, GL_TEXTURE_WIDTH, GL_INVALID_VALUE},
      {GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_PRIORITY, GL_INVALID_ENUM},
  };
  for (const LevelRefusal &r : rows) {
    ExpectRefused<GLint>(
        r.error, [&](GLint *p) { glGetTexLevelParameteriv(r.target, r.level, r.pname, p); },
        "level " + std::to_string(r.level));
    ExpectRefused<GLfloat>(
        r.error, [&](GLfloat *p) { glGetTexLevelParameterfv(r.target, r.level, r.pname, p); },
        "level " + std::to_string(r.level));
  }
}

TEST_F(ObjectQuery, EvaluatorMaps) {
  const GLfloat points[6] = {0.5f, -1.5f, 2.25f, 3, 4.5f, -5.5f};
  glMap1f(GL_MAP1_VERTEX_3, 0.5f, 2.5f, 3, 2, points);
  Expect(
      {Kind::kFloat, {0.5, -1.5, 2.25, 3, 4.5, -5.5}},
      [](GLfloat *v) { glGetMapfv(GL_MAP1_VERTEX_3, GL_COEFF, v); },
      [](GLint *v) { glGetMapiv(GL_MAP1_VERTEX_3, GL_COEFF, v); }, "map1 coefficients");
  Expect(
      {Kind::kInt, {2}}, [](GLfloat *v) { glGetMapfv(GL_MAP1_VERTEX_3, GL_ORDER, v); },
      [](GLint *v) { glGetMapiv(GL_MAP1_VERTEX_3, GL_ORDER, v); }, "map1 order");
  Expect(
      {Kind::kFloat, {0.5, 2.5}}, [](GLfloat *v) { glGetMapfv(GL_MAP1_VERTEX_3, GL_DOMAIN, v); },
      [](GLint *v) { glGetMapiv(GL_MAP1_VERTEX_3, GL_DOMAIN, v); }, "map1 domain");
  ExpectWritten<GLdouble>(
      {0.5, 2.5}, [](GLdouble *v) { glGetMapdv(GL_MAP1_VERTEX_3, GL_DOMAIN, v); }, "dv");

  // Two u by three v points of one component: six values, u fastest apart.
  GLfloat grid[6];
  Values want;
  for (int i = 0; i < 6; ++i) grid[i] = 0.25f * GLfloat(i) - 0.5f;
  glMap2f(GL_MAP2_INDEX, -1, 1, 3, 2, 2, 4, 1, 3, grid);
  for (int u = 0; u < 2; ++u)
    for (int v = 0; v < 3; ++v) want.push_back(grid[u * 3 + v]);
  Expect(
      {Kind::kFloat, want}, [](GLfloat *v) { glGetMapfv(GL_MAP2_INDEX, GL_COEFF, v); },
      [](GLint *v) { glGetMapiv(GL_MAP2_INDEX, GL_COEFF, v); }, "map2 coefficients");
  Expect(
      {Kind::kInt, {2, 3}}, [](GLfloat *v) { glGetMapfv(GL_MAP2_INDEX, GL_ORDER, v); },
      [](GLint *v) { glGetMapiv(GL_MAP2_INDEX, GL_ORDER, v); }, "map2 order");
  Expect(
      {Kind::kFloat, {-1, 1, 2, 4}}, [](GLfloat *v) { glGetMapfv(GL_MAP2_INDEX, GL_DOMAIN, v); },
      [](GLint *v) { glGetMapiv(GL_MAP2_INDEX, GL_DOMAIN, v); }, "map2 domain");
  // An untouched map: order 1 over [0, 1] with its default value.
  Expect(
      {Kind::kFloat, {0, 0, 0, 1}},
      [](GLfloat *v) { glGetMapfv(GL_MAP1_TEXTURE_COORD_4, GL_COEFF, v); },
      [](GLint *v) { glGetMapiv(GL_MAP1_TEXTURE_COORD_4, GL_COEFF, v); }, "default");
  ExpectRefused<GLfloat>(
      GL_INVALID_ENUM, [](GLfloat *v) { glGetMapfv(GL_MAP1_VERTEX_4 + 1, GL_ORDER, v); }, "target");
  ExpectRefused<GLint>(
      GL_INVALID_ENUM, [](GLint *v) { glGetMapiv(GL_MAP2_VERTEX_4, GL_DOMAIN + 1, v); }, "query");
}

TEST_F(ObjectQuery, PixelMapsConvertByTheirKind) {
  const GLfloat toRed[4] = {0, 0.75f, 1, 0.5f};
  glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 4, toRed);
  ExpectWritten<GLfloat>(
      {0, 0.75f, 1, 0.5f}, [](GLfloat *v) { glGetPixelMapfv(GL_PIXEL_MAP_I_TO_R, v); }, "fv");
  // Truncated, not scaled: 0.75 gives 0.
  ExpectWritten<GLuint>(
      {0, 0, 1, 0}, [](GLuint *v) { glGetPixelMapuiv(GL_PIXEL_MAP_I_TO_R, v); }, "uiv");
  ExpectWritten<GLushort>(
      {0, 0, 1, 0}, [](GLushort *v) { glGetPixelMapusv(GL_PIXEL_MAP_I_TO_R, v); }, "usv");
  const GLuint toIndex[2] = {7, 70000};
  glPixelMapuiv(GL_PIXEL_MAP_I_TO_I, 2, toIndex);
  ExpectWritten<GLfloat>(
      {7, 70000}, [](GLfloat *v) { glGetPixelMapfv(GL_PIXEL_MAP_I_TO_I, v); }, "fv");
  ExpectWritten<GLuint>(
      {7, 70000}, [](GLuint *v) { glGetPixelMapuiv(GL_PIXEL_MAP_I_TO_I, v); }, "uiv");
  ExpectWritten<GLushort>(
      {7, 70000 & 0xFFFF}, [](GLushort *v) { glGetPixelMapusv(GL_PIXEL_MAP_I_TO_I, v); }, "usv");
  // The default maps: one entry, 0.
  ExpectWritten<GLfloat>(
      {0}, [](GLfloat *v) { glGetPixelMapfv(GL_PIXEL_MAP_A_TO_A, v); }, "default");
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  ExpectRefused<GLfloat>(
      GL_INVALID_ENUM, [](GLfloat *v) { glGetPixelMapfv(GL_PIXEL_MAP_A_TO_A + 1, v); }, "map");
  ExpectRefused<GLuint>(
      GL_INVALID_ENUM, [](GLuint *v) { glGetPixelMapuiv(GL_PIXEL_MAP_I_TO_I - 1, v); }, "map");
}

TEST_F(ObjectQuery, ClipPlanesInEyeSpace) {
  const GLdouble equation[4] = {1, -2.5, 3, 4.25};
  glClipPlane(GL_CLIP_PLANE3, equation);
  ExpectWritten<GLdouble>(
      {1, -2.5, 3, 4.25}, [](GLdouble *v) { glGetClipPlane(GL_CLIP_PLANE3, v); }, "plane 3");
  glMatrixMode(GL_MODELVIEW);
  glScalef(2, 2, 2);
  glClipPlane(GL_CLIP_PLANE5, equation);
  // By the inverse of the model-view: halved x, y and z terms.
  ExpectWritten<GLdouble>(
      {0.5, -1.25, 1.5, 4.25}, [](GLdouble *v) { glGetClipPlane(GL_CLIP_PLANE5, v); }, "plane 5");
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  ExpectRefused<GLdouble>(
      GL_INVALID_ENUM, [](GLdouble *v) { glGetClipPlane(GL_CLIP_PLANE0 + 6, v); }, "plane 6");
}

}  // namespace
}  // namespace query_test

namespace query_test {
namespace {

// glPixelMapfv then glGetPixelMapfv gives the values back, in every map
// (the index maps hold whole numbers).
TEST_F(ObjectQuery, PixelMapsRoundTrip) {
  for (GLenum map = GL_PIXEL_MAP_I_TO_I; map <= GL_PIXEL_MAP_A_TO_A; ++map) {
    const bool index = map == GL_PIXEL_MAP_I_TO_I || map == GL_PIXEL_MAP_S_TO_S;
    std::vector<GLfloat> values;
    for (int i = 0; i < 16; ++i) values.push_back(index ? GLfloat(i * 3 + 1) : GLfloat(i) / 15);
    glPixelMapfv(map, 16, values.data());
    ExpectWritten<GLfloat>(
        values, [map](GLfloat *v) { glGetPixelMapfv(map, v); }, "map " + std::to_string(map));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

}  // namespace
}  // namespace query_test

// The light and light-model entries: colours scaled, scalars within their
// ranges, position and spot direction taken into eye space (against a
// double-precision model of the model-view matrix), the lighting mark, and
// no other light touched.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/geometry/xform/matrix_reference.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

// What an integer colour component becomes at scale 255.
double IntComponent(GLint i) { return (2.0 * i + 1.0) / 4294964992.0 * 255.0; }

struct LightCase {
  const char *name;
  GLenum light;
  void (*command)();
  void (*check)(const GlLight &l);
};

class Light : public SetterTest, public testing::WithParamInterface<LightCase> {};

TEST_P(Light, StoresInItsLightOnly) {
  const LightCase &c = GetParam();
  const int index = int(c.light - GL_LIGHT0);
  Settle();
  GlLight others[8];
  memcpy(others, gc->state.light.source, sizeof others);
  c.command();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_LIGHTING);
  EXPECT_EQ(gc->tableDirtyMask, 0u);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  c.check(gc->state.light.source[index]);
  for (int i = 0; i < 8; i++) {
    if (i == index) continue;
    EXPECT_EQ(memcmp(&others[i], &gc->state.light.source[i], sizeof(GlLight)), 0) << i;
  }
}

const LightCase kLights[] = {
    {"AmbientScaledNotClamped", GL_LIGHT3,
     [] {
       GLfloat v[4] = {0.5f, 1.0f, 2.0f, -1.0f};
       glLightfv(GL_LIGHT3, GL_AMBIENT, v);
     },
     [](const GlLight &l) { ExpectColorNear(l.ambient, 127.5, 255, 510, -255); }},
    {"DiffuseIntegers", GL_LIGHT1,
     [] {
       GLint v[4] = {INT_MAX, INT_MIN, 0, -1};
       glLightiv(GL_LIGHT1, GL_DIFFUSE, v);
     },
     [](const GlLight &l) {
       ExpectColorNear(l.diffuse, IntComponent(INT_MAX), IntComponent(INT_MIN), IntComponent(0),
                   IntComponent(-1));
     }},
    {"Specular", GL_LIGHT7,
     [] {
       GLfloat v[4] = {0.25f, 0.0f, 1.0f, 1.0f};
       glLightfv(GL_LIGHT7, GL_SPECULAR, v);
     },
     [](const GlLight &l) { ExpectColorNear(l.specular, 63.75, 0, 255, 255); }},
    {"SpotExponentTop", GL_LIGHT0, [] { glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 128.0f); },
     [](const GlLight &l) { EXPECT_EQ(l.spotLightExponent, 128.0f); }},
    {"SpotExponentZeroInteger", GL_LIGHT2, [] { glLighti(GL_LIGHT2, GL_SPOT_EXPONENT, 0); },
     [](const GlLight &l) { EXPECT_EQ(l.spotLightExponent, 0.0f); }},
    {"SpotCutoffNoSpot", GL_LIGHT0, [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f); },
     [](const GlLight &l) { EXPECT_EQ(l.spotLightCutOffAngle, 180.0f); }},
    {"SpotCutoffNinety", GL_LIGHT4, [] { glLightf(GL_LIGHT4, GL_SPOT_CUTOFF, 90.0f); },
     [](const GlLight &l) { EXPECT_EQ(l.spotLightCutOffAngle, 90.0f); }},
    {"SpotCutoffZeroVector", GL_LIGHT5,
     [] {
       GLint v[1] = {0};
       glLightiv(GL_LIGHT5, GL_SPOT_CUTOFF, v);
     },
     [](const GlLight &l) { EXPECT_EQ(l.spotLightCutOffAngle, 0.0f); }},
    {"ConstantAttenuation", GL_LIGHT6, [] { glLightf(GL_LIGHT6, GL_CONSTANT_ATTENUATION, 0.0f); },
     [](const GlLight &l) { EXPECT_EQ(l.constantAttenuation, 0.0f); }},
    {"LinearAttenuation", GL_LIGHT6, [] { glLighti(GL_LIGHT6, GL_LINEAR_ATTENUATION, 3); },
     [](const GlLight &l) { EXPECT_EQ(l.linearAttenuation, 3.0f); }},
    {"QuadraticAttenuation", GL_LIGHT6,
     [] { glLightf(GL_LIGHT6, GL_QUADRATIC_ATTENUATION, 2.5f); },
     [](const GlLight &l) { EXPECT_EQ(l.quadraticAttenuation, 2.5f); }},
    {"PositionIntegers", GL_LIGHT2,
     [] {
       GLint v[4] = {1, -2, 3, 0};
       glLightiv(GL_LIGHT2, GL_POSITION, v);
     },
     [](const GlLight &l) {
       EXPECT_TRUE(l.position.x == 1 && l.position.y == -2 && l.position.z == 3 &&
                   l.position.w == 0);
       EXPECT_TRUE(l.positionEye.x == 1 && l.positionEye.y == -2 && l.positionEye.z == 3 &&
                   l.positionEye.w == 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Entries, Light, testing::ValuesIn(kLights), CaseName<LightCase>);

struct ModelCase {
  const char *name;
  void (*command)();
  void (*check)(const GlLightModelState &m);
};

class LightModel : public SetterTest, public testing::WithParamInterface<ModelCase> {};

TEST_P(LightModel, StoresAndMarksLighting) {
  const ModelCase &c = GetParam();
  Settle();
  c.command();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_LIGHTING);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  c.check(gc->state.light.model);
}

const ModelCase kModel[] = {
    {"LocalViewerAnyNonZero", [] { glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 0.5f); },
     [](const GlLightModelState &m) { EXPECT_EQ(m.localViewer, 1); }},
    {"LocalViewerOff",
     [] {
       glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 7);
       glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 0.0f);
     },
     [](const GlLightModelState &m) { EXPECT_EQ(m.localViewer, 0); }},
    {"TwoSideNegative", [] { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, -1); },
     [](const GlLightModelState &m) { EXPECT_EQ(m.twoSided, 1); }},
    {"TwoSideVector",
     [] {
       GLint v[1] = {256};
       glLightModeliv(GL_LIGHT_MODEL_TWO_SIDE, v);
     },
     [](const GlLightModelState &m) { EXPECT_EQ(m.twoSided, 1); }},
    {"AmbientScaled",
     [] {
       GLfloat v[4] = {0.1f, 0.2f, 1.5f, 1.0f};
       glLightModelfv(GL_LIGHT_MODEL_AMBIENT, v);
     },
     [](const GlLightModelState &m) {
       ExpectColorNear(m.ambient, 0.1f * 255.0, 0.2f * 255.0, 1.5 * 255, 255);
     }},
    {"AmbientIntegers",
     [] {
       GLint v[4] = {INT_MAX, 0, INT_MIN, 1000};
       glLightModeliv(GL_LIGHT_MODEL_AMBIENT, v);
     },
     [](const GlLightModelState &m) {
       ExpectColorNear(m.ambient, IntComponent(INT_MAX), IntComponent(0), IntComponent(INT_MIN),
                   IntComponent(1000));
     }},
};

INSTANTIATE_TEST_SUITE_P(Entries, LightModel, testing::ValuesIn(kModel), CaseName<ModelCase>);

// ---- Position and spot direction into eye space ----

typedef std::array<double, 4> Vec4;

struct EyeSpaceCase {
  const char *name;
  void (*modelView)();
  Vec4 position;
  Vec4 direction;  // x, y, z given
};

class EyeSpace : public SetterTest, public testing::WithParamInterface<EyeSpaceCase> {};

double Largest(const Vec4 &v) {
  return std::max(std::max(fabs(v[0]), fabs(v[1])), std::max(fabs(v[2]), fabs(v[3])));
}

void ExpectNear(const GlCoord &got, const Vec4 &want, const char *what) {
  double tolerance = 2e-6 * (1 + Largest(want));
  EXPECT_NEAR(got.x, want[0], tolerance) << what;
  EXPECT_NEAR(got.y, want[1], tolerance) << what;
  EXPECT_NEAR(got.z, want[2], tolerance) << what;
  EXPECT_NEAR(got.w, want[3], tolerance) << what;
}

TEST_P(EyeSpace, PositionByTheMatrixDirectionByItsInverseTranspose) {
  const EyeSpaceCase &c = GetParam();
  c.modelView();
  Settle();
  const Vec4 &p = c.position, &d = c.direction;
  GLfloat position[4] = {GLfloat(p[0]), GLfloat(p[1]), GLfloat(p[2]), GLfloat(p[3])};
  GLfloat direction[3] = {GLfloat(d[0]), GLfloat(d[1]), GLfloat(d[2])};
  glLightfv(GL_LIGHT2, GL_POSITION, position);
  glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, direction);
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_LIGHTING);

  Ref m = RefOf(gc->transform.modelView->matrix);
  const GlLight &l = gc->state.light.source[2];
  EXPECT_TRUE(l.position.x == position[0] && l.position.y == position[1] &&
              l.position.z == position[2] && l.position.w == position[3]);
  ExpectNear(l.positionEye, RefApply(m, p), "eye position");

  // The direction is the normal of a plane through the light.
  double w = p[3] != 0 ? -(p[0] * d[0] + p[1] * d[1] + p[2] * d[2]) / p[3] : 0.0;
  Vec4 eye = RefApply(RefTranspose(RefInverse(m)), Vec4{d[0], d[1], d[2], w});
  ExpectNear(l.direction, eye, "eye direction");
  double length = sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
  const GLfloat *unit = gc->light.lightCaches[2].direction;
  for (int i = 0; i < 3; i++) EXPECT_NEAR(unit[i], eye[i] / length, 1e-5) << "unit " << i;
}

const GLfloat kGeneral[16] = {2, 0.5f, 0, 0.1f, -1, 1, 0.25f, 0, 0.5f, 0, 3, -0.2f, 4, -2, 1, 1.5f};

const EyeSpaceCase kEyeSpace[] = {
    {"Identity", [] {}, {1, 2, 3, 1}, {0, 0, -1, 0}},
    {"TranslatedPoint", [] { glTranslatef(1, 2, 3); }, {1, 2, 3, 1}, {1, 2, 3, 0}},
    {"TranslatedDirectional", [] { glTranslatef(1, 2, 3); }, {0, 0, 1, 0}, {0.3, -0.4, 0.5, 0}},
    {"Rotated", [] { glRotatef(30, 1, 1, 0); }, {-2, 5, 1, 2}, {0, 1, 0, 0}},
    {"ScaledUnevenly", [] { glScalef(2, 0.5f, 4); }, {1, 1, 1, 1}, {1, 1, 1, 0}},
    {"Composed",
     [] {
       glTranslatef(-3, 0.5f, 2);
       glRotatef(-75, 0.2f, 1, 0.4f);
       glScalef(0.5f, 3, 1);
     },
     {4, -1, 2, 0.5}, {0.3, -0.4, 0.5, 0}},
    {"GeneralMatrix", [] { glLoadMatrixf(kGeneral); }, {1, 2, 3, 1}, {-1, 0.5, 2, 0}},
    // The inverse transpose must be brought up to date after every change.
    {"AfterAnotherDirection",
     [] {
       GLfloat d[3] = {1, 0, 0};
       glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, d);
       glRotatef(90, 0, 0, 1);
     },
     {0, 0, 1, 0}, {1, 0, 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(ModelViews, EyeSpace, testing::ValuesIn(kEyeSpace),
                         CaseName<EyeSpaceCase>);

}  // namespace
}  // namespace setters_test

// Worked values of the glGet conversions and the values beyond the integer
// range, which saturate (NaN gives 0).
#include <gtest/gtest.h>
#include <math.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "tests/core/queries/query_fixture.h"
#include "tests/support/counting_imports.h"

namespace query_test {
namespace {

using GetValues = QueryTest;

TEST_F(GetValues, CurrentColourSpreadsOverTheIntegerRange) {
  glColor4f(1, 0.5f, 0, -1);
  ExpectWritten<GLint>(
      {2147482496, 1073741248, 0, -2147482496},
      [](GLint *p) { glGetIntegerv(GL_CURRENT_COLOR, p); }, "colour");
}

TEST_F(GetValues, FloatsRoundHalfAwayFromZero) {
  glPointSize(2.5f);
  glFogf(GL_FOG_START, -2.5f);
  ExpectWritten<GLint>(
      {3}, [](GLint *p) { glGetIntegerv(GL_POINT_SIZE, p); }, "point size");
  ExpectWritten<GLint>(
      {-3}, [](GLint *p) { glGetIntegerv(GL_FOG_START, p); }, "fog start");
  // The sum is a float: just below one half still reaches 1.
  glFogf(GL_FOG_END, 0.49999997f);
  ExpectWritten<GLint>(
      {1}, [](GLint *p) { glGetIntegerv(GL_FOG_END, p); }, "fog end");
}

TEST_F(GetValues, DepthValuesRoundAsIntegersInsteadOfNormalizing) {
  ExpectWritten<GLint>(
      {0, 1}, [](GLint *p) { glGetIntegerv(GL_DEPTH_RANGE, p); }, "range");
  ExpectWritten<GLint>(
      {1}, [](GLint *p) { glGetIntegerv(GL_DEPTH_CLEAR_VALUE, p); }, "clear");
  glAlphaFunc(GL_LESS, 0.75f);
  ExpectWritten<GLint>(
      {1}, [](GLint *p) { glGetIntegerv(GL_ALPHA_TEST_REF, p); }, "alpha");
  glClearDepth(0.1);
  ExpectWritten<GLdouble>(
      {double(float(0.1))}, [](GLdouble *p) { glGetDoublev(GL_DEPTH_CLEAR_VALUE, p); }, "double");
}

TEST_F(GetValues, BooleansOfFloatsTestForZero) {
  glFogf(GL_FOG_DENSITY, 0.25f);
  glPixelZoom(0.0f, 1.0f);
  ExpectWritten<GLboolean>(
      {GL_TRUE}, [](GLboolean *p) { glGetBooleanv(GL_FOG_DENSITY, p); }, "density");
  ExpectWritten<GLboolean>(
      {GL_FALSE}, [](GLboolean *p) { glGetBooleanv(GL_ZOOM_X, p); }, "zoom");
}

TEST_F(GetValues, FogColourComesBackUnscaled) {
  const GLfloat c[4] = {0.25f, 0.5f, 0.75f, 1};
  glFogfv(GL_FOG_COLOR, c);
  ExpectWritten<GLfloat>(
      {0.25f, 0.5f, 0.75f, 1}, [](GLfloat *p) { glGetFloatv(GL_FOG_COLOR, p); }, "fog colour",
      1e-6);
  // The integers are those of the colours set, within the reciprocal
  // scale's rounding (formed in double, so a full 5-bit red reads just
  // above 1).
  GLint got[4];
  glGetIntegerv(GL_FOG_COLOR, got);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(double(got[i]), floor(c[i] * 2147482496.0), 256) << i;
}

TEST_F(GetValues, StackDepthsCountTheBase) {
  ExpectWritten<GLint>(
      {1}, [](GLint *p) { glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, p); }, "new");
  glPushMatrix();
  ExpectWritten<GLint>(
      {2}, [](GLint *p) { glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, p); }, "pushed");
}

struct Saturation {
  const char *name;
  GLenum pname;
  void (*set)();
  GLint want;
};

// Values no integer holds come back as the nearest end of the range.
const Saturation kSaturations[] = {
    {"ColourAboveOne", GL_CURRENT_COLOR, [] { glColor4f(2, 0, 0, 1); }, INT32_MAX},
    {"ColourBelowMinusOne", GL_CURRENT_COLOR, [] { glColor4f(-3, 0, 0, 1); }, INT32_MIN},
    {"ColourNaN", GL_CURRENT_COLOR, [] { glColor4f(NAN, 0, 0, 1); }, 0},
    {"LongNormal", GL_CURRENT_NORMAL, [] { glNormal3f(5, 0, 0); }, INT32_MAX},
    {"FloatBeyond2To31", GL_FOG_END, [] { glFogf(GL_FOG_END, 3e9f); }, INT32_MAX},
    {"FloatBelowMinus2To31", GL_FOG_START, [] { glFogf(GL_FOG_START, -3e9f); }, INT32_MIN},
    {"FloatNaN", GL_FOG_START, [] { glFogf(GL_FOG_START, NAN); }, 0},
    {"ClearAccumAtTheEnd", GL_ACCUM_CLEAR_VALUE, [] { glClearAccum(-1, 0, 0, 0); }, -2147482496},
};

class GetSaturation : public QueryTest, public testing::WithParamInterface<Saturation> {};

TEST_P(GetSaturation, GivesTheNearestEnd) {
  GetParam().set();
  GLint out[kRoom];
  glGetIntegerv(GetParam().pname, out);
  EXPECT_EQ(out[0], GetParam().want);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Rows, GetSaturation, testing::ValuesIn(kSaturations),
                         [](const testing::TestParamInfo<Saturation> &i) { return i.param.name; });

class GetColorIndex : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    GlModes m = TestModes(false, true, 16, 8);
    m.colorBits = m.indexBits = 8;
    Use(m);
    ValidatePending();
  }
};

TEST_F(GetColorIndex, RasterColourIsWhiteAndTheIndexIsKept) {
  glIndexf(9);
  glRasterPos2f(0, 0);
  ExpectGet(GL_CURRENT_RASTER_COLOR, {Kind::kFloat, {1, 1, 1, 1}}, "raster colour");
  ExpectGet(GL_CURRENT_RASTER_INDEX, {Kind::kFloat, {9}}, "raster index");
  ExpectGet(GL_INDEX_MODE, {Kind::kBool, {1}}, "index mode");
  ExpectGet(GL_RGBA_MODE, {Kind::kBool, {0}}, "RGBA mode");
  // Every bit of the 8-bit index at first.
  ExpectGet(GL_INDEX_WRITEMASK, {Kind::kInt, {255}}, "index mask");
}

}  // namespace
}  // namespace query_test

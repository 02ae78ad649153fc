// The fog entries: values as given, the mode and index as integers, the
// colour clamped and scaled with its derived copies, the linear factor, and
// the one mark they make.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/s_setters.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

const float kNaN = nanf("");

struct FogCase {
  const char *name;
  void (*command)();
  void (*check)(const GlFogState &fog);
  GlModes (*modes)() = nullptr;
};

class Fog : public SetterTest, public testing::WithParamInterface<FogCase> {};

TEST_P(Fog, StoresAndMarksGeneric) {
  const FogCase &c = GetParam();
  if (c.modes) Rebind(c.modes());
  Settle();
  c.command();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
  EXPECT_EQ(gc->tableDirtyMask, 0u);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  c.check(gc->state.fog);
}

const FogCase kFog[] = {
    {"ModeTruncated", [] { glFogf(GL_FOG_MODE, 2048.7f); },
     [](const GlFogState &f) { EXPECT_EQ(f.mode, GLenum(GL_EXP)); }},
    {"ModeExp2", [] { glFogi(GL_FOG_MODE, GL_EXP2); },
     [](const GlFogState &f) { EXPECT_EQ(f.mode, GLenum(GL_EXP2)); }},
    {"LinearModeDerivesTheFactor", [] { glFogi(GL_FOG_MODE, GL_LINEAR); },
     [](const GlFogState &f) {
       EXPECT_EQ(f.mode, GLenum(GL_LINEAR));
       EXPECT_EQ(f.oneOverEMinusS, 1.0f);  // start 0, end 1
     }},
    {"LinearRangeAfterEachValue",
     [] {
       glFogi(GL_FOG_MODE, GL_LINEAR);
       glFogf(GL_FOG_START, 3.0f);
       glFogf(GL_FOG_END, 5.0f);
     },
     [](const GlFogState &f) {
       EXPECT_EQ(f.start, 3.0f);
       EXPECT_EQ(f.end, 5.0f);
       EXPECT_EQ(f.oneOverEMinusS, 0.5f);
     }},
    {"LinearEmptyRangeGivesZero",
     [] {
       glFogi(GL_FOG_MODE, GL_LINEAR);
       glFogi(GL_FOG_START, 1);
     },
     [](const GlFogState &f) { EXPECT_EQ(f.oneOverEMinusS, 0.0f); }},
    {"OtherModesLeaveTheFactor",
     [] {
       glFogi(GL_FOG_MODE, GL_LINEAR);
       glFogi(GL_FOG_MODE, GL_EXP);
       glFogf(GL_FOG_START, 3.0f);
       glFogf(GL_FOG_END, 5.0f);
     },
     [](const GlFogState &f) { EXPECT_EQ(f.oneOverEMinusS, 1.0f); }},
    {"FactorAtTheModeChange",
     [] {
       glFogf(GL_FOG_START, -2.0f);
       glFogf(GL_FOG_END, 2.0f);
       glFogf(GL_FOG_MODE, GLfloat(GL_LINEAR));
     },
     [](const GlFogState &f) { EXPECT_EQ(f.oneOverEMinusS, 0.25f); }},
    {"DensityZero", [] { glFogf(GL_FOG_DENSITY, 0.0f); },
     [](const GlFogState &f) { EXPECT_EQ(f.density, 0.0f); }},
    {"DensityInteger", [] { glFogi(GL_FOG_DENSITY, 3); },
     [](const GlFogState &f) { EXPECT_EQ(f.density, 3.0f); }},
    {"StartAndEndAsGiven",
     [] {
       GLfloat v = -7.5f;
       glFogfv(GL_FOG_START, &v);
       GLint i = 9;
       glFogiv(GL_FOG_END, &i);
     },
     [](const GlFogState &f) {
       EXPECT_EQ(f.start, -7.5f);
       EXPECT_EQ(f.end, 9.0f);
     }},
    {"IndexEightBits", [] { glFogf(GL_FOG_INDEX, 300.9f); },
     [](const GlFogState &f) {
       EXPECT_EQ(f.index, 44.0f);
       EXPECT_EQ(f.indexByte, 44);
     },
     ColorIndex8},
    {"IndexFourBitsNegative", [] { glFogi(GL_FOG_INDEX, -1); },
     [](const GlFogState &f) {
       EXPECT_EQ(f.index, 15.0f);
       EXPECT_EQ(f.indexByte, 15);
     },
     ColorIndex4},
    {"IndexHugeIsDefined", [] { glFogf(GL_FOG_INDEX, 1e20f); },
     [](const GlFogState &f) { EXPECT_EQ(f.index, 255.0f); }, ColorIndex8},
    {"IndexNaNIsZero", [] { glFogf(GL_FOG_INDEX, kNaN); },
     [](const GlFogState &f) { EXPECT_EQ(f.index, 0.0f); }, ColorIndex8},
    // The RGBA test visual keeps 16 index bits; the byte copy keeps the low 8.
    {"IndexWideBuffer", [] { glFogi(GL_FOG_INDEX, 0x12345); },
     [](const GlFogState &f) {
       EXPECT_EQ(f.index, GLfloat(0x2345));
       EXPECT_EQ(f.indexByte, 0x45);
     }},
    // The 5-6-5 buffer draws red and blue in 0 .. 31 and green in 0 .. 63.
    {"ColorClampedScaledAndDerived",
     [] {
       GLfloat c[4] = {1.5f, -0.2f, 0.5f, 1.0f};
       glFogfv(GL_FOG_COLOR, c);
     },
     [](const GlFogState &f) {
       EXPECT_EQ(f.color.r, 255.0f);
       EXPECT_EQ(f.color.g, 0.0f);
       EXPECT_EQ(f.color.b, 127.5f);
       EXPECT_EQ(f.color.a, 255.0f);
       EXPECT_NEAR(f.scaledColor[0], 31.0f, 1e-4);
       EXPECT_EQ(f.scaledColor[1], 0.0f);
       EXPECT_NEAR(f.scaledColor[2], 15.5f, 1e-4);
       EXPECT_EQ(f.color8[0], 255);
       EXPECT_EQ(f.color8[1], 0);
       EXPECT_EQ(f.color8[2], 127);
     }},
    {"ColorGreenInItsOwnRange",
     [] {
       GLfloat c[4] = {0.0f, 0.5f, 0.0f, 0.0f};
       glFogfv(GL_FOG_COLOR, c);
     },
     [](const GlFogState &f) {
       EXPECT_NEAR(f.scaledColor[1], 31.5f, 1e-4);
       EXPECT_EQ(f.color8[1], 127);
     }},
    {"ColorIntegers",
     [] {
       GLint c[4] = {INT_MAX, INT_MIN, INT_MAX / 2, -1};
       glFogiv(GL_FOG_COLOR, c);
     },
     [](const GlFogState &f) {
       EXPECT_EQ(f.color.r, 255.0f);
       EXPECT_EQ(f.color.g, 0.0f);
       EXPECT_NEAR(f.color.b, 127.5f, 1e-3);
       EXPECT_EQ(f.color.a, 0.0f);
       EXPECT_EQ(f.color8[0], 255);
       EXPECT_EQ(f.color8[1], 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Entries, Fog, testing::ValuesIn(kFog), CaseName<FogCase>);

// The values the vector entries read, by pname; the integer forms agree.
struct SizeCase {
  GLenum pname;
  GLint fog, light, lightModel, material;
};

class ParameterCounts : public testing::TestWithParam<SizeCase> {};

TEST_P(ParameterCounts, OfEachFamily) {
  const SizeCase &c = GetParam();
  EXPECT_EQ(__glFogfv_size(c.pname), c.fog);
  EXPECT_EQ(__glFogiv_size(c.pname), c.fog);
  EXPECT_EQ(__glLightfv_size(c.pname), c.light);
  EXPECT_EQ(__glLightiv_size(c.pname), c.light);
  EXPECT_EQ(__glLightModelfv_size(c.pname), c.lightModel);
  EXPECT_EQ(__glLightModeliv_size(c.pname), c.lightModel);
  EXPECT_EQ(__glMaterialfv_size(c.pname), c.material);
  EXPECT_EQ(__glMaterialiv_size(c.pname), c.material);
}

INSTANTIATE_TEST_SUITE_P(
    Pnames, ParameterCounts,
    testing::Values(SizeCase{GL_FOG_INDEX, 1, -1, -1, -1}, SizeCase{GL_FOG_DENSITY, 1, -1, -1, -1},
                    SizeCase{GL_FOG_START, 1, -1, -1, -1}, SizeCase{GL_FOG_END, 1, -1, -1, -1},
                    SizeCase{GL_FOG_MODE, 1, -1, -1, -1}, SizeCase{GL_FOG_COLOR, 4, -1, -1, -1},
                    SizeCase{GL_FOG_INDEX - 1, -1, -1, -1, -1},
                    SizeCase{GL_FOG_COLOR + 1, -1, -1, -1, -1},
                    SizeCase{GL_AMBIENT, -1, 4, -1, 4}, SizeCase{GL_DIFFUSE, -1, 4, -1, 4},
                    SizeCase{GL_SPECULAR, -1, 4, -1, 4}, SizeCase{GL_POSITION, -1, 4, -1, -1},
                    SizeCase{GL_SPOT_DIRECTION, -1, 3, -1, -1},
                    SizeCase{GL_SPOT_EXPONENT, -1, 1, -1, -1},
                    SizeCase{GL_SPOT_CUTOFF, -1, 1, -1, -1},
                    SizeCase{GL_CONSTANT_ATTENUATION, -1, 1, -1, -1},
                    SizeCase{GL_LINEAR_ATTENUATION, -1, 1, -1, -1},
                    SizeCase{GL_QUADRATIC_ATTENUATION, -1, 1, -1, -1},
                    SizeCase{GL_AMBIENT - 1, -1, -1, -1, -1},
                    SizeCase{GL_QUADRATIC_ATTENUATION + 1, -1, -1, -1, -1},
                    SizeCase{GL_LIGHT_MODEL_LOCAL_VIEWER, -1, -1, 1, -1},
                    SizeCase{GL_LIGHT_MODEL_TWO_SIDE, -1, -1, 1, -1},
                    SizeCase{GL_LIGHT_MODEL_AMBIENT, -1, -1, 4, -1},
                    SizeCase{GL_LIGHT_MODEL_AMBIENT + 1, -1, -1, -1, -1},
                    SizeCase{GL_EMISSION, -1, -1, -1, 4}, SizeCase{GL_SHININESS, -1, -1, -1, 1},
                    SizeCase{GL_AMBIENT_AND_DIFFUSE, -1, -1, -1, 4},
                    SizeCase{GL_COLOR_INDEXES, -1, -1, -1, 3},
                    SizeCase{GL_INDEX_SHIFT, -1, -1, -1, -1},
                    SizeCase{GL_INDEX_OFFSET, -1, -1, -1, -1}));

}  // namespace
}  // namespace setters_test

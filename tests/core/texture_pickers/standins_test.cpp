// Every stand-in the texture and pixel pickers install reports its own
// name when called and nothing else; the empty level-of-detail procedures
// are real and answer 0.
#include <gtest/gtest.h>

#include "pixels/px_rho.h"
#include "pixels/px_sampler_standins.h"
#include "pixels/px_texenv_standins.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

struct Call {
  const char *name;
  void (*call)();
};

GlTexel texel;
GlColor color;
GlTextureObject tex;
GlTextureLevel level;

#define ENV(name) {#name, [] { name(nullptr, &color, &texel); }}
#define FILTER(name) {#name, [] { name(&tex, &texel, 0.0f, 0.5f, 0.5f); }}
#define LEVEL(name) {#name, [] { name(&tex, &level, 0.5f, 0.5f, &texel); }}
#define FRAGMENT(name) {#name, [] { name(nullptr, &color, 0.5f, 0.5f, 1.0f); }}

const Call kCalls[] = {
    ENV(__glTextureModulateA), ENV(__glTextureModulateRGB), ENV(__glTextureModulateRGBA),
    ENV(__glTextureModulateL), ENV(__glTextureModulateLA), ENV(__glTextureModulateI),
    ENV(__glTextureModulateCI), ENV(__glTextureReplaceA), ENV(__glTextureReplaceRGB),
    ENV(__glTextureReplaceRGBA), ENV(__glTextureReplaceL), ENV(__glTextureReplaceLA),
    ENV(__glTextureReplaceI), ENV(__glTextureReplaceCI), ENV(__glTextureBlendA),
    ENV(__glTextureBlendRGB), ENV(__glTextureBlendRGBA), ENV(__glTextureBlendL),
    ENV(__glTextureBlendLA), ENV(__glTextureBlendI), ENV(__glTextureDecalRGB),
    ENV(__glTextureDecalRGBA), ENV(__glTextureAddCI),
    FILTER(__glNearestFilter), FILTER(__glLinearFilter), FILTER(__glNMNFilter),
    FILTER(__glLMNFilter), FILTER(__glNMLFilter), FILTER(__glLMLFilter),
    LEVEL(__glNearestFilter1), LEVEL(__glLinearFilter1), LEVEL(__glNearestFilter2),
    LEVEL(__glLinearFilter2),
    FRAGMENT(__glFastTextureFragment), FRAGMENT(__glTextureFragment),
    FRAGMENT(__glMipMapFragment),
    {"__glComputeLineRho", [] { __glComputeLineRho(nullptr, 0.5f, 0.5f, 1.0f); }},
    {"__glComputePolygonRho", [] { __glComputePolygonRho(nullptr, nullptr, 0.5f, 0.5f, 1.0f); }},
};

TEST(PickerStandIns, EachReportsItsOwnNameAndTouchesNothing) {
  for (const Call &c : kCalls) {
    SCOPED_TRACE(c.name);
    StandInRecorder recorder;
    texel = {1, 2, 3, 4};
    color = {0.25f, 0.5f, 0.75f, 1.0f};
    c.call();
    ASSERT_EQ(StandInRecorder::calls().size(), 1u);
    EXPECT_EQ(StandInRecorder::calls()[0], c.name);
    EXPECT_EQ(texel.a, 4);
    EXPECT_EQ(color.r, 0.25f);
  }
}

// The value-returning stand-ins answer what their list gives: nothing
// computed.
TEST(PickerStandIns, ValueStandInsAnswerTheirListsResult) {
  struct Case {
    const char *name;
    float (*call)();
    float expected;
  } cases[] = {
      {"__glComputeLineRho", [] { return __glComputeLineRho(nullptr, 3.0f, 4.0f, 0.5f); }, 0.0f},
      {"__glComputePolygonRho",
       [] { return __glComputePolygonRho(nullptr, nullptr, 3.0f, 4.0f, 0.5f); }, 0.0f},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    StandInRecorder recorder;
    EXPECT_EQ(c.call(), c.expected);
    ASSERT_EQ(StandInRecorder::calls().size(), 1u);
    EXPECT_EQ(StandInRecorder::calls()[0], c.name);
  }
}

// One list declares and defines: each procedure records its own name and
// returns the list's result, computed from its arguments where the list
// says so.
#define TEST_STANDINS(X)                              \
  X(int32_t, TestNextOf, (int32_t n), n + 1)          \
  X(GLfloat, TestHalfOf, (GLfloat f), f * 0.5f)       \
  X(uint32_t, TestNothing, (GlContext * gc), 0)       \
  X(void, TestVoid, (GlContext * gc, int32_t *out), )
TEST_STANDINS(GL_STANDIN_DECLARE)
TEST_STANDINS(GL_STANDIN_DEFINE)

TEST(StandInLists, DeclareAndDefineFromOneList) {
  int32_t untouched = 7;
  struct Case {
    const char *name;
    double (*call)(int32_t *out);
    double expected;
  } cases[] = {
      {"TestNextOf", [](int32_t *) { return double(TestNextOf(41)); }, 42.0},
      {"TestHalfOf", [](int32_t *) { return double(TestHalfOf(3.0f)); }, 1.5},
      {"TestNothing", [](int32_t *) { return double(TestNothing(nullptr)); }, 0.0},
      {"TestVoid",
       [](int32_t *out) {
         TestVoid(nullptr, out);
         return 0.0;
       },
       0.0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    StandInRecorder recorder;
    EXPECT_EQ(c.call(&untouched), c.expected);
    ASSERT_EQ(StandInRecorder::calls().size(), 1u);
    EXPECT_EQ(StandInRecorder::calls()[0], c.name);
    EXPECT_EQ(untouched, 7);
  }
}

TEST(PickerStandIns, TheEmptyLevelOfDetailIsZero) {
  StandInRecorder recorder;
  EXPECT_EQ(__glNopLineRho(nullptr, 3.0f, 4.0f, 0.5f), 0.0f);
  EXPECT_EQ(__glNopPolygonRho(nullptr, nullptr, 3.0f, 4.0f, 0.5f), 0.0f);
  EXPECT_TRUE(StandInRecorder::calls().empty());
}

}  // namespace

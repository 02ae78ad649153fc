// The stand-in lists declare and define from one list; the empty
// level-of-detail procedures are real and answer 0.
#include <gtest/gtest.h>

#include "pixels/px_rho.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

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

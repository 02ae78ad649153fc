// glAddSwapHintRectWIN: the rectangle cut to the window, recorded only for
// a double-buffered visual, refused inside glBegin/glEnd.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

struct Hint {
  int32_t x, y, width, height;
  bool operator==(const Hint &) const = default;
};
std::vector<Hint> gHints;
GlDrawable *gDrawable;

void NoteHint(GlDrawable *drawable, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (drawable == gDrawable) gHints.push_back({x, y, width, height});
}

void PrintTo(const Hint &h, std::ostream *os) {
  *os << "{" << h.x << ", " << h.y << ", " << h.width << ", " << h.height << "}";
}

TEST_F(LifeTest, SwapHintRectanglesAreCutToTheWindow) {
  struct Case {
    const char *what;
    bool doubleBuffered;
    bool yInverted;
    int32_t beginMode;
    Hint given;
    std::vector<Hint> recorded;
    GLenum error;
  } cases[] = {
      {"inside", true, false, 0, {10, 20, 30, 40}, {{10, 20, 30, 40}}, GL_NO_ERROR},
      {"the whole window", true, false, 0, {0, 0, 200, 100}, {{0, 0, 200, 100}}, GL_NO_ERROR},
      {"over the right and top",
       true,
       false,
       0,
       {150, 80, 100, 50},
       {{150, 80, 50, 20}},
       GL_NO_ERROR},
      {"over the left and bottom",
       true,
       false,
       0,
       {-10, -5, 30, 15},
       {{0, 0, 20, 10}},
       GL_NO_ERROR},
      {"around the window", true, false, 0, {-50, -50, 400, 400}, {{0, 0, 200, 100}}, GL_NO_ERROR},
      {"rows are not flipped on a top-down window",
       true,
       true,
       0,
       {5, 10, 20, 30},
       {{5, 10, 20, 30}},
       GL_NO_ERROR},
      {"wholly outside", true, false, 0, {300, 10, 5, 5}, {}, GL_NO_ERROR},
      {"empty", true, false, 0, {10, 10, 0, 5}, {}, GL_NO_ERROR},
      {"negative size", true, false, 0, {50, 50, -20, 10}, {}, GL_NO_ERROR},
      {"no overflow at the ends of the range",
       true,
       false,
       0,
       {0x7FFFFFF0, 0, 0x7FFFFFFF, 10},
       {},
       GL_NO_ERROR},
      {"far left, far wide", true, false, 0, {-0x7FFFFFFF, 0, 0x7FFFFFFF, 10}, {}, GL_NO_ERROR},
      {"single-buffered: nothing to swap", false, false, 0, {10, 20, 30, 40}, {}, GL_NO_ERROR},
      {"inside glBegin", true, false, __GL_IN_BEGIN, {10, 20, 30, 40}, {}, GL_INVALID_OPERATION},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(200, 100, c.yInverted);
    window.drawable()->addSwapHintRect = NoteHint;
    gDrawable = window.drawable();
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes(true, c.doubleBuffered));
    ASSERT_NE(gc, nullptr);
    gHints.clear();
    gc->beginMode = c.beginMode;
    gc->dispatch.AddSwapHintRectWIN(c.given.x, c.given.y, c.given.width, c.given.height);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(gHints, c.recorded);
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
}

}  // namespace
}  // namespace life_test

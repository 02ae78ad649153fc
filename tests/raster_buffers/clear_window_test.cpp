// glClear through a bound context into a window's memory: the front
// buffer only where the window is visible and inside the scissor box, the
// back buffer over the scissor box, each with the clear colour rounded or
// dithered as the fragment stores would.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

const int kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int32_t kWidth = 16, kHeight = 8;
constexpr uint32_t kUntouched = 0x5A5A;

// 5-6-5 pixel of a grey level, plain or dithered at memory pixel (x, y).
uint32_t Grey(GLfloat level, bool dither, int32_t x, int32_t y) {
  const double offset = dither ? (2 * kDither[y & 3][x & 3] + 1) / 32.0 : 0.5;
  auto channel = [&](GLfloat max) { return uint32_t(floor(double(level * max) + offset)); };
  return channel(31) << 11 | channel(63) << 5 | channel(31);
}

struct Box {
  int32_t x0, y0, x1, y1;  // memory rows and columns, ends exclusive
  bool Holds(int32_t x, int32_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// The window shows an L: the left ten columns, and the bottom four rows
// of the rest.
const std::vector<GlRect> kVisible = {{0, 0, 10, 8}, {10, 0, 16, 4}};
bool Visible(int32_t x, int32_t y) { return x < 10 || y < 4; }

TEST_F(LifeTest, ClearsTheWindowsMemory) {
  struct Case {
    const char *what;
    bool yInverted;
    GLenum drawBuffer;
    bool scissor;
    GLint box[4];  // the scissor box as GL takes it
    Box rows;      // what it covers in memory
    GLfloat grey;
    bool dither;
    bool front, back;  // cleared
  } cases[] = {
      {"front, whole window", false, GL_FRONT, false, {}, {0, 0, 16, 8}, 1.0f, true, true, false},
      {"back, whole window", false, GL_BACK, false, {}, {0, 0, 16, 8}, 1.0f, true, false, true},
      {"both, scissored",
       false,
       GL_FRONT_AND_BACK,
       true,
       {4, 2, 10, 4},
       {4, 2, 14, 6},
       0.0f,
       true,
       true,
       true},
      {"front, grey, rounded", false, GL_FRONT, false, {}, {0, 0, 16, 8}, 0.5f, false, true, false},
      {"back, grey, dithered", false, GL_BACK, false, {}, {0, 0, 16, 8}, 0.3f, true, false, true},
      {"front, grey, dithered and scissored",
       false,
       GL_FRONT,
       true,
       {3, 1, 12, 6},
       {3, 1, 15, 7},
       0.7f,
       true,
       true,
       false},
      {"top-down, back, scissored: rows from the top",
       true,
       GL_BACK,
       true,
       {1, 1, 5, 2},
       {1, 5, 6, 7},
       0.45f,
       true,
       false,
       true},
      {"top-down, front, scissored",
       true,
       GL_FRONT,
       true,
       {8, 0, 8, 6},
       {8, 2, 16, 8},
       1.0f,
       false,
       true,
       false},
      {"no colour buffer", false, GL_NONE, false, {}, {0, 0, 16, 8}, 1.0f, false, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(kWidth, kHeight, c.yInverted);
    PixelMemory *front = window.AttachMemory(&GlDrawable::front, 16, 2, 0x5A);
    PixelMemory *back = window.AttachMemory(&GlDrawable::back, 16, 2, 0x5A);
    window.SetClipRects(kVisible);
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes());
    ASSERT_NE(gc, nullptr);
    GlDispatchState &d = gc->dispatch;
    d.DrawBuffer(c.drawBuffer);
    if (c.scissor) {
      d.Scissor(c.box[0], c.box[1], c.box[2], c.box[3]);
      d.Enable(GL_SCISSOR_TEST);
    }
    if (!c.dither) d.Disable(GL_DITHER);
    d.ClearColor(c.grey, c.grey, c.grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++) {
        const uint32_t cleared = Grey(c.grey, c.dither, x, y);
        const bool inBox = c.rows.Holds(x, y);
        EXPECT_EQ(front->Read(x, y), c.front && inBox && Visible(x, y) ? cleared : kUntouched)
            << "front " << x << "," << y;
        EXPECT_EQ(back->Read(x, y), c.back && inBox ? cleared : kUntouched)
            << "back " << x << "," << y;
      }
    EXPECT_TRUE(front->GuardsIntact());
    EXPECT_TRUE(back->GuardsIntact());
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
  }
}

}  // namespace
}  // namespace life_test

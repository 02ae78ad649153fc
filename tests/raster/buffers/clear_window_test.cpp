// glClear through a bound context into a window's memory: the front
// buffer only where the window is visible and inside the scissor box, the
// back buffer over the scissor box, each with the clear colour rounded or
// dithered as the fragment stores would, or with the integer part of the
// clear index.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

const int kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int32_t kWidth = 16, kHeight = 8;

// 5-6-5 pixel of a grey level, plain or dithered at memory pixel (x, y);
// an 8-bit index pixel holds the integer part of the index whatever the
// dither.
uint32_t Cleared(bool rgba, GLfloat value, bool dither, int32_t x, int32_t y) {
  if (!rgba) return uint32_t(value) & 0xFF;
  const double offset = dither ? (2 * kDither[y & 3][x & 3] + 1) / 32.0 : 0.5;
  auto channel = [&](GLfloat max) { return uint32_t(floor(double(value * max) + offset)); };
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
    bool rgba;
    bool yInverted;
    GLenum drawBuffer;
    bool scissor;
    GLint box[4];  // the scissor box as GL takes it
    Box rows;      // what it covers in memory
    GLfloat value;  // grey level, or clear index
    bool dither;
    bool front, back;  // cleared
  } cases[] = {
      // clang-format off
      {"front, whole window", true, false, GL_FRONT, false, {}, {0, 0, 16, 8}, 1.0f, true, true, false},
      {"back, whole window", true, false, GL_BACK, false, {}, {0, 0, 16, 8}, 1.0f, true, false, true},
      {"both, scissored", true, false, GL_FRONT_AND_BACK, true, {4, 2, 10, 4}, {4, 2, 14, 6}, 0.0f, true, true, true},
      {"front, grey, rounded", true, false, GL_FRONT, false, {}, {0, 0, 16, 8}, 0.5f, false, true, false},
      {"back, grey, dithered", true, false, GL_BACK, false, {}, {0, 0, 16, 8}, 0.3f, true, false, true},
      {"front, grey, dithered and scissored", true, false, GL_FRONT, true, {3, 1, 12, 6}, {3, 1, 15, 7}, 0.7f, true, true, false},
      {"top-down, back, scissored: rows from the top", true, true, GL_BACK, true, {1, 1, 5, 2}, {1, 5, 6, 7}, 0.45f, true, false, true},
      {"top-down, front, scissored", true, true, GL_FRONT, true, {8, 0, 8, 6}, {8, 2, 16, 8}, 1.0f, false, true, false},
      {"no colour buffer", true, false, GL_NONE, false, {}, {0, 0, 16, 8}, 1.0f, false, false, false},
      {"index, front, dithered and scissored", false, false, GL_FRONT, true, {3, 1, 12, 6}, {3, 1, 15, 7}, 37.75f, true, true, false},
      {"index, front, rounded", false, false, GL_FRONT, false, {}, {0, 0, 16, 8}, 3.5f, false, true, false},
      {"index, both, scissored", false, false, GL_FRONT_AND_BACK, true, {4, 2, 10, 4}, {4, 2, 14, 6}, 200.9375f, true, true, true},
      {"index, top-down, back, scissored", false, true, GL_BACK, true, {1, 1, 5, 2}, {1, 5, 6, 7}, 255.0f, false, false, true},
      // clang-format on
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(kWidth, kHeight, c.yInverted);
    const uint32_t bits = c.rgba ? 16 : 8;
    const uint32_t untouched = c.rgba ? 0x5A5A : 0x5A;
    PixelMemory *front = window.AttachMemory(&GlDrawable::front, bits, 0, 0x5A);
    PixelMemory *back = window.AttachMemory(&GlDrawable::back, bits, 0, 0x5A);
    window.SetClipRects(kVisible);
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes(c.rgba));
    ASSERT_NE(gc, nullptr);
    GlDispatchState &d = gc->dispatch;
    d.DrawBuffer(c.drawBuffer);
    if (c.scissor) {
      d.Scissor(c.box[0], c.box[1], c.box[2], c.box[3]);
      d.Enable(GL_SCISSOR_TEST);
    }
    if (!c.dither) d.Disable(GL_DITHER);
    d.ClearColor(c.value, c.value, c.value, 1.0f);
    d.ClearIndex(c.value);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++) {
        const uint32_t cleared = Cleared(c.rgba, c.value, c.dither, x, y);
        const bool inBox = c.rows.Holds(x, y);
        EXPECT_EQ(front->Read(x, y), c.front && inBox && Visible(x, y) ? cleared : untouched)
            << "front " << x << "," << y;
        EXPECT_EQ(back->Read(x, y), c.back && inBox ? cleared : untouched)
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

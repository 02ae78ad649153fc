// Square copies: a non-square level fills its square surface with copies
// of itself along the direction whose wrap repeats, or with the border
// colour; sub-rectangles, the recorded address and padded rows.
#include <gtest/gtest.h>

#include <string>

#include "tests/sis/texmgr/texcopy_fixture.h"

namespace {

using texcopy::HandLevel;
using texcopy::Plain;

// An RGBA level whose texel (r, c) is the _BGRA8 word 0x10000000 + r << 8 + c.
void Number(HandLevel &h) {
  for (int32_t r = 0; r < h.level.base.height; ++r) {
    for (int32_t c = 0; c < h.level.base.width; ++c) {
      uint8_t *p = &h.image[(size_t(r) * h.level.base.width + c) * 4];
      p[0] = 0;            // R
      p[1] = uint8_t(r);   // G
      p[2] = uint8_t(c);   // B
      p[3] = 0x10;         // A
    }
  }
}

uint32_t Numbered(int32_t r, int32_t c) { return 0x10000000u | uint32_t(r) << 8 | uint32_t(c); }

// Border (0.5, 0.25, 1.0, 0.75): each component x 255, truncated.
constexpr uint32_t kBorder = 0xBF7F3FFF;

struct Shape {
  const char *name;
  int32_t width, height;
  GLenum wrapS, wrapT;
  // Where surface texel (r, c) comes from: a level texel, or the border.
  bool (*border)(int32_t r, int32_t c, int32_t w, int32_t h);
};

bool Inside(int32_t r, int32_t c, int32_t w, int32_t h) { return r >= h || c >= w; }

const Shape kShapes[] = {
    {"4 x 1, t repeats", 4, 1, GL_CLAMP, GL_REPEAT, [](int32_t, int32_t, int32_t, int32_t) { return false; }},
    {"4 x 1, t clamps", 4, 1, GL_REPEAT, GL_CLAMP, Inside},
    {"8 x 2, t repeats", 8, 2, GL_CLAMP, GL_REPEAT, [](int32_t, int32_t, int32_t, int32_t) { return false; }},
    {"1 x 4, s repeats", 1, 4, GL_REPEAT, GL_CLAMP, [](int32_t, int32_t, int32_t, int32_t) { return false; }},
    {"2 x 8, s clamps", 2, 8, GL_CLAMP, GL_REPEAT, Inside},
    {"4 x 4", 4, 4, GL_CLAMP, GL_CLAMP, [](int32_t, int32_t, int32_t, int32_t) { return false; }},
};

class SquareCopy : public testing::TestWithParam<int32_t> {};  // row padding in bytes

TEST_P(SquareCopy, FillsTheSquareByTheWrapOfTheLongSide) {
  for (const Shape &s : kShapes) {
    for (bool bgra : {false, true}) {
      SCOPED_TRACE(std::string(s.name) + (bgra ? " BGRA8" : " plain"));
      const GlDDrawTexFormat &row = bgra ? __glDDrawTexFormatRGBA8_BGRA8 : __glDDrawTexFormatRGBA;
      HandLevel h(s.width, s.height, 4, row, GetParam(), 0xEE);
      Number(h);
      h.tex.base.wrapS = s.wrapS;
      h.tex.base.wrapT = s.wrapT;
      const GLfloat border[4] = {0.5f, 0.25f, 1.0f, 0.75f};
      std::copy(border, border + 4, h.tex.base.borderColor);
      uint8_t *const address = h.level.address;
      h.level.squareCopy(&h.tex, &h.level, 0, 0, s.width, s.height);
      EXPECT_EQ(h.level.address, address) << "the recorded address is restored";
      for (int32_t r = 0; r < h.side; ++r) {
        for (int32_t c = 0; c < h.side; ++c) {
          const uint32_t want = s.border(r, c, s.width, s.height)
                                    ? kBorder
                                    : Numbered(r % s.height, c % s.width);
          ASSERT_EQ(h.At(r, c), bgra ? want : Plain(want)) << std::hex << r << "," << c;
        }
        // The padding after each row is left alone.
        for (int32_t b = h.side * 4; b < h.pitch; ++b) ASSERT_EQ(h.surface[size_t(r) * h.pitch + b], 0xEE);
      }
      if (s.width != s.height) {
        EXPECT_EQ(h.level.sScale, 1.0f);
        EXPECT_EQ(h.level.tScale, float(s.height) / float(s.width));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pitches, SquareCopy, testing::Values(0, 4, 24),
                         [](const testing::TestParamInfo<int32_t> &i) {
                           return "Padding" + std::to_string(i.param);
                         });

// A sub-rectangle changes that rectangle of each block and nothing else.
TEST(SquareCopySubRectangle, ChangesOnlyItsRectangleInEveryBlock) {
  struct Case {
    int32_t width, height, x, y, w, h;
  } const cases[] = {{4, 4, 1, 1, 2, 2}, {8, 2, 2, 1, 3, 1}, {2, 8, 1, 3, 1, 4}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    HandLevel h(c.width, c.height, 4, __glDDrawTexFormatRGBA8_BGRA8, 8, 0x11);
    Number(h);
    h.level.squareCopy(&h.tex, &h.level, c.x, c.y, c.w, c.h);
    for (int32_t r = 0; r < h.side; ++r) {
      for (int32_t col = 0; col < h.side; ++col) {
        const int32_t lr = r % c.height, lc = col % c.width;
        const bool inRect = lr >= c.y && lr < c.y + c.h && lc >= c.x && lc < c.x + c.w;
        EXPECT_EQ(h.At(r, col), inRect ? Numbered(lr, lc) : 0x11111111u) << r << "," << col;
      }
    }
  }
}

}  // namespace

// The polygon stipple: client bitmaps packed under the unpack modes (against
// a model that reads one bit at a time), the conversion to row words, and
// glPolygonStipple from end to end.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_pack.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

// Bit `i` of a row of the client image, as the unpack modes place it.
int ClientBit(const GlPixelStoreModes &m, const std::vector<uint8_t> &src, int width, int components,
              int row, int i) {
  int groups = m.rowLength > 0 ? m.rowLength : width;
  int stride = (components * groups + 7) / 8;
  stride = (stride + m.alignment - 1) / m.alignment * m.alignment;
  int bit = components * m.skipPixels + i;
  uint8_t byte = src[(m.skipRows + row) * stride + bit / 8];
  int shift = m.lsbFirst ? bit % 8 : 7 - bit % 8;
  return (byte >> shift) & 1;
}

struct UnpackCase {
  const char *name;
  int width, height, components;
  GlPixelStoreModes modes;
};

class UnpackBitmap : public testing::TestWithParam<UnpackCase> {};

TEST_P(UnpackBitmap, MatchesTheBitByBitModel) {
  const UnpackCase &c = GetParam();
  const GlPixelStoreModes &m = c.modes;
  int groups = m.rowLength > 0 ? m.rowLength : c.width;
  int stride = (c.components * groups + 7) / 8;
  stride = (stride + m.alignment - 1) / m.alignment * m.alignment;
  // Exactly the bytes the modes reach, so that a read beyond shows under the
  // address sanitizer.
  int lastBit = c.components * (m.skipPixels + c.width) - 1;
  size_t size = size_t((m.skipRows + c.height - 1) * stride + lastBit / 8 + 1);
  std::vector<uint8_t> src(size);
  uint32_t seed = 0x1234567u;
  for (uint8_t &b : src) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);

  int rowBits = c.width * c.components;
  int rowBytes = (rowBits + 7) / 8;
  std::vector<uint8_t> dest(size_t(rowBytes * c.height) + 1, 0xA5);
  __glUnpackBitmap(&m, c.width, c.height, c.components, src.data(), dest.data());
  for (int row = 0; row < c.height; row++)
    for (int i = 0; i < rowBytes * 8; i++) {
      int got = (dest[row * rowBytes + i / 8] >> (7 - i % 8)) & 1;
      int want = i < rowBits ? ClientBit(m, src, c.width, c.components, row, i) : 0;
      ASSERT_EQ(got, want) << "row " << row << " bit " << i;
    }
  EXPECT_EQ(dest.back(), 0xA5) << "written beyond the packed image";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, UnpackBitmap,
    testing::Values(UnpackCase{"Stipple", 32, 32, 1, {0, 0, 0, 0, 0, 4}},
                    UnpackCase{"OddWidth", 10, 3, 1, {0, 0, 0, 0, 0, 1}},
                    UnpackCase{"SkipPixelsThree", 10, 4, 1, {0, 0, 0, 0, 3, 1}},
                    UnpackCase{"SkipPixelsEight", 13, 2, 1, {0, 0, 0, 0, 8, 2}},
                    UnpackCase{"SkipRowsAligned", 9, 5, 1, {0, 0, 0, 2, 0, 8}},
                    UnpackCase{"RowLength", 7, 6, 1, {0, 0, 25, 1, 5, 4}},
                    UnpackCase{"LsbFirst", 32, 32, 1, {0, 1, 0, 0, 0, 4}},
                    UnpackCase{"LsbFirstSkipped", 11, 3, 1, {0, 1, 0, 1, 6, 2}},
                    UnpackCase{"TwoComponents", 5, 3, 2, {0, 0, 0, 0, 1, 1}},
                    UnpackCase{"OnePixel", 1, 1, 1, {0, 0, 0, 0, 7, 1}}),
    CaseName<UnpackCase>);

// Rows of four bytes become words, the first byte most significant.
TEST_F(SetterTest, PolygonStippleConvertsAtOnce) {
  GLubyte pattern[128];
  for (int i = 0; i < 128; i++) pattern[i] = GLubyte(i * 37 + 11);
  glPolygonStipple(pattern);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Calls(), std::vector<std::string>{"convertStipple"});
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_POLYGON);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  for (int i = 0; i < 128; i++) ASSERT_EQ(gc->state.polygonStipple.stipple[i], pattern[i]) << i;
  for (int row = 0; row < 32; row++) {
    const GLubyte *b = &pattern[4 * row];
    uint32_t word = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    EXPECT_EQ(gc->polygon.stipple[row], word) << "row " << row;
  }
}

// Without a pattern the call does nothing.
TEST_F(SetterTest, PolygonStippleWithoutAPatternChangesNothing) {
  std::vector<uint8_t> before = Snapshot(gc);
  glPolygonStipple(nullptr);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(Snapshot(gc) == before);
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace setters_test

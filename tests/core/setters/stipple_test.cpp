// The polygon stipple: the conversion to row words, and glPolygonStipple
// from end to end. (Client bitmaps packed under the unpack modes are tested
// with the other client images in tests/pixels/fill_image.)
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

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

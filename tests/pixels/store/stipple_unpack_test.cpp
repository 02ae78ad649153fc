// glPolygonStipple reads the application's pattern with the unpack modes:
// the same pattern laid out under any modes gives the same stipple words,
// and the pack modes play no part.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "core/current.h"
#include "tests/pixels/store/pixel_state_fixture.h"

namespace pixel_state_test {
namespace {

// Bit (row, column) of the test pattern.
int PatternBit(int row, int column) { return ((row * 7 + column * 13) ^ (row >> 1)) % 3 == 0; }

// The 32 x 32 pattern laid out in client memory as the modes say, written
// one bit at a time; the bytes the modes skip hold noise.
std::vector<uint8_t> LayOut(const GlPixelStoreModes &m) {
  const int groups = m.rowLength > 0 ? m.rowLength : 32;
  const int stride = ((groups + 7) / 8 + m.alignment - 1) / m.alignment * m.alignment;
  // Skipped pixels may carry the last row past the image's rows.
  std::vector<uint8_t> image(size_t(stride * (m.skipRows + 32) + (m.skipPixels + 7) / 8));
  uint32_t seed = 12345;
  for (uint8_t &b : image) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
  for (int row = 0; row < 32; row++)
    for (int column = 0; column < 32; column++) {
      const int bit = m.skipPixels + column;
      uint8_t &byte = image[size_t((m.skipRows + row) * stride + bit / 8)];
      const int shift = m.lsbFirst ? bit % 8 : 7 - bit % 8;
      byte = uint8_t((byte & ~(1u << shift)) | PatternBit(row, column) << shift);
    }
  return image;
}

void Store(const GlPixelStoreModes &m) {
  glPixelStorei(GL_UNPACK_SWAP_BYTES, m.swapBytes);
  glPixelStorei(GL_UNPACK_LSB_FIRST, m.lsbFirst);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, m.rowLength);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, m.skipRows);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, m.skipPixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, m.alignment);
}

// The test pattern set under the default modes; its stipple words.
void StoreUnderDefaults(uint32_t words[32]) {
  const GlPixelStoreModes defaults = {0, 0, 0, 0, 0, 4};
  Store(defaults);
  glPolygonStipple(LayOut(defaults).data());
  memcpy(words, __glGetTLSCXValue()->polygon.stipple, 32 * sizeof(uint32_t));
}

TEST_F(PixelStateTest, PolygonStippleHonoursEveryUnpackMode) {
  uint32_t words[32];
  StoreUnderDefaults(words);
  for (int row = 0; row < 32; row++) {
    uint32_t want = 0;
    for (int column = 0; column < 32; column++) want |= uint32_t(PatternBit(row, column)) << (31 - column);
    ASSERT_EQ(words[row], want) << "row " << row;
  }

  const GlPixelStoreModes modes[] = {
      {0, 1, 0, 0, 0, 4},    // least significant bit first
      {0, 0, 0, 3, 0, 1},    // rows skipped
      {0, 0, 0, 0, 5, 1},    // pixels skipped, not a whole byte
      {0, 0, 0, 0, 16, 2},   // pixels skipped, whole bytes
      {0, 0, 45, 0, 0, 1},   // longer rows
      {0, 0, 33, 0, 0, 8},   // longer rows on eight-byte rows
      {1, 1, 41, 2, 7, 2},   // all at once; byte swapping means nothing to bitmaps
  };
  // The pack modes are not read.
  glPixelStorei(GL_PACK_LSB_FIRST, 1);
  glPixelStorei(GL_PACK_SKIP_ROWS, 9);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 3);
  for (const GlPixelStoreModes &m : modes) {
    SCOPED_TRACE("lsb " + std::to_string(m.lsbFirst) + " length " + std::to_string(m.rowLength) +
                 " rows " + std::to_string(m.skipRows) + " pixels " +
                 std::to_string(m.skipPixels) + " alignment " + std::to_string(m.alignment));
    memset(gc->polygon.stipple, 0, sizeof words);
    Store(m);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const std::vector<uint8_t> image = LayOut(m);
    glPolygonStipple(image.data());
    EXPECT_EQ(memcmp(gc->polygon.stipple, words, sizeof words), 0);
  }
}

// Unpack modes that put the pattern 2^31 bytes or more past the pointer
// (no such image exists) are refused: the old stipple stays, nothing is read.
TEST_F(PixelStateTest, PolygonStippleOutOfReachKeepsTheOldPattern) {
  uint32_t words[32];
  StoreUnderDefaults(words);
  GLubyte stored[128];
  memcpy(stored, gc->state.polygonStipple.stipple, sizeof stored);

  Store({0, 0, 1 << 20, 1 << 14, 0, 1});  // rows of 2^17 bytes, 2^14 of them skipped
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  const GLubyte pattern[128] = {};
  glPolygonStipple(pattern);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(memcmp(gc->state.polygonStipple.stipple, stored, sizeof stored), 0);
  EXPECT_EQ(memcmp(gc->polygon.stipple, words, sizeof words), 0);
}

}  // namespace
}  // namespace pixel_state_test

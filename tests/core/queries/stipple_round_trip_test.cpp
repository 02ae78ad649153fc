// glPolygonStipple then glGetPolygonStipple under the same store modes gives
// back the application's image, and the query leaves every bit of the
// buffer outside the 32 x 32 image as it was.
#include <gtest/gtest.h>
#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/core/queries/query_fixture.h"

namespace query_test {
namespace {

struct Modes {
  GLint rowLength, skipRows, skipPixels, alignment;
  GLboolean lsbFirst;
};

std::string Name(const Modes &m) {
  return "row " + std::to_string(m.rowLength) + " skip " + std::to_string(m.skipRows) + "/" +
         std::to_string(m.skipPixels) + " align " + std::to_string(m.alignment) + " lsb " +
         std::to_string(m.lsbFirst);
}

const Modes kModes[] = {
    {0, 0, 0, 4, 0},  {0, 0, 0, 1, 1},  {0, 0, 3, 1, 0},  {0, 2, 5, 2, 1},   {40, 1, 7, 8, 0},
    {45, 0, 9, 1, 1}, {33, 3, 1, 4, 0}, {0, 0, 15, 8, 1}, {64, 1, 32, 2, 0},
};

constexpr size_t kBytes = 64 * 8;  // more than any layout above reaches

void Store(GLenum first, const Modes &m) {
  // The pack names follow the unpack names in the same order.
  const GLenum base = first;
  glPixelStorei(base + 0, 0);  // swap bytes: nothing to bitmaps
  glPixelStorei(base + 1, m.lsbFirst);
  glPixelStorei(base + 2, m.rowLength);
  glPixelStorei(base + 3, m.skipRows);
  glPixelStorei(base + 4, m.skipPixels);
  glPixelStorei(base + 5, m.alignment);
}

class StippleRoundTrip : public QueryTest, public testing::WithParamInterface<Modes> {};

TEST_P(StippleRoundTrip, GivesBackTheImageAndKeepsTheRest) {
  const Modes &m = GetParam();
  std::mt19937 random(7);
  std::vector<GLubyte> image(kBytes);
  for (GLubyte &b : image) b = GLubyte(random());

  // Which bits the image occupies: the query of an all-ones pattern into
  // zeros.
  const std::vector<GLubyte> ones(128, 0xFF);
  Store(GL_UNPACK_SWAP_BYTES, Modes{0, 0, 0, 4, 0});
  glPolygonStipple(ones.data());
  Store(GL_PACK_SWAP_BYTES, m);
  std::vector<GLubyte> mask(kBytes, 0);
  glGetPolygonStipple(mask.data());
  int bits = 0;
  for (GLubyte b : mask) bits += __builtin_popcount(b);
  ASSERT_EQ(bits, 32 * 32);

  Store(GL_UNPACK_SWAP_BYTES, m);
  glPolygonStipple(image.data());
  std::vector<GLubyte> out(kBytes);
  for (size_t i = 0; i < kBytes; ++i) out[i] = GLubyte(~image[i]);
  glGetPolygonStipple(out.data());
  for (size_t i = 0; i < kBytes; ++i)
    ASSERT_EQ(out[i], GLubyte((image[i] & mask[i]) | (~image[i] & ~mask[i]))) << "byte " << i;
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Modes, StippleRoundTrip, testing::ValuesIn(kModes),
                         [](const testing::TestParamInfo<Modes> &i) {
                           std::string n = Name(i.param);
                           for (char &c : n)
                             if (c == ' ' || c == '/') c = '_';
                           return n;
                         });

// The default modes give the stored rows back as they are kept: four bytes
// a row, first pixel in the most significant bit.
TEST_F(QueryTest, StippleUnderDefaultModesIsTheStoredPattern) {
  std::vector<GLubyte> pattern(128);
  for (int i = 0; i < 128; ++i) pattern[i] = GLubyte(i * 37 + 11);
  glPolygonStipple(pattern.data());
  ExpectWritten<GLubyte>(
      pattern, [](GLubyte *p) { glGetPolygonStipple(p); }, "stipple");
}

// Under other pack modes each pattern bit lands where OpenGL's layout puts
// it, read here one bit at a time; every other bit keeps its value.
TEST_P(StippleRoundTrip, PlacesEachBitAsThePackModesSay) {
  const Modes &m = GetParam();
  auto on = [](int row, int column) { return (row * 5 + column * 3 + (row >> 2)) % 4 == 1; };
  std::vector<GLubyte> pattern(128, 0);
  for (int row = 0; row < 32; row++)
    for (int column = 0; column < 32; column++)
      if (on(row, column)) pattern[size_t(row * 4 + column / 8)] |= GLubyte(0x80 >> column % 8);
  Store(GL_UNPACK_SWAP_BYTES, Modes{0, 0, 0, 4, 0});
  glPolygonStipple(pattern.data());

  Store(GL_PACK_SWAP_BYTES, m);
  std::vector<GLubyte> out(kBytes), before(kBytes);
  std::mt19937 random(11);
  for (GLubyte &b : out) b = GLubyte(random());
  before = out;
  glGetPolygonStipple(out.data());
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  const int groups = m.rowLength > 0 ? m.rowLength : 32;
  const int stride = (groups + 8 * m.alignment - 1) / (8 * m.alignment) * m.alignment;
  std::vector<bool> image(kBytes * 8, false);
  for (int row = 0; row < 32; row++)
    for (int column = 0; column < 32; column++) {
      const int bit = m.skipPixels + column;
      const size_t byte = size_t((m.skipRows + row) * stride + bit / 8);
      const int shift = m.lsbFirst ? bit % 8 : 7 - bit % 8;
      image[byte * 8 + size_t(shift)] = true;
      ASSERT_EQ((out[byte] >> shift) & 1, on(row, column) ? 1 : 0)
          << "row " << row << " column " << column;
    }
  for (size_t byte = 0; byte < kBytes; byte++)
    for (int shift = 0; shift < 8; shift++)
      if (!image[byte * 8 + size_t(shift)]) {
        ASSERT_EQ((out[byte] >> shift) & 1, (before[byte] >> shift) & 1)
            << "byte " << byte << " bit " << shift;
      }
}

}  // namespace
}  // namespace query_test

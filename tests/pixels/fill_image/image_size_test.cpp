// Packed image sizes in 64 bits: the worked sizes, every group shape, and
// sizes near and beyond what 32 bits hold, which never wrap; the check a
// caller makes before allocating.
#include <limits.h>
#include <stdint.h>

#include "core/context.h"
#include "pixels/px_enums.h"
#include "pixels/px_pack.h"
#include "tests/pixels/fill_image/fill_fixture.h"

namespace fill_image_test {
namespace {

TEST_F(FillTest, ImageSizes) {
  const struct {
    GLsizei width, height;
    GLenum format, type;
    int64_t bytes;
  } cases[] = {
      {10, 2, GL_COLOR_INDEX, GL_BITMAP, 4},
      {3, 3, GL_RGB, GL_UNSIGNED_BYTE, 27},
      {32, 32, GL_COLOR_INDEX, GL_BITMAP, 128},
      {17, 3, GL_STENCIL_INDEX, GL_BITMAP, 9},
      {7, 5, GL_RGBA, GL_FLOAT, 560},
      {7, 5, GL_LUMINANCE_ALPHA, GL_SHORT, 140},
      {7, 5, GL_BGR_EXT, GL_UNSIGNED_INT, 420},
      {7, 5, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, 70},
      {7, 5, GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, 35},
      {7, 5, GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT, 140},
      {0, 5, GL_RGBA, GL_UNSIGNED_BYTE, 0},
      {5, 0, GL_COLOR_INDEX, GL_BITMAP, 0},
      {-1, 5, GL_RGBA, GL_UNSIGNED_BYTE, 0},
      {5, -1, GL_COLOR_INDEX, GL_BITMAP, 0},
      // Just inside and just beyond a signed 32-bit count.
      {46340, 46340, GL_LUMINANCE, GL_UNSIGNED_BYTE, 2147395600},
      {46341, 46341, GL_LUMINANCE, GL_UNSIGNED_BYTE, 2147488281},
      // 2^33, which 32 bits hold as 0.
      {65536, 32768, GL_RGBA, GL_UNSIGNED_BYTE, int64_t(1) << 33},
      {INT_MAX, INT_MAX, GL_COLOR_INDEX, GL_BITMAP, (int64_t(1) << 28) * INT_MAX},
      // Beyond 64 bits: the largest count.
      {INT_MAX, INT_MAX, GL_RGBA, GL_FLOAT, INT64_MAX},
  };
  for (const auto &c : cases)
    EXPECT_EQ(__glImageSize(c.width, c.height, c.format, c.type), c.bytes)
        << c.width << " x " << c.height << " format " << c.format << " type " << c.type;
}

TEST_F(FillTest, ImageSizes3D) {
  EXPECT_EQ(__glImageSize3D(4, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE), 256);
  EXPECT_EQ(__glImageSize3D(3, 3, 1, GL_RGB, GL_UNSIGNED_BYTE), 27);
  EXPECT_EQ(__glImageSize3D(1024, 1024, 1024, GL_RGBA, GL_UNSIGNED_BYTE), int64_t(1) << 32);
  EXPECT_EQ(__glImageSize3D(3, 3, 0, GL_RGB, GL_UNSIGNED_BYTE), 0);
  EXPECT_EQ(__glImageSize3D(3, 3, -2, GL_RGB, GL_UNSIGNED_BYTE), 0);
  EXPECT_EQ(__glImageSize3D(INT_MAX, INT_MAX, INT_MAX, GL_LUMINANCE, GL_UNSIGNED_BYTE),
            INT64_MAX);
}

// A size beyond a signed 32-bit count records GL_OUT_OF_MEMORY; one that
// fits records nothing.
TEST_F(FillTest, SizeCheckBeforeAllocating) {
  const struct {
    int64_t bytes;
    bool fits;
  } cases[] = {{0, true},          {27, true},          {INT32_MAX, true},
               {int64_t(INT32_MAX) + 1, false},         {int64_t(1) << 32, false},
               {INT64_MAX, false}};
  for (const auto &c : cases) {
    EXPECT_EQ(bool(__glImageSizeFits(c.bytes)), c.fits) << c.bytes;
    EXPECT_EQ(TakeError(), GLenum(c.fits ? GL_NO_ERROR : GL_OUT_OF_MEMORY)) << c.bytes;
  }
}

}  // namespace
}  // namespace fill_image_test

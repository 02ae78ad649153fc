// __glFillImage packs every client type under every unpack mode as the
// reference unpacker does: elements copied in the client's order or
// byte-swapped, bitmaps shifted to start on a byte, most significant bit
// first, with the bits past a row's end 0. Nothing is read past the client
// image, nothing written past the packed one, and a client image out of
// any image's reach is refused.
#include <string.h>

#include <string>

#include "core/context.h"
#include "pixels/px_enums.h"
#include "pixels/px_pack.h"
#include "tests/pixels/fill_image/fill_fixture.h"
#include "tests/support/fenced_bytes.h"

namespace fill_image_test {
namespace {

constexpr uint8_t kGuard = 0xA5;

std::string Describe(const GlPixelStoreModes &m, const Shape &s) {
  return "format " + std::to_string(s.format) + " type " + std::to_string(s.type) + " " +
         std::to_string(s.width) + "x" + std::to_string(s.height) + "x" +
         std::to_string(s.depth) + " swap " + std::to_string(m.swapBytes) + " lsb " +
         std::to_string(m.lsbFirst) + " length " + std::to_string(m.rowLength) + " skip " +
         std::to_string(m.skipRows) + "/" + std::to_string(m.skipPixels) + " align " +
         std::to_string(m.alignment);
}

// Fills from a fenced client image and compares with the reference; the
// failure text, empty when they agree.
std::string Check(const GlPixelStoreModes &m, const Shape &s, uint32_t seed) {
  const std::vector<uint8_t> image = Noise(ClientReach(m, s), seed);
  FencedBytes fence(image.size());
  const uint8_t *client = fence.Place(image);
  const std::vector<uint8_t> want = ReferencePack(m, s, client);
  const int64_t size = __glImageSize3D(s.width, s.height, s.type == GL_BITMAP ? 1 : s.depth,
                                       s.format, s.type);
  if (size != int64_t(want.size()))
    return Describe(m, s) + ": size " + std::to_string(size) + ", packed " +
           std::to_string(want.size());
  std::vector<uint8_t> got(want.size() + 16, kGuard);
  if (!__glFillImageWithModes(&m, s.width, s.height, s.depth, s.format, s.type, client,
                              got.data()))
    return Describe(m, s) + ": refused";
  for (size_t i = 0; i < want.size(); i++)
    if (got[i] != want[i])
      return Describe(m, s) + ": byte " + std::to_string(i) + " is " + std::to_string(got[i]) +
             ", not " + std::to_string(want[i]);
  for (size_t i = want.size(); i < got.size(); i++)
    if (got[i] != kGuard) return Describe(m, s) + ": written past the packed image";
  return "";
}

struct FormatType {
  GLenum format, type;
};

const FormatType kFormatTypes[] = {
    {GL_RGB, GL_UNSIGNED_BYTE},
    {GL_RGBA, GL_BYTE},
    {GL_LUMINANCE_ALPHA, GL_UNSIGNED_SHORT},
    {GL_BGR_EXT, GL_SHORT},
    {GL_COLOR_INDEX, GL_UNSIGNED_INT},
    {GL_RGBA, GL_INT},
    {GL_RGB, GL_FLOAT},
    {GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT},
    {GL_STENCIL_INDEX, GL_UNSIGNED_BYTE},
    {GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT},
    {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT},
    {GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT},
    {GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_EXT},
    {GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT},
};

// swapBytes, lsbFirst, rowLength, skipRows, skipPixels, alignment.
const GlPixelStoreModes kModes[] = {
    {0, 0, 0, 0, 0, 4}, {0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 2},  {0, 0, 0, 0, 0, 8},
    {1, 0, 0, 0, 0, 4}, {0, 0, 11, 0, 0, 4}, {1, 0, 9, 2, 3, 8}, {0, 1, 0, 3, 5, 2},
    {1, 0, 13, 1, 2, 1},
};

TEST_F(FillTest, EveryTypeUnderEveryUnpackMode) {
  const int sizes[][3] = {{1, 1, 1}, {3, 3, 1}, {5, 2, 1}, {7, 3, 3}};
  uint32_t seed = 1;
  for (const FormatType &ft : kFormatTypes)
    for (const GlPixelStoreModes &m : kModes)
      for (const auto &size : sizes) {
        const Shape s = {size[0], size[1], size[2], ft.format, ft.type};
        const std::string failure = Check(m, s, seed++);
        ASSERT_EQ(failure, "");
      }
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

// Every start bit within two bytes, both bit orders, widths across a byte
// boundary and beyond a word, rows of their own length or longer.
TEST_F(FillTest, BitmapsAtEveryStartBit) {
  struct RowModes {
    GLint rowLength, skipRows, alignment;
  } const rows[] = {{0, 0, 4}, {0, 0, 1}, {0, 2, 8}, {25, 1, 4}, {40, 1, 2}};
  uint32_t seed = 7;
  for (const RowModes &r : rows)
    for (GLboolean lsb = 0; lsb <= 1; lsb++)
      for (GLint skip = 0; skip < 16; skip++)
        for (int width = 1; width <= 33; width++) {
          const GlPixelStoreModes m = {0, lsb, r.rowLength, r.skipRows, skip, r.alignment};
          const Shape s = {width, 3, 1, GL_COLOR_INDEX, GL_BITMAP};
          const std::string failure = Check(m, s, seed++);
          ASSERT_EQ(failure, "");
        }
}

// Stencil bitmaps read like index bitmaps; a format of two elements per
// group takes two bits per pixel; depth is not used for bitmaps; byte
// swapping means nothing to them.
TEST_F(FillTest, OtherBitmapShapes) {
  const struct {
    GlPixelStoreModes modes;
    Shape shape;
  } cases[] = {
      {{0, 0, 0, 0, 0, 4}, {32, 32, 1, GL_STENCIL_INDEX, GL_BITMAP}},
      {{0, 0, 0, 0, 1, 1}, {5, 3, 1, GL_LUMINANCE_ALPHA, GL_BITMAP}},
      {{0, 1, 9, 1, 3, 2}, {7, 4, 1, GL_LUMINANCE_ALPHA, GL_BITMAP}},
      {{1, 1, 41, 2, 7, 2}, {32, 32, 1, GL_COLOR_INDEX, GL_BITMAP}},
  };
  uint32_t seed = 99;
  for (const auto &c : cases) EXPECT_EQ(Check(c.modes, c.shape, seed++), "");
  // Depth 4 writes the one image a bitmap has.
  const GlPixelStoreModes m = {0, 0, 0, 0, 0, 1};
  const uint8_t client[2] = {0xFF, 0xC0};
  uint8_t out[8];
  memset(out, kGuard, sizeof out);
  EXPECT_TRUE(__glFillImageWithModes(&m, 10, 1, 4, GL_COLOR_INDEX, GL_BITMAP, client, out));
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0xC0);
  EXPECT_EQ(out[2], kGuard);
}

// Worked examples: a 3-byte RGB row under alignment 4 is read from a
// 12-byte stride and packed at 9 bytes; shorts come out swapped while bytes
// never are; a bitmap of width 10 skipped by 3 gives 2 bytes per row whose
// last 6 bits are 0; a least-significant-first bitmap comes out most
// significant first.
TEST_F(FillTest, WorkedExamples) {
  GlPixelStoreModes &m = gc()->pixel.unpackModes;
  m = {0, 0, 0, 0, 0, 4};
  std::vector<uint8_t> rgb(3 * 12);
  for (size_t i = 0; i < rgb.size(); i++) rgb[i] = uint8_t(i);
  std::vector<uint8_t> packed(27);
  EXPECT_TRUE(__glFillImage(gc(), 3, 3, GL_RGB, GL_UNSIGNED_BYTE, rgb.data(), packed.data()));
  for (int row = 0; row < 3; row++)
    for (int i = 0; i < 9; i++) EXPECT_EQ(packed[size_t(row * 9 + i)], row * 12 + i);

  m.swapBytes = 1;
  const uint8_t shorts[4] = {0x12, 0x34, 0x56, 0x78};
  uint8_t out[4];
  EXPECT_TRUE(__glFillImage(gc(), 2, 1, GL_LUMINANCE, GL_UNSIGNED_SHORT, shorts, out));
  EXPECT_EQ(memcmp(out, "\x34\x12\x78\x56", 4), 0);
  EXPECT_TRUE(__glFillImage(gc(), 4, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE, shorts, out));
  EXPECT_EQ(memcmp(out, shorts, 4), 0);

  m = {0, 0, 0, 0, 3, 1};
  const uint8_t bits[2] = {0xFF, 0xFF};
  uint8_t row[2];
  EXPECT_TRUE(__glFillImage(gc(), 10, 1, GL_COLOR_INDEX, GL_BITMAP, bits, row));
  EXPECT_EQ(row[0], 0xFF);
  EXPECT_EQ(row[1], 0xC0);

  m = {0, 1, 0, 0, 0, 1};
  const uint8_t lsb[1] = {0x01};
  EXPECT_TRUE(__glFillImage(gc(), 8, 1, GL_COLOR_INDEX, GL_BITMAP, lsb, row));
  EXPECT_EQ(row[0], 0x80);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

// Strides and starts that would reach 2^31 bytes or more past the client
// pointer are refused before anything is read or written.
TEST_F(FillTest, ImagesOutOfReachAreRefused) {
  const struct {
    const char *name;
    GlPixelStoreModes modes;
    Shape shape;
  } cases[] = {
      {"row stride", {0, 0, 1 << 29, 0, 0, 1}, {1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE}},
      {"skipped pixels", {0, 0, 0, 0, 1 << 29, 1}, {1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE}},
      {"skipped rows", {0, 0, 1 << 15, 1 << 16, 0, 1}, {1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE}},
      {"skips wrap 32 bits", {0, 0, 1 << 16, 1 << 16, 0, 1},
       {1, 1, 1, GL_LUMINANCE, GL_UNSIGNED_BYTE}},
      {"last image", {0, 0, 0, 0, 0, 4}, {1024, 1024, 1 << 9, GL_RGBA, GL_UNSIGNED_BYTE}},
      {"last row", {0, 0, 1 << 20, 0, 0, 1}, {1, 1 << 9, 1, GL_RGBA, GL_FLOAT}},
      {"bitmap rows", {0, 0, 64, 1 << 28, 0, 1}, {8, 1, 1, GL_COLOR_INDEX, GL_BITMAP}},
      {"bitmap long rows", {0, 0, 0x7FFFFFFF, 8, 0, 1}, {8, 1, 1, GL_COLOR_INDEX, GL_BITMAP}},
  };
  const uint8_t client[16] = {};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    uint8_t out[16];
    memset(out, kGuard, sizeof out);
    EXPECT_FALSE(__glFillImageWithModes(&c.modes, c.shape.width, c.shape.height, c.shape.depth,
                                        c.shape.format, c.shape.type, client, out));
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
    for (uint8_t b : out) ASSERT_EQ(b, kGuard);
  }
}

// Empty images and unknown types move nothing and are no error.
TEST_F(FillTest, EmptyImagesMoveNothing) {
  const GlPixelStoreModes m = {0, 0, 0, 0, 0, 4};
  const Shape shapes[] = {{0, 5, 1, GL_RGBA, GL_UNSIGNED_BYTE},
                          {5, 0, 1, GL_RGBA, GL_UNSIGNED_BYTE},
                          {5, 5, 0, GL_RGBA, GL_UNSIGNED_BYTE},
                          {0, 3, 1, GL_COLOR_INDEX, GL_BITMAP},
                          {-1, 3, 1, GL_RGBA, GL_UNSIGNED_BYTE},
                          {2, 2, 1, GL_RGBA, 0x1234}};
  for (const Shape &s : shapes) {
    uint8_t out[4];
    memset(out, kGuard, sizeof out);
    EXPECT_TRUE(__glFillImageWithModes(&m, s.width, s.height, s.depth, s.format, s.type, nullptr,
                                       out));
    for (uint8_t b : out) EXPECT_EQ(b, kGuard);
  }
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace fill_image_test

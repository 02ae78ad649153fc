// Texel extraction of every storage format: the conversion of stored texels
// to bytes, the border colour outside a level without border, and the
// addressing of levels with one.
#include <gtest/gtest.h>

#include <stdint.h>

#include <random>
#include <vector>

#include "pixels/px_texformat.h"
#include "tests/pixels/tex_formats/texel_fixture.h"

namespace tex_extract_test {
namespace {

using Bytes = std::vector<uint8_t>;

struct ValueCase {
  const char *name;
  GlTexelExtractProc extract;
  int32_t bytes;
  Bytes stored;
  Bytes expected;  // from a record that starts as AA AA AA AA
};

const ValueCase kValues[] = {
    {"565 white", __glExtractTexelRGB565, 2, {0xFF, 0xFF}, {254, 254, 254, 0xAA}},
    {"565 lowest green", __glExtractTexelRGB565, 2, {0x20, 0x00}, {0, 4, 0, 0xAA}},
    {"565 lowest of each", __glExtractTexelRGB565, 2, {0x41, 0x08}, {8, 8, 8, 0xAA}},
    {"ARGB1555 alpha only", __glExtractTexelARGB1555, 2, {0x00, 0x80}, {0, 0, 0, 255}},
    {"RGBA5551 alpha only", __glExtractTexelRGBA5551, 2, {0x01, 0x00}, {0, 0, 0, 255}},
    {"XRGB1555 ignores bit 15", __glExtractTexelXRGB1555, 2, {0x00, 0x80}, {0, 0, 0, 0xAA}},
    {"XRGB1555 red", __glExtractTexelXRGB1555, 2, {0x00, 0x7C}, {254, 0, 0, 0xAA}},
    {"RGBA4", __glExtractTexelRGBA4, 2, {0x4F, 0x12}, {17, 34, 68, 255}},
    {"ARGB4", __glExtractTexelARGB4, 2, {0x4F, 0x12}, {34, 68, 255, 17}},
    {"RGB332", __glExtractTexelRGB332, 1, {0xFF}, {254, 254, 255, 0xAA}},
    {"RGB332 blue", __glExtractTexelRGB332, 1, {0x02}, {0, 0, 170, 0xAA}},
    {"L8", __glExtractTexelL8, 1, {0x37}, {0x37, 0x37, 0x37, 0xAA}},
    {"LA8", __glExtractTexelLA8, 2, {0x37, 0x81}, {0x37, 0x37, 0x37, 0x81}},
    {"RGB8", __glExtractTexelRGB8, 3, {1, 2, 3}, {1, 2, 3, 0xAA}},
    {"RGBA8", __glExtractTexelRGBA8, 4, {1, 2, 3, 4}, {1, 2, 3, 4}},
    {"A8 leaves colour", __glExtractTexelA8, 1, {0x42}, {0xAA, 0xAA, 0xAA, 0x42}},
    {"I8", __glExtractTexelI8, 1, {0x42}, {0x42, 0x42, 0x42, 0x42}},
};

TEST(TexelExtract, StoredTexelsReadAsBytes) {
  for (const ValueCase &c : kValues) {
    SCOPED_TRACE(c.name);
    TexelLevel l(4, 4, 0, c.bytes);
    // Texel (2, 3) is number 11 of a 4-wide level.
    std::copy(c.stored.begin(), c.stored.end(), l.texel(11));
    EXPECT_EQ(l.Read(c.extract, 2, 3), c.expected);
  }
}

// A field of `width` bits at `shift` of the stored value, widened to byte
// `component`.
struct Field {
  int component, shift, width;
};

struct PackedCase {
  const char *name;
  GlTexelExtractProc extract;
  int32_t bytes;
  std::vector<Field> fields;
};

const PackedCase kPacked[] = {
    {"RGB332", __glExtractTexelRGB332, 1, {{0, 5, 3}, {1, 2, 3}, {2, 0, 2}}},
    {"XRGB1555", __glExtractTexelXRGB1555, 2, {{0, 10, 5}, {1, 5, 5}, {2, 0, 5}}},
    {"RGB565", __glExtractTexelRGB565, 2, {{0, 11, 5}, {1, 5, 6}, {2, 0, 5}}},
    {"RGBA4", __glExtractTexelRGBA4, 2, {{0, 12, 4}, {1, 8, 4}, {2, 4, 4}, {3, 0, 4}}},
    {"ARGB4", __glExtractTexelARGB4, 2, {{3, 12, 4}, {0, 8, 4}, {1, 4, 4}, {2, 0, 4}}},
    {"RGBA5551", __glExtractTexelRGBA5551, 2, {{0, 11, 5}, {1, 6, 5}, {2, 1, 5}, {3, 0, 1}}},
    {"ARGB1555", __glExtractTexelARGB1555, 2, {{0, 10, 5}, {1, 5, 5}, {2, 0, 5}, {3, 15, 1}}},
};

// The exact quotient f x 255 / max, truncated, one less where it is a whole
// number above 0 for the 3-, 5- and 6-bit fields (their factors lie just
// below the quotient); the 1-, 2- and 4-bit factors are whole numbers.
uint8_t Widened(uint32_t f, int width) {
  uint32_t max = (1u << width) - 1;
  uint32_t exact = f * 255 / max;
  bool inexactFactor = 255 % max != 0;
  if (inexactFactor && f > 0 && f * 255 % max == 0) exact--;
  return uint8_t(exact);
}

TEST(TexelExtract, PackedFieldsWidenByTruncatedQuotients) {
  for (const PackedCase &c : kPacked) {
    SCOPED_TRACE(c.name);
    TexelLevel l(1, 1, 0, c.bytes);
    uint32_t count = 1u << (8 * c.bytes);
    for (uint32_t v = 0; v < count; ++v) {
      l.texel(0)[0] = uint8_t(v);
      if (c.bytes == 2) l.texel(0)[1] = uint8_t(v >> 8);
      Bytes expected = {0xAA, 0xAA, 0xAA, 0xAA};
      for (const Field &f : c.fields) {
        expected[f.component] = Widened((v >> f.shift) & ((1u << f.width) - 1), f.width);
      }
      ASSERT_EQ(l.Read(c.extract, 0, 0), expected) << "stored 0x" << std::hex << v;
    }
  }
}

TEST(TexelExtract, LargestFieldsGiveTheFactorsQuoted) {
  EXPECT_EQ(Widened(31, 5), 254);
  EXPECT_EQ(Widened(30, 5), 246);
  EXPECT_EQ(Widened(7, 3), 254);
  EXPECT_EQ(Widened(63, 6), 254);
  EXPECT_EQ(Widened(15, 4), 255);
  EXPECT_EQ(Widened(3, 2), 255);
}

struct RowProcs {
  const char *name;
  GlTexelExtractProc plain, bordered;
  int32_t bytes;
  unsigned writes;  // bytes of the record the row writes: 1 R, 2 G, 4 B, 8 A
};

const RowProcs kRows[] = {
    {"L8", __glExtractTexelL8, __glExtractTexelL8_B, 1, 7},
    {"LA8", __glExtractTexelLA8, __glExtractTexelLA8_B, 2, 15},
    {"RGB8", __glExtractTexelRGB8, __glExtractTexelRGB8_B, 3, 7},
    {"RGB332", __glExtractTexelRGB332, __glExtractTexelRGB332_B, 1, 7},
    {"XRGB1555", __glExtractTexelXRGB1555, __glExtractTexelXRGB1555_B, 2, 7},
    {"RGB565", __glExtractTexelRGB565, __glExtractTexelRGB565_B, 2, 7},
    {"RGBA8", __glExtractTexelRGBA8, __glExtractTexelRGBA8_B, 4, 15},
    {"RGBA4", __glExtractTexelRGBA4, __glExtractTexelRGBA4_B, 2, 15},
    {"ARGB4", __glExtractTexelARGB4, __glExtractTexelARGB4_B, 2, 15},
    {"RGBA5551", __glExtractTexelRGBA5551, __glExtractTexelRGBA5551_B, 2, 15},
    {"ARGB1555", __glExtractTexelARGB1555, __glExtractTexelARGB1555_B, 2, 15},
    {"A8", __glExtractTexelA8, __glExtractTexelA8_B, 1, 8},
    {"I8", __glExtractTexelI8, __glExtractTexelI8_B, 1, 15},
    {"CI8", __glExtractTexelCI8, __glExtractTexelCI8_B, 1, 1},
    {"CI16", __glExtractTexelCI16, __glExtractTexelCI16_B, 2, 1},
};

// Outside the interior a plain level answers trunc(border x 255) in exactly
// the bytes its format writes; an index format takes the index of the red
// component (here in a colour-index context).
TEST(TexelExtract, PlainLevelsAnswerTheBorderColourOutside) {
  const GLfloat border[4] = {0.5f, 0.25f, 1.0f, 0.0f};
  const uint8_t bytes[4] = {127, 63, 255, 0};
  const int32_t positions[][2] = {{0, -1}, {-1, 0}, {4, 0}, {0, 8}, {-5, 100}};
  for (const RowProcs &r : kRows) {
    SCOPED_TRACE(r.name);
    TexelLevel l(8, 4, 0, r.bytes);
    std::fill(l.image().begin(), l.image().end(), 0x11);
    for (int c = 0; c < 4; ++c) l.tex()->borderColor[c] = border[c];
    l.tex()->baseFormat = GL_COLOR_INDEX;
    for (const auto &p : positions) {
      Bytes expected = {0xAA, 0xAA, 0xAA, 0xAA};
      for (int c = 0; c < 4; ++c) {
        if (r.writes & (1u << c)) expected[c] = bytes[c];
      }
      EXPECT_EQ(l.Read(r.plain, p[0], p[1]), expected) << p[0] << ", " << p[1];
    }
  }
}

// A bordered level reads its interior as a plain level holding the interior
// alone does, and its border from the image: with width 10, (-1, -1) is
// texel 0 and (0, 0) texel 11.
TEST(TexelExtract, BorderedLevelsAddressTheirBorderInTheImage) {
  std::mt19937 random(38);
  for (const RowProcs &r : kRows) {
    SCOPED_TRACE(r.name);
    TexelLevel bordered(8, 8, 1, r.bytes);
    TexelLevel plain(8, 8, 0, r.bytes);
    for (uint8_t &b : bordered.image()) b = uint8_t(random());
    for (int32_t row = 0; row < 8; ++row) {
      for (int32_t col = 0; col < 8; ++col) {
        std::copy_n(bordered.texel((row + 1) * 10 + col + 1), r.bytes,
                    plain.texel(row * 8 + col));
      }
    }
    bordered.tex()->baseFormat = plain.tex()->baseFormat = GL_COLOR_INDEX;
    for (int32_t row = 0; row < 8; ++row) {
      for (int32_t col = 0; col < 8; ++col) {
        ASSERT_EQ(bordered.Read(r.bordered, row, col), plain.Read(r.plain, row, col))
            << row << ", " << col;
      }
    }
    // The same stored bytes at texel 0 of the plain level show what texel 0
    // of the bordered image reads as.
    std::copy_n(bordered.texel(0), r.bytes, plain.texel(0));
    EXPECT_EQ(bordered.Read(r.bordered, -1, -1), plain.Read(r.plain, 0, 0));
    std::copy_n(bordered.texel(11), r.bytes, plain.texel(0));
    EXPECT_EQ(bordered.Read(r.bordered, 0, 0), plain.Read(r.plain, 0, 0));
    std::copy_n(bordered.texel(99), r.bytes, plain.texel(0));
    EXPECT_EQ(bordered.Read(r.bordered, 8, 8), plain.Read(r.plain, 0, 0));
  }
}

TEST(TexelExtract, EmptyLevelsWriteNothing) {
  TexelLevel l(0, 0, 0, 1);
  EXPECT_EQ(l.Read(__glExtractTexelNone, 0, 0), Bytes(4, 0xAA));
}

}  // namespace
}  // namespace tex_extract_test

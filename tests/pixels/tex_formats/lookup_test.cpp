// The choice of a storage format for every internal format an application
// may ask for, and the constant rows themselves.
#include <gtest/gtest.h>

#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"

namespace tex_lookup_test {
namespace {

struct LookupCase {
  GLenum first, last;  // every value in between is accepted
  GLenum base;
  int32_t id;
};

const LookupCase kCases[] = {
    {1, 1, GL_LUMINANCE, 0},
    {0x1909, 0x1909, GL_LUMINANCE, 0},
    {0x803F, 0x8042, GL_LUMINANCE, 0},
    {2, 2, GL_LUMINANCE_ALPHA, 1},
    {0x190A, 0x190A, GL_LUMINANCE_ALPHA, 1},
    {0x8043, 0x8048, GL_LUMINANCE_ALPHA, 1},
    {3, 3, GL_RGB, 2},
    {0x1907, 0x1907, GL_RGB, 2},
    {0x2A10, 0x2A10, GL_RGB, 2},
    {0x804F, 0x8054, GL_RGB, 2},
    {4, 4, GL_RGBA, 6},
    {0x1908, 0x1908, GL_RGBA, 6},
    {0x8055, 0x805B, GL_RGBA, 6},
    {0x1906, 0x1906, GL_ALPHA, 11},
    {0x803B, 0x803E, GL_ALPHA, 11},
    {0x8049, 0x804D, GL_INTENSITY, 12},
    {0x80E2, 0x80E5, GL_COLOR_INDEX, 13},
    {0x80E6, 0x80E7, GL_COLOR_INDEX, 14},
};

TEST(TexFormatLookup, EverySizedFormatIsStoredAtEightBitsAComponent) {
  for (const LookupCase &c : kCases) {
    for (GLenum f = c.first; f <= c.last; ++f) {
      SCOPED_TRACE(testing::Message() << std::hex << "internal format 0x" << f);
      GLenum base = 0;
      const GlTexFormat *row = __glLookupTextureFormat(f, &base);
      ASSERT_NE(row, nullptr);
      EXPECT_EQ(row->id, c.id);
      EXPECT_EQ(base, c.base);
      EXPECT_EQ(row->bitsPerTexel % 8, 0);
      for (int32_t bits : {row->redBits, row->greenBits, row->blueBits, row->alphaBits,
                           row->luminanceBits, row->intensityBits}) {
        EXPECT_TRUE(bits == 0 || bits == 8) << bits;
      }
    }
  }
}

TEST(TexFormatLookup, Luminance12ReportsEightBits) {
  GLenum base = 0;
  const GlTexFormat *row = __glLookupTextureFormat(GL_LUMINANCE12, &base);
  EXPECT_EQ(row, &__glTexFormatLuminance8);
  EXPECT_EQ(row->luminanceBits, 8);
  EXPECT_EQ(base, GLenum(GL_LUMINANCE));
}

TEST(TexFormatLookupDeath, RefusedValuesEndTheProcess) {
  GLenum base = 0;
  for (GLenum f : {GLenum(0), GLenum(5), GLenum(GL_RGB2_EXT), GLenum(GL_COLOR_INDEX)}) {
    EXPECT_DEATH(__glLookupTextureFormat(f, &base), "s_texel");
  }
}

struct RowCase {
  const GlTexFormat *row;
  int32_t bits[6];  // R G B A L I
  int32_t bitsPerTexel;
  GLenum format, type;
  int32_t alignment;
  GlTexelExtractProc extract, bordered;
};

const RowCase kRows[] = {
    {&__glTexFormatLuminance8, {0, 0, 0, 0, 8, 0}, 8, GL_RED, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelL8, __glExtractTexelL8_B},
    {&__glTexFormatLuminanceAlpha8, {0, 0, 0, 8, 8, 0}, 16, __GL_RED_ALPHA, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelLA8, __glExtractTexelLA8_B},
    {&__glTexFormatRGB8, {8, 8, 8, 0, 0, 0}, 24, GL_RGB, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelRGB8, __glExtractTexelRGB8_B},
    {&__glTexFormatRGB332, {3, 3, 2, 0, 0, 0}, 8, GL_RGB, 0x8032, 1, __glExtractTexelRGB332,
     __glExtractTexelRGB332_B},
    {&__glTexFormatXRGB1555, {5, 5, 5, 0, 0, 0}, 16, GL_RGB, __GL_PACKED_X555, 2,
     __glExtractTexelXRGB1555, __glExtractTexelXRGB1555_B},
    {&__glTexFormatRGB565, {5, 6, 5, 0, 0, 0}, 16, GL_RGB, __GL_PACKED_565, 2,
     __glExtractTexelRGB565, __glExtractTexelRGB565_B},
    {&__glTexFormatRGBA8, {8, 8, 8, 8, 0, 0}, 32, GL_RGBA, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelRGBA8, __glExtractTexelRGBA8_B},
    {&__glTexFormatRGBA4, {4, 4, 4, 4, 0, 0}, 16, GL_RGBA, 0x8033, 2, __glExtractTexelRGBA4,
     __glExtractTexelRGBA4_B},
    {&__glTexFormatARGB4, {4, 4, 4, 4, 0, 0}, 16, GL_RGBA, __GL_PACKED_4444, 2,
     __glExtractTexelARGB4, __glExtractTexelARGB4_B},
    {&__glTexFormatRGBA5551, {5, 5, 5, 1, 0, 0}, 16, GL_RGBA, 0x8034, 1,
     __glExtractTexelRGBA5551, __glExtractTexelRGBA5551_B},
    {&__glTexFormatARGB1555, {5, 5, 5, 1, 0, 0}, 16, GL_RGBA, __GL_PACKED_1555, 2,
     __glExtractTexelARGB1555, __glExtractTexelARGB1555_B},
    {&__glTexFormatAlpha8, {0, 0, 0, 8, 0, 0}, 8, GL_ALPHA, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelA8, __glExtractTexelA8_B},
    {&__glTexFormatIntensity8, {0, 0, 0, 0, 0, 8}, 8, GL_RED, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelI8, __glExtractTexelI8_B},
    {&__glTexFormatColorIndex8, {0, 0, 0, 0, 0, 0}, 8, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, 1,
     __glExtractTexelCI8, __glExtractTexelCI8_B},
    {&__glTexFormatColorIndex16, {0, 0, 0, 0, 0, 0}, 16, GL_COLOR_INDEX, GL_UNSIGNED_SHORT, 2,
     __glExtractTexelCI16, __glExtractTexelCI16_B},
};

// Device managers number their surface formats by the ids: the table must
// hold the rows in id order.
TEST(TexFormatRows, RowsHoldTheirStorageAndProceduresInIdOrder) {
  for (int32_t id = 0; id < __GL_TEXFORMAT_COUNT; ++id) {
    SCOPED_TRACE(id);
    const RowCase &c = kRows[id];
    const GlTexFormat *row = __glTexFormats[id];
    ASSERT_EQ(row, c.row);
    EXPECT_EQ(row->id, id);
    const int32_t bits[6] = {row->redBits,       row->greenBits,     row->blueBits,
                             row->alphaBits,     row->luminanceBits, row->intensityBits};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bits[i], c.bits[i]) << "component " << i;
    EXPECT_EQ(row->bitsPerTexel, c.bitsPerTexel);
    EXPECT_EQ(row->storageFormat, c.format);
    EXPECT_EQ(row->storageType, c.type);
    EXPECT_EQ(row->rowAlignment, c.alignment);
    EXPECT_EQ(row->extract, c.extract);
    EXPECT_EQ(row->extractWithBorder, c.bordered);
    EXPECT_EQ(row->extraStoreStage, nullptr);
    EXPECT_EQ(row->extraGetStage, nullptr);
  }
}

}  // namespace
}  // namespace tex_lookup_test

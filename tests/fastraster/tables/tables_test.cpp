// Every entry of the fast path's tables against its rule, the byte product's
// statistics and identities, the dither tables' promise that a pixel's
// dither depends on its window column alone, mask mirroring, and the pixel
// formats' unpack, pack and dither rules with their examples.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <string>

#include "fastraster/fr_format.h"
#include "fastraster/fr_tables.h"

namespace {

TEST(FrTables, DitherTablesFollowTheMatrix) {
  for (int r = 0; r < 4; r++) {
    for (int c = 0; c < FR_DITHER_ROW; c++) {
      EXPECT_EQ(__glFRDitherTable[r * FR_DITHER_ROW + c], kFrDitherMatrix[r][c % 4] * 4096u);
      EXPECT_EQ(__glFRDitherTableRtoL[r * FR_DITHER_ROW + c],
                kFrDitherMatrix[r][(4 - c % 4) % 4] * 4096u);
    }
  }
  EXPECT_EQ(__glFRDitherTable[1], 0x8000u);
  EXPECT_EQ(__glFRDitherTableRtoL[1], 0xA000u);
  EXPECT_EQ(__glFRDitherTables[0], __glFRDitherTable.data());
  EXPECT_EQ(__glFRDitherTables[1], __glFRDitherTableRtoL.data());
}

// Walked either way in chunks from any start, every pixel reads the entry
// of its own window column and row.
TEST(FrTables, APixelsDitherDependsOnlyOnItsColumn) {
  for (int32_t y = 0; y < 4; y++) {
    for (int32_t start = 0; start < 70; start++) {
      for (int32_t direction : {1, -1}) {
        const int32_t x = direction > 0 ? start : -start;  // the chunk's x word
        const uint32_t *row = __glFRDitherTables[direction < 0] + (y & 3) * FR_DITHER_ROW + (x & 3);
        for (int32_t i = 0; i < 32; i++) {
          const int32_t column = start + direction * i;
          if (column < 0) break;
          EXPECT_EQ(row[i], kFrDitherMatrix[y][column & 3] * 4096u)
              << "y " << y << " start " << start << " direction " << direction << " pixel " << i;
        }
      }
    }
  }
  // Right to left from column 5 on row 2: M[2][1], M[2][0], M[2][3], M[2][2].
  const uint32_t *row = __glFRDitherTableRtoL.data() + 2 * FR_DITHER_ROW + (-5 & 3);
  EXPECT_EQ(row[0], 11u * 4096);
  EXPECT_EQ(row[1], 3u * 4096);
  EXPECT_EQ(row[2], 9u * 4096);
  EXPECT_EQ(row[3], 1u * 4096);
}

TEST(FrTables, SquareAndBlendTablesFollowTheirRules) {
  EXPECT_EQ(__glSquareTable[0], 0);
  for (int k = -255; k <= 255; k++) EXPECT_EQ(__glSquareTable[256 + k], k * k / 255) << k;
  for (int k = -256; k <= 255; k++) EXPECT_EQ(__glSquareTable2[256 + k], k * k / 510) << k;
  EXPECT_EQ(__glSquareTable[256 + 255], 255);
  EXPECT_EQ(__glSquareTable2[0], 128);
  EXPECT_EQ(__glSquareTable2[511], 127);
  for (int a = 0; a < 256; a++)
    for (int b = 0; b < 256; b++) ASSERT_EQ(__glBlendTab[a * 256 + b], a * b / 255) << a << " " << b;
}

TEST(FrTables, TheByteProduct) {
  int equal = 0, less = 0, more = 0;
  for (uint32_t a = 0; a < 256; a++) {
    for (uint32_t b = 0; b < 256; b++) {
      const uint32_t p = __glFRProduct(a, b);
      const int32_t d = int32_t(a) - int32_t(b);
      ASSERT_EQ(p, (a * a / 255 + b * b / 255 - uint32_t(d * d / 255)) >> 1);
      ASSERT_EQ(p, __glFRProduct(b, a));
      const int off = int(p) - int(a * b / 255);
      ASSERT_LE(abs(off), 1);
      off == 0 ? equal++ : off < 0 ? less++ : more++;
    }
    EXPECT_EQ(__glFRProduct(a, 255), a);
    EXPECT_EQ(__glFRProduct(a, 0), 0u);
  }
  EXPECT_EQ(equal, 54788);
  EXPECT_EQ(less, 4640);
  EXPECT_EQ(more, 6108);
  EXPECT_EQ(__glFRProduct(255, 255), 255u);
  EXPECT_EQ(__glFRProduct(128, 128), 64u);
}

TEST(FrTables, MaskTablesAndMirroring) {
  EXPECT_EQ(__glFRMaskTable[0], 0u);
  for (int n = 1; n <= 32; n++) EXPECT_EQ(__glFRMaskTable[n], ~0u << (32 - n)) << n;
  EXPECT_EQ(__glFRMaskTable[5], 0xF8000000u);
  EXPECT_EQ(__glFRMaskTable[32], 0xFFFFFFFFu);
  for (int b = 0; b < 256; b++) {
    int mirrored = 0;
    for (int i = 0; i < 8; i++)
      if (b & (1 << i)) mirrored |= 0x80 >> i;
    EXPECT_EQ(__glMsbToLsbTable[b], mirrored) << b;
  }
  // The three leftmost pixels of a chunk outside the clip box: walked right
  // to left, the three lowest bits are clear.
  EXPECT_EQ(__glFRMirrorMask(0x1FFFFFFFu), 0xFFFFFFF8u);
  for (uint32_t m : {0x80000000u, 0x12345678u, 0xF0F00F0Fu, 0u, 0xFFFFFFFFu}) {
    uint32_t reversed = 0;
    for (int i = 0; i < 32; i++)
      if (m & (1u << i)) reversed |= 0x80000000u >> i;
    EXPECT_EQ(__glFRMirrorMask(m), reversed) << std::hex << m;
  }
}

TEST(FrFormats, UnpackPackAndCeilings) {
  const FrPixelFormat &rgb565 = kFrPixelFormats[FR_FB_RGB565];
  const FrRGBA white = FrUnpack(rgb565, 0xFFFF);
  EXPECT_EQ(white.r, 248u);
  EXPECT_EQ(white.g, 252u);
  EXPECT_EQ(white.b, 248u);
  EXPECT_EQ(FrPack(rgb565, {255, 255, 255, 0}), 0xFFFFu);
  EXPECT_EQ(FrPack(kFrPixelFormats[FR_FB_RGB332], {255, 128, 64, 0}), 0xE0u | 0x10u | 0x1u);
  // Unused bits come out 0.
  EXPECT_EQ(FrPack(kFrPixelFormats[FR_FB_RGB555], {255, 255, 255, 255}), 0x7FFFu);
  EXPECT_EQ(FrPack(kFrPixelFormats[FR_FB_XRGB8], {1, 2, 3, 255}), 0x010203u);
  EXPECT_EQ(FrPack(kFrPixelFormats[FR_FB_ARGB8], {1, 2, 3, 4}), 0x04010203u);
  EXPECT_EQ(FrFieldCeiling({0, 3}), 0xE0u);
  EXPECT_EQ(FrFieldCeiling({0, 2}), 0xC0u);
  EXPECT_EQ(FrFieldCeiling({0, 5}), 0xF8u);
  EXPECT_EQ(FrFieldCeiling({0, 6}), 0xFCu);
  EXPECT_EQ(FrFieldCeiling({0, 8}), 0xFFu);

  // Every value of every field: unpack of pack keeps a component's top
  // bits, pack of unpack gives the pixel back.
  for (uint8_t type : {FR_FB_RGB332, FR_FB_RGB555, FR_FB_RGB565, FR_FB_A1RGB5, FR_FB_XRGB8,
                       FR_FB_ARGB8}) {
    const FrPixelFormat &f = kFrPixelFormats[type];
    const uint32_t fields = FrPack(f, {255, 255, 255, 255});
    for (uint32_t c = 0; c < 256; c++) {
      const FrRGBA u = FrUnpack(f, FrPack(f, {c, c, c, c}));
      EXPECT_EQ(u.r, c & FrFieldCeiling(f.red)) << int(type);
      EXPECT_EQ(u.g, c & FrFieldCeiling(f.green)) << int(type);
      EXPECT_EQ(u.b, c & FrFieldCeiling(f.blue)) << int(type);
    }
    for (uint32_t p = 0; p < 65536; p += 7) {
      const uint32_t pixel = (p * 0x9E3779B1u) & fields;
      EXPECT_EQ(FrPack(f, FrUnpack(f, pixel)), pixel) << int(type);
    }
  }
}

TEST(FrFormats, Dithering) {
  // RGB332 full red with the largest dither value: 255 - 31 + 30 = 254.
  EXPECT_EQ(FrDitherComponent(255, 3, 15 * 4096), 254u);
  EXPECT_EQ(FrPackField(FrDitherComponent(255, 3, 15 * 4096), {5, 3}) >> 5, 7u);
  EXPECT_EQ(FrDitherComponent(255, 3, 0), 224u);
  for (uint32_t m = 0; m < 16; m++) EXPECT_EQ(FrDitherComponent(0, 3, m * 4096), m * 4096 >> 11);
  for (uint32_t bits : {2u, 3u, 5u, 6u}) {
    uint32_t largest = 0;
    for (uint32_t c = 0; c < 256; c++)
      for (uint32_t m = 0; m < 16; m++) largest = std::max(largest, FrDitherComponent(c, bits, m * 4096));
    const uint32_t kLargest[7] = {0, 0, 252, 254, 0, 255, 255};
    EXPECT_EQ(largest, kLargest[bits]) << bits;
  }
  EXPECT_EQ(FrDitherIndex(5u << 16, 15 * 4096), 5u);
  EXPECT_EQ(FrDitherIndex((5u << 16) + 0x1000, 15 * 4096), 6u);
}

}  // namespace

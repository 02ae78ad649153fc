// The surface formats and their copies: every storage format in both byte
// orders against a table of texels, the colour-index copies through tables
// of every base format, and agreement with the software texel extraction.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pixels/px_color_table.h"
#include "pixels/px_texformat.h"
#include "tests/sis/texmgr/texcopy_fixture.h"
#include "tests/support/fenced_bytes.h"

namespace {

using texcopy::HandLevel;
using texcopy::Plain;

struct TexelCase {
  int32_t id;
  std::vector<uint8_t> stored;  // one texel as the level stores it
  uint32_t argb;                // the _BGRA8 surface texel
};

std::vector<uint8_t> Word(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }

// All zeros, all ones and each field alone.
const TexelCase kTexels[] = {
    {0, {0x00}, 0xFF000000}, {0, {0xFF}, 0xFFFFFFFF}, {0, {0x80}, 0xFF808080},
    {1, {0x00, 0x00}, 0x00000000}, {1, {0xFF, 0xFF}, 0xFFFFFFFF},
    {1, {0x80, 0x00}, 0x00808080}, {1, {0x00, 0x80}, 0x80000000},
    {2, {0, 0, 0}, 0xFF000000}, {2, {0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
    {2, {0xFF, 0, 0}, 0xFFFF0000}, {2, {0, 0xFF, 0}, 0xFF00FF00}, {2, {0, 0, 0xFF}, 0xFF0000FF},
    // 3-3-2 widened as texel extraction widens it: 7 x 255/7 in single
    // precision truncates to 254.
    {3, {0x00}, 0xFF000000}, {3, {0xFF}, 0xFFFEFEFF}, {3, {0xE0}, 0xFFFE0000},
    {3, {0x1C}, 0xFF00FE00}, {3, {0x03}, 0xFF0000FF}, {3, {0x24}, 0xFF242400},
    // RGB5: red in bits 0-4, green 5-9, blue 10-14; bit 15 is not read.
    {4, Word(0x0000), 0xFF000000}, {4, Word(0xFFFF), 0xFFF8F8F8}, {4, Word(0x7FFF), 0xFFF8F8F8},
    {4, Word(0x001F), 0xFFF80000}, {4, Word(0x03E0), 0xFF00F800}, {4, Word(0x7C00), 0xFF0000F8},
    {5, Word(0x0000), 0xFF000000}, {5, Word(0xFFFF), 0xFFF8FCF8},
    {5, Word(0x001F), 0xFFF80000}, {5, Word(0x07E0), 0xFF00FC00}, {5, Word(0xF800), 0xFF0000F8},
    {6, {0, 0, 0, 0}, 0x00000000}, {6, {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
    {6, {0xFF, 0, 0, 0}, 0x00FF0000}, {6, {0, 0xFF, 0, 0}, 0x0000FF00},
    {6, {0, 0, 0xFF, 0}, 0x000000FF}, {6, {0, 0, 0, 0xFF}, 0xFF000000},
    // RGBA4: red nibble 0, green 1, blue 2, alpha 3.
    {7, Word(0x0000), 0x00000000}, {7, Word(0xFFFF), 0xF0F0F0F0}, {7, Word(0x000F), 0x00F00000},
    {7, Word(0x00F0), 0x0000F000}, {7, Word(0x0F00), 0x000000F0}, {7, Word(0xF000), 0xF0000000},
    // ARGB4: alpha nibble 0, red 1, green 2, blue 3.
    {8, Word(0x0000), 0x00000000}, {8, Word(0xFFFF), 0xF0F0F0F0}, {8, Word(0x000F), 0xF0000000},
    {8, Word(0x00F0), 0x00F00000}, {8, Word(0x0F00), 0x0000F000}, {8, Word(0xF000), 0x000000F0},
    {9, Word(0x0000), 0x00000000}, {9, Word(0xFFFF), 0xFFF8F8F8}, {9, Word(0x8000), 0xFF000000},
    {9, Word(0x001F), 0x00F80000}, {9, Word(0x03E0), 0x0000F800}, {9, Word(0x7C00), 0x000000F8},
    {10, Word(0x0000), 0x00000000}, {10, Word(0xFFFF), 0xFFF8F8F8}, {10, Word(0x0001), 0xFF000000},
    {10, Word(0x003E), 0x00F80000}, {10, Word(0x07C0), 0x0000F800}, {10, Word(0xF800), 0x000000F8},
    {11, {0x00}, 0x00000000}, {11, {0xFF}, 0xFF000000}, {11, {0x80}, 0x80000000},
    {12, {0x00}, 0x00000000}, {12, {0xFF}, 0xFFFFFFFF}, {12, {0x80}, 0x80808080},
};

class ConversionTable : public testing::TestWithParam<bool> {};

// Each texel three times in a 3 x 1 level, so that a copy that steps the
// source or the destination wrongly shows.
TEST_P(ConversionTable, EveryFormatGivesItsTexels) {
  const bool bgra = GetParam();
  for (const TexelCase &c : kTexels) {
    SCOPED_TRACE("format " + std::to_string(c.id) + " texel " + testing::PrintToString(c.stored));
    const GlDDrawTexFormat &row =
        *(bgra ? __glSiSLookupDDrawTextureFormat(c.id) : __glLookupDDrawTextureFormat(c.id));
    const int bytes = int(c.stored.size());
    HandLevel h(3, 1, bytes, row);
    for (int i = 0; i < 3; ++i) std::copy(c.stored.begin(), c.stored.end(), h.image.begin() + i * bytes);
    row.copy(&h.tex, &h.level, 0, 0, 3, 1);
    const uint32_t want = bgra ? c.argb : Plain(c.argb);
    for (int col = 0; col < 3; ++col) EXPECT_EQ(h.At(0, col), want) << std::hex << "col " << col;
    EXPECT_EQ(h.At(1, 0), 0xEEEEEEEEu) << "below the level";
  }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ConversionTable, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &i) {
                           return std::string(i.param ? "BGRA8" : "Plain");
                         });

TEST(SurfaceFormats, ThirtyRowsOneSurfaceFormatTwoSquareCopies) {
  for (int32_t id = 0; id < 15; ++id) {
    SCOPED_TRACE(id);
    const GlDDrawTexFormat *plain = __glLookupDDrawTextureFormat(id);
    const GlDDrawTexFormat *bgra = __glSiSLookupDDrawTextureFormat(id);
    ASSERT_EQ(plain, &__glDDrawTexFormats[id]);
    ASSERT_EQ(bgra, &__glDDrawTexFormats[15 + id]);
    EXPECT_EQ(plain->squareCopy, __glDDTexMgrCopyActiveSquare_RGBA8);
    EXPECT_EQ(bgra->squareCopy, __glDDTexMgrCopyActiveSquare_BGRA8);
    EXPECT_NE(plain->copy, bgra->copy);
    for (const GlDDrawTexFormat *row : {plain, bgra}) {
      const DDPIXELFORMAT &f = row->format;
      EXPECT_EQ(f.dwSize, 32u);
      EXPECT_EQ(f.dwFlags, DDPF_RGB);
      EXPECT_EQ(f.dwFourCC, 0u);
      EXPECT_EQ(f.dwRGBBitCount, 32u);
      EXPECT_EQ(f.dwRBitMask, 0xFF0000u);
      EXPECT_EQ(f.dwGBitMask, 0xFF00u);
      EXPECT_EQ(f.dwBBitMask, 0xFFu);
      EXPECT_EQ(f.dwRGBAlphaBitMask, 0xFF000000u);
    }
  }
  EXPECT_EQ(&__glDDrawTexFormatL, &__glDDrawTexFormats[0]);
  EXPECT_EQ(&__glDDrawTexFormatRGB8_BGRA8, &__glDDrawTexFormats[17]);
  EXPECT_EQ(__glDDrawTexFormatCI16_BGRA8.copy, __glDDTexMgrCopyActiveCI16_BGRA8);
  EXPECT_EQ(__glDDrawTexFormatRGBA.copy, __glDDTexMgrCopyActiveRGBA);
  for (int32_t id : {-1, 15, 16, 100}) {
    EXPECT_EQ(__glLookupDDrawTextureFormat(id), nullptr) << id;
    EXPECT_EQ(__glSiSLookupDDrawTextureFormat(id), nullptr) << id;
  }
}

// ---- Colour-index levels -------------------------------------------------------------

struct TableFormat {
  GLenum base;
  int components;
  // The _BGRA8 texel of an entry's bytes.
  uint32_t (*texel)(const uint8_t *e);
};

const TableFormat kTableFormats[] = {
    {GL_INTENSITY, 1, [](const uint8_t *e) { return uint32_t(e[0]) * 0x01010101u; }},
    {GL_ALPHA, 1, [](const uint8_t *e) { return uint32_t(e[0]) << 24; }},
    {GL_LUMINANCE, 1, [](const uint8_t *e) { return 0xFF000000u | uint32_t(e[0]) * 0x10101u; }},
    {GL_LUMINANCE_ALPHA, 2,
     [](const uint8_t *e) { return uint32_t(e[1]) << 24 | uint32_t(e[0]) * 0x10101u; }},
    {GL_RGB, 3,
     [](const uint8_t *e) { return 0xFF000000u | uint32_t(e[0]) << 16 | e[1] << 8 | e[2]; }},
    {GL_RGBA, 4,
     [](const uint8_t *e) { return uint32_t(e[3]) << 24 | e[0] << 16 | e[1] << 8 | e[2]; }},
};

// Tables end right before an unreadable page: an entry read past the
// table's end faults.
TEST(IndexCopies, ReadEntriesByTheTablesBaseFormatAndNeverPastItsEnd) {
  const int32_t widths[] = {1, 4, 256};
  const uint32_t indices[] = {0, 1, 3, 4, 255, 256, 4097, 65535};
  for (const TableFormat &f : kTableFormats) {
    for (int32_t width : widths) {
      SCOPED_TRACE("base 0x" + testing::PrintToString(f.base) + " width " + std::to_string(width));
      std::vector<uint8_t> entries(size_t(width) * f.components);
      for (size_t i = 0; i < entries.size(); ++i) entries[i] = uint8_t(i * 37 + 11);
      FencedBytes fenced(entries.size());
      for (bool sixteen : {false, true}) {
        for (bool bgra : {false, true}) {
          const int32_t id = sixteen ? 14 : 13;
          const GlDDrawTexFormat &row =
              *(bgra ? __glSiSLookupDDrawTextureFormat(id) : __glLookupDDrawTextureFormat(id));
          const int32_t count = int32_t(std::size(indices));
          HandLevel h(count, 1, sixteen ? 2 : 1, row);
          h.tex.base.colorTable.table = const_cast<uint8_t *>(fenced.Place(entries));
          h.tex.base.colorTable.width = width;
          h.tex.base.colorTable.baseFormat = f.base;
          for (int32_t i = 0; i < count; ++i) {
            if (sixteen) {
              h.image[2 * i] = uint8_t(indices[i]);
              h.image[2 * i + 1] = uint8_t(indices[i] >> 8);
            } else {
              h.image[i] = uint8_t(indices[i]);
            }
          }
          row.copy(&h.tex, &h.level, 0, 0, count, 1);
          for (int32_t i = 0; i < count; ++i) {
            const uint32_t stored = sixteen ? indices[i] & 0xFFFF : indices[i] & 0xFF;
            const uint32_t entry = stored & uint32_t(width - 1);
            const uint32_t want = f.texel(&entries[entry * f.components]);
            EXPECT_EQ(h.At(0, i), bgra ? want : Plain(want))
                << std::hex << "index 0x" << stored << (sixteen ? " CI16" : " CI8")
                << (bgra ? " BGRA8" : " plain");
          }
        }
      }
    }
  }
}

TEST(IndexCopies, AnEmptyTableGivesOpaqueBlack) {
  HandLevel h(2, 1, 1, __glDDrawTexFormatCI8_BGRA8);
  h.image[0] = 0;
  h.image[1] = 200;
  __glDDrawTexFormatCI8_BGRA8.copy(&h.tex, &h.level, 0, 0, 2, 1);
  EXPECT_EQ(h.At(0, 0), 0xFF000000u);
  EXPECT_EQ(h.At(0, 1), 0xFF000000u);
}

// ---- Agreement with the software texel extraction ----------------------------------

// The formats the format lookup stores, and the texel bytes their base
// format defines (R, G, B, A as bits 0 to 3).
struct Stored {
  int32_t id;
  unsigned defined;
};

const Stored kStored[] = {{0, 0x7}, {1, 0xF}, {2, 0x7}, {6, 0xF}, {11, 0x8}, {12, 0xF},
                          {13, 0}, {14, 0}};

unsigned Defined(GLenum tableBase) {
  switch (tableBase) {
    case GL_ALPHA: return 0x8;
    case GL_LUMINANCE:
    case GL_RGB: return 0x7;
    default: return 0xF;
  }
}

TEST(CopiesAgainstExtraction, EverySurfaceTexelIsTheExtractedTexel) {
  std::mt19937 random(62);
  std::vector<uint8_t> palette(256 * 4);
  for (uint8_t &b : palette) b = uint8_t(random());
  for (const Stored &s : kStored) {
    const GlTexFormat *format = __glTexFormats[s.id];
    const int bytes = format->bitsPerTexel / 8;
    const bool index = s.id >= 13;
    for (const TableFormat &table : kTableFormats) {
      if (!index && table.base != GL_INTENSITY) continue;  // one pass for the plain formats
      SCOPED_TRACE("format " + std::to_string(s.id) + " table 0x" + testing::PrintToString(table.base));
      for (bool bgra : {false, true}) {
        const GlDDrawTexFormat &row =
            *(bgra ? __glSiSLookupDDrawTextureFormat(s.id) : __glLookupDDrawTextureFormat(s.id));
        HandLevel h(8, 4, bytes, row);
        for (uint8_t &b : h.image) b = uint8_t(random());
        GlTextureLevel &l = h.level.base;
        l.width2 = 8, l.height2 = 4, l.widthLog2 = 3, l.heightLog2 = 2;
        GlTextureObject &t = h.tex.base;
        t.colorTable.table = palette.data();
        t.colorTable.width = 64;
        t.colorTable.baseFormat = table.base;
        t.baseFormat = index ? table.base : GL_RGBA;  // an RGBA context
        row.copy(&h.tex, &h.level, 0, 0, 8, 4);
        const unsigned defined = index ? Defined(table.base) : s.defined;
        for (int32_t r = 0; r < 4; ++r) {
          for (int32_t c = 0; c < 8; ++c) {
            GLubyte texel[4] = {0, 0, 0, 0};
            format->extract(&l, &t, 0, r, c, texel);
            uint32_t argb = h.At(r, c);
            if (!bgra) argb = Plain(argb);
            const uint8_t got[4] = {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb),
                                    uint8_t(argb >> 24)};
            for (int k = 0; k < 4; ++k) {
              if (defined & (1u << k)) {
                EXPECT_EQ(got[k], texel[k]) << "texel " << r << "," << c << " byte " << k;
              }
            }
          }
        }
      }
    }
  }
}

// The 3-3-2 copies widen as the extraction does, though no level is stored so.
TEST(CopiesAgainstExtraction, Rgb332WidensAsTheExtraction) {
  HandLevel h(256, 1, 1, __glDDrawTexFormatRGB332_BGRA8);
  for (int v = 0; v < 256; ++v) h.image[v] = uint8_t(v);
  GlTextureLevel &l = h.level.base;
  l.width2 = 256, l.height2 = 1, l.widthLog2 = 8;
  __glDDrawTexFormatRGB332_BGRA8.copy(&h.tex, &h.level, 0, 0, 256, 1);
  for (int v = 0; v < 256; ++v) {
    GLubyte texel[4] = {};
    __glExtractTexelRGB332(&l, &h.tex.base, 0, 0, v, texel);
    EXPECT_EQ(h.At(0, v), 0xFF000000u | texel[0] << 16 | texel[1] << 8 | texel[2]) << v;
  }
}

}  // namespace

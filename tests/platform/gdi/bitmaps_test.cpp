// GDI bitmaps (platform/bitmaps.cpp): compatible bitmaps, DIB sections and
// their descriptions, colour tables and GetDIBits.
#include <string.h>

#include <vector>

#include "tests/platform/gdi/gdi_support.h"

namespace gdi_test {
namespace {

TEST_F(Gdi, CompatibleBitmapsTakeTheFormatOfTheirDeviceContext) {
  HWND w = Window(0, 0, 10, 10);
  HDC windowDC = GetDC(w);
  HDC fresh = CreateCompatibleDC(windowDC);
  HDC holding32 = CreateCompatibleDC(nullptr);
  void *bits;
  HBITMAP dib = Dib(Header(32, 4, 4), &bits);
  SelectObject(holding32, dib);
  struct Case {
    const char *name;
    HDC dc;
    int mode;
    WORD bitsPixel;
  } const cases[] = {
      {"window in 16 bits", windowDC, 16, 16},  {"window in 15 bits", windowDC, 15, 16},
      {"window in 32 bits", windowDC, 32, 32},  {"window in 8 bits", windowDC, 8, 8},
      {"fresh memory: monochrome", fresh, 16, 1}, {"memory holding 32 bits", holding32, 16, 32},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.mode, 640, 480));
    HBITMAP b = CreateCompatibleBitmap(c.dc, 7, 3);
    ASSERT_NE(b, nullptr) << c.name;
    BITMAP bm;
    ASSERT_EQ(GetObject(b, sizeof bm, &bm), (int)sizeof(BITMAP)) << c.name;
    EXPECT_EQ(bm.bmBitsPixel, c.bitsPixel) << c.name;
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmBits, nullptr) << c.name;  // device-dependent: no bits to see
    EXPECT_EQ(bm.bmWidthBytes % 2, 0);
    DIBSECTION ds;
    EXPECT_EQ(GetObject(b, sizeof ds, &ds), (int)sizeof(BITMAP)) << c.name;
    DeleteObject(b);
  }
  // Nothing asked for: the stock 1 x 1 monochrome bitmap.
  HBITMAP empty = CreateCompatibleBitmap(windowDC, 0, 5);
  EXPECT_EQ(empty, GetCurrentObject(fresh, OBJ_BITMAP));
  EXPECT_EQ(CreateCompatibleBitmap(windowDC, -1, 5), nullptr);
  DeleteDC(holding32);
  DeleteObject(dib);
  DeleteDC(fresh);
  ReleaseDC(w, windowDC);
}

TEST_F(Gdi, DibSectionsDescribeThemselves) {
  struct Case {
    int bitCount, width, height;
    DWORD compression;
    DWORD masks[3];     // given for BI_BITFIELDS
    DWORD expected[3];  // what the description reports
    LONG stride;
  } const cases[] = {
      {1, 10, 3, BI_RGB, {}, {}, 4},
      {4, 9, -3, BI_RGB, {}, {}, 8},
      {8, 10, 9, BI_RGB, {}, {}, 12},
      {16, 10, -9, BI_RGB, {}, {0x7C00, 0x3E0, 0x1F}, 20},
      {16, 16, 9, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}, {0xF800, 0x7E0, 0x1F}, 32},
      {16, 3, 2, BI_BITFIELDS, {0xF00, 0xF0, 0xF}, {0xF00, 0xF0, 0xF}, 8},
      // The driver's 16-bit DIBs carry the visual's masks: empty in colour-index
      // mode, 8-8-8 for deep visuals.
      {16, 4, 4, BI_BITFIELDS, {0, 0, 0}, {0, 0, 0}, 8},
      {16, 4, 4, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, {0xFF0000, 0xFF00, 0xFF}, 8},
      {24, 5, -2, BI_RGB, {}, {}, 16},
      {32, 5, 2, BI_RGB, {}, {0xFF0000, 0xFF00, 0xFF}, 20},
      {32, 5, -2, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, {0xFF, 0xFF00, 0xFF0000}, 20},
  };
  for (const Case &c : cases) {
    Info info = Header(c.bitCount, c.width, c.height, c.compression);
    memcpy(info.masks, c.masks, sizeof info.masks);
    void *bits = nullptr;
    HBITMAP b = Dib(info, &bits);
    ASSERT_NE(b, nullptr) << c.bitCount;
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(GetObject(b, 0, nullptr), (int)sizeof(DIBSECTION));
    DIBSECTION ds;
    ASSERT_EQ(GetObject(b, sizeof ds, &ds), (int)sizeof(DIBSECTION));
    LONG rows = c.height < 0 ? -c.height : c.height;
    EXPECT_EQ(ds.dsBm.bmWidth, c.width);
    EXPECT_EQ(ds.dsBm.bmHeight, rows);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride) << c.bitCount << "x" << c.width;
    EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bitCount);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, c.height);  // the sign tells the row order
    EXPECT_EQ(ds.dsBmih.biCompression, c.compression);
    EXPECT_EQ(ds.dsBmih.biSizeImage, (DWORD)(c.stride * rows));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ds.dsBitfields[i], c.expected[i]) << c.bitCount << " mask " << i;
    BITMAP bm;
    EXPECT_EQ(GetObject(b, sizeof bm, &bm), (int)sizeof(BITMAP));
    EXPECT_EQ(GetObject(b, sizeof bm - 1, &bm), 0);
    // 16 spare bytes before the first pixel and after the last, zeroed like the pixels.
    const unsigned char *p = static_cast<const unsigned char *>(bits);
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(p[-i], 0) << c.bitCount;
    for (LONG i = 0; i < c.stride * rows + 16; ++i) ASSERT_EQ(p[i], 0) << c.bitCount;
    DeleteObject(b);
  }
}

TEST_F(Gdi, DibSectionsRefuseWhatTheyCannotHold) {
  struct Case {
    const char *name;
    Info info;
    UINT usage;
    DWORD error;
  };
  auto with = [](Info i, void (*edit)(Info &)) {
    edit(i);
    return i;
  };
  const Info good = Header(16, 4, 4);
  const Case cases[] = {
      {"zero width", Header(16, 0, 4), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"negative width", Header(16, -4, 4), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"zero height", Header(16, 4, 0), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"odd bit count", Header(12, 4, 4), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"run-length", Header(8, 4, 4, BI_RLE8), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"masks on 24 bits", Header(24, 4, 4, BI_BITFIELDS), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"overlapping masks", with(Header(16, 4, 4, BI_BITFIELDS), [](Info &i) {
         i.masks[0] = 0xF800, i.masks[1] = 0x0FE0, i.masks[2] = 0x1F;
       }), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"mask with a gap", with(Header(16, 4, 4, BI_BITFIELDS), [](Info &i) {
         i.masks[0] = 0xA000, i.masks[1] = 0x07E0, i.masks[2] = 0x1F;
       }), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"two planes", with(good, [](Info &i) { i.h.biPlanes = 2; }), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"short header", with(good, [](Info &i) { i.h.biSize = 12; }), DIB_RGB_COLORS, ERROR_INVALID_PARAMETER},
      {"unknown colour use", good, 2, ERROR_INVALID_PARAMETER},
      {"palette indices without a device context", Header(8, 4, 4), DIB_PAL_COLORS, ERROR_INVALID_HANDLE},
      {"far too large", Header(32, 30000, 30000), DIB_RGB_COLORS, ERROR_NOT_ENOUGH_MEMORY},
      {"header larger than any", with(Header(8, 4, 4), [](Info &i) { i.h.biSize = 0x7FFFFFF0; }), DIB_RGB_COLORS,
       ERROR_INVALID_PARAMETER},
  };
  for (const Case &c : cases) {
    void *bits = reinterpret_cast<void *>(1);
    SetLastError(0);
    EXPECT_EQ(Dib(c.info, &bits, nullptr, c.usage), nullptr) << c.name;
    EXPECT_EQ(bits, nullptr) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
  // Sections of a file mapping are not offered.
  void *bits;
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO *>(&good), DIB_RGB_COLORS, &bits,
                             reinterpret_cast<HANDLE>(4), 0),
            nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_SUPPORTED);
}

// The colour table follows the header whatever its size, so it may lie at
// any address: it is read and written there all the same.
TEST_F(Gdi, ColourTablesFollowHeadersOfAnySize) {
  LOGPALETTE lp = {0x300, 1, {{10, 20, 30, 0}}};
  HPALETTE palette = CreatePalette(&lp);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectPalette(dc, palette, FALSE);
  for (DWORD size : {40u, 41u, 43u, 52u, 124u}) {
    std::vector<uint8_t> block(size + 2 * sizeof(WORD), 0);
    BITMAPINFOHEADER h = Header(1, 8, 1).h;
    h.biSize = size;
    memcpy(block.data(), &h, sizeof h);
    const WORD indices[2] = {0, 7};  // the second names no entry: black
    memcpy(block.data() + size, indices, sizeof indices);
    void *bits;
    HBITMAP b = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO *>(block.data()), DIB_PAL_COLORS, &bits,
                                 nullptr, 0);
    ASSERT_NE(b, nullptr) << size;
    HDC holder = CreateCompatibleDC(nullptr);
    SelectObject(holder, b);
    RGBQUAD table[2];
    ASSERT_EQ(GetDIBColorTable(holder, 0, 2, table), 2u) << size;
    EXPECT_EQ(table[0].rgbRed, 10) << size;
    EXPECT_EQ(table[0].rgbBlue, 30) << size;
    EXPECT_EQ(table[1].rgbRed, 0) << size;
    // Asked back as palette indices, into a header of the same size.
    memset(block.data() + size, 0xEE, 2 * sizeof(WORD));
    BITMAPINFOHEADER &asked = *reinterpret_cast<BITMAPINFOHEADER *>(block.data());
    asked.biBitCount = 1;
    EXPECT_NE(GetDIBits(holder, b, 0, 1, nullptr, reinterpret_cast<BITMAPINFO *>(block.data()), DIB_PAL_COLORS), 0)
        << size;
    WORD back[2];
    memcpy(back, block.data() + size, sizeof back);
    EXPECT_EQ(back[0], 0) << size;
    EXPECT_EQ(back[1], 1) << size;
    DeleteDC(holder);
    DeleteObject(b);
  }
  DeleteDC(dc);
  DeleteObject(palette);
}

TEST_F(Gdi, GetDIBitsReadsRowsInTheFormatAsked) {
  // A 3 x 2 image: row 0 red, green, blue; row 1 white, black, grey; kept
  // top-down in one bitmap and bottom-up in the other.
  void *bits, *upBits;
  HBITMAP topDown = Dib(Header(32, 3, -2), &bits), bottomUp = Dib(Header(32, 3, 2), &upBits);
  const uint32_t image[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
  memcpy(bits, image, sizeof image);
  memcpy(upBits, image + 3, 3 * sizeof image[0]);
  memcpy(static_cast<uint32_t *>(upBits) + 3, image, 3 * sizeof image[0]);
  HDC dc = CreateCompatibleDC(nullptr);
  struct Case {
    const char *name;
    int bitCount;
    LONG height;  // of the request: negative asks for top-down rows
    DWORD compression;
    UINT start, lines;
    int copied;
    std::vector<uint8_t> expected;  // the rows as stored, padded to 4 bytes
  } const cases[] = {
      {"32 bits top-down", 32, -2, BI_RGB, 0, 2, 2,
       {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0}},
      {"32 bits bottom-up", 32, 2, BI_RGB, 0, 2, 2,
       {255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}},
      {"24 bits, first row from the bottom", 24, 2, BI_RGB, 0, 1, 1,
       {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0}},
      {"24 bits, second row from the bottom", 24, 2, BI_RGB, 1, 1, 1,
       {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}},
      {"16 bits 5-5-5", 16, -1, BI_RGB, 0, 1, 1, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}},
      {"16 bits 5-6-5", 16, -1, BI_BITFIELDS, 0, 1, 1, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}},
      {"past the last row", 32, -2, BI_RGB, 2, 1, 0, {}},
      {"more lines than there are", 32, -2, BI_RGB, 1, 5, 1,
       {255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0}},
  };
  for (HBITMAP b : {topDown, bottomUp})
    for (const Case &c : cases) {
      Info info = Header(c.bitCount, 3, c.height, c.compression);
      if (c.compression == BI_BITFIELDS) info.masks[0] = 0xF800, info.masks[1] = 0x7E0, info.masks[2] = 0x1F;
      std::vector<uint8_t> out(64, 0xEE);
      EXPECT_EQ(GetDIBits(dc, b, c.start, c.lines, out.data(), reinterpret_cast<BITMAPINFO *>(&info),
                          DIB_RGB_COLORS),
                c.copied)
          << c.name;
      EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + c.expected.size()), c.expected)
          << c.name << (b == topDown ? " from top-down" : " from bottom-up");
    }
  HBITMAP b = topDown;
  // Fewer colours cannot be made up into palette indices.
  Info eight = Header(8, 3, 2);
  std::vector<uint8_t> out(64);
  EXPECT_EQ(GetDIBits(dc, b, 0, 2, out.data(), reinterpret_cast<BITMAPINFO *>(&eight), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(reinterpret_cast<HDC>(0x77), b, 0, 2, out.data(),
                      reinterpret_cast<BITMAPINFO *>(&eight), DIB_RGB_COLORS),
            0);
  EXPECT_EQ(GetDIBits(dc, b, 0, 2, out.data(), nullptr, DIB_RGB_COLORS), 0);
  // A header size no header has would put the colour table far past the block.
  Info huge = Header(8, 3, 2);
  huge.h.biSize = 0x7FFFFFF0;
  EXPECT_EQ(GetDIBits(dc, b, 0, 2, nullptr, reinterpret_cast<BITMAPINFO *>(&huge), DIB_RGB_COLORS), 0);
  DeleteDC(dc);
  DeleteObject(topDown);
  DeleteObject(bottomUp);
}

TEST_F(Gdi, BottomUpAndTopDownRowsMeanTheSameImage) {
  void *upBits, *downBits;
  HBITMAP up = Dib(Header(32, 2, 2), &upBits), down = Dib(Header(32, 2, -2), &downBits);
  uint32_t *u = static_cast<uint32_t *>(upBits);
  u[0] = 1, u[1] = 2;  // the bottom row comes first in memory
  u[2] = 3, u[3] = 4;
  HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
  SelectObject(from, up);
  SelectObject(to, down);
  ASSERT_TRUE(BitBlt(to, 0, 0, 2, 2, from, 0, 0, SRCCOPY));
  const uint32_t *d = static_cast<const uint32_t *>(downBits);
  EXPECT_EQ(std::vector<uint32_t>(d, d + 4), (std::vector<uint32_t>{3, 4, 1, 2}));
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(up);
  DeleteObject(down);
}

}  // namespace
}  // namespace gdi_test

// GDI palettes (platform/palettes.cpp): logical and system palettes and what
// indices mean through them.
#include <string.h>

#include <vector>

#include "tests/platform/gdi/gdi_support.h"

namespace gdi_test {
namespace {

TEST_F(Gdi, PaletteIndicesTakeTheDeviceContextsPalette) {
  LOGPALETTE *lp = static_cast<LOGPALETTE *>(malloc(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 4;
  const PALETTEENTRY entries[4] = {{10, 0, 0, 0}, {0, 20, 0, 0}, {0, 0, 30, 0}, {40, 40, 40, 0}};
  memcpy(lp->palPalEntry, entries, sizeof entries);
  HPALETTE palette = CreatePalette(lp);
  free(lp);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectPalette(dc, palette, FALSE);
  Info info = Header(8, 4, 1);
  info.h.biClrUsed = 5;
  const WORD indices[5] = {3, 2, 1, 0, 77};  // the last names no entry: black
  memcpy(info.indices, indices, sizeof indices);
  void *bits;
  HBITMAP b = Dib(info, &bits, dc, DIB_PAL_COLORS);
  ASSERT_NE(b, nullptr);
  SelectObject(dc, b);
  RGBQUAD table[5];
  ASSERT_EQ(GetDIBColorTable(dc, 0, 5, table), 5u);
  for (int i = 0; i < 5; ++i) {
    PALETTEENTRY e = i < 4 ? entries[indices[i]] : PALETTEENTRY{0, 0, 0, 0};
    EXPECT_EQ(table[i].rgbRed, e.peRed) << i;
    EXPECT_EQ(table[i].rgbGreen, e.peGreen) << i;
    EXPECT_EQ(table[i].rgbBlue, e.peBlue) << i;
  }
  DeleteDC(dc);
  DeleteObject(b);
  DeleteObject(palette);
}

// In the 8-bit mode the screen holds indices that the system palette colours.
TEST_F(Gdi, TheEightBitScreenShowsThroughTheSystemPalette) {
  ASSERT_TRUE(DesktopSetDisplayMode(8, 320, 200));
  HWND w = Window(0, 0, 4, 1);
  HDC dc = GetDC(w);
  LOGPALETTE *lp = static_cast<LOGPALETTE *>(malloc(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = {BYTE(i), BYTE(255 - i), 7, 0};
  HPALETTE palette = CreatePalette(lp);
  ASSERT_NE(palette, nullptr);
  SelectPalette(dc, palette, FALSE);
  EXPECT_EQ(RealizePalette(dc), 256u);
  PALETTEENTRY system[256];
  ASSERT_EQ(GetSystemPaletteEntries(dc, 0, 256, system), 256u);
  EXPECT_EQ(memcmp(system, lp->palPalEntry, sizeof system), 0);
  free(lp);

  // An identity DIB copies its indices straight to the screen.
  Info info = Header(8, 4, -1);
  for (int i = 0; i < 256; ++i) info.indices[i] = static_cast<WORD>(i);
  void *bits;
  HBITMAP dib = Dib(info, &bits, dc, DIB_PAL_COLORS);
  ASSERT_NE(dib, nullptr);
  const uint8_t indices[4] = {0, 5, 200, 255};
  memcpy(bits, indices, 4);
  HDC memory = CreateCompatibleDC(dc);
  SelectObject(memory, dib);
  ASSERT_TRUE(BitBlt(dc, 0, 0, 4, 1, memory, 0, 0, SRCCOPY));
  std::vector<unsigned> shown = ReadAll(w);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(shown[i], 0xFF000000u | (indices[i] << 16) | ((255 - indices[i]) << 8) | 7) << i;

  // Changing the system palette changes what the same indices show.
  const PALETTEENTRY five = {1, 2, 3, 0};
  ASSERT_TRUE(DesktopSetSystemPalette(5, 1, &five));
  EXPECT_EQ(ReadAll(w)[1], 0xFF010203u);
  EXPECT_FALSE(DesktopSetSystemPalette(250, 7, &five));
  EXPECT_FALSE(DesktopSetSystemPalette(0, 1, nullptr));

  // A new display mode starts with the reserved colours again.
  ASSERT_TRUE(DesktopSetDisplayMode(8, 320, 200));
  ASSERT_EQ(GetSystemPaletteEntries(dc, 0, 256, system), 256u);
  EXPECT_EQ(system[5].peRed, 128);  // dark magenta
  EXPECT_EQ(system[100].peRed, 0);
  EXPECT_EQ(system[255].peGreen, 255);

  DeleteDC(memory);
  DeleteObject(dib);
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(palette);
  ReleaseDC(w, dc);
}

TEST_F(Gdi, ColourTablesChangeWhatTheIndicesMean) {
  void *bits;
  HBITMAP dib = Dib(Header(8, 2, -1), &bits);
  static_cast<uint8_t *>(bits)[0] = 0;
  static_cast<uint8_t *>(bits)[1] = 255;
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, dib);
  const RGBQUAD colours[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  struct Case {
    UINT start, count;
    UINT set;
  } const cases[] = {{0, 1, 1}, {255, 5, 1}, {256, 1, 0}, {254, 2, 2}};
  for (const Case &c : cases) EXPECT_EQ(SetDIBColorTable(dc, c.start, c.count, colours), c.set) << c.start;
  Memory32 out(2, 1);
  ASSERT_TRUE(BitBlt(out.dc, 0, 0, 2, 1, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(out.pixels[0] & 0xFFFFFF, 0x030201u);
  EXPECT_EQ(out.pixels[1] & 0xFFFFFF, 0x060504u);
  // Only a memory device context holding a DIB section with a table has one.
  EXPECT_EQ(SetDIBColorTable(out.dc, 0, 1, colours), 0u);
  EXPECT_EQ(SetDIBColorTable(dc, 0, 1, nullptr), 0u);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST_F(Gdi, PalettesGiveTheirEntries) {
  LOGPALETTE *lp = static_cast<LOGPALETTE *>(malloc(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = {1, 1, 1, 0};
  lp->palPalEntry[1] = {2, 2, 2, 0};
  lp->palPalEntry[2] = {3, 3, 3, 0};
  HPALETTE palette = CreatePalette(lp);
  ASSERT_NE(palette, nullptr);
  struct Case {
    UINT start, count, got;
    BYTE first;
  } const cases[] = {{0, 3, 3, 1}, {1, 9, 2, 2}, {2, 1, 1, 3}, {3, 1, 0, 0}, {0, 0, 0, 0}};
  for (const Case &c : cases) {
    PALETTEENTRY out[3] = {};
    EXPECT_EQ(GetPaletteEntries(palette, c.start, c.count, out), c.got) << c.start;
    EXPECT_EQ(out[0].peRed, c.first) << c.start;
  }
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u);
  WORD count = 0;
  EXPECT_EQ(GetObject(palette, sizeof count, &count), (int)sizeof(WORD));
  EXPECT_EQ(count, 3);
  lp->palVersion = 0x200;
  EXPECT_EQ(CreatePalette(lp), nullptr);
  lp->palVersion = 0x300;
  lp->palNumEntries = 0;
  EXPECT_EQ(CreatePalette(lp), nullptr);
  free(lp);
  EXPECT_EQ(CreatePalette(nullptr), nullptr);
  // Outside the 8-bit mode there is no system palette to read.
  HDC dc = GetDC(nullptr);
  PALETTEENTRY e;
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 1, &e), 0u);
  ReleaseDC(nullptr, dc);
  DeleteObject(palette);
}

}  // namespace
}  // namespace gdi_test

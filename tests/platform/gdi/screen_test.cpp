// GDI's view of the screen (platform/screen.cpp): the screen-compatible
// formats of every display mode, every report of the mode agreeing, and
// colours through every mode.
#include <string.h>

#include <vector>

#include "platform/dd326.h"
#include "tests/platform/gdi/gdi_support.h"

namespace gdi_test {
namespace {

// The two-call query of a screen-compatible bitmap's format, in a block as
// large as a header with a 256-colour table, in every display mode.
TEST_F(Gdi, ScreenFormatsReadAsRealDisplaysReportThem) {
  struct Case {
    int mode;
    WORD bitCount;
    DWORD compression;
    DWORD masks[3];  // what the second call leaves after the header
  } const cases[] = {
      {8, 8, BI_RGB, {0, 0x800000, 0x8000}},  // the colour table: black, dark red, dark green
      {15, 16, BI_RGB, {0, 0, 0}},            // 5-5-5 is the 16-bit default: no masks
      {16, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
      {24, 24, BI_RGB, {0, 0, 0}},
      {32, 32, BI_RGB, {0, 0, 0}},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.mode, 640, 480)) << c.mode;
    HWND w = Window(0, 0, 10, 10);
    HDC dc = GetDC(w);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 1, 1);
    ASSERT_NE(bitmap, nullptr);
    unsigned char block[1080] = {};
    BITMAPINFO *info = reinterpret_cast<BITMAPINFO *>(block);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(dc, bitmap, 0, 1, nullptr, info, DIB_RGB_COLORS), 0) << c.mode;
    EXPECT_EQ(info->bmiHeader.biBitCount, c.bitCount) << c.mode;
    EXPECT_EQ(info->bmiHeader.biCompression, c.compression) << c.mode;
    EXPECT_EQ(info->bmiHeader.biWidth, 1);
    EXPECT_EQ(info->bmiHeader.biHeight, 1);
    EXPECT_NE(GetDIBits(dc, bitmap, 0, 1, nullptr, info, DIB_RGB_COLORS), 0) << c.mode;
    DWORD masks[3];
    memcpy(masks, block + sizeof(BITMAPINFOHEADER), sizeof masks);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(masks[i], c.masks[i]) << c.mode << " word " << i;
    // The same depth as GDI's own report.
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), c.bitCount) << c.mode;
    EXPECT_EQ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0, c.mode == 8) << c.mode;
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 640);
    DeleteObject(bitmap);
    ReleaseDC(w, dc);
  }
}

// What the last WM_DISPLAYCHANGE said, as a hook heard it.
WPARAM announcedBits;
LPARAM announcedSize;
LRESULT WINAPI HearDisplayChange(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT *m = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (m->message == WM_DISPLAYCHANGE) announcedBits = m->wParam, announcedSize = m->lParam;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every way of asking about the display mode gives the same answer: GDI's
// two-call bitmap query read as a driver reads it (16 bits without bit
// fields meaning 5-5-5), GDI's device caps, DirectDraw's display mode and
// primary surface, the DCI primary, the display-information block and the
// WM_DISPLAYCHANGE announcement.
TEST_F(Gdi, EveryReportOfTheDisplayModeAgrees) {
  struct Case {
    int mode, width, height;
    DWORD bits;      // as GDI, DirectDraw and DCI report them
    DWORD masks[3];  // red, green, blue; none in the 8-bit mode
    DWORD infoBits;  // as the display-information block keeps them
  } const cases[] = {
      {8, 640, 480, 8, {0, 0, 0}, 8},
      {15, 800, 600, 16, {0x7C00, 0x03E0, 0x001F}, 15},
      {16, 1024, 768, 16, {0xF800, 0x07E0, 0x001F}, 16},
      {24, 333, 201, 24, {0xFF0000, 0xFF00, 0xFF}, 24},
      {32, 1280, 1024, 32, {0xFF0000, 0xFF00, 0xFF}, 32},
  };
  HWND w = Window(0, 0, 4, 4);
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &HearDisplayChange, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  LPDD326DISPINFO info = ddGetDispInfo();
  ASSERT_NE(info, nullptr);
  for (const Case &c : cases) {
    announcedBits = 0;
    announcedSize = 0;
    ASSERT_TRUE(DesktopSetDisplayMode(c.mode, c.width, c.height)) << c.mode;
    EXPECT_EQ(announcedBits, c.bits) << c.mode;
    EXPECT_EQ(announcedSize, MAKELPARAM(c.width, c.height)) << c.mode;

    // GDI: a 1 x 1 compatible bitmap asked twice in one zeroed block.
    HDC dc = GetDC(w);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 1, 1);
    unsigned char block[1080] = {};
    BITMAPINFO *bmi = reinterpret_cast<BITMAPINFO *>(block);
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_NE(GetDIBits(dc, bitmap, 0, 1, nullptr, bmi, DIB_RGB_COLORS), 0) << c.mode;
    ASSERT_NE(GetDIBits(dc, bitmap, 0, 1, nullptr, bmi, DIB_RGB_COLORS), 0) << c.mode;
    DWORD gdiBits = bmi->bmiHeader.biBitCount, gdiMasks[3] = {0, 0, 0};
    if (bmi->bmiHeader.biCompression == BI_BITFIELDS) {
      memcpy(gdiMasks, block + sizeof(BITMAPINFOHEADER), sizeof gdiMasks);
    } else if (gdiBits == 16) {
      gdiMasks[0] = 0x7C00, gdiMasks[1] = 0x03E0, gdiMasks[2] = 0x001F;
    } else if (gdiBits == 24 || gdiBits == 32) {
      gdiMasks[0] = 0xFF0000, gdiMasks[1] = 0xFF00, gdiMasks[2] = 0xFF;
    }
    EXPECT_EQ(gdiBits, c.bits) << c.mode;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(gdiMasks[i], c.masks[i]) << c.mode << " GDI mask " << i;
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), (int)c.bits) << c.mode;
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width) << c.mode;
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height) << c.mode;
    DeleteObject(bitmap);
    ReleaseDC(w, dc);

    // DirectDraw: the display mode, and the primary surface's format and memory.
    DDSURFACEDESC mode = DisplayMode();
    const DDPIXELFORMAT &pf = mode.ddpfPixelFormat;
    EXPECT_EQ(pf.dwRGBBitCount, c.bits) << c.mode;
    EXPECT_EQ((pf.dwFlags & DDPF_PALETTEINDEXED8) != 0, c.mode == 8) << c.mode;
    EXPECT_EQ(pf.dwRBitMask, c.masks[0]) << c.mode;
    EXPECT_EQ(pf.dwGBitMask, c.masks[1]) << c.mode;
    EXPECT_EQ(pf.dwBBitMask, c.masks[2]) << c.mode;
    EXPECT_EQ(mode.dwWidth, DWORD(c.width)) << c.mode;
    EXPECT_EQ(mode.dwHeight, DWORD(c.height)) << c.mode;
    DDPIXELFORMAT primaryFormat;
    uint8_t *screen = PrimaryAddress(&primaryFormat);
    ASSERT_NE(screen, nullptr) << c.mode;
    EXPECT_EQ(memcmp(&primaryFormat, &pf, sizeof pf), 0) << c.mode;

    // DCI: the same memory, format and size.
    HDC provider = DCIOpenProvider();
    ASSERT_NE(provider, nullptr);
    LPDCISURFACEINFO dci = nullptr;
    ASSERT_EQ(DCICreatePrimary(provider, &dci), DCI_OK);
    EXPECT_EQ(dci->dwBitCount, c.bits) << c.mode;
    EXPECT_EQ(dci->dwCompression, gdiBits == 16 && gdiMasks[1] == 0x07E0 ? BI_BITFIELDS : BI_RGB) << c.mode;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dci->dwMask[i], c.masks[i]) << c.mode << " DCI mask " << i;
    EXPECT_EQ(dci->dwWidth, DWORD(c.width)) << c.mode;
    EXPECT_EQ(dci->dwHeight, DWORD(c.height)) << c.mode;
    EXPECT_EQ(dci->lStride, mode.lPitch) << c.mode;
    EXPECT_EQ(reinterpret_cast<uint8_t *>(dci->dwOffSurface), screen) << c.mode;
    DCIDestroy(dci);
    DCICloseProvider(provider);

    // The display-information block the chip's drivers read, kept live.
    EXPECT_EQ(info->bitsPerPixel, c.infoBits) << c.mode;
    EXPECT_EQ(info->screenWidth, DWORD(c.width)) << c.mode;
    EXPECT_EQ(info->screenHeight, DWORD(c.height)) << c.mode;
    EXPECT_EQ(info->screenPitch, DWORD(mode.lPitch)) << c.mode;
    EXPECT_EQ(reinterpret_cast<uint8_t *>(uintptr_t(info->frameBuffer)), screen) << c.mode;
  }
  UnhookWindowsHookEx(hook);
}

TEST_F(Gdi, ColoursSurviveTheTripThroughEveryScreenMode) {
  // Colours every mode shows exactly (the 8-bit mode through its reserved colours).
  const uint32_t exact[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x808080};
  for (int mode : {8, 15, 16, 24, 32}) {
    ASSERT_TRUE(DesktopSetDisplayMode(mode, 320, 200));
    HWND w = Window(3, 4, 9, 1);
    Memory32 source(9, 1);
    memcpy(source.pixels, exact, sizeof exact);
    HDC dc = GetDC(w);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 9, 1, source.dc, 0, 0, SRCCOPY));
    std::vector<unsigned> shown = ReadAll(w);
    for (int i = 0; i < 9; ++i) {
      uint32_t want = exact[i];
      // Grey keeps its top bits where channels are narrower than 8: 5 bits repeat as 0x84, 6 bits as 0x82.
      if (want == 0x808080 && mode == 15) want = 0x848484;
      if (want == 0x808080 && mode == 16) want = 0x848284;
      EXPECT_EQ(shown[i], 0xFF000000u | want) << "mode " << mode << " colour " << i;
    }
    // And back again into memory.
    Memory32 back(9, 1);
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 9, 1, dc, 0, 0, SRCCOPY));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(back.pixels[i] & 0xFFFFFF, shown[i] & 0xFFFFFF) << mode;
    ReleaseDC(w, dc);
    DestroyWindow(w);
  }
}

}  // namespace
}  // namespace gdi_test

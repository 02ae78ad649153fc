// GDI: device contexts, bitmaps and DIB sections, their descriptions,
// palettes, fills and copies between memory, windows and the screen.
#include <string.h>

#include "platform/dd326.h"
#include "tests/platform/desktop_fixture.h"

namespace {

using Gdi = DesktopTest;

struct Info {
  BITMAPINFOHEADER h;
  union {
    RGBQUAD colors[256];
    DWORD masks[3];
    WORD indices[256];
  };
};

Info Header(int bitCount, int width, int height, DWORD compression = BI_RGB) {
  Info info;
  memset(&info, 0, sizeof info);
  info.h.biSize = sizeof(BITMAPINFOHEADER);
  info.h.biWidth = width;
  info.h.biHeight = height;
  info.h.biPlanes = 1;
  info.h.biBitCount = static_cast<WORD>(bitCount);
  info.h.biCompression = compression;
  return info;
}

HBITMAP Dib(const Info &info, void **bits, HDC dc = nullptr, UINT usage = DIB_RGB_COLORS) {
  return CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO *>(&info), usage, bits, nullptr, 0);
}

// A 32-bit top-down DIB selected into a memory device context.
struct Memory32 {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr, old = nullptr;
  uint32_t *pixels = nullptr;
  int width, height;
  Memory32(int w, int h) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    void *bits;
    bitmap = Dib(Header(32, w, -h), &bits);
    pixels = static_cast<uint32_t *>(bits);
    old = static_cast<HBITMAP>(SelectObject(dc, bitmap));
  }
  ~Memory32() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(uint32_t rgb) {
    for (int i = 0; i < width * height; ++i) pixels[i] = rgb;
  }
};

// The inside of a rectangle list, as a predicate.
bool Inside(const std::vector<RECT> &rects, LONG x, LONG y) {
  for (const RECT &r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

TEST_F(Gdi, DeviceContextsKnowTheirKindAndWindow) {
  HWND w = Window(0, 0, 10, 10);
  HDC windowDC = GetDC(w);
  HDC screenDC = GetDC(nullptr);
  HDC memoryDC = CreateCompatibleDC(nullptr);
  HDC fromWindowDC = CreateCompatibleDC(windowDC);
  struct Case {
    const char *name;
    HDC dc;
    DWORD type;
    HWND window;
  } const cases[] = {
      {"window", windowDC, OBJ_DC, w},
      {"screen", screenDC, OBJ_DC, nullptr},
      {"memory", memoryDC, OBJ_MEMDC, nullptr},
      {"memory like a window's", fromWindowDC, OBJ_MEMDC, nullptr},
  };
  for (const Case &c : cases) {
    ASSERT_NE(c.dc, nullptr) << c.name;
    EXPECT_EQ(GetObjectType(c.dc), c.type) << c.name;
    EXPECT_EQ(WindowFromDC(c.dc), c.window) << c.name;
    // Every device context starts with the stock objects selected.
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PAL), GetStockObject(DEFAULT_PALETTE)) << c.name;
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH)) << c.name;
  }
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_PALETTE)), OBJ_PAL);
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), OBJ_BRUSH);
  EXPECT_EQ(GetObjectType(GetCurrentObject(memoryDC, OBJ_BITMAP)), OBJ_BITMAP);
  EXPECT_EQ(GetObjectType(w), 0u);  // a window is no GDI object
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(0x4321)), 0u);
  EXPECT_EQ(GetCurrentObject(memoryDC, 99), nullptr);
  DeleteDC(fromWindowDC);
  DeleteDC(memoryDC);
  ReleaseDC(nullptr, screenDC);
  ReleaseDC(w, windowDC);
}

TEST_F(Gdi, DeviceContextsAreGivenBackTheWayTheyCame) {
  HWND w = Window(0, 0, 10, 10), other = Window(20, 0, 10, 10);
  HDC windowDC = GetDC(w), memoryDC = CreateCompatibleDC(nullptr), screenDC = GetDC(nullptr);
  EXPECT_EQ(ReleaseDC(other, windowDC), 0);  // not that window's
  EXPECT_FALSE(DeleteDC(windowDC));          // not a memory device context
  EXPECT_EQ(ReleaseDC(nullptr, memoryDC), 0);
  EXPECT_EQ(GetObjectType(windowDC), (DWORD)OBJ_DC);
  EXPECT_EQ(ReleaseDC(w, windowDC), 1);
  EXPECT_EQ(GetObjectType(windowDC), 0u);
  EXPECT_EQ(ReleaseDC(w, windowDC), 0);
  EXPECT_EQ(ReleaseDC(nullptr, screenDC), 1);
  EXPECT_TRUE(DeleteDC(memoryDC));
  EXPECT_FALSE(DeleteDC(memoryDC));
  // A window's device contexts go with it.
  HDC last = GetDC(other);
  DestroyWindow(other);
  EXPECT_EQ(GetObjectType(last), 0u);
  EXPECT_EQ(WindowFromDC(last), nullptr);
  EXPECT_EQ(GetDC(other), nullptr);
}

TEST_F(Gdi, PixelFormatNumbersBelongToWindowsAndMemoryDeviceContexts) {
  HWND w = Window(0, 0, 10, 10);
  HDC a = GetDC(w), b = GetDC(w), memory = CreateCompatibleDC(nullptr), screen = GetDC(nullptr);
  EXPECT_EQ(PlatformGetPixelFormatNumber(a), 0);
  EXPECT_TRUE(PlatformSetPixelFormatNumber(a, 3));
  EXPECT_EQ(PlatformGetPixelFormatNumber(b), 3);  // the window's, whichever device context
  EXPECT_TRUE(PlatformSetPixelFormatNumber(b, 3));
  SetLastError(0);
  EXPECT_FALSE(PlatformSetPixelFormatNumber(b, 4));  // set once
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PIXEL_FORMAT);
  EXPECT_EQ(PlatformGetPixelFormatNumber(memory), 0);
  EXPECT_TRUE(PlatformSetPixelFormatNumber(memory, 7));
  EXPECT_EQ(PlatformGetPixelFormatNumber(memory), 7);
  EXPECT_EQ(PlatformGetPixelFormatNumber(a), 3);
  for (int bad : {0, -1}) EXPECT_FALSE(PlatformSetPixelFormatNumber(CreateCompatibleDC(nullptr), bad));
  EXPECT_FALSE(PlatformSetPixelFormatNumber(screen, 1));
  EXPECT_EQ(PlatformGetPixelFormatNumber(reinterpret_cast<HDC>(0x88)), 0);
  // A new window starts without one.
  HWND fresh = Window(0, 0, 1, 1);
  EXPECT_EQ(PlatformGetPixelFormatNumber(GetDC(fresh)), 0);
  ReleaseDC(w, a);
  ReleaseDC(w, b);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

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

TEST_F(Gdi, CopiesIntoAWindowLandOnlyWhereItIsVisible) {
  struct Case {
    const char *name;
    RECT window;        // the window drawn into
    std::vector<RECT> above;  // windows created after it
  } const cases[] = {
      {"alone", {10, 10, 50, 40}, {}},
      {"covered in part", {10, 10, 50, 40}, {{30, 20, 80, 30}}},
      {"covered twice", {10, 10, 50, 40}, {{0, 0, 20, 20}, {40, 30, 60, 60}}},
      {"off the screen's corner", {-10, -5, 30, 25}, {}},
      {"off the far corner", {1000, 750, 1040, 780}, {{1010, 760, 1020, 770}}},
      {"wholly covered", {10, 10, 50, 40}, {{0, 0, 100, 100}}},
  };
  Memory32 red(40, 30);
  red.Fill(0xFF0000);
  for (const Case &c : cases) {
    HWND target = Window(c.window.left, c.window.top, 40, 30);
    std::vector<HWND> above;
    for (const RECT &r : c.above) above.push_back(Window(r.left, r.top, r.right - r.left, r.bottom - r.top));
    HDC dc = GetDC(target);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 30, red.dc, 0, 0, SRCCOPY)) << c.name;
    ReleaseDC(target, dc);
    std::vector<RECT> visible = VisibleRects(target);
    std::vector<unsigned> shown = ReadAll(target);
    for (LONG y = 0; y < 30; ++y)
      for (LONG x = 0; x < 40; ++x) {
        LONG sx = c.window.left + x, sy = c.window.top + y;
        bool onScreen = sx >= 0 && sy >= 0 && sx < 1024 && sy < 768;
        unsigned expected = !onScreen ? 0u : Inside(visible, sx, sy) ? 0xFFFF0000u : 0xFF000000u;
        ASSERT_EQ(shown[y * 40 + x], expected) << c.name << " at " << x << "," << y;
      }
    // The windows above keep their own (black) pixels.
    for (HWND w : above)
      for (unsigned pixel : ReadAll(w)) ASSERT_NE(pixel, 0xFFFF0000u) << c.name;
    for (HWND w : above) DestroyWindow(w);
    DestroyWindow(target);
  }
}

TEST_F(Gdi, CopiesOutOfAWindowReadWhatTheScreenShows) {
  HWND below = Window(0, 0, 20, 10), above = Window(10, 0, 20, 10);
  HDC belowDC = GetDC(below), aboveDC = GetDC(above);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT all = {0, 0, 20, 10};
  FillRect(belowDC, &all, green);
  FillRect(aboveDC, &all, blue);
  Memory32 copy(20, 10);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 20, 10, belowDC, 0, 0, SRCCOPY));
  for (int x = 0; x < 20; ++x) EXPECT_EQ(copy.pixels[x] & 0xFFFFFF, x < 10 ? 0x00FF00u : 0x0000FFu) << x;
  // What lies off the screen is not read: the copy there keeps what it had.
  MoveWindow(below, -5, 0, 20, 10, TRUE);
  copy.Fill(0x123456);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 20, 10, belowDC, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.pixels[0], 0x123456u);
  EXPECT_EQ(copy.pixels[4], 0x123456u);
  EXPECT_NE(copy.pixels[5], 0x123456u);
  ReleaseDC(below, belowDC);
  ReleaseDC(above, aboveDC);
  DeleteObject(green);
  DeleteObject(blue);
}

TEST_F(Gdi, CopiesWithinOneBitmapMayOverlap) {
  Memory32 m(5, 1);
  for (int i = 0; i < 5; ++i) m.pixels[i] = i + 1;
  ASSERT_TRUE(BitBlt(m.dc, 1, 0, 4, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{1, 1, 2, 3, 4}));
  ASSERT_TRUE(BitBlt(m.dc, 0, 0, 4, 1, m.dc, 1, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{1, 2, 3, 4, 4}));
  // Parts outside either bitmap are left out, not wrapped.
  ASSERT_TRUE(BitBlt(m.dc, -2, 0, 9, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 5), (std::vector<uint32_t>{3, 4, 4, 4, 4}));
  EXPECT_TRUE(BitBlt(m.dc, 0, 0, 0, 1, m.dc, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(m.dc, 0, 0, 5, 1, m.dc, 100, 100, SRCCOPY));
  EXPECT_EQ(m.pixels[0], 3u);
}

// Pixels smaller than a byte: moved bit by bit, or coloured through their table.
TEST_F(Gdi, NarrowPixelsCopyBitByBit) {
  Info mono = Header(1, 16, -1);
  mono.colors[1] = {255, 255, 255, 0};
  void *fromBits, *toBits;
  HBITMAP from = Dib(mono, &fromBits), to = Dib(mono, &toBits);
  static_cast<uint8_t *>(fromBits)[0] = 0xB4;  // 1011 0100
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  SelectObject(a, from);
  SelectObject(b, to);
  ASSERT_TRUE(BitBlt(b, 3, 0, 8, 1, a, 0, 0, SRCCOPY));
  const uint8_t *out = static_cast<const uint8_t *>(toBits);
  EXPECT_EQ(out[0], 0x16);  // 000 10110
  EXPECT_EQ(out[1], 0x80);  // 100 00000

  Info nibbles = Header(4, 4, -1);
  nibbles.colors[2] = {3, 2, 1, 0};
  nibbles.colors[15] = {6, 5, 4, 0};
  void *nibbleBits;
  HBITMAP four = Dib(nibbles, &nibbleBits);
  static_cast<uint8_t *>(nibbleBits)[0] = 0x2F;
  static_cast<uint8_t *>(nibbleBits)[1] = 0xF2;
  SelectObject(a, four);
  Memory32 wide(4, 1);
  ASSERT_TRUE(BitBlt(wide.dc, 0, 0, 4, 1, a, 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<uint32_t>(wide.pixels, wide.pixels + 4),
            (std::vector<uint32_t>{0x010203, 0x040506, 0x040506, 0x010203}));
  DeleteDC(a);
  DeleteDC(b);
  DeleteObject(from);
  DeleteObject(to);
  DeleteObject(four);
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

TEST_F(Gdi, FillsPaintWithTheirBrushInsideTheTarget) {
  Memory32 m(4, 2);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  struct Case {
    const char *name;
    BOOL (*paint)(HDC dc, HBRUSH brush);
    std::vector<uint32_t> expected;
  } const cases[] = {
      {"fill a rectangle",
       [](HDC dc, HBRUSH b) {
         RECT r = {1, 0, 3, 1};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 0x010203, 0x010203, 9, 9, 9, 9, 9}},
      {"an empty rectangle", [](HDC dc, HBRUSH b) {
         RECT r = {3, 0, 1, 2};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 9, 9, 9, 9, 9, 9, 9}},
      {"past the edges", [](HDC dc, HBRUSH b) {
         RECT r = {-5, 1, 50, 50};
         return static_cast<BOOL>(FillRect(dc, &r, b));
       },
       {9, 9, 9, 9, 0x010203, 0x010203, 0x010203, 0x010203}},
      {"the selected brush", [](HDC dc, HBRUSH b) {
         SelectObject(dc, b);
         BOOL done = PatBlt(dc, 0, 0, 1, 2, PATCOPY);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         return done;
       },
       {0x010203, 9, 9, 9, 0x010203, 9, 9, 9}},
      {"a negative size reaches back", [](HDC dc, HBRUSH) { return PatBlt(dc, 4, 2, -1, -1, WHITENESS); },
       {9, 9, 9, 9, 9, 9, 9, 0xFFFFFF}},
      {"blackness", [](HDC dc, HBRUSH) { return BitBlt(dc, 0, 0, 2, 1, nullptr, 0, 0, BLACKNESS); },
       {0, 0, 9, 9, 9, 9, 9, 9}},
      {"the hollow brush", [](HDC dc, HBRUSH) {
         SelectObject(dc, GetStockObject(NULL_BRUSH));
         BOOL done = PatBlt(dc, 0, 0, 4, 2, PATCOPY);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         return done;
       },
       {9, 9, 9, 9, 9, 9, 9, 9}},
      {"a stock brush", [](HDC dc, HBRUSH) {
         RECT r = {0, 0, 1, 1};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))));
       },
       {0x808080, 9, 9, 9, 9, 9, 9, 9}},
  };
  for (const Case &c : cases) {
    m.Fill(9);
    EXPECT_TRUE(c.paint(m.dc, brush)) << c.name;
    EXPECT_EQ(std::vector<uint32_t>(m.pixels, m.pixels + 8), c.expected) << c.name;
  }
  RECT r = {0, 0, 1, 1};
  EXPECT_EQ(FillRect(m.dc, &r, reinterpret_cast<HBRUSH>(0x99)), 0);
  EXPECT_EQ(FillRect(m.dc, nullptr, brush), 0);
  SetLastError(0);
  EXPECT_FALSE(PatBlt(m.dc, 0, 0, 1, 1, 0x00550009));  // inverting is not offered
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(BitBlt(m.dc, 0, 0, 1, 1, m.dc, 0, 0, 0x00EE0086));
  EXPECT_FALSE(BitBlt(m.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  DeleteObject(brush);
}

TEST_F(Gdi, FillsInAWindowStayInsideWhatIsVisible) {
  HWND w = Window(0, 0, 10, 1), cover = Window(5, 0, 10, 1);
  HDC dc = GetDC(w);
  ASSERT_TRUE(PatBlt(dc, 0, 0, 10, 1, WHITENESS));
  std::vector<unsigned> shown = ReadAll(w);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(shown[x], x < 5 ? 0xFFFFFFFFu : 0xFF000000u) << x;
  for (unsigned pixel : ReadAll(cover)) EXPECT_EQ(pixel, 0xFF000000u);
  // The whole screen's device context reaches everywhere.
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(PatBlt(screen, 0, 0, 20, 1, WHITENESS));
  for (unsigned pixel : ReadAll(cover)) EXPECT_EQ(pixel, 0xFFFFFFFFu);
  ReleaseDC(nullptr, screen);
  ReleaseDC(w, dc);
}

// Rectangles with any numbers at all, far beyond or around the target: the
// part inside is painted, nothing else is, and no sum wraps around.
TEST_F(Gdi, RectanglesOfAnySizeReachOnlyTheirTarget) {
  constexpr int kMax = 0x7FFFFFFF, kMin = -kMax - 1;
  HWND w = Window(100, 100, 20, 10);
  struct Case {
    const char *name;
    BOOL (*paint)(HDC window, HDC memory);
    bool whole;  // the window turns white all over; otherwise it stays black
  } const cases[] = {
      {"fill starting past the largest coordinate",
       [](HDC dc, HDC) {
         RECT r = {kMax - 5, 0, 10, 10};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
       },
       false},
      {"fill of everything",
       [](HDC dc, HDC) {
         RECT r = {kMin, kMin, kMax, kMax};
         return static_cast<BOOL>(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
       },
       true},
      {"pattern beyond the largest coordinate", [](HDC dc, HDC) { return PatBlt(dc, kMax - 5, 0, 10, 10, WHITENESS); },
       false},
      {"pattern reaching below the smallest", [](HDC dc, HDC) { return PatBlt(dc, kMin, 0, -5, 5, WHITENESS); },
       false},
      {"pattern reaching back over everything",
       [](HDC dc, HDC) { return PatBlt(dc, kMax, kMax, kMin, kMin, WHITENESS); }, true},
      {"copy from far inside the source",
       [](HDC dc, HDC m) { return BitBlt(dc, 0, 0, kMax, kMax, m, kMax, kMax, SRCCOPY); }, false},
      {"copy to far before the target", [](HDC dc, HDC m) { return BitBlt(dc, kMin, kMin, 10, 10, m, kMax, 0, SRCCOPY); },
       false},
      {"copy to just before the largest coordinate",
       [](HDC dc, HDC m) { return BitBlt(dc, kMax - 50, 0, 100, 10, m, 0, 0, SRCCOPY); }, false},
      {"copy into memory far along", [](HDC dc, HDC m) { return BitBlt(m, kMax - 5, 0, 100, 1, dc, 0, 0, SRCCOPY); },
       false},
      {"copy of everything", [](HDC dc, HDC m) { return BitBlt(dc, -100, -100, kMax, kMax, m, 0, 0, SRCCOPY); }, true},
  };
  Memory32 white(200, 200);
  for (const Case &c : cases) {
    HDC dc = GetDC(w);
    ASSERT_TRUE(PatBlt(dc, 0, 0, 20, 10, BLACKNESS));
    white.Fill(0xFFFFFF);
    EXPECT_TRUE(c.paint(dc, white.dc)) << c.name;
    for (unsigned pixel : ReadAll(w)) ASSERT_EQ(pixel, c.whole ? 0xFFFFFFFFu : 0xFF000000u) << c.name;
    // The memory copy holds what it held, or what the window showed.
    for (int i = 0; i < 200 * 200; ++i) ASSERT_EQ(white.pixels[i], 0xFFFFFFu) << c.name << " " << i;
    ReleaseDC(w, dc);
  }
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

TEST_F(Gdi, ObjectsInUseStay) {
  void *bits;
  HBITMAP bitmap = Dib(Header(32, 1, 1), &bits);
  HBRUSH brush = CreateSolidBrush(0);
  LOGPALETTE lp = {0x300, 1, {{0, 0, 0, 0}}};
  HPALETTE palette = CreatePalette(&lp);
  HDC dc = CreateCompatibleDC(nullptr), other = CreateCompatibleDC(nullptr);
  HGDIOBJ stockBitmap = SelectObject(dc, bitmap);
  SelectObject(dc, brush);
  SelectPalette(dc, palette, FALSE);
  // One bitmap, one device context; and none in a window's.
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  HWND w = Window(0, 0, 1, 1);
  HDC windowDC = GetDC(w);
  EXPECT_EQ(SelectObject(windowDC, bitmap), nullptr);
  EXPECT_EQ(SelectObject(dc, palette), nullptr);  // palettes go through SelectPalette
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(bitmap), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(palette)})
    EXPECT_FALSE(DeleteObject(o));
  EXPECT_EQ(SelectObject(dc, stockBitmap), bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(bitmap));
  DeleteDC(dc);  // what it held is free once it goes
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(palette));
  // Stock objects are never deleted, and asking does no harm.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), (DWORD)OBJ_BRUSH);
  EXPECT_EQ(GetStockObject(6), nullptr);
  EXPECT_FALSE(DeleteObject(other));  // device contexts go through DeleteDC
  DeleteDC(other);
  ReleaseDC(w, windowDC);
}

TEST_F(Gdi, CallsFailOnDemand) {
  HWND w = Window(0, 0, 4, 4);
  HDC windowDC = GetDC(w);
  HDC memoryDC = CreateCompatibleDC(nullptr);
  void *bits;
  HBITMAP dib = Dib(Header(8, 4, 4), &bits);
  SelectObject(memoryDC, dib);
  LOGPALETTE lp = {0x300, 1, {{0, 0, 0, 0}}};
  HPALETTE palette = CreatePalette(&lp);
  struct Case {
    const char *call;
    bool (*fails)(HWND w, HDC windowDC, HDC memoryDC, HBITMAP dib, HPALETTE palette);
  } const cases[] = {
      {"GetDC", [](HWND w, HDC, HDC, HBITMAP, HPALETTE) { return GetDC(w) == nullptr; }},
      {"WindowFromDC", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return WindowFromDC(d) == nullptr; }},
      {"GetObjectType", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return GetObjectType(d) == 0; }},
      {"CreateCompatibleDC", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return CreateCompatibleDC(d) == nullptr; }},
      {"DeleteDC", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) { return !DeleteDC(m); }},
      {"CreateCompatibleBitmap",
       [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return CreateCompatibleBitmap(d, 2, 2) == nullptr; }},
      {"CreateDIBSection", [](HWND, HDC, HDC, HBITMAP, HPALETTE) {
         void *b;
         return Dib(Header(32, 2, 2), &b) == nullptr;
       }},
      {"SelectObject", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) {
         return SelectObject(m, GetStockObject(BLACK_BRUSH)) == nullptr;
       }},
      {"GetCurrentObject", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) { return GetCurrentObject(m, OBJ_BITMAP) == nullptr; }},
      {"GetObjectA", [](HWND, HDC, HDC, HBITMAP b, HPALETTE) {
         BITMAP bm;
         return GetObject(b, sizeof bm, &bm) == 0;
       }},
      {"GetDIBits", [](HWND, HDC d, HDC, HBITMAP b, HPALETTE) {
         Info info = Header(0, 0, 0);
         return GetDIBits(d, b, 0, 1, nullptr, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS) == 0;
       }},
      {"SetDIBColorTable", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) {
         RGBQUAD c = {};
         return SetDIBColorTable(m, 0, 1, &c) == 0;
       }},
      {"CreatePalette", [](HWND, HDC, HDC, HBITMAP, HPALETTE) {
         LOGPALETTE l = {0x300, 1, {{0, 0, 0, 0}}};
         return CreatePalette(&l) == nullptr;
       }},
      {"SelectPalette", [](HWND, HDC d, HDC, HBITMAP, HPALETTE p) { return SelectPalette(d, p, FALSE) == nullptr; }},
      {"RealizePalette", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return RealizePalette(d) == GDI_ERROR; }},
      {"GetPaletteEntries", [](HWND, HDC, HDC, HBITMAP, HPALETTE p) {
         PALETTEENTRY e;
         return GetPaletteEntries(p, 0, 1, &e) == 0;
       }},
      {"CreateSolidBrush", [](HWND, HDC, HDC, HBITMAP, HPALETTE) { return CreateSolidBrush(0) == nullptr; }},
      {"FillRect", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) {
         RECT r = {0, 0, 1, 1};
         return FillRect(d, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) == 0;
       }},
      {"PatBlt", [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return !PatBlt(d, 0, 0, 1, 1, BLACKNESS); }},
      {"BitBlt", [](HWND, HDC d, HDC m, HBITMAP, HPALETTE) { return !BitBlt(d, 0, 0, 1, 1, m, 0, 0, SRCCOPY); }},
      {"DeleteObject", [](HWND, HDC, HDC, HBITMAP, HPALETTE p) { return !DeleteObject(p); }},
      {"GetDIBColorTable", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) {
         RGBQUAD c;
         return GetDIBColorTable(m, 0, 1, &c) == 0;
       }},
      {"PlatformSetPixelFormatNumber",
       [](HWND, HDC d, HDC, HBITMAP, HPALETTE) { return !PlatformSetPixelFormatNumber(d, 1); }},
      {"PlatformGetPixelFormatNumber", [](HWND, HDC, HDC m, HBITMAP, HPALETTE) {
         return PlatformSetPixelFormatNumber(m, 5) && PlatformGetPixelFormatNumber(m) == 0;
       }},
  };
  for (const Case &c : cases) {
    PlatformArmFault({c.call, nullptr, 0, 1, 0});
    SetLastError(0);
    EXPECT_TRUE(c.fails(w, windowDC, memoryDC, dib, palette)) << c.call;
    EXPECT_NE(GetLastError(), 0u) << c.call;
    EXPECT_EQ(PlatformFaultsFired(c.call), 1u) << c.call;
    PlatformClearFaults();
  }
  // Release fails without an error code, as on the platform.
  PlatformArmFault({"ReleaseDC", nullptr, 0, 1, 0});
  EXPECT_EQ(ReleaseDC(w, windowDC), 0);
  // Each failure left things as they were.
  EXPECT_EQ(PlatformGetPixelFormatNumber(windowDC), 0);
  EXPECT_EQ(WindowFromDC(windowDC), w);
  EXPECT_EQ(GetObjectType(memoryDC), (DWORD)OBJ_MEMDC);
  EXPECT_TRUE(DeleteObject(palette));
  EXPECT_TRUE(DeleteDC(memoryDC));
  EXPECT_TRUE(DeleteObject(dib));
  ReleaseDC(w, windowDC);
}

}  // namespace

// GDI device contexts (platform/device_context.cpp): their kinds and windows,
// how they are given back, pixel-format numbers, selected objects, and every
// GDI call failing on demand.
#include "tests/platform/gdi/gdi_support.h"

namespace gdi_test {
namespace {

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
}  // namespace gdi_test

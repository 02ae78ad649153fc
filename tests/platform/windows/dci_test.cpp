// DCI: the library and its functions, the primary surface as a view of the
// screen (with a linear address or a selector), access, WinWatch clip lists
// against DirectDraw's clipper, and failure on demand.
#include <string.h>

#include "platform/selector.h"
#include "tests/platform/windows/desktop_fixture.h"

namespace {

class Dci : public DesktopTest {
 protected:
  void SetUp() override {
    provider_ = DCIOpenProvider();
    ASSERT_NE(provider_, nullptr);
  }
  void TearDown() override {
    PlatformSetPlatformId(VER_PLATFORM_WIN32_NT);
    DCICloseProvider(provider_);
    DesktopTest::TearDown();
  }
  LPDCISURFACEINFO Primary() {
    LPDCISURFACEINFO surface = nullptr;
    EXPECT_EQ(DCICreatePrimary(provider_, &surface), DCI_OK);
    return surface;
  }
  HDC provider_ = nullptr;
};

// A window's visible rectangles as a DirectDraw clipper hands them out.
std::vector<RECT> ClipperRects(HWND hwnd, RECT *clip) {
  LPDIRECTDRAW dd = nullptr;
  if (DirectDrawCreate(nullptr, &dd, nullptr) != DD_OK) return {{-1, -1, -1, -1}};
  LPDIRECTDRAWCLIPPER clipper = nullptr;
  std::vector<RECT> rects = {{-1, -1, -1, -1}};
  if (dd->lpVtbl->CreateClipper(dd, 0, &clipper, nullptr) == DD_OK &&
      clipper->lpVtbl->SetHWnd(clipper, 0, hwnd) == DD_OK) {
    DWORD size = 0;
    clipper->lpVtbl->GetClipList(clipper, clip, nullptr, &size);
    std::vector<char> block(size);
    RGNDATA *data = reinterpret_cast<RGNDATA *>(block.data());
    if (size >= sizeof(RGNDATAHEADER) && clipper->lpVtbl->GetClipList(clipper, clip, data, &size) == DD_OK) {
      const RECT *r = reinterpret_cast<const RECT *>(data->Buffer);
      rects.assign(r, r + data->rdh.nCount);
    }
  }
  if (clipper) clipper->lpVtbl->Release(clipper);
  dd->lpVtbl->Release(dd);
  return rects;
}

const char *const kNames[] = {"DCIOpenProvider",     "DCICloseProvider", "DCICreatePrimary",
                              "DCIDestroy",          "WinWatchOpen",     "WinWatchClose",
                              "WinWatchGetClipList", "WinWatchDidStatusChange",
                              "DCIBeginAccess",      "DCIEndAccess"};

TEST_F(Dci, TheLibraryOffersItsTenFunctions) {
  const void *procs[] = {reinterpret_cast<void *>(&DCIOpenProvider), reinterpret_cast<void *>(&DCICloseProvider),
                         reinterpret_cast<void *>(&DCICreatePrimary), reinterpret_cast<void *>(&DCIDestroy),
                         reinterpret_cast<void *>(&WinWatchOpen), reinterpret_cast<void *>(&WinWatchClose),
                         reinterpret_cast<void *>(&WinWatchGetClipList),
                         reinterpret_cast<void *>(&WinWatchDidStatusChange),
                         reinterpret_cast<void *>(&DCIBeginAccess), reinterpret_cast<void *>(&DCIEndAccess)};
  for (const char *library : {"DCIMAN32.DLL", "dciman32"}) {
    HMODULE module = LoadLibraryA(library);
    ASSERT_NE(module, nullptr) << library;
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(module, kNames[i])), procs[i]) << kNames[i];
    EXPECT_EQ(GetProcAddress(module, "DCIEnum"), nullptr);
    FreeLibrary(module);
  }
  // GDI's library hands SwapBuffers to the OpenGL library, which is not here.
  HMODULE gdi = LoadLibraryA("gdi32");
  ASSERT_NE(gdi, nullptr);
  EXPECT_NE(GetProcAddress(gdi, "GdiSwapBuffers"), nullptr);
  FreeLibrary(gdi);
}

TEST_F(Dci, TheLibraryOrAFunctionGoesMissingOnDemand) {
  PlatformArmFault({"LoadLibraryA", "DCIMAN32.DLL", 0, 0, 0});
  EXPECT_EQ(LoadLibraryA("DCIMAN32.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
  EXPECT_NE(LoadLibraryA("DDRAW.DLL"), nullptr);  // only that library
  PlatformClearFaults();
  HMODULE module = LoadLibraryA("DCIMAN32.DLL");
  ASSERT_NE(module, nullptr);
  for (const char *missing : kNames) {
    PlatformArmFault({"GetProcAddress", missing, 0, 0, 0});
    for (const char *name : kNames)
      EXPECT_EQ(GetProcAddress(module, name) == nullptr, strcmp(name, missing) == 0) << missing << " " << name;
    PlatformClearFaults();
  }
  FreeLibrary(module);
}

TEST_F(Dci, ThePrimaryIsTheScreenInEveryMode) {
  struct Case {
    int mode;
    DWORD bitCount, compression;
    DWORD masks[3];
    int bytes;
  } const cases[] = {
      {8, 8, BI_RGB, {0, 0, 0}, 1},
      {15, 16, BI_RGB, {0x7C00, 0x3E0, 0x1F}, 2},
      {16, 16, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}, 2},
      {24, 24, BI_RGB, {0xFF0000, 0xFF00, 0xFF}, 3},
      {32, 32, BI_RGB, {0xFF0000, 0xFF00, 0xFF}, 4},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.mode, 640, 480));
    LPDCISURFACEINFO s = Primary();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->dwSize, sizeof(DCISURFACEINFO));
    EXPECT_EQ(s->dwDCICaps & DCI_PRIMARY, DCI_PRIMARY);
    EXPECT_EQ(s->dwBitCount, c.bitCount) << c.mode;
    EXPECT_EQ(s->dwCompression, c.compression) << c.mode;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s->dwMask[i], c.masks[i]) << c.mode;
    EXPECT_EQ(s->dwWidth, 640u);
    EXPECT_EQ(s->dwHeight, 480u);
    EXPECT_GE(s->lStride, 640 * c.bytes);
    EXPECT_EQ(s->wSelSurface, 0);  // Windows NT: a linear address
    uint8_t *screen = reinterpret_cast<uint8_t *>(s->dwOffSurface);
    EXPECT_EQ(screen, PrimaryAddress()) << c.mode;  // the same memory as DirectDraw's primary
    DDPIXELFORMAT format = DisplayMode().ddpfPixelFormat;  // and the same format
    EXPECT_EQ(format.dwRGBBitCount, c.bitCount) << c.mode;
    if (c.mode != 8) {
      EXPECT_EQ(format.dwRBitMask, c.masks[0]) << c.mode;
      EXPECT_EQ(format.dwGBitMask, c.masks[1]) << c.mode;
      EXPECT_EQ(format.dwBBitMask, c.masks[2]) << c.mode;
    }

    // A pixel written through the view shows in the window there (all ones: white).
    HWND w = Window(30, 20, 4, 4);
    ASSERT_GE(DCIBeginAccess(s, 30, 20, 4, 4), 0);
    memset(screen + 21 * s->lStride + 32 * c.bytes, 0xFF, c.bytes);
    DCIEndAccess(s);
    std::vector<unsigned> shown = ReadAll(w);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(shown[i], i == 6 ? 0xFFFFFFFFu : 0xFF000000u) << c.mode << " " << i;
    DCIDestroy(s);
    DestroyWindow(w);
  }
}

// The Windows 95 provider hands out a selector whose base is the screen.
TEST_F(Dci, TheWindows95PrimaryUsesASelector) {
  LPDCISURFACEINFO linear = Primary();
  PlatformSetPlatformId(VER_PLATFORM_WIN32_WINDOWS);
  LPDCISURFACEINFO selected = Primary();
  ASSERT_NE(linear, nullptr);
  ASSERT_NE(selected, nullptr);
  ASSERT_NE(selected->wSelSurface, 0);
  LDT_ENTRY entry;
  ASSERT_TRUE(GetThreadSelectorEntry(GetCurrentThread(), selected->wSelSurface, &entry));
  ULONG_PTR base = entry.BaseLow | (entry.HighWord.BaseMid << 16) | (static_cast<ULONG_PTR>(entry.HighWord.BaseHi) << 24);
  EXPECT_EQ(base + selected->dwOffSurface, linear->dwOffSurface);
  DCIDestroy(selected);
  DCIDestroy(linear);
}

TEST_F(Dci, AccessAfterADisplayChangeReportsTheNewScreen) {
  LPDCISURFACEINFO s = Primary();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 10, 10), DCI_OK);
  DCIEndAccess(s);
  ASSERT_TRUE(DesktopSetDisplayMode(32, 800, 600));
  DCIRVAL changed = DCIBeginAccess(s, 0, 0, 10, 10);
  EXPECT_GT(changed, 0);  // success, with what changed
  EXPECT_TRUE(changed & DCI_STATUS_STRIDECHANGED);
  EXPECT_TRUE(changed & DCI_STATUS_FORMATCHANGED);
  DCIEndAccess(s);
  EXPECT_EQ(s->dwBitCount, 32u);
  EXPECT_EQ(s->dwWidth, 800u);
  EXPECT_GE(s->lStride, 3200);
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 10, 10), DCI_OK);
  DCIEndAccess(s);
  // The surface's own entry points do the same.
  RECT r = {0, 0, 5, 5};
  EXPECT_EQ(s->BeginAccess(s, &r), DCI_OK);
  s->EndAccess(s);
  s->DestroySurface(s);
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 1, 1), DCI_FAIL_INVALIDSURFACE);
}

TEST_F(Dci, AccessChecksItsArguments) {
  LPDCISURFACEINFO s = Primary();
  struct Case {
    int x, y, width, height;
    DCIRVAL result;
  } const cases[] = {
      {0, 0, 1, 1, DCI_OK},
      {-20, -20, 50, 50, DCI_OK},  // a window partly off the screen
      {2000, 0, 10, 10, DCI_OK},
      {0, 0, -1, 1, DCI_ERR_INVALIDRECT},
      {0, 0, 1, -1, DCI_ERR_INVALIDRECT},
      {0x7FFFFFF0, 0, 0x100, 1, DCI_ERR_INVALIDRECT},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(DCIBeginAccess(s, c.x, c.y, c.width, c.height), c.result) << c.x << " " << c.width;
    if (c.result >= 0) DCIEndAccess(s);
  }
  DCISURFACEINFO fake = *s;
  EXPECT_EQ(DCIBeginAccess(&fake, 0, 0, 1, 1), DCI_FAIL_INVALIDSURFACE);
  DCIEndAccess(&fake);  // ignored
  DCIDestroy(&fake);    // ignored
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 1, 1), DCI_OK);
  DCIEndAccess(s);
  DCIDestroy(s);
  // A primary comes only from a provider.
  LPDCISURFACEINFO other = reinterpret_cast<LPDCISURFACEINFO>(1);
  HDC plain = GetDC(nullptr);
  EXPECT_EQ(DCICreatePrimary(plain, &other), DCI_FAIL_GENERIC);
  EXPECT_EQ(other, nullptr);
  ReleaseDC(nullptr, plain);
  EXPECT_EQ(DCICreatePrimary(provider_, nullptr), DCI_FAIL_GENERIC);
}

// The same windows seen through WinWatch and through a DirectDraw clipper.
TEST_F(Dci, WinWatchAndTheClipperAgree) {
  struct Case {
    const char *name;
    std::vector<RECT> windows;  // the first is watched; later ones lie above it
    RECT clip;                  // client coordinates; empty: no clip rectangle
  } const cases[] = {
      {"alone", {{10, 10, 60, 40}}, {}},
      {"overlapped twice", {{10, 10, 60, 40}, {0, 0, 30, 20}, {40, 30, 100, 100}}, {}},
      {"off the screen", {{-30, 740, 70, 800}}, {}},
      {"wholly off the screen", {{-300, 10, -100, 40}}, {}},
      {"wholly covered", {{10, 10, 60, 40}, {0, 0, 100, 100}}, {}},
      {"clipped to part of the client area", {{10, 10, 60, 40}, {0, 0, 30, 20}}, {5, 5, 25, 15}},
      {"clip reaching outside", {{10, 10, 60, 40}}, {-10, -10, 10, 100}},
  };
  for (const Case &c : cases) {
    std::vector<HWND> made;
    for (const RECT &r : c.windows) made.push_back(Window(r.left, r.top, r.right - r.left, r.bottom - r.top));
    bool clipped = c.clip.right > c.clip.left;
    RECT clientClip = c.clip;
    RECT screenClip = {c.clip.left + c.windows[0].left, c.clip.top + c.windows[0].top,
                       c.clip.right + c.windows[0].left, c.clip.bottom + c.windows[0].top};
    std::vector<RECT> watched = VisibleRects(made[0], clipped ? &clientClip : nullptr);
    EXPECT_EQ(watched, ClipperRects(made[0], clipped ? &screenClip : nullptr)) << c.name;
    // Every rectangle lies on the screen, inside the window and its clip.
    for (const RECT &r : watched) {
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1024 && r.bottom <= 768) << c.name;
      EXPECT_TRUE(r.left >= c.windows[0].left && r.top >= c.windows[0].top && r.right <= c.windows[0].right &&
                  r.bottom <= c.windows[0].bottom)
          << c.name;
      EXPECT_TRUE(!clipped || (r.left >= screenClip.left && r.top >= screenClip.top && r.right <= screenClip.right &&
                               r.bottom <= screenClip.bottom))
          << c.name;
    }
    for (HWND w : made) DestroyWindow(w);
  }
}

TEST_F(Dci, WinWatchTellsTheSizeItNeeds) {
  HWND w = Window(0, 0, 100, 100);
  Window(25, 25, 50, 50);  // cuts the first into four rectangles
  HWINWATCH watch = WinWatchOpen(w);
  ASSERT_NE(watch, nullptr);
  const UINT need = sizeof(RGNDATAHEADER) + 4 * sizeof(RECT);
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, 0, nullptr), need);
  std::vector<unsigned char> block(need, 0xAB);
  RGNDATA *data = reinterpret_cast<RGNDATA *>(block.data());
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, need - 1, data), need);
  EXPECT_EQ(block[0], 0xAB);  // too small: nothing written
  EXPECT_TRUE(WinWatchDidStatusChange(watch));
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, need, data), need);
  EXPECT_EQ(data->rdh.dwSize, sizeof(RGNDATAHEADER));
  EXPECT_EQ(data->rdh.iType, RDH_RECTANGLES);
  EXPECT_EQ(data->rdh.nCount, 4u);
  EXPECT_EQ(data->rdh.nRgnSize, 4 * sizeof(RECT));
  EXPECT_EQ(data->rdh.rcBound, (RECT{0, 0, 100, 100}));
  EXPECT_FALSE(WinWatchDidStatusChange(watch));
  // A window that went has an empty region, not an error.
  DestroyWindow(w);
  EXPECT_TRUE(WinWatchDidStatusChange(watch));
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, need, data), sizeof(RGNDATAHEADER));
  EXPECT_EQ(data->rdh.nCount, 0u);
  WinWatchClose(watch);
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, need, data), 0u);
  EXPECT_FALSE(WinWatchDidStatusChange(watch));
  EXPECT_EQ(WinWatchOpen(w), nullptr);
  WinWatchClose(reinterpret_cast<HWINWATCH>(0x55));  // ignored
}

// Clip rectangles with any numbers cut the region as the numbers say,
// without a sum wrapping around.
TEST_F(Dci, WinWatchTakesClipRectanglesOfAnySize) {
  constexpr LONG kMax = 0x7FFFFFFF, kMin = -kMax - 1;
  HWND w = Window(100, 50, 40, 30);
  const std::vector<RECT> whole = {{100, 50, 140, 80}};
  struct Case {
    const char *name;
    RECT clip;
    std::vector<RECT> expected;
  } const cases[] = {
      {"everything", {kMin, kMin, kMax, kMax}, whole},
      {"from far before to the middle", {kMin, kMin, 20, 10}, {{100, 50, 120, 60}}},
      {"starting past the largest coordinate", {kMax - 5, 0, kMax, 10}, {}},
      {"ending before the smallest", {kMin, 0, kMin + 5, 10}, {}},
      {"turned inside out", {kMax, kMax, kMin, kMin}, {}},
  };
  for (const Case &c : cases) {
    RECT clip = c.clip;
    EXPECT_EQ(VisibleRects(w, &clip), c.expected) << c.name;
  }
}

// Drawing through each path lands only where the window shows.
TEST_F(Dci, AColourFillThroughAClipperStaysInsideTheWindow) {
  HWND w = Window(10, 10, 40, 30), cover = Window(30, 20, 40, 30);
  LPDIRECTDRAW dd;
  LPDIRECTDRAWSURFACE primary;
  ASSERT_TRUE(OpenPrimary(&dd, &primary));
  LPDIRECTDRAWCLIPPER clipper = nullptr;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd, 0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(clipper->lpVtbl->SetHWnd(clipper, 0, w), DD_OK);
  ASSERT_EQ(primary->lpVtbl->SetClipper(primary, clipper), DD_OK);
  DDBLTFX fx;
  memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 0xFFFF;  // white in 5-6-5
  RECT everywhere = {0, 0, 200, 200};
  ASSERT_EQ(primary->lpVtbl->Blt(primary, &everywhere, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  std::vector<RECT> visible = VisibleRects(w);
  std::vector<unsigned> shown = ReadAll(w);
  for (LONG y = 0; y < 30; ++y)
    for (LONG x = 0; x < 40; ++x) {
      bool inside = false;
      for (const RECT &r : visible) inside |= x + 10 >= r.left && x + 10 < r.right && y + 10 >= r.top && y + 10 < r.bottom;
      ASSERT_EQ(shown[y * 40 + x], inside ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    }
  for (unsigned pixel : ReadAll(cover)) ASSERT_EQ(pixel, 0xFF000000u);
  clipper->lpVtbl->Release(clipper);
  primary->lpVtbl->Release(primary);
  dd->lpVtbl->Release(dd);
}

TEST_F(Dci, CallsFailOnDemand) {
  HWND w = Window(0, 0, 10, 10);
  PlatformArmFault({"DCIOpenProvider", nullptr, 0, 1, 0});
  EXPECT_EQ(DCIOpenProvider(), nullptr);
  struct Case {
    const char *call;
    DWORD armed;
    int expected;
  } const cases[] = {
      {"DCICreatePrimary", 0, DCI_FAIL_UNSUPPORTED},
      {"DCICreatePrimary", static_cast<DWORD>(DCI_ERR_OUTOFMEMORY), DCI_ERR_OUTOFMEMORY},
  };
  for (const Case &c : cases) {
    PlatformArmFault({c.call, nullptr, 0, 1, c.armed});
    LPDCISURFACEINFO s = reinterpret_cast<LPDCISURFACEINFO>(1);
    EXPECT_EQ(DCICreatePrimary(provider_, &s), c.expected);
    EXPECT_EQ(s, nullptr);
    PlatformClearFaults();
  }
  LPDCISURFACEINFO s = Primary();
  PlatformArmFault({"DCIBeginAccess", nullptr, 0, 1, 0});
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 1, 1), DCI_ERR_CURRENTLYNOTAVAIL);
  EXPECT_EQ(DCIBeginAccess(s, 0, 0, 1, 1), DCI_OK);  // busy once only
  DCIEndAccess(s);
  PlatformArmFault({"WinWatchOpen", nullptr, 0, 1, 0});
  EXPECT_EQ(WinWatchOpen(w), nullptr);
  HWINWATCH watch = WinWatchOpen(w);
  PlatformArmFault({"WinWatchGetClipList", nullptr, 0, 1, 0});
  EXPECT_EQ(WinWatchGetClipList(watch, nullptr, 0, nullptr), 0u);
  EXPECT_NE(WinWatchGetClipList(watch, nullptr, 0, nullptr), 0u);
  WinWatchClose(watch);
  DCIDestroy(s);
}

}  // namespace

// DirectDraw objects and surfaces: creation, descriptions, where surfaces lie,
// locks, mipmap chains, reference counts and failure on demand.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "tests/platform/display/ddraw_support.h"

namespace {

using namespace ddtest;

using DirectDrawTest = DisplayTest;

// ---- The object ---------------------------------------------------------------------------
using Objects = DirectDrawTest;

TEST_F(Objects, CreateKnowsOnlyThePrimaryDisplayDriver) {
  GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  IUnknown *outer = reinterpret_cast<IUnknown *>(&other);
  struct Case {
    GUID *driver;
    bool out;
    IUnknown *outer;
    HRESULT result;
  } const cases[] = {
      {nullptr, true, nullptr, DD_OK},
      {DDCREATE_HARDWAREONLY, true, nullptr, DD_OK},
      {DDCREATE_EMULATIONONLY, true, nullptr, DD_OK},
      {&other, true, nullptr, DDERR_INVALIDDIRECTDRAWGUID},
      {nullptr, false, nullptr, DDERR_INVALIDPARAMS},
      {nullptr, true, outer, CLASS_E_NOAGGREGATION},
  };
  for (const Case &c : cases) {
    LPDIRECTDRAW dd = reinterpret_cast<LPDIRECTDRAW>(&other);
    EXPECT_EQ(DirectDrawCreate(c.driver, c.out ? &dd : nullptr, c.outer), c.result);
    if (!c.out) continue;
    EXPECT_EQ(dd != nullptr, c.result == DD_OK);
    if (dd) {
      EXPECT_EQ(dd->lpVtbl->Release(dd), 0u);
    }
  }
}

TEST_F(Objects, OnlyTheNormalCooperativeLevelIsOffered) {
  HWND window = DesktopCreateWindow(0, 0, 16, 16);
  struct Case {
    HWND window;
    DWORD flags;
    HRESULT result;
  } const cases[] = {
      {nullptr, DDSCL_NORMAL, DD_OK},
      {window, DDSCL_NORMAL, DD_OK},
      {nullptr, DDSCL_NORMAL | DDSCL_NOWINDOWCHANGES, DD_OK},
      {window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDERR_UNSUPPORTED},
      {nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {nullptr, DDSCL_NORMAL | DDSCL_EXCLUSIVE, DDERR_INVALIDPARAMS},
      {nullptr, DDSCL_NORMAL | DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {nullptr, 0, DDERR_INVALIDPARAMS},
      {nullptr, 0x80000000u, DDERR_INVALIDPARAMS},
  };
  for (const Case &c : cases) {
    LPDIRECTDRAW dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    EXPECT_EQ(dd->lpVtbl->SetCooperativeLevel(dd, c.window, c.flags), c.result) << c.flags;
    // Surfaces need a level set first.
    LPDIRECTDRAWSURFACE s = nullptr;
    DDSURFACEDESC desc = Desc(DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(dd->lpVtbl->CreateSurface(dd, &desc, &s, nullptr),
              c.result == DD_OK ? DD_OK : DDERR_NOCOOPERATIVELEVELSET);
    dd->lpVtbl->Release(dd);
  }
  DestroyWindow(window);
}

TEST_F(Objects, QueryInterfaceAnswersForItsOwnInterfacesOnly) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s = Primary(dd);
  struct Case {
    const IID *iid;
    HRESULT object, surface;
  } const cases[] = {
      {&IID_IUnknown, S_OK, S_OK},
      {&IID_IDirectDraw, S_OK, E_NOINTERFACE},
      {&IID_IDirectDrawSurface, E_NOINTERFACE, S_OK},
      {&IID_IDirectDrawClipper, E_NOINTERFACE, E_NOINTERFACE},
  };
  for (const Case &c : cases) {
    void *out = &out;
    EXPECT_EQ(dd->lpVtbl->QueryInterface(dd.dd, c.iid, &out), c.object);
    EXPECT_EQ(out, c.object == S_OK ? static_cast<void *>(dd.dd) : nullptr);
    if (out) dd->lpVtbl->Release(dd.dd);
    out = &out;
    EXPECT_EQ(s->lpVtbl->QueryInterface(s, c.iid, &out), c.surface);
    EXPECT_EQ(out, c.surface == S_OK ? static_cast<void *>(s) : nullptr);
    if (out) Release(s);
  }
  EXPECT_EQ(Release(s), 0u);
}

// The same mode through GetDisplayMode, the primary's pixel format and its lock.
TEST_F(Objects, TheDisplayModeIsReportedAsRealDisplaysReportIt) {
  struct Case {
    int bits, width, height;
    DWORD reportedBits, flags, red, green, blue;
    int bytes;
  } const cases[] = {
      {8, 640, 480, 8, DDPF_RGB | DDPF_PALETTEINDEXED8, 0, 0, 0, 1},
      {15, 800, 600, 16, DDPF_RGB, 0x7C00, 0x03E0, 0x001F, 2},
      {16, 1024, 768, 16, DDPF_RGB, 0xF800, 0x07E0, 0x001F, 2},
      {24, 101, 37, 24, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF, 3},
      {32, 1024, 768, 32, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF, 4},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.bits, c.width, c.height)) << c.bits;
    DirectDraw dd;
    DDSURFACEDESC mode = {};
    mode.dwSize = sizeof mode;
    ASSERT_EQ(dd->lpVtbl->GetDisplayMode(dd.dd, &mode), DD_OK);
    EXPECT_EQ(mode.dwWidth, DWORD(c.width));
    EXPECT_EQ(mode.dwHeight, DWORD(c.height));
    EXPECT_GE(mode.lPitch, c.width * c.bytes);
    EXPECT_EQ(mode.lPitch % 4, 0);
    const DDPIXELFORMAT &f = mode.ddpfPixelFormat;
    EXPECT_EQ(f.dwSize, 32u);
    EXPECT_EQ(f.dwFlags, c.flags) << c.bits;
    EXPECT_EQ(f.dwRGBBitCount, c.reportedBits) << c.bits;
    EXPECT_EQ(f.dwRBitMask, c.red);
    EXPECT_EQ(f.dwGBitMask, c.green);
    EXPECT_EQ(f.dwBBitMask, c.blue);

    LPDIRECTDRAWSURFACE primary = Primary(dd);
    DDPIXELFORMAT pf = {};
    pf.dwSize = sizeof pf;
    ASSERT_EQ(primary->lpVtbl->GetPixelFormat(primary, &pf), DD_OK);
    EXPECT_EQ(std::memcmp(&pf, &f, sizeof pf), 0) << c.bits;
    DDSURFACEDESC locked;
    ASSERT_EQ(Lock(primary, nullptr, &locked), DD_OK);
    EXPECT_EQ(locked.dwWidth, DWORD(c.width));
    EXPECT_EQ(locked.dwHeight, DWORD(c.height));
    EXPECT_EQ(locked.lPitch, mode.lPitch);
    EXPECT_EQ(Unlock(primary, locked.lpSurface), DD_OK);
    Release(primary);
  }
}

// ---- Creating surfaces --------------------------------------------------------------------
using Surfaces = DirectDrawTest;

TEST_F(Surfaces, DescriptionsAreAcceptedOrRefusedAsThePlatformDoes) {
  DirectDraw dd;
  DDSURFACEDESC badFormat = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  badFormat.dwFlags |= DDSD_PIXELFORMAT;
  badFormat.ddpfPixelFormat = Rgb(12, 0xF00, 0xF0, 0xF);
  DDSURFACEDESC badFormatSize = badFormat;
  badFormatSize.ddpfPixelFormat = Rgb(16, 0xF800, 0x7E0, 0x1F);
  badFormatSize.ddpfPixelFormat.dwSize = 24;
  DDSURFACEDESC wrongSize = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  wrongSize.dwSize = 100;
  DDSURFACEDESC zeroWidth = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  zeroWidth.dwWidth = 0;
  DDSURFACEDESC tooManyLevels = TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 8, 5);
  DDSURFACEDESC levelsWithoutComplex = TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP, 8, 2);
  struct Case {
    const char *what;
    DDSURFACEDESC desc;
    HRESULT result;
  } const cases[] = {
      {"primary", Desc(DDSCAPS_PRIMARYSURFACE), DD_OK},
      {"primary with a size", Desc(DDSCAPS_PRIMARYSURFACE, 8, 8), DDERR_INVALIDPARAMS},
      {"primary in system memory", Desc(DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY),
       DDERR_INVALIDCAPS},
      {"plain", Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), DD_OK},
      {"no caps: plain", Desc(0, 8, 8), DD_OK},
      {"plain without a height", Desc(DDSCAPS_OFFSCREENPLAIN, 8), DDERR_INVALIDPARAMS},
      {"plain of width 0", zeroWidth, DDERR_INVALIDPARAMS},
      {"too wide", Desc(DDSCAPS_OFFSCREENPLAIN, 4097, 8), DDERR_TOOBIGWIDTH},
      {"too high", Desc(DDSCAPS_OFFSCREENPLAIN, 8, 4097), DDERR_TOOBIGHEIGHT},
      {"wrong record size", wrongSize, DDERR_INVALIDPARAMS},
      {"both memories", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY, 8, 8),
       DDERR_INVALIDCAPS},
      {"local without video", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_LOCALVIDMEM, 8, 8), DDERR_INVALIDCAPS},
      {"non-local plain",
       Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM, 8, 8),
       DDERR_INVALIDCAPS},
      {"two kinds", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_ZBUFFER, 8, 8), DDERR_INVALIDCAPS},
      {"flipping", Desc(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX), DDERR_NOEXCLUSIVEMODE},
      {"overlay", Desc(DDSCAPS_OVERLAY, 8, 8), DDERR_NOOVERLAYHW},
      {"unknown caps", Desc(DDSCAPS_OFFSCREENPLAIN | 0x1, 8, 8), DDERR_INVALIDCAPS},
      {"bad pixel format", badFormat, DDERR_INVALIDPIXELFORMAT},
      {"pixel format of the wrong size", badFormatSize, DDERR_INVALIDPIXELFORMAT},
      {"z 16", ZDesc(0, 8, 8, 16), DD_OK},
      {"z 24", ZDesc(0, 8, 8, 24), DD_OK},
      {"z 32", ZDesc(0, 8, 8, 32), DD_OK},
      {"z 8", ZDesc(0, 8, 8, 8), DDERR_INVALIDPIXELFORMAT},
      {"z without a depth", Desc(DDSCAPS_ZBUFFER, 8, 8), DDERR_INVALIDPARAMS},
      {"texture", TextureDesc(DDSCAPS_TEXTURE, 8), DD_OK},
      {"mipmap chain", TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 8), DD_OK},
      {"mipmap without texture", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_MIPMAP, 8, 8), DDERR_INVALIDCAPS},
      {"complex without mipmap", TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_COMPLEX, 8), DDERR_INVALIDCAPS},
      {"more levels than the size has", tooManyLevels, DDERR_INVALIDPARAMS},
      {"levels without complex", levelsWithoutComplex, DDERR_INVALIDPARAMS},
  };
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE s = reinterpret_cast<LPDIRECTDRAWSURFACE>(&dd);
    DDSURFACEDESC desc = c.desc;
    EXPECT_EQ(dd->lpVtbl->CreateSurface(dd.dd, &desc, &s, nullptr), c.result) << c.what;
    EXPECT_EQ(s != nullptr, c.result == DD_OK) << c.what;
    if (s) {
      EXPECT_EQ(Release(s), 0u) << c.what;
    }
  }
  LPDIRECTDRAWSURFACE s;
  DDSURFACEDESC desc = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  EXPECT_EQ(dd->lpVtbl->CreateSurface(dd.dd, &desc, &s, reinterpret_cast<IUnknown *>(&desc)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(dd->lpVtbl->CreateSurface(dd.dd, nullptr, &s, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->lpVtbl->CreateSurface(dd.dd, &desc, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Surfaces, EachSurfaceLiesWhereItsCapsSayWithItsFormat) {
  ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(1u << 20));
  DirectDraw dd;
  const DWORD local = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
  const DWORD nonLocal = DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM;
  struct Case {
    const char *what;
    DDSURFACEDESC desc;
    DWORD placement;  // the memory caps reported
    DWORD pitch;      // 0: the width's bytes rounded up to 8
    DWORD bits;
  } const cases[] = {
      {"plain", Desc(DDSCAPS_OFFSCREENPLAIN, 13, 5), local, 0, 16},
      {"plain in video memory", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 13, 5), local, 0, 16},
      {"plain in system memory", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 13, 5),
       DDSCAPS_SYSTEMMEMORY, 0, 16},
      {"z 16", ZDesc(DDSCAPS_VIDEOMEMORY, 13, 5, 16), local, 0, 16},
      {"z 24 in 32-bit words", ZDesc(DDSCAPS_SYSTEMMEMORY, 13, 5, 24), DDSCAPS_SYSTEMMEMORY, 0, 24},
      {"texture", TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY, 16), local, 64, 32},
      {"texture asked non-local",
       TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM, 16), nonLocal, 64, 32},
      {"texture in system memory", TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 4),
       DDSCAPS_SYSTEMMEMORY, 16, 32},
  };
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, c.desc, &s), DD_OK) << c.what;
    DDSURFACEDESC d = Describe(s);
    EXPECT_EQ(d.ddsCaps.dwCaps & (local | nonLocal | DDSCAPS_SYSTEMMEMORY), c.placement) << c.what;
    EXPECT_EQ(d.ddsCaps.dwCaps & c.desc.ddsCaps.dwCaps & ~(local | nonLocal | DDSCAPS_SYSTEMMEMORY),
              c.desc.ddsCaps.dwCaps & ~(local | nonLocal | DDSCAPS_SYSTEMMEMORY))
        << c.what;
    EXPECT_EQ(d.dwWidth, c.desc.dwWidth);
    EXPECT_EQ(d.dwHeight, c.desc.dwHeight);
    DWORD bytes = d.ddpfPixelFormat.dwRGBBitCount == 16 ? 2 : 4;
    EXPECT_EQ(DWORD(d.lPitch), c.pitch ? c.pitch : (d.dwWidth * bytes + 7) & ~7u) << c.what;
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, c.bits) << c.what;
    EXPECT_TRUE(d.dwFlags & DDSD_LPSURFACE);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(d.lpSurface) % 16, 0u) << c.what;
    if (c.placement == nonLocal) {
      // The chip's address: the offset in the aperture, past its spare bytes.
      EXPECT_GE(d.dwReserved, 16u) << c.what;
    } else {
      EXPECT_EQ(d.dwReserved, 0u) << c.what;
    }
    Release(s);
  }
}

// Video memory is one block: the screen at offset 0, surfaces above its
// footprint, each with 16 spare bytes before and after its pixels that
// belong to it alone.
TEST_F(Surfaces, VideoSurfacesShareOneBlockAndKeepSpareBytes) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE primary = Primary(dd);
  DDSURFACEDESC screen = Describe(primary);
  const uint8_t *base = static_cast<uint8_t *>(screen.lpSurface);
  uint32_t footprint = screen.lPitch * screen.dwHeight;
  struct Range {
    const uint8_t *first, *end;
  };
  std::vector<Range> ranges = {{base - 16, base + footprint + 16}};
  std::vector<LPDIRECTDRAWSURFACE> made;
  const DDSURFACEDESC descs[] = {
      Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 1, 1),
      Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 7, 3),
      ZDesc(DDSCAPS_VIDEOMEMORY, 100, 2, 16),
      TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY, 1),
      Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 640, 480),
  };
  DWORD used = PlatformVideoMemoryUsed(FALSE);
  for (const DDSURFACEDESC &desc : descs) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, desc, &s), DD_OK);
    made.push_back(s);
    DDSURFACEDESC d = Describe(s);
    const uint8_t *first = static_cast<uint8_t *>(d.lpSurface);
    uint32_t bytes = d.lPitch * d.dwHeight;
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), used + bytes + 32);
    used = PlatformVideoMemoryUsed(FALSE);
    EXPECT_GE(first - 16, base + footprint + 16);
    EXPECT_LE(first + bytes + 16, base + (8u << 20));
    ranges.push_back({first - 16, first + bytes + 16});
  }
  std::sort(ranges.begin(), ranges.end(), [](const Range &a, const Range &b) { return a.first < b.first; });
  for (size_t i = 1; i < ranges.size(); ++i) EXPECT_LE(ranges[i - 1].end, ranges[i].first);
  for (LPDIRECTDRAWSURFACE s : made) Release(s);
  Release(primary);
}

TEST_F(Surfaces, ASurfaceKeepsItsAddress) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 32, 32), &s), DD_OK);
  void *address = Describe(s).lpSurface;
  DDSURFACEDESC locked;
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(Lock(s, nullptr, &locked), DD_OK);
    EXPECT_EQ(locked.lpSurface, address);
    EXPECT_EQ(Unlock(s, locked.lpSurface), DD_OK);
    PlatformLoseSurfaces();
    EXPECT_EQ(Lock(s, nullptr, &locked), DDERR_SURFACELOST);
    EXPECT_EQ(s->lpVtbl->Restore(s), DD_OK);
  }
  EXPECT_EQ(Describe(s).lpSurface, address);
  Release(s);
}

// ---- Locks --------------------------------------------------------------------------------
using Locks = DirectDrawTest;

TEST_F(Locks, ALockGivesTheFirstPixelOfItsRectangle) {
  DirectDraw dd;
  for (DWORD memory : {DDSCAPS_VIDEOMEMORY, DDSCAPS_SYSTEMMEMORY}) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | memory, 40, 30), &s), DD_OK);
    DDSURFACEDESC whole = Describe(s);
    uint8_t *base = static_cast<uint8_t *>(whole.lpSurface);
    struct Case {
      RECT rect;
      HRESULT result;
    } const cases[] = {
        {{0, 0, 40, 30}, DD_OK},       {{3, 2, 4, 3}, DD_OK},          {{39, 29, 40, 30}, DD_OK},
        {{0, 0, 41, 30}, DDERR_INVALIDRECT}, {{-1, 0, 4, 4}, DDERR_INVALIDRECT},
        {{5, 5, 5, 6}, DDERR_INVALIDRECT},   {{5, 6, 6, 5}, DDERR_INVALIDRECT},
    };
    for (const Case &c : cases) {
      RECT rect = c.rect;
      DDSURFACEDESC locked;
      ASSERT_EQ(Lock(s, &rect, &locked), c.result) << rect.left << "," << rect.top;
      if (c.result != DD_OK) continue;
      EXPECT_EQ(locked.lpSurface, base + rect.top * whole.lPitch + rect.left * 2);
      EXPECT_EQ(locked.lPitch, whole.lPitch);
      EXPECT_EQ(locked.dwWidth, 40u);  // the surface's, whatever the rectangle
      EXPECT_EQ(Unlock(s, locked.lpSurface), DD_OK);
    }
    DDSURFACEDESC wrongSize = {};
    wrongSize.dwSize = 100;
    EXPECT_EQ(s->lpVtbl->Lock(s, nullptr, &wrongSize, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(s->lpVtbl->Lock(s, nullptr, nullptr, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    Release(s);
  }
}

TEST_F(Locks, AnOffscreenSurfaceRefusesOverlappingLocks) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 20, 20), &s), DD_OK);
  struct Case {
    RECT held;
    bool wholeSecond;
    RECT second;
    HRESULT result;
  } const cases[] = {
      {{0, 0, 10, 10}, false, {10, 0, 20, 10}, DD_OK},  // side by side
      {{0, 0, 10, 10}, false, {0, 10, 10, 20}, DD_OK},
      {{0, 0, 10, 10}, false, {9, 9, 12, 12}, DDERR_SURFACEBUSY},
      {{0, 0, 10, 10}, false, {2, 2, 3, 3}, DDERR_SURFACEBUSY},
      {{0, 0, 10, 10}, true, {}, DDERR_SURFACEBUSY},
  };
  for (const Case &c : cases) {
    RECT held = c.held, second = c.second;
    DDSURFACEDESC a, b;
    ASSERT_EQ(Lock(s, &held, &a), DD_OK);
    EXPECT_EQ(Lock(s, c.wholeSecond ? nullptr : &second, &b), c.result);
    if (c.result == DD_OK) {
      EXPECT_EQ(Unlock(s, b.lpSurface), DD_OK);
    }
    EXPECT_EQ(Unlock(s, a.lpSurface), DD_OK);
  }
  Release(s);
}

TEST_F(Locks, SeveralThreadsHoldOverlappingLocksOfThePrimary) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE primary = Primary(dd);
  constexpr int kThreads = 4;
  std::atomic<int> holding{0};
  std::atomic<bool> release{false};
  std::vector<std::thread> threads;
  std::vector<HRESULT> locks(kThreads, DDERR_GENERIC), unlocks(kThreads, DDERR_GENERIC);
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      RECT rect = {10 * i, 10 * i, 200, 200};  // every one overlaps every other
      DDSURFACEDESC locked;
      locks[i] = Lock(primary, &rect, &locked);
      ++holding;
      while (!release) std::this_thread::yield();
      unlocks[i] = Unlock(primary, locked.lpSurface);
    });
  }
  while (holding < kThreads) std::this_thread::yield();
  DDSURFACEDESC mine;
  EXPECT_EQ(Lock(primary, nullptr, &mine), DD_OK);
  release = true;
  for (std::thread &t : threads) t.join();
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(locks[i], DD_OK) << i;
    EXPECT_EQ(unlocks[i], DD_OK) << i;
  }
  EXPECT_EQ(Unlock(primary, mine.lpSurface), DD_OK);
  EXPECT_EQ(Unlock(primary, nullptr), DDERR_NOTLOCKED);
  Release(primary);
}

TEST_F(Locks, UnlockNamesTheLockByItsAddress) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 20, 20), &s), DD_OK);
  RECT left = {0, 0, 10, 20}, right = {10, 0, 20, 20};
  DDSURFACEDESC a, b;
  ASSERT_EQ(Lock(s, &left, &a), DD_OK);
  ASSERT_EQ(Lock(s, &right, &b), DD_OK);
  EXPECT_EQ(Unlock(s, static_cast<uint8_t *>(a.lpSurface) + 2), DDERR_NOTLOCKED);
  EXPECT_EQ(Unlock(s, a.lpSurface), DD_OK);
  EXPECT_EQ(Unlock(s, a.lpSurface), DDERR_NOTLOCKED);
  EXPECT_EQ(Unlock(s, nullptr), DD_OK);  // the latest: the right half
  EXPECT_EQ(Unlock(s, nullptr), DDERR_NOTLOCKED);
  EXPECT_EQ(Lock(s, nullptr, &a), DD_OK);  // nothing is held any more
  EXPECT_EQ(Unlock(s, nullptr), DD_OK);
  Release(s);
}

// ---- Mipmap chains ---------------------------------------------------------------------
using Mipmaps = DirectDrawTest;

// As the texture manager walks a chain: each level's surface, then the next
// through GetAttachedSurface with DDSCAPS_TEXTURE | DDSCAPS_MIPMAP.
TEST_F(Mipmaps, ChainsWalkThroughGetAttachedSurface) {
  DirectDraw dd;
  const DWORD caps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
  struct Case {
    int side;
    DWORD count;  // 0: not given
    DWORD levels;
  } const cases[] = {{1, 0, 1}, {2, 0, 2}, {64, 0, 7}, {64, 3, 3}, {256, 0, 9}, {8, 1, 1}};
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE top;
    ASSERT_EQ(Create(dd, TextureDesc(caps, c.side, c.count), &top), DD_OK) << c.side;
    LPDIRECTDRAWSURFACE level = top;
    DWORD walked = 0;
    while (level) {
      DDSURFACEDESC d = Describe(level);
      int side = std::max(1, c.side >> walked);
      EXPECT_EQ(d.dwWidth, DWORD(side));
      EXPECT_EQ(d.dwHeight, DWORD(side));
      EXPECT_EQ(d.lPitch, side * 4);  // packed rows: one pitch per level, side x 4 bytes
      EXPECT_EQ(d.dwMipMapCount, c.levels - walked);
      EXPECT_TRUE(d.dwFlags & DDSD_MIPMAPCOUNT);
      EXPECT_TRUE(d.ddsCaps.dwCaps & DDSCAPS_LOCALVIDMEM);
      ++walked;
      DDSCAPS next = {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
      LPDIRECTDRAWSURFACE attached = nullptr;
      HRESULT r = level->lpVtbl->GetAttachedSurface(level, &next, &attached);
      EXPECT_EQ(r, walked < c.levels ? DD_OK : DDERR_NOTFOUND);
      if (level != top) Release(level);
      level = attached;
    }
    EXPECT_EQ(walked, c.levels) << c.side;
    EXPECT_EQ(Release(top), 0u);
  }
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
}

// A test may pad texture rows; every level of a chain then has its own
// pitch, width x 4 plus the padding, and the rows stay inside its memory.
TEST_F(Mipmaps, TextureRowsCanBePadded) {
  DirectDraw dd;
  EXPECT_FALSE(PlatformSetTexturePitchPadding(6));
  EXPECT_FALSE(PlatformSetTexturePitchPadding(8192));
  ASSERT_TRUE(PlatformSetTexturePitchPadding(12));
  const DWORD caps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
  LPDIRECTDRAWSURFACE top;
  ASSERT_EQ(Create(dd, TextureDesc(caps, 16), &top), DD_OK);
  EXPECT_GE(PlatformVideoMemoryUsed(FALSE), (16u * 4 + 12) * 16);
  LPDIRECTDRAWSURFACE level = top;
  for (int side = 16; level != nullptr; side /= 2) {
    DDSURFACEDESC d;
    ASSERT_EQ(Lock(level, nullptr, &d), DD_OK);
    EXPECT_EQ(d.lPitch, side * 4 + 12) << side;
    std::memset(d.lpSurface, 0x5A, size_t(d.lPitch) * d.dwHeight);
    EXPECT_EQ(Unlock(level, d.lpSurface), DD_OK);
    DDSCAPS next = {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
    LPDIRECTDRAWSURFACE attached = nullptr;
    level->lpVtbl->GetAttachedSurface(level, &next, &attached);
    if (level != top) Release(level);
    level = attached;
  }
  LPDIRECTDRAWSURFACE plain;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 16, 4), &plain), DD_OK);
  EXPECT_EQ(Describe(plain).lPitch, 32);  // other surfaces keep their pitch
  Release(plain);
  EXPECT_EQ(Release(top), 0u);
  ASSERT_TRUE(PlatformSetTexturePitchPadding(0));
  ASSERT_EQ(Create(dd, TextureDesc(caps, 16), &top), DD_OK);
  EXPECT_EQ(Describe(top).lPitch, 64);
  Release(top);
}

TEST_F(Mipmaps, AttachedSurfacesMatchTheCapsAsked) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE top;
  ASSERT_EQ(Create(dd, TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 4), &top), DD_OK);
  struct Case {
    DWORD caps;
    HRESULT result;
  } const cases[] = {
      {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP, DD_OK},
      {DDSCAPS_MIPMAP, DD_OK},
      {0, DD_OK},
      {DDSCAPS_ZBUFFER, DDERR_NOTFOUND},
      {DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, DDERR_NOTFOUND},
  };
  for (const Case &c : cases) {
    DDSCAPS caps = {c.caps};
    LPDIRECTDRAWSURFACE level = nullptr;
    EXPECT_EQ(top->lpVtbl->GetAttachedSurface(top, &caps, &level), c.result) << c.caps;
    if (level) Release(level);
  }
  LPDIRECTDRAWSURFACE level = nullptr;
  EXPECT_EQ(top->lpVtbl->GetAttachedSurface(top, nullptr, &level), DDERR_INVALIDPARAMS);
  LPDIRECTDRAWSURFACE plain;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 4, 4), &plain), DD_OK);
  DDSCAPS any = {0};
  EXPECT_EQ(plain->lpVtbl->GetAttachedSurface(plain, &any, &level), DDERR_NOTFOUND);
  Release(plain);
  Release(top);
}

// A lower level counts its users (starting with the chain's own reference)
// but goes only with the top; using it afterwards is refused.
TEST_F(Mipmaps, ALowerLevelGoesWithTheTop) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE top;
  ASSERT_EQ(Create(dd, TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 8), &top), DD_OK);
  DDSCAPS caps = {DDSCAPS_MIPMAP};
  LPDIRECTDRAWSURFACE second, again;
  ASSERT_EQ(top->lpVtbl->GetAttachedSurface(top, &caps, &second), DD_OK);
  ASSERT_EQ(top->lpVtbl->GetAttachedSurface(top, &caps, &again), DD_OK);
  EXPECT_EQ(second, again);
  EXPECT_EQ(Release(again), 2u);
  EXPECT_EQ(Release(second), 1u);
  EXPECT_EQ(Release(second), 1u);  // the chain's own reference stays
  EXPECT_EQ(Describe(second).dwWidth, 4u);
  const IDirectDrawSurfaceVtbl *vt = second->lpVtbl;
  EXPECT_EQ(Release(top), 0u);
  DDSURFACEDESC d = {};
  d.dwSize = sizeof d;
  EXPECT_EQ(vt->GetSurfaceDesc(second, &d), DDERR_INVALIDOBJECT);
  EXPECT_EQ(vt->Release(second), 0u);
}

TEST_F(Mipmaps, TexturesGoToNonLocalMemoryWhenLocalMemoryIsFull) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE filler;
  // Leave less than one 64 x 64 texture of local memory.
  DDSURFACEDESC screen = Describe(Primary(dd));  // the primary goes with the object
  DWORD room = (8u << 20) - screen.lPitch * screen.dwHeight - 16 - PlatformVideoMemoryUsed(FALSE);
  int rows = int((room - 8192) / 2048);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 1024, rows), &filler), DD_OK);
  const DWORD caps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY;
  LPDIRECTDRAWSURFACE texture;
  EXPECT_EQ(Create(dd, TextureDesc(caps, 64), &texture), DDERR_OUTOFVIDEOMEMORY);
  ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(1u << 20));
  ASSERT_EQ(Create(dd, TextureDesc(caps, 64), &texture), DD_OK);
  // Every level lies in non-local memory, at its own aperture offset.
  std::vector<DWORD> offsets;
  LPDIRECTDRAWSURFACE level = texture;
  while (level) {
    DDSURFACEDESC d = Describe(level);
    EXPECT_EQ(d.ddsCaps.dwCaps & (DDSCAPS_LOCALVIDMEM | DDSCAPS_NONLOCALVIDMEM), DDSCAPS_NONLOCALVIDMEM);
    EXPECT_EQ(d.lPitch, LONG(d.dwWidth * 4));
    offsets.push_back(d.dwReserved);
    DDSCAPS next = {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
    LPDIRECTDRAWSURFACE attached = nullptr;
    level->lpVtbl->GetAttachedSurface(level, &next, &attached);
    if (level != texture) Release(level);
    level = attached;
  }
  EXPECT_EQ(offsets.size(), 7u);
  std::sort(offsets.begin(), offsets.end());
  EXPECT_EQ(std::unique(offsets.begin(), offsets.end()), offsets.end());
  // A texture that asks for local memory does not go there.
  LPDIRECTDRAWSURFACE localOnly;
  EXPECT_EQ(Create(dd, TextureDesc(caps | DDSCAPS_LOCALVIDMEM, 64), &localOnly), DDERR_OUTOFVIDEOMEMORY);
  // Plain surfaces never go there; without a memory asked, system memory takes them.
  LPDIRECTDRAWSURFACE plain;
  EXPECT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 128, 64), &plain),
            DDERR_OUTOFVIDEOMEMORY);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 128, 64), &plain), DD_OK);
  EXPECT_TRUE(Describe(plain).ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  EXPECT_GT(PlatformVideoMemoryUsed(TRUE), 0u);
  Release(plain);
  Release(texture);
  Release(filler);
  EXPECT_EQ(PlatformVideoMemoryUsed(TRUE), 0u);
}

// ---- Reference counts ----------------------------------------------------------------
using References = DirectDrawTest;

TEST_F(References, ReleaseGivesTheRemainingCountAndDestroysOnce) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  DWORD before = PlatformVideoMemoryUsed(FALSE);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 64, 64), &s), DD_OK);
  EXPECT_GT(PlatformVideoMemoryUsed(FALSE), before);
  // The table outlives the record: calls through it with a released pointer are refused.
  const IDirectDrawSurfaceVtbl *vt = s->lpVtbl;
  EXPECT_EQ(vt->AddRef(s), 2u);
  EXPECT_EQ(vt->AddRef(s), 3u);
  const ULONG expected[] = {2, 1, 0, 0, 0};  // 0 once, then the pointer is refused
  for (ULONG e : expected) EXPECT_EQ(vt->Release(s), e);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), before);
  EXPECT_EQ(vt->AddRef(s), 0u);
  DDSURFACEDESC locked = {};
  locked.dwSize = sizeof locked;
  EXPECT_EQ(vt->Lock(s, nullptr, &locked, DDLOCK_WAIT, nullptr), DDERR_INVALIDOBJECT);
}

TEST_F(References, ReleasingTheObjectReleasesWhatItMade) {
  PlatformHeapStats heap = PlatformGetHeapStats();
  LPDIRECTDRAW dd = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
  ASSERT_EQ(dd->lpVtbl->SetCooperativeLevel(dd, nullptr, DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(dd->lpVtbl->AddRef(dd), 2u);
  EXPECT_EQ(dd->lpVtbl->Release(dd), 1u);
  LPDIRECTDRAWSURFACE video, system, primary;
  LPDIRECTDRAWCLIPPER clipper;
  DDSURFACEDESC d = Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 8, 8);
  ASSERT_EQ(dd->lpVtbl->CreateSurface(dd, &d, &video, nullptr), DD_OK);
  d = Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 8, 8);
  ASSERT_EQ(dd->lpVtbl->CreateSurface(dd, &d, &system, nullptr), DD_OK);
  d = Desc(DDSCAPS_PRIMARYSURFACE);
  ASSERT_EQ(dd->lpVtbl->CreateSurface(dd, &d, &primary, nullptr), DD_OK);
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd, 0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(primary->lpVtbl->SetClipper(primary, clipper), DD_OK);
  EXPECT_EQ(clipper->lpVtbl->Release(clipper), 1u);  // the primary holds it
  const IDirectDrawVtbl *ddVt = dd->lpVtbl;
  const IDirectDrawSurfaceVtbl *surfaceVt = video->lpVtbl;
  const IDirectDrawClipperVtbl *clipperVt = clipper->lpVtbl;
  EXPECT_EQ(ddVt->Release(dd), 0u);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
  EXPECT_EQ(PlatformGetHeapStats().liveVirtual, heap.liveVirtual);  // system memory went back
  for (LPDIRECTDRAWSURFACE s : {video, system, primary}) EXPECT_EQ(surfaceVt->Release(s), 0u);
  EXPECT_EQ(clipperVt->Release(clipper), 0u);
  EXPECT_EQ(ddVt->Release(dd), 0u);
  EXPECT_EQ(ddVt->CreateSurface(dd, &d, &video, nullptr), DDERR_INVALIDOBJECT);
}

TEST_F(References, PointersOfTheWrongKindAreRefused) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s = Primary(dd);
  LPDIRECTDRAWCLIPPER clipper;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &clipper, nullptr), DD_OK);
  // A surface's methods called with other records, as a confused caller might.
  LPDIRECTDRAWSURFACE fakes[] = {reinterpret_cast<LPDIRECTDRAWSURFACE>(dd.dd),
                                 reinterpret_cast<LPDIRECTDRAWSURFACE>(clipper), nullptr};
  for (LPDIRECTDRAWSURFACE fake : fakes) {
    DDSURFACEDESC locked;
    EXPECT_EQ(s->lpVtbl->Lock(fake, nullptr, &locked, 0, nullptr), DDERR_INVALIDOBJECT);
    EXPECT_EQ(s->lpVtbl->Release(fake), 0u);
  }
  EXPECT_EQ(s->lpVtbl->SetClipper(s, reinterpret_cast<LPDIRECTDRAWCLIPPER>(s)), DDERR_INVALIDOBJECT);
  EXPECT_EQ(Copy(s, nullptr, reinterpret_cast<LPDIRECTDRAWSURFACE>(clipper), nullptr), DDERR_INVALIDOBJECT);
  clipper->lpVtbl->Release(clipper);
  Release(s);
}

// ---- Failure on demand --------------------------------------------------------------------
using Faults = DirectDrawTest;

TEST_F(Faults, EveryCallFailsOnDemandWithThePlatformsCode) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE primary = Primary(dd), plain, texture;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &plain), DD_OK);
  ASSERT_EQ(Create(dd, TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 8), &texture), DD_OK);
  LPDIRECTDRAWCLIPPER clipper;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &clipper, nullptr), DD_OK);
  LPDIRECTDRAWSURFACE made = nullptr;
  LPDIRECTDRAW madeDd = nullptr;
  LPDIRECTDRAWCLIPPER madeClipper = nullptr;
  DDSURFACEDESC desc;
  RGNDATA none = {};  // an empty clip list
  none.rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, 0, 0, {0, 0, 0, 0}};
  auto plainDesc = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  auto textureDesc = TextureDesc(DDSCAPS_TEXTURE, 8);
  struct Case {
    const char *call, *key;
    HRESULT error;  // 0: the call's own
    HRESULT result;
    std::function<HRESULT()> run;
  } const cases[] = {
      {"DirectDrawCreate", nullptr, 0, DDERR_NODIRECTDRAWHW,
       [&] { return DirectDrawCreate(nullptr, &madeDd, nullptr); }},
      {"SetCooperativeLevel", nullptr, 0, DDERR_GENERIC,
       [&] { return dd->lpVtbl->SetCooperativeLevel(dd.dd, nullptr, DDSCL_NORMAL); }},
      {"CreateSurface", nullptr, 0, DDERR_OUTOFMEMORY, [&] { return Create(dd, plainDesc, &made); }},
      {"CreateSurface", "texture", DDERR_OUTOFVIDEOMEMORY, DDERR_OUTOFVIDEOMEMORY,
       [&] { return Create(dd, textureDesc, &made); }},
      {"CreateClipper", nullptr, 0, DDERR_OUTOFMEMORY,
       [&] { return dd->lpVtbl->CreateClipper(dd.dd, 0, &madeClipper, nullptr); }},
      {"GetDisplayMode", nullptr, 0, DDERR_GENERIC, [&] {
         desc.dwSize = sizeof desc;
         return dd->lpVtbl->GetDisplayMode(dd.dd, &desc);
       }},
      {"Lock", "primary", 0, DDERR_SURFACEBUSY, [&] { return Lock(primary, nullptr, &desc); }},
      {"Lock", "offscreen", DDERR_SURFACELOST, DDERR_SURFACELOST,
       [&] { return Lock(plain, nullptr, &desc); }},
      {"Unlock", nullptr, 0, DDERR_NOTLOCKED, [&] { return Unlock(plain, nullptr); }},
      {"Blt", nullptr, 0, DDERR_GENERIC, [&] { return Fill(plain, nullptr, 0); }},
      {"IsLost", nullptr, 0, DDERR_SURFACELOST, [&] { return plain->lpVtbl->IsLost(plain); }},
      {"Restore", nullptr, 0, DDERR_WRONGMODE, [&] { return plain->lpVtbl->Restore(plain); }},
      {"GetSurfaceDesc", nullptr, 0, DDERR_GENERIC, [&] {
         desc.dwSize = sizeof desc;
         return plain->lpVtbl->GetSurfaceDesc(plain, &desc);
       }},
      {"GetPixelFormat", nullptr, 0, DDERR_GENERIC,
       [&] { return primary->lpVtbl->GetPixelFormat(primary, &desc.ddpfPixelFormat); }},
      {"GetAttachedSurface", nullptr, 0, DDERR_NOTFOUND, [&] {
         DDSCAPS caps = {DDSCAPS_MIPMAP};
         return texture->lpVtbl->GetAttachedSurface(texture, &caps, &made);
       }},
      {"SetClipper", nullptr, 0, DDERR_GENERIC,
       [&] { return primary->lpVtbl->SetClipper(primary, clipper); }},
      {"SetClipList", nullptr, 0, DDERR_OUTOFMEMORY,
       [&] { return clipper->lpVtbl->SetClipList(clipper, &none, 0); }},
      {"GetClipList", nullptr, 0, DDERR_GENERIC, [&] {
         RGNDATA list;
         DWORD size = sizeof list;
         return clipper->lpVtbl->GetClipList(clipper, nullptr, &list, &size);
       }},
      {"IsClipListChanged", nullptr, 0, DDERR_GENERIC, [&] {
         BOOL changed;
         return clipper->lpVtbl->IsClipListChanged(clipper, &changed);
       }},
  };
  ASSERT_EQ(clipper->lpVtbl->SetClipList(clipper, &none, 0), DD_OK);
  for (const Case &c : cases) {
    PlatformClearFaults();
    PlatformArmFault({c.call, c.key, 0, 1, DWORD(c.error)});
    EXPECT_EQ(c.run(), c.result) << c.call;
    EXPECT_EQ(PlatformFaultsFired(c.call), 1u) << c.call;
    // The fault was used up: the call works again.
    HRESULT again = c.run();
    EXPECT_TRUE(again == DD_OK || again == DDERR_NOTLOCKED) << c.call << " " << std::hex << again;
    if (made) Release(made), made = nullptr;
    if (madeDd) madeDd->lpVtbl->Release(madeDd), madeDd = nullptr;
    if (madeClipper) madeClipper->lpVtbl->Release(madeClipper), madeClipper = nullptr;
  }
  // A key limits the fault to one kind of surface.
  PlatformClearFaults();
  PlatformArmFault({"Lock", "zbuffer", 0, 0, 0});
  EXPECT_EQ(Lock(plain, nullptr, &desc), DD_OK);
  EXPECT_EQ(Unlock(plain, nullptr), DD_OK);
  EXPECT_EQ(PlatformFaultsFired("Lock"), 0u);
  clipper->lpVtbl->Release(clipper);
  Release(texture);
  Release(plain);
  Release(primary);
}

// The driver takes a remaining count above 0 as a failed release and keeps
// the pointer; a release made to fail is that case, and the next one works.
TEST_F(Faults, AReleaseMadeToFailKeepsTheSurface) {
  DirectDraw dd;
  struct Case {
    const char *key;
    DDSURFACEDESC desc;
  } const cases[] = {
      {"offscreen", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 8, 8)},
      {"zbuffer", ZDesc(DDSCAPS_VIDEOMEMORY, 8, 8, 16)},
      {"texture",
       TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY, 8)},
      {"primary", Desc(DDSCAPS_PRIMARYSURFACE)},
  };
  for (const Case &c : cases) {
    DWORD before = PlatformVideoMemoryUsed(FALSE);
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, c.desc, &s), DD_OK) << c.key;
    DWORD used = PlatformVideoMemoryUsed(FALSE);
    PlatformClearFaults();
    PlatformArmFault({"Release", c.key, 0, 1, 0});
    EXPECT_EQ(Release(s), 1u) << c.key;
    EXPECT_EQ(PlatformFaultsFired("Release"), 1u) << c.key;
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), used) << c.key;
    EXPECT_EQ(Describe(s).ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY, DDSCAPS_VIDEOMEMORY) << c.key;
    EXPECT_EQ(Release(s), 0u) << c.key;
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), before) << c.key;
  }
  // A fault keyed to another kind leaves a release alone.
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &s), DD_OK);
  PlatformClearFaults();
  PlatformArmFault({"Release", "zbuffer", 0, 0, 0});
  EXPECT_EQ(Release(s), 0u);
  EXPECT_EQ(PlatformFaultsFired("Release"), 0u);
}

}  // namespace

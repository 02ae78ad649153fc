// The screen and video memory: the display modes offered, the capacity,
// placement and exhaustion, and what a display change does to surfaces.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/display/ddraw_support.h"

namespace {

using namespace ddtest;

class VideoMemoryTest : public DisplayTest {
 protected:
  static DDSURFACEDESC Mode(const DirectDraw &dd) {
    DDSURFACEDESC mode = {};
    mode.dwSize = sizeof mode;
    EXPECT_EQ(dd->lpVtbl->GetDisplayMode(dd.dd, &mode), DD_OK);
    return mode;
  }

  // Where surfaces may start: above the screen and its spare bytes.
  static DWORD Floor(const DirectDraw &dd) {
    DDSURFACEDESC mode = Mode(dd);
    return mode.lPitch * mode.dwHeight + 16;
  }
};

// ---- Display modes ------------------------------------------------------------------------
using DisplayModes = VideoMemoryTest;

TEST_F(DisplayModes, ModesAreOfferedAsListed) {
  DirectDraw dd;
  struct Case {
    int bits, width, height;
    bool offered;
  } const cases[] = {
      {8, 640, 480, true},     {15, 800, 600, true},   {16, 1024, 768, true},
      {24, 1, 1, true},        {32, 1280, 1024, true}, {16, 4096, 1000, true},
      {12, 640, 480, false},   {0, 640, 480, false},   {16, 0, 480, false},
      {16, 640, -1, false},    {16, 4097, 8, false},
      {32, 2048, 1024, false},  // 8 MiB of pixels leave no room for the spare bytes
      {32, 4096, 4096, false},
  };
  for (const Case &c : cases) {
    DDSURFACEDESC before = Mode(dd);
    EXPECT_EQ(DesktopSetDisplayMode(c.bits, c.width, c.height), c.offered ? TRUE : FALSE) << c.bits;
    DDSURFACEDESC after = Mode(dd);
    if (c.offered) {
      EXPECT_EQ(after.dwWidth, DWORD(c.width));
      EXPECT_EQ(after.dwHeight, DWORD(c.height));
      EXPECT_EQ(after.lPitch % 8, 0);  // rows start on 8-byte boundaries
    } else {  // a refused mode changes nothing
      EXPECT_EQ(after.dwWidth, before.dwWidth) << c.bits << " " << c.width;
      EXPECT_EQ(after.ddpfPixelFormat.dwRGBBitCount, before.ddpfPixelFormat.dwRGBBitCount);
    }
  }
  ASSERT_TRUE(PlatformSetVideoMemorySize(32u << 20));
  EXPECT_TRUE(DesktopSetDisplayMode(32, 2048, 1024));  // fits now
}

TEST_F(DisplayModes, ANewModeStartsWithABlackScreen) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE before = Primary(dd);
  ASSERT_EQ(Fill(before, nullptr, 0xFFFF), DD_OK);
  ASSERT_TRUE(DesktopSetDisplayMode(32, 300, 200));
  LPDIRECTDRAWSURFACE after = Primary(dd);
  DDSURFACEDESC locked;
  ASSERT_EQ(Lock(after, nullptr, &locked), DD_OK);
  unsigned nonZero = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) nonZero += Pixel(locked, x, y, 4) != 0;
  EXPECT_EQ(nonZero, 0u);
  Unlock(after, nullptr);
}

// ---- Capacity and placement --------------------------------------------------------------
using VideoMemory = VideoMemoryTest;

TEST_F(VideoMemory, TheCapacityChangesOnlyWhileEverythingFits) {
  DirectDraw dd;
  DWORD floor = Floor(dd);
  LPDIRECTDRAWSURFACE s;
  ASSERT_TRUE(PlatformSetVideoMemorySize(floor + 4096));
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 16, 16), &s), DD_OK);
  uint8_t *first = static_cast<uint8_t *>(Describe(s).lpSurface);
  uint8_t *base = static_cast<uint8_t *>(Describe(Primary(dd)).lpSurface);
  DWORD end = DWORD(first - base) + 16 * 16 * 2 + 16;  // the surface's last spare byte + 1
  struct Case {
    DWORD bytes;
    BOOL result;
  } const cases[] = {
      {end, TRUE},          // exactly to the end of the surface's spare bytes
      {end - 1, FALSE},     // would cut into them
      {floor - 1, FALSE},   // would cut into the screen
      {0, FALSE},
      {(64u << 20) + 1, FALSE},
      {64u << 20, TRUE},
      {8u << 20, TRUE},
  };
  for (const Case &c : cases) EXPECT_EQ(PlatformSetVideoMemorySize(c.bytes), c.result) << c.bytes;
  EXPECT_EQ(Describe(s).lpSurface, first);  // the block never moves
  Release(s);
}

TEST_F(VideoMemory, SurfacesArePlacedFromTheTopDown) {
  DirectDraw dd;
  uint8_t *base = static_cast<uint8_t *>(Describe(Primary(dd)).lpSurface);
  LPDIRECTDRAWSURFACE a, b;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 64, 8), &a), DD_OK);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 64, 8), &b), DD_OK);
  uint8_t *pa = static_cast<uint8_t *>(Describe(a).lpSurface);
  uint8_t *pb = static_cast<uint8_t *>(Describe(b).lpSurface);
  EXPECT_EQ(pa + 1024 + 16, base + (8u << 20));  // the top of memory, less the spare bytes
  EXPECT_EQ(pb + 1024 + 32, pa);                 // right below, spare bytes between
  Release(a);
  Release(b);
}

TEST_F(VideoMemory, ExhaustionFailsAndFreedMemoryIsUsedAgain) {
  DirectDraw dd;
  ASSERT_TRUE(PlatformSetVideoMemorySize(Floor(dd) + 10 * (2048 + 32)));
  std::vector<LPDIRECTDRAWSURFACE> made;
  LPDIRECTDRAWSURFACE s;
  HRESULT r;
  while ((r = Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 32, 32), &s)) == DD_OK)
    made.push_back(s);
  EXPECT_EQ(r, DDERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(made.size(), 10u);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 10u * (2048 + 32));
  // Without a memory asked for, system memory takes what video memory cannot.
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 32, 32), &s), DD_OK);
  EXPECT_TRUE(Describe(s).ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  Release(s);
  // A freed gap takes a surface of the same size again, at the same place.
  void *gap = Describe(made[4]).lpSurface;
  Release(made[4]);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 32, 32), &made[4]), DD_OK);
  EXPECT_EQ(Describe(made[4]).lpSurface, gap);
  // A larger one does not fit in it.
  EXPECT_EQ(Release(made[4]), 0u);
  EXPECT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 32, 33), &s),
            DDERR_OUTOFVIDEOMEMORY);
  made.erase(made.begin() + 4);
  for (LPDIRECTDRAWSURFACE m : made) Release(m);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
}

// ---- Display changes and lost surfaces -------------------------------------------------
using LostSurfaces = VideoMemoryTest;

TEST_F(LostSurfaces, ADisplayChangeLosesVideoSurfacesForGood) {
  DirectDraw dd;
  struct Case {
    const char *what;
    DDSURFACEDESC desc;
    bool lost;
  } const cases[] = {
      {"primary", Desc(DDSCAPS_PRIMARYSURFACE), true},
      {"plain in video memory", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 16, 16), true},
      {"z-buffer in video memory", ZDesc(DDSCAPS_VIDEOMEMORY, 16, 16, 16), true},
      {"mipmapped texture",
       TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_VIDEOMEMORY, 16), true},
      {"plain in system memory", Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 16, 16), false},
  };
  std::vector<LPDIRECTDRAWSURFACE> made;
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE s;
    ASSERT_EQ(Create(dd, c.desc, &s), DD_OK) << c.what;
    made.push_back(s);
  }
  std::vector<void *> addresses;
  for (LPDIRECTDRAWSURFACE s : made) addresses.push_back(Describe(s).lpSurface);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  for (size_t i = 0; i < made.size(); ++i) {
    const Case &c = cases[i];
    LPDIRECTDRAWSURFACE s = made[i];
    HRESULT lost = c.lost ? DDERR_SURFACELOST : DD_OK;
    EXPECT_EQ(s->lpVtbl->IsLost(s), lost) << c.what;
    DDSURFACEDESC locked;
    HRESULT lock = Lock(s, nullptr, &locked);
    EXPECT_EQ(lock, lost) << c.what;
    if (lock == DD_OK) Unlock(s, nullptr);
    if (c.desc.ddsCaps.dwCaps & DDSCAPS_ZBUFFER) {
      DDBLTFX fx = {};
      fx.dwSize = sizeof fx;
      EXPECT_EQ(s->lpVtbl->Blt(s, nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fx), lost) << c.what;
    } else {
      EXPECT_EQ(Fill(s, nullptr, 0), lost) << c.what;
    }
    // Made under another mode: it cannot come back, as on the platform.
    EXPECT_EQ(s->lpVtbl->Restore(s), c.lost ? DDERR_WRONGMODE : DD_OK) << c.what;
    EXPECT_EQ(s->lpVtbl->IsLost(s), lost) << c.what;
    EXPECT_EQ(Describe(s).lpSurface, addresses[i]) << c.what;
  }
  // Lower levels of a chain are lost with it.
  DDSCAPS mip = {DDSCAPS_MIPMAP};
  LPDIRECTDRAWSURFACE level;
  ASSERT_EQ(made[3]->lpVtbl->GetAttachedSurface(made[3], &mip, &level), DD_OK);
  EXPECT_EQ(level->lpVtbl->IsLost(level), DDERR_SURFACELOST);
  Release(level);
  // What replaces them works.
  LPDIRECTDRAWSURFACE fresh = Primary(dd);
  EXPECT_EQ(fresh->lpVtbl->IsLost(fresh), DD_OK);
  EXPECT_EQ(Describe(fresh).dwWidth, 800u);
  Release(fresh);
  for (LPDIRECTDRAWSURFACE s : made) EXPECT_EQ(Release(s), 0u);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
}

TEST_F(LostSurfaces, LossWithoutADisplayChangeIsRestoredWithTheMemory) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE top, plain;
  ASSERT_EQ(Create(dd, TextureDesc(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX, 8), &top), DD_OK);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &plain), DD_OK);
  ASSERT_EQ(Fill(plain, nullptr, 0x1234), DD_OK);
  DWORD used = PlatformVideoMemoryUsed(FALSE);
  PlatformLoseSurfaces();
  DDSCAPS mip = {DDSCAPS_MIPMAP};
  LPDIRECTDRAWSURFACE level;
  ASSERT_EQ(top->lpVtbl->GetAttachedSurface(top, &mip, &level), DD_OK);
  for (LPDIRECTDRAWSURFACE s : {top, level, plain}) EXPECT_EQ(s->lpVtbl->IsLost(s), DDERR_SURFACELOST);
  EXPECT_EQ(level->lpVtbl->Restore(level), DD_OK);  // any level brings the chain back
  EXPECT_EQ(top->lpVtbl->IsLost(top), DD_OK);
  EXPECT_EQ(plain->lpVtbl->Restore(plain), DD_OK);
  EXPECT_EQ(plain->lpVtbl->Restore(plain), DD_OK);  // restoring what is not lost does nothing
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), used);
  DDSURFACEDESC locked;
  ASSERT_EQ(Lock(plain, nullptr, &locked), DD_OK);
  EXPECT_EQ(Pixel(locked, 7, 7, 2), 0x1234u);  // nothing else had the memory
  Unlock(plain, nullptr);
  Release(level);
  Release(top);
  Release(plain);
}

// A display change that needs more screen memory takes it from the lost
// surfaces below; their addresses stay, their memory is the screen's now.
TEST_F(LostSurfaces, ALargerScreenTakesOverTheMemoryOfSurfacesBelowIt) {
  DirectDraw dd;
  ASSERT_TRUE(PlatformSetVideoMemorySize(2u << 20));
  std::vector<LPDIRECTDRAWSURFACE> made;
  LPDIRECTDRAWSURFACE s;
  while (Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 256, 64), &s) == DD_OK)
    made.push_back(s);
  ASSERT_FALSE(made.empty());
  DWORD full = PlatformVideoMemoryUsed(FALSE);
  std::vector<void *> addresses;
  for (LPDIRECTDRAWSURFACE m : made) addresses.push_back(Describe(m).lpSurface);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 900));  // 1.76 MiB of screen
  DWORD kept = PlatformVideoMemoryUsed(FALSE);
  EXPECT_LT(kept, full);
  EXPECT_GT(kept, 0u);
  DWORD floor = Floor(dd);
  uint8_t *base = static_cast<uint8_t *>(Describe(Primary(dd)).lpSurface);
  for (size_t i = 0; i < made.size(); ++i) {
    LPDIRECTDRAWSURFACE m = made[i];
    EXPECT_EQ(m->lpVtbl->Restore(m), DDERR_WRONGMODE);
    uint8_t *first = static_cast<uint8_t *>(Describe(m).lpSurface);
    EXPECT_GE(first, base);
    EXPECT_EQ(first, addresses[i]);  // the address stays, wherever it lies now
  }
  // New surfaces are placed above the new screen only.
  LPDIRECTDRAWSURFACE fresh;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 8, 8), &fresh), DD_OK);
  EXPECT_GE(static_cast<uint8_t *>(Describe(fresh).lpSurface) - 16, base + floor);
  Release(fresh);
  for (LPDIRECTDRAWSURFACE m : made) Release(m);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);  // taken-over memory is not given back twice
  EXPECT_FALSE(DesktopSetDisplayMode(32, 1024, 768));  // 3 MiB: more than the capacity
}

}  // namespace

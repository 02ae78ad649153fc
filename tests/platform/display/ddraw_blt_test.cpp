// Blt between surfaces: colour and depth fills, copies with and without
// stretching, overlapping copies, explicit clip lists and refusals.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "tests/platform/display/ddraw_support.h"

namespace {

using namespace ddtest;

class Blits : public DisplayTest {
 protected:
  // Writes x + 16 * y (plus `seed`) into every pixel of a 2-byte surface.
  static void Pattern(LPDIRECTDRAWSURFACE s, int width, int height, uint32_t seed = 0) {
    DDSURFACEDESC locked;
    ASSERT_EQ(Lock(s, nullptr, &locked), DD_OK);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint16_t v = uint16_t(seed + x + 16 * y);
        std::memcpy(static_cast<uint8_t *>(locked.lpSurface) + y * locked.lPitch + 2 * x, &v, 2);
      }
    Unlock(s, nullptr);
  }

  static std::vector<uint32_t> Read(LPDIRECTDRAWSURFACE s, int width, int height, int bytes) {
    DDSURFACEDESC locked;
    std::vector<uint32_t> pixels;
    EXPECT_EQ(Lock(s, nullptr, &locked), DD_OK);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(Pixel(locked, x, y, bytes));
    Unlock(s, nullptr);
    return pixels;
  }

  static bool In(const RECT &r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }
};

TEST_F(Blits, ColourFillsWriteTheValueInEveryPixelSize) {
  DirectDraw dd;
  DDPIXELFORMAT index8 = {};
  index8.dwSize = sizeof index8;
  index8.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
  index8.dwRGBBitCount = 8;
  struct Case {
    DDPIXELFORMAT format;
    int bytes;
    uint32_t stored;  // of the value 0xA1B2C3D4
  } const cases[] = {
      {index8, 1, 0xD4},
      {Rgb(16, 0xF800, 0x7E0, 0x1F), 2, 0xC3D4},
      {Rgb(24, 0xFF0000, 0xFF00, 0xFF), 3, 0xB2C3D4},
      {Rgb(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 4, 0xA1B2C3D4},
  };
  for (const Case &c : cases) {
    for (DWORD memory : {DDSCAPS_VIDEOMEMORY, DDSCAPS_SYSTEMMEMORY}) {
      DDSURFACEDESC desc = Desc(DDSCAPS_OFFSCREENPLAIN | memory, 9, 7);
      desc.dwFlags |= DDSD_PIXELFORMAT;
      desc.ddpfPixelFormat = c.format;
      LPDIRECTDRAWSURFACE s;
      ASSERT_EQ(Create(dd, desc, &s), DD_OK) << c.bytes;
      ASSERT_EQ(Fill(s, nullptr, 0), DD_OK);
      RECT rect = {2, 1, 8, 6};
      ASSERT_EQ(Fill(s, &rect, 0xA1B2C3D4), DD_OK);
      std::vector<uint32_t> pixels = Read(s, 9, 7, c.bytes);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
          ASSERT_EQ(pixels[y * 9 + x], In(rect, x, y) ? c.stored : 0u) << c.bytes << " " << x << "," << y;
      Release(s);
    }
  }
}

// Depths are written as whole elements: 16 bits, or a 32-bit word for 24 and
// 32 bits, so a depth buffer keeping an epoch in the top byte gets it.
TEST_F(Blits, DepthFillsWriteWholeDepthElements) {
  DirectDraw dd;
  struct Case {
    DWORD depth;
    int bytes;
    uint32_t stored;
  } const cases[] = {{16, 2, 0x5678}, {24, 4, 0x12345678}, {32, 4, 0x12345678}};
  for (const Case &c : cases) {
    LPDIRECTDRAWSURFACE z;
    ASSERT_EQ(Create(dd, ZDesc(DDSCAPS_VIDEOMEMORY, 100, 3, c.depth), &z), DD_OK);
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillDepth = 0x12345678;
    ASSERT_EQ(z->lpVtbl->Blt(z, nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx), DD_OK);
    std::vector<uint32_t> pixels = Read(z, 100, 3, c.bytes);
    for (uint32_t p : pixels) ASSERT_EQ(p, c.stored) << c.depth;
    DDSURFACEDESC d = Describe(z);
    EXPECT_GE(d.lPitch, 100 * c.bytes);
    EXPECT_EQ(d.dwZBufferBitDepth, c.depth);
    Release(z);
  }
}

TEST_F(Blits, CopiesMoveRectanglesAndStretchByTheNearestPixel) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE src, dest;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 8, 8), &src), DD_OK);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 16, 16), &dest), DD_OK);
  Pattern(src, 8, 8, 0x100);
  struct Case {
    const char *what;
    RECT to, from;
  } const cases[] = {
      {"same size", {3, 4, 7, 6}, {1, 2, 5, 4}},
      {"twice as large", {0, 0, 16, 16}, {0, 0, 8, 8}},
      {"half the size", {5, 5, 9, 9}, {0, 0, 8, 8}},
      {"wider only", {0, 0, 12, 2}, {2, 2, 6, 4}},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(Fill(dest, nullptr, 0), DD_OK);
    RECT to = c.to, from = c.from;
    ASSERT_EQ(Copy(dest, &to, src, &from), DD_OK) << c.what;
    std::vector<uint32_t> got = Read(dest, 16, 16, 2);
    int dw = to.right - to.left, dh = to.bottom - to.top;
    int sw = from.right - from.left, sh = from.bottom - from.top;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        uint32_t want = 0;
        if (In(to, x, y)) {
          int sx = from.left + (x - to.left) * sw / dw, sy = from.top + (y - to.top) * sh / dh;
          want = 0x100 + sx + 16 * sy;
        }
        ASSERT_EQ(got[y * 16 + x], want) << c.what << " " << x << "," << y;
      }
  }
  Release(src);
  Release(dest);
}

TEST_F(Blits, OverlappingCopiesReadTheSourceAsItWas) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 16, 16), &s), DD_OK);
  struct Case {
    RECT to, from;
  } const cases[] = {
      {{2, 2, 12, 12}, {0, 0, 10, 10}},  // down and right
      {{0, 0, 10, 10}, {2, 2, 12, 12}},  // up and left
      {{0, 0, 16, 16}, {4, 4, 12, 12}},  // stretched over itself
  };
  for (const Case &c : cases) {
    Pattern(s, 16, 16);
    RECT to = c.to, from = c.from;
    ASSERT_EQ(Copy(s, &to, s, &from), DD_OK);
    std::vector<uint32_t> got = Read(s, 16, 16, 2);
    int dw = to.right - to.left, dh = to.bottom - to.top;
    int sw = from.right - from.left, sh = from.bottom - from.top;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        uint32_t want = x + 16 * y;
        if (In(to, x, y))
          want = (from.left + (x - to.left) * sw / dw) + 16 * (from.top + (y - to.top) * sh / dh);
        ASSERT_EQ(got[y * 16 + x], want) << x << "," << y;
      }
  }
  Release(s);
}

TEST_F(Blits, AClipListLimitsWhatChanges) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE s;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 20, 20), &s), DD_OK);
  LPDIRECTDRAWCLIPPER clipper;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &clipper, nullptr), DD_OK);
  struct {
    RGNDATAHEADER rdh;
    RECT rects[3];
  } list = {{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 3, 3 * sizeof(RECT), {0, 0, 0, 0}},
            {{0, 0, 5, 5}, {10, 10, 30, 12}, {-5, 15, 3, 40}}};  // partly off the surface
  ASSERT_EQ(clipper->lpVtbl->SetClipList(clipper, reinterpret_cast<LPRGNDATA>(&list), 0), DD_OK);
  ASSERT_EQ(s->lpVtbl->SetClipper(s, clipper), DD_OK);
  ASSERT_EQ(Fill(s, nullptr, 0), DD_OK);  // clipped too
  RECT wide = {-10, -10, 40, 40};  // with a clipper the rectangle may leave the surface
  ASSERT_EQ(Fill(s, &wide, 0x7777), DD_OK);
  std::vector<uint32_t> got = Read(s, 20, 20, 2);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = In(list.rects[0], x, y) || In(list.rects[1], x, y) || In(list.rects[2], x, y);
      ASSERT_EQ(got[y * 20 + x], inside ? 0x7777u : 0xCDCDu) << x << "," << y;  // new memory is not zero
    }
  LPDIRECTDRAWCLIPPER held = nullptr;
  ASSERT_EQ(s->lpVtbl->GetClipper(s, &held), DD_OK);
  EXPECT_EQ(held, clipper);
  held->lpVtbl->Release(held);
  ASSERT_EQ(s->lpVtbl->SetClipper(s, nullptr), DD_OK);
  EXPECT_EQ(s->lpVtbl->GetClipper(s, &held), DDERR_NOCLIPPERATTACHED);
  EXPECT_EQ(Fill(s, &wide, 0), DDERR_INVALIDRECT);  // without it, it may not
  EXPECT_EQ(clipper->lpVtbl->Release(clipper), 0u);
  Release(s);
}

// With a clipper the destination may be any well-formed rectangle: the copy
// still maps it onto the source by the nearest pixel, computed without
// overflow however far the rectangle reaches.
TEST_F(Blits, HugeDestinationsThroughAClipperAreCutNotOverflowed) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE src, dest;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &src), DD_OK);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 20, 20), &dest), DD_OK);
  Pattern(src, 8, 8, 0x100);
  LPDIRECTDRAWCLIPPER clipper;
  ASSERT_EQ(dd->lpVtbl->CreateClipper(dd.dd, 0, &clipper, nullptr), DD_OK);
  struct {
    RGNDATAHEADER rdh;
    RECT rects[1];
  } list = {{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, 20, 20}}, {{0, 0, 20, 20}}};
  ASSERT_EQ(clipper->lpVtbl->SetClipList(clipper, reinterpret_cast<LPRGNDATA>(&list), 0), DD_OK);
  const LONG kMin = INT32_MIN, kMax = INT32_MAX;
  struct Case {
    const char *what;
    RECT to;
  } const cases[] = {
      {"the whole coordinate space", {kMin, kMin, kMax, kMax}},
      {"from far left and top", {kMin, kMin, 20, 20}},
      {"to far right and bottom", {-3, -5, kMax, kMax}},
      {"far off on one side", {kMin + 1, 0, 10, 20}},
  };
  for (bool clipped : {true, false}) {
    ASSERT_EQ(dest->lpVtbl->SetClipper(dest, clipped ? clipper : nullptr), DD_OK);
    for (const Case &c : cases) {
      RECT to = c.to;
      if (!clipped) {  // without a clipper the rectangle must lie on the surface
        EXPECT_EQ(Fill(dest, &to, 1), DDERR_INVALIDRECT) << c.what;
        EXPECT_EQ(Copy(dest, &to, src, nullptr), DDERR_INVALIDRECT) << c.what;
        continue;
      }
      ASSERT_EQ(Fill(dest, nullptr, 0), DD_OK);
      ASSERT_EQ(Copy(dest, &to, src, nullptr), DD_OK) << c.what;
      std::vector<uint32_t> got = Read(dest, 20, 20, 2);
      int64_t dw = int64_t(to.right) - to.left, dh = int64_t(to.bottom) - to.top;
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
          uint32_t want = 0;
          if (In(to, x, y)) {
            int64_t sx = (x - int64_t(to.left)) * 8 / dw, sy = (y - int64_t(to.top)) * 8 / dh;
            want = uint32_t(0x100 + sx + 16 * sy);
          }
          ASSERT_EQ(got[y * 20 + x], want) << c.what << " " << x << "," << y;
        }
      ASSERT_EQ(Fill(dest, &to, 0x2222), DD_OK) << c.what;
      got = Read(dest, 20, 20, 2);
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(got[y * 20 + x], In(to, x, y) ? 0x2222u : 0u) << c.what;
    }
  }
  clipper->lpVtbl->Release(clipper);
  Release(src);
  Release(dest);
}

TEST_F(Blits, RefusalsFollowThePlatform) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE plain, other, z, wide, lostOne;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &plain), DD_OK);
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8), &other), DD_OK);
  ASSERT_EQ(Create(dd, ZDesc(0, 8, 8, 16), &z), DD_OK);
  DDSURFACEDESC d32 = Desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
  d32.dwFlags |= DDSD_PIXELFORMAT;
  d32.ddpfPixelFormat = Argb32();
  ASSERT_EQ(Create(dd, d32, &wide), DD_OK);
  DDBLTFX fx = {};
  fx.dwSize = sizeof fx;
  DDBLTFX badFx = fx;
  badFx.dwSize = 99;
  RECT outside = {4, 4, 9, 8}, empty = {4, 4, 4, 8}, inverted = {4, 4, 2, 8};
  auto blt = [](LPDIRECTDRAWSURFACE d, RECT *to, LPDIRECTDRAWSURFACE s, RECT *from, DWORD flags,
                DDBLTFX *f) { return d->lpVtbl->Blt(d, to, s, from, flags, f); };
  struct Case {
    const char *what;
    HRESULT got, want;
  } const cases[] = {
      {"fill without fx", blt(plain, nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr),
       DDERR_INVALIDPARAMS},
      {"fx of the wrong size", blt(plain, nullptr, nullptr, nullptr, DDBLT_COLORFILL, &badFx),
       DDERR_INVALIDPARAMS},
      {"both fills", blt(z, nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_DEPTHFILL, &fx),
       DDERR_INVALIDPARAMS},
      {"depth fill of colour", blt(plain, nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fx),
       DDERR_INVALIDPARAMS},
      {"colour fill of depth", blt(z, nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS},
      {"fill with a source", blt(plain, nullptr, other, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS},
      {"copy without a source", blt(plain, nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr),
       DDERR_INVALIDPARAMS},
      {"colour keys", blt(plain, nullptr, other, nullptr, DDBLT_KEYSRC, nullptr), DDERR_UNSUPPORTED},
      {"destination off the surface", blt(plain, &outside, other, nullptr, 0, nullptr), DDERR_INVALIDRECT},
      {"source off the surface", blt(plain, nullptr, other, &outside, 0, nullptr), DDERR_INVALIDRECT},
      {"empty rectangle", blt(plain, &empty, other, nullptr, 0, nullptr), DDERR_INVALIDRECT},
      {"inverted rectangle", blt(plain, nullptr, other, &inverted, 0, nullptr), DDERR_INVALIDRECT},
      {"other pixel size", blt(plain, nullptr, wide, nullptr, 0, nullptr), DDERR_INVALIDPIXELFORMAT},
      {"depth to colour", blt(plain, nullptr, z, nullptr, 0, nullptr), DDERR_INVALIDPIXELFORMAT},
      {"a good copy", blt(plain, nullptr, other, nullptr, DDBLT_WAIT | DDBLT_ASYNC, nullptr), DD_OK},
  };
  for (const Case &c : cases) EXPECT_EQ(c.got, c.want) << c.what;

  // A locked surface is busy, as destination and as source.
  DDSURFACEDESC locked;
  ASSERT_EQ(Lock(other, nullptr, &locked), DD_OK);
  EXPECT_EQ(Copy(plain, nullptr, other, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(Copy(other, nullptr, plain, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(Fill(other, nullptr, 0), DDERR_SURFACEBUSY);
  Unlock(other, nullptr);
  // A lost one is lost either way.
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 8, 8), &lostOne), DD_OK);
  PlatformLoseSurfaces();
  EXPECT_EQ(Copy(plain, nullptr, lostOne, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(Copy(lostOne, nullptr, plain, nullptr), DDERR_SURFACELOST);
  for (LPDIRECTDRAWSURFACE s : {plain, other, z, wide, lostOne}) Release(s);
}

// The screen may be locked by other programs while a blit draws to it.
TEST_F(Blits, TheScreenTakesBlitsWhileOthersHoldLocks) {
  DirectDraw dd;
  LPDIRECTDRAWSURFACE primary = Primary(dd), src;
  ASSERT_EQ(Create(dd, Desc(DDSCAPS_OFFSCREENPLAIN, 4, 4), &src), DD_OK);
  ASSERT_EQ(Fill(src, nullptr, 0x4321), DD_OK);
  std::atomic<bool> locked{false}, done{false};
  std::thread holder([&] {
    DDSURFACEDESC d;
    EXPECT_EQ(Lock(primary, nullptr, &d), DD_OK);
    locked = true;
    while (!done) std::this_thread::yield();
    EXPECT_EQ(Unlock(primary, d.lpSurface), DD_OK);
  });
  while (!locked) std::this_thread::yield();
  RECT to = {100, 100, 104, 104};
  EXPECT_EQ(Copy(primary, &to, src, nullptr), DD_OK);
  done = true;
  holder.join();
  DDSURFACEDESC d;
  ASSERT_EQ(Lock(primary, nullptr, &d), DD_OK);
  EXPECT_EQ(Pixel(d, 103, 103, 2), 0x4321u);
  EXPECT_EQ(Pixel(d, 104, 103, 2), 0u);
  Unlock(primary, nullptr);
  Release(src);
  Release(primary);
}

}  // namespace

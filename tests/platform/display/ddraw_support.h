// Small helpers for the DirectDraw tests: a fixture that resets the display,
// an object at the normal cooperative level, surface descriptions, and short
// forms of the methods.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "platform/control.h"
#include "platform/ddraw.h"
#include "platform/vlxdesktop.h"

namespace ddtest {

// The state every test starts from and leaves behind.
inline void ResetDisplay() {
  PlatformClearFaults();
  ASSERT_TRUE(PlatformSetVideoMemorySize(64u << 20));  // room for any screen first
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  ASSERT_TRUE(PlatformSetVideoMemorySize(8u << 20));
  ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(0));
  ASSERT_TRUE(PlatformSetTexturePitchPadding(0));
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDisplay(); }
  void TearDown() override { ResetDisplay(); }
};

struct DirectDraw {
  LPDIRECTDRAW dd = nullptr;
  DirectDraw() {
    EXPECT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    if (dd) {
      EXPECT_EQ(dd->lpVtbl->SetCooperativeLevel(dd, nullptr, DDSCL_NORMAL), DD_OK);
    }
  }
  ~DirectDraw() {
    if (dd) dd->lpVtbl->Release(dd);
  }
  DirectDraw(const DirectDraw &) = delete;
  DirectDraw &operator=(const DirectDraw &) = delete;
  LPDIRECTDRAW operator->() const { return dd; }
};

inline DDSURFACEDESC Desc(DWORD caps, int width = 0, int height = 0) {
  DDSURFACEDESC d = {};
  d.dwSize = sizeof d;
  d.dwFlags = DDSD_CAPS;
  d.ddsCaps.dwCaps = caps;
  if (width) d.dwFlags |= DDSD_WIDTH, d.dwWidth = width;
  if (height) d.dwFlags |= DDSD_HEIGHT, d.dwHeight = height;
  return d;
}

inline DDSURFACEDESC ZDesc(DWORD caps, int width, int height, DWORD depth) {
  DDSURFACEDESC d = Desc(caps | DDSCAPS_ZBUFFER, width, height);
  d.dwFlags |= DDSD_ZBUFFERBITDEPTH;
  d.dwZBufferBitDepth = depth;
  return d;
}

inline DDPIXELFORMAT Rgb(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a = 0) {
  DDPIXELFORMAT f = {};
  f.dwSize = sizeof f;
  f.dwFlags = DDPF_RGB | (a ? DDPF_ALPHAPIXELS : 0);
  f.dwRGBBitCount = bits;
  f.dwRBitMask = r, f.dwGBitMask = g, f.dwBBitMask = b, f.dwRGBAlphaBitMask = a;
  return f;
}

// The format of the texture manager's surfaces.
inline DDPIXELFORMAT Argb32() {
  DDPIXELFORMAT f = Rgb(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  f.dwFlags = DDPF_RGB;
  return f;
}

inline DDSURFACEDESC TextureDesc(DWORD caps, int side, DWORD mipCount = 0) {
  DDSURFACEDESC d = Desc(caps, side, side);
  d.dwFlags |= DDSD_PIXELFORMAT;
  d.ddpfPixelFormat = Argb32();
  if (mipCount) d.dwFlags |= DDSD_MIPMAPCOUNT, d.dwMipMapCount = mipCount;
  return d;
}

inline HRESULT Create(const DirectDraw &dd, DDSURFACEDESC desc, LPDIRECTDRAWSURFACE *out) {
  *out = nullptr;
  return dd->lpVtbl->CreateSurface(dd.dd, &desc, out, nullptr);
}

inline LPDIRECTDRAWSURFACE Primary(const DirectDraw &dd) {
  LPDIRECTDRAWSURFACE s = nullptr;
  EXPECT_EQ(Create(dd, Desc(DDSCAPS_PRIMARYSURFACE), &s), DD_OK);
  return s;
}

inline DDSURFACEDESC Describe(LPDIRECTDRAWSURFACE s) {
  DDSURFACEDESC d = {};
  d.dwSize = sizeof d;
  EXPECT_EQ(s->lpVtbl->GetSurfaceDesc(s, &d), DD_OK);
  return d;
}

inline HRESULT Lock(LPDIRECTDRAWSURFACE s, RECT *rect, DDSURFACEDESC *desc) {
  std::memset(desc, 0, sizeof *desc);
  desc->dwSize = sizeof *desc;
  return s->lpVtbl->Lock(s, rect, desc, DDLOCK_WAIT, nullptr);
}

inline HRESULT Unlock(LPDIRECTDRAWSURFACE s, void *address) { return s->lpVtbl->Unlock(s, address); }

inline ULONG Release(LPDIRECTDRAWSURFACE s) { return s->lpVtbl->Release(s); }

inline HRESULT Fill(LPDIRECTDRAWSURFACE s, RECT *rect, DWORD color) {
  DDBLTFX fx = {};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = color;
  return s->lpVtbl->Blt(s, rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

inline HRESULT Copy(LPDIRECTDRAWSURFACE dest, RECT *destRect, LPDIRECTDRAWSURFACE src, RECT *srcRect) {
  return dest->lpVtbl->Blt(dest, destRect, src, srcRect, DDBLT_WAIT, nullptr);
}

// Reads one pixel of 1 to 4 bytes from a locked surface.
inline uint32_t Pixel(const DDSURFACEDESC &locked, int x, int y, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, static_cast<uint8_t *>(locked.lpSurface) + y * locked.lPitch + x * bytes, bytes);
  return v;
}

}  // namespace ddtest

// What the GDI tests share: DIB headers, a 32-bit memory device context and
// a rectangle-list predicate.
#pragma once

#include <string.h>

#include <vector>

#include "tests/platform/windows/desktop_fixture.h"

namespace gdi_test {

using Gdi = DesktopTest;

struct Info {
  BITMAPINFOHEADER h;
  union {
    RGBQUAD colors[256];
    DWORD masks[3];
    WORD indices[256];
  };
};

inline Info Header(int bitCount, int width, int height, DWORD compression = BI_RGB) {
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

inline HBITMAP Dib(const Info &info, void **bits, HDC dc = nullptr, UINT usage = DIB_RGB_COLORS) {
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
inline bool Inside(const std::vector<RECT> &rects, LONG x, LONG y) {
  for (const RECT &r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

}  // namespace gdi_test

// What the window-system tests share: windows that go after each test, the
// display back in its default mode, and rectangles that compare and print.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include <string.h>

#include "platform/control.h"
#include "platform/dci.h"
#include "platform/ddraw.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"

inline bool operator==(const RECT &a, const RECT &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT &r, std::ostream *out) {
  *out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

class DesktopTest : public ::testing::Test {
 protected:
  void TearDown() override {
    PlatformClearFaults();
    for (HWND w : windows_)
      if (IsWindow(w)) DestroyWindow(w);
    DesktopSetDisplayMode(16, 1024, 768);
    DesktopPumpMessages();
  }

  HWND Window(int x, int y, int width, int height) {
    HWND hwnd = DesktopCreateWindow(x, y, width, height);
    EXPECT_NE(hwnd, nullptr);
    windows_.push_back(hwnd);
    return hwnd;
  }

  std::vector<HWND> windows_;
};

// A window's visible rectangles on the screen, as WinWatch hands them out.
inline std::vector<RECT> VisibleRects(HWND hwnd, RECT *clip = nullptr) {
  HWINWATCH watch = WinWatchOpen(hwnd);
  if (watch == nullptr) return {};
  UINT size = WinWatchGetClipList(watch, clip, 0, nullptr);
  std::vector<char> block(size);
  UINT filled = WinWatchGetClipList(watch, clip, size, reinterpret_cast<RGNDATA *>(block.data()));
  WinWatchClose(watch);
  EXPECT_EQ(filled, size);
  if (size < sizeof(RGNDATAHEADER)) return {};
  const RGNDATA *data = reinterpret_cast<const RGNDATA *>(block.data());
  const RECT *rects = reinterpret_cast<const RECT *>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

// The window's whole client area read back from the screen.
inline std::vector<unsigned> ReadAll(HWND hwnd) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(hwnd, &client);
  std::vector<unsigned> pixels(static_cast<size_t>(client.right) * client.bottom);
  EXPECT_TRUE(DesktopReadWindow(hwnd, 0, 0, client.right, client.bottom, pixels.data()));
  return pixels;
}

// The display mode as DirectDraw reports it.
inline DDSURFACEDESC DisplayMode() {
  DDSURFACEDESC desc;
  memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  LPDIRECTDRAW dd = nullptr;
  if (DirectDrawCreate(nullptr, &dd, nullptr) == DD_OK) {
    dd->lpVtbl->GetDisplayMode(dd, &desc);
    dd->lpVtbl->Release(dd);
  }
  return desc;
}

// A DirectDraw object at the normal cooperative level and its primary
// surface; false when either cannot be had.
inline bool OpenPrimary(LPDIRECTDRAW *dd, LPDIRECTDRAWSURFACE *primary) {
  *dd = nullptr;
  *primary = nullptr;
  if (DirectDrawCreate(nullptr, dd, nullptr) != DD_OK) return false;
  (*dd)->lpVtbl->SetCooperativeLevel(*dd, nullptr, DDSCL_NORMAL);
  DDSURFACEDESC desc;
  memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  return (*dd)->lpVtbl->CreateSurface(*dd, &desc, primary, nullptr) == DD_OK;
}

// The screen's address as DirectDraw's primary surface gives it, and the
// primary's pixel format when asked.
inline uint8_t *PrimaryAddress(DDPIXELFORMAT *format = nullptr) {
  LPDIRECTDRAW dd;
  LPDIRECTDRAWSURFACE primary;
  uint8_t *address = nullptr;
  if (OpenPrimary(&dd, &primary)) {
    DDSURFACEDESC locked;
    memset(&locked, 0, sizeof locked);
    locked.dwSize = sizeof locked;
    if (primary->lpVtbl->Lock(primary, nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK) {
      address = static_cast<uint8_t *>(locked.lpSurface);
      primary->lpVtbl->Unlock(primary, locked.lpSurface);
    }
    if (format) {
      memset(format, 0, sizeof *format);
      format->dwSize = sizeof *format;
      if (primary->lpVtbl->GetPixelFormat(primary, format) != DD_OK) address = nullptr;
    }
    primary->lpVtbl->Release(primary);
  }
  if (dd) dd->lpVtbl->Release(dd);
  return address;
}

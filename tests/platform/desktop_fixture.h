// What the window-system tests share: windows that go after each test, the
// display back in its default mode, and rectangles that compare and print.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "platform/control.h"
#include "platform/dci.h"
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

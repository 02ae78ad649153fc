// Two desktop windows with a double-buffered 16-bit RGBA pixel format set
// on each, for programs that drive the driver through the loader as an
// application does. The display mode is set first; the driver is unloaded
// when the windows go.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/gdi.h"
#include "platform/vlxdesktop.h"

#include <GL/gl.h>

// One unit a pixel from the window's bottom left corner, no dithering.
inline void UsePixelCoordinates(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

class LoaderWindows : public testing::Test {
 protected:
  // Windows of width x height, side by side; depthBits 0 asks for no depth,
  // stencilBits 0 for no stencil.
  void OpenWindows(int width, int height, int depthBits, int stencilBits = 0) {
    ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
    for (int i = 0; i < 2; ++i) {
      hwnd_[i] = DesktopCreateWindow(10 + 100 * i, 10, width, height);
      ASSERT_NE(hwnd_[i], nullptr);
      hdc_[i] = GetDC(hwnd_[i]);
      PIXELFORMATDESCRIPTOR pfd = {};
      pfd.nSize = sizeof pfd;
      pfd.nVersion = 1;
      pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
      pfd.iPixelType = PFD_TYPE_RGBA;
      pfd.cColorBits = 16;
      pfd.cDepthBits = BYTE(depthBits);
      pfd.cStencilBits = BYTE(stencilBits);
      const int format = ChoosePixelFormat(hdc_[i], &pfd);
      ASSERT_NE(format, 0);
      ASSERT_TRUE(SetPixelFormat(hdc_[i], format, &pfd));
    }
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    for (int i = 0; i < 2; ++i) {
      if (hwnd_[i] == nullptr) continue;
      ReleaseDC(hwnd_[i], hdc_[i]);
      DestroyWindow(hwnd_[i]);
    }
    VlxGlUnloadDriver();
  }

  HWND hwnd_[2] = {};
  HDC hdc_[2] = {};
};

#ifdef VLX_SOFT_DRIVER_PATH
#include <stdlib.h>

// One desktop window with an 8-bit colour-index format, for tests that
// define VLX_SOFT_DRIVER_PATH: the SiS device offers RGBA formats only, so
// the software-only device's driver is loaded. The display is 8 bits deep
// and the system palette gives every index its own red (index i shows as
// red i), so the shown colour names the index.
class LoaderIndexWindow : public testing::Test {
 protected:
  void OpenIndexWindow(int width, int height) {
    setenv("VLX_GL_DRIVER", VLX_SOFT_DRIVER_PATH, 1);
    ASSERT_TRUE(DesktopSetDisplayMode(8, 1024, 768));
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; i++) entries[i] = {BYTE(i), BYTE(255 - i), 0x40, 0};
    ASSERT_TRUE(DesktopSetSystemPalette(0, 256, entries));
    hwnd_ = DesktopCreateWindow(10, 10, width, height);
    ASSERT_NE(hwnd_, nullptr);
    hdc_ = GetDC(hwnd_);
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (rc_ != nullptr) {
      EXPECT_TRUE(wglDeleteContext(rc_));
    }
    if (hwnd_ != nullptr) {
      ReleaseDC(hwnd_, hdc_);
      DestroyWindow(hwnd_);
    }
    VlxGlUnloadDriver();
    unsetenv("VLX_GL_DRIVER");
    EXPECT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  }

  // A colour-index format of 8 bits, single- or double-buffered, made current.
  void UseIndexFormat(bool doubleBuffer) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                  (doubleBuffer ? DWORD(PFD_DOUBLEBUFFER) : DWORD(0));
    pfd.iPixelType = PFD_TYPE_COLORINDEX;
    pfd.cColorBits = 8;
    const int format = ChoosePixelFormat(hdc_, &pfd);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(DescribePixelFormat(hdc_, format, sizeof pfd, &pfd));
    ASSERT_EQ(pfd.iPixelType, PFD_TYPE_COLORINDEX);
    ASSERT_EQ(pfd.cColorBits, 8);
    ASSERT_EQ((pfd.dwFlags & PFD_DOUBLEBUFFER) != 0, doubleBuffer);
    ASSERT_TRUE(SetPixelFormat(hdc_, format, &pfd));
    rc_ = wglCreateContext(hdc_);
    ASSERT_NE(rc_, nullptr);
    ASSERT_TRUE(wglMakeCurrent(hdc_, rc_));
  }

  HWND hwnd_ = nullptr;
  HDC hdc_ = nullptr;
  HGLRC rc_ = nullptr;
};
#endif

// The surfaces locked and unlocked since the platform began recording.
inline std::string SurfaceLockRecord() {
  std::vector<char> text(PlatformSurfaceLockRecord(nullptr, 0));
  PlatformSurfaceLockRecord(text.data(), text.size());
  return std::string(text.data());
}

// `kind` is locked in the record and unlocked after.
inline void ExpectLockedAround(const std::string &record, const std::string &kind) {
  const size_t lock = record.find("lock " + kind + "\n");
  ASSERT_NE(lock, std::string::npos) << record;
  EXPECT_NE(record.find("unlock " + kind + "\n", lock), std::string::npos) << record;
}

// The windows, with a context current on the first, drawing in pixel
// coordinates.
class LoaderContext : public LoaderWindows {
 protected:
  void OpenContext(int width, int height) {
    OpenWindows(width, height, 0);
    rc_ = wglCreateContext(hdc_[0]);
    ASSERT_NE(rc_, nullptr);
    ASSERT_TRUE(wglMakeCurrent(hdc_[0], rc_));
    UsePixelCoordinates(width, height);
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (rc_ != nullptr) wglDeleteContext(rc_);
    LoaderWindows::TearDown();
  }

  HGLRC rc_ = nullptr;
};

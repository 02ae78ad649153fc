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
  // Windows of width x height, side by side; depthBits 0 asks for no depth.
  void OpenWindows(int width, int height, int depthBits) {
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

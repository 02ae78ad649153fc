// Two desktop windows with a double-buffered 16-bit RGBA pixel format set
// on each, for programs that drive the driver through the loader as an
// application does. The display mode is set first; the driver is unloaded
// when the windows go.
#pragma once

#include <gtest/gtest.h>

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

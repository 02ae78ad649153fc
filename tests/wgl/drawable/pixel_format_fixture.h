// A window and its device context for the pixel-format tests, with the
// display mode and the pixel-format list put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_pixel_format.h"

namespace pixel_format_test {

class PixelFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    __wglCreateMutex();
    window_ = DesktopCreateWindow(0, 0, 32, 32);
    ASSERT_NE(window_, nullptr);
    dc_ = GetDC(window_);
  }
  void TearDown() override {
    PlatformClearFaults();
    __wglInvalidatePixelFormatList();
    DesktopSetDisplayMode(16, 1024, 768);
    ReleaseDC(window_, dc_);
    DestroyWindow(window_);
    __wglDestroyMutex();
  }
  void SetMode(int mode) { ASSERT_TRUE(DesktopSetDisplayMode(mode, 1024, 768)); }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace pixel_format_test

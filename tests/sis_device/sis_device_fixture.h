// A window and its device context on a chosen display mode, with the
// layer's lock, for the SiS device's tests; the SiS list, the display mode
// and any fault are put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "sis/sis_device.h"
#include "wgl/wgl_global_lock.h"

namespace sis_device_test {

class SiSDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    __wglCreateMutex();
    window_ = DesktopCreateWindow(0, 0, 32, 32);
    ASSERT_NE(window_, nullptr);
    dc_ = GetDC(window_);
    __wglSiSInvalidatePixelFormatList();
  }
  void TearDown() override {
    PlatformClearFaults();
    __wglSiSInvalidatePixelFormatList();
    DesktopSetDisplayMode(16, 1024, 768);
    ReleaseDC(window_, dc_);
    DestroyWindow(window_);
    __wglDestroyMutex();
  }
  void SetMode(int mode) { ASSERT_TRUE(DesktopSetDisplayMode(mode, 1024, 768)); }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace sis_device_test

// The pixel-format tests' window and device context, for the SiS device's
// tests: its list is also put back afterwards. And the words of an SiS row
// that no display edits.
#pragma once

#include <gtest/gtest.h>

#include "sis/sis_device.h"
#include "tests/wgl/drawable/pixel_format_fixture.h"

namespace sis_device_test {

class SiSDeviceTest : public pixel_format_test::PixelFormatTest {
 protected:
  void SetUp() override {
    PixelFormatTest::SetUp();
    __wglSiSInvalidatePixelFormatList();
  }
  void TearDown() override {
    __wglSiSInvalidatePixelFormatList();
    PixelFormatTest::TearDown();
  }
};

// 16-bit RGBA with a 64-bit accumulation buffer, 16 depth and 8 stencil
// bits, in the main plane.
inline void ExpectSiSRowWords(const PIXELFORMATDESCRIPTOR &r) {
  EXPECT_EQ(r.nSize, 40);
  EXPECT_EQ(r.nVersion, 1);
  EXPECT_EQ(r.iPixelType, PFD_TYPE_RGBA);
  EXPECT_EQ(r.cColorBits, 16);
  EXPECT_EQ(r.cAccumBits, 64);
  EXPECT_EQ(r.cAccumRedBits, 16);
  EXPECT_EQ(r.cAccumGreenBits, 16);
  EXPECT_EQ(r.cAccumBlueBits, 16);
  EXPECT_EQ(r.cAccumAlphaBits, 16);
  EXPECT_EQ(r.cDepthBits, 16);
  EXPECT_EQ(r.cStencilBits, 8);
  EXPECT_EQ(r.cAuxBuffers, 0);
  EXPECT_EQ(r.iLayerType, PFD_MAIN_PLANE);
  EXPECT_EQ(r.bReserved, 0);
  EXPECT_EQ(r.dwLayerMask, 0u);
  EXPECT_EQ(r.dwVisibleMask, 0u);
  EXPECT_EQ(r.dwDamageMask, 0u);
}

}  // namespace sis_device_test

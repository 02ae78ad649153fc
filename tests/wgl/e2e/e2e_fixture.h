// What the end-to-end tests share: a driver library loaded through the loader
// (the software-only one unless a test picks the driver beside the loader,
// whose live device is the SiS device); windows and memory device contexts
// with pixel formats and contexts that go afterwards; the display put back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/e2e/e2e_image.h"

// Test names from the rows' `name` fields.
struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row> &info) const {
    return info.param.name;
  }
};

// A window with a pixel format and a context current on the calling thread.
struct GlWindow {
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;
  int pixelFormat = 0;
  PIXELFORMATDESCRIPTOR pfd{};
};

// The driver library the loader opens.
enum class E2eDriver {
  kSoft,  // the software-only device: the generic list, DCI, every display
  kSiS,   // the driver beside the loader, as an application finds it
};

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Unloads the driver; the next call that needs one loads `driver`.
  void UseDriver(E2eDriver driver);

  // The display mode for the test; 15 is the 5-5-5 mode.
  void SetDisplay(int bitsPerPixel, int width = 1024, int height = 768);
  // The first pixel format that has `flags`, PFD_SUPPORT_OPENGL, RGBA, the
  // double-buffer bit exactly as in `flags`, and the bit counts asked for;
  // 0 when there is none.
  int FindFormat(HDC hdc, DWORD flags, int colorBits, int depthBits, PIXELFORMATDESCRIPTOR *pfd);
  // A window at (x, y) with a pixel format of the display's colour depth and
  // a context current on it; false (with a failure added) when any step
  // fails.
  bool OpenWindow(int x, int y, int width, int height, bool doubleBuffer, int depthBits,
                  GlWindow *window);
  // A window without a pixel format, painted in stripes of colour.
  HWND OpenPaintedWindow(int x, int y, int width, int height);
  // A memory device context kept until the end of the test.
  HDC MemoryDC();

  // Draws the scene into the viewport and shows it (SwapBuffers when the
  // format is double-buffered).
  void DrawAndShow(const GlWindow &window, int viewportWidth, int viewportHeight);
  // The window's client area equals the reference drawn for its pixel
  // format, size, origin and the viewport, outside the covered rectangles
  // (client coordinates).
  ::testing::AssertionResult ShowsScene(const GlWindow &window, int viewportWidth,
                                        int viewportHeight, const std::vector<RECT> &covered = {});
  // The window's client pixels as the screen shows them.
  std::vector<uint32_t> ReadWindow(HWND hwnd);

  int displayBits_ = 16;
  E2eDriver driver_ = E2eDriver::kSoft;
  // Whether the SiS device's chip draws the window's triangles (its
  // buffers are in video memory), so the reference is the generic path's.
  bool chipDraws_ = true;

 private:
  std::vector<GlWindow> windows_;
  std::vector<HWND> plainWindows_;
  std::vector<HDC> memoryDCs_;
};

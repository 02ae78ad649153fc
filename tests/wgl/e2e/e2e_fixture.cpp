#include "tests/wgl/e2e/e2e_fixture.h"

#include <stdlib.h>

#include "platform/control.h"
#include "platform/sis6326.h"
#include "tests/wgl/e2e/e2e_scene.h"

namespace {

constexpr DWORD kDefaultVideoMemory = 8u << 20;

}  // namespace

void E2eTest::SetUp() {
  // Most of these tests are about the generic formats and buffer kinds.
  UseDriver(E2eDriver::kSoft);
  unsetenv("VLX_SOFT_BUFFER_SET");
  PlatformClearFaults();
  SetDisplay(16);
  PlatformClearDebugOutput();
}

void E2eTest::TearDown() {
  wglMakeCurrent(nullptr, nullptr);
  for (GlWindow &w : windows_) {
    if (w.context) {
      EXPECT_TRUE(wglDeleteContext(w.context));
    }
    ReleaseDC(w.hwnd, w.hdc);
    DestroyWindow(w.hwnd);
  }
  for (HWND hwnd : plainWindows_) DestroyWindow(hwnd);
  for (HDC hdc : memoryDCs_) DeleteDC(hdc);
  VlxGlUnloadDriver();
  PlatformClearFaults();
  unsetenv("VLX_SOFT_BUFFER_SET");
  unsetenv("VLX_GL_DRIVER");
  EXPECT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  EXPECT_TRUE(PlatformSetVideoMemorySize(kDefaultVideoMemory));
}

void E2eTest::UseDriver(E2eDriver driver) {
  VlxGlUnloadDriver();
  driver_ = driver;
  if (driver == E2eDriver::kSoft)
    setenv("VLX_GL_DRIVER", VLX_SOFT_DRIVER_PATH, 1);
  else
    unsetenv("VLX_GL_DRIVER");
}

void E2eTest::SetDisplay(int bitsPerPixel, int width, int height) {
  ASSERT_TRUE(DesktopSetDisplayMode(bitsPerPixel, width, height)) << bitsPerPixel << " bits";
  displayBits_ = bitsPerPixel;
}

int E2eTest::FindFormat(HDC hdc, DWORD flags, int colorBits, int depthBits,
                        PIXELFORMATDESCRIPTOR *pfd) {
  const DWORD wanted = flags | PFD_SUPPORT_OPENGL;
  const int count = DescribePixelFormat(hdc, 1, sizeof *pfd, pfd);
  for (int i = 1; i <= count; i++) {
    if (!DescribePixelFormat(hdc, i, sizeof *pfd, pfd)) break;
    if ((pfd->dwFlags & wanted) == wanted &&
        (pfd->dwFlags & PFD_DOUBLEBUFFER) == (flags & PFD_DOUBLEBUFFER) &&
        pfd->iPixelType == PFD_TYPE_RGBA && pfd->cColorBits == colorBits &&
        pfd->cDepthBits == depthBits)
      return i;
  }
  return 0;
}

bool E2eTest::OpenWindow(int x, int y, int width, int height, bool doubleBuffer, int depthBits,
                         GlWindow *window) {
  GlWindow w;
  w.hwnd = DesktopCreateWindow(x, y, width, height);
  if (w.hwnd == nullptr) return ADD_FAILURE() << "DesktopCreateWindow", false;
  w.hdc = GetDC(w.hwnd);
  windows_.push_back(w);
  const int colorBits = displayBits_ == 15 ? 16 : displayBits_;
  const DWORD flags = PFD_DRAW_TO_WINDOW | (doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  w.pixelFormat = FindFormat(w.hdc, flags, colorBits, depthBits, &w.pfd);
  if (w.pixelFormat == 0)
    return ADD_FAILURE() << "no window format of " << colorBits << " colour and " << depthBits
                         << " depth bits, " << (doubleBuffer ? "double" : "single")
                         << "-buffered; last error " << GetLastError(),
           false;
  if (!SetPixelFormat(w.hdc, w.pixelFormat, &w.pfd))
    return ADD_FAILURE() << "SetPixelFormat " << w.pixelFormat << ": " << GetLastError(), false;
  w.context = wglCreateContext(w.hdc);
  windows_.back() = w;
  if (w.context == nullptr)
    return ADD_FAILURE() << "wglCreateContext: last error 0x" << std::hex << GetLastError(), false;
  if (!wglMakeCurrent(w.hdc, w.context))
    return ADD_FAILURE() << "wglMakeCurrent: last error 0x" << std::hex << GetLastError(), false;
  *window = w;
  return true;
}

HWND E2eTest::OpenPaintedWindow(int x, int y, int width, int height) {
  HWND hwnd = DesktopCreateWindow(x, y, width, height);
  if (hwnd == nullptr) return nullptr;
  plainWindows_.push_back(hwnd);
  HDC hdc = GetDC(hwnd);
  static const COLORREF kStripes[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                      RGB(255, 255, 255), RGB(128, 64, 32)};
  const int stripe = 7;
  for (int top = 0, i = 0; top < height; top += stripe, i++) {
    HBRUSH brush = CreateSolidBrush(kStripes[i % 5]);
    RECT r = {0, top, width, top + stripe};
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
  }
  ReleaseDC(hwnd, hdc);
  return hwnd;
}

HDC E2eTest::MemoryDC() {
  HDC hdc = CreateCompatibleDC(nullptr);
  EXPECT_NE(hdc, nullptr);
  memoryDCs_.push_back(hdc);
  return hdc;
}

void E2eTest::DrawAndShow(const GlWindow &window, int viewportWidth, int viewportHeight) {
  DrawE2eScene(viewportWidth, viewportHeight);
  if (window.pfd.dwFlags & PFD_DOUBLEBUFFER) {
    EXPECT_TRUE(SwapBuffers(window.hdc));
  }
}

std::vector<uint32_t> E2eTest::ReadWindow(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  std::vector<uint32_t> argb(size_t(client.right) * size_t(client.bottom));
  EXPECT_TRUE(DesktopReadWindow(hwnd, 0, 0, client.right, client.bottom, argb.data()));
  return argb;
}

::testing::AssertionResult E2eTest::ShowsScene(const GlWindow &window, int viewportWidth,
                                               int viewportHeight,
                                               const std::vector<RECT> &covered) {
  RECT client{};
  GetClientRect(window.hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(window.hwnd, &origin);
  const int width = client.right, height = client.bottom;
  std::vector<uint32_t> shown = ReadWindow(window.hwnd);
  for (uint32_t &p : shown) p = NativeFromArgb(p, window.pfd);
  // Window buffers run from the top of the screen down.
  std::vector<uint32_t> expected;
  std::string why;
  // The chip model follows the software rasterizer's exact rules, which the
  // generic path keeps; the fast path snaps vertices to 1/16 pixel and is
  // held to the generic path by the path-agreement tests. Where the SiS
  // device draws in software, it takes the fast path as the reference does.
  const bool generic = driver_ == E2eDriver::kSiS && chipDraws_;
  if (!DrawReference(RequestFor(window.pfd, width, height, viewportWidth, viewportHeight,
                                origin.x, origin.y, true),
                     &expected, &why, generic))
    return ::testing::AssertionFailure() << why;
  // The SiS device clears through the chip's 2D engine, which truncates and
  // does not dither: within one unit of the software clear.
  const PIXELFORMATDESCRIPTOR *oneUnit = driver_ == E2eDriver::kSiS ? &window.pfd : nullptr;
  ::testing::AssertionResult same =
      SameImage(expected, shown, width, height, ColorMask(window.pfd), covered, oneUnit);
  // Whatever the chip drew, it drew by the model's rules.
  const size_t violations = driver_ == E2eDriver::kSiS ? PlatformSiS6326Violations(nullptr, 0) : 0;
  if (same && violations != 0)
    return ::testing::AssertionFailure() << violations << " chip model violations";
  if (same) return same;
  // Say whether the other row order would have matched.
  std::vector<uint32_t> other;
  if (DrawReference(RequestFor(window.pfd, width, height, viewportWidth, viewportHeight,
                               origin.x, origin.y, false),
                    &other, &why, generic) &&
      SameImage(other, shown, width, height, ColorMask(window.pfd), covered))
    same << " (the bottom-up reference matches)";
  return same;
}

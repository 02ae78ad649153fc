#include "tests/wgl/missing_buffers/missing_fixture.h"

#include <stdio.h>
#include <string.h>

#include "platform/control.h"

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", unsigned(value));
  return text;
}

}  // namespace

void MissingBuffersTest::SetUp() {
  E2eTest::SetUp();
  UseDriver(Device());
}

void MissingBuffersTest::CloseWindows() {
  wglMakeCurrent(nullptr, nullptr);
  for (GlWindow &w : opened_) {
    if (w.context) wglDeleteContext(w.context);
    if (w.hwnd) {
      ReleaseDC(w.hwnd, w.hdc);
      DestroyWindow(w.hwnd);
    }
  }
  opened_.clear();
}

void MissingBuffersTest::TearDown() {
  PlatformClearFaults();
  CloseWindows();
  E2eTest::TearDown();
  for (HBITMAP b : sections_) DeleteObject(b);
}

std::string DeviceName(const ::testing::TestParamInfo<E2eDriver> &info) {
  return info.param == E2eDriver::kSoft ? "Soft" : "SiS";
}

int MissingBuffersTest::FindFormatFor(HDC hdc, const FormatNeeds &needs,
                                      PIXELFORMATDESCRIPTOR *pfd) {
  const DWORD wanted = (needs.flags & ~DWORD(PFD_DOUBLEBUFFER)) | PFD_SUPPORT_OPENGL;
  const int count = DescribePixelFormat(hdc, 1, sizeof *pfd, pfd);
  for (int i = 1; i <= count; i++) {
    if (!DescribePixelFormat(hdc, i, sizeof *pfd, pfd)) break;
    if ((pfd->dwFlags & wanted) != wanted ||
        (pfd->dwFlags & PFD_DOUBLEBUFFER) != (needs.flags & PFD_DOUBLEBUFFER) ||
        pfd->iPixelType != needs.pixelType ||
        (needs.colorBits != 0 && pfd->cColorBits != needs.colorBits))
      continue;
    if (needs.ancillary && (pfd->cDepthBits == 0 || pfd->cStencilBits == 0 ||
                            (needs.pixelType == PFD_TYPE_RGBA && pfd->cAccumBits == 0)))
      continue;
    return i;
  }
  return 0;
}

bool MissingBuffersTest::OpenWindowWithEverything(int x, int y, int width, int height,
                                                  bool doubleBuffer, GlWindow *window,
                                                  bool bind) {
  GlWindow w;
  w.hwnd = DesktopCreateWindow(x, y, width, height);
  if (w.hwnd == nullptr) return ADD_FAILURE() << "DesktopCreateWindow", false;
  w.hdc = GetDC(w.hwnd);
  opened_.push_back(w);
  const FormatNeeds needs = {DWORD(PFD_DRAW_TO_WINDOW | (doubleBuffer ? PFD_DOUBLEBUFFER : 0)),
                             PFD_TYPE_RGBA, 0, true};
  w.pixelFormat = FindFormatFor(w.hdc, needs, &w.pfd);
  if (w.pixelFormat == 0) return ADD_FAILURE() << "no window format with every buffer", false;
  if (!SetPixelFormat(w.hdc, w.pixelFormat, &w.pfd))
    return ADD_FAILURE() << "SetPixelFormat: " << GetLastError(), false;
  w.context = wglCreateContext(w.hdc);
  opened_.back() = w;
  if (w.context == nullptr) return ADD_FAILURE() << "wglCreateContext: " << GetLastError(), false;
  if (bind && !wglMakeCurrent(w.hdc, w.context))
    return ADD_FAILURE() << "wglMakeCurrent: " << GetLastError(), false;
  *window = w;
  return true;
}

HBITMAP MissingBuffersTest::Section(HDC hdc, int bits, int width, int height, uint8_t fill,
                                    void **pixels) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bits);
  info.header.biCompression = BI_RGB;
  if (bits == 8) {
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; i++)
      info.colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  }
  HBITMAP bitmap = CreateDIBSection(hdc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                    pixels, nullptr, 0);
  EXPECT_NE(bitmap, nullptr);
  if (bitmap == nullptr) return nullptr;
  const int pitch = ((width * bits + 31) / 32) * 4;
  memset(*pixels, fill, size_t(pitch) * size_t(height));
  sections_.push_back(bitmap);
  return bitmap;
}

void MissingBuffersTest::DrawIntoEveryBuffer(const GlWindow &window) {
  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  glClearDepth(1.0);
  glClearStencil(1);
  glClearAccum(0.5f, 0.25f, 0.125f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
          GL_ACCUM_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_EQUAL, 1, 0xFF);
  glStencilOp(GL_KEEP, GL_INCR, GL_INCR);
  glBegin(GL_TRIANGLE_FAN);
  glColor3f(1, 0, 0);
  glVertex3f(0, 0, 0.5f);
  glColor3f(0, 1, 0);
  glVertex3f(-1, -1, 0);
  glVertex3f(1, -1, 0);
  glColor3f(0, 0, 1);
  glVertex3f(1, 1, -0.5f);
  glVertex3f(-1, 1, 0);
  glVertex3f(-1, -1, 0);
  glEnd();
  glRectf(-0.5f, -0.5f, 0.5f, 0.5f);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_DEPTH_TEST);
  glAccum(GL_LOAD, 1.0f);
  glAccum(GL_ACCUM, 0.5f);
  glAccum(GL_MULT, 0.5f);
  glAccum(GL_ADD, 0.25f);
  glAccum(GL_RETURN, 1.0f);
  glFinish();
  if (window.hdc && (window.pfd.dwFlags & PFD_DOUBLEBUFFER)) SwapBuffers(window.hdc);
}

void MissingBuffersTest::ClearGreen(const GlWindow &window) {
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  if (window.pfd.dwFlags & PFD_DOUBLEBUFFER) {
    EXPECT_TRUE(SwapBuffers(window.hdc));
  }
}

::testing::AssertionResult MissingBuffersTest::ShowsGreen(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  HDC screen = GetDC(nullptr);
  const int screenWidth = GetDeviceCaps(screen, HORZRES);
  const int screenHeight = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  const std::vector<uint32_t> argb = ReadWindow(hwnd);
  int checked = 0;
  for (int y = 0; y < client.bottom; y++) {
    for (int x = 0; x < client.right; x++) {
      const int sx = origin.x + x, sy = origin.y + y;
      if (sx < 0 || sy < 0 || sx >= screenWidth || sy >= screenHeight) continue;
      const uint32_t p = argb[size_t(y) * size_t(client.right) + size_t(x)];
      checked++;
      if ((p & 0xFFFFFF) != 0x00FF00)
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is " << Hex(p);
    }
  }
  return ::testing::AssertionSuccess() << checked << " pixels";
}

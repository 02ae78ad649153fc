#include "tests/sis/hw_states/state_road.h"

#include <GL/gl.h>

#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"

namespace hwstates {
namespace {

constexpr int kWindowX = 16, kWindowY = 16;
constexpr int kCoverWidth = 30, kCoverHeight = 16;

struct Window {
  HWND cover = nullptr;  // over part of the window, for front-buffer rows
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;
  ~Window() {
    wglMakeCurrent(nullptr, nullptr);
    if (context) wglDeleteContext(context);
    if (hdc) ReleaseDC(hwnd, hdc);
    if (hwnd) DestroyWindow(hwnd);
    if (cover) DestroyWindow(cover);
    // A row may have filled video memory; the next one starts with room.
    ReleaseVideoMemoryFiller();
    PlatformSetNonLocalVideoMemorySize(0);
  }
};

GLint g_depthBits = 0;

bool Fail(std::string *why, const std::string &text) {
  *why = text + " (last error " + std::to_string(GetLastError()) + ")";
  return false;
}

}  // namespace

bool SetDisplay(int bitsPerPixel) {
  return DesktopSetDisplayMode(bitsPerPixel, 1024, 768) != FALSE;
}

bool DrawState(const StateRow &row, std::vector<uint32_t> *argb, std::string *vendor,
               std::string *why, bool *coverKept) {
  Window w;
  w.hwnd = DesktopCreateWindow(kWindowX, kWindowY, kWidth, kHeight);
  if (!w.hwnd) return Fail(why, "DesktopCreateWindow failed");
  w.hdc = GetDC(w.hwnd);
  if (!w.hdc) return Fail(why, "GetDC failed");
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 16;
  wanted.cDepthBits = 16;
  wanted.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(w.hdc, &wanted);
  PIXELFORMATDESCRIPTOR got{};
  if (format == 0 || !DescribePixelFormat(w.hdc, format, sizeof got, &got))
    return Fail(why, "no pixel format");
  if (!(got.dwFlags & PFD_DOUBLEBUFFER) || got.cDepthBits == 0)
    return Fail(why, "format without back or depth buffer");
  if (!SetPixelFormat(w.hdc, format, &got)) return Fail(why, "SetPixelFormat failed");
  w.context = wglCreateContext(w.hdc);
  if (!w.context) return Fail(why, "wglCreateContext failed");
  if (!wglMakeCurrent(w.hdc, w.context)) return Fail(why, "wglMakeCurrent failed");
  const GLubyte *name = glGetString(GL_VENDOR);
  *vendor = name ? reinterpret_cast<const char *>(name) : "";
  std::vector<uint32_t> coverBefore(size_t(kCoverWidth) * kCoverHeight),
      coverAfter(coverBefore.size());
  if (row.front) {
    w.cover = DesktopCreateWindow(kWindowX + kWidth / 2, kWindowY + kHeight / 3, kCoverWidth,
                                  kCoverHeight);
    if (!w.cover ||
        !DesktopReadWindow(w.cover, 0, 0, kCoverWidth, kCoverHeight, coverBefore.data()))
      return Fail(why, "no covering window");
    glDrawBuffer(GL_FRONT);
  }
  glGetIntegerv(GL_DEPTH_BITS, &g_depthBits);
  row.draw(row, kWidth, kHeight);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) return Fail(why, "GL error " + std::to_string(error));
  if (row.front) {
    glFinish();
    if (!DesktopReadWindow(w.cover, 0, 0, kCoverWidth, kCoverHeight, coverAfter.data()))
      return Fail(why, "covering window unreadable");
  } else if (!SwapBuffers(w.hdc)) {
    return Fail(why, "SwapBuffers failed");
  }
  if (coverKept) *coverKept = coverBefore == coverAfter;
  argb->assign(size_t(kWidth) * size_t(kHeight), 0);
  if (!DesktopReadWindow(w.hwnd, 0, 0, kWidth, kHeight, argb->data()))
    return Fail(why, "DesktopReadWindow failed");
  return true;
}

int LastDepthBits() { return g_depthBits; }

std::vector<uint16_t> ScreenPixels(const std::vector<uint32_t> &argb, int bitsPerPixel) {
  std::vector<uint16_t> pixels(argb.size());
  for (size_t i = 0; i < argb.size(); i++) {
    const uint32_t c = argb[i];
    pixels[i] = bitsPerPixel == 15
                    ? uint16_t((c >> 19 & 0x1F) << 10 | (c >> 11 & 0x1F) << 5 | (c >> 3 & 0x1F))
                    : uint16_t((c >> 19 & 0x1F) << 11 | (c >> 10 & 0x3F) << 5 | (c >> 3 & 0x1F));
  }
  return pixels;
}

}  // namespace hwstates

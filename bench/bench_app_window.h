// A 640 x 480 window on the platform's desktop with a double-buffered RGBA
// format and a context made current, through the loader as an application
// opens one. The display mode is set first; closing unloads the driver.
#pragma once

#include <GL/gl.h>

#include "platform/vlxdesktop.h"

namespace bench {

struct AppWindow {
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;
  int colorBits = 0, depthBits = 0;
};

// The double-buffered RGBA format of the display's depth with the fewest
// depth bits above zero (16 where offered); 0 when there is none.
inline int PickFormat(HDC hdc, int colorBits, PIXELFORMATDESCRIPTOR *pfd) {
  const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  const int count = DescribePixelFormat(hdc, 1, sizeof *pfd, pfd);
  int best = 0, bestDepth = 0;
  for (int i = 1; i <= count; i++) {
    if (!DescribePixelFormat(hdc, i, sizeof *pfd, pfd)) break;
    if ((pfd->dwFlags & wanted) != wanted || pfd->iPixelType != PFD_TYPE_RGBA ||
        pfd->cColorBits != colorBits || pfd->cDepthBits == 0)
      continue;
    if (best == 0 || pfd->cDepthBits < bestDepth) best = i, bestDepth = pfd->cDepthBits;
  }
  if (best) DescribePixelFormat(hdc, best, sizeof *pfd, pfd);
  return best;
}

inline void CloseAppWindow(AppWindow *w) {
  wglMakeCurrent(nullptr, nullptr);
  if (w->context) wglDeleteContext(w->context);
  if (w->hwnd) {
    ReleaseDC(w->hwnd, w->hdc);
    DestroyWindow(w->hwnd);
  }
  *w = AppWindow();
  VlxGlUnloadDriver();
}

// False, with the window closed again, when any step fails.
inline bool OpenAppWindow(int displayBits, int width, int height, AppWindow *w) {
  if (!DesktopSetDisplayMode(displayBits, 1024, 768)) return false;
  w->hwnd = DesktopCreateWindow(16, 16, width, height);
  if (w->hwnd == nullptr) return false;
  w->hdc = GetDC(w->hwnd);
  PIXELFORMATDESCRIPTOR pfd = {};
  const int format = PickFormat(w->hdc, displayBits, &pfd);
  if (format == 0 || !SetPixelFormat(w->hdc, format, &pfd)) return CloseAppWindow(w), false;
  w->colorBits = pfd.cColorBits, w->depthBits = pfd.cDepthBits;
  w->context = wglCreateContext(w->hdc);
  if (w->context == nullptr || !wglMakeCurrent(w->hdc, w->context))
    return CloseAppWindow(w), false;
  return true;
}

}  // namespace bench

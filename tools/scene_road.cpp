#include "tools/scene_road.h"

#include <stdarg.h>
#include <stdio.h>
#include <time.h>

#include <GL/gl.h>

#include "platform/kernel.h"
#include "platform/vlxdesktop.h"

namespace {

struct RoadWindow {
  HWND hwnd;
  HDC hdc;
  HGLRC context;
  SceneView view;
  SceneRect rect;
};

double NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The context's string, cut to fit; empty when it has none.
void CopyString(GLenum name, char *out, size_t size) {
  const GLubyte *text = glGetString(name);
  snprintf(out, size, "%s", text ? reinterpret_cast<const char *>(text) : "");
}

bool Fail(char *why, size_t whySize, const char *format, ...) {
  va_list args;
  va_start(args, format);
  if (why && whySize) vsnprintf(why, whySize, format, args);
  va_end(args);
  return false;
}

void CloseWindows(RoadWindow *windows, int32_t count) {
  wglMakeCurrent(nullptr, nullptr);
  for (int32_t i = count - 1; i >= 0; i--) {
    if (windows[i].context) wglDeleteContext(windows[i].context);
    if (windows[i].hdc) ReleaseDC(windows[i].hwnd, windows[i].hdc);
    if (windows[i].hwnd) DestroyWindow(windows[i].hwnd);
  }
}

// A window with the chosen format and a context (not yet current).
bool OpenWindow(const SceneRect &rect, RoadWindow *w, SceneFrame *frame, char *why,
                size_t whySize) {
  w->hwnd = DesktopCreateWindow(kSceneRegionX + rect.x, kSceneRegionY + rect.y, rect.width,
                                rect.height);
  if (!w->hwnd) return Fail(why, whySize, "DesktopCreateWindow failed");
  w->hdc = GetDC(w->hwnd);
  if (!w->hdc) return Fail(why, whySize, "GetDC failed");
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 16;
  wanted.cDepthBits = 16;  // the SiS device's; the software-only device has it too
  wanted.cStencilBits = 8;
  wanted.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(w->hdc, &wanted);
  PIXELFORMATDESCRIPTOR got{};
  if (format == 0 || !DescribePixelFormat(w->hdc, format, sizeof got, &got))
    return Fail(why, whySize, "no double-buffered RGBA format (last error %u)",
                unsigned(GetLastError()));
  if (!(got.dwFlags & PFD_DOUBLEBUFFER) || got.cDepthBits == 0)
    return Fail(why, whySize, "format %d has no back or depth buffer", format);
  if (!SetPixelFormat(w->hdc, format, &got))
    return Fail(why, whySize, "SetPixelFormat %d failed (last error %u)", format,
                unsigned(GetLastError()));
  w->context = wglCreateContext(w->hdc);
  if (!w->context)
    return Fail(why, whySize, "wglCreateContext failed (last error 0x%X)",
                unsigned(GetLastError()));
  frame->depthBits = got.cDepthBits;
  frame->stencilBits = got.cStencilBits;
  return true;
}

}  // namespace

bool SceneRoadSetDisplay(int32_t width, int32_t height) {
  const int32_t needWidth = kSceneRegionX + width, needHeight = kSceneRegionY + height;
  return DesktopSetDisplayMode(16, needWidth > 1024 ? needWidth : 1024,
                               needHeight > 768 ? needHeight : 768) != FALSE;
}

bool SceneRoadRender(const SceneEntry &scene, int32_t width, int32_t height, uint32_t *argb,
                     SceneFrame *frame, char *why, size_t whySize) {
  *frame = SceneFrame{};
  RoadWindow windows[kSceneWindowsMax] = {};
  const int32_t count = scene.windowCount;
  if (count < 1 || count > kSceneWindowsMax) return Fail(why, whySize, "bad window count");
  for (int32_t i = 0; i < count; i++) {
    RoadWindow &w = windows[i];
    w.view = SceneFindView(scene.windows[i].view);
    w.rect = ScenePlaceRect(scene.windows[i], width, height);
    const bool spansRegion = w.rect.x == 0 && w.rect.y == 0 && w.rect.width == width &&
                             w.rect.height == height;
    if (!w.view || w.rect.width <= 0 || w.rect.height <= 0 || (i == 0 && !spansRegion)) {
      CloseWindows(windows, count);
      return Fail(why, whySize, "window %d: no view, no pixels, or short of the region",
                  int(i));
    }
    if (!OpenWindow(w.rect, &w, frame, why, whySize)) {
      CloseWindows(windows, count);
      return false;
    }
  }

  const double start = NowMs();
  bool ok = true;
  for (int32_t i = count - 1; i >= 0 && ok; i--) {
    RoadWindow &w = windows[i];
    if (!wglMakeCurrent(w.hdc, w.context)) {
      ok = Fail(why, whySize, "wglMakeCurrent failed (last error 0x%X)",
                unsigned(GetLastError()));
      break;
    }
    if (i == 0) {
      CopyString(GL_VENDOR, frame->vendor, sizeof frame->vendor);
      CopyString(GL_RENDERER, frame->renderer, sizeof frame->renderer);
    }
    w.view(w.rect.width, w.rect.height);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) ok = Fail(why, whySize, "drawing raised GL error 0x%X", error);
    if (ok && !SwapBuffers(w.hdc)) ok = Fail(why, whySize, "SwapBuffers failed");
  }
  frame->milliseconds = NowMs() - start;

  if (ok && !DesktopReadWindow(windows[0].hwnd, 0, 0, width, height, argb))
    ok = Fail(why, whySize, "DesktopReadWindow failed");
  CloseWindows(windows, count);
  return ok;
}

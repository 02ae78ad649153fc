#include "tools/scene_road.h"

#include <stdarg.h>
#include <stdio.h>
#include <time.h>

#include <GL/gl.h>

#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"

namespace {

struct RoadWindow {
  HWND hwnd;
  HDC hdc;
  HGLRC context;
  const SceneViewEntry *view;
  SceneRect rect;
  bool ok;
  char why[256];
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

// Draws one frame of the window's view on the calling thread: its context
// current, the view, a swap (none for a front-buffer view), the context
// released again. The outcome is in w->ok and w->why.
void DrawWindow(RoadWindow *w) {
  w->ok = false;
  if (!wglMakeCurrent(w->hdc, w->context)) {
    Fail(w->why, sizeof w->why, "wglMakeCurrent failed (last error 0x%X)",
         unsigned(GetLastError()));
    return;
  }
  w->view->draw(w->rect.width, w->rect.height);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR)
    Fail(w->why, sizeof w->why, "drawing raised GL error 0x%X", error);
  else if (w->view->front)
    w->ok = true;  // the view finished its own drawing
  else if (!SwapBuffers(w->hdc))
    Fail(w->why, sizeof w->why, "SwapBuffers failed");
  else
    w->ok = true;
  wglMakeCurrent(nullptr, nullptr);
}

// The region as the screen shows it, through the bottom window.
bool ReadRegion(const RoadWindow &bottom, int32_t width, int32_t height,
                std::vector<uint32_t> *argb) {
  argb->assign(size_t(width) * size_t(height), 0);
  return DesktopReadWindow(bottom.hwnd, 0, 0, width, height, argb->data()) != FALSE;
}

// Pixels inside the rectangles of windows[from..count) that differ.
uint32_t ChangedAbove(const RoadWindow *windows, int32_t from, int32_t count, int32_t width,
                      const std::vector<uint32_t> &before, const std::vector<uint32_t> &after) {
  uint32_t changed = 0;
  for (int32_t k = from; k < count; k++) {
    const SceneRect &r = windows[k].rect;
    for (int32_t y = r.y; y < r.y + r.height; y++)
      for (int32_t x = r.x; x < r.x + r.width; x++) {
        const size_t at = size_t(y) * size_t(width) + size_t(x);
        changed += before[at] != after[at];
      }
  }
  return changed;
}

// What the chip's model executed since its record held `from` entries.
void CountChipWork(size_t from, SceneFrame *frame) {
  const size_t held = PlatformSiS6326Drawn(nullptr, 0);
  if (held <= from) return;
  std::vector<SiS6326Drawn> drawn(held);
  const size_t got = PlatformSiS6326Drawn(drawn.data(), drawn.size());
  for (size_t i = from; i < got; i++) {
    if (drawn[i].refused) continue;
    if (drawn[i].kind == SIS6326_EVENT_FILL_2D) frame->fills++;
    else frame->primitives++;
    frame->pixelsWritten += drawn[i].written;
  }
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
    w.view = SceneFindViewEntry(scene.windows[i].view);
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

  // Who drew: the bottom window's context.
  if (wglMakeCurrent(windows[0].hdc, windows[0].context)) {
    CopyString(GL_VENDOR, frame->vendor, sizeof frame->vendor);
    CopyString(GL_RENDERER, frame->renderer, sizeof frame->renderer);
    wglMakeCurrent(nullptr, nullptr);
  }

  const size_t recordBefore = PlatformSiS6326Drawn(nullptr, 0);
  bool ok = true;
  double drawing = 0;
  std::vector<uint32_t> before, after;
  // Top to bottom; a threaded scene's upper windows at once, on threads of
  // their own. After each step the windows drawn so far must be unchanged.
  for (int32_t i = count - 1; i >= 0 && ok; i--) {
    const bool together = scene.threaded && i > 0;
    const int32_t first = together ? 1 : i;
    if (i < count - 1 && !ReadRegion(windows[0], width, height, &before)) {
      ok = Fail(why, whySize, "DesktopReadWindow failed");
      break;
    }
    const double start = NowMs();
    if (together) {
      std::vector<std::thread> threads;
      for (int32_t k = first; k <= i; k++) threads.emplace_back(DrawWindow, &windows[k]);
      for (std::thread &t : threads) t.join();
    } else {
      DrawWindow(&windows[i]);
    }
    drawing += NowMs() - start;
    for (int32_t k = first; k <= i && ok; k++)
      if (!windows[k].ok) ok = Fail(why, whySize, "window %d: %s", int(k), windows[k].why);
    if (ok && i < count - 1) {
      if (!ReadRegion(windows[0], width, height, &after))
        ok = Fail(why, whySize, "DesktopReadWindow failed");
      else
        frame->coveredChanged += ChangedAbove(windows, i + 1, count, width, before, after);
    }
    i = first;
  }
  frame->milliseconds = drawing;
  CountChipWork(recordBefore, frame);

  if (ok && !DesktopReadWindow(windows[0].hwnd, 0, 0, width, height, argb))
    ok = Fail(why, whySize, "DesktopReadWindow failed");
  CloseWindows(windows, count);
  return ok;
}

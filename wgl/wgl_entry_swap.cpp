// Swapping a window's buffers for the context bound to it, and GDI's own
// swap entry.
#include "core/context.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_scoped_lock.h"
#include "platform/kernel.h"

extern "C" BOOL GLENTRY DrvSwapBuffers(HDC hdc) {
  HWND hwnd = WindowFromDC(hdc);
  if (hwnd == nullptr) return FALSE;
  WglGlobalHold hold;
  BOOL swapped = FALSE;
  WglContext *record = __wglFindWGLWindow(hwnd, nullptr);
  if (record && record->drawable && record->modes && record->modes->doubleBufferMode) {
    GlContext *gc = record->gc;
    if (gc->exports.swapBuffers) gc->exports.swapBuffers(gc);
    WglDrawablePrivate *drawable = record->drawable;
    if (drawable->swapBuffers) swapped = uint8_t(drawable->swapBuffers(drawable));
  }
  return swapped;
}

extern "C" BOOL GLENTRY DrvSwapLayerBuffers(HDC hdc, UINT) {
  DrvSwapBuffers(hdc);
  return TRUE;
}

namespace {

typedef BOOL(WINAPI *GdiSwapProc)(HDC hdc);

GdiSwapProc LookUpGdiSwap() {
  HMODULE gdi = LoadLibraryA("gdi32");
  if (gdi == nullptr) return nullptr;
  // Through void *: the export's real type is not FARPROC's.
  return reinterpret_cast<GdiSwapProc>(
      reinterpret_cast<void *>(GetProcAddress(gdi, "GdiSwapBuffers")));
}

}  // namespace

BOOL GdiSwapBuffers(HDC hdc) {
  // Looked up once; the library stays loaded for the process.
  static const GdiSwapProc swap = LookUpGdiSwap();
  return swap ? swap(hdc) : FALSE;
}

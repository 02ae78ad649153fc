// Describing and setting pixel formats, and the loader's version check.
#include <string.h>

#include "core/device.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_gdi.h"
#include "wgl/wgl_modes.h"
#include "wgl/wgl_scoped_lock.h"

extern "C" LONG GLENTRY DrvDescribePixelFormat(HDC hdc, LONG pixelFormat, ULONG bytes,
                                               PIXELFORMATDESCRIPTOR *descriptor) {
  if (__glDevice->getPixelFormat == nullptr) return 0;
  if (descriptor == nullptr) return __glDevice->getPixelFormat(hdc, nullptr, -1);
  PIXELFORMATDESCRIPTOR local;
  memset(&local, 0, sizeof local);
  // Numbers below 1 ask for no row; computing number - 1 for the least one
  // would overflow.
  int index = pixelFormat >= 1 ? int(pixelFormat - 1) : -1;
  int count = __glDevice->getPixelFormat(hdc, &local, index);
  if (pixelFormat < 1 || pixelFormat > count) return 0;
  memcpy(descriptor, &local, bytes < sizeof local ? bytes : sizeof local);
  return count;
}

namespace {

// Under the global lock. No error code is set on any failure.
BOOL SetDrawableFormat(HDC hdc, HWND hwnd, DWORD type, LONG pixelFormat) {
  PIXELFORMATDESCRIPTOR descriptor;
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(hdc, hwnd);
  if (drawable == nullptr) {
    // The record stays even when a later step fails.
    if (__wglGdiDescribePixelFormat(hdc, int(pixelFormat), sizeof descriptor, &descriptor) == 0)
      return FALSE;
    GlModes modes;
    __wglFormatGLModes(&modes, &descriptor);
    drawable = __wglCreateDrawablePrivate(hdc, hwnd, &modes);
    if (drawable == nullptr) return FALSE;
  }
  if (drawable->pixelFormat != 0) return FALSE;
  if (__wglGdiDescribePixelFormat(hdc, int(pixelFormat), sizeof descriptor, &descriptor) == 0)
    return FALSE;
  if (!(descriptor.dwFlags & (type == OBJ_DC ? PFD_DRAW_TO_WINDOW : PFD_DRAW_TO_BITMAP)))
    return FALSE;
  descriptor.iLayerType = 0;
  static_assert(sizeof descriptor == sizeof drawable->pixelFormatDescriptor, "one descriptor");
  memcpy(drawable->pixelFormatDescriptor, &descriptor, sizeof descriptor);
  drawable->pixelFormat = int32_t(pixelFormat);
  return TRUE;
}

}  // namespace

extern "C" BOOL GLENTRY DrvSetPixelFormat(HDC hdc, LONG pixelFormat) {
  // Only a window's DC or a memory DC can carry a drawable: a screen DC
  // (no window) would otherwise be taken for a bitmap.
  DWORD type = GetObjectType(hdc);
  HWND hwnd = type == OBJ_DC ? WindowFromDC(hdc) : nullptr;
  if (type == OBJ_DC ? hwnd == nullptr : type != OBJ_MEMDC) return FALSE;
  WglGlobalHold hold;
  return SetDrawableFormat(hdc, hwnd, type, pixelFormat);
}

extern "C" BOOL GLENTRY DrvValidateVersion(ULONG version) { return version < 2; }

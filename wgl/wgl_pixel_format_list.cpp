// The generic pixel-format list the device offers: built from the raw rows
// at the first request after an invalidation, under the global lock. Thread
// attachment and detachment and display changes invalidate it, so rows are
// read only while the lock is held.
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_pixel_format.h"

namespace {

PIXELFORMATDESCRIPTOR **wglPixelFormats = nullptr;
int32_t wglNumPixelFormats = 0;
bool wglPixelFormatsDirty = true;

// The list as it was: false when there is no memory to build it.
bool BuildLocked(HDC hdc) {
  if (!wglPixelFormatsDirty) return true;
  __wglFree(wglPixelFormats);
  wglPixelFormats = nullptr;
  wglNumPixelFormats = 0;
  PIXELFORMATDESCRIPTOR **list = static_cast<PIXELFORMATDESCRIPTOR **>(
      __wglCalloc(WGL_RAW_PIXEL_FORMATS, sizeof(PIXELFORMATDESCRIPTOR *)));
  if (list == nullptr) return false;
  int32_t count = 0;
  __wglUpdatePixelFormats(hdc, wglRawPixelFormats, WGL_RAW_PIXEL_FORMATS, list, &count);
  wglPixelFormats = list;
  wglNumPixelFormats = count;
  wglPixelFormatsDirty = false;
  return true;
}

}  // namespace

int __wglGetPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index) {
  __wglLockMutex();
  int result = 0;
  if (BuildLocked(hdc)) {
    const int count = wglNumPixelFormats;
    if (descriptor == nullptr) {
      result = count;
    } else if (index >= 0 && index < count) {
      // Copied before the lock goes: an invalidation frees the list and a
      // rebuild edits the rows in place.
      *descriptor = *wglPixelFormats[index];
      result = count;
    }
  }
  __wglUnlockMutex();
  return result;
}

void __wglInvalidatePixelFormatList(void) {
  __wglLockMutex();
  __wglFree(wglPixelFormats);
  wglPixelFormats = nullptr;
  wglNumPixelFormats = 0;
  wglPixelFormatsDirty = true;
  __wglUnlockMutex();
}

// Pixel-format lists: built from their raw rows at the first request after
// an invalidation, under the global lock. Thread attachment and detachment
// and display changes invalidate them, so rows are read only while the lock
// is held.
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_pixel_format.h"
#include "wgl/wgl_process_state.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// The list as it was: false when there is no memory to build it or the
// display cannot be described; it is then built at a later request.
bool BuildLocked(WglPixelFormatList *list, HDC hdc) {
  if (!list->dirty) return true;
  __wglFree(list->formats);
  list->formats = nullptr;
  list->count = 0;
  PIXELFORMATDESCRIPTOR **formats = static_cast<PIXELFORMATDESCRIPTOR **>(
      __wglCalloc(size_t(list->rowCount), sizeof(PIXELFORMATDESCRIPTOR *)));
  if (formats == nullptr) return false;
  int32_t count = 0;
  if (!__wglUpdatePixelFormats(hdc, list->rows, list->rowCount, formats, &count)) {
    __wglFree(formats);
    return false;
  }
  list->formats = formats;
  list->count = count;
  list->dirty = 0;
  return true;
}

}  // namespace

int __wglListGetPixelFormat(WglPixelFormatList *list, HDC hdc, PIXELFORMATDESCRIPTOR *descriptor,
                            int index) {
  WglGlobalHold hold;
  int result = 0;
  if (BuildLocked(list, hdc)) {
    const int count = list->count;
    if (descriptor == nullptr) {
      result = count;
    } else if (index >= 0 && index < count) {
      // Copied before the lock goes: an invalidation frees the list and a
      // rebuild edits the rows in place.
      *descriptor = *list->formats[index];
      result = count;
    }
  }
  return result;
}

void __wglListInvalidate(WglPixelFormatList *list) {
  WglGlobalHold hold;
  __wglFree(list->formats);
  list->formats = nullptr;
  list->count = 0;
  list->dirty = 1;
}

int __wglGetPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index) {
  return __wglListGetPixelFormat(&__wglProcess.genericPixelFormats, hdc, descriptor, index);
}

void __wglInvalidatePixelFormatList(void) {
  __wglListInvalidate(&__wglProcess.genericPixelFormats);
}

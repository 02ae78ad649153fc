// The DCI set's swap: GDI copies the back buffer's DIB section to the
// window, only the swap hints' bounding rectangle when hints were given.
// The window's device context draws only where the window is visible.
#include "wgl/wgl_dci.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

BOOL __wglDCIDIBSwapBuffers(WglDrawablePrivate *drawable) {
  if (drawable == nullptr) return FALSE;
  GlDrawable *gl = &drawable->drawable;
  WglDrawableHold hold(gl, "wgldci");
  BOOL result = FALSE;
  HDC source = __wglDIBGetHDC(&gl->back);
  if (source == nullptr) {
    __wglError("__wglDCIDIBSwapBuffers: no back buffer");
  } else if (__wglSwapHintCount(drawable) != 0) {
    // Hints come as the application gives them: the bound may reach past
    // the buffer by more than an int can span. Only the buffer is copied.
    const RECT bound = drawable->swapHints->rdh.rcBound;
    const LONG left = bound.left < 0 ? 0 : bound.left, top = bound.top < 0 ? 0 : bound.top;
    const LONG right = bound.right > LONG(gl->back.width) ? LONG(gl->back.width) : bound.right;
    const LONG bottom = bound.bottom > LONG(gl->back.height) ? LONG(gl->back.height) : bound.bottom;
    result = right <= left || bottom <= top ||
             BitBlt(drawable->hdc, left, top, right - left, bottom - top, source, left, top, SRCCOPY);
    if (!result) __wglError("__wglDCIDIBSwapBuffers: BitBlt failed");
    __wglClearSwapHints(drawable);
  } else {
    result = BitBlt(drawable->hdc, 0, 0, int(gl->back.width), int(gl->back.height), source, 0, 0,
                    SRCCOPY);
    if (!result) __wglError("__wglDCIDIBSwapBuffers: BitBlt (2) failed");
  }
  return result;
}

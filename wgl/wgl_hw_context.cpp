// Creating and destroying a record's core context through the active device.
#include "core/context.h"
#include "core/device.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_modes.h"

bool __wglCreateHWContext(WglContext *record) {
  GlModes *modes = static_cast<GlModes *>(__wglCalloc(1, sizeof(GlModes)));
  if (modes == nullptr) return false;
  __wglFormatGLModes(modes, reinterpret_cast<const PIXELFORMATDESCRIPTOR *>(
                                record->pixelFormatDescriptor));
  record->modes = modes;
  // Each context copies the imports, so its `other` names its own record.
  wgl::imports.other = record;
  record->gc = __glDevice->createContext(&wgl::imports, modes);
  if (record->gc) return true;
  __wglFree(modes);
  record->modes = nullptr;
  return false;
}

bool __wglDestroyHWContext(WglContext *record) {
  GlContext *gc = record->gc;
  if (gc) {
    if (gc->exports.destroyContext == nullptr || !gc->exports.destroyContext(gc)) return false;
    record->gc = nullptr;
  }
  __wglFree(record->modes);
  record->modes = nullptr;
  return true;
}

void __wglGiveBackContextDC(HDC kept) {
  switch (GetObjectType(kept)) {
    case OBJ_DC:
      ReleaseDC(WindowFromDC(kept), kept);
      break;
    case OBJ_MEMDC:
      DeleteDC(kept);
      break;
    default:
      break;
  }
}

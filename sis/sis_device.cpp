// The SiS device instance and its process attachment: the shared DirectDraw
// object and the device's thread-local index; windows get the DirectDraw
// buffer set and textures the DirectDraw texture manager.
#include "sis/sis_device.h"

#include "sis/sis_texmgr.h"

#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "platform/kernel.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_choosers.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_process_state.h"

// A refused attachment gives back what it took: the layer does not detach a
// device that refused. Attached already, it takes nothing more, so that one
// detachment gives everything back.
GLbool8 __glSiSProcessAttach(uint32_t, GlDevice *) {
  if (__wglProcess.sisTLSIndex != TLS_OUT_OF_INDEXES) return 1;
  if (!__wglDDrawOpen()) return 0;
  const DWORD index = TlsAlloc();
  if (index == TLS_OUT_OF_INDEXES) {
    __wglDDrawClose();
    return 0;
  }
  __wglProcess.sisTLSIndex = index;
  return 1;
}

// Only an attached device holds an index and a DirectDraw use; without one
// there is nothing to give back. DirectDraw is closed even when the index
// cannot be freed: the library is leaving either way.
GLbool8 __glSiSProcessDetach(uint32_t, GlDevice *) {
  const DWORD index = __wglProcess.sisTLSIndex;
  if (index == TLS_OUT_OF_INDEXES) return 1;
  __wglProcess.sisTLSIndex = TLS_OUT_OF_INDEXES;
  const bool freed = TlsFree(index);
  const bool closed = __wglDDrawClose();
  return freed && closed;
}

void __wglSiSInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  __wglDDrawInitDrawable(drawable, modes);
}

GlDevice __glSiSDevice = {
    .flags = __GL_BACK_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
    .reserved = 0x80000000u,
    .lookupTextureFormat = __glLookupTextureFormat,
    .processAttach = __glSiSProcessAttach,
    .processDetach = __glSiSProcessDetach,
    .threadAttach = nullptr,
    .threadDetach = nullptr,
    .getPixelFormat = __wglSiSGetPixelFormat,
    .invalidatePixelFormatList = __wglSiSInvalidatePixelFormatList,
    .initTextureManager = __glSiSDDrawInitTextureManager,
    .createContext = __glSiSCreateContext,
    .initDrawable = __wglSiSInitDrawable,
    .dibInitDrawable = __wglDIBInitDrawable,
    .freeBuffers = __wglFreeBuffers,
    .updateDrawablePalette = __wglDDrawUpdateDrawablePalette,
};

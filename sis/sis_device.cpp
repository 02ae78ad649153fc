// The SiS device instance and its process attachment: the shared DirectDraw
// object and the device's thread-local index; windows get the DirectDraw
// buffer set.
#include "sis/sis_device.h"

#include "pixels/px_texture.h"
#include "platform/kernel.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_choosers.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_process_state.h"

GLbool8 __glSiSProcessAttach(uint32_t, GlDevice *) {
  if (!__wglDDrawOpen()) return 0;
  __wglProcess.sisTLSIndex = TlsAlloc();
  return __wglProcess.sisTLSIndex != TLS_OUT_OF_INDEXES;
}

GLbool8 __glSiSProcessDetach(uint32_t, GlDevice *) {
  if (!TlsFree(__wglProcess.sisTLSIndex)) return 0;
  __wglProcess.sisTLSIndex = TLS_OUT_OF_INDEXES;
  return __wglDDrawClose();
}

void __wglSiSInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  __wglDDrawInitDrawable(drawable, modes);
}

GlDevice __glSiSDevice = {
    .flags = __GL_BACK_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
    .reserved = 0x80000000u,
    .lookupTextureFormat = nullptr,
    .processAttach = __glSiSProcessAttach,
    .processDetach = __glSiSProcessDetach,
    .threadAttach = nullptr,
    .threadDetach = nullptr,
    .getPixelFormat = __wglSiSGetPixelFormat,
    .invalidatePixelFormatList = __wglSiSInvalidatePixelFormatList,
    // The generic manager until textures live in video memory.
    .initTextureManager = __glInitTextureManager,
    .createContext = __glSiSCreateContext,
    .initDrawable = __wglSiSInitDrawable,
    .dibInitDrawable = __wglDIBInitDrawable,
    .freeBuffers = __wglFreeBuffers,
    .updateDrawablePalette = __wglDDrawUpdateDrawablePalette,
};

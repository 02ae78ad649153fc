// The software-only device: the core's own back end with the generic
// pixel formats and buffer kinds. It serves the paths the SiS device never
// takes (the generic list, DCI) and the soft driver library.
#include "wgl/wgl_soft_device.h"

#include <string.h>

#include "core/s_context.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "platform/kernel.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_choosers.h"
#include "wgl/wgl_dci.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_pixel_format.h"

namespace {

// What the process attachment opened, so that the detachment closes exactly
// that, and a second detachment closes nothing.
bool ddrawOpen = false;
bool dciOpen = false;

GLbool8 ProcessAttach(uint32_t, GlDevice *) {
  if (!__wglDDrawOpen()) return 0;
  ddrawOpen = true;
  // Without DCI the DirectDraw set still draws; windows then take it even
  // when the DCI set is asked for.
  dciOpen = __wglDCIOpen();
  return 1;
}

GLbool8 ProcessDetach(uint32_t, GlDevice *) {
  bool closed = true;
  if (dciOpen) closed = __wglDCIClose() && closed;
  if (ddrawOpen) closed = __wglDDrawClose() && closed;
  dciOpen = ddrawOpen = false;
  return closed;
}

// True when the environment asks new windows for the DCI set. The query
// leaves the thread's last-error value as it was: the entry that creates the
// drawable reports its own.
bool DciSetAsked() {
  char value[8];
  const DWORD saved = GetLastError();
  const DWORD length = GetEnvironmentVariableA(VLX_SOFT_BUFFER_SET_ENV, value, sizeof value);
  SetLastError(saved);
  return length == 3 && strcmp(value, "dci") == 0;
}

void InitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  if (dciOpen && DciSetAsked())
    __wglDCIInitDrawable(drawable, modes);
  else
    __wglDDrawInitDrawable(drawable, modes);
}

}  // namespace

GlDevice __glSoftDevice = {
    .flags = __GL_BACK_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
    .reserved = 0,
    .lookupTextureFormat = __glLookupTextureFormat,
    .processAttach = ProcessAttach,
    .processDetach = ProcessDetach,
    .threadAttach = nullptr,
    .threadDetach = nullptr,
    .getPixelFormat = __wglGetPixelFormat,
    .invalidatePixelFormatList = __wglInvalidatePixelFormatList,
    .initTextureManager = __glInitTextureManager,
    .createContext = __glCoreCreateContext,
    .initDrawable = InitDrawable,
    .dibInitDrawable = __wglDIBInitDrawable,
    .freeBuffers = __wglFreeBuffers,
    // The DirectDraw set's; a chooser whose set needs another sets the
    // drawable's own copy.
    .updateDrawablePalette = __wglDDrawUpdateDrawablePalette,
};

static_assert(__GL_BACK_BUFFER_MASK == 0x4 && __GL_DEPTH_BUFFER_MASK == 0x20,
              "back and depth surfaces in video memory: flags 0x24");

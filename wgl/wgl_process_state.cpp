#include "wgl/wgl_process_state.h"

#include "platform/kernel.h"
#include "sis/sis_device.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_pixel_format.h"

namespace {

constexpr WglProcessState kAtLoad = {
    .lpDispData = nullptr,
    .isTransparency = 0,
    .dwTransparent = 0,
    .sisTLSIndex = TLS_OUT_OF_INDEXES,
    .sisLoadedSerial = 0,
    .genericPixelFormats = {wglRawPixelFormats, WGL_RAW_PIXEL_FORMATS, nullptr, 0, 1},
    .sisPixelFormats = {rawSiSPixelFormats, SIS_RAW_PIXEL_FORMATS, nullptr, 0, 1},
};

}  // namespace

WglProcessState __wglProcess = kAtLoad;

void __wglResetProcessState(void) {
  // An attached SiS device holds an index and a DirectDraw use with its
  // word; putting the word back alone would lose both to the process.
  __glSiSProcessDetach(GetCurrentThreadId(), &__glSiSDevice);
  __wglFree(__wglProcess.genericPixelFormats.formats);
  __wglFree(__wglProcess.sisPixelFormats.formats);
  __wglProcess = kAtLoad;
}

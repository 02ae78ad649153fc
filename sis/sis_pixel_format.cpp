// The SiS device's pixel formats: 16-bit RGBA, single-buffered with GDI
// support or double-buffered, each with a 64-bit accumulation buffer, a
// 16-bit depth buffer and 8 stencil bits. The colour masks are filled in
// against the display at each build of the list.
#include "sis/sis_device.h"
#include "wgl/wgl_process_state.h"

namespace {

constexpr PIXELFORMATDESCRIPTOR Row(DWORD flags) {
  return PIXELFORMATDESCRIPTOR{sizeof(PIXELFORMATDESCRIPTOR), 1, flags, PFD_TYPE_RGBA, 16,
                               0, 0, 0, 0, 0, 0, 0, 0,
                               64, 16, 16, 16, 16,
                               16, 8, 0, PFD_MAIN_PLANE, 0, 0, 0, 0};
}

}  // namespace

PIXELFORMATDESCRIPTOR rawSiSPixelFormats[SIS_RAW_PIXEL_FORMATS] = {
    Row(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL),
    Row(PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL),
};

static_assert((PFD_DRAW_TO_WINDOW | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL) == 0x34 &&
                  (PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL) == 0x25,
              "the two rows' flags");

int __wglSiSGetPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index) {
  return __wglListGetPixelFormat(&__wglProcess.sisPixelFormats, hdc, descriptor, index);
}

void __wglSiSInvalidatePixelFormatList(void) {
  __wglListInvalidate(&__wglProcess.sisPixelFormats);
}

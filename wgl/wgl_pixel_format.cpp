// Placeholder bodies until this file is written.
#include "wgl/wgl_pixel_format.h"

PIXELFORMATDESCRIPTOR wglRawPixelFormats[WGL_RAW_PIXEL_FORMATS];
void __wglUpdatePixelFormats(HDC, PIXELFORMATDESCRIPTOR *, int32_t, PIXELFORMATDESCRIPTOR **, int32_t *) {}
bool __wglPixelFormatSupported(PIXELFORMATDESCRIPTOR *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { return false; }
void __wglDecodeColorMask(uint32_t, uint8_t *, uint8_t *) {}
uint32_t getDisplayMasks(HDC, uint32_t *, uint32_t *, uint32_t *, uint32_t *) { return 0; }
int __wglGetPixelFormat(HDC, PIXELFORMATDESCRIPTOR *, int) { return 0; }
void __wglInvalidatePixelFormatList(void) {}

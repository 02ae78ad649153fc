// Placeholder bodies until this file is written.
#include "wgl/wgl_gdi.h"

int __wglGdiGetPixelFormat(HDC) { return 0; }
int __wglGdiDescribePixelFormat(HDC, int, UINT, PIXELFORMATDESCRIPTOR *) { return 0; }

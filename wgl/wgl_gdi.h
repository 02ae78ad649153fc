// GDI's pixel-format calls as the driver reaches them: GDI forwards them to
// the operating system's GL library, found as the module "opengl32.dll".
#pragma once

#include "platform/gdi.h"

// 0 when the DC has no format or the library is not there.
int __wglGdiGetPixelFormat(HDC hdc);
// The number of formats (0 on failure), filling up to `bytes` of descriptor.
int __wglGdiDescribePixelFormat(HDC hdc, int pixelFormat, UINT bytes,
                                PIXELFORMATDESCRIPTOR *descriptor);

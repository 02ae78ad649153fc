// The SiS 6326 device: the live GlDevice. It creates every context as a
// GlSiSContext, offers the two 16-bit RGBA pixel formats and gives windows
// the DirectDraw buffer set.
#pragma once

#include "core/calling.h"
#include "core/device.h"
#include "core/imports.h"

struct GlContext;
struct WglDrawablePrivate;

extern GlDevice __glSiSDevice;

GLbool8 __glSiSProcessAttach(uint32_t threadId, GlDevice *device);
GLbool8 __glSiSProcessDetach(uint32_t threadId, GlDevice *device);
void __wglSiSInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes);
int __wglSiSGetPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index);
void __wglSiSInvalidatePixelFormatList(void);
GlContext *__glSiSCreateContext(const GlImports *imports, const GlModes *modes);

#define SIS_RAW_PIXEL_FORMATS 2
extern PIXELFORMATDESCRIPTOR rawSiSPixelFormats[SIS_RAW_PIXEL_FORMATS];

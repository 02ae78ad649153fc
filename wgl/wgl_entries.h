// The installable-client-driver entries the operating system's GL loader
// calls, with their handles and error reports, and the extension entries
// handed out by name.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "loader/driver_interface.h"

extern uint32_t freeHandle;

typedef struct WglExtProc {
  const char *name;
  VlxDriverProc proc;
} WglExtProc;
#define WGL_EXT_PROC_COUNT 22
extern const WglExtProc __wglExtProcs[WGL_EXT_PROC_COUNT];

// The loader finds these by name in the driver library: they leave it.
#pragma GCC visibility push(default)
extern "C" {
DHGLRC GLENTRY DrvCreateContext(HDC hdc);
DHGLRC GLENTRY DrvCreateLayerContext(HDC hdc, int layerPlane);
BOOL GLENTRY DrvDeleteContext(DHGLRC handle);
const GlDispatchState *GLENTRY DrvSetContext(HDC hdc, DHGLRC handle,
                                             VlxSetProcTableProc setProcTable);
BOOL GLENTRY DrvReleaseContext(DHGLRC handle);
BOOL GLENTRY DrvShareLists(DHGLRC first, DHGLRC second);
BOOL GLENTRY DrvCopyContext(DHGLRC source, DHGLRC destination, UINT mask);
LONG GLENTRY DrvDescribePixelFormat(HDC hdc, LONG pixelFormat, ULONG bytes,
                                    PIXELFORMATDESCRIPTOR *descriptor);
BOOL GLENTRY DrvSetPixelFormat(HDC hdc, LONG pixelFormat);
BOOL GLENTRY DrvSwapBuffers(HDC hdc);
BOOL GLENTRY DrvSwapLayerBuffers(HDC hdc, UINT planes);
BOOL GLENTRY DrvDescribeLayerPlane(HDC hdc, int pixelFormat, int layerPlane, UINT bytes,
                                   LAYERPLANEDESCRIPTOR *descriptor);
int GLENTRY DrvGetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                      COLORREF *colors);
int GLENTRY DrvSetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                      const COLORREF *colors);
BOOL GLENTRY DrvRealizeLayerPalette(HDC hdc, int layerPlane, BOOL realize);
VlxDriverProc GLENTRY DrvGetProcAddress(LPCSTR name);
BOOL GLENTRY DrvValidateVersion(ULONG version);
}
#pragma GCC visibility pop

// GDI's own swap, looked up in "gdi32" on first use.
BOOL GdiSwapBuffers(HDC hdc);

// The one table of the entries a driver library exports and the GL loader
// calls by name: DllMain and the seventeen Drv entries, all callee-pops.
// Everything entry-shaped is generated from it (the entry types, the driver's
// declarations and their checks, the loader's record of resolved entries and
// the names it resolves, the fake driver's declarations, both export maps'
// driver part and the tests' expected lists), so an entry is added here and
// nowhere else.
//
// Each row: X(name, result type, (parameters)).
//
// Plain tokens only: the export map is made from this file by the
// preprocessor alone, so it includes nothing.
#pragma once

// clang-format off
#define DRIVER_ENTRIES(X) \
  X(DllMain, BOOL, (HINSTANCE module, DWORD reason, LPVOID reserved)) \
  X(DrvCreateContext, DHGLRC, (HDC hdc)) \
  X(DrvCreateLayerContext, DHGLRC, (HDC hdc, int layerPlane)) \
  X(DrvDeleteContext, BOOL, (DHGLRC context)) \
  X(DrvSetContext, const GlDispatchState *, (HDC hdc, DHGLRC context, VlxSetProcTableProc callback)) \
  X(DrvReleaseContext, BOOL, (DHGLRC context)) \
  X(DrvShareLists, BOOL, (DHGLRC first, DHGLRC second)) \
  X(DrvCopyContext, BOOL, (DHGLRC source, DHGLRC destination, UINT mask)) \
  X(DrvDescribePixelFormat, LONG, (HDC hdc, LONG pixelFormat, ULONG bytes, PIXELFORMATDESCRIPTOR *descriptor)) \
  X(DrvSetPixelFormat, BOOL, (HDC hdc, LONG pixelFormat)) \
  X(DrvSwapBuffers, BOOL, (HDC hdc)) \
  X(DrvSwapLayerBuffers, BOOL, (HDC hdc, UINT planes)) \
  X(DrvDescribeLayerPlane, BOOL, (HDC hdc, int pixelFormat, int layerPlane, UINT bytes, LAYERPLANEDESCRIPTOR *descriptor)) \
  X(DrvGetLayerPaletteEntries, int, (HDC hdc, int layerPlane, int first, int count, COLORREF *colors)) \
  X(DrvSetLayerPaletteEntries, int, (HDC hdc, int layerPlane, int first, int count, const COLORREF *colors)) \
  X(DrvRealizeLayerPalette, BOOL, (HDC hdc, int layerPlane, BOOL realize)) \
  X(DrvGetProcAddress, VlxDriverProc, (LPCSTR name)) \
  X(DrvValidateVersion, BOOL, (ULONG version))
// clang-format on

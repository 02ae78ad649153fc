// The one table of the loader's exports besides the GL functions: the wgl
// calls, GDI's pixel-format calls and SwapBuffers, and the test control.
// The export map and the tests' expected list are made from it, and the
// loader checks the public declarations (platform/vlxdesktop.h) against it.
//
// Each row: X(name, calling convention, result type, (parameters)); VLX_CDECL
// is the C convention.
//
// Plain tokens only: the export map is made from this file by the
// preprocessor alone, so it includes nothing.
#pragma once

// clang-format off
#define LOADER_EXPORTS(X) \
  X(wglCreateContext, WINAPI, HGLRC, (HDC hdc)) \
  X(wglCreateLayerContext, WINAPI, HGLRC, (HDC hdc, int layerPlane)) \
  X(wglDeleteContext, WINAPI, BOOL, (HGLRC context)) \
  X(wglMakeCurrent, WINAPI, BOOL, (HDC hdc, HGLRC context)) \
  X(wglGetCurrentContext, WINAPI, HGLRC, (void)) \
  X(wglGetCurrentDC, WINAPI, HDC, (void)) \
  X(wglGetProcAddress, WINAPI, PROC, (LPCSTR name)) \
  X(wglShareLists, WINAPI, BOOL, (HGLRC first, HGLRC second)) \
  X(wglCopyContext, WINAPI, BOOL, (HGLRC source, HGLRC destination, UINT mask)) \
  X(wglSwapBuffers, WINAPI, BOOL, (HDC hdc)) \
  X(wglSwapLayerBuffers, WINAPI, BOOL, (HDC hdc, UINT planes)) \
  X(wglDescribeLayerPlane, WINAPI, BOOL, (HDC hdc, int pixelFormat, int layerPlane, UINT bytes, LPLAYERPLANEDESCRIPTOR descriptor)) \
  X(wglSetLayerPaletteEntries, WINAPI, int, (HDC hdc, int layerPlane, int first, int count, const COLORREF *colors)) \
  X(wglGetLayerPaletteEntries, WINAPI, int, (HDC hdc, int layerPlane, int first, int count, COLORREF *colors)) \
  X(wglRealizeLayerPalette, WINAPI, BOOL, (HDC hdc, int layerPlane, BOOL realize)) \
  X(ChoosePixelFormat, WINAPI, int, (HDC hdc, const PIXELFORMATDESCRIPTOR *wanted)) \
  X(DescribePixelFormat, WINAPI, int, (HDC hdc, int pixelFormat, UINT bytes, LPPIXELFORMATDESCRIPTOR descriptor)) \
  X(GetPixelFormat, WINAPI, int, (HDC hdc)) \
  X(SetPixelFormat, WINAPI, BOOL, (HDC hdc, int pixelFormat, const PIXELFORMATDESCRIPTOR *descriptor)) \
  X(SwapBuffers, WINAPI, BOOL, (HDC hdc)) \
  X(VlxGlUnloadDriver, VLX_CDECL, BOOL, (void))
// clang-format on

#define VLX_CDECL

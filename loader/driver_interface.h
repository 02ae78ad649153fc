// What passes between the GL loader and a driver library: the entry point
// reasons, the driver's context handle, the table callback and the types of
// the exported driver entries. Every driver entry, DllMain and the callback
// are callee-pops; the driver exports them by their plain names.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "platform/gdi.h"

// The reasons DllMain is called with.
#define DLL_PROCESS_DETACH 0u
#define DLL_PROCESS_ATTACH 1u
#define DLL_THREAD_ATTACH 2u
#define DLL_THREAD_DETACH 3u

// A context as the driver knows it: a small number the driver hands out.
typedef uintptr_t DHGLRC;

// The loader takes a thread's new dispatch table through this callback; the
// driver calls it on the thread whose table changes.
typedef void(GLENTRY *VlxSetProcTableProc)(const GlDispatchState *table);

// Some entry the driver hands out by name; its real type is the named one's.
typedef void(GLENTRY *VlxDriverProc)(void);

typedef BOOL(GLENTRY *VlxDllMainProc)(HINSTANCE module, DWORD reason, LPVOID reserved);
typedef DHGLRC(GLENTRY *VlxDrvCreateContextProc)(HDC hdc);
typedef DHGLRC(GLENTRY *VlxDrvCreateLayerContextProc)(HDC hdc, int layerPlane);
typedef BOOL(GLENTRY *VlxDrvDeleteContextProc)(DHGLRC context);
typedef const GlDispatchState *(GLENTRY *VlxDrvSetContextProc)(HDC hdc, DHGLRC context,
                                                               VlxSetProcTableProc callback);
typedef BOOL(GLENTRY *VlxDrvReleaseContextProc)(DHGLRC context);
typedef BOOL(GLENTRY *VlxDrvShareListsProc)(DHGLRC first, DHGLRC second);
typedef BOOL(GLENTRY *VlxDrvCopyContextProc)(DHGLRC source, DHGLRC destination, UINT mask);
typedef LONG(GLENTRY *VlxDrvDescribePixelFormatProc)(HDC hdc, LONG pixelFormat, ULONG bytes,
                                                     PIXELFORMATDESCRIPTOR *descriptor);
typedef BOOL(GLENTRY *VlxDrvSetPixelFormatProc)(HDC hdc, LONG pixelFormat);
typedef BOOL(GLENTRY *VlxDrvSwapBuffersProc)(HDC hdc);
typedef BOOL(GLENTRY *VlxDrvSwapLayerBuffersProc)(HDC hdc, UINT planes);
typedef BOOL(GLENTRY *VlxDrvDescribeLayerPlaneProc)(HDC hdc, int pixelFormat, int layerPlane,
                                                    UINT bytes, LAYERPLANEDESCRIPTOR *descriptor);
typedef int(GLENTRY *VlxDrvGetLayerPaletteEntriesProc)(HDC hdc, int layerPlane, int first,
                                                       int count, COLORREF *colors);
typedef int(GLENTRY *VlxDrvSetLayerPaletteEntriesProc)(HDC hdc, int layerPlane, int first,
                                                       int count, const COLORREF *colors);
typedef BOOL(GLENTRY *VlxDrvRealizeLayerPaletteProc)(HDC hdc, int layerPlane, BOOL realize);
typedef VlxDriverProc(GLENTRY *VlxDrvGetProcAddressProc)(LPCSTR name);
typedef BOOL(GLENTRY *VlxDrvValidateVersionProc)(ULONG version);

// The version the loader asks the driver to accept.
#define VLX_DRIVER_VERSION 1u

// The desktop: what applications, tests and the sample scenes use of the
// window system. Windows, device contexts, bitmaps, palettes, drawing and
// hooks are the platform's own calls (platform/gdi.h); the Desktop calls
// below stand for what a user does at the screen.
//
// The screen starts at 16 bits per pixel (5-6-5), 1024 x 768.
#pragma once

#include "platform/gdi.h"

// A visible top-level window owned by the calling thread, on top of the
// others, with its client area at (x, y) on the screen. Its visible part is
// painted black. The window goes when its thread ends.
PLATFORM_API HWND DesktopCreateWindow(int x, int y, int width, int height);

// The window's client-area pixels (x, y, width, height in client
// coordinates, inside the client area) as the screen shows them: rows from
// top to bottom, 0xAARRGGBB each with alpha 0xFF, in the 8-bit mode through
// the system palette. Pixels that lie off the screen read 0; pixels that
// another window covers read as that window shows them.
PLATFORM_API BOOL DesktopReadWindow(HWND hwnd, int x, int y, int width, int height,
                                    unsigned int *argb);

// Changes the display mode: 8, 15 (5-5-5), 16 (5-6-5), 24 or 32 bits per
// pixel. The screen turns black, the system palette holds only the reserved
// colours again, DirectDraw surfaces become lost, and every window's owner receives
// WM_DISPLAYCHANGE with the bits per pixel as GDI reports them (16 for the
// 5-5-5 mode) in wParam and MAKELPARAM(width, height) in lParam.
PLATFORM_API BOOL DesktopSetDisplayMode(int bitsPerPixel, int width, int height);

// In the 8-bit mode, sets system palette entries (first .. first + count - 1)
// and sends every window's owner WM_PALETTECHANGED (wParam 0: no window
// caused it). FALSE in other modes or for entries past 255.
PLATFORM_API BOOL DesktopSetSystemPalette(UINT first, UINT count, const PALETTEENTRY *entries);

// Delivers to the calling thread's hooks the messages that other threads'
// changes queued for it; gives how many. Creating, moving, showing and
// destroying windows and the other Desktop calls deliver them too.
PLATFORM_API UINT DesktopPumpMessages(void);

// ==== OpenGL loader (libvlxgl) =====================================================
// Applications link libvlxgl instead of a system GL library. It exports the
// 336 OpenGL 1.1 functions with the ordinary C calling convention (declare
// them with the system's <GL/gl.h>), and the calls below, which are WINAPI as
// on the original platform. It loads the driver "libvlxdriver.so" from its
// own directory, or the library named by the environment variable
// "VLX_GL_DRIVER" (a full path), at the first call that needs it. When the
// driver cannot be loaded, every call below that needs it fails (last error
// ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND for a missing entry,
// ERROR_DLL_INIT_FAILED when the driver refuses to attach or its version) and
// the GL functions do nothing; a failed load is not tried again until
// VlxGlUnloadDriver.
//
// The driver's DllMain is called as on the platform: the thread that loads
// it gets the process attach, every other thread a thread attach at its
// first call into this library and a thread detach when it ends (after its
// context, if one is still current, was released). At process exit the
// thread that exits gets the process detach (its reserved word non-null, as
// on the platform) and nothing else, and the driver stays loaded for threads
// still running; from then on their GL functions do nothing and no driver is
// loaded again (ERROR_DLL_INIT_FAILED).
//
// A driver reaches ChoosePixelFormat, DescribePixelFormat, GetPixelFormat and
// SetPixelFormat the way GDI forwards them on the platform: through the
// built-in module "opengl32.dll" (LoadLibraryA, then GetProcAddress of
// "wglChoosePixelFormat", "wglDescribePixelFormat", "wglGetPixelFormat",
// "wglSetPixelFormat", and "wglSwapBuffers" which GDI's SwapBuffers uses), so
// the driver library needs no link with this one. The same functions are
// also exported under their GDI names below.

#ifndef ERROR_BUSY
#define ERROR_BUSY 170L
#endif

// A rendering context: the loader's own handle, never an address.
typedef struct VlxGlRenderingContext *HGLRC;
// An entry wglGetProcAddress hands out; it takes the C calling convention,
// like every GL function here. Cast it to the named function's type.
typedef void (*PROC)(void);

PLATFORM_API HGLRC WINAPI wglCreateContext(HDC hdc);
PLATFORM_API HGLRC WINAPI wglCreateLayerContext(HDC hdc, int layerPlane);
// Releases the context first when it is current on the calling thread (when
// it refuses the release, as below, the call fails and it stays current);
// fails (ERROR_BUSY) while it is current on another thread.
PLATFORM_API BOOL WINAPI wglDeleteContext(HGLRC context);
// Binding a context releases the one current on the thread first (unless it
// is the same context on the same device context); a null context releases
// only. When the new context then cannot be bound, nothing is current. When
// the current context refuses the release (it is in selection or feedback
// mode, or between glBegin and glEnd), the call fails and that context stays
// current, in the state it was in. A context current on another thread:
// ERROR_BUSY.
PLATFORM_API BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context);
PLATFORM_API HGLRC WINAPI wglGetCurrentContext(void);
PLATFORM_API HDC WINAPI wglGetCurrentDC(void);
// Only the driver's extension functions; null for any other name.
PLATFORM_API PROC WINAPI wglGetProcAddress(LPCSTR name);
PLATFORM_API BOOL WINAPI wglShareLists(HGLRC first, HGLRC second);
PLATFORM_API BOOL WINAPI wglCopyContext(HGLRC source, HGLRC destination, UINT mask);
PLATFORM_API BOOL WINAPI wglSwapBuffers(HDC hdc);
PLATFORM_API BOOL WINAPI wglSwapLayerBuffers(HDC hdc, UINT planes);
PLATFORM_API BOOL WINAPI wglDescribeLayerPlane(HDC hdc, int pixelFormat, int layerPlane,
                                               UINT bytes, LPLAYERPLANEDESCRIPTOR descriptor);
PLATFORM_API int WINAPI wglSetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                  const COLORREF *colors);
PLATFORM_API int WINAPI wglGetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                  COLORREF *colors);
PLATFORM_API BOOL WINAPI wglRealizeLayerPalette(HDC hdc, int layerPlane, BOOL realize);

// The pixel formats of the driver, numbered from 1. ChoosePixelFormat gives
// the format that has every capability asked for and comes nearest to the
// buffer sizes asked for, 0 when none has the capabilities.
PLATFORM_API int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR *wanted);
// With a descriptor, fills up to `bytes` of it; gives the number of formats.
PLATFORM_API int WINAPI DescribePixelFormat(HDC hdc, int pixelFormat, UINT bytes,
                                            LPPIXELFORMATDESCRIPTOR descriptor);
PLATFORM_API int WINAPI GetPixelFormat(HDC hdc);
// Once per window or memory device context; setting the same number again
// succeeds without asking the driver. The descriptor is not used.
PLATFORM_API BOOL WINAPI SetPixelFormat(HDC hdc, int pixelFormat,
                                        const PIXELFORMATDESCRIPTOR *descriptor);
PLATFORM_API BOOL WINAPI SwapBuffers(HDC hdc);

// For tests: sends the driver its process detach and unloads it, as when the
// process ends; the next call that needs a driver loads one again (reading
// "VLX_GL_DRIVER" anew). Every context handle becomes stale and every
// thread's GL calls do nothing. Gives TRUE when a driver was loaded.
PLATFORM_API BOOL VlxGlUnloadDriver(void);
// ==== end of the OpenGL loader =====================================================

// The display control interface of "DCIMAN32.DLL": direct access to the
// primary surface (the screen's memory, the same memory DirectDraw's primary
// surface shows) and WinWatch, which follows the visible region of a window.
// Declared from the documented names, records and values.
#pragma once

#include "platform/gdi.h"

typedef int DCIRVAL;
typedef struct PlatformWinWatch *HWINWATCH;

// Results: 0 or more is success (positive values carry status bits).
#define DCI_OK 0
#define DCI_STATUS_POINTERCHANGED 1
#define DCI_STATUS_STRIDECHANGED 2
#define DCI_STATUS_FORMATCHANGED 4
#define DCI_STATUS_SURFACEINFOCHANGED 8
#define DCI_FAIL_GENERIC (-1)
#define DCI_FAIL_UNSUPPORTEDVERSION (-2)
#define DCI_FAIL_INVALIDSURFACE (-3)
#define DCI_FAIL_UNSUPPORTED (-4)
#define DCI_ERR_CURRENTLYNOTAVAIL (-5)
#define DCI_ERR_INVALIDRECT (-6)
#define DCI_ERR_OUTOFMEMORY (-12)
#define DCI_ERR_SURFACEISOBSCURED (-16)

// dwDCICaps.
#define DCI_PRIMARY 0x00000001u
#define DCI_VISIBLE 0x00000010u

typedef struct _DCISURFACEINFO {
  DWORD dwSize;  // 72
  DWORD dwDCICaps;
  DWORD dwCompression;  // BI_RGB, or BI_BITFIELDS for 5-6-5
  DWORD dwMask[3];      // red, green, blue
  DWORD dwWidth;
  DWORD dwHeight;
  LONG lStride;
  DWORD dwBitCount;
  ULONG_PTR dwOffSurface;  // the first pixel: a linear address, or an offset from wSelSurface's base
  WORD wSelSurface;        // 0: dwOffSurface is linear
  WORD wReserved;
  DWORD dwReserved1;
  DWORD dwReserved2;
  DWORD dwReserved3;
  DCIRVAL(WINAPI *BeginAccess)(LPVOID surface, LPRECT rect);
  void(WINAPI *EndAccess)(LPVOID surface);
  void(WINAPI *DestroySurface)(LPVOID surface);
} DCISURFACEINFO, *LPDCISURFACEINFO;

typedef DCISURFACEINFO DCIPRIMARY, *LPDCIPRIMARY;

// The provider is a device context of the whole screen.
PLATFORM_API HDC WINAPI DCIOpenProvider(void);
PLATFORM_API void WINAPI DCICloseProvider(HDC hdc);
PLATFORM_API int WINAPI DCICreatePrimary(HDC hdc, LPDCISURFACEINFO *surface);
PLATFORM_API void WINAPI DCIDestroy(LPDCISURFACEINFO surface);
// Access to the rectangle (x, y, width, height) on the screen. After a
// display-mode change the record is brought up to date and the result
// carries the status bits of what changed.
PLATFORM_API DCIRVAL WINAPI DCIBeginAccess(LPDCISURFACEINFO surface, int x, int y, int width,
                                           int height);
PLATFORM_API void WINAPI DCIEndAccess(LPDCISURFACEINFO surface);

PLATFORM_API HWINWATCH WINAPI WinWatchOpen(HWND hwnd);
PLATFORM_API void WINAPI WinWatchClose(HWINWATCH watch);
// The window's visible region within `clip` (client coordinates; none: the
// whole client area) as screen rectangles. Gives the bytes the region data
// needs, and fills `data` when `size` is enough. An empty region is a header
// with no rectangles; 0 means failure.
PLATFORM_API UINT WINAPI WinWatchGetClipList(HWINWATCH watch, LPRECT clip, UINT size,
                                             LPRGNDATA data);
// TRUE when the visible region may have changed since the last
// WinWatchGetClipList that filled data (always before the first).
PLATFORM_API BOOL WINAPI WinWatchDidStatusChange(HWINWATCH watch);

#ifdef __cplusplus
static_assert(sizeof(DCISURFACEINFO) == 72, "DCISURFACEINFO is 72 bytes");
static_assert(offsetof(DCISURFACEINFO, lStride) == 32 && offsetof(DCISURFACEINFO, dwOffSurface) == 40 &&
                  offsetof(DCISURFACEINFO, wSelSurface) == 44,
              "DCISURFACEINFO layout");
#endif

// The window manager and GDI of the platform: handles, records, messages and
// calls, declared from their documented names and values.
//
// Windows are top-level and frameless: a window's rectangle is its client
// area. Handles are small numbers, never addresses, so a stale or made-up
// handle is refused without being touched.
#pragma once

#include "platform/win_types.h"

typedef struct PlatformWindow *HWND;
typedef struct PlatformDC *HDC;
// Any GDI object converts to HGDIOBJ, as with the platform's strict handles.
typedef void *HGDIOBJ;
typedef struct PlatformBitmap *HBITMAP;
typedef struct PlatformPalette *HPALETTE;
typedef struct PlatformBrush *HBRUSH;
typedef struct PlatformHook *HHOOK;
typedef DWORD COLORREF;

typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT, *LPRECT;

typedef struct tagPOINT {
  LONG x, y;
} POINT, *LPPOINT;

#define LOWORD(l) ((WORD)((DWORD)(l)&0xFFFF))
#define HIWORD(l) ((WORD)(((DWORD)(l) >> 16) & 0xFFFF))
#define MAKELPARAM(lo, hi) ((LPARAM)(DWORD)(((WORD)(lo)) | (((DWORD)(WORD)(hi)) << 16)))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define PALETTEINDEX(i) ((COLORREF)(0x01000000u | (DWORD)(WORD)(i)))

// ---- Error codes of the window manager and GDI -----------------------------------
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_DLL_INIT_FAILED 1114L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_HOOK_HANDLE 1404L
#define ERROR_INVALID_HOOK_FILTER 1426L
#define ERROR_INVALID_FILTER_PROC 1427L
#define ERROR_INVALID_THREAD_ID 1444L
#define ERROR_INVALID_PIXEL_FORMAT 2000L
#define GDI_ERROR 0xFFFFFFFFu
#define CLR_INVALID 0xFFFFFFFFu

// ---- Records ------------------------------------------------------------------------
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;  // 40
  LONG biWidth;
  LONG biHeight;  // negative: rows run from the top down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
} RGBQUAD;

// The colour table (or the three bit-field masks) follows the header.
typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

typedef struct tagBITMAP {
  LONG bmType;  // 0
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;  // null for a device-dependent bitmap
} BITMAP;

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;  // as created: biHeight keeps its sign
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION;

typedef struct tagPALETTEENTRY {
  BYTE peRed, peGreen, peBlue, peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
  WORD palVersion;  // 0x300
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
} LOGPALETTE;

typedef struct tagWINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x, y;    // the window's new position on the screen
  int cx, cy;  // and size
  UINT flags;  // SWP_...
} WINDOWPOS;

// What a WH_CALLWNDPROC hook receives through lParam.
typedef struct tagCWPSTRUCT {
  LPARAM lParam;
  WPARAM wParam;
  UINT message;
  HWND hwnd;
} CWPSTRUCT;

// Region data: a 32-byte header followed by nCount rectangles.
#define RDH_RECTANGLES 1u
typedef struct _RGNDATAHEADER {
  DWORD dwSize;  // 32
  DWORD iType;   // RDH_RECTANGLES
  DWORD nCount;
  DWORD nRgnSize;  // bytes of rectangles
  RECT rcBound;
} RGNDATAHEADER;

typedef struct _RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
} RGNDATA, *LPRGNDATA;

typedef struct tagPIXELFORMATDESCRIPTOR {
  WORD nSize;  // 40
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits, cRedShift;
  BYTE cGreenBits, cGreenShift;
  BYTE cBlueBits, cBlueShift;
  BYTE cAlphaBits, cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR, *LPPIXELFORMATDESCRIPTOR;

typedef struct tagLAYERPLANEDESCRIPTOR {
  WORD nSize;  // 32
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits, cRedShift;
  BYTE cGreenBits, cGreenShift;
  BYTE cBlueBits, cBlueShift;
  BYTE cAlphaBits, cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerPlane;
  BYTE bReserved;
  COLORREF crTransparent;
} LAYERPLANEDESCRIPTOR, *LPLAYERPLANEDESCRIPTOR;

// Pixel-format descriptor flags and types.
#define PFD_DOUBLEBUFFER 0x00000001u
#define PFD_STEREO 0x00000002u
#define PFD_DRAW_TO_WINDOW 0x00000004u
#define PFD_DRAW_TO_BITMAP 0x00000008u
#define PFD_SUPPORT_GDI 0x00000010u
#define PFD_SUPPORT_OPENGL 0x00000020u
#define PFD_GENERIC_FORMAT 0x00000040u
#define PFD_NEED_PALETTE 0x00000080u
#define PFD_NEED_SYSTEM_PALETTE 0x00000100u
#define PFD_SWAP_EXCHANGE 0x00000200u
#define PFD_SWAP_COPY 0x00000400u
#define PFD_SWAP_LAYER_BUFFERS 0x00000800u
#define PFD_GENERIC_ACCELERATED 0x00001000u
#define PFD_DEPTH_DONTCARE 0x20000000u
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000u
#define PFD_STEREO_DONTCARE 0x80000000u
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0
#define PFD_OVERLAY_PLANE 1
#define PFD_UNDERLAY_PLANE (-1)
#define LPD_TRANSPARENT 0x00001000u

// ---- Values -------------------------------------------------------------------------
#define BI_RGB 0u
#define BI_RLE8 1u
#define BI_RLE4 2u
#define BI_BITFIELDS 3u
#define DIB_RGB_COLORS 0u
#define DIB_PAL_COLORS 1u

// Raster operations offered: source copy and the three without a source.
#define SRCCOPY 0x00CC0020u
#define PATCOPY 0x00F00021u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// GetObjectType and GetCurrentObject.
#define OBJ_PEN 1u
#define OBJ_BRUSH 2u
#define OBJ_DC 3u
#define OBJ_PAL 5u
#define OBJ_BITMAP 7u
#define OBJ_MEMDC 10u

// GetStockObject.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define DEFAULT_PALETTE 15

// GetDeviceCaps.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define SIZEPALETTE 104
#define RC_BITBLT 0x0001
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100

// Messages the window manager sends.
#define WM_DESTROY 0x0002u
#define WM_WINDOWPOSCHANGED 0x0047u
#define WM_DISPLAYCHANGE 0x007Eu
#define WM_PALETTECHANGED 0x0311u

// SetWindowPos.
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define SWP_NOZORDER 0x0004u
#define SWP_NOREDRAW 0x0008u
#define SWP_NOACTIVATE 0x0010u
#define SWP_SHOWWINDOW 0x0040u
#define SWP_HIDEWINDOW 0x0080u

// ShowWindow.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// Hooks.
#define WH_CALLWNDPROC 4
#define HC_ACTION 0
typedef LRESULT(WINAPI *HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);

// ---- Windows ----------------------------------------------------------------------------
// Applications create windows with DesktopCreateWindow (platform/vlxdesktop.h).
PLATFORM_API BOOL WINAPI IsWindow(HWND hwnd);
PLATFORM_API BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
PLATFORM_API BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                                      UINT flags);
PLATFORM_API BOOL WINAPI ShowWindow(HWND hwnd, int command);  // the earlier visibility
PLATFORM_API BOOL WINAPI DestroyWindow(HWND hwnd);
PLATFORM_API BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect);
PLATFORM_API BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect);
PLATFORM_API BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point);
// The id of the thread that created the window; *processId when given.
PLATFORM_API DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

// ---- Device contexts --------------------------------------------------------------------
// GetDC(null) is a device context for the whole screen (no window).
PLATFORM_API HDC WINAPI GetDC(HWND hwnd);
PLATFORM_API int WINAPI ReleaseDC(HWND hwnd, HDC hdc);
PLATFORM_API HWND WINAPI WindowFromDC(HDC hdc);
PLATFORM_API HDC WINAPI CreateCompatibleDC(HDC hdc);
PLATFORM_API BOOL WINAPI DeleteDC(HDC hdc);
PLATFORM_API DWORD WINAPI GetObjectType(HGDIOBJ object);
PLATFORM_API HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object);
PLATFORM_API HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
PLATFORM_API BOOL WINAPI DeleteObject(HGDIOBJ object);
PLATFORM_API HGDIOBJ WINAPI GetStockObject(int index);
PLATFORM_API int WINAPI GetDeviceCaps(HDC hdc, int index);

// The pixel-format number GDI keeps for a window (all its device contexts
// share it) or for a memory device context; the loader's SetPixelFormat and
// GetPixelFormat keep it here. 0 until set; a window's number, once set,
// cannot change (ERROR_INVALID_PIXEL_FORMAT).
PLATFORM_API int WINAPI PlatformGetPixelFormatNumber(HDC hdc);
PLATFORM_API BOOL WINAPI PlatformSetPixelFormatNumber(HDC hdc, int format);

// ---- Bitmaps ----------------------------------------------------------------------------
// Every bitmap keeps 16 spare bytes before its first pixel and after its last.
PLATFORM_API HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height);
PLATFORM_API HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO *info, UINT usage,
                                             void **bits, HANDLE section, DWORD offset);
PLATFORM_API int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID out);
#define GetObject GetObjectA
PLATFORM_API int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                                  LPBITMAPINFO info, UINT usage);
PLATFORM_API UINT WINAPI SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD *colors);
PLATFORM_API UINT WINAPI GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD *colors);

// ---- Palettes ---------------------------------------------------------------------------
PLATFORM_API HPALETTE WINAPI CreatePalette(const LOGPALETTE *palette);
PLATFORM_API HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
// In the 8-bit mode, realizing in a window's device context loads the
// palette into the system palette (from entry 0) and announces a change with
// WM_PALETTECHANGED.
PLATFORM_API UINT WINAPI RealizePalette(HDC hdc);
PLATFORM_API UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           LPPALETTEENTRY entries);
PLATFORM_API UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT start, UINT count,
                                                 LPPALETTEENTRY entries);

// ---- Drawing ----------------------------------------------------------------------------
// Drawing into a window's device context writes the screen only inside the
// window's visible region.
PLATFORM_API HBRUSH WINAPI CreateSolidBrush(COLORREF color);
PLATFORM_API int WINAPI FillRect(HDC hdc, const RECT *rect, HBRUSH brush);
PLATFORM_API BOOL WINAPI PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
PLATFORM_API BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source,
                                int sourceX, int sourceY, DWORD rop);

// ---- Hooks ------------------------------------------------------------------------------
// Only per-thread WH_CALLWNDPROC hooks exist. The messages of a window go to
// the hooks of the thread that created it: at once when that thread caused
// the change, otherwise queued until it next moves, shows or destroys a
// window or makes a Desktop call (platform/vlxdesktop.h), as a message loop
// would take them; never inside GDI or DCI calls, where a driver may hold
// its own locks. The hook's wParam is non-zero when the same thread sent it.
PLATFORM_API HHOOK WINAPI SetWindowsHookExA(int type, HOOKPROC proc, HINSTANCE module,
                                            DWORD threadId);
PLATFORM_API HHOOK WINAPI SetWindowsHookExW(int type, HOOKPROC proc, HINSTANCE module,
                                            DWORD threadId);
#define SetWindowsHookEx SetWindowsHookExA
PLATFORM_API LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Also removes a hook that another thread installed.
PLATFORM_API BOOL WINAPI UnhookWindowsHookEx(HHOOK hook);

#ifdef __cplusplus
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");
static_assert(sizeof(BITMAPINFO) == 44, "BITMAPINFO is 44 bytes");
static_assert(sizeof(BITMAP) == 24, "BITMAP is 24 bytes");
static_assert(sizeof(DIBSECTION) == 84, "DIBSECTION is 84 bytes");
static_assert(sizeof(PALETTEENTRY) == 4 && sizeof(RGBQUAD) == 4, "colour entries are 4 bytes");
static_assert(sizeof(LOGPALETTE) == 8, "LOGPALETTE is 8 bytes");
static_assert(sizeof(WINDOWPOS) == 28, "WINDOWPOS is 28 bytes");
static_assert(sizeof(CWPSTRUCT) == 16, "CWPSTRUCT is 16 bytes");
static_assert(sizeof(RGNDATAHEADER) == 32, "RGNDATAHEADER is 32 bytes");
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR is 40 bytes");
static_assert(sizeof(LAYERPLANEDESCRIPTOR) == 32, "LAYERPLANEDESCRIPTOR is 32 bytes");
static_assert(offsetof(DIBSECTION, dsBmih) == 24 && offsetof(DIBSECTION, dsBitfields) == 64,
              "DIBSECTION layout");
static_assert(offsetof(PIXELFORMATDESCRIPTOR, dwLayerMask) == 28, "PIXELFORMATDESCRIPTOR layout");
#endif

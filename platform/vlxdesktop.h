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

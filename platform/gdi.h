// The window manager and GDI of the platform: handles, records, messages and
// calls, declared from their documented names and values.
#pragma once

#include "platform/win_types.h"

typedef struct PlatformWindow *HWND;
typedef struct PlatformDC *HDC;
typedef struct PlatformGdiObject *HGDIOBJ;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HPALETTE;
typedef HGDIOBJ HBRUSH;

typedef struct tagRECT {
  LONG left, top, right, bottom;
} RECT, *LPRECT;

typedef struct tagPOINT {
  LONG x, y;
} POINT, *LPPOINT;

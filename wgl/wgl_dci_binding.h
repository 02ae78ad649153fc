// The process's binding to "DCIMAN32.DLL": the library, its user count, the
// provider, the primary surface, and the library's functions found by name.
// Shared by the DCI buffer kind; set up by __wglDCIOpen.
#pragma once

#include "platform/dci.h"

typedef struct WglDciTable {
  HDC(WINAPI *openProvider)(void);
  void(WINAPI *closeProvider)(HDC hdc);
  int(WINAPI *createPrimary)(HDC hdc, LPDCISURFACEINFO *surface);
  void(WINAPI *destroy)(LPDCISURFACEINFO surface);
  HWINWATCH(WINAPI *winWatchOpen)(HWND hwnd);
  void(WINAPI *winWatchClose)(HWINWATCH watch);
  UINT(WINAPI *winWatchGetClipList)(HWINWATCH watch, LPRECT clip, UINT size, LPRGNDATA data);
  BOOL(WINAPI *winWatchDidStatusChange)(HWINWATCH watch);
  DCIRVAL(WINAPI *beginAccess)(LPDCISURFACEINFO surface, int x, int y, int width, int height);
  void(WINAPI *endAccess)(LPDCISURFACEINFO surface);
} WglDciTable;

namespace wgl {
extern HMODULE hDCIManLibrary;
extern int32_t cDCICount;
extern HDC hDCIMan;
extern LPDCISURFACEINFO lpDCIPrimarySurface;
extern WglDciTable DCI;  // all null until the library is loaded
}  // namespace wgl

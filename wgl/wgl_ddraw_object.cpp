// Placeholder bodies until this file is written.
#include "wgl/wgl_ddraw.h"

HMODULE hDirectDraw;
LPDIRECTDRAW lpDirectDraw;
int32_t lpDirectDrawCount;
LPDIRECTDRAWSURFACE lpPrimarySurface;
void *lpPrimaryBase;
LPDIRECTDRAW __wglAllocateDDrawObject(void) { return nullptr; }
void __wglFreeDDrawObject(LPDIRECTDRAW) {}
bool __wglDDrawOpen(void) { return false; }
bool __wglDDrawClose(void) { return true; }
LPDIRECTDRAW __wglGetDDrawObject(void) { return lpDirectDraw; }
void *__wglDDrawGetPrimaryBase(void) { return lpPrimaryBase; }

// Placeholder bodies until this file is written.
#include "wgl/wgl_drawable_list.h"

WglDrawablePrivate wglPrivListEnd;
WglDrawablePrivate *__wglCreateDrawablePrivate(HDC, HWND, const GlModes *) { return nullptr; }
bool __wglDestroyDrawablePrivate(WglDrawablePrivate *) { return false; }
WglDrawablePrivate *__wglFindDrawablePrivate(HDC, HWND) { return nullptr; }
WglDrawablePrivate *__wglGetDrawablePrivate(HDC, HWND, const GlModes *) { return nullptr; }
void __wglFreeDrawableList(void) {}

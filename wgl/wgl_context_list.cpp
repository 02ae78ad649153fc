// Placeholder bodies until this file is written.
#include "wgl/wgl_context_list.h"

WglContext glrcListEnd;
void __wglAddContext(WglContext *) {}
void __wglRemoveContext(WglContext *) {}
WglContext *__wglFindWGLContext(uint32_t) { return nullptr; }
WglContext *__wglFindWGLGLcontext(GlContext *) { return nullptr; }
WglContext *__wglFindWGLWindow(HWND, WglContext *) { return nullptr; }

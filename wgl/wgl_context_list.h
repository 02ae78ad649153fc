// The list of rendering contexts, headed by the sentinel glrcListEnd (handle
// 0, gc the placeholder context), and the creation and destruction of a
// record's core context through the device.
#pragma once

#include "wgl/wgl_context.h"

extern WglContext glrcListEnd;

// Callers hold the global lock where they change the list; the searches
// take it themselves.
void __wglAddContext(WglContext *record);
void __wglRemoveContext(WglContext *record);
// The record of a handle (the sentinel for 0), or none.
WglContext *__wglFindWGLContext(uint32_t handle);
WglContext *__wglFindWGLGLcontext(GlContext *gc);
// The first record after `previous` (the sentinel when none) bound to the window.
WglContext *__wglFindWGLWindow(HWND hwnd, WglContext *previous);

// Makes the record's GlModes from its descriptor and asks the device for a
// context; true when one came back.
bool __wglCreateHWContext(WglContext *record);
// Gives back the device context a record keeps for its life: a window's DC
// is released, a memory DC deleted.
void __wglGiveBackContextDC(HDC kept);
// Destroys the record's context; false (everything kept) when the core
// refuses. Frees the record's GlModes otherwise.
bool __wglDestroyHWContext(WglContext *record);

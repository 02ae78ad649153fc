// Handing a context's dispatch table to the operating system's GL library;
// the window-system layer defines it (wgl/wgl_proctable.cpp).
#pragma once

#include "core/dispatch.h"

struct GlContext;

// Calls the table callback recorded in the context's window-system record,
// when there is one; a context without such a record (the placeholder) or a
// record without a callback hands over nothing.
void __wglSetProcTable(GlContext *gc, const GlDispatchState *table);

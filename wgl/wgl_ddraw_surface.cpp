// Placeholder bodies until this file is written.
#include "wgl/wgl_ddraw.h"

void __wglInitDDraw(GlDrawableBuffer *, WglDrawablePrivate *, uint32_t, WglBufferInitProc) {}

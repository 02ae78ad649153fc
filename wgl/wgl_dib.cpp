// Placeholder bodies until this file is written.
#include "wgl/wgl_dib.h"

void __wglInitDIB(GlDrawableBuffer *, WglDrawablePrivate *, uint32_t) {}
HDC __wglDIBGetHDC(const GlDrawableBuffer *) { return nullptr; }
void __wglDIBUpdateClipList(GlDrawable *) {}

// Placeholder bodies until this file is written.
#include "wgl/wgl_dib.h"

void __wglInitUnmanagedDIB(GlDrawableBuffer *, WglDrawablePrivate *, uint32_t) {}

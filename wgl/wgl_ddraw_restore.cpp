// Placeholder bodies until this file is written.
#include "wgl/wgl_ddraw.h"

void __wglDDrawRestoreSurface(GlDrawableBuffer *, WglDrawablePrivate *) {}

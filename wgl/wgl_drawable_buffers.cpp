// Placeholder bodies until this file is written.
#include "wgl/wgl_drawable_update.h"

bool __wglUpdateBuffers(GlDrawable *, int32_t, int32_t, int32_t, int32_t) { return false; }
void __wglFreeBuffers(WglDrawablePrivate *) {}
void __wglUpdateDrawablePalette(WglDrawablePrivate *) {}

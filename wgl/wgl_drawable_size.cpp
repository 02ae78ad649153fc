// Placeholder bodies until this file is written.
#include "wgl/wgl_drawable_update.h"

void __wglUpdateDrawableSize(WglDrawablePrivate *) {}
bool __wglUpdateDrawableBuffers(WglDrawablePrivate *) { return false; }

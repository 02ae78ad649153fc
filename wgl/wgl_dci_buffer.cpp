// Placeholder bodies until this file is written.
#include "wgl/wgl_dci.h"

void __wglInitDCI(GlDrawableBuffer *, WglDrawablePrivate *, uint32_t) {}
void __wglDCIUpdateDrawablePalette(WglDrawablePrivate *) {}
void __wglDCIUpdateClipList(GlDrawable *) {}

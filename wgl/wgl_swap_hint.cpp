// Placeholder bodies until this file is written.
#include "wgl/wgl_drawable_update.h"

void __wglAddSwapHintRect(GlDrawable *, int32_t, int32_t, int32_t, int32_t) {}
uint32_t __wglSwapHintCount(const WglDrawablePrivate *) { return 0; }
void __wglClearSwapHints(WglDrawablePrivate *) {}

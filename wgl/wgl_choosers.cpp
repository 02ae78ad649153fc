// Placeholder bodies until this file is written.
#include "wgl/wgl_choosers.h"

void __wglDDrawInitDrawable(WglDrawablePrivate *, const GlModes *) {}
void __wglDCIInitDrawable(WglDrawablePrivate *, const GlModes *) {}
void __wglDIBInitDrawable(WglDrawablePrivate *, const GlModes *) {}
uint32_t __wglColorDepth(const GlModes *) { return 0; }

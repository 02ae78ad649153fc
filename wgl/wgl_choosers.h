// The buffer sets: which kind serves which buffer of a new drawable, its
// swap procedures and clip-list updater.
#pragma once

#include "wgl/wgl_drawable.h"

// Windows through DirectDraw: the primary as front buffer, surfaces behind.
void __wglDDrawInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes);
// Windows through DCI: the DCI primary as front buffer, DIB sections and
// memory behind.
void __wglDCIInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes);
// Memory bitmaps: the application's bitmap as front buffer.
void __wglDIBInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes);
// The colour buffers' depth: indexBits in colour-index mode, else colorBits.
uint32_t __wglColorDepth(const GlModes *modes);

// The DCI primary surface as a front buffer, the DCI library binding and the
// DCI set's swap (a GDI copy from the back buffer's DIB section).
#pragma once

#include "platform/dci.h"
#include "wgl/wgl_drawable.h"

bool __wglDCIOpen(void);
bool __wglDCIClose(void);
void __wglInitDCI(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth);
void __wglDCIUpdateDrawablePalette(WglDrawablePrivate *drawable);
void __wglDCIUpdateClipList(GlDrawable *drawable);
BOOL __wglDCIDIBSwapBuffers(WglDrawablePrivate *drawable);

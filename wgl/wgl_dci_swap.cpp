// Placeholder bodies until this file is written.
#include "wgl/wgl_dci.h"

BOOL __wglDCIDIBSwapBuffers(WglDrawablePrivate *) { return 0; }

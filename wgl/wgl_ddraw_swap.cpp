// Placeholder bodies until this file is written.
#include "wgl/wgl_ddraw.h"

BOOL __wglDDrawDDrawSwapBuffers(WglDrawablePrivate *) { return 0; }
BOOL __wglDDrawMemSwapBuffers(WglDrawablePrivate *) { return 0; }

// Placeholder bodies until this file is written.
#include "wgl/wgl_dib.h"

void __wglDIBUpdateDrawablePalette(WglDrawablePrivate *) {}

// Placeholder bodies until this file is written.
#include "wgl/wgl_drawable_update.h"

void __wglUpdateOwnershipRegion(WglDrawablePrivate *, const RGNDATA *) {}

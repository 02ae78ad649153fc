// Whether the MMX span routines can draw for this context.
#include "core/context.h"
#include "fastraster/fr_pick.h"

GLbool8 __glFRSupportsMMX(GlContext *gc) {
  return (gc->constants.cpuFlags & __GL_CPU_MMX) && gc->modes.rgbMode && gc->modes.colorBits <= 16;
}

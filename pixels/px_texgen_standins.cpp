// The stand-ins of pixels/px_texgen_standins.h.
#include "pixels/px_texgen_standins.h"

#include "core/s_standin.h"

PIXELS_TEXGEN_STANDINS(GL_STANDIN_DEFINE)

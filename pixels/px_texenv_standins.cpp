// The stand-ins of pixels/px_texenv_standins.h.
#include "pixels/px_texenv_standins.h"

#include "core/s_standin.h"

PIXELS_TEXENV_STANDINS(GL_STANDIN_DEFINE)

// The stand-ins of pixels/px_texmgr_standins.h.
#include "pixels/px_texmgr_standins.h"

#include "core/s_standin.h"

PIXELS_TEXMGR_STANDINS(GL_STANDIN_DEFINE)

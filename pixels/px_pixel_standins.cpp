// The stand-ins of pixels/px_pixel_standins.h.
#include "pixels/px_pixel_standins.h"

#include "core/s_standin.h"

PIXELS_PIXEL_STANDINS(GL_STANDIN_DEFINE)

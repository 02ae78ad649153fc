// Stand-ins for the primitive render procedures (raster/s_render_standins.h).
#include "raster/s_render_standins.h"

#include "core/s_standin.h"

RASTER_RENDER_STANDINS(GL_STANDIN_DEFINE)

// Stand-ins for the fog procedures (raster/s_fog_standins.h).
#include "raster/s_fog_standins.h"

#include "core/s_standin.h"

RASTER_FOG_STANDINS(GL_STANDIN_DEFINE)

// Stand-ins for the raster-position procedures (geometry/s_rpos_standins.h).
#include "geometry/s_rpos_standins.h"

#include "core/s_standin.h"

GEOMETRY_RPOS_STANDINS(GL_STANDIN_DEFINE)

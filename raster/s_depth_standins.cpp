// Stand-ins for the single-pixel depth tests (raster/s_depth_standins.h).
#include "raster/s_depth_standins.h"

#include "core/s_standin.h"

RASTER_DEPTH_STANDINS(GL_STANDIN_DEFINE)

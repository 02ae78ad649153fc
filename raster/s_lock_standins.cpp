// Stand-ins for the buffer locks (raster/s_lock_standins.h).
#include "raster/s_lock_standins.h"

#include "core/s_standin.h"

RASTER_LOCK_STANDINS(GL_STANDIN_DEFINE)

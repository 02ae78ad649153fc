// Stand-ins for the span and line pipeline (raster/s_span_standins.h).
#include "raster/s_span_standins.h"

#include "core/s_standin.h"

RASTER_SPAN_STANDINS(GL_STANDIN_DEFINE)

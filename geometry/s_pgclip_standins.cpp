// Stand-in for the polygon clipper (geometry/s_pgclip_standins.h).
#include "geometry/s_pgclip_standins.h"

#include "core/s_standin.h"

GEOMETRY_PGCLIP_STANDINS(GL_STANDIN_DEFINE)

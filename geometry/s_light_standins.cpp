// Stand-ins for the per-vertex lighting procedures (see s_light_standins.h).
#include "geometry/s_light_standins.h"

#include "core/s_standin.h"

GEOMETRY_LIGHT_STANDINS(GL_STANDIN_DEFINE)

// Stand-ins for the begin procedures (geometry/s_prim_begin_standins.h).
#include "geometry/s_prim_begin_standins.h"

#include "core/s_standin.h"

GEOMETRY_PRIM_BEGIN_STANDINS(GL_STANDIN_DEFINE)

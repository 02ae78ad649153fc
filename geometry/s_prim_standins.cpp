// Stand-ins for the steady procedures of primitive assembly
// (geometry/s_prim_standins.h).
#include "geometry/s_prim_standins.h"

#include "core/s_standin.h"

GEOMETRY_PRIM_STANDINS(GL_STANDIN_DEFINE)

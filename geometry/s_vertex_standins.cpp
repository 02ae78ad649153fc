// Stand-ins for the per-vertex procedures (geometry/s_vertex_standins.h).
#include "geometry/s_vertex_standins.h"

#include "core/s_standin.h"
#include "geometry/s_vertex.h"

GEOMETRY_VERTEX_STANDINS(GL_STANDIN_DEFINE)

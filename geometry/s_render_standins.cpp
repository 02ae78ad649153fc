// Stand-ins for the feedback and selection render procedures and the
// triangle clipper (geometry/s_render_standins.h).
#include "geometry/s_render_standins.h"

#include "core/s_standin.h"

GEOMETRY_RENDER_STANDINS(GL_STANDIN_DEFINE)

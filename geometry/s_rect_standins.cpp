// Stand-in for the rectangle procedure (geometry/s_rect_standins.h).
#include "geometry/s_rect_standins.h"

#include "core/s_standin.h"

GEOMETRY_RECT_STANDINS(GL_STANDIN_DEFINE)

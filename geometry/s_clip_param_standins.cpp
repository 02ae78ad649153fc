// Stand-ins for the parameter-clip procedures (geometry/s_clip_param_standins.h).
#include "geometry/s_clip_param_standins.h"

#include "core/s_standin.h"

namespace geometry {

GEOMETRY_CLIP_PARAM_STANDINS(GL_STANDIN_DEFINE)

}  // namespace geometry

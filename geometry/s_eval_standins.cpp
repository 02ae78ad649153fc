// Stand-ins for the evaluation procedures (geometry/s_eval_standins.h).
#include "geometry/s_eval_standins.h"

#include "core/s_standin.h"

GEOMETRY_EVAL_STANDINS(GL_STANDIN_DEFINE)

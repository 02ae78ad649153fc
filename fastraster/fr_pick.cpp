// Until the fast rasterizer exists it declines every state, so triangles
// take the generic procedures. It reports being asked to the stand-in
// record, so tests see when the generic picker consults it.
#include "fastraster/fr_pick.h"

#include "core/s_standin.h"

GLbool8 __glFRPickTriangleProcs(GlContext *) GL_STANDIN_BODY(__glFRPickTriangleProcs, 0)

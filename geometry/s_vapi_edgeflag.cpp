// glEdgeFlag: the current edge flag, kept as the boundary-edge bit of `has`
// so that primitive assembly can OR it into vertices.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"

void GLENTRY __glim_EdgeFlag(GLboolean flag) {
  __glGetTLSCXValue()->state.current.edgeFlag = flag ? __GL_HAS_EDGEFLAG_BOUNDARY : 0;
}

void GLENTRY __glim_EdgeFlagv(const GLboolean *flag) { __glim_EdgeFlag(*flag); }

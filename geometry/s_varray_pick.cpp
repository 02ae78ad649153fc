// The vertex-array pickers. The array records and the procedures they
// choose from arrive with vertex arrays; until then the enables picker has
// nothing to derive and only reports that it ran.
#include "geometry/s_varray_pick.h"

#include "core/s_standin.h"

void __glGenericPickVertexArrayEnables(GlContext *)
    GL_STANDIN_VOID_BODY(__glGenericPickVertexArrayEnables)

void __glGenericPickVertexArrayProcs(GlContext *gc) {
  __glGenericPickVertexArrayEnables(gc);
}

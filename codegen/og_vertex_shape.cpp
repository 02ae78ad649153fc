// The vertex-shape name space arrives with the generated set-up code; until
// then there is no shape to choose and the picker only reports that it ran.
#include "codegen/og_vertex_shape.h"

#include "core/s_standin.h"

void __glPickVertexShape(GlContext *) GL_STANDIN_VOID_BODY(__glPickVertexShape)

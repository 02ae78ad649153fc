// Generated setups read every vertex field through the vertex-shape name
// space; vertices have one layout, so each field's id is its own offset.
#include "codegen/og_vertex_shape.h"

#include "core/context.h"

void __glPickVertexShape(GlContext *gc) {
  __glNSOpenSpace(&gc->vertexShape);
  gc->vertexShape.direct_map = 1;
}

// The per-vertex texture-coordinate procedures the texture-coordinate
// picker installs, each (gc, vertex) writing the vertex's texture
// coordinates.
#pragma once

struct GlContext;
struct GlVertex;

// Without generation: the vertex's own coordinates through the texture
// matrix.
void __glCalcTexture(GlContext *gc, GlVertex *v);

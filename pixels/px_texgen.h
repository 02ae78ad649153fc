// The per-vertex texture-coordinate procedures the texture-coordinate
// picker installs, each (gc, vertex) writing the vertex's texture
// coordinates. Every one but the perspective wrappers ends with the texture
// matrix.
#pragma once

struct GlContext;
struct GlVertex;

// Without generation: the vertex's own coordinates through the texture
// matrix.
void __glCalcTexture(GlContext *gc, GlVertex *v);
// s and t from the object planes and object coordinates; r and q the
// vertex's.
void __glCalcObjectLinear(GlContext *gc, GlVertex *v);
// s and t from the eye planes and eye coordinates; r and q the vertex's.
void __glCalcEyeLinear(GlContext *gc, GlVertex *v);
// s and t from the eye direction reflected about the eye-space normal.
void __glCalcSphereMap(GlContext *gc, GlVertex *v);
// Each coordinate whose generation is enabled by its own mode; the others
// keep the vertex's value.
void __glCalcMixedTexture(GlContext *gc, GlVertex *v);
// procs.calcTextureBase, then s, t and q times the window 1/w unless the
// vertex is clipped. The fast form skips the base procedure under an
// identity texture matrix (the coordinates are then already in place).
void __glCalcTexturePersp(GlContext *gc, GlVertex *v);
void __glFastCalcTexturePersp(GlContext *gc, GlVertex *v);

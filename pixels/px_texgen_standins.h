// Stand-ins for the per-vertex texture-coordinate procedures the
// texture-coordinate picker installs; the texture-generation issue
// replaces them.
#pragma once

struct GlContext;
struct GlVertex;

void __glCalcTexture(GlContext *gc, GlVertex *v);
void __glCalcEyeLinear(GlContext *gc, GlVertex *v);
void __glCalcObjectLinear(GlContext *gc, GlVertex *v);
void __glCalcSphereMap(GlContext *gc, GlVertex *v);
void __glCalcMixedTexture(GlContext *gc, GlVertex *v);
// Run procs.calcTextureBase, then divide by w; the fast form skips the base
// under an identity texture matrix.
void __glCalcTexturePersp(GlContext *gc, GlVertex *v);
void __glFastCalcTexturePersp(GlContext *gc, GlVertex *v);

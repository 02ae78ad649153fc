// Per-vertex fog of the colour, for smooth-shaded fogged primitives: the
// vertex colour of one face (0 front, 1 back) is blended towards the fog
// colour by the vertex's fog factor (1 no fog, 0 all fog). ComputeLightProcs
// installs them in procs.calcColor.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

// Unlit: the colour the vertex already holds. Nothing to do when the device
// fogs in hardware (gc->fogInHardware).
void __glFogRGBColor(GlContext *gc, GLint face, GlVertex *v);
// Unlit colour index: index + (1 - f) x fog index, at most the top index.
void __glFogCIColor(GlContext *gc, GLint face, GlVertex *v);
// Lit: procs.calcLitColor first, then as the unlit forms.
void __glFogLitRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glFogLitCIColor(GlContext *gc, GLint face, GlVertex *v);

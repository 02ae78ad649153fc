// The fog procedures the fog picker installs for points, lines, the flat-fog
// fills and the vertex pipeline.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlFragment;
struct GlColor;

// The vertex's fog factor, clamped to 0 .. 1 (any mode / GL_LINEAR only).
GLfloat __glFogVertex(GlContext *gc, GlVertex *v);
GLfloat __glFogVertexLinear(GlContext *gc, GlVertex *v);
// Fogs the fragment's colour in place from its eye-space distance.
void __glFogFragmentSlow(GlContext *gc, GlFragment *frag, GLfloat eyeDistance);
// out = in fogged by factor `fog` towards the scaled fog colour.
void __glFogColorSlow(GlContext *gc, GlColor *out, const GlColor *in, GLfloat fog);

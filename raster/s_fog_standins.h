// Stand-ins for the fog procedures the fog picker installs. The rasterizer's
// fog procedures replace them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlFragment;
struct GlColor;

GLfloat __glFogVertex(GlContext *gc, GlVertex *v);
GLfloat __glFogVertexLinear(GlContext *gc, GlVertex *v);
void __glFogFragmentSlow(GlContext *gc, GlFragment *frag, GLfloat eyeDistance);
void __glFogColorSlow(GlContext *gc, GlColor *out, const GlColor *in, GLfloat fog);

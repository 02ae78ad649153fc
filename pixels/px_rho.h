// Level-of-detail procedures for textures whose two filters are the same
// and not mipmapped: the level of detail is never read, so it is 0.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlEdgeWalker;

GLfloat __glNopLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q);
GLfloat __glNopPolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                          GLfloat q);

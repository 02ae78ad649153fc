// Level-of-detail procedures: the squared scale factor rho of texture
// coordinates to window pixels, for lines and polygons, and the empty ones
// for textures whose two filters are the same and not mipmapped, where the
// level of detail is never read.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlEdgeWalker;

// At the point with homogeneous (s, t, q) of the line between gc->line's
// two vertices.
GLfloat __glComputeLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q);
// At the point with homogeneous (s, t, q) of the triangle whose increments
// gc->polygon.shader holds; the walker is not read.
GLfloat __glComputePolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                              GLfloat q);

GLfloat __glNopLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q);
GLfloat __glNopPolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                          GLfloat q);

// Stand-ins for the texture sampler's procedures (fragment, level of detail
// and filters) that the texture picker installs; the texture-filtering
// issue replaces them.
#pragma once

#include "core/gl_defs.h"
#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;
struct GlEdgeWalker;

// Fragment procedures (GlTextureFragmentProc).
void __glFastTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);
void __glTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);
void __glMipMapFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);

// Level of detail of lines and polygons.
GLfloat __glComputeLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q);
GLfloat __glComputePolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                              GLfloat q);

// Magnify and minify (GlTextureFilterProc).
void __glNearestFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glLinearFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glNMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glLMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glNMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glLMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);

// One level, by dimension (GlTextureLevelFilterProc).
void __glNearestFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                        GlTexel *result);
void __glLinearFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                       GlTexel *result);
void __glNearestFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                        GlTexel *result);
void __glLinearFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                       GlTexel *result);

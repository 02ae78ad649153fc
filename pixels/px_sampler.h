// The software texture sampler: fragment procedures, the magnify and minify
// filters and the filters of one level. The picker installs them in the
// current texture (rho procedures: pixels/px_rho.h).
#pragma once

#include "core/gl_defs.h"
#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;

// Fragment procedures (GlTextureFragmentProc): sample the current texture
// and apply its environment to the colour.
void __glFastTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);
void __glTextureFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);
void __glMipMapFragment(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);

// The level value of a squared scale factor rho > 0: half a piecewise-linear
// log2. A NaN rho and rho from 2^32 on (level 16 and more) give p + 1, past
// the last level p.
GLfloat __glComputeLambda(GLfloat rho, int32_t lastLevel);

// Magnify and minify (GlTextureFilterProc) at normalised (s, t).
void __glNearestFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s,
                       GLfloat t);
void __glLinearFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s,
                      GLfloat t);
void __glNMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glLMNFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glNMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);
void __glLMLFilter(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t);

// One level at (u, v) in its texels (GlTextureLevelFilterProc); the 1D forms
// read row 0.
void __glNearestFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                        GlTexel *result);
void __glLinearFilter1(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                       GlTexel *result);
void __glNearestFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                        GlTexel *result);
void __glLinearFilter2(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v,
                       GlTexel *result);

// Colours between their API forms (float or integer RGBA), the unscaled
// form (1.0 is full intensity) and the scaled form the rasterizer works in
// (full intensity is the component's colour scale). Each takes (gc, dst,
// src); dst and src may be the same record. Components pair with the scale
// of the same name whatever order the scales are stored in.
#pragma once

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;

// c x s, no clamp.
void __glScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src);
// c x s, then clamped to [0, s].
void __glClampAndScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src);
// Clamped to [0, 1].
void __glClampColorf(GlContext *gc, GlColor *dst, const GlColor *src);
// A scaled colour clamped to [0, s].
void __glClampScaledColorf(GlContext *gc, GlColor *dst, const GlColor *src);
void __glClampRGBColor(GlContext *gc, GlColor *dst, const GlColor *src);
// Integers map the full signed range onto [-1, 1]: (2i + 1) / uIntMax.
void __glScaleColori(GlContext *gc, GlColor *dst, const GLint src[4]);
void __glClampAndScaleColori(GlContext *gc, GlColor *dst, const GLint src[4]);
void __glClampColori(GlContext *gc, GlColor *dst, const GLint src[4]);
// Back to the API forms, for queries.
void __glUnScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src);
void __glUnScaleColori(GlContext *gc, GLint dst[4], const GlColor *src);

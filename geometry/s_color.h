// Colours into the scaled form the rasterizer works in.
#pragma once

#include "geometry/s_vertex.h"

struct GlContext;

// dst = src x the context's colour scales, per component, no clamp. dst and
// src may be the same record.
void __glScaleColorf(GlContext *gc, GlColor *dst, const GlColor *src);

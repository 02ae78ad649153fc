// Stand-ins for the raster-position procedures the core fills
// procs.rasterPos with, for 2, 3 and 4 coordinates (gc, the coordinates as
// floats). The raster position replaces them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __glRasterPos2(GlContext *gc, const GLfloat *v);
void __glRasterPos3(GlContext *gc, const GLfloat *v);
void __glRasterPos4(GlContext *gc, const GLfloat *v);

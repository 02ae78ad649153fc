// The raster-position procedures behind the glRasterPos entries, one per
// coordinate count (procs.rasterPos[0..2]).
#pragma once

#include "core/gl_defs.h"

struct GlContext;

void __glRasterPos2(GlContext *gc, const GLfloat *v);
void __glRasterPos3(GlContext *gc, const GLfloat *v);
void __glRasterPos4(GlContext *gc, const GLfloat *v);

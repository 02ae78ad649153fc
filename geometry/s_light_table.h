// The power tables a light cache (spot) or a material cache (specular)
// holds, and the look-up words copied out of them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlSpecLUT;

// Takes the table of `exponent` in place of *held, copying its entries,
// threshold and scale, and gives *held back. When no table can be had it
// records GL_OUT_OF_MEMORY and answers false: the table held so far stays in
// force, and a holder without one gets words that make every look-up skip its
// term (the threshold lies above any argument, the entries are 0). The caller
// keeps the exponent it had, so the next rebuild of its lighting cache (the
// next light, light-model or material change) asks again.
bool __glTakeSpecTable(GlContext *gc, GLfloat exponent, GlSpecLUT **held, GLfloat **entries,
                       GLfloat *threshold, GLfloat *scale);

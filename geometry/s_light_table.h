// The power tables a light cache (spot) or a material cache (specular)
// holds, and the look-up words copied out of them.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlSpecLUT;

// Gives back *held and takes the table of `exponent` in its place, copying
// its entries, threshold and scale. When no table can be had, *held is null
// (so the next validation tries again) and the words make every look-up skip
// its term: the threshold lies above any argument and the entries are 0.
void __glTakeSpecTable(GlContext *gc, GLfloat exponent, GlSpecLUT **held, GLfloat **entries,
                       GLfloat *threshold, GLfloat *scale);

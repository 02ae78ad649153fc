// The image copy between two memory layouts (procs.pickCopyImage).
#pragma once

#include "core/calling.h"

struct GlContext;
struct GlPixelSpanInfo;

// Copies the width x height image `info` describes from its source layout
// to its destination layout. So far only bitmaps (GL_BITMAP on both sides,
// as the polygon stipple query asks); any other move does nothing until
// the pixel paths' span chains take it over.
void __glGenericPickCopyImage(GlContext *gc, GlPixelSpanInfo *info, GLbool8 applyModify);

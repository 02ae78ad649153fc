// The generic render-bitmap picker (the core table carries the optimised
// picker instead; back ends may call this one).
#include "core/context.h"
#include "core/s_pick.h"
#include "pixels/px_bitmap.h"

void __glGenericPickRenderBitmapProcs(GlContext *gc) { gc->procs.renderBitmap = __glRenderBitmap; }

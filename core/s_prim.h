// glBegin and glEnd, and the default end-of-primitive procedure.
#pragma once

struct GlContext;

// Default `procs.endPrim`: returns the primitive machine to rest (the
// per-vertex procedure becomes the no-op).
void __glEndPrim(GlContext *gc);

// The colour clear both colour-buffer kinds run under their own names.
#pragma once

struct GlColorBuffer;

// Locks the drawable (tracing `line` and `file`), the buffer's drawable buffer and the
// device; clears the front buffer's visible rectangles cut to the clip box,
// or hands any other buffer to the back end's colour clear; unlocks in the
// reverse order. Nothing while the buffer is unbound.
void __glClearColorBufferLocked(GlColorBuffer *cfb, int line, const char *file);

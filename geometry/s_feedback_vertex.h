// What the feedback records share: one vertex written in the feedback type,
// and the line record with its reset token.
#pragma once

struct GlContext;
struct GlVertex;

// One pipeline vertex in the feedback type; texture coordinates are
// validated when missing and written in the application's units.
void feedback(GlContext *gc, GlVertex *v);
// The raster position in the feedback type: its texture coordinates as
// stored (the raster position never divided them by w).
void __glFeedbackRasterPosVertex(GlContext *gc, GlVertex *rasterPos);
// GL_LINE_RESET_TOKEN for the first segment since primitive assembly asked
// for a restart (setting the flag), else GL_LINE_TOKEN; then a and b.
void __glFeedbackLineRecord(GlContext *gc, GlVertex *a, GlVertex *b);

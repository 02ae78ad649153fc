// The feedback records of glBitmap, glDrawPixels and glCopyPixels: the
// token, then the raster position.
#include "core/context.h"
#include "geometry/s_feedback.h"
#include "geometry/s_feedback_vertex.h"

namespace {

void RasterRecord(GlContext *gc, GLfloat token, GlVertex *rasterPos) {
  __glFeedbackTag(gc, token);
  __glFeedbackRasterPosVertex(gc, rasterPos);
}

}  // namespace

void __glFeedbackBitmap(GlContext *gc, GlVertex *rasterPos) {
  RasterRecord(gc, GL_BITMAP_TOKEN, rasterPos);
}

void __glFeedbackDrawPixels(GlContext *gc, GlVertex *rasterPos) {
  RasterRecord(gc, GL_DRAW_PIXEL_TOKEN, rasterPos);
}

void __glFeedbackCopyPixels(GlContext *gc, GlVertex *rasterPos) {
  RasterRecord(gc, GL_COPY_PIXEL_TOKEN, rasterPos);
}

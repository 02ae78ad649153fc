// The clip picker: how an independent line and a triangle are clipped.
#include "core/context.h"
#include "core/s_pick.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "raster/s_line_clip.h"
#include "raster/s_triangle.h"

void __glGenericPickClipProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  // A flat line takes its colour from its second vertex: only that one needs
  // its colour computed.
  p.clipLine =
      gc->state.light.shadingModel == GL_FLAT ? __glFastClipFlatLine : __glFastClipSmoothLine;
  p.clipTriangle = __glClipTriangle;
}

// Installing a generated triangle path by hand, for the routines the
// picker does not choose yet or never chooses.
#include "codegen/og_ras.h"

#include "core/context.h"
#include "raster/s_triangle.h"

GLbool8 __glForceGeneratedTriangle(GlContext *gc, GLbool8 spanletMode) {
  void *raster = __glGenerateRasterizer(gc, spanletMode);
  gc->procs.fillTriangleSpans = raster;
  void *setup = __glGenerateSetup(gc, spanletMode);
  if (setup == nullptr) return 0;
  const GlFillTriangleProc fill = reinterpret_cast<GlFillTriangleProc>(setup);
  // Behind the flat-fog wrapper when the picker put one there.
  if (gc->procs.fillTriangle == __glFillFlatFogTriangle)
    gc->procs.fillTriangleUnfogged = fill;
  else
    gc->procs.fillTriangle = fill;
  return 1;
}

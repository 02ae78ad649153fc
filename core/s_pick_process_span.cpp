// The lazy span processor validation installs whenever it re-picks
// triangles: the span stages are chosen at the first span drawn afterwards,
// so a validation that draws no triangle never builds them.
#include "core/context.h"
#include "core/s_pick.h"

GLbool8 __glPickProcessSpan(GlContext *gc) {
  // The slot holds __glGenericPickSpanProcs unless a back end chose its own.
  gc->procs.pickSpanProcs(gc);
  GlSpanProc process = gc->procs.span.processSpan;
  // A picker that left this procedure in place would send every span here
  // again without end.
  if (process == __glPickProcessSpan) return 0;
  return process(gc);
}

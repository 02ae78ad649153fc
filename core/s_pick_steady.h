// procs.primSteady holds per-vertex procedures (gc, v) and, in entries 4 and
// 12, end procedures (gc) that primitive assembly moves into procs.endPrim.
#pragma once

#include "core/procs.h"

#define __GL_STEADY_POINT 0
#define __GL_STEADY_LSTRIP 1
#define __GL_STEADY_LINES 2
#define __GL_STEADY_LLOOP 3
#define __GL_STEADY_END_LLOOP 4
#define __GL_STEADY_TFAN 5
#define __GL_STEADY_EVEN_TSTRIP 6
#define __GL_STEADY_ODD_TSTRIP 7
#define __GL_STEADY_TRIANGLES 8
#define __GL_STEADY_QSTRIP 9
#define __GL_STEADY_QUADS 10
#define __GL_STEADY_POLYGON 11
#define __GL_STEADY_END_POLYGON 12

// An end procedure stored in its primSteady entry; it is called only as an
// end procedure, with the context alone.
inline GlVertexProc __glSteadyEnd(void (*end)(GlContext *gc)) {
  return reinterpret_cast<GlVertexProc>(reinterpret_cast<void (*)(void)>(end));
}

// The triangle-setup generator: for the current state it writes the routine
// installed as procs.fillTriangle, which sorts and adjusts the vertices,
// sets up the edges, buffer addresses and planes in a span record on its
// own stack and jumps to procs.fillTriangleSpans.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// Where generated setups end their code: the offset table of the colour
// loop lies behind it in the same cell.
#define OG_SETUP_CODE_LIMIT 3840u
// Bytes reserved below the span record on the setup's stack.
#define OG_SETUP_FRAME 864u

// The routine for the current state and the raster routine now installed
// (gc->rasterNameSpace), generated on a cache miss; null when there is no
// raster name space. `spanletMode` is the flag the raster routine was made
// with.
void *__glGenerateSetup(GlContext *gc, GLbool8 spanletMode);

// The second setup key word's state bits (before the layout hash).
uint32_t __glSetupStateBits(GlContext *gc, GLbool8 spanletMode);

// The raster routine for the current state, generated on a cache miss: the
// code that walks the edges of what the setup prepared and draws the spans,
// through the spanlet chain in spanlet mode. It is entered only by the
// setup's jump. Points gc->rasterNameSpace at the routine's name space.
void *__glGenerateRasterizer(GlContext *gc, GLbool8 spanletMode);
// The raster cache's second key word for the current state.
uint32_t __glRasterKey2(GlContext *gc, GLbool8 spanletMode);

// For tests and benchmarks, never a user switch: installs a generated
// raster routine and setup for the current, validated state with the
// spanlet-mode flag given, whatever the picker would choose. Triangles use
// them until the next validation. False when no setup can be made.
GLbool8 __glForceGeneratedTriangle(GlContext *gc, GLbool8 spanletMode);

// The fast rasterizer's triangle picker, asked first by the generic triangle
// picker in GL_RENDER mode.
#pragma once

#include "core/calling.h"

struct GlContext;

// Non-zero when the fast rasterizer has installed renderTriangle and
// fillTriangle for the current state; zero when it declines and the generic
// picker chooses. A decline changes nothing.
GLbool8 __glFRPickTriangleProcs(GlContext *gc);

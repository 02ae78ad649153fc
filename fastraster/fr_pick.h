// The fast rasterizer's triangle picker, asked first by the generic triangle
// picker in GL_RENDER mode.
#pragma once

#include "core/calling.h"

struct GlContext;

// Non-zero when the fast rasterizer has installed renderTriangle and
// fillTriangle for the current state; zero when it declines and the generic
// picker chooses. A decline changes nothing.
GLbool8 __glFRPickTriangleProcs(GlContext *gc);

// The processor has MMX, the context is RGBA and its colour buffer has at
// most 16 bits a pixel.
GLbool8 __glFRSupportsMMX(GlContext *gc);

struct GlColorBuffer;

// Frame-buffer type codes (GlColorBuffer.frFbType): the pixel layouts the
// fast rasterizer's kernel tables are indexed by. 0 is every other layout.
#define FR_FB_OTHER 0
#define FR_FB_CI8 1
#define FR_FB_RGB332 2
#define FR_FB_RGB555 4
#define FR_FB_RGB565 5
#define FR_FB_A1RGB5 6
#define FR_FB_RGB8 7
#define FR_FB_XRGB8 10
#define FR_FB_ARGB8 13

// Classifies the colour buffer from the visual and the buffer's shifts and
// stores the code in cfb->frFbType. A visual whose bit counts disagree with
// the layout its shifts name gets 0.
void __glFRPickFBType(GlContext *gc, GlColorBuffer *cfb);

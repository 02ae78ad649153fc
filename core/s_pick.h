// The generic procedure pickers and the all-pickers pass. Each takes the
// context, reads the state and the raster-mode flags and installs
// procedures in gc->procs; the back ends call several and then override.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/procs.h"
#include "core/s_validate.h"

struct GlContext;
struct GlVertex;

// ---- The pass (__glGenericPickAllProcs, core/s_validate.h) ----
// The raster-mode flags word for the current state.
uint32_t __glComputeRasterModeFlags(GlContext *gc);
// Bytes of one pixel of the colour buffers (dithering and the line stores
// depend on it).
uint32_t __glColorBytesPerPixel(const GlContext *gc);
// Installed in procs.span.processSpan whenever triangles are re-picked:
// picks the span stages on the first span, then processes it.
GLbool8 __glPickProcessSpan(GlContext *gc);

// ---- Pickers of the rasterizer's procedures ----
void __glGenericPickSpanProcs(GlContext *gc);
void __glGenericPickLineProcs(GlContext *gc);
void __glGenericPickPointProcs(GlContext *gc);
void __glGenericPickTriangleProcs(GlContext *gc);
void __glGenericPickClipProcs(GlContext *gc);
void __glGenericPickFogProcs(GlContext *gc);
void __glGenericPickDepthProcs(GlContext *gc);
void __glGenericPickBufferProcs(GlContext *gc);
void __glGenericPickRenderBitmapProcs(GlContext *gc);

// The fill of a triangle nothing draws (both faces culled, feedback,
// selection): the fill slot is never left empty.
void GLFASTCALL __glNopFillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
// The single-pixel depth tests by depth index: (function - GL_NEVER), + 8
// with depth writes off, + 16 for a buffer of more than 16 bits.
extern const GlDepthTestPixelProc __glCDTPixel[32];
int32_t __glDepthProcIndex(const GlContext *gc);

// ---- Texture and pixel pickers ----
void __glGenericPickTextureEnables(GlContext *gc);
void __glGenericPickCalcTextureProcs(GlContext *gc);
void __glGenericPickTextureProcs(GlContext *gc);
void __glGenericPickPixelProcs(GlContext *gc);

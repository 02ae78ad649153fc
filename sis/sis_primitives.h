// The hardware lines, points and triangles: render and fill procedures that
// send each primitive's command and vertex blocks straight to the chip.
// They run with the device lock held; the registers they rely on (depth,
// blend, fog, texture, clip) are already programmed.
#pragma once

#include "core/calling.h"
#include "geometry/s_vertex.h"

struct GlContext;

// ---- Lines: procs.renderLine candidates ----
void __glSiSRenderFlatLine(GlContext *gc, GlVertex *v1, GlVertex *v2);
void __glSiSRenderSmoothLine(GlContext *gc, GlVertex *v1, GlVertex *v2);
void __glSiSRenderFlatDepthLine(GlContext *gc, GlVertex *v1, GlVertex *v2);
void __glSiSRenderSmoothDepthLine(GlContext *gc, GlVertex *v1, GlVertex *v2);

// ---- Points: procs.renderPoint candidates ----
void __glSiSRenderAliasedPoint1_NoTex(GlContext *gc, GlVertex *v);
void __glSiSRenderAliasedPoint1(GlContext *gc, GlVertex *v);

// ---- Triangles: procs.fillTriangle candidates (a fastcall slot) ----
void GLFASTCALL __glSiSRenderFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glSiSRenderSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glSiSRenderFlatDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                               GlVertex *c);
void GLFASTCALL __glSiSRenderSmoothDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                                 GlVertex *c);
void GLFASTCALL __glSiSTexFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glSiSTexSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glSiSTexFlatDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void GLFASTCALL __glSiSTexSmoothDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                              GlVertex *c);

namespace sis {

// One line: ordered top-first on the chips that need it, command by
// direction and shading, both blocks, then the fire. smooth: 1 or 0.
void __drawLine(GlContext *gc, GlVertex *v1, GlVertex *v2, int smooth);
// A line into the front buffer: once per visible rectangle of the window,
// each with its own clip registers, which end on the clip box again.
void __clipAndDrawLine(GlContext *gc, GlVertex *v1, GlVertex *v2, int smooth);

void __fillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, int smooth);
void __texTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, int smooth);
// The tail's texS and texT for the three vertices in sending order: s / q
// and t / q when texture coordinates are divided, else s and t.
void __RescaleTextureUV(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

}  // namespace sis

// Stand-ins for the per-vertex procedures the vertex picker installs: clip
// checks, validation by size class and the save procedures. The vertex
// pipeline's own procedures replace them.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// ---- Clip checks (gc, v) -> clip codes ----
uint32_t __glI386ClipCheckFrustum(GlContext *gc, GlVertex *v);
uint32_t __glK3DClipCheckFrustum(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckFrustum2D(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll2(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll3(GlContext *gc, GlVertex *v);
uint32_t __glClipCheckAll4(GlContext *gc, GlVertex *v);

// ---- Validation by size class (gc, v, needs) -> the new `has` ----
uint32_t __glValidateVertex2(GlContext *gc, GlVertex *v, uint32_t needs);
uint32_t __glValidateVertex3(GlContext *gc, GlVertex *v, uint32_t needs);
uint32_t __glValidateVertex4(GlContext *gc, GlVertex *v, uint32_t needs);

// ---- Save procedures (gc, v): copy current values, then procs.primVertex ----
void __glSaveN(GlContext *gc, GlVertex *v);
void __glSaveC(GlContext *gc, GlVertex *v);
void __glSaveCI(GlContext *gc, GlVertex *v);
void __glSaveT(GlContext *gc, GlVertex *v);
void __glSaveNT(GlContext *gc, GlVertex *v);
void __glSaveCT(GlContext *gc, GlVertex *v);
void __glSaveCIT(GlContext *gc, GlVertex *v);
void __glSaveCAll(GlContext *gc, GlVertex *v);
void __glSaveCIAll(GlContext *gc, GlVertex *v);

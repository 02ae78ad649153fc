// Blending: the factor procedures, the combiners (general, without the
// clamp and the four fused pairs), the front ends that the colour stores
// call, and the blend span procedures of the per-buffer span tail. Colours
// are at colour-buffer scale; factors are formed by the front colour
// buffer's reciprocal scales, which serve both buffers.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlColorBuffer;
struct GlFragment;

// ---- Source factors: out = source x factor ----
void __glDoBlendSourceZERO(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceONE(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceDC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceMDC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceMSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceMDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendSourceSAT(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);

// ---- Destination factors: out += destination x factor (through blendAdd) ----
void __glDoBlendDestZERO(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestONE(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestSC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestMSC(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestMSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlendDestMDA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);

// ---- Combiners (blendColor) ----
// blendSrc, blendDst, then each component held to at most its scale.
void __glDoBlend(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
// For pairs whose factors cannot sum past 1.
void __glDoBlendNoClamp(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlend_SA_ZERO(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlend_SA_ONE(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlend_SA_MSA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
void __glDoBlend_MSA_SA(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
// Blending disabled: out = source.
void __glDoBlendNone(GlContext *gc, const GlColor *s, const GlColor *d, GlColor *out);
// blendAdd: out += term, all four components.
void __glDoBlendAdd(GlContext *gc, const GlColor *s, const GlColor *term, GlColor *out);

// ---- Front ends (blend) ----
// Fetches the fragment's pixel from the buffer, then blendColor.
void __glBlendFetching(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag, GlColor *out);
// No factor reads the destination: blendColor with none.
void __glBlendNonFetching(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag,
                          GlColor *out);

// ---- Span procedures (the colours of gc->polygon.shader against the
//      fetched fbcolors); all return false ----
GLbool8 __glBlendSpan(GlContext *gc);
GLbool8 __glBlendStippledSpan(GlContext *gc);
GLbool8 __glBlendSpan_SA_MSA(GlContext *gc);
GLbool8 __glBlendSpan_MSA_SA(GlContext *gc);
GLbool8 __glBlendSpan_SA_ZERO(GlContext *gc);
GLbool8 __glBlendSpan_SA_ONE(GlContext *gc);

// Whether blending with these factors reads the colour in the buffer.
bool __glBlendReadsDestination(GLenum src, GLenum dst);

// Fills procs.blend from glBlendFunc (RGBA contexts only).
void __glGenericPickBlendProcs(GlContext *gc);

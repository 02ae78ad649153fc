// The procedures of the colour-index buffer that __glInitCI and its pick
// install. Named here so that the pickers' tests can tell them apart.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "raster/s_buffers.h"

struct GlContext;

namespace ci {

// One fragment (index in colour.r): ownership on the front buffer,
// rounding (dithered or not), logic op and the write mask.
void Store_8(GlColorBuffer *cfb, const GlFragment *frag);
void Store_16(GlColorBuffer *cfb, const GlFragment *frag);
void Store_24(GlColorBuffer *cfb, const GlFragment *frag);
void Store_32(GlColorBuffer *cfb, const GlFragment *frag);
// The stored index in out->r; the other components are left alone.
void Fetch_8(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_16(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_24(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_32(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);

GLbool8 StoreSpan(GlContext *gc);
GLbool8 StoreStippledSpan(GlContext *gc);

void Pick(GlContext *gc, GlColorBuffer *cfb);

void Clear(GlColorBuffer *cfb);
// The integer part of the clear index through the store.
void ClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

}  // namespace ci

// The procedures of the RGB colour buffer that __glInitRGB and its picks
// install: fragment stores and fetches by pixel size, span stores, picks
// and clears. Named here so that the pickers' tests can tell them apart.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "raster/s_buffers.h"

struct GlContext;

namespace rgb {

// The value drawing leaves in a pixel that holds `current`: the work every
// fragment store does after the ownership test (rounding, blending,
// packing, logic op, masks), kept to `widthMask`. `dither`: the store may
// dither; `alpha`: alpha is packed too.
uint32_t PixelValue(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag, uint32_t current,
                    uint32_t widthMask, bool dither, bool alpha);

// One fragment: ownership on the front buffer, rounding (dithered for
// 1 to 3 bytes a pixel), blending, logic op and the write masks.
void Store_8(GlColorBuffer *cfb, const GlFragment *frag);
void Store_16(GlColorBuffer *cfb, const GlFragment *frag);
void Store_24(GlColorBuffer *cfb, const GlFragment *frag);
void Store_32A(GlColorBuffer *cfb, const GlFragment *frag);
void Store_32(GlColorBuffer *cfb, const GlFragment *frag);
// One pixel as scaled RGBA; alpha is the alpha scale when the format has
// no alpha bits.
void Fetch_8(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_16(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_24(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_32A(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);
void Fetch_32(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *out);

// The span of gc->polygon.shader through the buffer's store, all pixels or
// those whose stipple bit is set.
GLbool8 StoreSpan(GlContext *gc);
GLbool8 StoreStippledSpan(GlContext *gc);
// Fast span stores, chosen only with every channel writable and neither
// blending nor a logic op: rounded to nearest, no per-pixel call.
GLbool8 StoreSpan_24(GlContext *gc);
GLbool8 StoreSpan_16(GlContext *gc);
GLbool8 StoreSpan_16_Dither(GlContext *gc);
// Everything Store_16 does, over the span without a call per pixel.
GLbool8 StoreSpan_16_General(GlContext *gc);

void Pick(GlContext *gc, GlColorBuffer *cfb);
void Pick16(GlContext *gc, GlColorBuffer *cfb);

void Clear(GlColorBuffer *cfb);
// The clear colour through the store: dithering and masks as for drawing.
void ClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// 3-byte pixels, every channel writable, no dithering: whole words.
void ClearRect_24(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

}  // namespace rgb

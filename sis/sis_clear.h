// The hardware clears and the depth buffer of a SiS context: the 2D
// engine's fill for colour and depth buffers the chip can reach, the
// software clears for the rest, and the depth width the modes ask for.
#pragma once

#include <stdint.h>

#include "raster/s_buffers.h"
#include "sis/sis_context.h"

// The Z format of the working Z pitch word (bits 20-21) by depth width.
#define SIS_Z_FORMAT_SHIFT 20
#define SIS_Z_FORMAT_MASK (3u << SIS_Z_FORMAT_SHIFT)
#define SIS_Z_FORMAT_16 1u
#define SIS_Z_FORMAT_24 2u
#define SIS_Z_FORMAT_32 3u

// The depth buffer for the modes' depth bits (below 17: 16-bit, above 24:
// 32-bit, else the 24-bit epoch buffer), its Z format, and the clear below.
void __glSiSInitDepth(GlDepthBuffer *dfb, GlContext *gc);
// The core's RGB colour buffer as it stands.
void __glSiSInitRGB(GlColorBuffer *cfb, GlContext *gc);
// The stored word of the clear depth.
uint32_t ZClearVal(GlDepthBuffer *dfb);
// glClear's depth clear over the clip box.
void SiSHALDepthClear(GlDepthBuffer *dfb);
// The colour clear of every buffer but the front one, over the clip box;
// the caller holds the drawable, buffer and device locks.
void SiSHALColorClear(GlColorBuffer *cfb);

namespace sis {

// Whether the 2D engine may write the buffer: a DirectDraw surface locked
// at its own memory, which lies in video memory, with a chip to send to.
bool ChipReaches(GlContext *gc, const GlDrawableBuffer *buffer);
// Whether the buffer's whole memory lies in the video-memory block.
bool InVideoMemory(const GlSiSTail *sis, const GlDrawableBuffer *buffer);
// Fills [x0, x1) x [y0, y1) (window coordinates) of the buffer with the low
// bytes of `value` through the 2D engine, and fires. The caller holds the
// device lock.
void Fill2D(GlContext *gc, const GlDrawableBuffer *buffer, int32_t x0, int32_t y0, int32_t x1,
            int32_t y1, uint32_t value);

}  // namespace sis

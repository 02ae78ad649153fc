// Pixel-format descriptions: a descriptor turned into the GlModes a context
// and a drawable carry.
#pragma once

#include "core/imports.h"
#include "platform/gdi.h"

struct GlDrawableBuffer;
struct WglDrawablePrivate;

// Clears `modes` and fills it from the descriptor. "GLFORCEZBITS", when set,
// replaces the depth bits (haveDepthBuffer still follows the descriptor).
void __wglFormatGLModes(GlModes *modes, const PIXELFORMATDESCRIPTOR *descriptor);
// The bytes per element of a depth buffer of `depthBits`: the core keeps
// every depth above 16 bits in a 32-bit word, so 17 to 32 bits take 4.
uint32_t __wglDepthElementSize(uint32_t depthBits);
// Bytes per element of one of a drawable's buffers at `depth` bits: the
// depth buffer's by __wglDepthElementSize, every other (depth - 1) / 8 + 1.
// Every buffer kind's initialiser takes its element size from here.
uint32_t __wglBufferElementSize(const GlDrawableBuffer *buffer,
                                const WglDrawablePrivate *drawable, uint32_t depth);

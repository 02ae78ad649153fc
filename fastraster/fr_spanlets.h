// The fixed spanlets of the chain that are not per-format kernels: the clip
// mask, the polygon stipple, the alpha and colour-index tests and the store
// into both colour buffers. Each takes the mask in ECX and the span record
// in EDX and hands the surviving pixels to its own successor slot.
#pragma once

#include "core/procs.h"

// Clears the pixels outside gc->transform.clipBox; a row outside it is
// dropped. Successor: procs.afterMask.
void GLFASTCALL __glGenMask(uint32_t mask, FrSpan *span);
// Clears the pixels whose polygon-stipple bit is 0. Successor:
// procs.afterStipple.
void GLFASTCALL __glGenStipple(uint32_t mask, FrSpan *span);
// Alpha byte of `colors` through gc->alphaTestTable (the GL state while
// there is no table). Successor: procs.afterAlphaTest.
void GLFASTCALL __glFRAlphaTest(uint32_t mask, FrSpan *span);
// Low byte of the 16.16 index through gc->indexTestTable (the GL state
// while there is no table). Successor: procs.afterIndexTest.
void GLFASTCALL __glFRIndexTest(uint32_t mask, FrSpan *span);
// procs.doubleStoreSpan into the back buffer, then into the front one at
// `pixel2`, both with the same dither phase.
void GLFASTCALL __glFRDoubleStore(uint32_t mask, FrSpan *span);

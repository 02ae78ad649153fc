// The spanlet chain: spanlets take the chunk's mask in ECX and the span
// record in EDX, keep EBX, ESI, EDI and EBP, and hand the surviving pixels
// to the successor slot of gc->procs that belongs to them. Generated code
// reaches those slots as displacements from the context, so their order in
// the context is pinned here.
#pragma once

#include <stddef.h>

#include "core/context.h"
#include "fastraster/fr_setup.h"

// Ends a chain that writes nothing; under "__GL_NULL_SPANLETS" it is the
// whole chain.
void GLFASTCALL __glNullSpanlet(uint32_t mask, FrSpan *span);

#define FR_CHAIN_SLOT(slot, index)                                          \
  static_assert(offsetof(GlContext, procs.slot) ==                          \
                    offsetof(GlContext, procs.fillTriangleSpans) + 4 * (index), \
                "chain slot " #slot " moved")
FR_CHAIN_SLOT(fillTriangleSpan, 1);
FR_CHAIN_SLOT(extractTexels, 2);
FR_CHAIN_SLOT(afterMask, 3);
FR_CHAIN_SLOT(afterStipple, 4);
FR_CHAIN_SLOT(afterDepthTest, 5);
FR_CHAIN_SLOT(afterColors, 6);
FR_CHAIN_SLOT(afterAlphaTest, 7);
FR_CHAIN_SLOT(afterIndexTest, 8);
FR_CHAIN_SLOT(afterStencilTest, 9);
FR_CHAIN_SLOT(stencilOpSFail, 10);
FR_CHAIN_SLOT(stencilOpZFail, 11);
FR_CHAIN_SLOT(stencilOpZPass, 12);
FR_CHAIN_SLOT(afterStencilCleanup, 13);
FR_CHAIN_SLOT(doubleStoreSpan, 14);
FR_CHAIN_SLOT(texMinFilter, 15);
FR_CHAIN_SLOT(texMagFilter, 16);
#undef FR_CHAIN_SLOT

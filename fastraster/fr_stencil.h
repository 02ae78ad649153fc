// The stencil spanlets of the fast path, for an 8-bit stencil buffer: the
// test before the depth test, the cleanup after it, and the six operations
// the picker puts into stencilOpSFail, stencilOpZFail and stencilOpZPass.
#pragma once

#include "core/gl_defs.h"
#include "core/procs.h"

// Sets passMask, runs stencilOpSFail on the failing pixels, then
// procs.afterStencilTest on the passing ones.
void GLFASTCALL __glFRStencilTest(uint32_t mask, FrSpan *span);
// `mask` holds the depth test's survivors: stencilOpZFail on the pixels it
// removed, then stencilOpZPass and procs.afterStencilCleanup on the rest.
void GLFASTCALL __glFRStencilPostDepthCleanup(uint32_t mask, FrSpan *span);

// Terminal: each updates the live pixels' stencil bytes under the write mask.
void GLFASTCALL __glFRStencilKeep(uint32_t mask, FrSpan *span);
void GLFASTCALL __glFRStencilZero(uint32_t mask, FrSpan *span);
void GLFASTCALL __glFRStencilReplace(uint32_t mask, FrSpan *span);
void GLFASTCALL __glFRStencilIncrement(uint32_t mask, FrSpan *span);
void GLFASTCALL __glFRStencilDecrement(uint32_t mask, FrSpan *span);
void GLFASTCALL __glFRStencilInvert(uint32_t mask, FrSpan *span);

// The operation spanlet of a GL stencil operation; null for other values.
FrSpanletProc __glFRPickStencilOpProc(GLenum op);

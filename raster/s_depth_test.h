// The single-pixel depth compares of the span depth tests (procs.depthTestPixel):
// (context, address of the stored element, incoming stored value). They
// compare unsigned with the function the depth buffer performs; the writing
// forms store on a pass, the _M forms only compare.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

#define GL_DEPTH_TEST_PIXEL(X) X(NEVER) X(LESS) X(EQUAL) X(LEQUAL) X(GREATER) X(NOTEQUAL) \
  X(GEQUAL) X(ALWAYS)
#define GL_DECLARE_DT(F)                                                 \
  GLbool8 __glDT_##F##16(GlContext *gc, void *address, uint32_t z);      \
  GLbool8 __glDT_##F(GlContext *gc, void *address, uint32_t z);
GL_DEPTH_TEST_PIXEL(GL_DECLARE_DT)
#undef GL_DECLARE_DT
// Compare-only twins (NEVER shares the writing form).
#define GL_DECLARE_DT_M(F)                                               \
  GLbool8 __glDT_##F##16_M(GlContext *gc, void *address, uint32_t z);    \
  GLbool8 __glDT_##F##_M(GlContext *gc, void *address, uint32_t z);
GL_DECLARE_DT_M(LESS) GL_DECLARE_DT_M(EQUAL) GL_DECLARE_DT_M(LEQUAL) GL_DECLARE_DT_M(GREATER)
GL_DECLARE_DT_M(NOTEQUAL) GL_DECLARE_DT_M(GEQUAL) GL_DECLARE_DT_M(ALWAYS)
#undef GL_DECLARE_DT_M

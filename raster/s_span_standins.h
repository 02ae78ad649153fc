// Stand-ins for the span and line stages, their processors and repeat
// procedures, the alpha- and index-test table validators, and the blend and
// store pickers. The generic rasterizer's span and line pipeline replaces
// them.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define RASTER_SPAN_STANDINS(X)                                            \
  /* The per-buffer span stages of a buffer that sets separateSpanOps */   \
  X(GLbool8, __glBlendSpan_SA_MSA, (GlContext *gc), 0)                     \
  X(GLbool8, __glBlendSpan_SA_ONE, (GlContext *gc), 0)                     \
  X(GLbool8, __glBlendSpan_SA_ZERO, (GlContext *gc), 0)                    \
  X(GLbool8, __glBlendSpan_MSA_SA, (GlContext *gc), 0)                     \
  X(GLbool8, __glBlendSpan, (GlContext *gc), 0)                            \
  X(GLbool8, __glBlendStippledSpan, (GlContext *gc), 0)                    \
  X(GLbool8, __glDitherRGBASpan, (GlContext *gc), 0)                       \
  X(GLbool8, __glDitherRGBAStippledSpan, (GlContext *gc), 0)               \
  X(GLbool8, __glDitherCISpan, (GlContext *gc), 0)                         \
  X(GLbool8, __glDitherCIStippledSpan, (GlContext *gc), 0)                 \
  X(GLbool8, __glRoundRGBASpan, (GlContext *gc), 0)                        \
  X(GLbool8, __glRoundRGBAStippledSpan, (GlContext *gc), 0)                \
  X(GLbool8, __glRoundCISpan, (GlContext *gc), 0)                          \
  X(GLbool8, __glRoundCIStippledSpan, (GlContext *gc), 0)                  \
  X(GLbool8, __glLogicOpSpan, (GlContext *gc), 0)                          \
  X(GLbool8, __glLogicOpStippledSpan, (GlContext *gc), 0)                  \
  X(GLbool8, __glMaskRGBASpan, (GlContext *gc), 0)                         \
  X(GLbool8, __glMaskCISpan, (GlContext *gc), 0)                           \
  /* Line stages (plain / stippled twins) */                               \
  X(GLbool8, __glStippleLine, (GlContext *gc), 0)                          \
  X(GLbool8, __glScissorLine, (GlContext *gc), 0)                          \
  X(GLbool8, __glScissorStippledLine, (GlContext *gc), 0)                  \
  X(GLbool8, __glStencilTestLine, (GlContext *gc), 0)                      \
  X(GLbool8, __glStencilTestStippledLine, (GlContext *gc), 0)              \
  X(GLbool8, __glDepthTestStencilLine, (GlContext *gc), 0)                 \
  X(GLbool8, __glDepthTestStencilStippledLine, (GlContext *gc), 0)         \
  X(GLbool8, __glDepthPassLine, (GlContext *gc), 0)                        \
  X(GLbool8, __glDepthPassStippledLine, (GlContext *gc), 0)                \
  X(GLbool8, __glDepthTestLine, (GlContext *gc), 0)                        \
  X(GLbool8, __glDepthTestStippledLine, (GlContext *gc), 0)                \
  X(GLbool8, __glAntiAliasLine, (GlContext *gc), 0)                        \
  X(GLbool8, __glAntiAliasStippledLine, (GlContext *gc), 0)                \
  X(GLbool8, __glStoreLine, (GlContext *gc), 0)                            \
  X(GLbool8, __glStoreStippledLine, (GlContext *gc), 0)                    \
  X(GLbool8, __glStoreLine_RGB_16_Dither, (GlContext *gc), 0)              \
  X(GLbool8, __glStoreStippledLine_RGB_16_Dither, (GlContext *gc), 0)      \
  X(GLbool8, __glStoreLine_RGB_16_Smooth, (GlContext *gc), 0)              \
  X(GLbool8, __glStoreStippledLine_RGB_16_Smooth, (GlContext *gc), 0)      \
  X(GLbool8, __glStoreLine_RGB_16_Flat, (GlContext *gc), 0)                \
  X(GLbool8, __glStoreStippledLine_RGB_16_Flat, (GlContext *gc), 0)        \
  X(GLbool8, __glStoreLine_CI_8_Smooth_Dither, (GlContext *gc), 0)         \
  X(GLbool8, __glStoreStippledLine_CI_8_Smooth_Dither, (GlContext *gc), 0) \
  X(GLbool8, __glStoreLine_CI_8_Flat_Dither, (GlContext *gc), 0)           \
  X(GLbool8, __glStoreStippledLine_CI_8_Flat_Dither, (GlContext *gc), 0)   \
  X(GLbool8, __glStoreLine_CI_8_Smooth, (GlContext *gc), 0)                \
  X(GLbool8, __glStoreStippledLine_CI_8_Smooth, (GlContext *gc), 0)        \
  X(GLbool8, __glStoreLine_CI_8_Flat, (GlContext *gc), 0)                  \
  X(GLbool8, __glStoreStippledLine_CI_8_Flat, (GlContext *gc), 0)          \
  /* Line repeat procedures and processors */                              \
  X(GLbool8, __glWideLineRep, (GlContext *gc), 0)                          \
  X(GLbool8, __glWideStippleLineRep, (GlContext *gc), 0)                   \
  X(GLbool8, __glDrawBothLine, (GlContext *gc), 0)                         \
  X(GLbool8, __glDrawBothStippledLine, (GlContext *gc), 0)                 \
  X(void, __glProcessLine, (GlContext *gc), )                              \
  X(void, __glProcessLine3NW, (GlContext *gc), )                           \
  /* Pickers of the blend procedures and of the fragment stores */         \
  X(void, __glGenericPickBlendProcs, (GlContext *gc), )
// clang-format on

RASTER_SPAN_STANDINS(GL_STANDIN_DECLARE)

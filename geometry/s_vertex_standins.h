// Stand-ins for the per-vertex procedures the vertex picker installs: clip
// checks, validation by size class and the save procedures. The vertex
// pipeline's own procedures replace them.
#pragma once

#include <stdint.h>

#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define GEOMETRY_VERTEX_STANDINS(X)                                                      \
  /* Clip checks (gc, v) -> clip codes */                                                \
  X(uint32_t, __glI386ClipCheckFrustum, (GlContext *gc, GlVertex *v), 0)                 \
  X(uint32_t, __glK3DClipCheckFrustum, (GlContext *gc, GlVertex *v), 0)                  \
  X(uint32_t, __glClipCheckFrustum2D, (GlContext *gc, GlVertex *v), 0)                   \
  X(uint32_t, __glClipCheckAll2, (GlContext *gc, GlVertex *v), 0)                        \
  X(uint32_t, __glClipCheckAll3, (GlContext *gc, GlVertex *v), 0)                        \
  X(uint32_t, __glClipCheckAll4, (GlContext *gc, GlVertex *v), 0)                        \
  /* Validation by size class (gc, v, needs) -> the new `has` */                         \
  X(uint32_t, __glValidateVertex2, (GlContext *gc, GlVertex *v, uint32_t needs), v->has) \
  X(uint32_t, __glValidateVertex3, (GlContext *gc, GlVertex *v, uint32_t needs), v->has) \
  X(uint32_t, __glValidateVertex4, (GlContext *gc, GlVertex *v, uint32_t needs), v->has) \
  /* Save procedures (gc, v): copy current values, then procs.primVertex */              \
  X(void, __glSaveN, (GlContext *gc, GlVertex *v), )                                     \
  X(void, __glSaveC, (GlContext *gc, GlVertex *v), )                                     \
  X(void, __glSaveCI, (GlContext *gc, GlVertex *v), )                                    \
  X(void, __glSaveT, (GlContext *gc, GlVertex *v), )                                     \
  X(void, __glSaveNT, (GlContext *gc, GlVertex *v), )                                    \
  X(void, __glSaveCT, (GlContext *gc, GlVertex *v), )                                    \
  X(void, __glSaveCIT, (GlContext *gc, GlVertex *v), )                                   \
  X(void, __glSaveCAll, (GlContext *gc, GlVertex *v), )                                  \
  X(void, __glSaveCIAll, (GlContext *gc, GlVertex *v), )
// clang-format on

GEOMETRY_VERTEX_STANDINS(GL_STANDIN_DECLARE)

// Stand-in for the polygon clipper the core fills procs.clipPolygon with;
// polygon clipping replaces it.
#pragma once

#include <stdint.h>

#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define GEOMETRY_PGCLIP_STANDINS(X)                                           \
  /* Clips `count` consecutive vertices, the first the provoking one, and */  \
  /* draws what is left. */                                                   \
  X(void, __glClipPolygon, (GlContext *gc, GlVertex *first, int32_t count), ) \
  X(void, __glDoPolygonClip,                                                  \
    (GlContext *gc, GlVertex **list, int32_t count, uint32_t orCodes), )
// clang-format on

GEOMETRY_PGCLIP_STANDINS(GL_STANDIN_DECLARE)

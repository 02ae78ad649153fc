// Stand-ins for the begin procedures the core fills procs.beginPrim with,
// one per primitive mode (gc). Primitive assembly replaces them.
#pragma once

#include "core/s_standin.h"

struct GlContext;

// clang-format off
#define GEOMETRY_PRIM_BEGIN_STANDINS(X)          \
  X(void, __glBeginPoints, (GlContext *gc), )    \
  X(void, __glBeginLines, (GlContext *gc), )     \
  X(void, __glBeginLLoop, (GlContext *gc), )     \
  X(void, __glBeginLStrip, (GlContext *gc), )    \
  X(void, __glBeginTriangles, (GlContext *gc), ) \
  X(void, __glBeginTStrip, (GlContext *gc), )    \
  X(void, __glBeginTFan, (GlContext *gc), )      \
  X(void, __glBeginQuads, (GlContext *gc), )     \
  X(void, __glBeginQStrip, (GlContext *gc), )    \
  X(void, __glBeginPolygon, (GlContext *gc), )
// clang-format on

GEOMETRY_PRIM_BEGIN_STANDINS(GL_STANDIN_DECLARE)

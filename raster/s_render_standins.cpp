// Stand-ins for the primitive render procedures (raster/s_render_standins.h).
#include "raster/s_render_standins.h"

#include "core/s_standin.h"

#define POINT_PROC(name) void name(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(name)
POINT_PROC(__glRenderAliasedPoint1)
POINT_PROC(__glRenderAliasedPoint1_NoTex)
POINT_PROC(__glRenderAliasedPointN)
POINT_PROC(__glRenderAntiAliasedRGBPoint)
POINT_PROC(__glRenderAntiAliasedCIPoint)
POINT_PROC(__glRenderFlatFogPoint)
POINT_PROC(__glRenderPointSyncTrap)

#define LINE_PROC(name) void name(GlContext *, GlVertex *, GlVertex *) GL_STANDIN_VOID_BODY(name)
LINE_PROC(__glRenderAliasLine)
LINE_PROC(__glRenderAntiAliasLine)
LINE_PROC(__glRenderFlatFogLine)
LINE_PROC(__glRenderLineSyncTrap)
LINE_PROC(__glFastClipSmoothLine)
LINE_PROC(__glFastClipFlatLine)

#define TRIANGLE_PROC(name) \
  void name(GlContext *, GlVertex *, GlVertex *, GlVertex *) GL_STANDIN_VOID_BODY(name)
TRIANGLE_PROC(__glRenderTriangle)
TRIANGLE_PROC(__glRenderSmoothTriangle)
TRIANGLE_PROC(__glRenderFlatTriangle)
TRIANGLE_PROC(__glDontRenderTriangle)
TRIANGLE_PROC(__glRenderLineTriangle)
TRIANGLE_PROC(__glRenderPointTriangle)
TRIANGLE_PROC(__glRenderTriangleSyncTrap)

#define FILL_PROC(name) \
  void GLFASTCALL name(GlContext *, GlVertex *, GlVertex *, GlVertex *) GL_STANDIN_VOID_BODY(name)
FILL_PROC(__glFillTriangle)
FILL_PROC(__glFillAntiAliasedTriangle)
FILL_PROC(__glFillFlatFogTriangle)

// Stand-in for the polygon clipper (geometry/s_pgclip_standins.h).
#include "geometry/s_pgclip_standins.h"

#include "core/s_standin.h"

void __glClipPolygon(GlContext *, GlVertex *, int32_t) GL_STANDIN_VOID_BODY(__glClipPolygon)

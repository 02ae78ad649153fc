// Stand-ins for the begin procedures (geometry/s_prim_begin_standins.h).
#include "geometry/s_prim_begin_standins.h"

#include "core/s_standin.h"

#define BEGIN_PROC(name) void name(GlContext *) GL_STANDIN_VOID_BODY(name)
BEGIN_PROC(__glBeginPoints)
BEGIN_PROC(__glBeginLines)
BEGIN_PROC(__glBeginLLoop)
BEGIN_PROC(__glBeginLStrip)
BEGIN_PROC(__glBeginTriangles)
BEGIN_PROC(__glBeginTStrip)
BEGIN_PROC(__glBeginTFan)
BEGIN_PROC(__glBeginQuads)
BEGIN_PROC(__glBeginQStrip)
BEGIN_PROC(__glBeginPolygon)

// Stand-ins for the begin procedures the core fills procs.beginPrim with,
// one per primitive mode (gc). Primitive assembly replaces them.
#pragma once

struct GlContext;

void __glBeginPoints(GlContext *gc);
void __glBeginLines(GlContext *gc);
void __glBeginLLoop(GlContext *gc);
void __glBeginLStrip(GlContext *gc);
void __glBeginTriangles(GlContext *gc);
void __glBeginTStrip(GlContext *gc);
void __glBeginTFan(GlContext *gc);
void __glBeginQuads(GlContext *gc);
void __glBeginQStrip(GlContext *gc);
void __glBeginPolygon(GlContext *gc);

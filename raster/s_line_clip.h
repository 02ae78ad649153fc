// Clipping of independent line segments (procs.clipLine), and the clipper
// that primitive assembly also calls for strip segments with clip codes.
#pragma once

struct GlContext;
struct GlVertex;

void __glFastClipSmoothLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glFastClipFlatLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glClipLine(GlContext *gc, GlVertex *a, GlVertex *b);

// Batched array drawing: the per-mode walks that compile array elements
// into the batch buffer and hand their primitives on, and the clip
// hand-offs they share with the vertex cache.
#pragma once

#include <stdint.h>

#include "geometry/s_varray.h"

void GLFASTCALL __glDrawVertexes_Points(GlContext *gc, int32_t first, int32_t count,
                                        const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Lines(GlContext *gc, int32_t first, int32_t count,
                                       const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Lloop(GlContext *gc, int32_t first, int32_t count,
                                       const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Lstrip(GlContext *gc, int32_t first, int32_t count,
                                        const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Triangles(GlContext *gc, int32_t first, int32_t count,
                                           const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Tstrip(GlContext *gc, int32_t first, int32_t count,
                                        const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Tfan(GlContext *gc, int32_t first, int32_t count,
                                      const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Quads(GlContext *gc, int32_t first, int32_t count,
                                       const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Qstrip(GlContext *gc, int32_t first, int32_t count,
                                        const uint32_t *elements);
void GLFASTCALL __glDrawVertexes_Polygon(GlContext *gc, int32_t first, int32_t count,
                                         const uint32_t *elements);
// The ten in mode order.
extern const GlDrawVertexesProc __glDrawVertexesProcs[10];

// A triangle, quad or line with mixed codes: culled vertices are compiled
// after all, then the clipper takes it unless its vertices share a code.
void GLFASTCALL __glDoClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void ClipQuad(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, GlVertex *d);
void ClipLine(GlContext *gc, GlVertex *a, GlVertex *b);
// The array element behind a position of the batch being drawn.
int32_t indexToBatchIndex(GlContext *gc, int32_t position);

// {lead, carry} of each mode.
typedef struct GlPrimMode {
  int32_t lead, carry;
} GlPrimMode;
extern const GlPrimMode PrimModes[10];

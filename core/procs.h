// The table of procedures picked for the current state (the context's
// `procs`). Every slot is plain cdecl unless it says otherwise, and takes the
// context first (the arena procedures take the arena, the matrix helpers the
// matrices). Slots are in their final relative order; the groups not built
// yet are marked where they go.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlArena;
struct GlMatrix;
struct GlTransform;

typedef void (*GlContextProc)(GlContext *gc);
typedef void (*GlPickMatrixProc)(GlContext *gc, GlMatrix *m);

typedef struct GlProcs {
  void (*flush)(GlContext *gc);
  void (*finish)(GlContext *gc);
  // Called by __glSetError after recording, when set. Nothing installs one:
  // it is a hook for debugging builds.
  void (*errorHook)(GlContext *gc, GLenum code);
  // Waits until the hardware no longer touches the frame buffer.
  void (*waitIdle)(GlContext *gc);
  void (*validate)(GlContext *gc);

  // ---- Pickers, run by pickAllProcs in its fixed order ----
  GlContextProc pickBlendProcs;
  GlContextProc pickColorMaterialProcs;
  GlContextProc pickTextureProcs;
  GlContextProc pickCalcTextureProcs;
  GlContextProc pickFogProcs;
  GlContextProc pickTransformProcs;
  GlContextProc pickPointProcs;
  GlContextProc pickLineProcs;
  GlContextProc pickTriangleProcs;
  GlContextProc pickRenderBitmapProcs;
  GlContextProc pickPixelProcs;
  GlContextProc pickClipProcs;
  GlContextProc pickParameterClipProcs;
  GlContextProc pickBufferProcs;
  GlContextProc pickStoreProcs;
  GlContextProc pickSpanProcs;
  GlContextProc pickVertexProcs;
  GlContextProc pickVertexArrayProcs;
  GlPickMatrixProc pickMatrixProcs;
  GlPickMatrixProc pickInvTransposeProcs;
  GlPickMatrixProc pickMvpMatrixProcs;
  GlContextProc pickDepthProcs;
  GlContextProc pickAllProcs;

  // ---- Matrix helpers ----
  void (*copyMatrix)(GlMatrix *dst, const GlMatrix *src);
  void (*invertTransposeMatrix)(GlMatrix *dst, const GlMatrix *src);
  void (*makeIdentity)(GlMatrix *m);
  void (*multMatrix)(GlMatrix *result, const GlMatrix *a, const GlMatrix *b);
  // The variants of the stack of the current matrix mode.
  GlContextProc pushMatrix;
  GlContextProc popMatrix;
  GlContextProc loadIdentity;
  void (*computeInverseTranspose)(GlContext *gc, GlTransform *tr);
  void (*normalize)(GLfloat dst[3], const GLfloat src[3]);

  // ---- Viewport and scissor: the back end's operations ----
  GLbool8 (*applyScissor)(GlContext *gc);
  GLbool8 (*applyViewport)(GlContext *gc);
  GlContextProc computeClipBox;

  // The vertex save, clip-check and validate slots arrive here.

  // The per-vertex procedure of the primitive state machine: __glNop2
  // between glEnd and the next glBegin.
  void (*primVertex)(GlContext *gc, GlVertex *v);
  // primSteady, validateVertex, evaluator and texture slots arrive here.

  // ---- Colour ----
  // Called after every change of the current colour.
  GlContextProc applyColor;
  // calcColor, calcLitColor and calcRasterPosColor arrive here.

  // Indexed by the primitive mode, GL_POINTS .. GL_POLYGON.
  void (*beginPrim[10])(GlContext *gc);
  void (*endPrim)(GlContext *gc);
  // Render, clip, span, line, point, bitmap, texture, fog, blend, pixel and
  // store slots arrive here.

  // ---- The arena procedures of list compilation ----
  // (filled by early initialisation: __glNewArena, __glDeleteArena,
  // __glArenaAlloc, __glArenaFreeAll, core/s_arena.h)
  GlArena *(*newArena)(GlContext *gc);
  void (*deleteArena)(GlArena *arena);
  void *(*arenaAlloc)(GlArena *arena, size_t size);
  void (*arenaFreeAll)(GlArena *arena);
} GlProcs;

// The table of procedures picked for the current state (the context's
// `procs`). Every slot is plain cdecl unless it says otherwise, and takes the
// context first (the arena procedures take the arena). Only the slots in use
// so far are here, in their final relative order; the full slot order arrives
// with the procedure table and its validation.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;
struct GlArena;

typedef struct GlProcs {
  void (*flush)(GlContext *gc);
  void (*finish)(GlContext *gc);
  // Called by __glSetError after recording, when set. Nothing installs one:
  // it is a hook for debugging builds.
  void (*errorHook)(GlContext *gc, GLenum code);
  // waitIdle arrives here with the back ends.
  void (*validate)(GlContext *gc);
  // The pickers, matrix, viewport and per-vertex transform slots arrive here.

  // The per-vertex procedure of the primitive state machine: __glNop2
  // between glEnd and the next glBegin.
  void (*primVertex)(GlContext *gc, GlVertex *v);
  // primSteady, validateVertex, evaluator, texture and colour slots arrive here.

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

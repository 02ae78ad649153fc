// The rendering context record (`gc`): all the GL state, every
// procedure slot and every frame-buffer object of one context. Sub-records
// sit in their fixed order; those not built yet are marked where they go, and
// arrive there with their subsystems.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "codegen/og_cache.h"
#include "codegen/og_state.h"
#include "codegen/og_work.h"
#include "core/calling.h"
#include "core/dispatch.h"
#include "core/exports.h"
#include "core/gl_defs.h"
#include "core/imports.h"
#include "core/procs.h"
#include "core/s_constants.h"
#include "core/s_state.h"
#include "dlist/dl_state.h"
#include "geometry/s_eval.h"
#include "geometry/s_feedback.h"
#include "geometry/s_light.h"
#include "geometry/s_select.h"
#include "geometry/s_varray.h"
#include "geometry/s_vertex.h"
#include "geometry/s_xform.h"
#include "geometry/vc_cache.h"
#include "pixels/px_state.h"
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"
#include "raster/s_line_machine.h"
#include "raster/s_shader.h"

// Values of `beginMode`.
#define __GL_NOT_IN_BEGIN 0
#define __GL_IN_BEGIN 1
#define __GL_VALIDATE_PENDING 2  // outside glBegin/glEnd, procedures must be picked again

// Bits of `flags`.
#define __GL_GC_VALIDATED_ONCE 0x1u    // colour scales applied and state validated once
#define __GL_GC_INITIALIZED 0x2u       // frame buffers and procedure table initialised
#define __GL_GC_REAPPLY_VIEWPORT 0x4u  // next binding re-applies viewport and scissor

// Bits of `dirtyMask`: which groups of state changed since validation.
#define __GL_DIRTY_GENERIC 0x1u  // anything that affects rasterization or fragments
#define __GL_DIRTY_LINE 0x2u
#define __GL_DIRTY_POLYGON 0x4u
#define __GL_DIRTY_POINT 0x8u
#define __GL_DIRTY_PIXEL 0x10u
#define __GL_DIRTY_LIGHTING 0x20u
#define __GL_DIRTY_POLYGON_STIPPLE 0x40u
#define __GL_DIRTY_DEPTH 0x80u
#define __GL_DIRTY_SCISSOR 0x100u
#define __GL_DIRTY_VERTEX_ARRAY 0x200u
#define __GL_DIRTY_TRANSFORM 0x400u
#define __GL_DIRTY_ALL 0x7FFu

// Bits of `tableDirtyMask`: which derived lookup tables must be rebuilt.
#define __GL_TABLE_DIRTY_ALPHA_TEST 0x1u
#define __GL_TABLE_DIRTY_STENCIL_FUNC 0x2u  // function, reference or masks
#define __GL_TABLE_DIRTY_STENCIL_OP 0x4u
#define __GL_TABLE_DIRTY_INDEX_TEST 0x8u

// Span work arrays: a line or an antialiased run across a 2048-pixel
// viewport can cover one pixel beyond each end.
#define GL_SPAN_PIXELS 2050
#define GL_SPAN_STIPPLE_WORDS ((GL_SPAN_PIXELS + 31) / 32)  // one bit per pixel
static_assert(GL_SPAN_STIPPLE_WORDS == 65, "one stipple bit per span pixel");

struct GlDrawable;
struct GlAttribRecord;
struct GlClientAttribRecord;
struct GlWorkRecord;

// A growable array of fixed-size entries.
typedef struct GlGrowArray {
  void *entries;
  int32_t count;
  int32_t capacity;
} GlGrowArray;

typedef struct GlContext {
  // 1. The allocator and window-system callbacks; `imports.other` is the
  //    window-system layer's record of this context.
  GlImports imports;
  // 2. The operations the window-system layer calls.
  GlExports exports;
  // 3. The __GL_GC_ bits.
  uint32_t flags;

  // 4. The GL server state in its attribute groups.
  GlState state;

  // 5-7. See __GL_IN_BEGIN; GL_RENDER, GL_FEEDBACK or GL_SELECT; the first
  //      error not yet read by glGetError.
  int32_t beginMode;
  GLenum renderMode;
  GLenum error;
  // 8. The visual.
  GlModes modes;

  // 9. Limits and derived constants.
  GlConstants constants;

  // 10. Feedback and selection.
  GlFeedbackState feedback;
  GlSelectState select;
  // 11. Display lists.
  GlDlistState dlist;
  // 12. The dispatch: `dispatch` is the current table, the one the operating
  //     system calls; `listCompDispatch` a copy of the list-compile table;
  //     `savedDispatch` the immediate table kept while a list is compiled;
  //     `dispatchState` the immediate table in force (`dispatch`, or
  //     `savedDispatch` while a list is compiled).
  GlDispatchState *dispatchState;
  GlDispatchState listCompDispatch;
  GlDispatchState dispatch;
  GlDispatchState savedDispatch;
  // 13. What validation must rebuild: derived tables, and groups of state.
  uint32_t tableDirtyMask;
  uint32_t dirtyMask;
  // 14. The procedures picked for the current state.
  GlProcs procs;

  // 15. Attribute stacks: base and top of each.
  GlAttribRecord **attributeStack, **attributeStackTop;
  GlClientAttribRecord **clientAttributeStack, **clientAttributeStackTop;

  // 16. The other subsystems' sub-records.
  GlEvaluatorMachine eval;
  GlTextureMachine texture;
  GlTransformMachine transform;
  GlVertexArrayMachine vertexArray;
  GlVertexBuffer vertexBuffer;
  GlVertexCacheMachine vcache;
  GlLightMachine light;
  GlPolygonMachine polygon;
  GlLineMachine line;
  GlPixelMachine pixel;
  // The run-time code generator: the emitter's state, the five code caches
  // (texel read, depth test, triangle setup, triangle raster, triangle-strip
  // drawVertexes) and the block generated setups keep their variables in.
  OgState ogs;
  OgCodeCache textureReadCache;
  OgCodeCache depthTestCache;
  OgCodeCache triSetupCache;
  OgCodeCache triRasterCache;
  OgCodeCache drawVertexesCache;
  uint8_t *triSetupData;
  // The name space of the raster routine installed as fillTriangleSpans: the
  // setup places the span record's fields where that routine reads them.
  OgNameSpace *rasterNameSpace;
  // A generated setup's stack pointer after its pushes, and the address its
  // triangle ends through (the span routine jumps there when done).
  uint32_t setupStack;
  void *setupContinuation;
  // The generated strip drawer's stack pointer after its pushes.
  uint32_t drawVertexesStack;
  // Where generated setups find the fields of a vertex.
  OgNameSpace vertexShape;

  // 17. Frame buffers.
  uint8_t sLockDepth;  // nesting of the buffer lock
  GLbool8 (*obtainSLock)(GlContext *gc);   // true when it was already held
  GLbool8 (*releaseSLock)(GlContext *gc);  // true while it is still held
  void (*lockDevice)(GlContext *gc);
  void (*unlockDevice)(GlContext *gc);
  // The back end's clear of a colour buffer other than the front one (the
  // hardware clears video-memory buffers itself).
  void (*colorClear)(GlColorBuffer *cfb);
  // The drawable's changed-buffers mask as of the last binding or resize.
  uint32_t changedBuffers;
  GlColorBuffer *drawBuffer;
  GlColorBuffer *readBuffer;
  GlColorBuffer *front;
  GlColorBuffer *back;  // double-buffered visuals only
  GlColorBuffer frontBuffer, backBuffer;
  GlStencilBuffer stencilBuffer;
  GlDepthBuffer depthBuffer;
  GlAccumBuffer accumBuffer;
  GlDrawable *drawablePrivate;  // the bound drawable, none while unbound
  // Whether the device draws triangles, lines and points all in hardware,
  // so that per-vertex fog is its work (never on the core device).
  uint8_t fogInHardware;
  // The buffers drawing writes, as the buffer picker chose them (masks of
  // __GL_*_BUFFER_MASK bits), and their locks.
  void (*lockBuffers)(GlContext *gc, uint32_t mask);
  void (*unlockBuffers)(GlContext *gc, uint32_t mask);
  void (*lockRenderBuffers)(GlContext *gc);  // either may be empty
  void (*unlockRenderBuffers)(GlContext *gc);
  int32_t renderLockCount;  // nesting of the render lock
  uint32_t renderBufferMask, drawBufferMask, readBufferMask;
  GlColorBuffer *colorLockBuffer;  // the single lockable colour buffer drawn, or none
  uint8_t drawBoth;                // front and back at once; drawBuffer is then the back
  // 0: the next line restarts the stipple pattern.
  uint8_t lineStippleStarted;
  // Alpha byte or colour index -> passes (non-zero), rebuilt at validation.
  uint8_t *alphaTestTable;
  uint8_t *indexTestTable;
  // The texture environment colour as the fast path's kernels read it:
  // bytes R, G, B, A (0..255), filled by the fast-path picker at validation.
  uint8_t frEnvColor[4];

  // 18. Per-context work storage of early initialisation.
  GlWorkRecord *workRecords;  // GL_WORK_RECORD_COUNT of them (codegen/og_work.h)
  uint8_t *workBuffers;       // the one block their buffers are carved from
  OgGeomCache geomCache;      // the work records as the geometry cache
  GlGrowArray growArray4, growArray8;  // entries of 4 and 8 bytes
  GlColor *spanColors[2];              // GL_SPAN_PIXELS entries each
  uint32_t *spanStipple;               // GL_SPAN_STIPPLE_WORDS words
} GlContext;

static_assert(offsetof(GlContext, imports) == 0, "the imports head the context");
static_assert(offsetof(GlContext, exports) == 9 * 4, "the exports follow the nine import words");

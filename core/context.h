// The rendering context record (`gc`): all the GL state, every
// procedure slot and every frame-buffer object of one context. Sub-records
// sit in their fixed order; those not built yet are marked where they go, and
// arrive there with their subsystems.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "core/exports.h"
#include "core/gl_defs.h"
#include "core/procs.h"
#include "dlist/dl_state.h"
#include "geometry/s_feedback.h"
#include "geometry/s_select.h"
#include "wgl/gl_imports.h"

// Values of `beginMode`.
#define __GL_NOT_IN_BEGIN 0
#define __GL_IN_BEGIN 1
#define __GL_VALIDATE_PENDING 2  // outside glBegin/glEnd, procedures must be picked again

typedef struct GlContext {
  // 1. The allocator and window-system callbacks; `imports.other` is the
  //    window-system layer's record of this context.
  GlImports imports;
  // 2. The operations the window-system layer calls.
  GlExports exports;
  // 3. 0x1 colour scales applied and state validated once; 0x2 frame buffers
  //    and procedure table initialised; 0x4 re-apply viewport and scissor at
  //    the next binding.
  uint32_t flags;

  // 4. state (GlState), the GL server state in its attribute groups.

  // 5-7. See __GL_IN_BEGIN; GL_RENDER, GL_FEEDBACK or GL_SELECT; the first
  //      error not yet read by glGetError.
  int32_t beginMode;
  GLenum renderMode;
  GLenum error;
  // 8. The visual.
  GlModes modes;

  // 9. constants (GlConstants), limits and derived constants.

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

  // 15. Attribute stacks (server and client, base and top of each).
  // 16. The other subsystems' sub-records: evaluators, texture, transform and
  //     matrix stacks, vertex arrays, vertex buffer, material and light
  //     caches, polygon and shader state, pixel state.
  // 17. Frame buffers: lock procedures, draw and read buffers, colour, stencil,
  //     depth and accumulation buffers, the drawable.
  // 18. Per-context work storage of early initialisation.
} GlContext;

static_assert(offsetof(GlContext, imports) == 0, "the imports head the context");
static_assert(offsetof(GlContext, exports) == 9 * 4, "the exports follow the nine import words");

// What a context offers the window-system layer: its operations, in the
// slot order the layer calls them by. Each takes the context first.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlDispatchState;

typedef struct GlExports {
  GLbool8 (*destroyContext)(GlContext *gc);
  GLbool8 (*loseCurrent)(GlContext *gc);
  GLbool8 (*makeCurrent)(GlContext *gc);
  GLbool8 (*shareContext)(GlContext *gc, GlContext *other);
  GLbool8 (*copyContext)(GlContext *dst, GlContext *src, GLuint mask);
  void (*swapBuffers)(GlContext *gc);
  void (*notifyDestroyBuffers)(GlContext *gc);
  GLbool8 (*notifyChangeBufferSize)(GlContext *gc, int32_t x, int32_t y, uint32_t width,
                                    uint32_t height);
  GlDispatchState *(*dispatchExec)(GlContext *gc);
  void (*beginDispatchOverride)(GlContext *gc);
  void (*endDispatchOverride)(GlContext *gc);
} GlExports;

static_assert(sizeof(GlExports) == 11 * 4, "GlExports is eleven procedure words");

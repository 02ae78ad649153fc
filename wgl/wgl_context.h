// The window-system layer's record of one rendering context, reached from the
// core through the `other` word of the context's imports. The layer fills in
// and uses the record; the core reads only the loader's table callback.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "core/imports.h"
#include "platform/gdi.h"

struct GlContext;
struct WglDrawablePrivate;

// The operating system's GL library takes a context's new dispatch table
// through this callback, recorded when the context is bound.
typedef void(GLENTRY *WglSetProcTableProc)(const GlDispatchState *table);

// Window changes waiting in `flags` for the next drawable lock, which
// delivers them to the context: the size first, then the destruction.
#define WGL_PENDING_SIZE 0x1u
#define WGL_PENDING_DESTROY 0x2u

typedef struct WglContext {
  WglContext *prev;
  WglContext *next;
  GlContext *gc;
  GlModes *modes;
  uint8_t current;       // current on some thread
  int32_t ownerThread;   // the thread it is current on, -1 when none
  uint8_t bound;         // set by every successful bind
  uint32_t flags;        // WGL_PENDING_SIZE, WGL_PENDING_DESTROY
  uint8_t created;       // set at creation
  uint32_t handle;       // the handle the loader knows it by
  HWND hwnd;  // window of the current binding
  HDC hdc;    // device context kept for the context's life
  uint8_t pixelFormatDescriptor[40];
  int32_t pixelFormat;
  WglSetProcTableProc setProcTable;
  WglDrawablePrivate *drawable;
} WglContext;

static_assert(offsetof(WglContext, setProcTable) == 23 * 4, "setProcTable is the 15th field");

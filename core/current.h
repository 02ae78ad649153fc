// The calling thread's current context. Every thread reads a valid context:
// the slot starts at the placeholder context, whose dispatch is the no-op
// table, so a thread without a context reaches no-ops. The window-system
// layer defines the slot and the placeholder (wgl/wgl_current.cpp).
#pragma once

#include "core/context.h"

extern "C" {
// The thread-local slot itself; API entry stubs read it directly. It is
// initial-exec so that one load from the thread block reads it, and
// constant-initialised so that no thread ever sees it unset.
extern constinit thread_local GlContext *__glCurrentContext
    __attribute__((tls_model("initial-exec")));
}

// What a thread holds before it binds a context and after it releases one.
// Its dispatch is the no-op table and is never written.
extern GlContext __wglPlaceholderContext;

inline GlContext *__glGetTLSCXValue() { return __glCurrentContext; }
inline void __glSetTLSCXValue(GlContext *gc) { __glCurrentContext = gc; }

// The calling thread's current context. Every thread reads a valid context:
// the slot starts at the placeholder context, whose dispatch is the no-op
// table, so a thread without a context reaches no-ops.
#pragma once

#include "core/context.h"

extern "C" {
// The thread-local slot itself; API entry stubs read it directly.
extern thread_local GlContext *__glCurrentContext __attribute__((tls_model("initial-exec")));
}

GlContext *__glGetTLSCXValue();
void __glSetTLSCXValue(GlContext *gc);

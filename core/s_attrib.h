// Attribute stacks and context copy.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_state.h"

struct GlContext;

// One level of the server attribute stack, allocated on the first push that
// reaches it and kept until the context is destroyed. `state` holds the
// enables, saved by every push, and the groups of `mask`. Its pointers to
// lights and clip planes are null unless they point at copies the record
// owns: a push allocates them, the pop frees them and clears the pointers.
typedef struct GlAttribRecord {
  GLuint mask;  // of the push that filled it; 0 after the pop
  GlState state;
} GlAttribRecord;

// Copies the server attribute groups named by mask from src to dst (the
// context's copyContext export): the state the pointers lead to is copied,
// never the pointers. dst is marked for validation; the viewport is applied
// at once only while dst is bound to a drawable, else by its next binding.
// The calling thread's current context, unless it is dst, is left alone.
// False, copying nothing, for a missing context or one never bound (its
// state is not set up yet).
GLbool8 __glCopyContext(GlContext *dst, GlContext *src, GLuint mask);
// Frees the saved server attribute records and the copies they own, and
// empties the stack (the stack array itself stays).
void __glFreeAttributeState(GlContext *gc);

// The display-list state a context shares with its share group: the list
// record and the name manager of list names, both reference counted.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

// One per share group. The four words behind the count belong to the
// optional creation and release hooks of GlDlistState.
typedef struct GlDlistArray {
  int32_t refcount;  // contexts holding it
  uint32_t hookWords[4];
} GlDlistArray;

// A new record with count 1 (the creation hook called when set), or null
// after recording GL_OUT_OF_MEMORY.
GlDlistArray *__glDlistNewArray(GlContext *gc);
void __glDlistFreeArray(GlContext *gc, GlDlistArray *array);

// Early initialisation's list state: the list allocator, the nesting and
// current-list words, and the shared records when the context has none.
// False when a record could not be made (GL_OUT_OF_MEMORY is recorded on
// the current context); what was made stays for __glFreeDlistState.
GLbool8 __glInitDlistState(GlContext *gc);
// The compile arena, made through procs.newArena when the context has none;
// false when it cannot be made.
GLbool8 __glInitDlistArena(GlContext *gc);
// Drops the context's references (the last one frees the records and every
// list bound in them) and deletes the compile arena.
void __glFreeDlistState(GlContext *gc);
// gc gives up its own lists and uses other's.
void __glShareDlist(GlContext *gc, GlContext *other);

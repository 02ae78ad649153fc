// The display-list block of a context. Field order is fixed: the context
// creators fill the procedure words by position.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;
struct GlArena;
struct GlNamesArray;
struct GlDlistArray;
struct GlDlistOp;
struct GlDlist;

// The chain of ops of the list being compiled.
typedef struct GlDlistRecord {
  uint32_t contents;  // contents flags
  GlDlistOp *first;
  GlDlistOp *last;
} GlDlistRecord;

// Runs one op of a compiled list: the address of the op's data in, the
// address of the next execute word out. The context is the thread's current.
typedef const GLubyte *(*GlDlistExecProc)(const GLubyte *data);

typedef struct GlDlistState {
  GlDlistArray *dlistArray;
  GlNamesArray *namesArray;
  void (*newArray)(GlContext *gc, GlDlistArray *array);
  void (*freeArray)(GlContext *gc, GlDlistArray *array);
  void (*optimizer)(GlContext *gc, GlDlistRecord *list);
  GlDlist *(*compiler)(GlContext *gc, GlDlistRecord *list);
  void (*appendOp)(GlContext *gc, GlDlistOp *op);
  void (*beginList)(GlContext *gc);
  const GlDlistExecProc *listExecTable;
  const GlDlistExecProc *genericDlOps;
  const GlDlistExecProc *machineDlOps;
  int32_t nesting;
  GLenum mode;
  GLuint currentList;
  GlDlistRecord listRec;
  GlArena *arena;
  void *(*malloc)(GlContext *gc, size_t size);
  void *(*realloc)(GlContext *gc, void *block, size_t size);
  void (*free)(GlContext *gc, void *block);
} GlDlistState;

static_assert(offsetof(GlDlistState, optimizer) == 4 * 4, "procedure words from the fifth");
static_assert(offsetof(GlDlistState, currentList) == 13 * 4, "currentList is the 14th word");
static_assert(sizeof(GlDlistState) == 21 * 4, "GlDlistState is 21 words");

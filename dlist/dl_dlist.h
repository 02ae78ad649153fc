// A compiled display list: threaded code (execute word, op data, ...,
// sentinel word) and the free procedures of the ops whose data owns memory.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"
#include "dlist/dl_state.h"

struct GlContext;

// Called with the address of an op's data inside the code block when the
// list is freed.
typedef struct GlDlistFreePair {
  void (*free)(GlContext *gc, void *data);
  void *data;
} GlDlistFreePair;

typedef struct GlDlist {
  int32_t refcount;  // 1 for the name binding, plus one per running call
  void (*free)(GlContext *gc, GlDlist *list);
  void (*execute)(GlContext *gc, GlDlist *list);
  uint32_t *code;  // 8-aligned threaded code, or null
  uint32_t count;  // free pairs, plus 1 when there is a code block
  // `count` (or count - 1) GlDlistFreePair records follow the record.
} GlDlist;

static_assert(offsetof(GlDlist, refcount) == 0, "items of the name manager begin with their count");
static_assert(offsetof(GlDlist, free) == 4, "the free procedure is the second field");
static_assert(sizeof(GlDlist) % 4 == 0, "the pairs follow the record word-aligned");

inline GlDlistFreePair *__glDlistPairs(GlDlist *list) {
  return reinterpret_cast<GlDlistFreePair *>(list + 1);
}

// Stands for every name that has no list. Shared by all contexts and never
// freed: its count starts at 1 and only locks move it.
extern GlDlist emptyDlist;
void __glEmptyFreeDlist(GlContext *gc, GlDlist *list);
void __glEmptyExecuteDlist(GlContext *gc, GlDlist *list);

// The release procedure of the display-list name type: drops one reference
// and, at zero, frees the list through its own free procedure.
void __glDisposeDlist(GlContext *gc, void *list);

// A list with count 1, room for `pairs` pairs (count set, contents left to
// the caller) and, when codeSize is not 0, an 8-aligned code block of
// codeSize bytes; null when either cannot be had (nothing is kept).
GlDlist *__glGenericAllocDlist(GlContext *gc, uint32_t codeSize, uint32_t pairs);
// Calls the free pairs in op order, then frees the code block and the record.
void __glGenericFreeDlist(GlContext *gc, GlDlist *list);
void __glGenericExecuteDlist(GlContext *gc, GlDlist *list);

// Runs threaded code up to its sentinel word.
void __glDoInterpret(const uint32_t *code);
// The filler word that puts the next op's data on an 8-byte boundary.
const GLubyte *__glle_Nop(const GLubyte *next);
// Ends the code; only compared against, never called.
const GLubyte *__glle_Sentinel(const GLubyte *data);

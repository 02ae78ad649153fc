// A compiled display list, as the name manager and list calls see it. Only
// the leading fields are here; the list compiler completes the record (code
// block, count and the free pairs) behind them.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct GlContext;

typedef struct GlDlist {
  int32_t refcount;  // 1 for the name binding, plus one per running call
  void (*free)(GlContext *gc, GlDlist *list);
  void (*execute)(GlContext *gc, GlDlist *list);
} GlDlist;

static_assert(offsetof(GlDlist, refcount) == 0, "items of the name manager begin with their count");
static_assert(offsetof(GlDlist, free) == 4, "the free procedure is the second field");

// Stands for every name that has no list. Shared by all contexts and never
// freed: its count starts at 1 and only locks move it.
extern GlDlist emptyDlist;
void __glEmptyFreeDlist(GlContext *gc, GlDlist *list);
void __glEmptyExecuteDlist(GlContext *gc, GlDlist *list);

// The release procedure of the display-list name type: drops one reference
// and, at zero, frees the list through its own free procedure.
void __glDisposeDlist(GlContext *gc, void *list);

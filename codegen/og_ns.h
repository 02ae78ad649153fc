// Name spaces of generated routines: where each variable of a routine lies
// in the routine's data area. Variables are named by small ids (usually the
// byte offset of the record field they mirror) and placed one after another
// in the order they are first asked for; the running hash of that order lets
// a second generator that reads the same layout key its own code on it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"

#define OG_NS_IDS 1000u             // ids run from 0 to 999
#define OG_NS_UNPLACED 0xFFFFFFFFu  // offset of an id not yet placed

typedef struct OgNameSpace {
  uint8_t direct_map;  // ids are their own offsets; nothing is placed
  uint8_t open;        // new ids may be placed
  uint32_t next;       // offset of the next new variable; at the end, the size in use
  uint32_t hash;       // signature of the ids placed, in order
  uint32_t offset[OG_NS_IDS];
} OgNameSpace;

static_assert(offsetof(OgNameSpace, direct_map) == 0, "the direct-map flag comes first");
static_assert(offsetof(OgNameSpace, next) == 4 && offsetof(OgNameSpace, hash) == 8 &&
                  offsetof(OgNameSpace, offset) == 12,
              "name-space words");

// Every id unplaced, nothing used, hash 0, not direct-mapped; always true.
// A caller that wants a direct-mapped space sets `direct_map` afterwards.
GLbool8 __glNSOpenSpace(OgNameSpace *ns);
void __glNSCloseSpace(OgNameSpace *ns);
// Rounds the next free place up to a multiple of `a`, a power of two.
void __glNSAlign(OgNameSpace *ns, uint32_t a);
// The offset of `id`; a first request places it at the next free place,
// which then advances by `size`. Later requests ignore `size`.
uint32_t __glNSWhereIs(OgNameSpace *ns, uint32_t id, uint32_t size);
// Bytes of the data area in use; the space must be closed.
uint32_t __glNSSizeof(OgNameSpace *ns);

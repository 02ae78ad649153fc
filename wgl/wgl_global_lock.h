// The layer's global lock: one re-entrant lock for the context, drawable and
// thread lists, the pixel-format list, swap hints and every driver entry that
// binds, swaps, shares or copies. Where a drawable's mutex is also held, the
// global lock is taken first.
#pragma once

#include <stdint.h>

#include "platform/kernel.h"

typedef struct WglLock {
  CRITICAL_SECTION section;
  int32_t count;  // creations not yet undone
  int32_t depth;  // nesting of the owner
  DWORD owner;    // thread id, 0 when free
} WglLock;

extern WglLock __wglLock;

// The first creation initialises the lock; the destruction that undoes the
// last one deletes it.
void __wglCreateMutex(void);
void __wglDestroyMutex(void);
// Takes the lock (giving the caller's thread id) and leaves it.
DWORD __wglLockMutex(void);
void __wglUnlockMutex(void);

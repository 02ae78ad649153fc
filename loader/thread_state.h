// What the loader keeps per thread: the dispatch table its GL calls go
// through, and the context current on it.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "platform/gdi.h"

typedef struct LoaderThread {
  uint32_t generation;           // the driver generation this state belongs to
  const GlDispatchState *table;  // never null: the loader's no-op table when nothing is bound
  uint32_t current;              // handle of the context current here, 0 for none
  HDC currentDC;                 // the device context it was bound with
} LoaderThread;

// The calling thread's state, brought up to date with the driver first.
// Every export starts with this, which is how a thread's first call into
// the loader becomes its thread attach.
LoaderThread &LoaderThreadEnter(void);
// The calling thread's state as it is, for the load, which puts the loading
// thread in the new generation itself.
LoaderThread &LoaderThreadRaw(void);
// Forgets the bound context: the no-op table, nothing current.
void LoaderThreadReset(LoaderThread &thread);
// The calling thread is about to be attached to the driver: it gets the
// platform's thread set-up first, and DriverThreadEnding when it ends.
void LoaderThreadMarkAttached(LoaderThread &thread);

// The callback handed to the driver: replaces the calling thread's table at
// once; null stands for the no-op table.
void GLENTRY LoaderSetProcTable(const GlDispatchState *table);

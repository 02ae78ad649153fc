// What the loader keeps per thread: the dispatch table its GL calls go
// through, and the context current on it, with releasing that context. The
// driver's loading and attaching sit above this (driver.h), which brings a
// thread's state up to date.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "loader/driver_entries.h"
#include "platform/gdi.h"

typedef struct LoaderThread {
  uint32_t generation;           // the driver generation this state belongs to
  const GlDispatchState *table;  // never null: the loader's no-op table when nothing is bound
  uint32_t current;              // handle of the context current here, 0 for none
  HDC currentDC;                 // the device context it was bound with
} LoaderThread;

// The calling thread's state as it is; LoaderThreadEnter (driver.h) brings it
// up to date with the driver first.
LoaderThread &LoaderThreadRaw(void);
// Forgets the bound context: the no-op table, nothing current.
void LoaderThreadReset(LoaderThread &thread);

// Releases the context current on the thread, if any, through the driver;
// the thread then has the no-op table. False when the driver refused, and
// the context stays current. wglMakeCurrent and wglDeleteContext do it, and
// so does a thread's end.
bool ReleaseCurrentContext(LoaderThread &thread, const DriverEntries &driver);

// The callback handed to the driver: replaces the calling thread's table at
// once; null stands for the no-op table.
void GLENTRY LoaderSetProcTable(const GlDispatchState *table);

// The driver library: loading it, its entries, and DllMain as the platform
// calls it. One driver is loaded at a time; each load and each unload starts
// a new generation, and a thread whose state is of an older generation starts
// afresh at its next call (LoaderThreadEnter).
#pragma once

#include <stdint.h>

#include "loader/driver_entries.h"
#include "loader/thread_state.h"

// The loaded driver's entries, loading it first when none is loaded. Null,
// with the last-error value set, when no driver could be loaded; a failed
// load is not tried again until DriverUnload, and none after process exit.
const DriverEntries *DriverEnsureLoaded(void);
// The driver's entries when one is loaded, else null (nothing set).
const DriverEntries *DriverIfLoaded(void);
// Process detach and unload; contexts and thread states become stale.
bool DriverUnload(void);

// The current generation.
uint32_t DriverGeneration(void);

// The calling thread's state, brought up to date with the driver first: a
// thread of an older generation gets a fresh state, and its thread attach
// when a driver is loaded. Every export starts with this, which is how a
// thread's first call into the loader becomes its thread attach; a thread
// the driver attached gets its thread detach when it ends (not by exiting
// the process), after its current context was released.
LoaderThread &LoaderThreadEnter(void);

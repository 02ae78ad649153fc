// The extension functions wglGetProcAddress hands out. The driver's own
// extension entries are callee-pops, so the application gets a C-convention
// thunk per name that calls the driver's entry, kept in the entry's slot of
// __vlxglExtensionEntries.
#pragma once

#include "wgl/driver_interface.h"
#include "loader/gl_forwarders.h"

// The slot of an extension name ("glLockArraysVLX"), or -1.
int ExtensionSlot(const char *name);
// Points the slot's thunk at the driver's entry; gives the thunk.
LoaderThunk ExtensionBind(int slot, VlxDriverProc entry);
// Every thunk back to a no-op (the driver went away).
void ExtensionEntriesReset(void);

// The extension functions wglGetProcAddress hands out. The driver's own
// extension entries are callee-pops, so the application gets a C-convention
// thunk per name that calls the driver's entry, kept here in the entry's slot.
#pragma once

#include "core/dispatch.h"
#include "loader/driver_interface.h"

#define LOADER_EXTENSION_COUNT (GL_SLOT_COUNT - GL_SLOT_CORE_COUNT)

extern "C" {
// Slots 336 .. 357 hold the driver's extension entries as handed out, the
// loader's no-ops until then; each is written as one atomic word, since
// other threads may be calling through it.
__attribute__((visibility("hidden"))) extern GlDispatchState __vlxglExtensionEntries;
// The thunk of each extension slot, from slot 336 on.
typedef void (*LoaderThunk)(void);
__attribute__((
    visibility("hidden"))) extern const LoaderThunk __vlxglExtensionThunks[LOADER_EXTENSION_COUNT];
}

// The slot of an extension name ("glLockArraysVLX"), or -1.
int ExtensionSlot(const char *name);
// Points the slot's thunk at the driver's entry; gives the thunk.
LoaderThunk ExtensionBind(int slot, VlxDriverProc entry);
// Every thunk back to a no-op (the driver went away).
void ExtensionEntriesReset(void);

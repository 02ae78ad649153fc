// What gl_forwarders.cpp builds in assembly besides the exported GL
// functions: the loader's no-op table, the extension entries the thunks call
// through, and the thunks themselves.
#pragma once

#include "core/dispatch.h"

#define LOADER_EXTENSION_COUNT (GL_SLOT_COUNT - GL_SLOT_CORE_COUNT)

// An extension thunk: takes the C calling convention.
typedef void (*LoaderThunk)(void);

extern "C" {
// The loader's own no-op table: every entry pops its words and returns 0.
__attribute__((visibility("hidden"))) extern const GlDispatchState __vlxglNopTable;
// Slots 336 .. 357 hold the driver's extension entries as handed out, the
// loader's no-ops until then; each is written as one atomic word, since
// other threads may be calling through it.
__attribute__((visibility("hidden"))) extern GlDispatchState __vlxglExtensionEntries;
// The thunk of each extension slot, from slot 336 on.
__attribute__((
    visibility("hidden"))) extern const LoaderThunk __vlxglExtensionThunks[LOADER_EXTENSION_COUNT];
}

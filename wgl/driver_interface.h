// What passes between the GL loader and a driver library: the entry point
// reasons, the driver's context handle, the table callback and the types of
// the exported driver entries (driver_entry_table.h). Every driver entry,
// DllMain and the callback are callee-pops; the driver exports them by their
// plain names.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/dispatch.h"
#include "platform/gdi.h"
#include "wgl/driver_entry_table.h"

// The reasons DllMain is called with.
#define DLL_PROCESS_DETACH 0u
#define DLL_PROCESS_ATTACH 1u
#define DLL_THREAD_ATTACH 2u
#define DLL_THREAD_DETACH 3u

// A context as the driver knows it: a small number the driver hands out.
typedef uintptr_t DHGLRC;

// The loader takes a thread's new dispatch table through this callback; the
// driver calls it on the thread whose table changes.
typedef void(GLENTRY *VlxSetProcTableProc)(const GlDispatchState *table);

// Some entry the driver hands out by name; its real type is the named one's.
typedef void(GLENTRY *VlxDriverProc)(void);

// The type each entry is called by: VlxDllMainProc, VlxDrvCreateContextProc, ...
#define DRIVER_ENTRY_TYPE(Name, Ret, params) typedef Ret(GLENTRY *Vlx##Name##Proc) params;
DRIVER_ENTRIES(DRIVER_ENTRY_TYPE)
#undef DRIVER_ENTRY_TYPE

// The entries' declarations, for a library that defines them (inside extern
// "C"): a definition whose type differs from its row then fails to compile,
// as C names cannot be overloaded.
#define DRIVER_ENTRY_DECLARATION(Name, Ret, params) Ret GLENTRY Name params;
#define DECLARE_DRIVER_ENTRIES() DRIVER_ENTRIES(DRIVER_ENTRY_DECLARATION)

#define DRIVER_ENTRY_COUNT_ONE(Name, Ret, params) +1
constexpr unsigned kDriverEntryCount = 0 DRIVER_ENTRIES(DRIVER_ENTRY_COUNT_ONE);
#undef DRIVER_ENTRY_COUNT_ONE

// The version the loader asks the driver to accept.
#define VLX_DRIVER_VERSION 1u

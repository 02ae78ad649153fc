// The installable-client-driver entries the operating system's GL loader
// calls, with their handles and error reports, and the extension entries
// handed out by name.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "wgl/driver_interface.h"

extern uint32_t freeHandle;

typedef struct WglExtProc {
  const char *name;
  VlxDriverProc proc;
} WglExtProc;
#define WGL_EXT_PROC_COUNT 22
extern const WglExtProc __wglExtProcs[WGL_EXT_PROC_COUNT];

// The loader finds these by name in the driver library: they leave it.
#pragma GCC visibility push(default)
extern "C" {
DECLARE_DRIVER_ENTRIES()
}
#pragma GCC visibility pop

// GDI's own swap, looked up in "gdi32" on first use.
BOOL GdiSwapBuffers(HDC hdc);

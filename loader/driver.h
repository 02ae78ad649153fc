// The driver library: loading it, its entries, and DllMain as the platform
// calls it. One driver is loaded at a time; each load and each unload starts
// a new generation, and a thread whose state is of an older generation starts
// afresh at its next call (thread_state.h).
#pragma once

#include <stdint.h>

#include "loader/driver_interface.h"

struct LoaderThread;

// The entries the loader calls, resolved by name.
typedef struct DriverEntries {
  VlxDllMainProc dllMain;
  VlxDrvCreateContextProc createContext;
  VlxDrvCreateLayerContextProc createLayerContext;
  VlxDrvDeleteContextProc deleteContext;
  VlxDrvSetContextProc setContext;
  VlxDrvReleaseContextProc releaseContext;
  VlxDrvShareListsProc shareLists;
  VlxDrvCopyContextProc copyContext;
  VlxDrvDescribePixelFormatProc describePixelFormat;
  VlxDrvSetPixelFormatProc setPixelFormat;
  VlxDrvSwapBuffersProc swapBuffers;
  VlxDrvSwapLayerBuffersProc swapLayerBuffers;
  VlxDrvDescribeLayerPlaneProc describeLayerPlane;
  VlxDrvGetLayerPaletteEntriesProc getLayerPaletteEntries;
  VlxDrvSetLayerPaletteEntriesProc setLayerPaletteEntries;
  VlxDrvRealizeLayerPaletteProc realizeLayerPalette;
  VlxDrvGetProcAddressProc getProcAddress;
  VlxDrvValidateVersionProc validateVersion;
} DriverEntries;

// The environment variable naming the driver library (a full path), and the
// library looked for beside the loader when it is not set.
#define VLX_DRIVER_ENV "VLX_GL_DRIVER"
#define VLX_DRIVER_FILE "libvlxdriver.so"

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
// Brings a thread of an older generation up to date: a fresh state, and the
// thread attach when a driver is loaded.
void DriverSyncThread(LoaderThread *thread);
// A thread that the driver attached is ending (not by exiting the process):
// its current context is released and the driver gets the thread detach.
void DriverThreadEnding(LoaderThread *thread);

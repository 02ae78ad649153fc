// Opening the driver library: finding it, resolving its entries by name and
// registering it as the platform module whose handle DllMain receives.
#pragma once

#include "loader/driver_entries.h"

// The environment variable naming the driver library (a full path), and the
// library looked for beside the loader when it is not set.
#define VLX_DRIVER_ENV "VLX_GL_DRIVER"
#define VLX_DRIVER_FILE "libvlxdriver.so"

typedef struct DriverLibrary {
  void *library;  // from dlopen
  HMODULE module;
  DriverEntries entries;
} DriverLibrary;

// Opens the driver; 0, or the last-error value of the failure (nothing is
// left open then).
DWORD DriverLibraryOpen(DriverLibrary *driver);
// Gives the module and the library up; the driver's code goes.
void DriverLibraryClose(DriverLibrary *driver);

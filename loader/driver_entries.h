// The driver's entries as the loader resolved them, one field per row of the
// entry table, named as the entry.
#pragma once

#include "wgl/driver_interface.h"

typedef struct DriverEntries {
#define DRIVER_ENTRY_FIELD(Name, Ret, params) Vlx##Name##Proc Name;
  DRIVER_ENTRIES(DRIVER_ENTRY_FIELD)
#undef DRIVER_ENTRY_FIELD
} DriverEntries;

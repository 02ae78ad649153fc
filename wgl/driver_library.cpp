// The driver library's own translation unit: the exported entries, checked
// against the types the loader calls them by, so that a changed argument list
// fails here rather than as a corrupted stack at run time.
#include <type_traits>

#include "loader/driver_interface.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_entries.h"

#define DRIVER_ENTRY_TYPE(entry, proc) \
  static_assert(std::is_same_v<decltype(&entry), proc>, #entry " is called as " #proc)

DRIVER_ENTRY_TYPE(DllMain, VlxDllMainProc);
DRIVER_ENTRY_TYPE(DrvCreateContext, VlxDrvCreateContextProc);
DRIVER_ENTRY_TYPE(DrvCreateLayerContext, VlxDrvCreateLayerContextProc);
DRIVER_ENTRY_TYPE(DrvDeleteContext, VlxDrvDeleteContextProc);
DRIVER_ENTRY_TYPE(DrvSetContext, VlxDrvSetContextProc);
DRIVER_ENTRY_TYPE(DrvReleaseContext, VlxDrvReleaseContextProc);
DRIVER_ENTRY_TYPE(DrvShareLists, VlxDrvShareListsProc);
DRIVER_ENTRY_TYPE(DrvCopyContext, VlxDrvCopyContextProc);
DRIVER_ENTRY_TYPE(DrvDescribePixelFormat, VlxDrvDescribePixelFormatProc);
DRIVER_ENTRY_TYPE(DrvSetPixelFormat, VlxDrvSetPixelFormatProc);
DRIVER_ENTRY_TYPE(DrvSwapBuffers, VlxDrvSwapBuffersProc);
DRIVER_ENTRY_TYPE(DrvSwapLayerBuffers, VlxDrvSwapLayerBuffersProc);
DRIVER_ENTRY_TYPE(DrvDescribeLayerPlane, VlxDrvDescribeLayerPlaneProc);
DRIVER_ENTRY_TYPE(DrvGetLayerPaletteEntries, VlxDrvGetLayerPaletteEntriesProc);
DRIVER_ENTRY_TYPE(DrvSetLayerPaletteEntries, VlxDrvSetLayerPaletteEntriesProc);
DRIVER_ENTRY_TYPE(DrvRealizeLayerPalette, VlxDrvRealizeLayerPaletteProc);
DRIVER_ENTRY_TYPE(DrvGetProcAddress, VlxDrvGetProcAddressProc);
DRIVER_ENTRY_TYPE(DrvValidateVersion, VlxDrvValidateVersionProc);

// Internal: counts shared between the heap files for PlatformGetHeapStats.
#pragma once

namespace platform {

unsigned LiveVirtualAllocations();

}  // namespace platform

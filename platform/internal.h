// Internal: what one stand-in file asks of another.
#pragma once

namespace platform {

// Whether an environment variable is set, read under the environment's lock.
bool EnvironmentHas(const char *name);

// VirtualAlloc allocations not yet released.
unsigned LiveVirtualAllocations();

}  // namespace platform

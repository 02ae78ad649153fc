// The layer's allocators (zero-filled global-heap blocks) and the imports
// record it hands every new context.
#pragma once

#include <stddef.h>

#include "core/imports.h"

// Size 0 or failure gives null; realloc keeps the smaller of the old block's
// size and the new size, and leaves the old block alone when it fails.
void *__wglMalloc(size_t size);
void *__wglCalloc(size_t count, size_t size);
void *__wglRealloc(void *block, size_t size);
void __wglFree(void *block);

namespace wgl {
// The callbacks of every context: the allocators above taking the context
// first, warning and fatal ("OGL ERR:%s\n"; fatal then aborts), the bound
// drawable and its size. `other` is set just before each device create call
// to the WglContext being created (creation runs under the global lock).
extern GlImports imports;
}  // namespace wgl

// Placeholder bodies until this file is written.
#include "wgl/wgl_alloc.h"

void *__wglMalloc(size_t) { return nullptr; }
void *__wglCalloc(size_t, size_t) { return nullptr; }
void *__wglRealloc(void *, size_t) { return nullptr; }
void __wglFree(void *) {}
namespace wgl {
GlImports imports;
}  // namespace wgl

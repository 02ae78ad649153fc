// The run-time code generator builds its caches here from the cache sizes in
// the constants; until it exists a context holds no generated code.
#include "codegen/og_cache.h"

GLbool8 __glInitializeCodeCache(GlContext *gc) { return 1; }

void __glReleaseCodeCache(GlContext *gc) {}

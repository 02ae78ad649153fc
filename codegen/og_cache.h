// The context's run-time code caches.
#pragma once

#include "core/calling.h"

struct GlContext;

// Builds the caches from the code-cache sizes of the constants; false when
// memory runs out.
GLbool8 __glInitializeCodeCache(GlContext *gc);
void __glReleaseCodeCache(GlContext *gc);

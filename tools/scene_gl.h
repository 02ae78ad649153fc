// The GL declarations the scenes draw with. The same scene sources are built
// twice: against the system's header for programs that go through the loader,
// and against the core's own entries for the reference drawn into memory.
#pragma once

#ifdef SCENE_CORE_API
#include "core/gl_api.h"
#include "pixels/px_enums.h"      // the pixel-store names
#include "pixels/px_texformat.h"  // the paletted internal formats
#else
#include <GL/gl.h>
#endif

// The rendering context record. Sub-records appear in their fixed order;
// subsystems add their own as they are built.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "dlist/dl_state.h"
#include "wgl/gl_imports.h"

typedef struct GlContext {
  GlImports imports;
  // exports, flags, state ...
  int32_t beginMode;
  GLenum renderMode;
  GLenum error;
  GlModes modes;
  // constants, feedback and selection ...
  GlDlistState dlist;
  // dispatch states, dirty masks, procs, ...
} GlContext;

static_assert(offsetof(GlContext, imports) == 0, "the imports head the context");

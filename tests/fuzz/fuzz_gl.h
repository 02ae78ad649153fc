// The GL as the fuzzer calls it: the system header for the enumerants and
// every slot's function declared from the slot table. The extension
// functions are not exported by the loader (they come from
// wglGetProcAddress), so the declarations are weak and those stay null.
#pragma once

#include <GL/gl.h>

// The header's newer GL widens this one; the driver keeps the 1.1 value.
#undef GL_ALL_ATTRIB_BITS

#include "core/gl_get_enums.h"
#include "core/gl_slots.h"
#include "pixels/px_enums.h"

extern "C" {
#define FUZZ_DECLARE(s, Name, words, list, Ret, params) __attribute__((weak)) Ret gl##Name params;
GL_SLOTS(FUZZ_DECLARE)
#undef FUZZ_DECLARE
}

// The paletted-texture queries share their values with the colour-table ones.
#ifndef GL_COLOR_TABLE_WIDTH_EXT
#define GL_COLOR_TABLE_FORMAT_EXT GL_COLOR_TABLE_FORMAT_SGI
#define GL_COLOR_TABLE_WIDTH_EXT GL_COLOR_TABLE_WIDTH_SGI
#define GL_COLOR_TABLE_RED_SIZE_EXT GL_COLOR_TABLE_RED_SIZE_SGI
#endif

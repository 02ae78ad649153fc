// The loader's GL functions as an application calls them (C convention),
// declared from the slot table. Only the GL 1.1 ones exist as exports; the
// extension ones are reached through wglGetProcAddress.
#pragma once

#include "core/gl_slots.h"

extern "C" {
#define LOADER_TEST_DECLARE(s, Name, words, list, Ret, params) Ret gl##Name params;
GL_SLOTS(LOADER_TEST_DECLARE)
#undef LOADER_TEST_DECLARE
}

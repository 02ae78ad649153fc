// The API entry stubs, gl + X for every slot: internal (hidden) entries that
// jump through the calling thread's current dispatch table. The driver's own
// code calls these when it must run whatever procedure is in force (glBegin
// after validation, display lists being compiled, validation having replaced
// an entry), and the extension query hands out the extension ones.
#pragma once

#include "core/calling.h"
#include "core/dispatch.h"

extern "C" {
#define GL_API_DECLARE(s, Name, words, list, Ret, params) \
  __attribute__((visibility("hidden"))) Ret GLENTRY gl##Name params;
GL_SLOTS(GL_API_DECLARE)
#undef GL_API_DECLARE
}

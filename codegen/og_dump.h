// The dump switch: every generated routine written to a file of its own,
// for `objdump -D -b binary -mi386 -M intel --adjust-vma=ADDRESS FILE`.
// It is on while the environment variable "VLX_OG_DUMP" names a directory
// (read at every routine), or a test has named one with og_dump_directory.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// Writes `length` bytes from `start` to DIRECTORY/og-SEQUENCE-NAME-ADDRESS.bin
// (SEQUENCE counts the routines of the process, ADDRESS is `start` in hex).
// `gc` may be null. True when a file was written.
GLbool8 og_dump(GlContext *gc, const char *name, const void *start, uint32_t length);

// For tests: dump into `directory` whatever the environment says; null
// returns to the environment.
void og_dump_directory(const char *directory);

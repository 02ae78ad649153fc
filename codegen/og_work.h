// The code generator's per-context work records: forty of them, each with its
// own buffer, set up by early initialisation and searched by the generator
// for routines it already made. The generator owns what goes inside.
#pragma once

#include <stdint.h>

#define GL_WORK_RECORD_COUNT 40
#define GL_WORK_BUFFER_SIZE 3072u

typedef struct GlWorkRecord {
  uint8_t *buffer;  // GL_WORK_BUFFER_SIZE bytes, carved from one block
  uint32_t size;    // bytes of `buffer`
} GlWorkRecord;

// The code generator's per-context work records: forty of them, each with its
// own buffer, set up by early initialisation. They are the cells of the
// geometry cache: each remembers the key of the vertex routine generated into
// its buffer, so that a later request with the same state finds it ready.
#pragma once

#include <stdint.h>

#define GL_WORK_RECORD_COUNT 40
#define GL_WORK_BUFFER_SIZE 3072u
#define GEOM_OG_MAX_KEY_SIZE 24  // words

typedef struct GlWorkRecord {
  uint8_t *buffer;  // GL_WORK_BUFFER_SIZE bytes of executable memory, carved from one block
  uint32_t size;    // bytes of `buffer`
  uint32_t keyLength;  // bytes of `key`; 0 while the cell holds no routine
  uint32_t key[GEOM_OG_MAX_KEY_SIZE];
} GlWorkRecord;

// The geometry cache beside its cells (gc->workRecords): the cell of the
// latest hit or fill, and the private generator that draws victims, so that
// the draw is repeatable and the application's own rand sequence is left alone.
typedef struct OgGeomCache {
  GlWorkRecord *last;
  uint32_t seed;
} OgGeomCache;

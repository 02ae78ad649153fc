#include "core/gl_assert.h"

#include <stdio.h>
#include <stdlib.h>

void __glAssertFailed(const char *condition, const char *source, int line) {
  fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, source, line);
  fflush(stderr);
  abort();
}

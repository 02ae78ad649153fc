// The integer base-2 logarithm used for level sizes and drawable set-up.
#include "geometry/s_xform.h"

int32_t __glFloorLog2(uint32_t n) {
  int32_t k = 0;
  while (n > 1) {
    n >>= 1;
    ++k;
  }
  return k;
}

// PLACEHOLDER (seam)
#include "sis/sis_hw.h"
int mWait3DCmdQueue(int) { return 1; }

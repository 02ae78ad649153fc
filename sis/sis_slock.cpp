// PLACEHOLDER (seam)
#include "sis/sis_hw.h"
GLbool8 __glSiSsLock(GlContext *) { return 0; }
GLbool8 __glSiSsUnlock(GlContext *) { return 0; }

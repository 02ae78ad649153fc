#include "dlist/dl_stubs.h"

void __glGenericDlistOptimizer(GlContext *, GlDlistRecord *) {}

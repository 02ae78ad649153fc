// The stand-in for the list optimiser, which arrives with the material
// optimiser under the same name. Context creators store its address.
#pragma once

#include "dlist/dl_state.h"

void __glGenericDlistOptimizer(GlContext *gc, GlDlistRecord *list);

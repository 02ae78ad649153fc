// The pixel paths fill these with the store, transfer and map state; colour
// tables live in the texture objects and need nothing here.
#include "pixels/px_state.h"

void __glInitPixelState(GlContext *gc) {}

void __glFreePixelState(GlContext *gc) {}

void __glInitColorTables(GlContext *gc) {}

void __glFreeColorTables(GlContext *gc) {}

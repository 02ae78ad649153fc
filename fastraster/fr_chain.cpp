// The spanlet that ends a chain without writing.
#include "fastraster/fr_chain.h"

void GLFASTCALL __glNullSpanlet(uint32_t, FrSpan *) {}

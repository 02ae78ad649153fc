// The store spans: the last spanlet of a chain when no pre-built kernel
// covers the state. Each writes the live pixels of its chunk into
// gc->drawBuffer with any GL 1.1 blend factor pair, dithering, the logic op
// and the write masks, and calls nothing.
#pragma once

#include "core/procs.h"

void GLFASTCALL __glStoreSpanCINDEX(uint32_t mask, FrSpan *span);
void GLFASTCALL __glStoreSpanRGB332(uint32_t mask, FrSpan *span);
void GLFASTCALL __glStoreSpanRGB5(uint32_t mask, FrSpan *span);
void GLFASTCALL __glStoreSpanRGB565(uint32_t mask, FrSpan *span);
void GLFASTCALL __glStoreSpanRGB8(uint32_t mask, FrSpan *span);
void GLFASTCALL __glStoreSpanXRGB8(uint32_t mask, FrSpan *span);

// By FrFbType; the layouts without a store span are null.
extern const FrSpanletProc __glStoreTab[16];

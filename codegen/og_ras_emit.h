// Small emission helpers of the raster and setup generators: steps in
// memory, copies, bit-field moves and a clamp.
#pragma once

#include <stdint.h>

#include "codegen/og.h"

namespace og_raster {

// Each appends at `cb` and returns the new cursor.
// m = m + d through eax and ecx.
uint8_t *ds(GlContext *gc, uint8_t *cb, OgCode *m, OgCode *d);
// The same for the steps between scan lines.
inline uint8_t *dy(GlContext *gc, uint8_t *cb, OgCode *m, OgCode *d) { return ds(gc, cb, m, d); }
// r1 = m + d, using r2, without storing.
uint8_t *dyv(GlContext *gc, uint8_t *cb, OgCode *m, OgCode *d, OgCode *r1, OgCode *r2);
// Copies the second memory operand into the first through eax.
uint8_t *memov(GlContext *gc, uint8_t *cb, OgCode *to, OgCode *from);
// Moves a bit field from bit `from` to bit `to` with one shift.
uint8_t *gobit(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t from, int32_t to);
// The same for the 16-bit lanes of an MMX register; nothing when equal.
uint8_t *mmxgobit(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t from, int32_t to);
// reg = limit - 1 when reg >= limit (signed).
uint8_t *clamp(GlContext *gc, uint8_t *cb, OgCode *reg, int32_t limit);
// floor(log2(v)); 0 for 0 and 1.
int32_t log2(uint32_t v);

}  // namespace og_raster

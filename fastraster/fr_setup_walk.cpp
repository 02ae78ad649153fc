// The span walk: per row an integer edge walker whose carry picks one of two
// precomputed steps for every iterator; per chunk one mask, one call and the
// chunk steps.
#include "fastraster/fr_setup_walk.h"

#include "core/context.h"
#include "fastraster/fr_tables.h"

namespace {

// The record as words: every field is one, and the groups are found by
// word index.
uint32_t *Words(FrSpan *span) { return reinterpret_cast<uint32_t *>(span); }
GLfloat *Floats(FrSpan *span) { return reinterpret_cast<GLfloat *>(span); }

const uint32_t *DitherRow(const FrSpan *span) {
  return span->ditherTable + (span->y & 3) * FR_DITHER_ROW + (span->x & 3);
}

// One edge's step: the fraction's carry picks the x step; returns the carry.
bool StepEdge(uint32_t *frac, int32_t dfrac, int32_t *ix, int32_t dx, int32_t dxCarry) {
  const uint32_t sum = *frac + uint32_t(dfrac);
  const bool carry = (sum >> 31) != 0;
  *frac = sum & 0x7FFFFFFFu;
  *ix += carry ? dxCarry : dx;
  return carry;
}

}  // namespace

void FrFinishSteps(FrSpan *span, const FrWalkPlan &plan) {
  uint32_t *w = Words(span);
  GLfloat *f = Floats(span);
  const bool rightToLeft = span->direction < 0;
  if (rightToLeft) {
    for (int32_t *word : {&span->ixLong, &span->ixShort, &span->ixLower, &span->dxLong,
                          &span->dxLongCarry, &span->dxShort, &span->dxShortCarry, &span->dxLower,
                          &span->dxLowerCarry})
      *word = -*word;
  }
  for (int32_t i = 0; i < plan.intCount; i++) {
    uint32_t *g = w + plan.intGroups[i];
    if (rightToLeft) g[2] = 0u - g[2];
    g[3] = g[2] * 32u;
  }
  for (int32_t i = 0; i < plan.floatCount; i++) {
    GLfloat *g = f + plan.floatGroups[i];
    if (rightToLeft) g[2] = -g[2];
    g[3] = 32.0f * g[2];
    g[4] = 16.0f * g[2];
  }
  span->ditherTable = __glFRDitherTables[rightToLeft];
}

void FrWalkRows(GlContext *gc, FrSpan *span, const FrWalkPlan &plan, int32_t rows) {
  uint32_t *w = Words(span);
  GLfloat *f = Floats(span);
  for (; rows > 0; rows--) {
    int32_t length = span->ixShort - span->ixLong;
    span->x = span->ixLong;
    span->ditherRow = DitherRow(span);
    for (int32_t i = 0; i < plan.intCount; i++) w[plan.intGroups[i]] = w[plan.intGroups[i] + 1];
    for (int32_t i = 0; i < plan.floatCount; i++)
      f[plan.floatGroups[i]] = f[plan.floatGroups[i] + 1];
    while (length > 0) {
      // The head is read again for every chunk.
      gc->procs.fillTriangleSpan(length < 32 ? __glFRMaskTable[length] : 0xFFFFFFFFu, span);
      length -= 32;
      if (length <= 0) break;
      span->x += 32;
      span->ditherRow = DitherRow(span);
      for (int32_t i = 0; i < plan.intCount; i++) w[plan.intGroups[i]] += w[plan.intGroups[i] + 3];
      for (int32_t i = 0; i < plan.floatCount; i++)
        f[plan.floatGroups[i]] += f[plan.floatGroups[i] + 3];
    }
    const bool carry = StepEdge(&span->fracLong, span->dfracLong, &span->ixLong, span->dxLong,
                                span->dxLongCarry);
    for (int32_t i = 0; i < plan.intCount; i++) {
      uint32_t *g = w + plan.intGroups[i];
      g[1] += carry ? g[5] : g[4];
    }
    for (int32_t i = 0; i < plan.floatCount; i++) {
      GLfloat *g = f + plan.floatGroups[i];
      g[1] += carry ? g[6] : g[5];
    }
    StepEdge(&span->fracShort, span->dfracShort, &span->ixShort, span->dxShort,
             span->dxShortCarry);
    span->y++;
  }
}

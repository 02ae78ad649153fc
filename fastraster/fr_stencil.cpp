// The stencil spanlets. Stencil bytes step by `direction`, so a right-to-left
// chunk walks falling addresses from `sbuf`.
#include "fastraster/fr_stencil.h"

#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "raster/s_span_tests.h"

namespace {

// Calls op(byte, mask bit) for every live pixel's stencil byte; the walk
// stops after the last live pixel.
template <typename Op>
void EachLive(uint32_t mask, const FrSpan *span, Op op) {
  uint8_t *s = span->sbuf;
  for (uint32_t bit = 0x80000000u; mask; mask <<= 1, bit >>= 1, s += span->direction)
    if (mask & 0x80000000u) op(s, bit);
}

uint8_t WriteMask(const FrSpan *span) { return uint8_t(span->gc->state.stencil.writeMask); }

// The new byte s' through the write mask: bits outside it keep their value.
template <typename Value>
void Update(uint32_t mask, const FrSpan *span, Value value) {
  const uint8_t wm = WriteMask(span);
  EachLive(mask, span, [&](uint8_t *s, uint32_t) { *s = uint8_t((value(*s) & wm) | (*s & ~wm)); });
}

}  // namespace

void GLFASTCALL __glFRStencilTest(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  const GlStencilState &st = gc->state.stencil;
  const uint32_t m = uint32_t(int32_t(int16_t(st.mask)));  // sign-extended
  const uint32_t ref = uint8_t(st.reference & m);
  uint32_t pass = 0;
  EachLive(mask, span, [&](const uint8_t *s, uint32_t bit) {
    // The reference on the left: GL_LESS passes when ref < value.
    if (span_tests::TablePasses(st.testFunc, ref, *s & m)) pass |= bit;
  });
  span->passMask = pass;
  const uint32_t fail = mask - pass;
  if (fail) gc->procs.stencilOpSFail(fail, span);
  if (pass) gc->procs.afterStencilTest(pass, span);
}

void GLFASTCALL __glFRStencilPostDepthCleanup(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  const uint32_t zfail = span->passMask - mask;
  if (zfail) gc->procs.stencilOpZFail(zfail, span);
  if (mask) {
    gc->procs.stencilOpZPass(mask, span);
    gc->procs.afterStencilCleanup(mask, span);
  }
}

void GLFASTCALL __glFRStencilKeep(uint32_t, FrSpan *) {}

void GLFASTCALL __glFRStencilZero(uint32_t mask, FrSpan *span) {
  Update(mask, span, [](uint8_t) { return 0u; });
}

void GLFASTCALL __glFRStencilReplace(uint32_t mask, FrSpan *span) {
  const uint32_t ref = span->gc->state.stencil.reference;
  Update(mask, span, [ref](uint8_t) { return ref; });
}

void GLFASTCALL __glFRStencilIncrement(uint32_t mask, FrSpan *span) {
  Update(mask, span, [](uint8_t s) { return s < 255 ? s + 1u : s; });
}

void GLFASTCALL __glFRStencilDecrement(uint32_t mask, FrSpan *span) {
  Update(mask, span, [](uint8_t s) { return s > 0 ? s - 1u : s; });
}

void GLFASTCALL __glFRStencilInvert(uint32_t mask, FrSpan *span) {
  Update(mask, span, [](uint8_t s) { return ~uint32_t(s); });
}

FrSpanletProc __glFRPickStencilOpProc(GLenum op) {
  switch (op) {
    case GL_KEEP:
      return __glFRStencilKeep;
    case GL_ZERO:
      return __glFRStencilZero;
    case GL_REPLACE:
      return __glFRStencilReplace;
    case GL_INCR:
      return __glFRStencilIncrement;
    case GL_DECR:
      return __glFRStencilDecrement;
    case GL_INVERT:
      return __glFRStencilInvert;
    default:
      return nullptr;
  }
}

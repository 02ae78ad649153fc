// The depth buffer's 32 test-and-store procedures and its fetches. Every
// procedure works from the drawable buffer's record, so the 24-bit buffer's
// epochs and reversal are handled here and nowhere else.
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_depth.h"

namespace {

// The comparisons, stored words on the right.
struct Never {
  static bool Passes(uint32_t, uint32_t) { return false; }
};
struct Less {
  static bool Passes(uint32_t v, uint32_t s) { return v < s; }
};
struct Equal {
  static bool Passes(uint32_t v, uint32_t s) { return v == s; }
};
struct LessEqual {
  static bool Passes(uint32_t v, uint32_t s) { return v <= s; }
};
struct Greater {
  static bool Passes(uint32_t v, uint32_t s) { return v > s; }
};
struct NotEqual {
  static bool Passes(uint32_t v, uint32_t s) { return v != s; }
};
struct GreaterEqual {
  static bool Passes(uint32_t v, uint32_t s) { return v >= s; }
};
struct Always {
  static bool Passes(uint32_t, uint32_t) { return true; }
};

uint8_t *Address(GlDepthBuffer *dfb, int32_t x, int32_t y) {
  return __glPixelAddress(dfb->buf.gc, dfb->buf.drawableBuf, x, y);
}

// One stored word: 16-bit words (no epochs, no reversal), or 32-bit words,
// plain or with the 24-bit buffer's epochs.
template <typename Word, typename Cmp, bool kWrite>
GLbool8 Store(GlDepthBuffer *dfb, int32_t x, int32_t y, uint32_t z) {
  const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  uint8_t *p = Address(dfb, x, y);
  Word stored;
  memcpy(&stored, p, sizeof stored);
  const Word value = Word(__glDepthStoredValue(rec, dfb->scale, z));
  if (!Cmp::Passes(value, __glDepthCompareValue(rec, dfb->scale, stored))) return 0;
  if (kWrite) memcpy(p, &value, sizeof value);
  return 1;
}
template <typename Cmp, bool kWrite>
constexpr GlDepthStoreProc Store16 = Store<uint16_t, Cmp, kWrite>;
template <typename Cmp, bool kWrite>
constexpr GlDepthStoreProc Store32 = Store<uint32_t, Cmp, kWrite>;

}  // namespace

// Eight functions in GL order; GL_NEVER stores nothing, so one procedure
// serves both halves of its width.
#define GL_DEPTH_STORE_BLOCK(Width, kWrite)                                                \
  Width<Never, true>, Width<Less, kWrite>, Width<Equal, kWrite>, Width<LessEqual, kWrite>, \
      Width<Greater, kWrite>, Width<NotEqual, kWrite>, Width<GreaterEqual, kWrite>,        \
      Width<Always, kWrite>

const GlDepthStoreProc __glStoreProcs[32] = {
    GL_DEPTH_STORE_BLOCK(Store16, true), GL_DEPTH_STORE_BLOCK(Store16, false),
    GL_DEPTH_STORE_BLOCK(Store32, true), GL_DEPTH_STORE_BLOCK(Store32, false)};

uint32_t depth::Fetch16(GlDepthBuffer *dfb, int32_t x, int32_t y) {
  uint16_t stored;
  memcpy(&stored, Address(dfb, x, y), 2);
  return stored;
}

uint32_t depth::Fetch(GlDepthBuffer *dfb, int32_t x, int32_t y) {
  uint32_t stored;
  memcpy(&stored, Address(dfb, x, y), 4);
  return stored;
}

uint32_t depth::FetchFastClear(GlDepthBuffer *dfb, int32_t x, int32_t y) {
  const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  uint32_t word;
  memcpy(&word, Address(dfb, x, y), 4);
  const uint32_t depth = __glDepthCompareValue(rec, dfb->scale, word) - rec->base;
  return rec->reverse ? (dfb->scale >> rec->shift) - depth : depth;
}

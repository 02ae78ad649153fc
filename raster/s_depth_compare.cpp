// The single-pixel depth compares of the span depth tests. The span hands
// over the word it would store (__glDepthStoredValue); the word in memory
// is read through __glDepthCompareValue, so that a 24-bit word of an older
// epoch compares as the clear that made it stale.
#include <string.h>

#include "core/context.h"
#include "raster/s_depth.h"
#include "raster/s_depth_test.h"

namespace {

template <typename Word, typename Cmp, bool kWrite>
GLbool8 Compare(GlContext *gc, void *address, uint32_t z) {
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  if (rec == nullptr) return 0;
  Word stored;
  memcpy(&stored, address, sizeof stored);
  const Word value = Word(z);
  if (!Cmp()(value, Word(__glDepthCompareValue(rec, dfb->scale, stored)))) return 0;
  if (kWrite) memcpy(address, &value, sizeof value);
  return 1;
}

struct Less {
  bool operator()(uint32_t v, uint32_t s) const { return v < s; }
};
struct Equal {
  bool operator()(uint32_t v, uint32_t s) const { return v == s; }
};
struct LessEqual {
  bool operator()(uint32_t v, uint32_t s) const { return v <= s; }
};
struct Greater {
  bool operator()(uint32_t v, uint32_t s) const { return v > s; }
};
struct NotEqual {
  bool operator()(uint32_t v, uint32_t s) const { return v != s; }
};
struct GreaterEqual {
  bool operator()(uint32_t v, uint32_t s) const { return v >= s; }
};

}  // namespace

// NEVER reads nothing; ALWAYS only stores.
GLbool8 __glDT_NEVER16(GlContext *, void *, uint32_t) { return 0; }
GLbool8 __glDT_NEVER(GlContext *, void *, uint32_t) { return 0; }
GLbool8 __glDT_ALWAYS16(GlContext *, void *address, uint32_t z) {
  const uint16_t value = uint16_t(z);
  memcpy(address, &value, 2);
  return 1;
}
GLbool8 __glDT_ALWAYS(GlContext *, void *address, uint32_t z) {
  memcpy(address, &z, 4);
  return 1;
}
GLbool8 __glDT_ALWAYS16_M(GlContext *, void *, uint32_t) { return 1; }
GLbool8 __glDT_ALWAYS_M(GlContext *, void *, uint32_t) { return 1; }

#define GL_DEFINE_DT(F, Cmp)                                                               \
  GLbool8 __glDT_##F##16(GlContext *gc, void *address, uint32_t z) {                       \
    return Compare<uint16_t, Cmp, true>(gc, address, z);                                   \
  }                                                                                        \
  GLbool8 __glDT_##F##16_M(GlContext *gc, void *address, uint32_t z) {                     \
    return Compare<uint16_t, Cmp, false>(gc, address, z);                                  \
  }                                                                                        \
  GLbool8 __glDT_##F(GlContext *gc, void *address, uint32_t z) {                           \
    return Compare<uint32_t, Cmp, true>(gc, address, z);                                   \
  }                                                                                        \
  GLbool8 __glDT_##F##_M(GlContext *gc, void *address, uint32_t z) {                       \
    return Compare<uint32_t, Cmp, false>(gc, address, z);                                  \
  }
GL_DEFINE_DT(LESS, Less)
GL_DEFINE_DT(EQUAL, Equal)
GL_DEFINE_DT(LEQUAL, LessEqual)
GL_DEFINE_DT(GREATER, Greater)
GL_DEFINE_DT(NOTEQUAL, NotEqual)
GL_DEFINE_DT(GEQUAL, GreaterEqual)
#undef GL_DEFINE_DT

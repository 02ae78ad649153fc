// The 8-bit stencil buffer object: its maps, its per-pixel procedures and
// its clear.
#include <string.h>

#include <array>

#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_stencil.h"

namespace {

constexpr int kMapSize = __GL_STENCIL_MAP_SIZE;

// The maps of "no stencil work": every test passes, every operation keeps.
// They are never written.
constexpr std::array<uint8_t, kMapSize> kKeep = [] {
  std::array<uint8_t, kMapSize> map{};
  for (int v = 0; v < kMapSize; v++) map[v] = uint8_t(v);
  return map;
}();
constexpr std::array<uint8_t, kMapSize> kPass = [] {
  std::array<uint8_t, kMapSize> map{};
  map.fill(1);
  return map;
}();
uint8_t *KeepMap() { return const_cast<uint8_t *>(kKeep.data()); }
uint8_t *PassMap() { return const_cast<uint8_t *>(kPass.data()); }

// The values the stencil buffer holds: 2^bits, at most 256.
uint32_t ValueCount(const GlContext *gc) {
  const uint32_t bits = gc->modes.stencilBits;
  return bits >= 8 ? 256u : 1u << bits;
}

bool Compare(GLenum func, uint32_t ref, uint32_t value) {
  switch (func) {
    case GL_LESS:
      return ref < value;
    case GL_LEQUAL:
      return ref <= value;
    case GL_GREATER:
      return ref > value;
    case GL_GEQUAL:
      return ref >= value;
    case GL_EQUAL:
      return ref == value;
    case GL_NOTEQUAL:
      return ref != value;
    case GL_ALWAYS:
      return true;
    default:  // GL_NEVER
      return false;
  }
}

void buildOpTable(GlContext *gc, uint8_t *map, GLenum op, uint32_t ref, uint32_t w) {
  const uint32_t top = ValueCount(gc) - 1;
  for (uint32_t byte = 0; byte < uint32_t(kMapSize); byte++) {
    const uint32_t v = byte & top;
    uint32_t n;
    switch (op) {
      case GL_ZERO:
        n = 0;
        break;
      case GL_REPLACE:
        n = ref;
        break;
      case GL_INCR:
        n = v == top ? v : v + 1;
        break;
      case GL_DECR:
        n = v == 0 ? 0 : v - 1;
        break;
      case GL_INVERT:
        n = ~v & top;
        break;
      default:  // GL_KEEP
        n = v;
        break;
    }
    map[byte] = uint8_t((n & w) | (v & ~w));
  }
}

GLbool8 UsesStandInMaps(const GlStencilBuffer *sfb) { return sfb->testMap == PassMap(); }

// Rebuilds the maps when the state changed, when there are none yet, and
// while they are the stand-ins of a failed allocation.
void Pick(GlContext *gc, GlStencilBuffer *sfb) {
  constexpr uint32_t kTables = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
  if ((gc->tableDirtyMask & kTables) || sfb->testMap == nullptr || UsesStandInMaps(sfb))
    __glValidateStencil(gc);
}

uint8_t *Address(GlStencilBuffer *sfb, int32_t x, int32_t y) {
  return __glPixelAddress(sfb->buf.gc, sfb->buf.drawableBuf, x, y);
}

void Store(GlStencilBuffer *sfb, int32_t x, int32_t y, uint32_t value) {
  const uint32_t w = sfb->buf.gc->state.stencil.writeMask;
  uint8_t *p = Address(sfb, x, y);
  *p = uint8_t((*p & ~w) | (value & w & 0xFF));
}

uint8_t Fetch(GlStencilBuffer *sfb, int32_t x, int32_t y) { return *Address(sfb, x, y); }

GLbool8 TestFunc(GlStencilBuffer *sfb, int32_t x, int32_t y) {
  return sfb->testMap[sfb->buf.gc->state.stencil.mask & *Address(sfb, x, y)];
}

void FailOp(GlStencilBuffer *sfb, int32_t x, int32_t y) {
  uint8_t *p = Address(sfb, x, y);
  *p = sfb->failMap[*p];
}

void PassDepthFailOp(GlStencilBuffer *sfb, int32_t x, int32_t y) {
  uint8_t *p = Address(sfb, x, y);
  *p = sfb->depthFailMap[*p];
}

void DepthPassOp(GlStencilBuffer *sfb, int32_t x, int32_t y) {
  uint8_t *p = Address(sfb, x, y);
  *p = sfb->depthPassMap[*p];
}

// One row: 8 bytes a step, then the bytes left one by one.
void ClearRow(uint8_t *p, int32_t width, uint8_t value, uint8_t keep) {
  const uint64_t ones = 0x0101010101010101ull;
  const uint64_t value8 = value * ones, keep8 = keep * ones;
  for (; width >= 8; width -= 8, p += 8) {
    uint64_t bytes = value8;
    if (keep8) {
      memcpy(&bytes, p, 8);
      bytes = (bytes & keep8) | value8;
    }
    memcpy(p, &bytes, 8);
  }
  for (; width > 0; width--, p++) *p = uint8_t((*p & keep) | value);
}

void ClearBox(GlStencilBuffer *sfb, GlContext *gc) {
  if (sfb->buf.drawableBuf == nullptr) return;
  const int32_t *box = gc->transform.clipBox;
  const int32_t width = box[2] - box[0];
  if (width <= 0 || box[3] <= box[1]) return;
  const uint32_t w = gc->state.stencil.writeMask;
  // With every bit writable the clear value is written as it is.
  const uint8_t keep = w == ValueCount(gc) - 1 ? 0 : uint8_t(~w);
  const uint8_t value = uint8_t(gc->state.stencil.clear & w);
  // A surface has its pixels only while locked: the lock comes before the
  // test of its base.
  __glLockBuffersIfInstalled(gc, __GL_STENCIL_BUFFER_MASK);
  if (sfb->buf.drawableBuf->base != nullptr)
    for (int32_t y = box[1]; y < box[3]; y++) ClearRow(Address(sfb, box[0], y), width, value, keep);
  __glUnlockBuffersIfInstalled(gc, __GL_STENCIL_BUFFER_MASK);
}

void Clear(GlStencilBuffer *sfb) {
  GlContext *gc = sfb->buf.gc;
  if (gc == nullptr) return;
  // The box is read under the drawable's lock: taking it may deliver a
  // resize, which changes the box.
  __GL_LOCK_DRAWABLE(gc, "s_stencil");
  ClearBox(sfb, gc);
  __GL_UNLOCK_DRAWABLE(gc);
}

void FreeStencilBuf(GlBuffer *buf, GlContext *gc) {
  GlStencilBuffer *sfb = reinterpret_cast<GlStencilBuffer *>(buf);
  // The four maps are one block, headed by the test map.
  if (sfb->testMap && !UsesStandInMaps(sfb)) gc->imports.free(gc, sfb->testMap);
  sfb->testMap = sfb->failMap = sfb->depthFailMap = sfb->depthPassMap = nullptr;
}

}  // namespace

void __glValidateStencil(GlContext *gc) {
  GlStencilBuffer *sfb = &gc->stencilBuffer;
  if (sfb->testMap == nullptr || UsesStandInMaps(sfb)) {
    uint8_t *maps = static_cast<uint8_t *>(gc->imports.malloc(gc, 4 * kMapSize));
    if (maps == nullptr) {
      sfb->testMap = PassMap();
      sfb->failMap = sfb->depthFailMap = sfb->depthPassMap = KeepMap();
      return;
    }
    memset(maps, 0, 4 * kMapSize);
    sfb->testMap = maps;
    sfb->failMap = maps + kMapSize;
    sfb->depthFailMap = maps + 2 * kMapSize;
    sfb->depthPassMap = maps + 3 * kMapSize;
  }
  const GlStencilState &s = gc->state.stencil;
  const uint32_t m = s.mask;
  if (s.testFunc >= GL_NEVER && s.testFunc <= GL_ALWAYS)
    for (uint32_t v = 0; v < uint32_t(kMapSize); v++)
      sfb->testMap[v] = Compare(s.testFunc, s.reference & m, v & m);
  const uint32_t w = s.writeMask & 0xFF;
  buildOpTable(gc, sfb->failMap, s.fail, s.reference, w);
  buildOpTable(gc, sfb->depthFailMap, s.depthFail, s.reference, w);
  buildOpTable(gc, sfb->depthPassMap, s.depthPass, s.reference, w);
}

void __glInitStencil8(GlStencilBuffer *sfb, GlContext *gc) {
  __glInitBuffer(&sfb->buf, gc);
  sfb->buf.free = FreeStencilBuf;
  sfb->pick = Pick;
  sfb->store = Store;
  sfb->fetch = Fetch;
  sfb->testFunc = TestFunc;
  sfb->failOp = FailOp;
  sfb->passDepthFailOp = PassDepthFailOp;
  sfb->depthPassOp = DepthPassOp;
  sfb->clear = Clear;
}

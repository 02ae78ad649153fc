#include "tests/codegen/depth_test/zt_fixture.h"

#include <string.h>
#include <sys/mman.h>

#include "codegen/og_cache.h"
#include "codegen/og_cache_switch.h"
#include "core/context.h"
#include "raster/s_depth.h"

namespace zt_test {

namespace {

constexpr uint32_t kPage = 4096;

uint32_t recordedMask;
int calls;

void GLFASTCALL Successor(uint32_t mask, FrSpan *) {
  recordedMask = mask;
  calls++;
}

uint32_t ScaleOf(uint32_t key) { return (key & OG_ZT_16BIT) ? 0xFFFF0000u : 0x7FC00000u; }

bool Passes(uint32_t func, uint32_t v, uint32_t stored) {
  switch (func) {
    case 1: return v < stored;
    case 2: return v == stored;
    case 3: return v <= stored;
    case 4: return v > stored;
    case 5: return v != stored;
    case 6: return v >= stored;
    case 7: return true;
    default: return false;
  }
}

}  // namespace

Outcome Model(uint32_t key, const Chunk &c, const std::vector<uint32_t> &depth) {
  Outcome out{depth, false, 0};
  const uint32_t func = key & OG_ZT_FUNC, scale = ScaleOf(key);
  if (func == 0) {
    out.called = (key & OG_ZT_STENCIL) != 0;
    return out;
  }
  uint32_t survivors = c.mask, z = c.z;
  int i = 0;
  for (uint32_t m = c.mask; m; m <<= 1, i++, z += uint32_t(c.dzdx)) {
    if (!(m & 0x80000000u)) continue;
    int64_t v = __glDepthInRange(scale, z);
    if ((key & OG_ZT_OFFSET) && (key & OG_ZT_16BIT)) {
      // The offset in halves of a unit, onto half the depth.
      v = v / 2 + c.offsetZ;
      if (v < 0) v = 0;
      if (v > int64_t(scale / 2)) v = scale / 2;
      v *= 2;
    } else if (key & OG_ZT_OFFSET) {
      v += c.offsetZ;
      if (v < 0) v = 0;
      if (v > int64_t(scale)) v = scale;
    }
    const uint32_t stored = (key & OG_ZT_16BIT) ? uint32_t(v) >> 16 : uint32_t(v);
    if (Passes(func, stored, out.depth[i])) {
      if (key & OG_ZT_WRITE) out.depth[i] = stored;
    } else {
      survivors &= ~(0x80000000u >> i);
    }
  }
  out.called = survivors != 0 || (key & OG_ZT_STENCIL) || func == 7;
  out.handedOn = survivors;
  return out;
}

void ZtTest::SetUp() {
  RunTest::SetUp();
  gc->constants.depthTestCacheCount = 4;
  gc->constants.depthTestCacheSize = 256;
  // As the context's cache set-up does: "__GL_DISABLE_OG_CACHE" in force.
  ASSERT_TRUE(og::ReadCacheSwitch(gc));
  ASSERT_TRUE(__glDoInitializeCodeCache(gc, &gc->depthTestCache, 4, 256));
  gc->procs.afterDepthTest = Successor;
  void *p = mmap(nullptr, 4 * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(p, MAP_FAILED);
  pages_ = static_cast<uint8_t *>(p);
  mprotect(pages_, kPage, PROT_NONE);
  mprotect(pages_ + 3 * kPage, kPage, PROT_NONE);
}

void ZtTest::TearDown() {
  __glDoReleaseCodeCache(gc, &gc->depthTestCache);
  if (pages_) munmap(pages_, 4 * kPage);
  RunTest::TearDown();
}

void ZtTest::SetKey(uint32_t key) {
  if (key & OG_ZT_16BIT)
    __glInitDepth16(&gc->depthBuffer, gc);
  else
    __glInitDepth32(&gc->depthBuffer, gc);
  gc->state.depth.testFunc = GL_NEVER + (key & OG_ZT_FUNC);
  gc->state.depth.writeEnable = (key & OG_ZT_WRITE) != 0;
  uint32_t flags = __GL_SHADE_DEPTH_TEST;
  if (key & OG_ZT_STENCIL) flags |= __GL_SHADE_STENCIL_TEST;
  if (key & OG_ZT_OFFSET) flags |= __GL_SHADE_POLYGON_OFFSET;
  gc->polygon.shader.modeFlags = flags;
}

Outcome ZtTest::Run(const void *routine, uint32_t key, const Chunk &c,
                    std::vector<uint32_t> depth) {
  const uint32_t size = (key & OG_ZT_16BIT) ? 2 : 4;
  int last = 31;
  while (last > 0 && !(c.mask & (0x80000000u >> last))) last--;
  // The last live pixel's element touches the guard page in walk direction.
  uint8_t *data = pages_ + kPage;
  uint8_t *first = c.direction > 0 ? data + 2 * kPage - (last + 1) * size : data + last * size;
  auto at = [&](int i) { return first + i * c.direction * int32_t(size); };
  for (int i = 0; i <= last; i++) memcpy(at(i), &depth[i], size);

  FrSpan span{};
  span.gc = gc;
  span.z = c.z;
  span.dzdx = c.dzdx;
  span.offsetZ = c.offsetZ;
  span.direction = c.direction;
  span.zbuf = first;
  recordedMask = 0xDEADBEEFu;
  calls = 0;
  RunFastChecked(routine, c.mask, uint32_t(reinterpret_cast<uintptr_t>(&span)), {});
  Outcome out{depth, calls != 0, recordedMask};
  EXPECT_LE(calls, 1);
  for (int i = 0; i <= last; i++) {
    out.depth[i] = 0;
    memcpy(&out.depth[i], at(i), size);
  }
  return out;
}

std::vector<uint32_t> AllKeys() {
  std::vector<uint32_t> keys;
  for (uint32_t key = 0; key < 0x80; key++)
    if ((key & OG_ZT_FUNC) != 7 || (key & OG_ZT_WRITE)) keys.push_back(key);
  return keys;
}

}  // namespace zt_test

// The drawer's place in code cache 4 (its key words, a second request with
// the same state emitting nothing), the wrapper that generates it on first
// use, and the executable memory a context gives back when destroyed.
#include <gtest/gtest.h>

#include "codegen/og_geom.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_og.h"
#include "platform/control.h"
#include "raster/s_shader.h"
#include "tests/codegen/strip/strip_fixture.h"

namespace strip_test {
namespace {

class StripCache : public StripTest {};

TEST_F(StripCache, KeyWordsFollowTheState) {
  struct Case {
    uint32_t modeFlags;
    GLenum back;
    uint32_t key1;
  } const cases[] = {
      {__GL_SHADE_RGB, __GL_POLYGON_MODE_FILL, 0x105},
      {__GL_SHADE_ITERATE_COLOR, __GL_POLYGON_MODE_FILL, 0x115},
      {__GL_SHADE_SMOOTH_LIGHT, __GL_POLYGON_MODE_FILL, 0x125},
      {__GL_SHADE_FOG, __GL_POLYGON_MODE_FILL, 0x145},
      {__GL_SHADE_RGB, __GL_POLYGON_MODE_POINT, 0x185},
      {__GL_SHADE_ITERATE_COLOR | __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_FOG,
       __GL_POLYGON_MODE_LINE, 0x1F5},
  };
  for (const Case &c : cases) {
    gc->polygon.shader.modeFlags = c.modeFlags;
    gc->polygon.mode[__GL_BACKFACE_INDEX] = c.back;
    EXPECT_EQ(__glDrawVerticesKey1(gc), c.key1) << std::hex << c.modeFlags;
  }
  Batched([](int32_t) { return 0u; });
  EXPECT_EQ(__glDrawVerticesKey2(gc), uint32_t(uintptr_t(buffer.data())));
  Locked([](int32_t) { return 0u; }, 4, 10);
  EXPECT_EQ(__glDrawVerticesKey2(gc), uint32_t(uintptr_t(buffer.data()) - 4 * sizeof(GlVertex)))
      << "the batch buffer's address is the cursor";
}

TEST_F(StripCache, TheSameStateFindsTheSameRoutine) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB;
  Batched([](int32_t) { return 0u; });
  void *first = Generated();
  ASSERT_NE(first, nullptr);
  // A hit emits nothing: a mark in the routine's slice stays.
  const uint8_t *code = static_cast<const uint8_t *>(first);
  const std::vector<uint8_t> before(code, code + 64);
  EXPECT_EQ(Generated(), first);
  EXPECT_TRUE(std::vector<uint8_t>(code, code + 64) == before);
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_FOG;
  void *fogged = Generated();
  EXPECT_NE(fogged, first);
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB;
  EXPECT_EQ(Generated(), first);
}

TEST_F(StripCache, TheWrapperInstallsAndRunsTheDrawer) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB;
  Locked([](int32_t) { return 0x20u; }, 0, 20);
  GlDrawVertexesProc &slot = gc->vertexArray.drawVertexes[GL_TRIANGLE_STRIP];
  slot = __glDrawVertexes_TstripWrapper;
  const Outcome reference = RunC(0, 6, nullptr);
  ASSERT_EQ(reference.calls.size(), 4u);
  const Outcome wrapped = RunSlot(0, 6, nullptr);
  EXPECT_EQ(wrapped.calls, reference.calls);
  EXPECT_EQ(reinterpret_cast<void *>(slot), Generated());
  EXPECT_NE(reinterpret_cast<void *>(slot), reinterpret_cast<void *>(__glDrawVertexes_TstripWrapper));
}

TEST_F(StripCache, TheWorkBlockIsExecutableAndGivenBack) {
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(gc->workBuffers, 40 * 3072, PAGE_EXECUTE_READWRITE, &old));
  EXPECT_EQ(old, DWORD(PAGE_EXECUTE_READWRITE));
  for (int i = 0; i < 40; i++) {
    const uint8_t *b = gc->workRecords[i].buffer;
    EXPECT_EQ(b, gc->workBuffers + i * 3072);
    EXPECT_EQ(b[0] | b[3071], 0) << "zero-filled";
  }
  // A new context in place of this one: destroying the old gave back all
  // its executable memory, the work block among it.
  const unsigned before = PlatformGetHeapStats().liveVirtual;
  Replace();
  EXPECT_EQ(PlatformGetHeapStats().liveVirtual, before);
}

}  // namespace
}  // namespace strip_test

// The stacks' memory on the counting allocator: records are made once per
// level, a push's own copies live until its pop, destruction frees what is
// left, and a push that cannot have its memory changes nothing.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "tests/core/attrib/attrib_groups.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace attrib_test {
namespace {

// Masks with and without the groups whose copies a push owns.
const GLbitfield kMasks[] = {0,
                             GL_LIGHTING_BIT,
                             GL_TRANSFORM_BIT | GL_CURRENT_BIT,
                             GL_TEXTURE_BIT,
                             GL_LIGHTING_BIT | GL_TRANSFORM_BIT | GL_TEXTURE_BIT,
                             GL_ALL_ATTRIB_BITS,
                             GL_FOG_BIT | GL_VIEWPORT_BIT};

class AttribMemory : public life_test::LifeTest {
 protected:
  void TearDown() override {
    CountingImports::failAllocation(0);
    LifeTest::TearDown();
  }
  GLint Depth(GLenum pname) {
    GLint depth = -1;
    glGetIntegerv(pname, &depth);
    return depth;
  }
  GlContext *Open() {
    window_ = std::make_unique<life_test::TestWindow>(32, 24);
    UseWindow(window_.get());
    return CreateBound(TestModes());
  }
  void Close(GlContext *gc) {
    ASSERT_TRUE(life_test::Release(gc));
    Destroy(gc);
  }

 private:
  std::unique_ptr<life_test::TestWindow> window_;
};

TEST_F(AttribMemory, PushAndPopCyclesKeepTheBlocksOutstanding) {
  GlContext *gc = Open();
  ASSERT_NE(gc, nullptr);
  // The records of the first three levels, made once.
  for (int i = 0; i < 3; ++i) glPushAttrib(0), glPushClientAttrib(0);
  for (int i = 0; i < 3; ++i) glPopAttrib(), glPopClientAttrib();
  const int live = CountingImports::live();
  Rng rng(7);
  for (int cycle = 0; cycle < 30; ++cycle) {
    const int levels = 1 + int(rng() % 3);
    for (int i = 0; i < levels; ++i) {
      glPushAttrib(kMasks[rng() % std::size(kMasks)]);
      glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    }
    for (int i = 0; i < levels; ++i) glPopAttrib(), glPopClientAttrib();
    ASSERT_EQ(CountingImports::live(), live) << "cycle " << cycle;
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  Close(gc);
}

// Levels reused by pushes with and without the copy-owning groups, left at
// any depth: destruction frees everything (Destroy expects no block left).
TEST_F(AttribMemory, DestructionAfterAnyInterleavingFreesEverything) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    GlContext *gc = Open();
    ASSERT_NE(gc, nullptr);
    Rng rng(seed);
    int depth = 0, clientDepth = 0;
    for (int step = 0; step < 60; ++step) {
      const uint32_t r = rng();
      if (r % 3 != 0 && depth < 16) {
        glPushAttrib(kMasks[(r >> 4) % std::size(kMasks)]);
        ++depth;
      } else if (depth > 0) {
        glPopAttrib();
        --depth;
      }
      if ((r >> 8) % 2 && clientDepth < 16) {
        glPushClientAttrib(GLbitfield((r >> 12) % 4));
        ++clientDepth;
      } else if (clientDepth > 0) {
        glPopClientAttrib();
        --clientDepth;
      }
    }
    EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), depth);
    EXPECT_EQ(Depth(GL_CLIENT_ATTRIB_STACK_DEPTH), clientDepth);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Close(gc);
  }
}

// Every allocation of a push refused in turn, at a new level and at a level
// made before: GL_OUT_OF_MEMORY, and stack, state and blocks as they were.
TEST_F(AttribMemory, APushThatCannotHaveItsMemoryChangesNothing) {
  GlContext *gc = Open();
  ASSERT_NE(gc, nullptr);
  Rng rng(3);
  ChangeServer(gc, rng);
  ChangeClient(gc, rng);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPopAttrib();  // level 0 exists from now on; level 1 does not
  for (int depth : {0, 1}) {
    if (depth) glPushAttrib(0);
    int refused = 0;
    for (int n = 1;; ++n) {
      SCOPED_TRACE(testing::Message() << "depth " << depth << ", allocation " << n);
      const Snapshot before = TakeServer(gc);
      const int live = CountingImports::live();
      CountingImports::failAllocation(n);
      glPushAttrib(GL_ALL_ATTRIB_BITS);
      CountingImports::failAllocation(0);
      const GLenum error = glGetError();
      if (error == GL_NO_ERROR) {
        glPopAttrib();
        break;
      }
      ++refused;
      EXPECT_EQ(error, GLenum(GL_OUT_OF_MEMORY));
      EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), depth);
      EXPECT_EQ(CountingImports::live(), live);
      const Snapshot after = TakeServer(gc);
      ExpectRestored(ServerGroups(), 0, after, before, before, "refused push");
      ASSERT_LT(n, 10);
    }
    // The record (at a new level) and the light, plane and environment copies.
    EXPECT_EQ(refused, depth ? 4 : 3);
    if (depth) glPopAttrib();
  }
  // The client record of a new level.
  const int live = CountingImports::live();
  CountingImports::failAllocation(1);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  CountingImports::failAllocation(0);
  EXPECT_EQ(glGetError(), GLenum(GL_OUT_OF_MEMORY));
  EXPECT_EQ(Depth(GL_CLIENT_ATTRIB_STACK_DEPTH), 0);
  EXPECT_EQ(CountingImports::live(), live);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  EXPECT_EQ(Depth(GL_CLIENT_ATTRIB_STACK_DEPTH), 1);
  glPopClientAttrib();
  Close(gc);
}

}  // namespace
}  // namespace attrib_test

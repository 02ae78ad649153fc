// What the array paths do when memory runs short or sizes overflow: the
// stated error or the stated fallback, and nothing written outside a block.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "geometry/s_varray.h"
#include "geometry/s_varray_pick.h"
#include "tests/geometry/varray/prim_stream.h"
#include "tests/geometry/varray/varray_fixture.h"
#include "tests/support/counting_imports.h"

namespace varray_test {
namespace {

class Failures : public VarrayTest {
 protected:
  std::vector<GLfloat> positions;
  void Scene(int n) {
    positions.resize(size_t(3 * n));
    for (int i = 0; i < n; ++i) {
      positions[size_t(3 * i)] = GLfloat(i % 7) / 10.0f;
      positions[size_t(3 * i + 1)] = GLfloat(i % 5) / 10.0f;
      positions[size_t(3 * i + 2)] = prim_stream::ZOf(i);
    }
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glEnableClientState(GL_VERTEX_ARRAY);
  }
  std::vector<prim_stream::Call> Immediate(GLenum mode, int first, int count) {
    glBegin(mode);
    for (int i = first; i < first + count; ++i) glArrayElement(i);
    glEnd();
    return prim_stream::Take();
  }
  void Ready() {
    ValidatePending();
    prim_stream::Install(gc);
    prim_stream::Take();
  }
};

// A range the buffer cannot hold is not compiled: the draw walks in
// batches through the buffer it has.
TEST_F(Failures, ALockTooLargeForTheBufferDrawsInBatches) {
  Scene(80);
  GlVertexArrayMachine &va = gc->vertexArray;
  struct Case {
    const char *what;
    GLint first;
    GLsizei count;
    int refuse;  // the allocation refused (0: none)
  };
  const Case cases[] = {
      {"count x 144 overflows 32 bits", 0, 20000000, 0},
      {"larger than any block", 0, 0x7FFFFFFF, 0},
      {"growth refused", 0, 80, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlVertex *const buffer = va.buffer;
    const int32_t bytes = va.bufferBytes;
    glLockArraysVLX(c.first, c.count);
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    CountingImports::failAllocation(c.refuse);
    Ready();
    CountingImports::failAllocation(0);
    EXPECT_FALSE(va.flags & __GL_VARRAY_LOCK_COMPILED);
    EXPECT_TRUE(va.flags & __GL_VARRAY_COMPILE_PENDING);
    EXPECT_EQ(va.buffer, buffer);
    EXPECT_EQ(va.bufferBytes, bytes);
    EXPECT_EQ(va.cursor, reinterpret_cast<uintptr_t>(va.buffer));
    const auto want = Immediate(GL_TRIANGLE_STRIP, 0, 80);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 80);
    EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take()));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    glUnlockArraysVLX();
  }
  // A range far from element 0 with few elements is fine: only the cursor
  // lies before the buffer.
  glLockArraysVLX(100000000, 10);
  Ready();
  EXPECT_TRUE(va.flags & __GL_VARRAY_LOCK_COMPILED);
  EXPECT_EQ(__glVarrayBatchVertex(va, 100000000), va.buffer);
  EXPECT_EQ(__glVarrayBatchPosition(va, va.buffer + 9), 100000009);
}

TEST_F(Failures, ElementListsThatCannotBeWidenedDrawNothing) {
  Scene(8);
  Ready();
  const GLushort shorts[] = {0, 1, 2, 3, 4, 5};
  const GLubyte bytes[] = {0, 1, 2, 3, 4, 5};
  CountingImports::failAllocation(1);
  glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, shorts);
  CountingImports::failAllocation(0);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  CountingImports::failAllocation(1);
  glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, bytes);
  CountingImports::failAllocation(0);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  CountingImports::failAllocation(1);
  gc->listCompDispatch.DrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, bytes);
  CountingImports::failAllocation(0);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  EXPECT_TRUE(prim_stream::Take().empty());
  // Counts whose list would not fit in an address: refused before any
  // allocation or read.
  const int before = CountingImports::allocations();
  for (GLsizei count : {GLsizei(1) << 30, (GLsizei(1) << 30) + 3, GLsizei(0x7FFFFFFF)}) {
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_BYTE, bytes);
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY)) << count;
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, shorts);
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY)) << count;
  }
  EXPECT_EQ(CountingImports::allocations(), before);
  EXPECT_TRUE(prim_stream::Take().empty());
  // And the widened list is freed after a draw.
  const int live = CountingImports::live();
  glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, shorts);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(CountingImports::live(), live);
  EXPECT_EQ(prim_stream::Take().size(), 2u);
}

// The buffer comes with the context: without it there is no context.
TEST_F(Failures, TheBatchBufferIsPartOfCreation) {
  auto gc2 = std::make_unique<GlContext>();
  memset(gc2.get(), 0, sizeof(GlContext));
  gc2->imports = CountingImports::imports;
  const int live = CountingImports::live();
  CountingImports::failAllocation(1);
  EXPECT_FALSE(__glEarlyInitVertexArrayState(gc2.get()));
  CountingImports::failAllocation(0);
  EXPECT_EQ(gc2->vertexArray.buffer, nullptr);
  EXPECT_EQ(CountingImports::live(), live);
  ASSERT_TRUE(__glEarlyInitVertexArrayState(gc2.get()));
  EXPECT_EQ(gc2->vertexArray.bufferBytes, 8224);
  __glFreeVertexArrayState(gc2.get());
  EXPECT_EQ(gc2->vertexArray.buffer, nullptr);
  EXPECT_EQ(CountingImports::live(), live);
  // Every allocation of creation refused in turn, this one included: no
  // context, nothing left.
  const int start = CountingImports::allocations();
  GlContext *made = Create(TestModes());
  ASSERT_NE(made, nullptr);
  const int count = CountingImports::allocations() - start;
  made->exports.destroyContext(made);
  for (int n = 1; n <= count; ++n) {
    CountingImports::failAllocation(n);
    GlContext *other = Create(TestModes());
    CountingImports::failAllocation(0);
    if (other) {
      EXPECT_NE(other->vertexArray.buffer, nullptr) << n;
      other->exports.destroyContext(other);
    }
    EXPECT_EQ(CountingImports::live(), live) << n;
  }
}

}  // namespace
}  // namespace varray_test

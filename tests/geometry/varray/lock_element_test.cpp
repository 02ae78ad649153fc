// glLockArraysVLX and glUnlockArraysVLX, glArrayElement's calls, and the
// batch buffer a context starts with.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "geometry/s_varray.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace varray_test {
namespace {

class LockArrays : public VarrayTest {};

TEST_F(LockArrays, LocksOnceAndUnlocksOnce) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  struct Step {
    const char *what;
    GLint first;
    GLsizei count;  // -2: unlock
    GLenum error;
    bool locked;
    int32_t lockFirst, lockCount;
  };
  const Step steps[] = {
      {"unlock unlocked", 0, -2, GL_INVALID_OPERATION, false, 0, 0},
      {"negative first", -1, 4, GL_INVALID_VALUE, false, 0, 0},
      {"negative count", 0, -1, GL_INVALID_VALUE, false, 0, 0},
      {"both negative", -1, -1, GL_INVALID_VALUE, false, 0, 0},
      {"lock", 3, 10, GL_NO_ERROR, true, 3, 10},
      {"lock again", 0, 4, GL_INVALID_OPERATION, true, 3, 10},
      {"bad values while locked", -1, 4, GL_INVALID_VALUE, true, 3, 10},
      {"unlock", 0, -2, GL_NO_ERROR, false, 0, 0},
      {"unlock again", 0, -2, GL_INVALID_OPERATION, false, 0, 0},
      {"empty lock", 7, 0, GL_NO_ERROR, true, 7, 0},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->dirtyMask = 0;
    if (s.count == -2)
      glUnlockArraysVLX();
    else
      glLockArraysVLX(s.first, s.count);
    EXPECT_EQ(TakeError(), s.error);
    EXPECT_EQ(bool(va.flags & __GL_VARRAY_LOCKED), s.locked);
    EXPECT_EQ(va.lockFirst, s.lockFirst);
    EXPECT_EQ(va.lockCount, s.lockCount);
    if (s.error == GL_NO_ERROR) {
      EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
      EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_VERTEX_ARRAY);
    } else {
      EXPECT_EQ(gc->dirtyMask, 0u);
    }
  }
}

class BatchBuffer : public VarrayTest {};

TEST_F(BatchBuffer, ANewContextHoldsThirtyEightVerticesRoundedUp) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  EXPECT_EQ(va.bufferBytes, 8224);
  EXPECT_EQ(BlockSize(va.buffer), 8224u);
  EXPECT_EQ(va.cursor, reinterpret_cast<uintptr_t>(va.buffer));
  EXPECT_EQ(gc->vcache.vertices, va.buffer);
  EXPECT_EQ(va.batchSize, 36);
  EXPECT_EQ(va.growSize, 4096);
  for (int i = 0; i < 8224 / 144; ++i)
    ASSERT_EQ(va.buffer[i].color, &va.buffer[i].colors[0]) << i;
}

TEST_F(BatchBuffer, GrowsInWholeStepsAndPointsTheCursorBeforeIt) {
  GlVertexArrayMachine &va = gc->vertexArray;
  struct Case {
    int32_t first, count, bytes;
  };
  const Case cases[] = {
      {0, 0, 8224},        {0, 38, 8224},       {5, 57, 8224},
      {0, 58, 12288 + 32}, {100, 100, 16384 + 32}, {0, 10, 16384 + 32},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << ", " << c.count);
    va.lockFirst = c.first;  // a cursor before the buffer is always a lock's
    ASSERT_TRUE(AllocateVbuf(gc, c.first, c.count));
    EXPECT_EQ(va.bufferBytes, c.bytes);
    EXPECT_EQ(gc->vcache.vertices, va.buffer);
    EXPECT_EQ(__glVarrayBatchVertex(va, c.first), va.buffer);
    EXPECT_EQ(__glVarrayBatchPosition(va, va.buffer + 1), c.first + 1);
    const int whole = c.bytes / 144;
    EXPECT_EQ(va.buffer[whole - 1].color, &va.buffer[whole - 1].colors[0]);
  }
}

// glArrayElement calls the enabled arrays' entries, vertex last.
std::vector<std::pair<std::string, const void *>> gCalls;
template <int Tag>
void GLENTRY Rec(const void *p) {
  static const char *const kNames[] = {"normal", "color", "texture", "index", "edge", "vertex"};
  gCalls.emplace_back(kNames[Tag], p);
}


class ArrayElement : public VarrayTest {};

TEST_F(ArrayElement, CallsTheEnabledArraysInTheirOrder) {
  GlDispatchState &d = gc->dispatch;
  d.Normal3fv = reinterpret_cast<GlProc_Normal3fv>(Rec<0>);
  d.Color4ubv = reinterpret_cast<GlProc_Color4ubv>(Rec<1>);
  d.TexCoord2sv = reinterpret_cast<GlProc_TexCoord2sv>(Rec<2>);
  d.Indexiv = reinterpret_cast<GlProc_Indexiv>(Rec<3>);
  d.EdgeFlagv = reinterpret_cast<GlProc_EdgeFlagv>(Rec<4>);
  d.Vertex3dv = reinterpret_cast<GlProc_Vertex3dv>(Rec<5>);
  static uint8_t normals[512], colors[512], tex[512], indices[512], edges[512], vertices[512];
  glNormalPointer(GL_FLOAT, 20, normals);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors);
  glTexCoordPointer(2, GL_SHORT, 6, tex);
  glIndexPointer(GL_INT, 0, indices);
  glEdgeFlagPointer(0, edges);
  glVertexPointer(3, GL_DOUBLE, 0, vertices);
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  const std::vector<std::pair<std::string, const void *>> all = {
      {"normal", normals + 60},  {"color", colors + 12}, {"texture", tex + 18},
      {"index", indices + 12},   {"edge", edges + 3},    {"vertex", vertices + 72}};
  struct Case {
    std::vector<GLenum> arrays;
    std::vector<int> expected;  // of `all`
  };
  const Case cases[] = {
      {{}, {}},
      {{GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY}, {0, 1, 5}},
      {{GL_EDGE_FLAG_ARRAY, GL_INDEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY,
        GL_NORMAL_ARRAY, GL_VERTEX_ARRAY},
       {0, 1, 2, 3, 4, 5}},
      {{GL_TEXTURE_COORD_ARRAY}, {2}},
  };
  for (const Case &c : cases) {
    for (GLenum a : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                     GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY})
      glDisableClientState(a);
    for (GLenum a : c.arrays) glEnableClientState(a);
    gCalls.clear();
    glArrayElement(3);
    std::vector<std::pair<std::string, const void *>> want;
    for (int i : c.expected) want.push_back(all[i]);
    EXPECT_EQ(gCalls, want);
    // No Begin check: inside glBegin/glEnd the same calls, no error.
    gCalls.clear();
    gc->beginMode = __GL_IN_BEGIN;
    glArrayElementEXT(3);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(gCalls, want);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
  // The list-compile table's forms are the same calls.
  gCalls.clear();
  gc->listCompDispatch.ArrayElement(3);
  EXPECT_EQ(gCalls, (std::vector<std::pair<std::string, const void *>>{all[2]}));
}

// Arrays that never had a pointer call nothing.
TEST_F(ArrayElement, ArraysWithoutPointersCallNothing) {
  for (GLenum a : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                   GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY})
    glEnableClientState(a);
  const GlState before = gc->state;
  glArrayElement(5);
  EXPECT_EQ(memcmp(&before.current, &gc->state.current, sizeof before.current), 0);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace varray_test

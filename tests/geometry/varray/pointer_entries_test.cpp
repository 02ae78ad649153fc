// The pointer entries: which forms each array takes, in what order the
// checks run, and what an accepted call stores, against tables written here
// from the OpenGL forms rather than read from the driver's.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "geometry/s_varray.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace varray_test {
namespace {

struct TypeFacts {
  GLenum type;
  int bytes;
  uint32_t code;  // in the format word
};
const TypeFacts kTypes[] = {
    {GL_BYTE, 1, 1},  {GL_UNSIGNED_BYTE, 1, 2}, {GL_SHORT, 2, 3}, {GL_UNSIGNED_SHORT, 2, 4},
    {GL_INT, 4, 5},   {GL_UNSIGNED_INT, 4, 6},  {GL_FLOAT, 4, 7}, {GL_DOUBLE, 8, 11},
};

struct ArrayCase {
  const char *name;
  int array;
  int minSize, maxSize;  // 0, 0: no size argument
  int impliedSize;       // components of an array without one
  std::set<GLenum> types;
  int typeShift, sizeShift, sizeBits;
  // Calls the entry (size ignored where there is none).
  std::function<void(GLint, GLenum, GLsizei, const void *)> call;
};

const std::vector<ArrayCase> &Arrays() {
  static const std::vector<ArrayCase> kArrays = {
      {"vertex", __GL_VARRAY_VERTEX, 2, 4, 0, {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE}, 0, 4, 4,
       [](GLint s, GLenum t, GLsizei st, const void *p) { glVertexPointer(s, t, st, p); }},
      {"normal", __GL_VARRAY_NORMAL, 0, 0, 3, {GL_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE},
       8, -1, 0, [](GLint, GLenum t, GLsizei st, const void *p) { glNormalPointer(t, st, p); }},
      {"colour", __GL_VARRAY_COLOR, 3, 4, 0,
       {GL_BYTE, GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT, GL_INT, GL_UNSIGNED_INT,
        GL_FLOAT, GL_DOUBLE},
       12, 16, 4,
       [](GLint s, GLenum t, GLsizei st, const void *p) { glColorPointer(s, t, st, p); }},
      {"index", __GL_VARRAY_INDEX, 0, 0, 1,
       {GL_UNSIGNED_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE}, 28, -1, 0,
       [](GLint, GLenum t, GLsizei st, const void *p) { glIndexPointer(t, st, p); }},
      {"texture", __GL_VARRAY_TEXCOORD, 1, 4, 0, {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE}, 20, 24,
       3, [](GLint s, GLenum t, GLsizei st, const void *p) { glTexCoordPointer(s, t, st, p); }},
  };
  return kArrays;
}

class PointerEntries : public VarrayTest {};

TEST_F(PointerEntries, AcceptTheOpenGLFormsAndStoreThem) {
  const uint8_t data[64] = {};
  for (const ArrayCase &a : Arrays()) {
    const bool sized = a.maxSize != 0;
    for (GLint size = sized ? -1 : 0; size <= (sized ? 5 : 0); ++size) {
      for (GLenum type = GL_BYTE - 1; type <= GL_DOUBLE + 1; ++type) {
        for (GLsizei stride : {0, 7, -1}) {
          SCOPED_TRACE(testing::Message() << a.name << " size " << size << " type 0x"
                                          << std::hex << type << std::dec << " stride "
                                          << stride);
          glVertexPointer(4, GL_FLOAT, 0, nullptr);  // a known state to start from
          const std::vector<uint8_t> before = Record();
          const GlVertexArrayMachine va = gc->vertexArray;
          gc->beginMode = __GL_NOT_IN_BEGIN;
          a.call(size, type, stride, data + 3);
          GLenum want = GL_NO_ERROR;
          if (stride < 0 || (sized && (size < a.minSize || size > a.maxSize)))
            want = GL_INVALID_VALUE;
          else if (!a.types.count(type))
            want = GL_INVALID_ENUM;
          ASSERT_EQ(TakeError(), want);
          if (want != GL_NO_ERROR) {
            EXPECT_TRUE(Record() == before) << "a refused call changed the record";
            continue;
          }
          const TypeFacts *facts = nullptr;
          for (const TypeFacts &f : kTypes)
            if (f.type == type) facts = &f;
          ASSERT_NE(facts, nullptr);
          const int components = sized ? size : a.impliedSize;
          const GlArrayRecord &r = gc->vertexArray.arrays[a.array];
          EXPECT_EQ(r.pointer, data + 3);
          EXPECT_EQ(r.size, sized ? size : va.arrays[a.array].size);
          EXPECT_EQ(r.type, type);
          EXPECT_EQ(r.stride, stride ? stride : components * facts->bytes);
          EXPECT_EQ(r.userStride, stride);
          EXPECT_EQ(r.count, 0);
          EXPECT_NE(r.copyProc, nullptr);
          uint32_t word = va.formatWord & ~(0xFu << a.typeShift);
          word |= facts->code << a.typeShift;
          if (a.sizeShift >= 0) {
            const uint32_t mask = (1u << a.sizeBits) - 1;
            word = (word & ~(mask << a.sizeShift)) | (uint32_t(size) << a.sizeShift);
          }
          EXPECT_EQ(gc->vertexArray.formatWord, word);
          EXPECT_EQ(gc->vertexArray.interleavedFormat, 0u);
          EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
          EXPECT_TRUE(gc->dirtyMask & __GL_DIRTY_VERTEX_ARRAY);
        }
      }
    }
  }
}

TEST_F(PointerEntries, RefuseEverythingBetweenBeginAndEnd) {
  const uint8_t data[16] = {};
  glBegin(GL_POINTS);
  const std::vector<uint8_t> before = Record();
  const std::vector<std::function<void()>> calls = {
      [&] { glVertexPointer(3, GL_FLOAT, 0, data); },
      [&] { glNormalPointer(GL_FLOAT, 0, data); },
      [&] { glColorPointer(3, GL_FLOAT, 0, data); },
      [&] { glIndexPointer(GL_FLOAT, 0, data); },
      [&] { glTexCoordPointer(3, GL_FLOAT, 0, data); },
      [&] { glEdgeFlagPointer(0, data); },
      [&] { glVertexPointerEXT(3, GL_FLOAT, 0, 5, data); },
      [&] { glEdgeFlagPointerEXT(0, 5, data); },
      [&] { glInterleavedArrays(GL_V3F, 0, data); },
      [&] { glLockArraysVLX(0, 4); },
      [&] { glUnlockArraysVLX(); },
      [&] { glDrawArrays(GL_POINTS, 0, 1); },
      [&] { glDrawElements(GL_POINTS, 1, GL_UNSIGNED_INT, data); },
  };
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    calls[i]();
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_TRUE(Record() == before);
  }
  glEnd();
}

TEST_F(PointerEntries, EdgeFlagPointerStoresOneBytePerElementWhenPacked) {
  const GLboolean flags[4] = {};
  glEdgeFlagPointer(0, flags);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  const GlArrayRecord &r = gc->vertexArray.arrays[__GL_VARRAY_EDGEFLAG];
  EXPECT_EQ(r.stride, 1);
  EXPECT_EQ(r.userStride, 0);
  EXPECT_EQ(r.pointer, flags);
  EXPECT_TRUE(gc->vertexArray.formatWord & 0x08000000u);
  glEdgeFlagPointer(5, flags);
  EXPECT_EQ(r.stride, 5);
  glEdgeFlagPointer(-1, flags);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(r.stride, 5);
}

// The EXT forms check their count first, then keep it whatever the 1.1 call
// made of the rest.
TEST_F(PointerEntries, ExtFormsKeepTheirCountEvenWhenTheRestIsRefused) {
  const uint8_t data[16] = {};
  struct Row {
    int array;
    std::function<void(GLsizei count, bool good)> call;
  };
  const Row rows[] = {
      {__GL_VARRAY_VERTEX,
       [&](GLsizei n, bool g) { glVertexPointerEXT(3, g ? GL_FLOAT : GL_BYTE, 0, n, data); }},
      {__GL_VARRAY_NORMAL,
       [&](GLsizei n, bool g) { glNormalPointerEXT(g ? GL_FLOAT : GL_UNSIGNED_BYTE, 0, n, data); }},
      {__GL_VARRAY_COLOR,
       [&](GLsizei n, bool g) { glColorPointerEXT(g ? 4 : 2, GL_FLOAT, 0, n, data); }},
      {__GL_VARRAY_INDEX,
       [&](GLsizei n, bool g) { glIndexPointerEXT(g ? GL_SHORT : GL_BYTE, 0, n, data); }},
      {__GL_VARRAY_TEXCOORD,
       [&](GLsizei n, bool g) { glTexCoordPointerEXT(2, GL_FLOAT, g ? 0 : -4, n, data); }},
      {__GL_VARRAY_EDGEFLAG,
       [&](GLsizei n, bool g) { glEdgeFlagPointerEXT(g ? 0 : -1, n, data); }},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.array);
    const GlArrayRecord &r = gc->vertexArray.arrays[row.array];
    row.call(9, true);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(r.count, 9);
    EXPECT_EQ(r.pointer, data);
    row.call(11, false);
    EXPECT_NE(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(r.count, 11);
    const std::vector<uint8_t> before = Record();
    row.call(-1, true);  // the count is checked before anything else
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
    EXPECT_TRUE(Record() == before);
  }
}

}  // namespace
}  // namespace varray_test

// glInterleavedArrays: every format's enables, pointers, sizes, types and
// strides, and the API calls it makes, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/s_varray.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace varray_test {
namespace {

// One format as OpenGL describes it: sizes (0: absent), the colour type and
// the byte offsets; -1 for an absent array.
struct Row {
  GLenum format;
  int texSize, colorSize;
  GLenum colorType;
  int colorOffset, indexOffset, normalOffset;
  int vertexSize, vertexOffset, stride;
};

const Row kRows[] = {
    {GL_V2F, 0, 0, 0, -1, -1, -1, 2, 0, 8},
    {GL_V3F, 0, 0, 0, -1, -1, -1, 3, 0, 12},
    {GL_C4UB_V2F, 0, 4, GL_UNSIGNED_BYTE, 0, -1, -1, 2, 4, 12},
    {GL_C4UB_V3F, 0, 4, GL_UNSIGNED_BYTE, 0, -1, -1, 3, 4, 16},
    {GL_C3F_V3F, 0, 3, GL_FLOAT, 0, -1, -1, 3, 12, 24},
    {GL_N3F_V3F, 0, 0, 0, -1, -1, 0, 3, 12, 24},
    {GL_C4F_N3F_V3F, 0, 4, GL_FLOAT, 0, -1, 16, 3, 28, 40},
    {GL_T2F_V3F, 2, 0, 0, -1, -1, -1, 3, 8, 20},
    {GL_T4F_V4F, 4, 0, 0, -1, -1, -1, 4, 16, 32},
    {GL_T2F_C4UB_V3F, 2, 4, GL_UNSIGNED_BYTE, 8, -1, -1, 3, 12, 24},
    {GL_T2F_C3F_V3F, 2, 3, GL_FLOAT, 8, -1, -1, 3, 20, 32},
    {GL_T2F_N3F_V3F, 2, 0, 0, -1, -1, 8, 3, 20, 32},
    {GL_T2F_C4F_N3F_V3F, 2, 4, GL_FLOAT, 8, -1, 24, 3, 36, 48},
    {GL_T4F_C4F_N3F_V4F, 4, 4, GL_FLOAT, 16, -1, 32, 4, 44, 60},
    {GL_IUI_V2F_VLX, 0, 0, 0, -1, 0, -1, 2, 4, 12},
    {GL_IUI_V3F_VLX, 0, 0, 0, -1, 0, -1, 3, 4, 16},
    {GL_IUI_N3F_V2F_VLX, 0, 0, 0, -1, 0, 4, 2, 16, 24},
    {GL_IUI_N3F_V3F_VLX, 0, 0, 0, -1, 0, 4, 3, 16, 28},
    {GL_T2F_IUI_V2F_VLX, 2, 0, 0, -1, 8, -1, 2, 12, 20},
    {GL_T2F_IUI_V3F_VLX, 2, 0, 0, -1, 8, -1, 3, 12, 24},
    {GL_T2F_IUI_N3F_V2F_VLX, 2, 0, 0, -1, 8, 12, 2, 24, 32},
    {GL_T2F_IUI_N3F_V3F_VLX, 2, 0, 0, -1, 8, 12, 3, 24, 36},
};

class Interleaved : public VarrayTest {
 protected:
  void ExpectArray(int array, bool on, uint32_t bit, const uint8_t *pointer, int size,
                   GLenum type, int stride) {
    const GlVertexArrayMachine &va = gc->vertexArray;
    EXPECT_EQ(bool(va.enables & bit), on) << "array " << array;
    if (!on) return;
    const GlArrayRecord &r = va.arrays[array];
    EXPECT_EQ(r.pointer, pointer) << "array " << array;
    if (size) {
      EXPECT_EQ(r.size, size) << "array " << array;
    }
    EXPECT_EQ(r.type, type) << "array " << array;
    EXPECT_EQ(r.stride, stride) << "array " << array;
  }
};

TEST_F(Interleaved, EveryFormatSetsItsArrays) {
  static uint8_t block[256];
  for (const Row &row : kRows) {
    for (GLsizei given : {0, 100}) {
      SCOPED_TRACE(testing::Message() << "format 0x" << std::hex << row.format << std::dec
                                      << " stride " << given);
      // Every array on first, so that the format must turn the others off.
      for (GLenum a : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                       GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY})
        glEnableClientState(a);
      glInterleavedArrays(row.format, given, block + 4);
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      const int stride = given ? given : row.stride;
      const uint8_t *p = block + 4;
      ExpectArray(__GL_VARRAY_TEXCOORD, row.texSize != 0, __GL_VARRAY_TEXCOORD_ENABLE, p,
                  row.texSize, GL_FLOAT, stride);
      ExpectArray(__GL_VARRAY_COLOR, row.colorSize != 0, __GL_VARRAY_COLOR_ENABLE,
                  p + row.colorOffset, row.colorSize, row.colorType, stride);
      ExpectArray(__GL_VARRAY_INDEX, row.indexOffset >= 0, __GL_VARRAY_INDEX_ENABLE,
                  p + row.indexOffset, 0, GL_INT, stride);
      ExpectArray(__GL_VARRAY_NORMAL, row.normalOffset >= 0, __GL_VARRAY_NORMAL_ENABLE,
                  p + row.normalOffset, 0, GL_FLOAT, stride);
      ExpectArray(__GL_VARRAY_VERTEX, true, __GL_VARRAY_VERTEX_ENABLE, p + row.vertexOffset,
                  row.vertexSize, GL_FLOAT, stride);
      EXPECT_FALSE(gc->vertexArray.enables & __GL_VARRAY_EDGEFLAG_ENABLE);
      EXPECT_EQ(gc->vertexArray.interleavedFormat, row.format);
      EXPECT_EQ(gc->vertexArray.interleavedPointer, p);
      EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    }
  }
  glVertexPointer(3, GL_FLOAT, 0, block);
  EXPECT_EQ(gc->vertexArray.interleavedFormat, 0u);
}

TEST_F(Interleaved, RefusesBadStridesBeforeUnknownFormats) {
  static uint8_t block[64];
  const std::vector<uint8_t> before = Record();
  glInterleavedArrays(0x1234, -1, block);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  for (GLenum format : {0x2A1Fu, 0x2A2Eu, 0x81ACu, 0x81B5u}) {
    glInterleavedArrays(format, 0, block);
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM)) << format;
  }
  EXPECT_TRUE(Record() == before);
}

// The calls go through the dispatch in force, in a fixed order.
std::vector<std::string> gCalls;
void GLENTRY RecEnable(GLenum a) { gCalls.push_back("enable " + std::to_string(a - 0x8074)); }
void GLENTRY RecDisable(GLenum a) { gCalls.push_back("disable " + std::to_string(a - 0x8074)); }
void GLENTRY RecTex(GLint, GLenum, GLsizei, const GLvoid *) { gCalls.push_back("tex"); }
void GLENTRY RecColor(GLint, GLenum, GLsizei, const GLvoid *) { gCalls.push_back("color"); }
void GLENTRY RecIndex(GLenum, GLsizei, const GLvoid *) { gCalls.push_back("index"); }
void GLENTRY RecNormal(GLenum, GLsizei, const GLvoid *) { gCalls.push_back("normal"); }
void GLENTRY RecVertex(GLint, GLenum, GLsizei, const GLvoid *) { gCalls.push_back("vertex"); }

TEST_F(Interleaved, CallsTheEntriesInTheirOrder) {
  GlDispatchState &d = gc->dispatch;
  d.EnableClientState = RecEnable;
  d.DisableClientState = RecDisable;
  d.TexCoordPointer = RecTex;
  d.ColorPointer = RecColor;
  d.IndexPointer = RecIndex;
  d.NormalPointer = RecNormal;
  d.VertexPointer = RecVertex;
  static uint8_t block[64];
  struct Case {
    GLenum format;
    std::vector<std::string> calls;  // array numbers from GL_VERTEX_ARRAY
  };
  const Case cases[] = {
      {GL_T2F_C4F_N3F_V3F,
       {"disable 5", "enable 4", "tex", "color", "enable 2", "disable 3", "enable 1", "normal",
        "enable 0", "vertex"}},
      {GL_T2F_IUI_N3F_V2F_VLX,
       {"disable 5", "enable 4", "tex", "disable 2", "index", "enable 3", "enable 1", "normal",
        "enable 0", "vertex"}},
      {GL_V2F,
       {"disable 5", "disable 4", "disable 2", "disable 3", "disable 1", "enable 0", "vertex"}},
  };
  for (const Case &c : cases) {
    gCalls.clear();
    glInterleavedArrays(c.format, 0, block);
    EXPECT_EQ(gCalls, c.calls) << c.format;
    EXPECT_EQ(gc->vertexArray.interleavedFormat, c.format);
  }
}

}  // namespace
}  // namespace varray_test

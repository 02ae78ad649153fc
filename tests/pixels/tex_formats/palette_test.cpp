// Colour-index texels: the index itself in a colour-index context, else an
// entry of the object's colour table read in the table's base format. The
// table lies against a page the process may not read, so an index past its
// end fails the test.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <vector>

#include "pixels/px_texformat.h"
#include "tests/pixels/tex_formats/texel_fixture.h"

namespace tex_palette_test {
namespace {

using Bytes = std::vector<uint8_t>;

// `size` bytes that end where an unreadable page begins.
class GuardedTable {
 public:
  explicit GuardedTable(size_t size) : page_(size_t(sysconf(_SC_PAGESIZE))) {
    map_ = static_cast<uint8_t *>(
        mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(map_ + page_, page_, PROT_NONE);
    data_ = map_ + page_ - size;
    for (size_t i = 0; i < size; ++i) data_[i] = uint8_t(i + 1);
  }
  ~GuardedTable() { munmap(map_, 2 * page_); }
  uint8_t *data() { return data_; }

 private:
  size_t page_;
  uint8_t *map_;
  uint8_t *data_;
};

TEST(TexelPalette, ColourIndexContextsReadTheIndex) {
  TexelLevel l(2, 1, 0, 2);
  l.tex()->baseFormat = GL_COLOR_INDEX;
  l.texel(1)[0] = 0x34;
  l.texel(1)[1] = 0x12;
  EXPECT_EQ(l.Read(__glExtractTexelCI16, 0, 1), (Bytes{0x34, 0xAA, 0xAA, 0xAA}));
  TexelLevel l8(2, 1, 0, 1);
  l8.tex()->baseFormat = GL_COLOR_INDEX;
  l8.texel(0)[0] = 0xF3;
  EXPECT_EQ(l8.Read(__glExtractTexelCI8, 0, 0), (Bytes{0xF3, 0xAA, 0xAA, 0xAA}));
}

struct TableCase {
  GLenum base;
  int components;
  // The record for entry e (its bytes are e * components + 1 ...).
  Bytes (*expected)(int e);
};

uint8_t At(int e, int components, int c) { return uint8_t(e * components + c + 1); }

const TableCase kTables[] = {
    {GL_INTENSITY, 1, [](int e) { return Bytes(4, At(e, 1, 0)); }},
    {GL_ALPHA, 1, [](int e) { return Bytes{0xAA, 0xAA, 0xAA, At(e, 1, 0)}; }},
    {GL_LUMINANCE, 1, [](int e) { return Bytes{At(e, 1, 0), At(e, 1, 0), At(e, 1, 0), 0xAA}; }},
    {GL_LUMINANCE_ALPHA, 2,
     [](int e) { return Bytes{At(e, 2, 0), At(e, 2, 0), At(e, 2, 0), At(e, 2, 1)}; }},
    {GL_RGB, 3, [](int e) { return Bytes{At(e, 3, 0), At(e, 3, 1), At(e, 3, 2), 0xAA}; }},
    {GL_RGBA, 4,
     [](int e) { return Bytes{At(e, 4, 0), At(e, 4, 1), At(e, 4, 2), At(e, 4, 3)}; }},
};

// Indices wrap at the table's width: CI8 reaches 255 and CI16 65535 while
// the table may be as small as one entry.
TEST(TexelPalette, IndicesWrapAtTheTableWidth) {
  const uint32_t indices[] = {0, 1, 3, 4, 7, 15, 16, 255, 256, 0x1234, 0xFFFF};
  for (const TableCase &t : kTables) {
    for (int32_t width : {1, 4, 16, 256}) {
      SCOPED_TRACE(testing::Message() << "base 0x" << std::hex << t.base << std::dec
                                      << ", width " << width);
      GuardedTable table(size_t(width) * t.components);
      TexelLevel l(1, 1, 0, 2);
      GlColorTable &ct = l.tex()->colorTable;
      ct.table = table.data();
      ct.width = width;
      ct.baseFormat = t.base;
      l.tex()->baseFormat = t.base;
      for (uint32_t i : indices) {
        l.texel(0)[0] = uint8_t(i);
        l.texel(0)[1] = uint8_t(i >> 8);
        int e = int(i & uint32_t(width - 1));
        EXPECT_EQ(l.Read(__glExtractTexelCI16, 0, 0), t.expected(e)) << "index " << i;
        e = int(i & 0xFF & uint32_t(width - 1));
        EXPECT_EQ(l.Read(__glExtractTexelCI8, 0, 0), t.expected(e)) << "index " << i;
      }
      // The border's index goes through the table too.
      l.tex()->borderColor[0] = 1.0f;
      EXPECT_EQ(l.Read(__glExtractTexelCI8, 0, 5), t.expected(255 & (width - 1)));
    }
  }
}

TEST(TexelPalette, EmptyTablesAreNeverRead) {
  TexelLevel l(1, 1, 0, 1);
  l.tex()->baseFormat = GL_RGBA;
  l.tex()->colorTable.baseFormat = GL_RGBA;
  l.texel(0)[0] = 9;
  EXPECT_EQ(l.Read(__glExtractTexelCI8, 0, 0), Bytes(4, 0xAA));
  uint8_t entry[4] = {1, 2, 3, 4};
  l.tex()->colorTable.table = entry;  // a buffer, but no entries
  EXPECT_EQ(l.Read(__glExtractTexelCI8, 0, 0), Bytes(4, 0xAA));
}

TEST(TexelPaletteDeath, UnknownTableFormatsEndTheProcess) {
  TexelLevel l(1, 1, 0, 1);
  uint8_t entry[4] = {};
  l.tex()->baseFormat = GL_RGBA;
  l.tex()->colorTable = GlColorTable{};
  l.tex()->colorTable.table = entry;
  l.tex()->colorTable.width = 1;
  l.tex()->colorTable.baseFormat = GL_COLOR_INDEX;
  EXPECT_DEATH(l.Read(__glExtractTexelCI8, 0, 0), "s_texel");
}

}  // namespace
}  // namespace tex_palette_test

// Allocation failures on the colour-table paths: every allocation of each
// command is refused in turn. A refused command records GL_OUT_OF_MEMORY,
// keeps the table it found (description and entries) and leaves no block
// behind; the context's destruction then frees everything (the fixture
// checks), the tables of deleted named objects included.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/s_error.h"
#include "tests/pixels/color_tables/table_fixture.h"
#include "tests/pixels/color_tables/table_model.h"
#include "tests/support/counting_imports.h"

namespace table_test {
namespace {

struct Snapshot {
  GLint format, width;
  std::vector<uint8_t> entries;
  bool operator==(const Snapshot &o) const {
    return format == o.format && width == o.width && entries == o.entries;
  }
};

class TableAlloc : public TableTest {
 protected:
  Snapshot Take() {
    return {Parameter(GL_COLOR_TABLE_FORMAT_EXT), Parameter(GL_COLOR_TABLE_WIDTH_EXT),
            Entries()};
  }
  // Runs `call` with its n-th allocation refused for n = 1, 2, ... until
  // it needs fewer; returns how many it needed.
  int RefuseEachAllocation(const std::function<void()> &call) {
    for (int n = 1;; n++) {
      SCOPED_TRACE(testing::Message() << "allocation " << n << " refused");
      glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, kEntries);
      Validate();
      const Snapshot before = Take();
      const int live = CountingImports::live(), count = CountingImports::allocations();
      CountingImports::failAllocation(n);
      call();
      CountingImports::failAllocation(0);
      const int used = CountingImports::allocations() - count;
      const GLenum error = glGetError();
      if (used < n) {
        EXPECT_EQ(error, GLenum(GL_NO_ERROR));
        return used;
      }
      EXPECT_EQ(error, GLenum(GL_OUT_OF_MEMORY));
      EXPECT_TRUE(Take() == before);
      EXPECT_EQ(CountingImports::live(), live);
    }
  }
  static constexpr GLubyte kEntries[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
};

TEST_F(TableAlloc, RefusedDefinitionsKeepTheTable) {
  const std::vector<uint8_t> wide = ClientData(GL_RGB, GL_UNSIGNED_BYTE, 8192, 5);
  // A table grown: its storage.
  EXPECT_EQ(RefuseEachAllocation([] {
              glColorTableEXT(GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 16, GL_RGBA, GL_UNSIGNED_BYTE,
                              nullptr);
            }),
            1);
  // Wider than the span buffers: their storage, then the table's.
  EXPECT_EQ(RefuseEachAllocation([&] {
              glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 8192, GL_RGB, GL_UNSIGNED_BYTE,
                              wide.data());
            }),
            2);
  // From the frame buffer, as wide.
  EXPECT_EQ(RefuseEachAllocation([] { glCopyColorTableEXT(GL_TEXTURE_2D, GL_ALPHA, 0, 0, 4096); }),
            2);
}

TEST_F(TableAlloc, RefusedRunsAndReadsChangeNothing) {
  const std::vector<uint8_t> run = ClientData(GL_ALPHA, GL_UNSIGNED_BYTE, 4096, 3);
  std::vector<uint8_t> out(8192);
  // A wide table on the other target, for the run and the read-back.
  glColorTableEXT(GL_TEXTURE_1D, GL_ALPHA, 8192, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
  const std::vector<uint8_t> before = Entries(GL_TEXTURE_1D);
  EXPECT_EQ(RefuseEachAllocation([&] {
              glColorSubTableEXT(GL_TEXTURE_1D, 4096, 4096, GL_ALPHA, GL_UNSIGNED_BYTE,
                                 run.data());
              if (glGetError() == GL_OUT_OF_MEMORY) {
                EXPECT_EQ(Entries(GL_TEXTURE_1D), before);
                __glSetError(GL_OUT_OF_MEMORY);  // for the caller's check
              }
            }),
            1);
  EXPECT_EQ(RefuseEachAllocation([&] {
              std::fill(out.begin(), out.end(), 0xEE);
              glGetColorTableEXT(GL_TEXTURE_1D, GL_ALPHA, GL_UNSIGNED_BYTE, out.data());
              if (glGetError() == GL_OUT_OF_MEMORY) {
                EXPECT_EQ(out, std::vector<uint8_t>(8192, 0xEE));
                __glSetError(GL_OUT_OF_MEMORY);
              }
            }),
            1);
}

// A named object's table goes with the object: binding and deleting a name
// leaves as many blocks behind with a table as without one.
TEST_F(TableAlloc, DeletedObjectsFreeTheirTables) {
  auto leftBehind = [&](GLuint name, bool table) {
    const int before = CountingImports::live();
    glBindTexture(GL_TEXTURE_1D, name);
    if (table) {
      const int withObject = CountingImports::live();
      glColorTableEXT(GL_TEXTURE_1D, GL_RGB, 64, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
      EXPECT_EQ(CountingImports::live(), withObject + 1);
    }
    glDeleteTextures(1, &name);
    return CountingImports::live() - before;
  };
  const int plain = leftBehind(100, false);
  EXPECT_EQ(leftBehind(200, true), plain);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace table_test

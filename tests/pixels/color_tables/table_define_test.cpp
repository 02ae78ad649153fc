// Tables defined from client memory and read back: what each base format
// stores from each client format and type, what a read-back gives in each,
// the pack and unpack modes, runs of entries replaced at both ends, tables
// wider than the span buffers, pixel transfer left out, null images, and
// storage kept when a table shrinks.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/pixels/color_tables/table_fixture.h"
#include "tests/pixels/color_tables/table_model.h"
#include "tests/support/fenced_bytes.h"

namespace table_test {
namespace {

const GLenum kBases[] = {GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA,
                         GL_INTENSITY, GL_RGB, GL_RGBA};
const GLenum kFormats[] = {GL_RED,       GL_GREEN,           GL_BLUE,   GL_ALPHA,
                           GL_RGB,       GL_RGBA,            GL_BGR_EXT, GL_BGRA_EXT,
                           GL_ABGR_EXT,  GL_LUMINANCE,       GL_LUMINANCE_ALPHA};
const GLenum kTypes[] = {GL_BYTE,         GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT,
                         GL_INT,          GL_UNSIGNED_INT,  GL_FLOAT};

// Entries equal within `slack` (rounding of types wider than a byte).
std::string Differ(const std::vector<uint8_t> &got, const std::vector<uint8_t> &want,
                   int slack) {
  if (got.size() != want.size())
    return "size " + std::to_string(got.size()) + " != " + std::to_string(want.size());
  for (size_t k = 0; k < got.size(); k++)
    if (abs(int(got[k]) - int(want[k])) > slack)
      return "byte " + std::to_string(k) + ": " + std::to_string(got[k]) +
             " != " + std::to_string(want[k]);
  return "";
}

TEST_F(TableTest, EachBaseFormatStoresEachClientFormatAndType) {
  constexpr int kCount = 8;
  for (GLenum base : kBases)
    for (GLenum format : kFormats)
      for (GLenum type : kTypes) {
        SCOPED_TRACE(testing::Message() << std::hex << "base 0x" << base << " format 0x"
                                        << format << " type 0x" << type);
        const std::vector<uint8_t> data = ClientData(format, type, kCount, base + format + type);
        glColorTableEXT(GL_TEXTURE_1D, base, kCount, format, type, data.data());
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        EXPECT_EQ(Differ(Entries(GL_TEXTURE_1D),
                         StoredEntries(base, format, type, data.data(), kCount),
                         type == GL_UNSIGNED_BYTE ? 0 : 1),
                  "");
      }
}

// Signed and float data are clamped to [0, 1] before they are stored.
TEST_F(TableTest, OutOfRangeDataIsClamped) {
  const GLfloat floats[] = {-0.5f, 1.7f, 0.25f, 2.0f, 1e30f, -1e30f, 0.0f, 1.0f};
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 2, GL_RGBA, GL_FLOAT, floats);
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{0, 255, 64, 255, 255, 0, 0, 255}));
  const GLbyte bytes[] = {-128, 127, -1, 0};
  glColorTableEXT(GL_TEXTURE_2D, GL_LUMINANCE, 4, GL_LUMINANCE, GL_BYTE, bytes);
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{0, 255, 0, 1}));
}

TEST_F(TableTest, ReadBackGivesEachClientFormatAndType) {
  constexpr int kCount = 8;
  for (GLenum base : kBases) {
    const std::vector<uint8_t> source = ClientData(GL_RGBA, GL_UNSIGNED_BYTE, kCount, base);
    glColorTableEXT(GL_TEXTURE_2D, base, kCount, GL_RGBA, GL_UNSIGNED_BYTE, source.data());
    const std::vector<uint8_t> entries = Entries();
    for (GLenum format : kFormats)
      for (GLenum type : kTypes) {
        SCOPED_TRACE(testing::Message() << std::hex << "base 0x" << base << " format 0x"
                                        << format << " type 0x" << type);
        const size_t size = size_t(ElementBytes(type));
        const size_t bytes = kCount * size_t(GroupComponents(format)) * size;
        std::vector<uint8_t> out(bytes + 16, 0xEE);
        glGetColorTableEXT(GL_TEXTURE_2D, format, type, out.data());
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        for (int i = 0; i < kCount; i++) {
          const std::vector<double> want = ReadBackComponents(base, entries, i, format);
          for (size_t k = 0; k < want.size(); k++) {
            const double got = ElementValue(type, &out[(i * want.size() + k) * size]);
            EXPECT_NEAR(got, want[k], Tolerance(type)) << "entry " << i << " component " << k;
          }
        }
        EXPECT_EQ(std::vector<uint8_t>(out.begin() + long(bytes), out.end()),
                  std::vector<uint8_t>(16, 0xEE));
      }
  }
}

// A read-back lands where the pack modes put it; a definition reads its
// entries where the unpack modes say.
TEST_F(TableTest, PackAndUnpackModesPlaceTheEntries) {
  // Unpack: two rows of 13 shorts skipped, then 3 pixels, bytes swapped.
  const GLushort values[4] = {0x1234, 0xFFFF, 0x0000, 0x8080};
  std::vector<uint8_t> client(2 * 13 * 2 + 3 * 2 + sizeof values + 8, 0x77);
  for (int i = 0; i < 4; i++) {
    uint8_t *p = &client[2 * 13 * 2 + 3 * 2 + size_t(i) * 2];
    p[0] = uint8_t(values[i] >> 8), p[1] = uint8_t(values[i]);  // swapped
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 13);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 3);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  glColorTableEXT(GL_TEXTURE_2D, GL_ALPHA, 4, GL_ALPHA, GL_UNSIGNED_SHORT, client.data());
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{0x12, 0xFF, 0x00, 0x80}));

  // Pack: rows of 8 bytes at alignment 8, row length 5, one row and 2
  // pixels skipped, bytes swapped.
  glPixelStorei(GL_PACK_ROW_LENGTH, 5);
  glPixelStorei(GL_PACK_SKIP_ROWS, 1);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 2);
  glPixelStorei(GL_PACK_SWAP_BYTES, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 8);
  std::vector<uint8_t> out(48, 0xEE);
  glGetColorTableEXT(GL_TEXTURE_2D, GL_ALPHA, GL_UNSIGNED_SHORT, out.data());
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  std::vector<uint8_t> want(48, 0xEE);
  const uint8_t entries[4] = {0x12, 0xFF, 0x00, 0x80};
  for (int i = 0; i < 4; i++) {
    const uint16_t v = uint16_t(entries[i] * 257);
    want[16 + 4 + size_t(i) * 2] = uint8_t(v >> 8);
    want[16 + 4 + size_t(i) * 2 + 1] = uint8_t(v);
  }
  EXPECT_EQ(out, want);
}

// The list forms hand the procedures dense entries with the packed flag:
// the unpack modes in force then play no part.
TEST_F(TableTest, PackedEntriesIgnoreTheUnpackModes) {
  const GLubyte dense[6] = {10, 20, 30, 40, 50, 60};
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 2);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, 1);
  gc->procs.colorTableEXT(gc, GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 2, GL_LUMINANCE_ALPHA,
                          GL_UNSIGNED_BYTE, dense, 1);
  EXPECT_EQ(Entries(), std::vector<uint8_t>(dense, dense + 4));
  gc->procs.colorSubTableEXT(gc, GL_TEXTURE_2D, 1, 1, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                             dense + 4, 1);
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{10, 20, 50, 60}));
  // Unpacked, the same call skips two groups.
  glColorTableEXT(GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 1, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                  dense);
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{50, 60}));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TableTest, SubTablesReplaceExactlyTheirRun) {
  std::vector<uint8_t> base(16 * 4);
  for (size_t k = 0; k < base.size(); k++) base[k] = uint8_t(k);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  struct Case {
    GLsizei start, count;
  } cases[] = {{0, 1}, {0, 16}, {12, 4}, {5, 3}, {15, 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.count);
    glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
    // Given as BGR: the run's alpha becomes 255, the rest keeps its bytes.
    std::vector<uint8_t> run(size_t(c.count) * 3);
    for (size_t k = 0; k < run.size(); k++) run[k] = uint8_t(200 + k);
    glColorSubTableEXT(GL_TEXTURE_2D, c.start, c.count, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                       run.data());
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<uint8_t> want = base;
    for (int i = 0; i < c.count; i++) {
      uint8_t *e = &want[size_t(c.start + i) * 4];
      e[0] = run[size_t(i) * 3 + 2], e[1] = run[size_t(i) * 3 + 1], e[2] = run[size_t(i) * 3];
      e[3] = 255;
    }
    EXPECT_EQ(Entries(), want);
  }
  // Refused runs change nothing.
  const std::vector<uint8_t> before = Entries();
  const GLubyte run[8 * 4] = {};
  glColorSubTableEXT(GL_TEXTURE_2D, 13, 4, GL_RGBA, GL_UNSIGNED_BYTE, run);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
  glColorSubTableEXT(GL_TEXTURE_2D, 0x7FFFFFF0, 0x20, GL_RGBA, GL_UNSIGNED_BYTE, run);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(Entries(), before);
}

// Rows wider than the 2048-pixel span buffers go through storage of their
// own; the client data ends at an unreadable page.
TEST_F(TableTest, TablesWiderThanTheSpanBuffers) {
  struct Case {
    GLenum base;
    GLsizei width;
    GLenum format;
  } cases[] = {
      {GL_RGBA, 8192, GL_RGB}, {GL_ALPHA, 32768, GL_RGBA}, {GL_LUMINANCE, 4096, GL_BGRA_EXT}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.base << " " << std::dec << c.width);
    const std::vector<uint8_t> data = ClientData(c.format, GL_UNSIGNED_BYTE, c.width, c.width);
    FencedBytes fenced(data.size());
    const uint8_t *client = fenced.Place(data);
    glColorTableEXT(GL_TEXTURE_2D, c.base, c.width, c.format, GL_UNSIGNED_BYTE, client);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const std::vector<uint8_t> want =
        StoredEntries(c.base, c.format, GL_UNSIGNED_BYTE, data.data(), c.width);
    EXPECT_EQ(Differ(Entries(), want, 0), "");
    // Read back whole, as the base format keeps it.
    std::vector<uint8_t> out(want.size() + 4, 0xEE);
    glGetColorTableEXT(GL_TEXTURE_2D, c.base, GL_UNSIGNED_BYTE, out.data());
    EXPECT_EQ(Differ(std::vector<uint8_t>(out.begin(), out.end() - 4), want, 0), "");
    EXPECT_EQ(out.back(), 0xEE);
    // And a run at the far end, wide as well.
    const GLsizei count = c.width / 2;
    const std::vector<uint8_t> run = ClientData(c.format, GL_UNSIGNED_BYTE, count, 99);
    const uint8_t *fencedRun = fenced.Place(run);
    glColorSubTableEXT(GL_TEXTURE_2D, c.width - count, count, c.format, GL_UNSIGNED_BYTE,
                       fencedRun);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<uint8_t> after = want;
    const std::vector<uint8_t> tail =
        StoredEntries(c.base, c.format, GL_UNSIGNED_BYTE, run.data(), count);
    std::copy(tail.begin(), tail.end(), after.end() - long(tail.size()));
    EXPECT_EQ(Differ(Entries(), after, 0), "");
  }
}

// Tables are colours, not frame-buffer values: neither the pixel transfer
// nor the colour buffer's scales (31, 63, 31 on 5-6-5) touch them, whether
// the data has an alpha or not.
TEST_F(TableTest, PixelTransferAndColourScalesLeaveTablesAlone) {
  Open(true, false, 16);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelTransferf(GL_RED_SCALE, 0.5f);
  glPixelTransferf(GL_GREEN_BIAS, 0.25f);
  const GLubyte rgb[] = {255, 128, 7, 0, 255, 64, 90, 91, 92};
  const GLubyte rgba[] = {255, 128, 7, 255, 0, 255, 64, 255, 90, 91, 92, 255};
  const std::vector<uint8_t> want(rgba, rgba + 12);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glColorSubTableEXT(GL_TEXTURE_2D, 0, 3, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  glColorTableEXT(GL_TEXTURE_1D, GL_RGBA, 4, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glColorSubTableEXT(GL_TEXTURE_1D, 0, 3, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  const std::vector<uint8_t> fromRgb = Entries(), fromRgba = Entries(GL_TEXTURE_1D);
  EXPECT_EQ(std::vector<uint8_t>(fromRgb.begin(), fromRgb.begin() + 12), want);
  EXPECT_EQ(std::vector<uint8_t>(fromRgba.begin(), fromRgba.begin() + 12), want);
  // Floats outside [0, 1] are clamped the same way with and without alpha.
  const GLfloat frgb[] = {1.5f, -0.25f, 0.5f, 0.0f, 2.0f, 1.0f};
  const GLfloat frgba[] = {1.5f, -0.25f, 0.5f, 1.0f, 0.0f, 2.0f, 1.0f, 1.0f};
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 2, GL_RGB, GL_FLOAT, frgb);
  glColorTableEXT(GL_TEXTURE_1D, GL_RGBA, 2, GL_RGBA, GL_FLOAT, frgba);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Entries(), (std::vector<uint8_t>{255, 0, 128, 255, 0, 255, 255, 255}));
  EXPECT_EQ(Entries(GL_TEXTURE_1D), Entries());
  // A read-back is not scaled either.
  GLubyte out[8] = {};
  glGetColorTableEXT(GL_TEXTURE_2D, GL_RGBA, GL_UNSIGNED_BYTE, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 8), Entries());
}

TEST_F(TableTest, NullImagesStoreNothing) {
  // New storage starts as zeros.
  glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 4, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_WIDTH_EXT), 4);
  EXPECT_EQ(Entries(), std::vector<uint8_t>(12, 0));
  const GLubyte data[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 4, GL_RGB, GL_UNSIGNED_BYTE, data);
  glColorSubTableEXT(GL_TEXTURE_2D, 1, 2, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glGetColorTableEXT(GL_TEXTURE_2D, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Entries(), std::vector<uint8_t>(data, data + 12));
  // Grown with a null image: the old entries stay, the new ones are zeros.
  glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 8, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  std::vector<uint8_t> want(data, data + 12);
  want.resize(24, 0);
  EXPECT_EQ(Entries(), want);
  // A table of no entries is read back as nothing.
  glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 0, GL_RGB, GL_UNSIGNED_BYTE, data);
  GLubyte out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  glGetColorTableEXT(GL_TEXTURE_2D, GL_RGB, GL_UNSIGNED_BYTE, out);
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TableTest, FewerEntriesKeepTheStorage) {
  std::vector<uint8_t> data(16 * 4, 9);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
  const GLubyte *storage = Table().table;
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 8, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
  EXPECT_EQ(Table().table, storage);
  glColorTableEXT(GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 16, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
  EXPECT_EQ(Table().table, storage);
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_WIDTH_EXT), 16);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Each definition leaves validation pending with the pixel and generic
// bits, the list form (the procedure called directly) too: the texture
// pickers read the table's format.
TEST_F(TableTest, DefinitionsAskForValidation) {
  const GLubyte data[8] = {};
  GlContext *const context = gc;
  const std::function<void()> calls[] = {
      [&] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 2, GL_RGBA, GL_UNSIGNED_BYTE, data); },
      [&] { glColorSubTableEXT(GL_TEXTURE_2D, 0, 2, GL_RGBA, GL_UNSIGNED_BYTE, data); },
      [&] { glCopyColorTableEXT(GL_TEXTURE_2D, GL_ALPHA, 0, 0, 2); },
      [&] {
        context->procs.colorTableEXT(context, GL_TEXTURE_1D, GL_RGB, 2, GL_RGB,
                                     GL_UNSIGNED_BYTE, data, 1);
      },
      [&] {
        context->procs.colorSubTableEXT(context, GL_TEXTURE_1D, 1, 1, GL_RGB, GL_UNSIGNED_BYTE,
                                        data, 1);
      },
  };
  int k = 0;
  for (const auto &call : calls) {
    Validate();
    gc->dirtyMask = 0;
    call();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << k;
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << k;
    EXPECT_EQ(gc->dirtyMask & 0x11u, 0x11u) << k;
    k++;
  }
}

}  // namespace
}  // namespace table_test

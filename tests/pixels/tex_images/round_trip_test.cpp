// Every internal format with every client format and type that carries its
// components: a level read back in one format and type and defined again
// from what was read equals the first within the type's precision, under
// default and under unusual pixel-store modes.
#include <stdlib.h>

#include <algorithm>

#include "tests/pixels/tex_images/tex_image_fixture.h"

namespace tex_image_test {
namespace {

using Bytes = std::vector<uint8_t>;

struct Precision {
  GLenum type;
  int tolerance[4];  // R, G, B, A in bytes
};

const Precision kTypes[] = {
    {GL_UNSIGNED_BYTE, {0, 0, 0, 0}},
    {GL_BYTE, {2, 2, 2, 2}},
    {GL_UNSIGNED_SHORT, {1, 1, 1, 1}},
    {GL_SHORT, {1, 1, 1, 1}},
    {GL_UNSIGNED_INT, {1, 1, 1, 1}},
    {GL_INT, {1, 1, 1, 1}},
    {GL_FLOAT, {1, 1, 1, 1}},
    // Packed fields truncate: up to one step of the field.
    {GL_UNSIGNED_BYTE_3_3_2_EXT, {37, 37, 85, 0}},
    {GL_UNSIGNED_SHORT_4_4_4_4_EXT, {17, 17, 17, 17}},
    {GL_UNSIGNED_SHORT_5_5_5_1_EXT, {9, 9, 9, 255}},
    {GL_UNSIGNED_INT_8_8_8_8_EXT, {1, 1, 1, 1}},
    {GL_UNSIGNED_INT_10_10_10_2_EXT, {1, 1, 1, 85}},
};

bool Fits(GLenum format, GLenum type) {
  switch (type) {
    case GL_UNSIGNED_BYTE_3_3_2_EXT:
      return format == GL_RGB || format == GL_BGR_EXT;
    case GL_UNSIGNED_SHORT_4_4_4_4_EXT:
    case GL_UNSIGNED_SHORT_5_5_5_1_EXT:
    case GL_UNSIGNED_INT_8_8_8_8_EXT:
    case GL_UNSIGNED_INT_10_10_10_2_EXT:
      return format == GL_RGBA || format == GL_BGRA_EXT || format == GL_ABGR_EXT;
    default:
      return true;
  }
}

struct Internal {
  GLint format;
  std::vector<GLenum> clientFormats;  // each carries every component of the level
};

const Internal kInternals[] = {
    {GL_RGBA, {GL_RGBA, GL_BGRA_EXT, GL_ABGR_EXT}},
    {GL_RGB, {GL_RGB, GL_BGR_EXT, GL_RGBA}},
    {GL_LUMINANCE, {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RED}},
    {GL_LUMINANCE_ALPHA, {GL_LUMINANCE_ALPHA}},
    {GL_ALPHA, {GL_ALPHA, GL_RGBA}},
    {GL_INTENSITY, {GL_LUMINANCE, GL_RED}},
};

// Pack and unpack modes set alike, so that what one writes the other reads.
struct Modes {
  GLint rowLength, skipRows, skipPixels, alignment, swapBytes;
};

void SetModes(const Modes &m) {
  glPixelStorei(GL_PACK_ROW_LENGTH, m.rowLength);
  glPixelStorei(GL_PACK_SKIP_ROWS, m.skipRows);
  glPixelStorei(GL_PACK_SKIP_PIXELS, m.skipPixels);
  glPixelStorei(GL_PACK_ALIGNMENT, m.alignment);
  glPixelStorei(GL_PACK_SWAP_BYTES, m.swapBytes);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, m.rowLength);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, m.skipRows);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, m.skipPixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, m.alignment);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, m.swapBytes);
}

class RoundTrip : public TexImageTest {};

TEST_F(RoundTrip, EveryFormatAndTypeGivesBackWhatItRead) {
  const int w = 4, h = 4;
  const Bytes pattern = Pattern(w, h, 2);
  const Modes modes[] = {{0, 0, 0, 4, 0}, {7, 2, 3, 8, 1}, {5, 1, 0, 1, 0}};
  for (const Modes &m : modes) {
    for (const Internal &in : kInternals) {
      SetModes({0, 0, 0, 4, 0});
      glTexImage2D(GL_TEXTURE_2D, 0, in.format, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                   pattern.data());
      const Bytes reference = GetRgba(GL_TEXTURE_2D, 0);
      for (GLenum format : in.clientFormats) {
        for (const Precision &p : kTypes) {
          if (!Fits(format, p.type)) continue;
          SCOPED_TRACE(testing::Message() << std::hex << "internal 0x" << in.format
                                          << " format 0x" << format << " type 0x" << p.type
                                          << std::dec << " row length " << m.rowLength);
          Bytes client(4096, 0xEE);
          // Back to the reference, read in this format and type, defined again.
          SetModes({0, 0, 0, 4, 0});
          glTexImage2D(GL_TEXTURE_2D, 0, in.format, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                       pattern.data());
          SetModes(m);
          glGetTexImage(GL_TEXTURE_2D, 0, format, p.type, client.data());
          glTexImage2D(GL_TEXTURE_2D, 0, in.format, w, h, 0, format, p.type, client.data());
          ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
          SetModes({0, 0, 0, 4, 0});
          const Bytes got = GetRgba(GL_TEXTURE_2D, 0);
          // Reordered formats put other components into the narrow fields.
          const bool reordered = format != GL_RGBA && format != GL_RGB;
          const int widest = *std::max_element(p.tolerance, p.tolerance + 4);
          for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_LE(abs(int(got[i]) - int(reference[i])),
                      reordered ? widest : p.tolerance[i % 4])
                << "byte " << i << ": " << int(got[i]) << " against " << int(reference[i]);
          }
        }
      }
    }
  }
}

// What each internal format keeps of RGBA bytes, read back as RGBA: the
// components of its base format, the rest as OpenGL fills them in.
TEST_F(RoundTrip, EachBaseFormatKeepsItsComponents) {
  const Bytes p = Pattern(2, 2, 4);
  const struct {
    GLint internal;
    int keep[4];  // -1: the default (0, or 255 for alpha)
  } cases[] = {
      {GL_RGBA, {0, 1, 2, 3}},  {4, {0, 1, 2, 3}},       {GL_RGB, {0, 1, 2, -1}},
      {3, {0, 1, 2, -1}},       {GL_R3_G3_B2, {0, 1, 2, -1}}, {GL_ALPHA, {-1, -1, -1, 3}},
      {GL_LUMINANCE, {0, -1, -1, -1}}, {1, {0, -1, -1, -1}},
      {GL_LUMINANCE_ALPHA, {0, -1, -1, 3}}, {2, {0, -1, -1, 3}},
      {GL_INTENSITY, {0, -1, -1, -1}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.internal);
    glTexImage2D(GL_TEXTURE_2D, 0, c.internal, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    const Bytes got = GetRgba(GL_TEXTURE_2D, 0);
    for (size_t i = 0; i < got.size(); ++i) {
      const int k = c.keep[i % 4];
      const int want = k >= 0 ? p[i - i % 4 + size_t(k)] : (i % 4 == 3 ? 255 : 0);
      EXPECT_EQ(int(got[i]), want) << "byte " << i;
    }
  }
}

}  // namespace
}  // namespace tex_image_test

// Packing independence: each image command compiled under non-default
// unpack modes, the modes then reset and the client memory overwritten,
// the list called, gives the frame, the texture level, the colour table or
// the stipple that the same call made immediately under the original modes
// gives. Also drawn while compiled (GL_COMPILE_AND_EXECUTE).
#include <string.h>

#include <functional>
#include <string>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "tests/dlist/images/list_window.h"

namespace list_images {
namespace {

struct ImageCommand {
  const char *name;
  std::function<void()> prepare;  // under the default modes
  std::function<void(const uint8_t *client)> issue;
  std::function<std::vector<uint8_t>(const ListWindowTest &)> result;
};

std::vector<uint8_t> TexLevel(GLenum target, int texels) {
  std::vector<uint8_t> out(size_t(texels) * 4);
  glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  return out;
}
std::vector<uint8_t> Table() {
  std::vector<uint8_t> out(16 * 4);
  glGetColorTableEXT(GL_TEXTURE_2D, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  return out;
}
std::vector<uint8_t> RasterPosAnd(std::vector<uint8_t> bytes) {
  GLfloat pos[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
  const uint8_t *p = reinterpret_cast<const uint8_t *>(pos);
  bytes.insert(bytes.end(), p, p + sizeof pos);
  return bytes;
}

const std::vector<uint8_t> kZeros(4096, 0);

void DefineTexture1D() {
  glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, kZeros.data());
}
void DefineTexture2D() {
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, kZeros.data());
}

class ImagePacking : public ListWindowTest {
 protected:
  std::vector<uint8_t> Run(const ImageCommand &c, const UnpackModes &m, GLenum listMode,
                           std::vector<uint8_t> client) {
    Reopen();
    c.prepare();
    SetUnpackModes(m);
    if (listMode == 0) {
      c.issue(client.data());
      return c.result(*this);
    }
    glNewList(1, listMode);
    c.issue(client.data());
    glEndList();
    SetUnpackModes(kDefaultModes);
    // The list keeps its own copy: what the client does later plays no part.
    memset(client.data(), 0x5A, client.size());
    if (listMode == GL_COMPILE) glCallList(1);
    return c.result(*this);
  }
};

std::vector<ImageCommand> Commands() {
  auto frame = [](const ListWindowTest &t) { return t.Frame(); };
  auto rasterAt = [](GLint x, GLint y) {
    return [x, y] {
      glColor3f(1.0f, 0.5f, 0.25f);
      glRasterPos2i(x, y);
    };
  };
  return {
      {"Bitmap", rasterAt(3, 4),
       [](const uint8_t *p) { glBitmap(13, 9, 1.0f, 2.0f, 5.0f, 1.0f, p); },
       [frame](const ListWindowTest &t) { return RasterPosAnd(frame(t)); }},
      {"PolygonStipple", [] {}, [](const uint8_t *p) { glPolygonStipple(p); },
       [](const ListWindowTest &t) {
         const GLubyte *s = t.gc->state.polygonStipple.stipple;
         std::vector<uint8_t> out(s, s + 128);
         glEnable(GL_POLYGON_STIPPLE);
         glRecti(0, 0, kWidth, kHeight);
         const std::vector<uint8_t> f = t.Frame();
         out.insert(out.end(), f.begin(), f.end());
         return out;
       }},
      {"DrawPixels RGBA bytes", rasterAt(2, 2),
       [](const uint8_t *p) { glDrawPixels(9, 7, GL_RGBA, GL_UNSIGNED_BYTE, p); }, frame},
      {"DrawPixels RGB shorts", rasterAt(5, 1),
       [](const uint8_t *p) { glDrawPixels(7, 6, GL_RGB, GL_UNSIGNED_SHORT, p); }, frame},
      {"DrawPixels 5_5_5_1", rasterAt(1, 3),
       [](const uint8_t *p) { glDrawPixels(9, 5, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT, p); },
       frame},
      {"DrawPixels 3_3_2", rasterAt(4, 4),
       [](const uint8_t *p) { glDrawPixels(6, 5, GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, p); },
       frame},
      {"TexImage1D", [] {},
       [](const uint8_t *p) {
         glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, p);
       },
       [](const ListWindowTest &) { return TexLevel(GL_TEXTURE_1D, 16); }},
      {"TexImage2D", [] {},
       [](const uint8_t *p) {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_SHORT,
                      p);
       },
       [](const ListWindowTest &) { return TexLevel(GL_TEXTURE_2D, 64); }},
      {"TexImage2D 4_4_4_4", [] {},
       [](const uint8_t *p) {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA,
                      GL_UNSIGNED_SHORT_4_4_4_4_EXT, p);
       },
       [](const ListWindowTest &) { return TexLevel(GL_TEXTURE_2D, 64); }},
      {"TexSubImage1D", DefineTexture1D,
       [](const uint8_t *p) {
         glTexSubImage1D(GL_TEXTURE_1D, 0, 3, 7, GL_RGBA, GL_UNSIGNED_BYTE, p);
       },
       [](const ListWindowTest &) { return TexLevel(GL_TEXTURE_1D, 16); }},
      {"TexSubImage2D", DefineTexture2D,
       [](const uint8_t *p) {
         glTexSubImage2D(GL_TEXTURE_2D, 0, 2, 1, 5, 3, GL_RGB, GL_UNSIGNED_SHORT, p);
       },
       [](const ListWindowTest &) { return TexLevel(GL_TEXTURE_2D, 64); }},
      {"ColorTableEXT", [] {},
       [](const uint8_t *p) {
         glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_SHORT, p);
       },
       [](const ListWindowTest &) { return Table(); }},
      {"ColorSubTableEXT",
       [] {
         glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, kZeros.data());
       },
       [](const uint8_t *p) {
         glColorSubTableEXT(GL_TEXTURE_2D, 4, 9, GL_RGB, GL_UNSIGNED_SHORT, p);
       },
       [](const ListWindowTest &) { return Table(); }},
  };
}

const UnpackModes kModes[] = {
    kDefaultModes,
    {"aligned 8, rows of 17, skips", 8, 17, 2, 3, GL_FALSE, GL_FALSE},
    {"swapped, LSB first, odd skip", 1, 0, 0, 5, GL_TRUE, GL_TRUE},
    {"aligned 2, rows of 11, swapped", 2, 11, 1, 1, GL_TRUE, GL_FALSE},
};

TEST_F(ImagePacking, ListsReproduceTheImmediateCallUnderTheModesOfCompileTime) {
  const std::vector<uint8_t> client = ClientPattern();
  for (const ImageCommand &c : Commands()) {
    Reopen();
    c.prepare();
    const std::vector<uint8_t> untouched = c.result(*this);
    for (const UnpackModes &m : kModes) {
      SCOPED_TRACE(std::string(c.name) + " under " + m.name);
      const std::vector<uint8_t> immediate = Run(c, m, 0, client);
      ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      EXPECT_NE(immediate, untouched) << "the call shows";
      EXPECT_EQ(Run(c, m, GL_COMPILE, client), immediate) << "compiled, then called";
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      EXPECT_EQ(Run(c, m, GL_COMPILE_AND_EXECUTE, client), immediate) << "compiled and run";
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    }
  }
}

}  // namespace
}  // namespace list_images

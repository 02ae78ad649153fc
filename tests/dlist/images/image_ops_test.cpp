// What the image ops record and do beyond packing: the compile-time checks
// (packed types, proxies, colour-table errors), the render modes and the
// raster position when the list runs, bitmap text through the fast and the
// generic renderers, and the validation a list's state change requests.
#include <string.h>

#include <functional>
#include <string>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "tests/dlist/images/list_window.h"

namespace list_images {
namespace {

class ImageOps : public ListWindowTest {
 protected:
  std::vector<GLfloat> RasterPos() {
    std::vector<GLfloat> pos(4);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos.data());
    return pos;
  }
  GLint TexWidth(GLenum target) {
    GLint w = -1;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &w);
    return w;
  }
  GLint TableWidth(GLenum target) {
    GLint w = -1;
    glGetColorTableParameterivEXT(target, GL_COLOR_TABLE_WIDTH_EXT, &w);
    return w;
  }
};

const std::vector<uint8_t> kImage(4096, 0xA7);

TEST_F(ImageOps, PackedTypesKeepOneElementPerPixelAndRefuseFormatsTheyDoNotFit) {
  glNewList(1, GL_COMPILE);
  glDrawPixels(5, 3, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT, kImage.data());
  ASSERT_EQ(OpsSoFar(), 1);
  const GlDlistOp *op = gc->dlist.listRec.first;
  EXPECT_EQ(op->opcode, GL_DLOP_DrawPixels);
  EXPECT_EQ(op->size, 16u + 32u) << "2 bytes a pixel, rounded up to 4";
  uint32_t words[4];
  memcpy(words, op->data, sizeof words);
  EXPECT_EQ(words[2], GLenum(GL_RGBA)) << "the application's format and type";
  EXPECT_EQ(words[3], GLenum(GL_UNSIGNED_SHORT_5_5_5_1_EXT));

  struct Refused {
    GLenum format, type;
  } refused[] = {{GL_RGB, GL_UNSIGNED_SHORT_5_5_5_1_EXT},
                 {GL_RGBA, GL_UNSIGNED_BYTE_3_3_2_EXT},
                 {GL_LUMINANCE, GL_UNSIGNED_INT_8_8_8_8_EXT}};
  for (const Refused &r : refused) {
    glDrawPixels(2, 2, r.format, r.type, kImage.data());
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION)) << "at once";
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, r.format, r.type, kImage.data());
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
    glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 2, r.format, r.type, kImage.data());
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  }
  EXPECT_EQ(OpsSoFar(), 1) << "no op added";
  glEndList();
}

TEST_F(ImageOps, FormatAndTypeErrorsCompileInvalidEnumOps) {
  struct Case {
    const char *what;
    std::function<void()> call;
  } cases[] = {
      {"draw: unknown format", [] { glDrawPixels(1, 1, 0x1234, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"draw: bitmap of colours", [] { glDrawPixels(1, 1, GL_RGB, GL_BITMAP, kImage.data()); }},
      {"draw: 2 bytes", [] { glDrawPixels(1, 1, GL_RGB, GL_2_BYTES, kImage.data()); }},
      {"texture: depth", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, 1, 1, 1, 0, GL_DEPTH_COMPONENT, GL_FLOAT, kImage.data());
       }},
      {"texture: stencil", [] {
         glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
                         kImage.data());
       }},
      {"texture: bitmap of colours", [] {
         glTexImage1D(GL_TEXTURE_1D, 0, 3, 8, 0, GL_RGB, GL_BITMAP, kImage.data());
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    glNewList(1, GL_COMPILE);
    c.call();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    ASSERT_EQ(OpsSoFar(), 1);
    EXPECT_EQ(gc->dlist.listRec.first->opcode, GL_DLOP_InvalidEnum);
    glEndList();
    glCallList(1);
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  }
}

TEST_F(ImageOps, ProxyTexturesAreDefinedAtOnceAndNeverRecorded) {
  glNewList(1, GL_COMPILE);
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA, 8, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(TexWidth(GL_PROXY_TEXTURE_2D), 8) << "while the list is open";
  glTexImage1D(GL_PROXY_TEXTURE_1D, 0, GL_RGBA, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(TexWidth(GL_PROXY_TEXTURE_1D), 16);
  EXPECT_EQ(OpsSoFar(), 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 2, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
  ASSERT_EQ(OpsSoFar(), 1);
  EXPECT_EQ(gc->dlist.listRec.first->opcode, GL_DLOP_InvalidValue);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  glCallList(1);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
}

TEST_F(ImageOps, ColorTablesTooLargeClearAProxyAndCompileTableTooLargeOtherwise) {
  const GLsizei kTooWide = 16384;  // 64 KB of RGBA bytes
  glColorTableEXT(GL_PROXY_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  ASSERT_EQ(TableWidth(GL_PROXY_TEXTURE_2D), 16);
  glNewList(1, GL_COMPILE);
  glColorTableEXT(GL_PROXY_TEXTURE_2D, GL_RGBA, kTooWide, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  ASSERT_EQ(OpsSoFar(), 1);
  const GlDlistOp *op = gc->dlist.listRec.first;
  EXPECT_EQ(op->opcode, GL_DLOP_ColorTableEXT);
  uint32_t internal;
  memcpy(&internal, reinterpret_cast<const uint8_t *>(op->data) + 4, 4);
  EXPECT_EQ(internal, 0u);
  EXPECT_EQ(op->size, 24u) << "a proxy reads no entries";
  glEndList();
  EXPECT_EQ(TableWidth(GL_PROXY_TEXTURE_2D), 16) << "not before the list runs";
  glCallList(1);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(TableWidth(GL_PROXY_TEXTURE_2D), 0);

  glNewList(2, GL_COMPILE);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, kTooWide, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
  ASSERT_EQ(OpsSoFar(), 1);
  EXPECT_EQ(gc->dlist.listRec.first->opcode, GL_DLOP_TableTooLarge);
  glEndList();
  glCallList(2);
  EXPECT_EQ(TakeError(), GLenum(GL_TABLE_TOO_LARGE_EXT));
}

TEST_F(ImageOps, CompiledColorTableErrorsEqualTheImmediateOnes) {
  struct Case {
    const char *what;
    std::function<void()> call;
  } cases[] = {
      {"width not a power of two",
       [] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 12, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"unknown target",
       [] { glColorTableEXT(GL_TEXTURE_1D + 7, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"unknown internal format",
       [] { glColorTableEXT(GL_TEXTURE_2D, 0x1234, 16, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"unknown type",
       [] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, 0x1234, kImage.data()); }},
      {"negative start",
       [] { glColorSubTableEXT(GL_TEXTURE_2D, -1, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"negative count",
       [] { glColorSubTableEXT(GL_TEXTURE_2D, 0, -4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"sub-table of a proxy",
       [] { glColorSubTableEXT(GL_PROXY_TEXTURE_2D, 0, 1, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"sub-table past the end",
       [] { glColorSubTableEXT(GL_TEXTURE_2D, 12, 8, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    c.call();
    const GLenum immediate = TakeError();
    EXPECT_NE(immediate, GLenum(GL_NO_ERROR));
    glNewList(1, GL_COMPILE);
    c.call();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << "not while compiling";
    glEndList();
    glCallList(1);
    EXPECT_EQ(TakeError(), immediate);
  }
}

TEST_F(ImageOps, ColorTablesInsideAnOpenBeginAreRefusedAtOnce) {
  glNewList(1, GL_COMPILE_AND_EXECUTE);
  glBegin(GL_POINTS);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
  glColorSubTableEXT(GL_TEXTURE_2D, 0, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
  glEnd();
  EXPECT_EQ(OpCodesSoFar(), (std::vector<int>{GL_DLOP_Begin_Points, GL_DLOP_End}));
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
}

// Listed between glBegin and glEnd, the image commands are refused when the
// list runs, as the immediate calls are, and change nothing.
TEST_F(ImageOps, ImageOpsInsideAPrimitiveAreRefusedWhenTheListRuns) {
  static uint8_t stipple[128];
  memset(stipple, 0x0F, sizeof stipple);
  struct Case {
    const char *what;
    std::function<void()> call;
  } cases[] = {
      {"Bitmap", [] { glBitmap(8, 4, 0, 0, 6.0f, 2.0f, kImage.data()); }},
      {"DrawPixels", [] { glDrawPixels(4, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"PolygonStipple", [] { glPolygonStipple(stipple); }},
      {"ColorTableEXT",
       [] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); }},
      {"TexImage2D", [] {
         glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data());
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Reopen();
    glRasterPos2i(4, 4);
    glNewList(1, GL_COMPILE);
    glBegin(GL_POINTS);
    c.call();
    glEnd();
    glEndList();
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    const std::vector<uint8_t> frame = Frame();
    const std::vector<GLfloat> pos = RasterPos();
    std::vector<uint8_t> pattern(gc->state.polygonStipple.stipple,
                                 gc->state.polygonStipple.stipple + 128);
    glCallList(1);
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_EQ(Frame(), frame);
    EXPECT_EQ(RasterPos(), pos);
    EXPECT_EQ(std::vector<uint8_t>(gc->state.polygonStipple.stipple,
                                   gc->state.polygonStipple.stipple + 128),
              pattern);
    EXPECT_EQ(TableWidth(GL_TEXTURE_2D), 0);
    EXPECT_EQ(TexWidth(GL_TEXTURE_2D), 0);
  }
}

// What depends on the context is checked when the list runs, as the
// immediate call checks it: a stencil image without a stencil buffer.
TEST_F(ImageOps, DrawPixelsChecksTheContextWhenTheListRuns) {
  Reopen(0);
  glRasterPos2i(4, 4);
  const std::vector<uint8_t> blank = Frame();
  glDrawPixels(4, 4, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, kImage.data());
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  glNewList(1, GL_COMPILE);
  glDrawPixels(4, 4, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, kImage.data());
  ASSERT_EQ(OpsSoFar(), 1);
  EXPECT_EQ(gc->dlist.listRec.first->opcode, GL_DLOP_DrawPixels);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  glCallList(1);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(Frame(), blank);
}

// In GL_FEEDBACK one token, in GL_SELECT nothing (a bitmap still moves the
// raster position), with an invalid raster position nothing at all.
TEST_F(ImageOps, PixelRectanglesAndBitmapsFollowTheRenderModeWhenTheListRuns) {
  struct Case {
    const char *what;
    std::function<void()> call;
    GLfloat token;
    GLfloat moveX;
  } cases[] = {
      {"DrawPixels", [] { glDrawPixels(4, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); },
       GLfloat(GL_DRAW_PIXEL_TOKEN), 0.0f},
      {"Bitmap", [] { glBitmap(8, 4, 0, 0, 6.0f, 0, kImage.data()); }, GLfloat(GL_BITMAP_TOKEN),
       6.0f},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Reopen();
    glNewList(1, GL_COMPILE);
    c.call();
    glEndList();
    const std::vector<uint8_t> blank = Frame();

    glRasterPos2i(4, 4);
    GLfloat feedback[64];
    glFeedbackBuffer(64, GL_2D, feedback);
    glRenderMode(GL_FEEDBACK);
    glCallList(1);
    EXPECT_EQ(glRenderMode(GL_RENDER), 3) << "one token and the position";
    EXPECT_EQ(feedback[0], c.token);
    EXPECT_EQ(feedback[1], 4.0f);

    glRasterPos2i(4, 4);
    GLuint names[16];
    glSelectBuffer(16, names);
    glRenderMode(GL_SELECT);
    glCallList(1);
    EXPECT_EQ(glRenderMode(GL_RENDER), 0);
    EXPECT_EQ(Frame(), blank);
    EXPECT_EQ(RasterPos()[0], 4.0f + c.moveX);

    glRasterPos2i(-40, 4);  // outside the view volume
    glCallList(1);
    EXPECT_EQ(Frame(), blank);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));

    glRasterPos2i(4, 4);
    glCallList(1);
    EXPECT_NE(Frame(), blank) << "drawn in GL_RENDER";
  }
}

TEST_F(ImageOps, AnEmptyBitmapKeepsItsMovesAndMovesTheRasterPosition) {
  glNewList(1, GL_COMPILE);
  glBitmap(0, 0, 0, 0, 5.0f, 3.0f, nullptr);
  ASSERT_EQ(OpsSoFar(), 1);
  EXPECT_EQ(gc->dlist.listRec.first->size, 32u);
  glEndList();
  glRasterPos2i(2, 2);
  glCallList(1);
  glCallList(1);
  const std::vector<GLfloat> pos = RasterPos();
  EXPECT_EQ(pos[0], 12.0f);
  EXPECT_EQ(pos[1], 8.0f);
}

// A line of glyphs with their moves, from the raster position the list sets.
void Text() {
  static const uint8_t kGlyphs[3][7] = {{0x70, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88},
                                        {0xF0, 0x88, 0xF0, 0x88, 0x88, 0x88, 0xF0},
                                        {0x78, 0x80, 0x80, 0x80, 0x80, 0x80, 0x78}};
  glColor3f(0.0f, 1.0f, 0.5f);
  glRasterPos2i(3, 5);
  for (int i = 0; i < 7; ++i) glBitmap(5, 7, 0.0f, 0.0f, 6.0f, 0.5f, kGlyphs[i % 3]);
}

TEST_F(ImageOps, BitmapTextFromAListDrawsWhereTheImmediateCallsDo) {
  for (bool dither : {true, false}) {
    SCOPED_TRACE(dither ? "generic renderer" : "fast renderer");
    auto setUp = [&] {
      Reopen();
      if (!dither) glDisable(GL_DITHER);
    };
    setUp();
    Text();
    const std::vector<uint8_t> immediate = Frame();
    EXPECT_EQ(gc->procs.renderBitmap == __glRenderBitmap_FastRGB16, !dither);

    setUp();
    glNewList(1, GL_COMPILE);
    Text();
    glEndList();
    glCallList(1);
    EXPECT_EQ(Frame(), immediate);
    EXPECT_EQ(gc->procs.renderBitmap == __glRenderBitmap_FastRGB16, !dither);
  }
}

// The dirty bits validation finds after a change, whoever made it.
uint32_t gSeenDirty;
void (*gValidate)(GlContext *);
void RecordingValidate(GlContext *gc) {
  gSeenDirty |= gc->dirtyMask;
  gValidate(gc);
}

TEST_F(ImageOps, StateAListChangesIsSeenByTheNextDrawAndItsValidation) {
  static uint8_t stripes[128], checks[128];
  for (int i = 0; i < 128; ++i) {
    stripes[i] = (i / 4) % 2 ? 0xFF : 0x00;
    checks[i] = (i / 4) % 2 ? 0xAA : 0x55;
  }
  struct Case {
    const char *what;
    std::function<void()> change;
    uint32_t dirty;
  } cases[] = {
      {"glPolygonStipple", [] { glPolygonStipple(checks); }, 0x4},
      {"glColorTableEXT",
       [] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); },
       0x11},
      {"glColorSubTableEXT",
       [] { glColorSubTableEXT(GL_TEXTURE_2D, 0, 2, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data()); },
       0x11},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> frames[2];
    uint32_t seen[2];
    for (int listed = 0; listed < 2; ++listed) {
      Reopen();
      glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, kImage.data() + 1);
      glEnable(GL_POLYGON_STIPPLE);
      glPolygonStipple(stripes);
      if (listed) {
        glNewList(1, GL_COMPILE);
        c.change();
        glEndList();
      }
      glRecti(0, 0, kWidth / 2, kHeight);
      glFinish();
      gValidate = gc->procs.validate;
      gc->procs.validate = RecordingValidate;
      gSeenDirty = 0;
      if (listed)
        glCallList(1);
      else
        c.change();
      glRecti(kWidth / 2, 0, kWidth, kHeight);
      gc->procs.validate = gValidate;
      seen[listed] = gSeenDirty;
      frames[listed] = Frame();
    }
    EXPECT_EQ(frames[1], frames[0]);
    EXPECT_EQ(seen[1] & c.dirty, c.dirty);
    EXPECT_EQ(seen[1], seen[0]);
  }
}

}  // namespace
}  // namespace list_images

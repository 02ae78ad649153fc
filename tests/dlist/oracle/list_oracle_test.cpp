// The complete oracle: one scene using every class of listable command
// (state, geometry, bitmaps and pixel rectangles, the stipple, textures and
// colour tables, evaluator maps, materials, a nested list), compiled in
// GL_COMPILE and in GL_COMPILE_AND_EXECUTE and called, draws the pixels the
// immediate calls draw and replays their call stream on a logging dispatch,
// up to the list's own mappings: scalar forms through their vector slots,
// double maps through the float entries, material runs written directly,
// and image ops calling the pixel and texture procedures directly.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "tests/dlist/ops/op_args.h"
#include "tests/support/call_log.h"
#include "tests/dlist/images/list_window.h"

namespace {

constexpr GLuint kInner = 7;

void Inner() {
  glColor3f(0.2f, 0.8f, 0.4f);
  glBegin(GL_TRIANGLES);
  glVertex2f(24, 2);
  glVertex2f(30, 2);
  glVertex2f(27, 8);
  glEnd();
}

void Scene(bool innerInline) {
  static uint8_t glyph[8], stipple[128], texels[4 * 4 * 4], table[16 * 4], pixels[5 * 4 * 4];
  for (int i = 0; i < 8; ++i) glyph[i] = uint8_t(0x81 | (0x18 << (i % 3)));
  for (int i = 0; i < 128; ++i) stipple[i] = (i / 4) % 2 ? 0xCC : 0x33;
  for (int i = 0; i < 64; ++i) texels[i] = uint8_t(37 * i + 11);
  for (int i = 0; i < 64; ++i) table[i] = uint8_t(255 - 3 * i);
  for (int i = 0; i < 80; ++i) pixels[i] = uint8_t(19 * i + 5);
  const GLdouble curve[12] = {2, 16, 0, 8, 22, 0, 16, 8, 0, 30, 20, 0};

  // State.
  glDisable(GL_DITHER);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.1f, 0.1f, 0.2f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);

  // Bitmaps and pixel rectangles.
  glColor3f(1.0f, 1.0f, 0.0f);
  glRasterPos2i(1, 15);
  glBitmap(8, 8, 0.0f, 0.0f, 9.0f, 0.0f, glyph);
  glBitmap(8, 8, 0.0f, 0.0f, 9.0f, 0.0f, glyph);
  glPixelZoom(1.0f, 1.0f);
  glDrawPixels(5, 4, GL_RGBA, GL_UNSIGNED_BYTE, pixels);

  // The stipple.
  glPolygonStipple(stipple);
  glEnable(GL_POLYGON_STIPPLE);
  glColor4ub(200, 40, 90, 255);
  glRecti(18, 14, 30, 22);
  glDisable(GL_POLYGON_STIPPLE);

  // Textures and a colour table.
  glBindTexture(GL_TEXTURE_2D, 3);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, table);
  glColorSubTableEXT(GL_TEXTURE_2D, 2, 4, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(2, 2);
  glTexCoord2f(1, 0);
  glVertex2i(12, 2);
  glTexCoord2f(1, 1);
  glVertex2i(12, 12);
  glTexCoord2f(0, 1);
  glVertex2i(2, 12);
  glEnd();
  glDisable(GL_TEXTURE_2D);

  // An evaluator map.
  glColor3f(0.0f, 1.0f, 1.0f);
  glMap1d(GL_MAP1_VERTEX_3, 0.0, 1.0, 3, 4, curve);
  glEnable(GL_MAP1_VERTEX_3);
  glMapGrid1f(12, 0.0f, 1.0f);
  glEvalMesh1(GL_LINE, 0, 12);
  glDisable(GL_MAP1_VERTEX_3);

  // Materials under a light.
  const GLfloat diffuse[4] = {0.9f, 0.3f, 0.2f, 1.0f};
  const GLfloat specular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 12.0f);
  glNormal3f(0.0f, 0.0f, 1.0f);
  glBegin(GL_TRIANGLES);
  glVertex2i(14, 2);
  glVertex2i(24, 2);
  glVertex2i(19, 12);
  glEnd();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);

  // A nested list.
  if (innerInline)
    Inner();
  else
    glCallList(kInner);
}

bool Folded(int slot) {
  switch (slot) {
    // Image ops call the pixel and texture procedures directly.
    case GL_SLOT_Bitmap:
    case GL_SLOT_DrawPixels:
    case GL_SLOT_PolygonStipple:
    case GL_SLOT_TexImage1D:
    case GL_SLOT_TexImage2D:
    case GL_SLOT_TexSubImage1D:
    case GL_SLOT_TexSubImage2D:
    case GL_SLOT_ColorTableEXT:
    case GL_SLOT_ColorSubTableEXT:
    // Material runs are written directly.
    case GL_SLOT_Materialf:
    case GL_SLOT_Materialfv:
    case GL_SLOT_Materiali:
    case GL_SLOT_Materialiv:
      return true;
    default:
      return false;
  }
}

int Mapped(int slot) {
  if (slot == GL_SLOT_Map1d) return GL_SLOT_Map1f;
  if (slot == GL_SLOT_Map2d) return GL_SLOT_Map2f;
  return ReplaySlot(slot);
}

struct Call {
  int slot;
  bool compareArgs;
  LoggedCall logged;
};

std::vector<Call> ImmediateStream() {
  std::vector<Call> out;
  for (const LoggedCall &c : TheCallLog()) {
    if (Folded(c.slot)) continue;
    const int slot = Mapped(c.slot);
    out.push_back({slot, slot == c.slot, c});
  }
  return out;
}

std::string Name(int slot) { return SlotName(slot); }

class ListOracle : public list_images::ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    CompileInner();
  }
  void Reopen() {
    ListWindowTest::Reopen();
    CompileInner();
  }
  void CompileInner() {
    glNewList(kInner, GL_COMPILE);
    Inner();
    glEndList();
  }
  std::vector<uint8_t> TableAndTexels() const {
    std::vector<uint8_t> out(16 * 4 + 4 * 4 * 4);
    glGetColorTableEXT(GL_TEXTURE_2D, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data() + 64);
    return out;
  }
  // List `name` run with every dispatch entry logged but glCallList, which
  // runs it. Validation, which ops that draw or change state directly may
  // run, puts its picked entries into the table: the logging ones go back.
  std::vector<LoggedCall> LoggedRun(GLuint name) {
    static GlDispatchState logging;
    static void (*validate)(GlContext *);
    logging = kLoggingDispatch;
    logging.CallList = __glim_CallList;
    validate = gc->procs.validate;
    gc->procs.validate = [](GlContext *gc) {
      validate(gc);
      gc->dispatch = logging;
    };
    const GlDispatchState saved = gc->dispatch;
    gc->dispatch = logging;
    TheCallLog().clear();
    glCallList(name);
    gc->dispatch = saved;
    gc->procs.validate = validate;
    return TheCallLog();
  }
};

TEST_F(ListOracle, ASceneFromAListDrawsAndDefinesWhatTheImmediateCallsDo) {
  Scene(false);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  const std::vector<uint8_t> immediate = Frame();
  const std::vector<uint8_t> defined = TableAndTexels();

  Reopen();
  glNewList(1, GL_COMPILE);
  Scene(false);
  glEndList();
  glCallList(1);
  EXPECT_EQ(Frame(), immediate) << "GL_COMPILE, called";
  EXPECT_EQ(TableAndTexels(), defined);

  Reopen();
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  Scene(false);
  glEndList();
  EXPECT_EQ(Frame(), immediate) << "drawn while compiling";
  EXPECT_EQ(TableAndTexels(), defined);
  glCallList(2);
  EXPECT_EQ(Frame(), immediate) << "GL_COMPILE_AND_EXECUTE, called";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ListOracle, ASceneFromAListReplaysTheImmediateCallStream) {
  const GlDispatchState saved = gc->dispatch;
  gc->dispatch = kLoggingDispatch;
  TheCallLog().clear();
  Scene(true);
  gc->dispatch = saved;
  const std::vector<Call> expected = ImmediateStream();

  glNewList(1, GL_COMPILE);
  Scene(false);
  glEndList();
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  Scene(false);
  glEndList();
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  for (GLuint name : {1u, 2u}) {
    SCOPED_TRACE(name == 1 ? "GL_COMPILE" : "GL_COMPILE_AND_EXECUTE");
    const std::vector<LoggedCall> replayed = LoggedRun(name);
    std::string want, got;
    for (const Call &c : expected) want += Name(c.slot) + " ";
    for (const LoggedCall &c : replayed) got += Name(c.slot) + " ";
    ASSERT_EQ(got, want);
    ASSERT_EQ(replayed.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("call " + std::to_string(i) + ": " + Name(expected[i].slot));
      ASSERT_EQ(replayed[i].slot, expected[i].slot) << Name(replayed[i].slot);
      if (!expected[i].compareArgs) continue;
      const LoggedCall &e = expected[i].logged;
      ASSERT_EQ(replayed[i].count, e.count);
      for (int a = 0; a < e.count; ++a) {
        if (IsPointerArg(e.slot, a)) continue;
        EXPECT_EQ(replayed[i].bits[a], e.bits[a]) << "argument " << a;
      }
    }
  }
}

}  // namespace

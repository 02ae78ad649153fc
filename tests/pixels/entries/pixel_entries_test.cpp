// glDrawPixels, glReadPixels and glCopyPixels after their begin-mode step:
// the argument checks in their order, the raster position, the render
// modes, and what the context's pixel procedures receive.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_args.h"
#include "pixels/px_enums.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace pixel_entries_test {
namespace {

std::vector<std::string> gCalls;
GLubyte gImage[64];

std::string Text(double v) {
  char text[32];
  snprintf(text, sizeof text, "%.9g", v);
  return text;
}

std::string Pointer(const void *p) { return p == gImage ? "image" : p ? "another" : "null"; }

void RecordWaitIdle(GlContext *) { gCalls.push_back("waitIdle"); }
void RecordDraw(GlContext *, GLsizei w, GLsizei h, GLenum format, GLenum type, const void *pixels,
                GLbool8 packed) {
  gCalls.push_back("draw " + Text(w) + " " + Text(h) + " " + Text(format) + " " + Text(type) +
                   " " + Pointer(pixels) + " packed " + Text(packed));
}
void RecordRead(GlContext *, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                void *pixels) {
  gCalls.push_back("read " + Text(x) + " " + Text(y) + " " + Text(w) + " " + Text(h) + " " +
                   Text(format) + " " + Text(type) + " " + Pointer(pixels));
}
void RecordCopy(GlContext *, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format) {
  gCalls.push_back("copy " + Text(x) + " " + Text(y) + " " + Text(w) + " " + Text(h) + " " +
                   Text(format));
}
int gValidations;
void CountValidation(GlContext *) { ++gValidations; }

std::vector<std::string> TakeCalls() {
  std::vector<std::string> calls;
  calls.swap(gCalls);
  return calls;
}

// Visuals: RGBA 5-6-5 with depth and stencil; colour index 8 bits with
// depth and stencil; RGBA with neither.
GlModes Rgba() { return TestModes(); }
GlModes ColorIndex() { return TestModes(false, true, 16, 8, false); }
GlModes Bare() { return TestModes(true, false, 0, 0, false); }

class PixelEntries : public life_test::BoundContextTest {
 protected:
  void Bound() override {
    realValidate = gc->procs.validate;
    InstallRecorders();
  }
  // Validates as the context would, then puts the recorders back.
  void ValidateNow() {
    realValidate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    InstallRecorders();
  }
  void InstallRecorders() {
    GlProcs &p = gc->procs;
    p.validate = CountValidation;
    p.waitIdle = RecordWaitIdle;
    p.drawPixels = RecordDraw;
    p.readPixels = RecordRead;
    p.copyPixels = RecordCopy;
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gValidations = 0;
    gCalls.clear();
    glGetError();
  }
  GlContextProc realValidate = nullptr;
};

struct ArgCase {
  const char *what;
  GlModes (*modes)();
  GLsizei width, height;
  GLenum format, type;
  GLenum drawError, readError;
};

// Formats and types against the three visuals, one row each.
const ArgCase kArgs[] = {
    {"negative width, before the format", Rgba, -1, 2, 0x1234, 0x1234, GL_INVALID_VALUE,
     GL_INVALID_VALUE},
    {"negative height", Rgba, 2, -1, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_VALUE,
     GL_INVALID_VALUE},
    {"empty rectangle", Rgba, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, GL_NO_ERROR, GL_NO_ERROR},
    {"unknown format, before the type", Rgba, 1, 1, 0x1234, 0x1234, GL_INVALID_ENUM,
     GL_INVALID_ENUM},
    {"GL_COLOR (a copy type) is no format", Rgba, 1, 1, GL_COLOR, GL_FLOAT, GL_INVALID_ENUM,
     GL_INVALID_ENUM},
    {"GL_INTENSITY is no pixel format", Rgba, 1, 1, GL_INTENSITY, GL_FLOAT, GL_INVALID_ENUM,
     GL_INVALID_ENUM},
    {"unknown type", Rgba, 1, 1, GL_RGBA, 0x1407, GL_INVALID_ENUM, GL_INVALID_ENUM},
    {"every plain type", Rgba, 1, 1, GL_RGB, GL_BYTE, GL_NO_ERROR, GL_NO_ERROR},
    {"every plain type", Rgba, 1, 1, GL_LUMINANCE, GL_UNSIGNED_SHORT, GL_NO_ERROR, GL_NO_ERROR},
    {"every plain type", Rgba, 1, 1, GL_ALPHA, GL_INT, GL_NO_ERROR, GL_NO_ERROR},
    {"every plain type", Rgba, 1, 1, GL_ABGR_EXT, GL_FLOAT, GL_NO_ERROR, GL_NO_ERROR},
    {"BGR", Rgba, 1, 1, GL_BGR_EXT, GL_UNSIGNED_INT, GL_NO_ERROR, GL_NO_ERROR},
    {"BGRA", Rgba, 1, 1, GL_BGRA_EXT, GL_SHORT, GL_NO_ERROR, GL_NO_ERROR},
    {"luminance alpha", Rgba, 1, 1, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, GL_NO_ERROR,
     GL_NO_ERROR},
    {"bitmap of RGB", Rgba, 1, 1, GL_RGB, GL_BITMAP, GL_INVALID_ENUM, GL_INVALID_OPERATION},
    {"bitmap of depth", Rgba, 1, 1, GL_DEPTH_COMPONENT, GL_BITMAP, GL_INVALID_ENUM,
     GL_INVALID_OPERATION},
    {"bitmap of indices: no indices to read in RGBA", Rgba, 1, 1, GL_COLOR_INDEX, GL_BITMAP,
     GL_NO_ERROR, GL_INVALID_OPERATION},
    {"bitmap of stencil", Rgba, 1, 1, GL_STENCIL_INDEX, GL_BITMAP, GL_NO_ERROR, GL_NO_ERROR},
    {"3-3-2 with RGB", Rgba, 1, 1, GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, GL_NO_ERROR, GL_NO_ERROR},
    {"3-3-2 with BGR", Rgba, 1, 1, GL_BGR_EXT, GL_UNSIGNED_BYTE_3_3_2_EXT, GL_NO_ERROR,
     GL_NO_ERROR},
    {"3-3-2 with RGBA", Rgba, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE_3_3_2_EXT, GL_INVALID_OPERATION,
     GL_INVALID_OPERATION},
    {"4-4-4-4 with RGBA", Rgba, 1, 1, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, GL_NO_ERROR,
     GL_NO_ERROR},
    {"5-5-5-1 with ABGR", Rgba, 1, 1, GL_ABGR_EXT, GL_UNSIGNED_SHORT_5_5_5_1_EXT, GL_NO_ERROR,
     GL_NO_ERROR},
    {"8-8-8-8 with BGRA", Rgba, 1, 1, GL_BGRA_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT, GL_NO_ERROR,
     GL_NO_ERROR},
    {"10-10-10-2 with RGB", Rgba, 1, 1, GL_RGB, GL_UNSIGNED_INT_10_10_10_2_EXT,
     GL_INVALID_OPERATION, GL_INVALID_OPERATION},
    {"4-4-4-4 with luminance", Rgba, 1, 1, GL_LUMINANCE, GL_UNSIGNED_SHORT_4_4_4_4_EXT,
     GL_INVALID_OPERATION, GL_INVALID_OPERATION},
    {"packed type of indices", Rgba, 1, 1, GL_COLOR_INDEX, GL_UNSIGNED_INT_8_8_8_8_EXT,
     GL_INVALID_OPERATION, GL_INVALID_OPERATION},
    {"past the packed types", Rgba, 1, 1, GL_RGBA, 0x8037, GL_INVALID_ENUM, GL_INVALID_ENUM},
    {"RGBA indices", Rgba, 1, 1, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, GL_NO_ERROR,
     GL_INVALID_OPERATION},
    {"colour-index colours", ColorIndex, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, GL_INVALID_OPERATION,
     GL_NO_ERROR},
    {"colour-index reds", ColorIndex, 1, 1, GL_RED, GL_FLOAT, GL_INVALID_OPERATION,
     GL_NO_ERROR},
    {"colour-index BGRA", ColorIndex, 1, 1, GL_BGRA_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT,
     GL_INVALID_OPERATION, GL_NO_ERROR},
    {"colour-index indices", ColorIndex, 1, 1, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, GL_NO_ERROR,
     GL_NO_ERROR},
    {"colour-index depth", ColorIndex, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, GL_NO_ERROR,
     GL_NO_ERROR},
    {"colour-index bitmap of RGB: the format first", ColorIndex, 1, 1, GL_RGB, GL_BITMAP,
     GL_INVALID_OPERATION, GL_INVALID_OPERATION},
    {"depth without a depth buffer: drawn, not read", Bare, 1, 1, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT, GL_NO_ERROR, GL_INVALID_OPERATION},
    {"stencil without a stencil buffer", Bare, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
     GL_INVALID_OPERATION, GL_INVALID_OPERATION},
    {"stencil without a stencil buffer, of an unknown type: the format first", Bare, 1, 1,
     GL_STENCIL_INDEX, 0x1234, GL_INVALID_OPERATION, GL_INVALID_OPERATION},
};

TEST_F(PixelEntries, DrawAndReadCheckSizeFormatAndType) {
  for (const ArgCase &c : kArgs) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    glDrawPixels(c.width, c.height, c.format, c.type, gImage);
    EXPECT_EQ(glGetError(), c.drawError) << "drawing";
    std::vector<std::string> handed;
    if (c.drawError == GL_NO_ERROR)
      handed = {"waitIdle", "draw " + Text(c.width) + " " + Text(c.height) + " " +
                                Text(c.format) + " " + Text(c.type) + " image packed 0"};
    EXPECT_EQ(TakeCalls(), handed) << "drawing";

    glReadPixels(3, -4, c.width, c.height, c.format, c.type, gImage);
    EXPECT_EQ(glGetError(), c.readError) << "reading";
    handed.clear();
    if (c.readError == GL_NO_ERROR)
      handed = {"waitIdle", "read 3 -4 " + Text(c.width) + " " + Text(c.height) + " " +
                                Text(c.format) + " " + Text(c.type) + " image"};
    EXPECT_EQ(TakeCalls(), handed) << "reading";
    // The checks on their own agree.
    EXPECT_EQ(__glCheckDrawPixelArgs(gc, c.width, c.height, c.format, c.type),
              c.drawError == GL_NO_ERROR);
    EXPECT_EQ(glGetError(), c.drawError);
    EXPECT_EQ(__glCheckReadPixelArgs(gc, c.width, c.height, c.format, c.type),
              c.readError == GL_NO_ERROR);
    EXPECT_EQ(glGetError(), c.readError);
  }
}

struct CopyCase {
  const char *what;
  GlModes (*modes)();
  bool validRasterPos;
  GLsizei width, height;
  GLenum type;
  GLenum error;
  std::vector<std::string> handed;
};

const CopyCase kCopies[] = {
    {"colour in RGBA", Rgba, true, 4, 3, GL_COLOR, GL_NO_ERROR, {"waitIdle", "copy 1 2 4 3 6408"}},
    {"colour in colour index", ColorIndex, true, 4, 3, GL_COLOR, GL_NO_ERROR,
     {"waitIdle", "copy 1 2 4 3 6400"}},
    {"depth", Rgba, true, 4, 3, GL_DEPTH, GL_NO_ERROR, {"waitIdle", "copy 1 2 4 3 6402"}},
    {"stencil", Rgba, true, 4, 3, GL_STENCIL, GL_NO_ERROR, {"waitIdle", "copy 1 2 4 3 6401"}},
    {"depth without a depth buffer", Bare, true, 4, 3, GL_DEPTH, GL_INVALID_OPERATION, {}},
    {"depth without a depth buffer, raster position invalid", Bare, false, 4, 3, GL_DEPTH,
     GL_INVALID_OPERATION, {}},
    {"stencil without a stencil buffer, raster position invalid", Bare, false, 4, 3, GL_STENCIL,
     GL_INVALID_OPERATION, {}},
    {"unknown type, raster position invalid", Rgba, false, 4, 3, GL_RGBA, GL_INVALID_ENUM, {}},
    {"negative size before the type", Rgba, true, -4, 3, 0x1234, GL_INVALID_VALUE, {}},
    {"raster position invalid", Rgba, false, 4, 3, GL_COLOR, GL_NO_ERROR, {}},
    {"empty rectangle", Rgba, true, 0, 0, GL_COLOR, GL_NO_ERROR,
     {"waitIdle", "copy 1 2 0 0 6408"}},
};

TEST_F(PixelEntries, CopyChecksItsTypeBeforeTheRasterPosition) {
  for (const CopyCase &c : kCopies) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    gc->state.current.validRasterPos = c.validRasterPos;
    glCopyPixels(1, 2, c.width, c.height, c.type);
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_EQ(TakeCalls(), c.handed);
  }
}

// An invalid raster position draws nothing and records nothing; reading
// does not care.
TEST_F(PixelEntries, InvalidRasterPositionSkipsDrawingOnly) {
  gc->state.current.validRasterPos = 0;
  glDrawPixels(2, 2, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(TakeCalls().empty());
  glDrawPixels(2, 2, GL_RGB, GL_BITMAP, gImage);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM)) << "the checks come first";
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"waitIdle", "read 0 0 1 1 6408 5121 image"}));
}

// A null image of a non-empty rectangle passes the checks but moves nothing.
TEST_F(PixelEntries, NullImageMovesNothing) {
  glDrawPixels(2, 2, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glReadPixels(0, 0, 2, 2, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(TakeCalls().empty());
  glDrawPixels(2, 2, GL_RGBA, GL_BITMAP, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
  // An empty one has nothing to read through.
  glDrawPixels(0, 5, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(TakeCalls(),
            (std::vector<std::string>{"waitIdle", "draw 0 5 6408 5121 null packed 0"}));
}

// After a state change the first call validates once and then reaches the
// procedure once.
TEST_F(PixelEntries, FirstCallAfterAChangeValidatesOnce) {
  glPixelZoom(2.0f, 2.0f);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  glDrawPixels(1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  EXPECT_EQ(gValidations, 1);
  EXPECT_EQ(TakeCalls(),
            (std::vector<std::string>{"waitIdle", "draw 1 1 6408 5121 image packed 0"}));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  glReadBuffer(GL_FRONT);
  glCopyPixels(0, 0, 1, 1, GL_COLOR);
  EXPECT_EQ(gValidations, 3);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"waitIdle", "read 0 0 1 1 6408 5121 image",
                                                   "waitIdle", "copy 0 0 1 1 6408"}));
}

// In feedback the rectangle leaves its token and the raster position: the
// record a point at the same place leaves, with another token. Selecting
// leaves nothing.
TEST_F(PixelEntries, FeedbackWritesTheRasterVertex) {
  GLfloat buffer[64];
  const GLfloat kUnused = -12345.0f;
  for (GLfloat &v : buffer) v = kUnused;
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glRasterPos3f(0.25f, -0.5f, 0.125f);
  ASSERT_TRUE(gc->state.current.validRasterPos);
  glFeedbackBuffer(64, GL_3D_COLOR, buffer);
  glRenderMode(GL_FEEDBACK);
  ValidateNow();  // installs the feedback render procedures
  glDrawPixels(2, 2, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  glCopyPixels(0, 0, 2, 2, GL_COLOR);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  // Only reading reached a procedure.
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"waitIdle", "read 0 0 1 1 6408 5121 image"}));
  glBegin(GL_POINTS);
  glVertex3f(0.25f, -0.5f, 0.125f);
  glEnd();
  const GLint written = glRenderMode(GL_RENDER);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  // Three records of a token and x, y, z and four colour values.
  ASSERT_EQ(written, 24);
  EXPECT_EQ(buffer[0], GLfloat(GL_DRAW_PIXEL_TOKEN));
  EXPECT_EQ(buffer[8], GLfloat(GL_COPY_PIXEL_TOKEN));
  EXPECT_EQ(buffer[16], GLfloat(GL_POINT_TOKEN));
  for (int i = 1; i < 8; i++) {
    EXPECT_FLOAT_EQ(buffer[i], buffer[16 + i]) << "value " << i;
    EXPECT_EQ(buffer[8 + i], buffer[i]) << "value " << i;
  }
  EXPECT_EQ(buffer[24], kUnused);

  GLuint names[8];
  glSelectBuffer(8, names);
  glRenderMode(GL_SELECT);
  ValidateNow();
  TakeCalls();
  glDrawPixels(2, 2, GL_RGBA, GL_UNSIGNED_BYTE, gImage);
  glCopyPixels(0, 0, 2, 2, GL_COLOR);
  EXPECT_EQ(glRenderMode(GL_RENDER), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(TakeCalls().empty());
}

}  // namespace
}  // namespace pixel_entries_test

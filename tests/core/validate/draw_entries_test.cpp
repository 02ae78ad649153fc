// The drawing entries' begin-mode step: refused inside glBegin/glEnd;
// with validation pending, validated once and issued again through the
// current dispatch table; otherwise handed to the context's procedures.
#include <gtest/gtest.h>

#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "core/dispatch.h"
#include "core/gl_api.h"
#include "tests/support/recording_dispatch.h"
#include "tests/support/slot_shapes.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

// ---- What the entries hand over, as the recorders write it ----

const GLubyte kBits[8] = {};
GLubyte gPixels[64];
const GLfloat kFloats2[] = {0.5f, -1.0f};
const GLfloat kFloats3[] = {0.5f, -1.0f, 2.0f};
const GLfloat kFloats4[] = {0.5f, -1.0f, 2.0f, 0.25f};

std::string Text(double v) {
  char text[32];
  snprintf(text, sizeof text, "%.9g", v);
  return text;
}

std::string Pointer(const void *p) {
  if (p == kBits) return "bits";
  if (p == gPixels) return "pixels";
  if (p == kFloats2 || p == kFloats3 || p == kFloats4) return "the caller's floats";
  return p ? "another pointer" : "null";
}

void Log(std::string text) { Calls().push_back(text); }

void RecordWaitIdle(GlContext *) { Log("waitIdle"); }
void RecordColorClear(GlColorBuffer *) { Log("colour clear"); }
void RecordRect(GlContext *, GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
  Log("rect " + Text(x1) + " " + Text(y1) + " " + Text(x2) + " " + Text(y2));
}
template <int N>
void RecordRasterPos(GlContext *, const GLfloat *v) {
  std::string text = "rasterPos" + std::to_string(N);
  for (int i = 0; i < N; ++i) text += " " + Text(v[i]);
  if (v == kFloats2 || v == kFloats3 || v == kFloats4) text += " (" + Pointer(v) + ")";
  Log(text);
}
void RecordBitmap(GlContext *, GLsizei w, GLsizei h, GLfloat xo, GLfloat yo, GLfloat xm,
                  GLfloat ym, const GLubyte *bits) {
  Log("drawBitmap " + Text(w) + " " + Text(h) + " " + Text(xo) + " " + Text(yo) + " " +
      Text(xm) + " " + Text(ym) + " " + Pointer(bits));
}
void RecordDrawPixels(GlContext *, GLsizei w, GLsizei h, GLenum format, GLenum type,
                      const void *pixels, GLbool8 packed) {
  Log("drawPixels " + Text(w) + " " + Text(h) + " " + Text(format) + " " + Text(type) + " " +
      Pointer(pixels) + " packed " + Text(packed));
}
void RecordReadPixels(GlContext *, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                      GLenum type, void *pixels) {
  Log("readPixels " + Text(x) + " " + Text(y) + " " + Text(w) + " " + Text(h) + " " +
      Text(format) + " " + Text(type) + " " + Pointer(pixels));
}
void RecordCopyPixels(GlContext *, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format) {
  Log("copyPixels " + Text(x) + " " + Text(y) + " " + Text(w) + " " + Text(h) + " " +
      Text(format));
}

int gValidations;
void CountValidation(GlContext *) { ++gValidations; }

// ---- The entries ----

struct EntryCase {
  const char *what;
  int slot;
  std::function<void()> call;
  std::vector<std::string> handed;
};

const std::string kThird = "0.333333343";  // 1/3 rounded to float, not truncated

// Arrays of the vector forms.
const GLdouble dv[] = {1.0 / 3, -2.5, 4, 8};
const GLint iv[] = {3, -4, 5, -6};
const GLshort sv[] = {-7, 300, 1, 2};
const GLdouble rd1[] = {0.5, 1.0 / 3}, rd2[] = {-2, 3};
const GLfloat rf1[] = {0.5f, 1.5f}, rf2[] = {-2, 3};
const GLint ri1[] = {1, 2}, ri2[] = {-3, 4};
const GLshort rs1[] = {-5, 6}, rs2[] = {7, -8};

std::vector<EntryCase> Entries() {
  return {
      {"glClear", GL_SLOT_Clear, [] { glClear(GL_COLOR_BUFFER_BIT); },
       {"waitIdle", "colour clear"}},
      {"glAccum", GL_SLOT_Accum, [] { glAccum(0x100, 0.5f); }, {"waitIdle"}},
      {"glBitmap", GL_SLOT_Bitmap, [] { glBitmap(3, 2, 0.5f, 1.5f, 4, -2, kBits); },
       {"waitIdle", "drawBitmap 3 2 0.5 1.5 4 -2 bits"}},
      {"glDrawPixels", GL_SLOT_DrawPixels,
       [] { glDrawPixels(4, 3, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); },
       {"waitIdle", "drawPixels 4 3 6408 5121 pixels packed 0"}},
      {"glReadPixels", GL_SLOT_ReadPixels,
       [] { glReadPixels(1, 2, 4, 3, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); },
       {"waitIdle", "readPixels 1 2 4 3 6408 5121 pixels"}},
      {"glCopyPixels", GL_SLOT_CopyPixels, [] { glCopyPixels(1, 2, 4, 3, GL_COLOR); },
       {"waitIdle", "copyPixels 1 2 4 3 6408"}},
      {"glRasterPos2d", GL_SLOT_RasterPos2d, [] { glRasterPos2d(1.0 / 3, -2.5); },
       {"rasterPos2 " + kThird + " -2.5"}},
      {"glRasterPos2dv", GL_SLOT_RasterPos2dv, [] { glRasterPos2dv(dv); },
       {"rasterPos2 " + kThird + " -2.5"}},
      {"glRasterPos2f", GL_SLOT_RasterPos2f, [] { glRasterPos2f(0.5f, -1); },
       {"rasterPos2 0.5 -1"}},
      {"glRasterPos2fv", GL_SLOT_RasterPos2fv, [] { glRasterPos2fv(kFloats2); },
       {"rasterPos2 0.5 -1 (the caller's floats)"}},
      {"glRasterPos2i", GL_SLOT_RasterPos2i, [] { glRasterPos2i(3, -4); }, {"rasterPos2 3 -4"}},
      {"glRasterPos2iv", GL_SLOT_RasterPos2iv, [] { glRasterPos2iv(iv); }, {"rasterPos2 3 -4"}},
      {"glRasterPos2s", GL_SLOT_RasterPos2s, [] { glRasterPos2s(-7, 300); },
       {"rasterPos2 -7 300"}},
      {"glRasterPos2sv", GL_SLOT_RasterPos2sv, [] { glRasterPos2sv(sv); },
       {"rasterPos2 -7 300"}},
      {"glRasterPos3d", GL_SLOT_RasterPos3d, [] { glRasterPos3d(1.0 / 3, -2.5, 4); },
       {"rasterPos3 " + kThird + " -2.5 4"}},
      {"glRasterPos3dv", GL_SLOT_RasterPos3dv, [] { glRasterPos3dv(dv); },
       {"rasterPos3 " + kThird + " -2.5 4"}},
      {"glRasterPos3f", GL_SLOT_RasterPos3f, [] { glRasterPos3f(0.5f, -1, 2); },
       {"rasterPos3 0.5 -1 2"}},
      {"glRasterPos3fv", GL_SLOT_RasterPos3fv, [] { glRasterPos3fv(kFloats3); },
       {"rasterPos3 0.5 -1 2 (the caller's floats)"}},
      {"glRasterPos3i", GL_SLOT_RasterPos3i, [] { glRasterPos3i(3, -4, 5); },
       {"rasterPos3 3 -4 5"}},
      {"glRasterPos3iv", GL_SLOT_RasterPos3iv, [] { glRasterPos3iv(iv); },
       {"rasterPos3 3 -4 5"}},
      {"glRasterPos3s", GL_SLOT_RasterPos3s, [] { glRasterPos3s(-7, 300, 1); },
       {"rasterPos3 -7 300 1"}},
      {"glRasterPos3sv", GL_SLOT_RasterPos3sv, [] { glRasterPos3sv(sv); },
       {"rasterPos3 -7 300 1"}},
      {"glRasterPos4d", GL_SLOT_RasterPos4d, [] { glRasterPos4d(1.0 / 3, -2.5, 4, 8); },
       {"rasterPos4 " + kThird + " -2.5 4 8"}},
      {"glRasterPos4dv", GL_SLOT_RasterPos4dv, [] { glRasterPos4dv(dv); },
       {"rasterPos4 " + kThird + " -2.5 4 8"}},
      {"glRasterPos4f", GL_SLOT_RasterPos4f, [] { glRasterPos4f(0.5f, -1, 2, 0.25f); },
       {"rasterPos4 0.5 -1 2 0.25"}},
      {"glRasterPos4fv", GL_SLOT_RasterPos4fv, [] { glRasterPos4fv(kFloats4); },
       {"rasterPos4 0.5 -1 2 0.25 (the caller's floats)"}},
      {"glRasterPos4i", GL_SLOT_RasterPos4i, [] { glRasterPos4i(3, -4, 5, -6); },
       {"rasterPos4 3 -4 5 -6"}},
      {"glRasterPos4iv", GL_SLOT_RasterPos4iv, [] { glRasterPos4iv(iv); },
       {"rasterPos4 3 -4 5 -6"}},
      {"glRasterPos4s", GL_SLOT_RasterPos4s, [] { glRasterPos4s(-7, 300, 1, 2); },
       {"rasterPos4 -7 300 1 2"}},
      {"glRasterPos4sv", GL_SLOT_RasterPos4sv, [] { glRasterPos4sv(sv); },
       {"rasterPos4 -7 300 1 2"}},
      {"glRectd", GL_SLOT_Rectd, [] { glRectd(0.5, 1.0 / 3, -2, 3); },
       {"waitIdle", "rect 0.5 " + kThird + " -2 3"}},
      {"glRectdv", GL_SLOT_Rectdv, [] { glRectdv(rd1, rd2); },
       {"waitIdle", "rect 0.5 " + kThird + " -2 3"}},
      {"glRectf", GL_SLOT_Rectf, [] { glRectf(0.5f, 1.5f, -2, 3); },
       {"waitIdle", "rect 0.5 1.5 -2 3"}},
      {"glRectfv", GL_SLOT_Rectfv, [] { glRectfv(rf1, rf2); }, {"waitIdle", "rect 0.5 1.5 -2 3"}},
      {"glRecti", GL_SLOT_Recti, [] { glRecti(1, 2, -3, 4); }, {"waitIdle", "rect 1 2 -3 4"}},
      {"glRectiv", GL_SLOT_Rectiv, [] { glRectiv(ri1, ri2); }, {"waitIdle", "rect 1 2 -3 4"}},
      {"glRects", GL_SLOT_Rects, [] { glRects(-5, 6, 7, -8); }, {"waitIdle", "rect -5 6 7 -8"}},
      {"glRectsv", GL_SLOT_Rectsv, [] { glRectsv(rs1, rs2); }, {"waitIdle", "rect -5 6 7 -8"}},
  };
}

// ---- Recording entries for the dispatch table ----

using Recorded = RecordedCall;
Recorded &gRecorded = TheRecordedCall();
const GlDispatchState &kRecording = kRecordingDispatch;

int gSlotToReplace;
// A validation that only replaces the entry under test by its recorder.
void ValidateByReplacing(GlContext *gc) {
  ++gValidations;
  __glSetDispatchSlot(&gc->dispatch, gSlotToReplace,
                      __glDispatchSlot(&kRecording, gSlotToReplace));
}

class DrawingEntries : public ValidateTest {
 protected:
  void SetUp() override {
    ValidateTest::SetUp();
    InstallRecorders();
  }
  void InstallRecorders() {
    GlProcs &p = gc->procs;
    p.validate = CountValidation;
    p.waitIdle = RecordWaitIdle;
    p.rect = RecordRect;
    p.rasterPos[0] = RecordRasterPos<2>;
    p.rasterPos[1] = RecordRasterPos<3>;
    p.rasterPos[2] = RecordRasterPos<4>;
    p.drawBitmap = RecordBitmap;
    p.drawPixels = RecordDrawPixels;
    p.readPixels = RecordReadPixels;
    p.copyPixels = RecordCopyPixels;
    gc->frontBuffer.clear = gc->backBuffer.clear = RecordColorClear;
    gValidations = 0;
    TakeCalls();
    glGetError();
  }
};

TEST_F(DrawingEntries, HandOverAtOnceWhenTheProceduresAreValid) {
  for (const EntryCase &c : Entries()) {
    SCOPED_TRACE(c.what);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    c.call();
    EXPECT_EQ(TakeCalls(), c.handed);
    EXPECT_EQ(gValidations, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(DrawingEntries, ValidateOnceThenHandOver) {
  for (const EntryCase &c : Entries()) {
    SCOPED_TRACE(c.what);
    gValidations = 0;
    gc->beginMode = __GL_VALIDATE_PENDING;
    c.call();
    EXPECT_EQ(gValidations, 1);
    EXPECT_EQ(TakeCalls(), c.handed) << "handed over exactly once";
    EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(DrawingEntries, AreRefusedInsideBeginEnd) {
  for (const EntryCase &c : Entries()) {
    SCOPED_TRACE(c.what);
    gc->beginMode = __GL_IN_BEGIN;
    c.call();
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(gValidations, 0);
    EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  }
}

// After validating, the call goes through the current table again, with the
// caller's arguments: an entry validation replaced takes it.
TEST_F(DrawingEntries, IssueTheCallAgainThroughTheCurrentTable) {
  for (const EntryCase &c : Entries()) {
    SCOPED_TRACE(c.what);
    // What the recorder sees of the call made directly.
    const GlDispatchWord entry = __glDispatchSlot(&gc->dispatch, c.slot);
    __glSetDispatchSlot(&gc->dispatch, c.slot, __glDispatchSlot(&kRecording, c.slot));
    gRecorded = Recorded();
    c.call();
    const Recorded direct = gRecorded;
    ASSERT_EQ(direct.slot, c.slot);
    __glSetDispatchSlot(&gc->dispatch, c.slot, entry);

    gRecorded = Recorded();
    gValidations = 0;
    gSlotToReplace = c.slot;
    gc->procs.validate = ValidateByReplacing;
    gc->beginMode = __GL_VALIDATE_PENDING;
    c.call();
    EXPECT_EQ(gValidations, 1);
    EXPECT_EQ(gRecorded.slot, c.slot);
    EXPECT_EQ(gRecorded.calls, 1);
    ASSERT_EQ(gRecorded.count, direct.count);
    for (int i = 0; i < direct.count; ++i) {
      EXPECT_EQ(gRecorded.bits[i], direct.bits[i]) << "argument " << i;
      EXPECT_EQ(gRecorded.sizes[i], direct.sizes[i]) << "argument " << i;
    }
    EXPECT_TRUE(TakeCalls().empty()) << "the replaced procedure never ran";
    __glSetDispatchSlot(&gc->dispatch, c.slot, entry);
    gc->procs.validate = CountValidation;
  }
}

// ---- Arguments a caller could not get past without harm ----

struct ArgumentCase {
  const char *what;
  GlModes (*modes)();
  GLenum renderMode;
  void (*call)();
  GLenum error;
  std::vector<std::string> handed;
};

GlModes Rgba16() { return TestModes(); }

const ArgumentCase kArgumentCases[] = {
    {"bitmap of negative width", Rgba16, GL_RENDER, [] { glBitmap(-1, 2, 0, 0, 0, 0, kBits); },
     GL_INVALID_VALUE, {}},
    {"empty bitmap: it still moves the raster position", Rgba16, GL_RENDER,
     [] { glBitmap(0, 0, 0, 0, 3, 0, nullptr); }, GL_NO_ERROR,
     {"waitIdle", "drawBitmap 0 0 0 0 3 0 null"}},
    {"draw pixels of negative height", Rgba16, GL_RENDER,
     [] { glDrawPixels(4, -1, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); }, GL_INVALID_VALUE, {}},
    {"read pixels of negative width", Rgba16, GL_RENDER,
     [] { glReadPixels(0, 0, -4, 1, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); }, GL_INVALID_VALUE, {}},
    {"copy pixels of negative height", Rgba16, GL_RENDER,
     [] { glCopyPixels(0, 0, 1, -1, GL_COLOR); }, GL_INVALID_VALUE, {}},
    {"copy pixels of negative size and unknown type: the size first", Rgba16, GL_RENDER,
     [] { glCopyPixels(0, 0, -1, -1, 0x1234); }, GL_INVALID_VALUE, {}},
    {"copy colour indices", ColorIndex8, GL_RENDER, [] { glCopyPixels(0, 0, 1, 1, GL_COLOR); },
     GL_NO_ERROR, {"waitIdle", "copyPixels 0 0 1 1 6400"}},
    {"copy depth", Rgba16, GL_RENDER, [] { glCopyPixels(0, 0, 1, 1, GL_DEPTH); }, GL_NO_ERROR,
     {"waitIdle", "copyPixels 0 0 1 1 6402"}},
    {"copy stencil", Rgba16, GL_RENDER, [] { glCopyPixels(0, 0, 1, 1, GL_STENCIL); },
     GL_NO_ERROR, {"waitIdle", "copyPixels 0 0 1 1 6401"}},
    {"copy depth without a depth buffer", RgbaBare, GL_RENDER,
     [] { glCopyPixels(0, 0, 1, 1, GL_DEPTH); }, GL_INVALID_OPERATION, {}},
    {"copy stencil without a stencil buffer", RgbaBare, GL_RENDER,
     [] { glCopyPixels(0, 0, 1, 1, GL_STENCIL); }, GL_INVALID_OPERATION, {}},
    {"copy of an unknown type", Rgba16, GL_RENDER, [] { glCopyPixels(0, 0, 1, 1, GL_RGBA); },
     GL_INVALID_ENUM, {}},
    {"draw pixels while selecting", Rgba16, GL_SELECT,
     [] { glDrawPixels(1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); }, GL_NO_ERROR, {}},
    {"copy pixels in feedback", Rgba16, GL_FEEDBACK, [] { glCopyPixels(0, 0, 1, 1, GL_COLOR); },
     GL_NO_ERROR, {}},
    {"read pixels while selecting: the render mode does not matter", Rgba16, GL_SELECT,
     [] { glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, gPixels); }, GL_NO_ERROR,
     {"waitIdle", "readPixels 0 0 1 1 6408 5121 pixels"}},
};

TEST_F(DrawingEntries, RefuseWhatTheyCannotHandOver) {
  for (const ArgumentCase &c : kArgumentCases) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    InstallRecorders();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->renderMode = c.renderMode;
    c.call();
    gc->renderMode = GL_RENDER;
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_EQ(TakeCalls(), c.handed);
  }
}

}  // namespace
}  // namespace validate_test

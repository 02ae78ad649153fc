// Begin/End, errors, glRenderMode, glFlush and glFinish, called through the
// API entries as an application would.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_error.h"
#include "core/s_nop.h"
#include "core/s_prim.h"
#include "tests/core/api/bound_context.h"

namespace {

std::string CaseName(size_t index) { return "Case" + std::to_string(index); }

// ---- glBegin -------------------------------------------------------------------------------

struct BeginCase {
  int32_t beginMode;
  GLenum mode;
  GLenum error;
  int32_t beginModeAfter;
  int beginPrim;  // the begin procedure that runs, -1 for none
  int validations;
};

class Begin : public testing::TestWithParam<BeginCase> {};

TEST_P(Begin, FollowsTheBeginMode) {
  const BeginCase &c = GetParam();
  BoundContext bound;
  bound.gc()->beginMode = c.beginMode;
  glBegin(c.mode);
  EXPECT_EQ(bound.gc()->beginMode, c.beginModeAfter);
  EXPECT_EQ(BoundContext::counts().validate, c.validations);
  for (int m = 0; m < 10; ++m)
    EXPECT_EQ(BoundContext::counts().beginPrim[m], m == c.beginPrim ? 1 : 0) << "mode " << m;
  bound.gc()->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Begin,
    testing::Values(
        BeginCase{__GL_NOT_IN_BEGIN, GL_POINTS, GL_NO_ERROR, __GL_IN_BEGIN, 0, 0},
        BeginCase{__GL_NOT_IN_BEGIN, GL_LINE_LOOP, GL_NO_ERROR, __GL_IN_BEGIN, 2, 0},
        BeginCase{__GL_NOT_IN_BEGIN, GL_TRIANGLES, GL_NO_ERROR, __GL_IN_BEGIN, 4, 0},
        BeginCase{__GL_NOT_IN_BEGIN, GL_POLYGON, GL_NO_ERROR, __GL_IN_BEGIN, 9, 0},
        BeginCase{__GL_NOT_IN_BEGIN, GL_POLYGON + 1, GL_INVALID_ENUM, __GL_NOT_IN_BEGIN, -1, 0},
        BeginCase{__GL_NOT_IN_BEGIN, GLenum(-1), GL_INVALID_ENUM, __GL_NOT_IN_BEGIN, -1, 0},
        BeginCase{__GL_IN_BEGIN, GL_TRIANGLES, GL_INVALID_OPERATION, __GL_IN_BEGIN, -1, 0},
        BeginCase{__GL_VALIDATE_PENDING, GL_QUADS, GL_NO_ERROR, __GL_IN_BEGIN, 7, 1},
        BeginCase{__GL_VALIDATE_PENDING, GL_POLYGON + 1, GL_INVALID_ENUM, __GL_NOT_IN_BEGIN, -1,
                  1}),
    [](const testing::TestParamInfo<BeginCase> &info) { return CaseName(info.index); });

// After validating, glBegin runs again through the current table, so an entry
// that validation replaced takes the call.
GLenum reissued;
void GLENTRY ReplacedBegin(GLenum mode) { reissued = mode; }

TEST(BeginAfterValidation, ReachesTheEntryValidationInstalled) {
  BoundContext bound;
  reissued = 0;
  bound.gc()->procs.validate = [](GlContext *gc) { gc->dispatch.Begin = &ReplacedBegin; };
  bound.gc()->beginMode = __GL_VALIDATE_PENDING;
  glBegin(GL_LINE_STRIP);
  EXPECT_EQ(reissued, GLenum(GL_LINE_STRIP));
  EXPECT_EQ(bound.gc()->beginMode, __GL_NOT_IN_BEGIN);
  EXPECT_EQ(BoundContext::counts().beginPrim[GL_LINE_STRIP], 0);
}

// ---- glEnd ---------------------------------------------------------------------------------

struct EndCase {
  int32_t beginMode;
  GLenum error;
  int32_t beginModeAfter;
  int endPrims;
};

class End : public testing::TestWithParam<EndCase> {};

TEST_P(End, EndsOnlyAnOpenPrimitive) {
  const EndCase &c = GetParam();
  BoundContext bound;
  bound.gc()->beginMode = c.beginMode;
  glEnd();
  EXPECT_EQ(bound.gc()->beginMode, c.beginModeAfter);
  EXPECT_EQ(BoundContext::counts().endPrim, c.endPrims);
  bound.gc()->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, End,
    testing::Values(EndCase{__GL_NOT_IN_BEGIN, GL_INVALID_OPERATION, __GL_NOT_IN_BEGIN, 0},
                    // Right after a state change: still outside.
                    EndCase{__GL_VALIDATE_PENDING, GL_INVALID_OPERATION, __GL_VALIDATE_PENDING, 0},
                    EndCase{__GL_IN_BEGIN, GL_NO_ERROR, __GL_NOT_IN_BEGIN, 1}),
    [](const testing::TestParamInfo<EndCase> &info) { return CaseName(info.index); });

TEST(EndPrim, ReturnsThePrimitiveMachineToRest) {
  BoundContext bound;
  GlContext *gc = bound.gc();
  gc->procs.beginPrim[GL_TRIANGLES] = [](GlContext *gc) {
    gc->procs.primVertex = [](GlContext *, GlVertex *) {};
    gc->procs.endPrim = __glEndPrim;
  };
  glBegin(GL_TRIANGLES);
  EXPECT_NE(reinterpret_cast<void *>(gc->procs.primVertex), reinterpret_cast<void *>(&__glNop2));
  glEnd();
  EXPECT_EQ(reinterpret_cast<void *>(gc->procs.primVertex), reinterpret_cast<void *>(&__glNop2));
  EXPECT_EQ(gc->procs.endPrim, &__glEndPrim);
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
}

// ---- Errors ----------------------------------------------------------------------------------

TEST(Errors, TheFirstOneSticksUntilReadAndReadingClearsIt) {
  BoundContext bound;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  __glSetError(GL_INVALID_VALUE);
  __glSetError(GL_INVALID_ENUM);
  __glSetError(GL_OUT_OF_MEMORY);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glEnd();  // an error of a command
  glBegin(GL_POLYGON + 1);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Errors, AreKeptPerContext) {
  BoundContext first;
  __glSetError(GL_INVALID_VALUE);
  {
    BoundContext second;
    __glSetError(GL_STACK_OVERFLOW);
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
  }
  __glSetTLSCXValue(first.gc());
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
}

TEST(Errors, GetErrorInsideBeginReportsNothingAndClearsNothing) {
  BoundContext bound;
  bound.gc()->beginMode = __GL_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  bound.gc()->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));  // what the inside call recorded

  __glSetError(GL_INVALID_ENUM);
  bound.gc()->beginMode = __GL_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  bound.gc()->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));  // kept, not replaced
}

TEST(Errors, TheHookSeesEveryErrorEvenOnesNotRecorded) {
  BoundContext bound;
  bound.gc()->procs.errorHook = [](GlContext *, GLenum code) {
    BoundContext::counts().errorHook.push_back(code);
  };
  __glSetError(GL_INVALID_VALUE);
  __glSetError(GL_INVALID_ENUM);
  EXPECT_EQ(BoundContext::counts().errorHook,
            (std::vector<GLenum>{GL_INVALID_VALUE, GL_INVALID_ENUM}));
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
}

TEST(Errors, AnUnimplementedExtensionReportsInvalidOperation) {
  BoundContext bound;
  __glim_UnimplementedExtension();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
}

// ---- glFlush, glFinish ------------------------------------------------------------------------

struct FlushCase {
  int32_t beginMode;
  bool runs;
};

class FlushFinish : public testing::TestWithParam<FlushCase> {};

TEST_P(FlushFinish, RunTheirProceduresOutsideBeginOnly) {
  const FlushCase &c = GetParam();
  BoundContext bound;
  bound.gc()->beginMode = c.beginMode;
  glFlush();
  glFinish();
  EXPECT_EQ(BoundContext::counts().flush, c.runs ? 1 : 0);
  EXPECT_EQ(BoundContext::counts().finish, c.runs ? 1 : 0);
  EXPECT_EQ(bound.gc()->error, c.runs ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_OPERATION));
}

INSTANTIATE_TEST_SUITE_P(Cases, FlushFinish,
                         testing::Values(FlushCase{__GL_NOT_IN_BEGIN, true},
                                         FlushCase{__GL_VALIDATE_PENDING, true},
                                         FlushCase{__GL_IN_BEGIN, false}));

// ---- glRenderMode -----------------------------------------------------------------------------

struct RenderModeCase {
  const char *what;
  GLenum from;
  int32_t beginMode;
  bool feedbackBuffer, feedbackOverflow;
  int feedbackWritten;
  bool selectBuffer, selectOverflow;
  int hits;
  GLenum to;
  GLint result;
  GLenum error;
  GLenum modeAfter;
};

class RenderMode : public testing::TestWithParam<RenderModeCase> {};

TEST_P(RenderMode, ReportsTheModeLeftAndEntersTheNewOne) {
  const RenderModeCase &c = GetParam();
  BoundContext bound;
  GlContext *gc = bound.gc();
  GLfloat feedback[16];
  GLuint selection[16], names[4];
  gc->renderMode = c.from;
  gc->beginMode = c.beginMode;
  gc->feedback.buffer = c.feedbackBuffer ? feedback : nullptr;
  gc->feedback.size = c.feedbackBuffer ? 16 : 0;
  gc->feedback.cursor = gc->feedback.buffer ? feedback + c.feedbackWritten : nullptr;
  gc->feedback.overflow = c.feedbackOverflow;
  gc->select.buffer = c.selectBuffer ? selection : nullptr;
  gc->select.bufferSize = c.selectBuffer ? 16 : 0;
  gc->select.cursor = gc->select.buffer ? selection + 5 : nullptr;
  gc->select.overflow = c.selectOverflow;
  gc->select.hits = c.hits;
  gc->select.stack = names;
  gc->select.sp = names + 2;
  gc->select.hit = 1;
  gc->select.z = selection + 1;

  EXPECT_EQ(glRenderMode(c.to), c.result);

  EXPECT_EQ(gc->renderMode, c.modeAfter);
  bool changed = c.error != GL_INVALID_ENUM && c.beginMode != __GL_IN_BEGIN;
  EXPECT_EQ(gc->beginMode, changed ? __GL_VALIDATE_PENDING : c.beginMode);
  EXPECT_EQ(gc->dirtyMask, changed ? 0x1u : 0u);
  // Entering a mode with its buffer starts it afresh.
  bool feedbackStarts = changed && c.to == GL_FEEDBACK && c.feedbackBuffer;
  bool selectStarts = changed && c.to == GL_SELECT && c.selectBuffer;
  if (feedbackStarts) {
    EXPECT_EQ(gc->feedback.cursor, feedback);
    EXPECT_EQ(gc->feedback.overflow, 0);
  }
  if (selectStarts) {
    EXPECT_EQ(gc->select.cursor, selection);
    EXPECT_EQ(gc->select.overflow, 0);
    EXPECT_EQ(gc->select.sp, names);
    EXPECT_EQ(gc->select.hit, 0);
    EXPECT_EQ(gc->select.hits, 0);
    EXPECT_EQ(gc->select.z, nullptr);
  } else {
    EXPECT_EQ(gc->select.sp, names + 2);
    EXPECT_EQ(gc->select.hits, c.hits);
  }
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), c.error);
}

// from, beginMode, feedback buffer/overflow/written, select buffer/overflow/hits, to, result,
// error, mode after
INSTANTIATE_TEST_SUITE_P(
    Cases, RenderMode,
    testing::Values(
        RenderModeCase{"render to render", GL_RENDER, 0, false, false, 0, false, false, 0,
                       GL_RENDER, 0, GL_NO_ERROR, GL_RENDER},
        RenderModeCase{"inside Begin", GL_FEEDBACK, __GL_IN_BEGIN, true, false, 3, false, false, 0,
                       GL_RENDER, 0, GL_INVALID_OPERATION, GL_FEEDBACK},
        RenderModeCase{"unknown mode", GL_SELECT, 0, false, false, 0, true, false, 2,
                       GL_SELECT + 1, 0, GL_INVALID_ENUM, GL_SELECT},
        RenderModeCase{"mode 0", GL_RENDER, 0, false, false, 0, false, false, 0, 0, 0,
                       GL_INVALID_ENUM, GL_RENDER},
        RenderModeCase{"leaving feedback: values written", GL_FEEDBACK, 0, true, false, 7, false,
                       false, 0, GL_RENDER, 7, GL_NO_ERROR, GL_RENDER},
        RenderModeCase{"leaving feedback after overflow", GL_FEEDBACK, 0, true, true, 16, false,
                       false, 0, GL_RENDER, -1, GL_NO_ERROR, GL_RENDER},
        RenderModeCase{"leaving selection: hits", GL_SELECT, 0, false, false, 0, true, false, 3,
                       GL_RENDER, 3, GL_NO_ERROR, GL_RENDER},
        RenderModeCase{"leaving selection after overflow", GL_SELECT, 0, false, false, 0, true,
                       true, 3, GL_RENDER, -1, GL_NO_ERROR, GL_RENDER},
        RenderModeCase{"entering feedback", GL_RENDER, 0, true, true, 9, false, false, 0,
                       GL_FEEDBACK, 0, GL_NO_ERROR, GL_FEEDBACK},
        RenderModeCase{"entering selection", GL_RENDER, 0, false, false, 0, true, true, 4,
                       GL_SELECT, 0, GL_NO_ERROR, GL_SELECT},
        RenderModeCase{"selection again", GL_SELECT, 0, false, false, 0, true, false, 4, GL_SELECT,
                       4, GL_NO_ERROR, GL_SELECT},
        // Without its buffer the new mode is reported, yet it stands.
        RenderModeCase{"feedback without a buffer", GL_RENDER, 0, false, false, 0, false, false, 0,
                       GL_FEEDBACK, 0, GL_INVALID_OPERATION, GL_FEEDBACK},
        RenderModeCase{"selection without a buffer", GL_RENDER, 0, false, false, 0, false, false,
                       0, GL_SELECT, 0, GL_INVALID_OPERATION, GL_SELECT},
        RenderModeCase{"from selection to feedback without a buffer", GL_SELECT, 0, false, false,
                       0, true, false, 2, GL_FEEDBACK, 2, GL_INVALID_OPERATION, GL_FEEDBACK},
        RenderModeCase{"validation pending", GL_RENDER, __GL_VALIDATE_PENDING, false, false, 0,
                       false, false, 0, GL_RENDER, 0, GL_NO_ERROR, GL_RENDER}),
    [](const testing::TestParamInfo<RenderModeCase> &info) { return CaseName(info.index); });

}  // namespace

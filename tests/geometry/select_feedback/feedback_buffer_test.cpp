// The feedback buffer through the API: the buffer cut at every value, the
// entries' errors, and selection and feedback entries inside glBegin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/geometry/select_feedback/feedback_layout.h"

namespace sf_test {
namespace {

// glPassThrough, a point and a line: 13 values in GL_3D.
void PassPointLine(GLfloat *buffer, GLsizei size) {
  glFeedbackBuffer(size, GL_3D, buffer);
  glRenderMode(GL_FEEDBACK);
  glPassThrough(7.0f);
  glBegin(GL_POINTS);
  Give(kRed, true);
  glEnd();
  glBegin(GL_LINES);
  Give(kGreen, true);
  Give(kBlue, true);
  glEnd();
}

TEST_F(Feedback, AFullBufferKeepsWhatFit) {
  const std::vector<In> v = {kRed, kGreen, kBlue};
  const std::vector<GLfloat> full =
      Layout(GL_3D, true, v, {T(kPass), T(7), T(kPoint), Vx(0), T(kReset), Vx(1), Vx(2)});
  ASSERT_EQ(full.size(), 13u);
  for (size_t size = 0; size <= full.size() + 1; ++size) {
    std::vector<GLfloat> buffer(full.size() + 4, -12345.0f);
    PassPointLine(buffer.data(), GLsizei(size));
    EXPECT_EQ(glRenderMode(GL_RENDER), size >= full.size() ? GLint(full.size()) : -1) << size;
    std::vector<GLfloat> want = full;
    want.resize(std::min(size, full.size()));
    want.resize(buffer.size(), -12345.0f);
    ExpectValues(buffer, want, "size " + std::to_string(size));
  }
}

TEST_F(Feedback, PassThroughOutsideFeedbackWritesNothing) {
  GLfloat buffer[4] = {};
  glFeedbackBuffer(4, GL_2D, buffer);
  for (GLenum mode : {GLenum(GL_RENDER), GLenum(GL_SELECT)}) {
    GLuint names[4];
    glSelectBuffer(4, names);
    glRenderMode(mode);
    glPassThrough(1.0f);
    EXPECT_EQ(gc->feedback.cursor, buffer);
    glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

struct BufferCall {
  GLsizei size;
  GLenum type;
  bool inFeedback;
  GLenum error;
};

const BufferCall kBufferCalls[] = {
    {4, GL_2D - 1, false, GL_INVALID_ENUM},
    {4, GL_4D_COLOR_TEXTURE + 1, false, GL_INVALID_ENUM},
    {-1, GL_4D_COLOR_TEXTURE + 1, false, GL_INVALID_ENUM},
    {-1, GL_3D, false, GL_INVALID_VALUE},
    {4, GL_3D, true, GL_INVALID_OPERATION},
    {0, GL_4D_COLOR_TEXTURE, false, GL_NO_ERROR},
};

TEST_F(Feedback, FeedbackBufferErrorsKeepTheBufferInForce) {
  for (const BufferCall &c : kBufferCalls) {
    GLfloat first[4], other[4];
    glFeedbackBuffer(4, GL_2D, first);
    if (c.inFeedback) glRenderMode(GL_FEEDBACK);
    glFeedbackBuffer(c.size, c.type, other);
    EXPECT_EQ(glGetError(), c.error) << c.size << " " << c.type;
    const bool taken = c.error == GL_NO_ERROR;
    EXPECT_EQ(gc->feedback.buffer, taken ? other : first) << c.size << " " << c.type;
    EXPECT_EQ(gc->feedback.type, taken ? c.type : GLenum(GL_2D));
    glRenderMode(GL_RENDER);
  }
}

// A buffer given as null with a size: entering reports the error and the
// mode stands; records then write nowhere.
TEST_F(Feedback, WithoutABufferNothingIsWritten) {
  glFeedbackBuffer(64, GL_3D, nullptr);
  glRenderMode(GL_FEEDBACK);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  glPassThrough(1.0f);
  glBegin(GL_TRIANGLES);
  Give(kRed, true);
  Give(kGreen, true);
  Give(kBlue, true);
  glEnd();
  EXPECT_EQ(glRenderMode(GL_RENDER), -1);
}

using EntryCall = void (*)();
struct InsideBegin {
  const char *name;
  EntryCall call;
};

GLfloat gValues[4];
GLuint gNames[4];
const InsideBegin kInsideBegin[] = {
    {"glFeedbackBuffer", [] { glFeedbackBuffer(4, GL_2D, gValues); }},
    {"glPassThrough", [] { glPassThrough(1.0f); }},
    {"glSelectBuffer", [] { glSelectBuffer(4, gNames); }},
    {"glInitNames", [] { glInitNames(); }},
    {"glLoadName", [] { glLoadName(1); }},
    {"glPushName", [] { glPushName(1); }},
    {"glPopName", [] { glPopName(); }},
};

TEST_F(Feedback, SelectionAndFeedbackEntriesAreRefusedInsideBegin) {
  GLuint names[4];
  glSelectBuffer(4, names);
  GLfloat values[4];
  glFeedbackBuffer(4, GL_2D, values);
  for (GLenum mode : {GLenum(GL_RENDER), GLenum(GL_SELECT), GLenum(GL_FEEDBACK)}) {
    for (const InsideBegin &c : kInsideBegin) {
      glRenderMode(mode);
      if (mode == GL_SELECT) glPushName(3);
      glBegin(GL_POINTS);
      c.call();
      glEnd();
      EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION)) << c.name << " " << mode;
      EXPECT_EQ(gc->feedback.buffer, values) << c.name;
      EXPECT_EQ(gc->select.buffer, names) << c.name;
      if (mode == GL_SELECT) {
        EXPECT_EQ(gc->select.sp - gc->select.stack, 1) << c.name;
      } else if (mode == GL_FEEDBACK) {
        EXPECT_EQ(gc->feedback.cursor, values) << c.name;
      }
      glRenderMode(GL_RENDER);
    }
  }
}

}  // namespace
}  // namespace sf_test

// Selection through the API: hit records for a table of scenes at every
// depth width, the buffer cut at every word, the name stack's limits and
// errors, and face culling of hits.
#include <gtest/gtest.h>

#include <vector>

#include "tests/geometry/select_feedback/sf_fixture.h"

namespace sf_test {
namespace {

// Object z of the near plane, the middle and the far plane, and the hit
// depths they give whatever the depth buffer's width.
constexpr GLfloat kNear = 1.0f, kMid = 0.0f, kFar = -1.0f;
constexpr GLuint N = 0u, M = 2147482496u, F = 4294964992u;

enum Kind { Push, Load, Pop, Init, Point, Line, Tri, CwTri, Quad };
struct Op {
  Kind kind;
  GLuint name = 0;
  GLfloat z[4] = {};
};

void Perform(const Op &op) {
  const GLfloat *z = op.z;
  switch (op.kind) {
    case Push: glPushName(op.name); return;
    case Load: glLoadName(op.name); return;
    case Pop: glPopName(); return;
    case Init: glInitNames(); return;
    case Point:
      glBegin(GL_POINTS);
      glVertex3f(10, 10, z[0]);
      break;
    case Line:
      glBegin(GL_LINES);
      glVertex3f(10, 10, z[0]);
      glVertex3f(30, 10, z[1]);
      break;
    case Tri:
    case CwTri:
      glBegin(GL_TRIANGLES);
      glVertex3f(10, 10, z[0]);
      if (op.kind == Tri) glVertex3f(30, 10, z[1]);
      glVertex3f(10, 30, z[2]);
      if (op.kind == CwTri) glVertex3f(30, 10, z[1]);
      break;
    case Quad:
      glBegin(GL_QUADS);
      glVertex3f(10, 10, z[0]);
      glVertex3f(30, 10, z[1]);
      glVertex3f(30, 30, z[2]);
      glVertex3f(10, 30, z[3]);
      break;
  }
  glEnd();
}

struct Scene {
  const char *name;
  std::vector<Op> ops;
  std::vector<GLuint> records;
  GLint hits;
};

const Scene kScenes[] = {
    {"a point under two names", {{Push, 5}, {Push, 7}, {Point, 0, {kNear}}}, {2, N, N, 5, 7}, 1},
    {"no name, far point", {{Point, 0, {kFar}}}, {0, F, F}, 1},
    {"two triangles add to one record",
     {{Push, 1}, {Tri, 0, {kNear, kMid, kFar}}, {Tri, 0, {kMid, kMid, kMid}}},
     {1, N, F, 1},
     1},
    {"a loaded name begins a second record",
     {{Push, 1}, {Tri, 0, {kMid, kMid, kMid}}, {Load, 2}, {Tri, 0, {kFar, kFar, kFar}}},
     {1, M, M, 1, 1, F, F, 2},
     2},
    {"the same stack after a push and pop is a new record",
     {{Push, 3}, {Point, 0, {kMid}}, {Push, 4}, {Pop}, {Point, 0, {kFar}}},
     {1, M, M, 3, 1, F, F, 3},
     2},
    {"a line's two ends", {{Push, 9}, {Line, 0, {kFar, kNear}}}, {1, N, F, 9}, 1},
    {"a quad's four corners", {{Quad, 0, {kMid, kFar, kMid, kMid}}}, {0, M, F}, 1},
    {"init names empties the stack",
     {{Push, 1}, {Push, 2}, {Init}, {Point, 0, {kMid}}},
     {0, M, M},
     1},
    {"names without primitives record nothing", {{Push, 1}, {Load, 4}, {Pop}}, {}, 0},
};

class Selection : public SelectFeedbackTest {};

TEST_F(Selection, HitRecordsAreTheSameForEveryDepthWidth) {
  for (uint32_t depthBits : {16u, 24u, 32u}) {
    UseContext(true, depthBits);
    for (const Scene &scene : kScenes) {
      std::vector<GLuint> buffer(64, 0xDEADBEEFu);
      glSelectBuffer(GLsizei(buffer.size()), buffer.data());
      glRenderMode(GL_SELECT);
      for (const Op &op : scene.ops) Perform(op);
      const GLint hits = glRenderMode(GL_RENDER);
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << scene.name;
      EXPECT_EQ(hits, scene.hits) << scene.name << ", depth " << depthBits;
      buffer.resize(scene.records.size());
      EXPECT_EQ(buffer, scene.records) << scene.name << ", depth " << depthBits;
    }
  }
}

// Three records of 5, 5 and 4 words.
const std::vector<Op> kThreeRecords = {{Push, 5}, {Push, 7}, {Point, 0, {kNear}}, {Load, 8},
                                       {Point, 0, {kFar}}, {Pop}, {Point, 0, {kMid}}};
const std::vector<GLuint> kThreeRecordWords = {2, N, N, 5, 7, 2, F, F, 5, 8, 1, M, M, 5};
const size_t kRecordStarts[] = {0, 5, 10};

TEST_F(Selection, AFullBufferKeepsWhatFitAndCountsRecordsBegun) {
  const size_t full = kThreeRecordWords.size();
  for (size_t size = 0; size <= full + 1; ++size) {
    std::vector<GLuint> buffer(full + 4, 0xDEADBEEFu);
    glSelectBuffer(GLsizei(size), buffer.data());
    glRenderMode(GL_SELECT);
    for (const Op &op : kThreeRecords) Perform(op);
    int begun = 0;
    for (size_t start : kRecordStarts) begun += start < size ? 1 : 0;
    EXPECT_EQ(gc->select.hits, begun) << size;
    EXPECT_EQ(glRenderMode(GL_RENDER), size >= full ? 3 : -1) << size;
    for (size_t i = 0; i < buffer.size(); ++i) {
      const GLuint want = i < size && i < full ? kThreeRecordWords[i] : 0xDEADBEEFu;
      EXPECT_EQ(buffer[i], want) << "size " << size << ", word " << i;
    }
  }
}

TEST_F(Selection, TheNameStackHoldsTheMostNamesAndRefusesOneMore) {
  const int32_t most = gc->constants.maxNameStackDepth;
  ASSERT_EQ(most, 128);
  std::vector<GLuint> buffer(most + 8, 0);
  glSelectBuffer(GLsizei(buffer.size()), buffer.data());
  glRenderMode(GL_SELECT);
  for (int32_t i = 0; i < most; ++i) glPushName(GLuint(100 + i));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glPushName(1);
  EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
  Perform({Point, 0, {kMid}});
  EXPECT_EQ(glRenderMode(GL_RENDER), 1);
  EXPECT_EQ(buffer[0], GLuint(most));
  EXPECT_EQ(buffer[3], 100u);
  EXPECT_EQ(buffer[3 + most - 1], GLuint(100 + most - 1));
}

struct StackError {
  const char *name;
  std::vector<Op> before;
  Op call;
  GLenum error;
  std::vector<GLuint> record;  // of a point drawn afterwards
};

const StackError kStackErrors[] = {
    {"pop on an empty stack", {}, {Pop}, GL_STACK_UNDERFLOW, {0, M, M}},
    {"load on an empty stack", {}, {Load, 4}, GL_INVALID_OPERATION, {0, M, M}},
    {"pop after init names", {{Push, 2}, {Init}}, {Pop}, GL_STACK_UNDERFLOW, {0, M, M}},
    {"pop of the last name", {{Push, 2}}, {Pop}, GL_NO_ERROR, {0, M, M}},
    {"load replaces the top", {{Push, 2}, {Push, 3}}, {Load, 4}, GL_NO_ERROR, {2, M, M, 2, 4}},
};

TEST_F(Selection, NameStackErrorsLeaveTheStackAsItWas) {
  for (const StackError &c : kStackErrors) {
    std::vector<GLuint> buffer(16, 0xDEADBEEFu);
    glSelectBuffer(GLsizei(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    for (const Op &op : c.before) Perform(op);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << c.name;
    Perform(c.call);
    EXPECT_EQ(glGetError(), c.error) << c.name;
    Perform({Point, 0, {kMid}});
    EXPECT_EQ(glRenderMode(GL_RENDER), 1) << c.name;
    buffer.resize(c.record.size());
    EXPECT_EQ(buffer, c.record) << c.name;
  }
}

TEST_F(Selection, NameEntriesOutsideSelectionChangeNothing) {
  const Op calls[] = {{Push, 1}, {Load, 2}, {Pop}, {Init}};
  GLfloat values[8];
  glFeedbackBuffer(8, GL_2D, values);
  for (GLenum mode : {GLenum(GL_RENDER), GLenum(GL_FEEDBACK)}) {
    glRenderMode(mode);
    for (const Op &call : calls) {
      GLuint *const sp = gc->select.sp;
      Perform(call);
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << mode << " " << call.kind;
      EXPECT_EQ(gc->select.sp, sp) << mode << " " << call.kind;
    }
    glRenderMode(GL_RENDER);
  }
}

TEST_F(Selection, SelectBufferIsRefusedForANegativeSizeAndInSelectionMode) {
  GLuint a[4], b[4];
  glSelectBuffer(-1, b);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(gc->select.buffer, nullptr);
  glSelectBuffer(4, a);
  glRenderMode(GL_SELECT);
  glSelectBuffer(4, b);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(gc->select.buffer, a);
  glRenderMode(GL_RENDER);
}

// Entering selection without a buffer reports the error and the mode
// stands; hits then write nowhere, and leaving reports the overflow.
TEST_F(Selection, WithoutABufferHitsWriteNothing) {
  for (GLsizei size : {0, 16}) {
    glSelectBuffer(size, nullptr);
    glRenderMode(GL_SELECT);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    glPushName(1);
    Perform({Tri, 0, {kMid, kMid, kMid}});
    EXPECT_EQ(gc->select.hits, 0);
    EXPECT_EQ(glRenderMode(GL_RENDER), -1) << size;
  }
}

// A session that leaves a record open, or cut before its first word, then
// a buffer given as null and selection entered without one: the later hits
// must neither reach the old buffer nor count.
struct Leftover {
  const char *name;
  GLsizei firstSize;
};

const Leftover kLeftovers[] = {
    {"a record left open", 16},
    {"a record cut before its first word", 0},
};

TEST_F(Selection, EnteringWithoutABufferForgetsTheLastSession) {
  for (const Leftover &c : kLeftovers) {
    std::vector<GLuint> old(16, 0xDEADBEEFu);
    glSelectBuffer(c.firstSize, old.data());
    glRenderMode(GL_SELECT);
    glPushName(1);
    Perform({Point, 0, {kMid}});
    glRenderMode(GL_RENDER);
    const std::vector<GLuint> before = old;
    glSelectBuffer(16, nullptr);
    glRenderMode(GL_SELECT);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION)) << c.name;
    Perform({Point, 0, {kFar}});
    Perform({Point, 0, {kNear}});
    EXPECT_EQ(glRenderMode(GL_RENDER), -1) << c.name;
    EXPECT_EQ(old, before) << c.name;
  }
}

struct Culling {
  GLenum frontFace, cull;
  Kind winding;  // Tri counter-clockwise, CwTri clockwise
  bool hit;
};

const Culling kCulling[] = {
    {GL_CCW, GL_BACK, Tri, true},        {GL_CCW, GL_BACK, CwTri, false},
    {GL_CCW, GL_FRONT, Tri, false},      {GL_CCW, GL_FRONT, CwTri, true},
    {GL_CW, GL_BACK, Tri, false},        {GL_CW, GL_BACK, CwTri, true},
    {GL_CW, GL_FRONT, Tri, true},        {GL_CW, GL_FRONT, CwTri, false},
    {GL_CCW, GL_FRONT_AND_BACK, Tri, false}, {GL_CW, GL_FRONT_AND_BACK, CwTri, false},
};

// The drawable's row order must not change which faces are culled.
TEST_F(Selection, CulledTrianglesRecordNoHitOnEitherRowOrder) {
  for (bool yInverted : {false, true}) {
    UseContext(true, 16, yInverted);
    for (const Culling &c : kCulling) {
      GLuint buffer[8] = {};
      glSelectBuffer(8, buffer);
      glFrontFace(c.frontFace);
      glCullFace(c.cull);
      glEnable(GL_CULL_FACE);
      glRenderMode(GL_SELECT);
      Perform({c.winding, 0, {kMid, kMid, kMid}});
      EXPECT_EQ(glRenderMode(GL_RENDER), c.hit ? 1 : 0)
          << c.frontFace << " " << c.cull << " " << c.winding << " inverted " << yInverted;
      glDisable(GL_CULL_FACE);
      glRenderMode(GL_SELECT);
      Perform({c.winding, 0, {kMid, kMid, kMid}});
      EXPECT_EQ(glRenderMode(GL_RENDER), 1);
    }
  }
}

}  // namespace
}  // namespace sf_test

// glPushAttrib / glPopAttrib and glPushClientAttrib / glPopClientAttrib on a
// bound context, read back through the state queries.
#include <gtest/gtest.h>

#include <string.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "core/s_attrib.h"
#include "tests/core/attrib/attrib_groups.h"
#include "tests/core/context/life_fixture.h"

namespace attrib_test {
namespace {

class AttribStack : public life_test::BoundContextTest {
 protected:
  void Bound() override { ValidatePending(); }
  GLint Depth(GLenum pname) {
    GLint depth = -1;
    glGetIntegerv(pname, &depth);
    return depth;
  }
};

// Random state, a push of a random mask, random changes, a pop: the groups
// of the mask are as before the push, the others as after the changes.
TEST_F(AttribStack, APopRestoresExactlyTheGroupsOfTheMask) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    Rng rng(seed);
    ChangeServer(gc, rng);
    ValidatePending();
    const Snapshot before = TakeServer(gc);
    const uint32_t mask = seed == 1 ? 0 : seed == 2 ? GL_ALL_ATTRIB_BITS : uint32_t(rng());
    glPushAttrib(mask);
    ChangeServer(gc, rng);
    ValidatePending();
    const Snapshot after = TakeServer(gc);
    glPopAttrib();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ValidatePending();
    ExpectRestored(ServerGroups(), mask, TakeServer(gc), before, after,
                   "seed " + std::to_string(seed));
  }
}

TEST_F(AttribStack, AClientPopRestoresExactlyTheGroupsOfTheMask) {
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    Rng rng(seed);
    ChangeClient(gc, rng);
    const Snapshot before = TakeClient(gc);
    const uint32_t mask = seed == 1 ? 0 : seed == 2 ? GL_CLIENT_ALL_ATTRIB_BITS : uint32_t(rng());
    glPushClientAttrib(mask);
    ChangeClient(gc, rng);
    const Snapshot after = TakeClient(gc);
    glPopClientAttrib();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ValidatePending();
    ExpectRestored(ClientGroups(), mask, TakeClient(gc), before, after,
                   "seed " + std::to_string(seed));
  }
}

// Levels nest: each pop brings back its own push.
TEST_F(AttribStack, NestedLevelsComeBackInTurn) {
  Rng rng(99);
  std::vector<Snapshot> saved;
  for (int level = 0; level < 4; ++level) {
    ChangeServer(gc, rng);
    saved.push_back(TakeServer(gc));
    glPushAttrib(GL_ALL_ATTRIB_BITS);
  }
  ChangeServer(gc, rng);
  for (int level = 3; level >= 0; --level) {
    glPopAttrib();
    ValidatePending();
    const Snapshot now = TakeServer(gc);
    ExpectRestored(ServerGroups(), GL_ALL_ATTRIB_BITS, now, saved[size_t(level)], now,
                   "level " + std::to_string(level));
  }
}

struct StackKind {
  const char *name;
  void (*push)(GLbitfield);
  void (*pop)();
  GLenum depth;
  GLbitfield mask;
};

void PushServer(GLbitfield mask) { glPushAttrib(mask); }
void PopServer() { glPopAttrib(); }
void PushClient(GLbitfield mask) { glPushClientAttrib(mask); }
void PopClient() { glPopClientAttrib(); }

const StackKind kStacks[] = {
    {"server", PushServer, PopServer, GL_ATTRIB_STACK_DEPTH, GL_ALL_ATTRIB_BITS},
    {"client", PushClient, PopClient, GL_CLIENT_ATTRIB_STACK_DEPTH, GL_CLIENT_ALL_ATTRIB_BITS},
};

TEST_F(AttribStack, SixteenLevelsThenOverflowAndUnderflow) {
  for (const StackKind &k : kStacks) {
    SCOPED_TRACE(k.name);
    glLineWidth(2);
    for (int i = 1; i <= 16; ++i) {
      k.push(k.mask);
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      EXPECT_EQ(Depth(k.depth), i);
    }
    glLineWidth(3);
    k.push(k.mask);
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW));
    EXPECT_EQ(Depth(k.depth), 16);
    for (int i = 15; i >= 0; --i) {
      k.pop();
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      EXPECT_EQ(Depth(k.depth), i);
    }
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, k.depth == GL_ATTRIB_STACK_DEPTH ? 2.0f : 3.0f);
    glLineWidth(5);
    k.pop();
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_UNDERFLOW));
    EXPECT_EQ(Depth(k.depth), 0);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 5.0f) << "an underflow changes nothing";
  }
}

TEST_F(AttribStack, EveryEntryIsRefusedInsideBeginEnd) {
  const struct {
    const char *name;
    void (*call)();
  } calls[] = {
      {"push", [] { glPushAttrib(GL_ALL_ATTRIB_BITS); }},
      {"pop", [] { glPopAttrib(); }},
      {"client push", [] { glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS); }},
      {"client pop", [] { glPopClientAttrib(); }},
  };
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  for (const auto &c : calls) {
    SCOPED_TRACE(c.name);
    glBegin(GL_POINTS);
    c.call();
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), 1);
    EXPECT_EQ(Depth(GL_CLIENT_ATTRIB_STACK_DEPTH), 1);
  }
}

TEST_F(AttribStack, PushingNothingRestoresNothingButMarks) {
  glEnable(GL_FOG);
  glLineWidth(2);
  glPushAttrib(0);
  glDisable(GL_FOG);
  glLineWidth(4);
  ValidatePending();
  ASSERT_EQ(gc->dirtyMask, 0u);
  glPopAttrib();
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 4.0f);
}

// The array enables are picked again after a client pop, whatever its
// mask: the copies and batch start follow the restored arrays and lock.
TEST_F(AttribStack, AClientPopMarksTheArraysForValidation) {
  for (GLbitfield mask : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(mask);
    glPushClientAttrib(mask);
    ValidatePending();
    ASSERT_EQ(gc->dirtyMask, 0u);
    glPopClientAttrib();
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(gc->dirtyMask & (__GL_DIRTY_GENERIC | __GL_DIRTY_VERTEX_ARRAY),
              __GL_DIRTY_GENERIC | __GL_DIRTY_VERTEX_ARRAY);
    EXPECT_EQ((gc->dirtyMask & __GL_DIRTY_PIXEL) != 0, (mask & GL_CLIENT_PIXEL_STORE_BIT) != 0);
  }
}

// A list that pushes, changes and pops leaves the state as it found it.
TEST_F(AttribStack, AListPushesAndPopsWhenItRuns) {
  glNewList(1, GL_COMPILE);
  glPushAttrib(GL_LINE_BIT);
  glLineWidth(5);
  glPopAttrib();
  glEndList();
  EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), 0) << "compiling pushes nothing";
  glLineWidth(2);
  glCallList(1);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  GLfloat width = 0;
  glGetFloatv(GL_LINE_WIDTH, &width);
  EXPECT_EQ(width, 2.0f);
  EXPECT_EQ(Depth(GL_ATTRIB_STACK_DEPTH), 0);
}

int gClipBoxes, gScissors, gStipples;

// The enable group and the scissor group apply the scissor at the pop, not
// at the next validation; the stipple group converts its stipple.
TEST_F(AttribStack, ThePopAppliesScissorAndStippleAtOnce) {
  const struct {
    GLbitfield mask;
    int scissors, stipples;
    uint32_t dirty;
  } cases[] = {
      {GL_ENABLE_BIT, 1, 0, 0x1BF},
      {GL_SCISSOR_BIT, 1, 0, __GL_DIRTY_GENERIC | __GL_DIRTY_SCISSOR},
      {GL_POLYGON_STIPPLE_BIT, 0, 1, __GL_DIRTY_GENERIC | __GL_DIRTY_POLYGON},
      {GL_ENABLE_BIT | GL_SCISSOR_BIT, 2, 0, 0x1BF},
      {GL_DEPTH_BUFFER_BIT, 0, 0, __GL_DIRTY_GENERIC | __GL_DIRTY_DEPTH},
      {GL_LIGHTING_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_PIXEL_MODE_BIT, 0, 0,
       __GL_DIRTY_GENERIC | __GL_DIRTY_LIGHTING | __GL_DIRTY_LINE | __GL_DIRTY_POINT |
           __GL_DIRTY_PIXEL},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mask);
    glEnable(GL_SCISSOR_TEST);
    glScissor(2, 3, 20, 10);
    glPushAttrib(c.mask);
    glDisable(GL_SCISSOR_TEST);
    glScissor(0, 0, 5, 5);
    ValidatePending();
    GlProcs saved = gc->procs;
    gc->procs.computeClipBox = [](GlContext *) { gClipBoxes++; };
    gc->procs.applyScissor = [](GlContext *) -> GLbool8 {
      gScissors++;
      return 1;
    };
    gc->procs.convertStipple = [](GlContext *) { gStipples++; };
    gClipBoxes = gScissors = gStipples = 0;
    glPopAttrib();
    EXPECT_EQ(gScissors, c.scissors);
    EXPECT_EQ(gClipBoxes, c.scissors);
    EXPECT_EQ(gStipples, c.stipples);
    EXPECT_EQ(gc->dirtyMask, c.dirty);
    gc->procs = saved;
    ValidatePending();
    EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST) != 0, (c.mask & GL_ENABLE_BIT) || (c.mask & GL_SCISSOR_BIT));
  }
}

// The re-enabled scissor is in force at once: the clip box shrinks to it.
TEST_F(AttribStack, ReEnablingTheScissorRecomputesTheClipBox) {
  glScissor(4, 5, 10, 8);
  glEnable(GL_SCISSOR_TEST);
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_SCISSOR_TEST);
  ValidatePending();
  int32_t open[4];
  memcpy(open, gc->transform.clipBox, sizeof open);
  glPopAttrib();
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  EXPECT_NE(memcmp(open, gc->transform.clipBox, sizeof open), 0)
      << "the clip box follows the scissor before any validation";
  int32_t scissored[4];
  memcpy(scissored, gc->transform.clipBox, sizeof scissored);
  ValidatePending();
  EXPECT_EQ(memcmp(scissored, gc->transform.clipBox, sizeof scissored), 0)
      << "validation finds it done";
}

}  // namespace
}  // namespace attrib_test

// glEnable and glDisable in lists: the client arrays are client state,
// applied at once and never recorded; every other capability is recorded
// and applied when the list runs, an invalid one raising its error there.
#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "tests/dlist/fixture/dlist_fixture.h"

namespace dlist_test {
namespace {

struct ClientArray {
  GLenum cap;
  uint32_t fields, bit;
};
const ClientArray kClientArrays[] = {
    {GL_VERTEX_ARRAY, 0xFF, 0x20},           {GL_NORMAL_ARRAY, 0xF00, 0x1},
    {GL_COLOR_ARRAY, 0xFF000, 0x2},          {GL_INDEX_ARRAY, 0xF0000000, 0x8},
    {GL_TEXTURE_COORD_ARRAY, 0x7F00000, 0x4}, {GL_EDGE_FLAG_ARRAY, 0x8000000, 0x10},
};

TEST_F(DlistTest, ClientArraysAreEnabledAtOnceAndNeverRecorded) {
  for (GLenum mode : {GLenum(GL_COMPILE), GLenum(GL_COMPILE_AND_EXECUTE)}) {
    for (const ClientArray &a : kClientArrays) {
      SCOPED_TRACE(a.cap);
      GlVertexArrayMachine &va = gc->vertexArray;
      glNewList(1, mode);
      gc->beginMode = __GL_NOT_IN_BEGIN;
      gc->dirtyMask = 0;
      glEnable(a.cap);
      EXPECT_EQ(va.enableFields & a.fields, a.fields);
      EXPECT_EQ(va.enables & a.bit, a.bit);
      EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << "the array pickers run again";
      EXPECT_EQ(gc->dirtyMask & 0x200u, 0x200u);
      glDisable(a.cap);
      EXPECT_EQ(va.enableFields & a.fields, 0u);
      EXPECT_EQ(va.enables & a.bit, 0u);
      EXPECT_EQ(gc->dlist.listRec.first, nullptr);
      glEnable(a.cap);
      glEndList();
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
      glDisableClientState(a.cap);
      glCallList(1);
      EXPECT_EQ(va.enables & a.bit, 0u) << "the list holds nothing";
    }
  }
}

TEST_F(DlistTest, OtherCapabilitiesAreAppliedWhenTheListRuns) {
  glNewList(1, GL_COMPILE);
  glEnable(GL_LIGHTING);
  glDisable(GL_DITHER);
  std::vector<int> codes;
  for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) codes.push_back(op->opcode);
  EXPECT_EQ(codes, (std::vector<int>{GL_DLOP_Enable, GL_DLOP_Disable}));
  glEndList();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "not while compiling";
  EXPECT_TRUE(glIsEnabled(GL_DITHER));
  glCallList(1);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DITHER));
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  glNewList(2, GL_COMPILE_AND_EXECUTE);
  glDisable(GL_LIGHTING);
  glEndList();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "run as compiled";
}

TEST_F(DlistTest, AnInvalidCapabilityRaisesItsErrorAtEveryRun) {
  glNewList(1, GL_COMPILE);
  glEnable(0x1234);
  glDisable(0x1235);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  for (int run = 0; run < 2; ++run) {
    glCallList(1);
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

}  // namespace
}  // namespace dlist_test

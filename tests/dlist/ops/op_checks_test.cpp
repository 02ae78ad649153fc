// The checks compile routines make (error ops instead of the command's op)
// and the data layouts of the ops whose layout is not the arguments in
// order.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <vector>

#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "dlist/dl_ops.h"
#include "dlist/dl_tables.h"
#include "dlist/dl_opcodes.h"
#include "pixels/px_enums.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/call_log.h"

namespace dlist_test {
namespace {

struct OpRecord {
  int16_t opcode = -1;
  uint32_t size = 0;
  uint8_t aligned = 0;
  uint32_t contents = 0;
  int ops = 0;
  std::vector<uint8_t> data;
};

class OpChecksTest : public DlistTest {
 protected:
  void Bound() override {
    DlistTest::Bound();
    gc->dlist.optimizer = [](GlContext *, GlDlistRecord *) {};
  }

  // The op a call compiles into list 1 (GL_COMPILE).
  OpRecord CompileOne(const std::function<void()> &call) {
    OpRecord r;
    glNewList(1, GL_COMPILE);
    call();
    if (const GlDlistOp *op = gc->dlist.listRec.first) {
      r.opcode = op->opcode;
      r.size = op->size;
      r.aligned = op->aligned;
      const uint8_t *d = reinterpret_cast<const uint8_t *>(op->data);
      r.data.assign(d, d + op->size);
    }
    for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) r.ops++;
    r.contents = gc->dlist.listRec.contents;
    glEndList();
    return r;
  }

  // List 1 run with the logging table current.
  std::vector<LoggedCall> Replay() {
    const GlDispatchState saved = gc->dispatch;
    gc->dispatch = kLoggingDispatch;
    TheCallLog().clear();
    GlDlist *list = BoundList(gc, 1);
    list->execute(gc, list);
    gc->dispatch = saved;
    return TheCallLog();
  }
};

template <typename T>
T At(const std::vector<uint8_t> &data, size_t offset) {
  T v;
  memcpy(&v, data.data() + offset, sizeof v);
  return v;
}

const GLfloat kColor[4] = {0.25f, 0.5f, 0.75f, 1.0f};

struct CheckCase {
  const char *what;
  std::function<void()> call;
  int16_t opcode;
  GLenum errorWhenRun;
};

TEST_F(OpChecksTest, RefusedArgumentsCompileAnErrorOp) {
  static const GLfloat kHuge[1] = {200.0f};
  static const GLuint kNames[1] = {1};
  const CheckCase cases[] = {
      {"glBegin(42)", [] { glBegin(42); }, GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glLightf with a 4-value pname", [] { glLightf(GL_LIGHT0, GL_AMBIENT, 1.0f); },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glLightfv with an unknown pname", [] { glLightfv(GL_LIGHT0, 0x1234, kColor); },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glFogfv with an unknown pname", [] { glFogfv(0x1234, kColor); }, GL_DLOP_InvalidEnum,
       GL_INVALID_ENUM},
      {"glTexParameterf with the border colour",
       [] { glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, 1.0f); }, GL_DLOP_InvalidEnum,
       GL_INVALID_ENUM},
      {"glTexGendv with an unknown pname",
       [] {
         const GLdouble v[4] = {};
         glTexGendv(GL_S, 0x1234, v);
       },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glMaterialfv with a bad face", [] { glMaterialfv(0x1234, GL_DIFFUSE, kColor); },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glMaterialfv with shininess 200", [] { glMaterialfv(GL_FRONT, GL_SHININESS, kHuge); },
       GL_DLOP_InvalidValue, GL_INVALID_VALUE},
      {"glMaterialf with a colour pname", [] { glMaterialf(GL_FRONT, GL_DIFFUSE, 1.0f); },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      // Accepted by glMaterial, but not counted by the list compiler.
      {"glMaterialfv with the index shift", [] { glMaterialfv(GL_FRONT, GL_INDEX_SHIFT, kColor); },
       GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glPixelMapfv with mapsize -1", [] { glPixelMapfv(GL_PIXEL_MAP_R_TO_R, -1, kColor); },
       GL_DLOP_InvalidValue, GL_INVALID_VALUE},
      {"glPixelMapuiv beyond a signed size",
       [] { glPixelMapuiv(GL_PIXEL_MAP_R_TO_R, 0x20000000, kNames); }, GL_DLOP_InvalidValue,
       GL_INVALID_VALUE},
      {"glPixelMapusv beyond a signed size",
       [] {
         const GLushort v[1] = {};
         glPixelMapusv(GL_PIXEL_MAP_R_TO_R, 0x7FFFFFFF, v);
       },
       GL_DLOP_InvalidValue, GL_INVALID_VALUE},
      // The values are not read: far fewer than the size are given.
      {"glPixelMapfv beyond the largest map",
       [] { glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 1 << 24, kColor); }, GL_DLOP_InvalidValue,
       GL_INVALID_VALUE},
      {"glPixelMapuiv of an unknown map beyond the largest map",
       [] { glPixelMapuiv(0x1234, 1 << 24, kNames); }, GL_DLOP_InvalidEnum, GL_INVALID_ENUM},
      {"glPrioritizeTextures with n -1", [] { glPrioritizeTextures(-1, kNames, kColor); },
       GL_DLOP_InvalidValue, GL_INVALID_VALUE},
      {"glPrioritizeTextures beyond a signed size",
       [] { glPrioritizeTextures(0x10000000, kNames, kColor); }, GL_DLOP_InvalidValue,
       GL_INVALID_VALUE},
  };
  for (const CheckCase &c : cases) {
    SCOPED_TRACE(c.what);
    const OpRecord op = CompileOne(c.call);
    EXPECT_EQ(op.ops, 1);
    EXPECT_EQ(op.opcode, c.opcode);
    EXPECT_EQ(op.size, 0u);
    EXPECT_EQ(op.contents, 0u);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));  // not raised while compiling
    for (int run = 0; run < 2; ++run) {
      glCallList(1);
      EXPECT_EQ(TakeError(), c.errorWhenRun);
    }
  }
}

TEST_F(OpChecksTest, ErrorOpsRaiseOnceWhileCompilingAndExecutingAndAtEveryRun) {
  glNewList(1, GL_COMPILE_AND_EXECUTE);
  glBegin(42);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  glLightf(GL_LIGHT0, GL_AMBIENT, 1.0f);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  glPixelMapfv(GL_PIXEL_MAP_R_TO_R, -1, kColor);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  glEndList();
  glNewList(2, GL_COMPILE);
  glPixelMapfv(GL_PIXEL_MAP_R_TO_R, -1, kColor);
  glEndList();
  for (int run = 0; run < 2; ++run) {
    glCallList(2);
    EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(OpChecksTest, ValidBeginRecordsTheModesOpWithItsFlag) {
  const struct {
    GLenum mode;
    int16_t opcode;
  } modes[] = {{GL_POINTS, 1003},    {GL_LINES, 1002},          {GL_LINE_LOOP, 1000},
               {GL_LINE_STRIP, 1001}, {GL_TRIANGLES, 1007},     {GL_TRIANGLE_STRIP, 1005},
               {GL_TRIANGLE_FAN, 1006}, {GL_QUADS, 1009},       {GL_QUAD_STRIP, 1008},
               {GL_POLYGON, 1004}};
  for (const auto &m : modes) {
    const OpRecord op = CompileOne([&] { glBegin(m.mode); });
    EXPECT_EQ(op.opcode, m.opcode);
    EXPECT_EQ(op.contents, 0x80u);
    const std::vector<LoggedCall> calls = Replay();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].slot, GL_SLOT_Begin);
    EXPECT_EQ(calls[0].bits[0], m.mode);
  }
}

TEST_F(OpChecksTest, FogfAndFogiCompileUncheckedAndErrWhenRun) {
  OpRecord op = CompileOne([] { glFogf(0x1234, 1.0f); });
  EXPECT_EQ(op.opcode, GL_DLOP_Fogf);
  EXPECT_EQ(op.size, 8u);
  glCallList(1);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  op = CompileOne([] { glFogi(0x1234, 1); });
  EXPECT_EQ(op.opcode, GL_DLOP_Fogi);
  glCallList(1);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  // A valid scalar fog op replays through its own slot.
  op = CompileOne([] { glFogf(GL_FOG_DENSITY, 0.5f); });
  const std::vector<LoggedCall> calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, GL_SLOT_Fogf);
}

TEST_F(OpChecksTest, LayoutsThatAreNotTheArgumentsInOrder) {
  // Three shorts and two pad bytes.
  OpRecord op = CompileOne([] { glColor3s(-1, 0x1234, -32768); });
  EXPECT_EQ(op.opcode, 9);
  EXPECT_EQ(op.size, 8u);
  EXPECT_EQ(op.aligned, 0);
  EXPECT_EQ(At<GLshort>(op.data, 0), -1);
  EXPECT_EQ(At<GLshort>(op.data, 2), 0x1234);
  EXPECT_EQ(At<GLshort>(op.data, 4), -32768);

  // The doubles first, the plane after them.
  const GLdouble eq[4] = {1.5, -0.0, 3.25, 1e300};
  op = CompileOne([&] { glClipPlane(GL_CLIP_PLANE0 + 2, eq); });
  EXPECT_EQ(op.opcode, 76);
  EXPECT_EQ(op.size, 40u);
  EXPECT_EQ(op.aligned, 1);
  EXPECT_EQ(memcmp(op.data.data(), eq, sizeof eq), 0);
  EXPECT_EQ(At<GLenum>(op.data, 32), GLenum(GL_CLIP_PLANE0 + 2));
  std::vector<LoggedCall> calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].bits[0], GLenum(GL_CLIP_PLANE0 + 2));  // the plane first
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[1])), eq, sizeof eq), 0);

  // Ranges first, counts after them; replayed counts first.
  op = CompileOne([] { glMapGrid2d(7, 0.5, 1.5, 9, -2.5, 4.0); });
  EXPECT_EQ(op.opcode, 147);
  EXPECT_EQ(op.size, 40u);
  EXPECT_EQ(op.aligned, 1);
  EXPECT_EQ(At<GLdouble>(op.data, 0), 0.5);
  EXPECT_EQ(At<GLdouble>(op.data, 8), 1.5);
  EXPECT_EQ(At<GLdouble>(op.data, 16), -2.5);
  EXPECT_EQ(At<GLdouble>(op.data, 24), 4.0);
  EXPECT_EQ(At<GLint>(op.data, 32), 7);
  EXPECT_EQ(At<GLint>(op.data, 36), 9);
  calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, GL_SLOT_MapGrid2d);
  EXPECT_EQ(calls[0].bits[0], 7u);
  EXPECT_EQ(calls[0].bits[3], 9u);

  op = CompileOne([] { glMapGrid1d(5, 0.25, 0.75); });
  EXPECT_EQ(op.opcode, 145);
  EXPECT_EQ(op.size, 24u);
  EXPECT_EQ(At<GLdouble>(op.data, 0), 0.25);
  EXPECT_EQ(At<GLint>(op.data, 16), 5);

  // A scalar pname command records its vector op with one value.
  op = CompileOne([] { glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 2.0f); });
  EXPECT_EQ(op.opcode, 86);
  EXPECT_EQ(op.size, 12u);
  EXPECT_EQ(At<GLfloat>(op.data, 8), 2.0f);

  op = CompileOne([] { glMaterialfv(GL_FRONT, GL_SHININESS, kColor); });
  EXPECT_EQ(op.opcode, 96);
  EXPECT_EQ(op.size, 12u);
  EXPECT_EQ(op.contents, 0x100u);

  // The pattern in a word of its own; booleans as bytes.
  op = CompileOne([] { glLineStipple(3, 0xF0F0); });
  EXPECT_EQ(op.size, 8u);
  EXPECT_EQ(At<GLushort>(op.data, 4), 0xF0F0);
  op = CompileOne([] { glColorMask(1, 0, 0xFF, 2); });
  EXPECT_EQ(op.size, 4u);
  EXPECT_EQ(At<uint32_t>(op.data, 0), 0x02FF0001u);
  op = CompileOne([] { glDepthMask(0x81); });
  EXPECT_EQ(op.size, 4u);
  EXPECT_EQ(op.data[0], 0x81);
}

TEST_F(OpChecksTest, CountedOpsReplayWithPointersIntoTheList) {
  const GLushort map[3] = {0xFFFF, 0x8000, 1};
  OpRecord op = CompileOne([&] { glPixelMapusv(GL_PIXEL_MAP_R_TO_R, 3, map); });
  EXPECT_EQ(op.opcode, 168);
  EXPECT_EQ(op.size, 16u);
  EXPECT_EQ(memcmp(op.data.data() + 8, map, 6), 0);
  std::vector<LoggedCall> calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].bits[1], 3u);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[2])), map, 6), 0);

  op = CompileOne([] { glPrioritizeTextures(0, nullptr, nullptr); });
  EXPECT_EQ(op.opcode, 206);
  EXPECT_EQ(op.size, 4u);
  calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, GL_SLOT_PrioritizeTextures);
  EXPECT_EQ(calls[0].bits[0], 0u);

  const GLuint names[2] = {5, 6};
  const GLclampf priorities[2] = {0.25f, -0.0f};
  op = CompileOne([&] { glPrioritizeTextures(2, names, priorities); });
  EXPECT_EQ(op.size, 20u);
  calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[1])), names, 8), 0);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[2])), priorities, 8), 0);

  const GLdouble plane[4] = {1, 2, 3, 4};
  op = CompileOne([&] { glTexGendv(GL_S, GL_OBJECT_PLANE, plane); });
  EXPECT_EQ(op.opcode, 115);
  EXPECT_EQ(op.size, 40u);
  EXPECT_EQ(op.aligned, 1);
  calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, GL_SLOT_TexGendv);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[2])), plane, 32), 0);

  const GLfloat fog[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  op = CompileOne([&] { glFogfv(GL_FOG_COLOR, fog); });
  EXPECT_EQ(op.size, 20u);
  calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(uintptr_t(calls[0].bits[1])), fog, 16), 0);
}

// The reference's bits go through unchanged, whatever float they are.
TEST_F(OpChecksTest, IndexFuncReferenceKeepsItsBits) {
  const uint32_t bits = 0x7FC0BEEFu;
  GLfloat ref;
  memcpy(&ref, &bits, 4);
  const OpRecord op = CompileOne([&] { glIndexFuncVLX(GL_LESS, ref); });
  EXPECT_EQ(op.opcode, 208);
  EXPECT_EQ(At<uint32_t>(op.data, 4), bits);
  const std::vector<LoggedCall> calls = Replay();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(uint32_t(calls[0].bits[1]), bits);
}

}  // namespace
}  // namespace dlist_test

namespace dlist_test {
namespace {

TEST(ExecuteTables, NeverProducedCodesPointWhereTheirCommandsReplay) {
  EXPECT_EQ(__glListExecTable[3], nullptr);  // glBegin goes by mode
  const struct {
    int code;
    GlDlistExecProc execute;
  } rows[] = {{85, __glle_Lightfv},          {87, __glle_Lightiv},
              {89, __glle_LightModelfv},     {91, __glle_LightModeliv},
              {95, __glle_Materialfv},       {97, __glle_Materialiv},
              {104, __glle_TexParameterfv},  {106, __glle_TexParameteriv},
              {110, __glle_TexEnvfv},        {112, __glle_TexEnviv},
              {114, __glle_TexGendv},        {116, __glle_TexGenfv},
              {118, __glle_TexGeniv},        {190, __glle_DrawArraysEXT},
              {191, __glle_DrawArraysEXT},   {195, __glle_DrawArraysEXT},
              {196, __glle_DrawArraysEXT},   {197, __glle_DrawArraysEXT},
              {0, __glle_CallList},          {1, __glle_CallLists},
              {2, __glle_ListBase},          {79, __glle_Fogf},
              {207, __glle_Indexubv},        {209, __glle_IndexMaterialVLX}};
  for (const auto &r : rows) EXPECT_EQ(__glListExecTable[r.code], r.execute) << r.code;
  const GLubyte data[4] = {};
  EXPECT_EQ(__glle_DrawArraysEXT(data), data);
  EXPECT_EQ(__gl_GenericDlOps[0], __glle_Begin_LineLoop);
  EXPECT_EQ(__gl_GenericDlOps[9], __glle_Begin_Quads);
  EXPECT_EQ(__gl_GenericDlOps[11], __glle_InvalidEnum);
  EXPECT_EQ(__gl_GenericDlOps[14], __glle_FastMaterial);
  EXPECT_EQ(__gl_GenericDlOps[15], __glle_TableTooLarge);
}

}  // namespace
}  // namespace dlist_test

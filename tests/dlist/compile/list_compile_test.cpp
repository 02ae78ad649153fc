// Opening and closing lists on a real context: the checks of glNewList and
// glEndList, the tables the loader receives, op allocation failures, the
// immediate runs of GL_COMPILE_AND_EXECUTE and a list that moves threads.
#include <gtest/gtest.h>

#include "core/dispatch.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "dlist/dl_list_ops.h"
#include "dlist/dl_op.h"
#include "tests/dlist/fixture/dlist_fixture.h"

namespace dlist_test {
namespace {

struct NewListCase {
  const char *what;
  int32_t beginMode;
  GLuint openList;  // 0: none
  GLuint list;
  GLenum mode;
  GLenum error;
  bool opens;
};

const NewListCase kNewListCases[] = {
    {"compile", __GL_NOT_IN_BEGIN, 0, 5, GL_COMPILE, GL_NO_ERROR, true},
    {"compile and execute", __GL_NOT_IN_BEGIN, 0, 5, GL_COMPILE_AND_EXECUTE, GL_NO_ERROR, true},
    {"inside glBegin", __GL_IN_BEGIN, 0, 5, GL_COMPILE, GL_INVALID_OPERATION, false},
    {"inside glBegin, bad mode", __GL_IN_BEGIN, 0, 5, 0, GL_INVALID_OPERATION, false},
    {"bad mode", __GL_NOT_IN_BEGIN, 0, 5, 0, GL_INVALID_ENUM, false},
    {"bad mode while a list is open", __GL_NOT_IN_BEGIN, 3, 5, 0, GL_INVALID_ENUM, false},
    {"bad mode and name 0", __GL_NOT_IN_BEGIN, 0, 0, GL_COMPILE + 2, GL_INVALID_ENUM, false},
    {"second list", __GL_NOT_IN_BEGIN, 3, 5, GL_COMPILE, GL_INVALID_OPERATION, false},
    {"second list with name 0", __GL_NOT_IN_BEGIN, 3, 0, GL_COMPILE, GL_INVALID_OPERATION, false},
    {"name 0", __GL_NOT_IN_BEGIN, 0, 0, GL_COMPILE, GL_INVALID_VALUE, false},
};

class NewListChecks : public DlistTest, public testing::WithParamInterface<NewListCase> {};

TEST_P(NewListChecks, RecordTheFirstFailingCheck) {
  const NewListCase &c = GetParam();
  if (c.openList) {
    glNewList(c.openList, GL_COMPILE);
    ASSERT_TRUE(AppendTestOp(gc, 1));
  }
  TakeHanded();
  gc->beginMode = c.beginMode;
  glNewList(c.list, c.mode);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(TakeError(), c.error);
  EXPECT_EQ(gc->dlist.currentList, c.opens ? c.list : c.openList);
  EXPECT_EQ(TakeHanded().size(), c.opens ? 1u : 0u);

  // The list that was open goes on recording and binds at glEndList.
  if (c.openList) {
    ASSERT_TRUE(AppendTestOp(gc, 2));
    glEndList();
    glCallList(c.openList);
    EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2}));
  } else if (c.opens) {
    glEndList();
  }
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dlist.currentList, 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, NewListChecks, testing::ValuesIn(kNewListCases),
                         [](const auto &info) {
                           std::string name = info.param.what;
                           for (char &ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST_F(DlistTest, EndListWithoutAListOrInsideBeginChangesNothing) {
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  glNewList(4, GL_COMPILE);
  gc->beginMode = __GL_IN_BEGIN;
  glEndList();
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(gc->dlist.currentList, 4u);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

TEST_F(DlistTest, TheLoaderGetsTheCompileTableAtNewListAndTheImmediateOneAtEndList) {
  glNewList(3, GL_COMPILE);
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(memcmp(handed[0], &__glListCompState, sizeof(GlDispatchState)), 0);
  EXPECT_EQ(gc->dispatch.CallList, &__gllc_CallList);
  glEndList();
  handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0]->CallList, &__glim_CallList);
  EXPECT_EQ(gc->dispatch.CallList, &__glim_CallList);
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  // The mode stays readable after the list; the index does not.
  EXPECT_EQ(gc->dlist.mode, GLenum(GL_COMPILE));
  EXPECT_EQ(gc->dlist.currentList, 0u);
}

TEST_F(DlistTest, AFailedOpAllocationRecordsAndRunsNothingAndTheListGoesOn) {
  static int refuse;
  static void *(*realAlloc)(GlArena *, size_t);
  realAlloc = gc->procs.arenaAlloc;
  gc->procs.arenaAlloc = [](GlArena *arena, size_t n) -> void * {
    return refuse-- == 1 ? nullptr : realAlloc(arena, n);
  };
  for (GLenum mode : {GLenum(GL_COMPILE), GLenum(GL_COMPILE_AND_EXECUTE)}) {
    SCOPED_TRACE(mode);
    glNewList(6, mode);
    ASSERT_TRUE(AppendTestOp(gc, 1));
    refuse = 1;
    EXPECT_FALSE(AppendTestOp(gc, 2));
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
    glCallList(9);  // the next call is recorded (and, here, run) as usual
    refuse = 1;
    glCallList(9);  // refused in the allocator
    EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
    ASSERT_TRUE(AppendTestOp(gc, 3));
    EXPECT_EQ(gc->dlist.currentList, 6u);
    glEndList();
    const std::vector<uint32_t> ran =
        mode == GL_COMPILE ? std::vector<uint32_t>{} : std::vector<uint32_t>{1, 3};
    EXPECT_EQ(SeenIds(TakeSeen()), ran);

    GlDlist *list = BoundList(gc, 6);
    ASSERT_NE(list, nullptr);
    std::vector<uintptr_t> words = CodeWords(list);
    ASSERT_EQ(words.size(), 1 + 3 + 1 + 1 + 1 + 3 + 1u);
    EXPECT_EQ(words[4], reinterpret_cast<uintptr_t>(&__glle_CallList));
    EXPECT_EQ(words[5], 9u);
    glCallList(6);
    EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 3}));
  }
  gc->procs.arenaAlloc = realAlloc;
}

TEST_F(DlistTest, CompileAndExecuteRunsEachOpOnceThroughTheImmediateTableBeforeLinkingIt) {
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  TakeHanded();
  ASSERT_TRUE(AppendTestOp(gc, 7));
  // The op ran once with the immediate table current; it was not yet in the
  // chain while it ran, and is there now.
  std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].immediateCurrent);
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 2u) << "published for the run, and the compile table again";
  EXPECT_EQ(handed[1]->CallList, &__gllc_CallList);
  EXPECT_EQ(gc->dispatch.CallList, &__gllc_CallList);
  EXPECT_EQ(gc->dispatchState, &gc->savedDispatch);
  ASSERT_NE(gc->dlist.listRec.last, nullptr);
  EXPECT_EQ(gc->dlist.listRec.last->data[0], 7u);

  // A change the op makes to the immediate table is kept for after the list.
  ASSERT_TRUE(AppendTestOp(gc, 8, 12, false, false, Act::kPatchFlush));
  EXPECT_EQ(gc->savedDispatch.Flush, &kPatchedFlush);
  EXPECT_NE(gc->dispatch.Flush, &kPatchedFlush);
  glEndList();
  EXPECT_EQ(gc->dispatch.Flush, &kPatchedFlush);
  TakeSeen();

  // Run from the list, the ops see the table the list runs under.
  glCallList(2);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{7, 8}));
}

TEST_F(DlistTest, CompileAndExecuteReportsTheImmediateCallsError) {
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  gc->beginMode = __GL_IN_BEGIN;
  glListBase(40);  // compiled, and run at once: refused inside glBegin
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
  glListBase(30);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->state.list.listBase, 30u);
  glCallLists(-1, GL_INT, nullptr);  // an error op, run at once
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  glEndList();
  gc->state.list.listBase = 0;
  glCallList(2);  // outside glBegin both bases are taken; the error op raises its error
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(gc->state.list.listBase, 30u);
}

TEST_F(DlistTest, AnOpRunAtOnceCountsAsAnOutermostCall) {
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  gc->dlist.nesting = 70;  // left over from a call that hit the limit
  ASSERT_TRUE(AppendTestOp(gc, 1));
  EXPECT_EQ(gc->dlist.nesting, 0);
  glEndList();
  std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].nesting, 70) << "the op itself runs as it finds the count";
}

TEST_F(DlistTest, ABeginRunInCompileAndExecuteKeepsTheListOpenUntilItsEnd) {
  ValidatePending();
  glNewList(2, GL_COMPILE_AND_EXECUTE);
  ASSERT_TRUE(AppendTestOp(gc, 1, 12, false, false, Act::kBegin));
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  glEndList();
  EXPECT_EQ(gc->error, GLenum(GL_INVALID_OPERATION));
  gc->error = GL_NO_ERROR;
  EXPECT_EQ(gc->dlist.currentList, 2u);
  ASSERT_TRUE(AppendTestOp(gc, 2, 12, false, false, Act::kEnd));
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dlist.currentList, 0u);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2}));
}

TEST_F(DlistTest, AListOpenWhenItsContextMovesToAnotherThreadGoesOnCompilingThere) {
  glNewList(8, GL_COMPILE);
  ASSERT_TRUE(AppendTestOp(gc, 1));
  ASSERT_TRUE(life_test::Release(gc));
  OnThread([&] {
    ASSERT_TRUE(life_test::Bind(gc));
    EXPECT_EQ(gc->dispatch.CallList, &__gllc_CallList);
    ASSERT_TRUE(AppendTestOp(gc, 2));
    glEndList();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glCallList(8);
    ASSERT_TRUE(life_test::Release(gc));
  });
  ASSERT_TRUE(life_test::Bind(gc));
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2}));
  glCallList(8);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2}));
}

}  // namespace
}  // namespace dlist_test

// Switching tables: __glCopyDispatch and its hand-over to the operating
// system, the no-op table, and glNewList / glEndList.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <thread>
#include <vector>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "core/gl_api.h"
#include "tests/core/api/bound_context.h"

namespace {

typedef std::vector<const GlDispatchState *> Tables;

// A table that is none of the static ones: every slot points at one no-op.
GlDispatchState Patterned() {
  GlDispatchState t;
  memcpy(&t, &__glNopDispatchState, sizeof t);
  for (int s = 0; s < GL_SLOT_COUNT; ++s)
    __glSetDispatchSlot(&t, s, __glDispatchSlot(&__glNopDispatchState, GL_SLOT_EndList));
  return t;
}

// ---- __glCopyDispatch --------------------------------------------------------------------

enum Role { kNull, kSource, kCurrent, kOtherTable, kOtherContext };

struct CopyCase {
  const char *what;
  Role source, destination;
  bool copies;          // the destination ends up equal to the source table
  bool handsOverSource;  // the current context's callback receives the source
};

class CopyDispatch : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyDispatch, CopiesAndHandsOverAsTheRolesSay) {
  const CopyCase &c = GetParam();
  BoundContext bound;
  GlDispatchState source = Patterned();
  GlDispatchState other;
  memcpy(&other, &__glImmedState, sizeof other);
  auto otherContext = std::make_unique<GlContext>();
  memcpy(&otherContext->dispatch, &__glImmedState, sizeof other);
  otherContext->imports.other = &bound.wgl();  // would hand over through the same callback

  auto pick = [&](Role r) -> GlDispatchState * {
    switch (r) {
      case kNull: return nullptr;
      case kSource: return &source;
      case kCurrent: return &bound.gc()->dispatch;
      case kOtherTable: return &other;
      case kOtherContext: return &otherContext->dispatch;
    }
    return nullptr;
  };
  GlDispatchState *src = pick(c.source), *dst = pick(c.destination);
  GlDispatchState before{};
  if (dst) before = *dst;

  __glCopyDispatch(src, dst);

  if (dst) {
    if (c.copies)
      EXPECT_TRUE(SameTable(*dst, *src));
    else
      EXPECT_TRUE(SameTable(*dst, before));
  }
  Tables expected;
  if (c.handsOverSource) expected.push_back(src);
  EXPECT_EQ(BoundContext::handed(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyDispatch,
    testing::Values(
        CopyCase{"into the current table", kSource, kCurrent, true, true},
        CopyCase{"the current table onto itself: hand-over only", kCurrent, kCurrent, false, true},
        CopyCase{"into another table", kSource, kOtherTable, true, false},
        CopyCase{"into a context that is not current", kSource, kOtherContext, true, false},
        CopyCase{"out of the current table", kCurrent, kOtherTable, true, false},
        CopyCase{"from null", kNull, kCurrent, false, false},
        CopyCase{"into null", kSource, kNull, false, false}),
    [](const testing::TestParamInfo<CopyCase> &info) { return "Case" + std::to_string(info.index); });

TEST(CopyDispatchHandOver, NeedsACallbackInTheWindowSystemRecord) {
  BoundContext bound;
  GlDispatchState source = Patterned();
  bound.wgl().setProcTable = nullptr;
  __glCopyDispatch(&source, &bound.gc()->dispatch);
  EXPECT_TRUE(SameTable(bound.gc()->dispatch, source));
  bound.gc()->imports.other = nullptr;  // no window-system record at all
  __glCopyDispatch(&__glImmedState, &bound.gc()->dispatch);
  EXPECT_TRUE(SameTable(bound.gc()->dispatch, __glImmedState));
  EXPECT_TRUE(BoundContext::handed().empty());
}

TEST(CopyDispatchHandOver, OnAThreadWithoutAContextCopiesWithoutHandingOver) {
  std::thread fresh([] {
    GlDispatchState a = Patterned(), b;
    memcpy(&b, &__glImmedState, sizeof b);
    __glCopyDispatch(&a, &b);
    EXPECT_TRUE(SameTable(a, b));
    EXPECT_TRUE(SameTable(__wglPlaceholderContext.dispatch, __glNopDispatchState));
  });
  fresh.join();
}

// ---- Current table, export, no-op table ---------------------------------------------------

TEST(CurrentDispatch, IsTheCurrentContextsDispatch) {
  BoundContext bound;
  EXPECT_EQ(__glGetCurrentDispatch(), &bound.gc()->dispatch);
  EXPECT_EQ(__glDispatchExec(bound.gc()), &bound.gc()->dispatch);
  std::thread fresh([] { EXPECT_EQ(__glGetCurrentDispatch(), &__wglPlaceholderContext.dispatch); });
  fresh.join();
}

TEST(CoreNopDispatch, FillsTheCurrentTableWithoutHandingItOver) {
  BoundContext bound;
  __glCoreNopDispatch();
  EXPECT_TRUE(SameTable(bound.gc()->dispatch, __glNopDispatchState));
  EXPECT_TRUE(BoundContext::handed().empty());
  // The other tables of the context stay.
  EXPECT_TRUE(SameTable(bound.gc()->listCompDispatch, __glListCompState));
}

TEST(CoreNopDispatch, LeavesTheSharedPlaceholderAlone) {
  std::thread fresh([] {
    __glCoreNopDispatch();
    EXPECT_TRUE(SameTable(__wglPlaceholderContext.dispatch, __glNopDispatchState));
  });
  fresh.join();
}

// ---- glNewList and glEndList ----------------------------------------------------------------

TEST(ListCompileSwitch, NewListMakesTheListCompileTableCurrentAndEndListRestoresIt) {
  BoundContext bound;
  GlContext *gc = bound.gc();
  glNewList(1, GL_COMPILE);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // runs at once while compiling
  EXPECT_TRUE(SameTable(gc->dispatch, __glListCompState));
  EXPECT_TRUE(SameTable(gc->savedDispatch, __glImmedState));
  EXPECT_EQ(gc->dispatchState, &gc->savedDispatch);
  EXPECT_EQ(gc->dlist.currentList, 1u);
  EXPECT_EQ(gc->dlist.mode, GLenum(GL_COMPILE));
  EXPECT_EQ(BoundContext::handed(), Tables{&gc->listCompDispatch});

  glEndList();
  EXPECT_TRUE(SameTable(gc->dispatch, __glImmedState));
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  EXPECT_EQ(gc->dlist.currentList, 0u);
  EXPECT_EQ(gc->dlist.mode, GLenum(GL_COMPILE));  // kept for the queries
  EXPECT_EQ(BoundContext::handed(), (Tables{&gc->listCompDispatch, &gc->savedDispatch}));
}

TEST(ListCompileSwitch, CommandsThatAreNotCompiledStillRunWhileAListIsOpen) {
  BoundContext bound;
  GlContext *gc = bound.gc();
  glNewList(7, GL_COMPILE_AND_EXECUTE);
  ASSERT_EQ(gc->dlist.currentList, 7u);

  glFlush();
  glFinish();
  EXPECT_EQ(BoundContext::counts().flush, 1);
  EXPECT_EQ(BoundContext::counts().finish, 1);
  EXPECT_EQ(glRenderMode(GL_RENDER), 0);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);  // the render-mode change happened
  glNewList(8, GL_COMPILE);                          // runs, and refuses: a list is open
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(gc->dlist.currentList, 7u);

  // glBegin is compiled: it does not reach the immediate procedure.
  gc->beginMode = __GL_NOT_IN_BEGIN;
  glBegin(GL_POINTS);
  EXPECT_EQ(BoundContext::counts().beginPrim[GL_POINTS], 0);
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);

  glEndList();
  glBegin(GL_POINTS);
  EXPECT_EQ(BoundContext::counts().beginPrim[GL_POINTS], 1);
}

TEST(ListCompileSwitch, BeginListHookRunsWhenAListOpens) {
  BoundContext bound;
  static int opened;
  opened = 0;
  bound.gc()->dlist.beginList = [](GlContext *) { opened++; };
  glNewList(0, GL_COMPILE);  // refused
  EXPECT_EQ(opened, 0);
  glNewList(3, GL_COMPILE);
  EXPECT_EQ(opened, 1);
  glEndList();
}

struct NewListCase {
  const char *what;
  int32_t beginMode;
  GLuint openList;  // 0: none
  GLuint list;
  GLenum mode;
  GLenum error;
};

class NewListErrors : public testing::TestWithParam<NewListCase> {};

TEST_P(NewListErrors, RecordTheFirstFailingCheckAndChangeNothing) {
  const NewListCase &c = GetParam();
  BoundContext bound;
  GlContext *gc = bound.gc();
  if (c.openList) {
    glNewList(c.openList, GL_COMPILE);
    ASSERT_EQ(gc->dlist.currentList, c.openList);
  }
  gc->beginMode = c.beginMode;
  GlDispatchState before = gc->dispatch;
  size_t handed = BoundContext::handed().size();

  glNewList(c.list, c.mode);

  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), c.error);
  EXPECT_EQ(gc->dlist.currentList, c.openList);
  EXPECT_TRUE(SameTable(gc->dispatch, before));
  EXPECT_EQ(BoundContext::handed().size(), handed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewListErrors,
    testing::Values(
        NewListCase{"inside Begin", __GL_IN_BEGIN, 0, 1, GL_COMPILE, GL_INVALID_OPERATION},
        NewListCase{"inside Begin, bad mode", __GL_IN_BEGIN, 0, 1, 0, GL_INVALID_OPERATION},
        NewListCase{"bad mode", __GL_NOT_IN_BEGIN, 0, 1, 0, GL_INVALID_ENUM},
        NewListCase{"bad mode with a list open", __GL_NOT_IN_BEGIN, 5, 1, GL_COMPILE + 2,
                    GL_INVALID_ENUM},
        NewListCase{"a list open", __GL_NOT_IN_BEGIN, 5, 6, GL_COMPILE, GL_INVALID_OPERATION},
        NewListCase{"a list open, name 0", __GL_NOT_IN_BEGIN, 5, 0, GL_COMPILE,
                    GL_INVALID_OPERATION},
        NewListCase{"name 0", __GL_NOT_IN_BEGIN, 0, 0, GL_COMPILE, GL_INVALID_VALUE},
        NewListCase{"name 0, bad mode", __GL_NOT_IN_BEGIN, 0, 0, GL_SELECT, GL_INVALID_ENUM}),
    [](const testing::TestParamInfo<NewListCase> &info) {
      return "Case" + std::to_string(info.index);
    });

TEST(EndListErrors, WithoutAnOpenListOrInsideBegin) {
  BoundContext bound;
  GlContext *gc = bound.gc();
  glEndList();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_TRUE(SameTable(gc->dispatch, __glImmedState));
  EXPECT_TRUE(BoundContext::handed().empty());

  glNewList(2, GL_COMPILE);
  gc->beginMode = __GL_IN_BEGIN;
  glEndList();
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(gc->dlist.currentList, 2u);  // still open
  EXPECT_TRUE(SameTable(gc->dispatch, __glListCompState));
  glEndList();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(SameTable(gc->dispatch, __glImmedState));
}

}  // namespace

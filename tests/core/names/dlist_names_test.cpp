// The display-list state's use of the name manager: set-up and release of a
// context's list records, sharing them, glGenLists and the release of lists.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_arena.h"
#include "dlist/dl_names.h"
#include "tests/core/names/names_support.h"

namespace names_test {
namespace {

class DlistNames : public HeapCheckedTest {
 protected:
  void Bind(GlContext *gc, GLuint name, int id) {
    ASSERT_TRUE(__glNamesNewData(gc, gc->dlist.namesArray, name, NewTestList(id)));
  }
};

TEST_F(DlistNames, InitialisationMakesTheSharedRecordsButNoArena) {
  GlContext *gc = ctx.gc;
  gc->dlist.nesting = 5;
  gc->dlist.currentList = 9;
  __glInitDlistState(gc);
  EXPECT_EQ(gc->dlist.nesting, 0);
  EXPECT_EQ(gc->dlist.currentList, 0u);
  EXPECT_EQ(gc->dlist.malloc, gc->imports.malloc);
  EXPECT_EQ(gc->dlist.realloc, gc->imports.realloc);
  EXPECT_EQ(gc->dlist.free, gc->imports.free);
  ASSERT_NE(gc->dlist.dlistArray, nullptr);
  EXPECT_EQ(gc->dlist.dlistArray->refcount, 1);
  ASSERT_NE(gc->dlist.namesArray, nullptr);
  EXPECT_EQ(gc->dlist.namesArray->refcount, 1);
  EXPECT_EQ(gc->dlist.namesArray->dataInfo, &namesTypeInfo[GL_NAMES_DLIST]);
  EXPECT_EQ(gc->dlist.arena, nullptr) << "the first glNewList makes the arena";
  EXPECT_EQ(ctx.TakeError(), GL_NO_ERROR);
  // Records already present are kept.
  GlDlistArray *lists = gc->dlist.dlistArray;
  GlNamesArray *names = gc->dlist.namesArray;
  __glInitDlistState(gc);
  EXPECT_EQ(gc->dlist.dlistArray, lists);
  EXPECT_EQ(gc->dlist.namesArray, names);
  __glFreeDlistState(gc);
  EXPECT_EQ(gc->dlist.dlistArray, nullptr);
  EXPECT_EQ(gc->dlist.namesArray, nullptr);
}

TEST_F(DlistNames, RefusedRecordsAreReportedAndReleaseStillWorks) {
  struct Case {
    long refuse;  // allocation call refused
    bool haveLists, haveNames;
  } cases[] = {{1, false, true}, {2, true, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.refuse);
    GlContext *gc = ctx.gc;
    heap.FailAt(c.refuse);
    __glInitDlistState(gc);
    heap.FailAt(0);
    EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
    EXPECT_EQ(gc->dlist.dlistArray != nullptr, c.haveLists);
    EXPECT_EQ(gc->dlist.namesArray != nullptr, c.haveNames);
    // glGenLists on a context without a name manager gives nothing.
    if (!c.haveNames) {
      EXPECT_EQ(__glim_GenLists(3), 0u);
      EXPECT_EQ(ctx.TakeError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
    }
    __glFreeDlistState(gc);
    EXPECT_EQ(heap.Live(), 0);
  }
}

TEST_F(DlistNames, GenListsChecksItsArgumentsAndReservesNames) {
  __glInitDlistState(ctx.gc);
  struct Case {
    const char *what;
    int32_t beginMode;
    GLsizei range;
    GLuint result;
    GLenum error;
  } cases[] = {
      {"inside glBegin/glEnd", __GL_IN_BEGIN, 3, 0, GL_INVALID_OPERATION},
      {"negative range", __GL_NOT_IN_BEGIN, -1, 0, GL_INVALID_VALUE},
      {"negative range inside glBegin/glEnd", __GL_IN_BEGIN, -1, 0, GL_INVALID_OPERATION},
      {"range 0", __GL_NOT_IN_BEGIN, 0, 0, GL_NO_ERROR},
      {"three names", __GL_NOT_IN_BEGIN, 3, 1, GL_NO_ERROR},
      {"three more, with validation pending", __GL_VALIDATE_PENDING, 3, 4, GL_NO_ERROR},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ctx.gc->beginMode = c.beginMode;
    EXPECT_EQ(__glim_GenLists(c.range), c.result);
    EXPECT_EQ(ctx.TakeError(), c.error);
  }
  ctx.gc->beginMode = __GL_NOT_IN_BEGIN;
  GlNamesArray *names = ctx.gc->dlist.namesArray;
  EXPECT_EQ(ShapeText(Shape(names)), ShapeText({{1, 6, false}}));
  for (GLuint name = 1; name <= 6; ++name) EXPECT_TRUE(__glNamesIsName(ctx.gc, names, name));
  EXPECT_EQ(__glim_GenLists(1000000), 7u);
  EXPECT_EQ(ShapeText(Shape(names)), ShapeText({{1, 1000006, false}}));
  __glFreeDlistState(ctx.gc);
}

TEST_F(DlistNames, ReleasingTheStateFreesListsAndTheArena) {
  GlContext *gc = ctx.gc;
  __glInitDlistState(gc);
  Bind(gc, 1, 1);
  Bind(gc, 40, 2);
  gc->dlist.arena = gc->procs.newArena(gc);
  ASSERT_NE(gc->dlist.arena, nullptr);
  ASSERT_NE(gc->procs.arenaAlloc(gc->dlist.arena, 0x50000), nullptr);  // a second block
  __glFreeDlistState(gc);
  EXPECT_EQ(gc->dlist.arena, nullptr);
  EXPECT_EQ(FreedIds().size(), 2u);
  // Releasing twice finds nothing left to release.
  __glFreeDlistState(gc);
}

TEST_F(DlistNames, SharingTakesTheOtherContextsLists) {
  TestContext other;
  GlContext *a = other.gc, *b = ctx.gc;
  __glInitDlistState(a);
  __glInitDlistState(b);
  Bind(a, 1, 1);
  Bind(b, 1, 2);
  b->dlist.arena = b->procs.newArena(b);
  GlArena *arena = b->dlist.arena;

  __glShareDlist(b, a);
  EXPECT_EQ(FreedIds(), std::vector<int>{2}) << "b's own lists go";
  EXPECT_EQ(b->dlist.namesArray, a->dlist.namesArray);
  EXPECT_EQ(b->dlist.dlistArray, a->dlist.dlistArray);
  EXPECT_EQ(a->dlist.namesArray->refcount, 2);
  EXPECT_EQ(a->dlist.dlistArray->refcount, 2);
  EXPECT_EQ(b->dlist.arena, arena) << "the compile arena is the context's own";

  // Sharing again, or with itself, changes no count.
  __glShareDlist(b, a);
  __glShareDlist(a, a);
  __glShareDlist(b, b);
  EXPECT_EQ(a->dlist.namesArray->refcount, 2);
  EXPECT_EQ(a->dlist.dlistArray->refcount, 2);
  EXPECT_EQ(FreedIds(), std::vector<int>{2});

  // A list bound through one context is seen by the other and outlives the
  // first context's release.
  void *list = __glNamesLockData(b, b->dlist.namesArray, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(reinterpret_cast<TestList *>(list)->id, 1);
  __glNamesUnlockData(b, b->dlist.namesArray, list);
  __glFreeDlistState(a);
  EXPECT_EQ(FreedIds(), std::vector<int>{2});
  EXPECT_EQ(b->dlist.namesArray->refcount, 1);
  __glFreeDlistState(b);
  EXPECT_EQ(FreedIds(), (std::vector<int>{2, 1}));
}

TEST_F(DlistNames, DisposeFreesAListThroughItsOwnProcedureAtZero) {
  TestList *item = NewTestList(4);
  item->list.refcount = 2;
  __glDisposeDlist(ctx.gc, item);
  EXPECT_EQ(item->list.refcount, 1);
  EXPECT_TRUE(FreedIds().empty());
  __glDisposeDlist(ctx.gc, item);
  EXPECT_EQ(FreedIds(), std::vector<int>{4});
}

using DlistNamesDeathTest = DlistNames;

TEST_F(DlistNamesDeathTest, CountsBelowZeroStopTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  GlDlist list = {0, __glEmptyFreeDlist, __glEmptyExecuteDlist, nullptr, 0};
  EXPECT_DEATH(__glDisposeDlist(ctx.gc, &list), "Assertion failed: list->refcount >= 0");
  __glInitDlistState(ctx.gc);
  EXPECT_DEATH(__glNamesUnlockData(ctx.gc, ctx.gc->dlist.namesArray, &list),
               "Assertion failed: .*, file s_names");
  __glFreeDlistState(ctx.gc);
}

}  // namespace
}  // namespace names_test

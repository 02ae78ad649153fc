// Lists of a share group used from two threads: a list deleted or replaced
// by one context while another runs it finishes its run and is freed after
// it; the last context of the group frees every list.
#include <gtest/gtest.h>

#include <thread>

#include "core/current.h"
#include "core/gl_api.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/counting_imports.h"

namespace dlist_test {
namespace {

class SharedLists : public life_test::LifeTest {
 protected:
  void SetUp() override {
    LifeTest::SetUp();
    TakeSeen();
    TakeFreed();
    window = std::make_unique<life_test::TestWindow>(64, 48);
    UseWindow(window.get());
    for (GlContext *&gc : gcs) {
      gc = Create(TestModes());
      ASSERT_NE(gc, nullptr);
      gc->dlist.machineDlOps = TestOps();
    }
    ASSERT_TRUE(gcs[1]->exports.shareContext(gcs[1], gcs[0]));
    ASSERT_EQ(gcs[1]->dlist.namesArray, gcs[0]->dlist.namesArray);
  }
  void TearDown() override {
    Release();
    for (GlContext *gc : gcs)
      if (gc) gc->exports.destroyContext(gc);
    EXPECT_EQ(CountingImports::live(), 0) << "every list freed with the last context";
    TakeSeen();
    TakeFreed();
    LifeTest::TearDown();
  }
  // Compiles `name` on the calling thread's current context.
  void Compile(GLuint name, const std::vector<uint32_t> &ids, bool waits = false) {
    glNewList(name, GL_COMPILE);
    for (uint32_t id : ids)
      ASSERT_TRUE(AppendTestOp(gcs[0], id, 12, false, true,
                               waits && id == ids[1] ? Act::kWait : Act::kRecord));
    glEndList();
  }

  std::unique_ptr<life_test::TestWindow> window;
  GlContext *gcs[2] = {};
};

enum class Change { kDelete, kRecompile };

class ChangeWhileRunning : public SharedLists, public testing::WithParamInterface<Change> {};

TEST_P(ChangeWhileRunning, TheRunFinishesAndTheOldListIsFreedAfterIt) {
  ASSERT_TRUE(life_test::Bind(gcs[0]));
  Compile(5, {1, 2, 3}, true);
  ArmLatch();
  std::thread runner([&] {
    ASSERT_TRUE(life_test::Bind(gcs[1]));
    glCallList(5);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(life_test::Release(gcs[1]));
  });
  WaitUntilRunning();
  if (GetParam() == Change::kDelete) {
    glDeleteLists(5, 1);
    EXPECT_FALSE(glIsList(5));
  } else {
    Compile(5, {9});
  }
  EXPECT_TRUE(TakeFreed().empty()) << "the running list is still there";
  Release();
  runner.join();
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2, 3}));
  std::vector<Freed> freed = TakeFreed();
  ASSERT_EQ(freed.size(), 3u) << "the old list, freed when its run ended";
  EXPECT_EQ(freed[0].id, 1u);

  glCallList(5);
  EXPECT_EQ(SeenIds(TakeSeen()),
            GetParam() == Change::kDelete ? std::vector<uint32_t>{} : std::vector<uint32_t>{9});
  ASSERT_TRUE(life_test::Release(gcs[0]));
}

INSTANTIATE_TEST_SUITE_P(Both, ChangeWhileRunning,
                         testing::Values(Change::kDelete, Change::kRecompile));

TEST_F(SharedLists, ANameRecompiledInCompileAndExecuteRunsItsOldListUntilEndList) {
  ASSERT_TRUE(life_test::Bind(gcs[0]));
  Compile(5, {1});
  glNewList(5, GL_COMPILE_AND_EXECUTE);
  glCallList(5);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1})) << "the old list";
  ASSERT_TRUE(AppendTestOp(gcs[0], 2));
  TakeSeen();
  // The other context sees the old list too while the new one is open.
  ASSERT_TRUE(life_test::Release(gcs[0]));
  LifeTest::OnThread([&] {
    ASSERT_TRUE(life_test::Bind(gcs[1]));
    glCallList(5);
    ASSERT_TRUE(life_test::Release(gcs[1]));
  });
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1}));
  ASSERT_TRUE(life_test::Bind(gcs[0]));
  glEndList();
  EXPECT_EQ(TakeFreed().size(), 1u) << "the old list went at glEndList";
  // The new list calls itself by name now: it runs its own op at every level.
  glCallList(5);
  EXPECT_EQ(SeenIds(TakeSeen()), std::vector<uint32_t>(64, 2));
  ASSERT_TRUE(life_test::Release(gcs[0]));
}

TEST_F(SharedLists, ListsOutliveTheContextThatMadeThem) {
  ASSERT_TRUE(life_test::Bind(gcs[0]));
  for (GLuint name = 1; name <= 20; ++name) Compile(name, {name});
  ASSERT_TRUE(life_test::Release(gcs[0]));
  gcs[0]->exports.destroyContext(gcs[0]);
  gcs[0] = nullptr;
  EXPECT_TRUE(TakeFreed().empty());
  LifeTest::OnThread([&] {
    ASSERT_TRUE(life_test::Bind(gcs[1]));
    const GLubyte names[3] = {20, 1, 7};
    glCallLists(3, GL_UNSIGNED_BYTE, names);
    EXPECT_TRUE(glIsList(13));
    ASSERT_TRUE(life_test::Release(gcs[1]));
  });
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{20, 1, 7}));
  gcs[1]->exports.destroyContext(gcs[1]);
  gcs[1] = nullptr;
  EXPECT_EQ(TakeFreed().size(), 20u) << "every list, with the last context";
}

}  // namespace
}  // namespace dlist_test

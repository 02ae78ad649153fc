// The texture state a context sets up at creation and releases at
// destruction: the device's texture manager, the limits, the environments,
// the texture-object names and their sharing, and the release of texture
// objects through the name manager.
#include <gtest/gtest.h>

#include <vector>

#include "core/device.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"
#include "tests/core/services/service_context.h"

namespace {

// A device whose texture-manager slot records its calls and can refuse.
struct TestDevice {
  static GlDevice device;
  static std::vector<GlContext *> calls;
  static bool refuse;
  static GLbool8 InitTextureManager(GlContext *gc) {
    calls.push_back(gc);
    return refuse ? 0 : __glInitTextureManager(gc);
  }
};
GlDevice TestDevice::device;
std::vector<GlContext *> TestDevice::calls;
bool TestDevice::refuse;

class TextureState : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = __glDevice;
    if (saved) TestDevice::device = *saved;
    TestDevice::device.initTextureManager = TestDevice::InitTextureManager;
    TestDevice::calls.clear();
    TestDevice::refuse = false;
    __glDevice = &TestDevice::device;
    start = ServiceContext::Live();
  }
  void TearDown() override {
    __glDevice = saved;
    EXPECT_EQ(ServiceContext::Live(), start) << "everything freed";
  }

  GlDevice *saved = nullptr;
  int start = 0;
};

void ExpectReleased(GlContext *gc) {
  EXPECT_EQ(gc->texture.manager, nullptr);
  EXPECT_EQ(gc->texture.shared, nullptr);
  EXPECT_EQ(gc->texture.env, nullptr);
}

TEST_F(TextureState, EarlyInitialisationAsksTheDeviceAndSetsTheLimits) {
  struct Case {
    int32_t levels;
    int32_t maxTextureSize;
  } cases[] = {{11, 1024}, {1, 1}, {12, 2048}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.levels);
    TestDevice::calls.clear();
    ServiceContext ctx;
    GlContext *gc = ctx.gc();
    gc->constants.maxMipMapLevel = c.levels;
    ASSERT_TRUE(__glEarlyInitTextureState(gc));
    ASSERT_EQ(TestDevice::calls.size(), 1u);
    EXPECT_EQ(TestDevice::calls[0], gc);
    EXPECT_EQ(gc->constants.numberOfTextures, 4);
    EXPECT_EQ(gc->constants.maxTextureSize, c.maxTextureSize);
    ASSERT_NE(gc->texture.manager, nullptr);
    EXPECT_EQ(gc->texture.manager->refcount, 1);
    EXPECT_EQ(gc->texture.manager->release, __glReleaseTextureManager);
    EXPECT_EQ(gc->texture.manager->invalidateAll, __glInvalidateTextureAll);
    EXPECT_NE(gc->texture.env, nullptr);
    ASSERT_NE(gc->texture.shared, nullptr);
    EXPECT_EQ(gc->texture.shared->refcount, 1);
    EXPECT_EQ(gc->texture.shared->dataInfo, &namesTypeInfo[GL_NAMES_TEXOBJ]);
    __glFreeTextureState(gc);
    ExpectReleased(gc);
    EXPECT_EQ(ServiceContext::Live(), start);
  }
}

TEST_F(TextureState, WithoutADeviceTheGenericManagerServes) {
  __glDevice = nullptr;
  ServiceContext ctx;
  ASSERT_TRUE(__glEarlyInitTextureState(ctx.gc()));
  ASSERT_NE(ctx.gc()->texture.manager, nullptr);
  EXPECT_EQ(ctx.gc()->texture.manager->release, __glReleaseTextureManager);
  __glFreeTextureState(ctx.gc());
}

TEST_F(TextureState, AContextThatSharesKeepsTheNamesItHas) {
  ServiceContext owner, sharer;
  ASSERT_TRUE(__glEarlyInitTextureState(owner.gc()));
  sharer.gc()->texture.shared = owner.gc()->texture.shared;
  __glNamesAddRef(sharer.gc(), owner.gc()->texture.shared);
  ASSERT_TRUE(__glEarlyInitTextureState(sharer.gc()));
  EXPECT_EQ(sharer.gc()->texture.shared, owner.gc()->texture.shared);
  EXPECT_EQ(owner.gc()->texture.shared->refcount, 2);
  __glFreeTextureState(sharer.gc());
  EXPECT_EQ(owner.gc()->texture.shared->refcount, 1);
  __glFreeTextureState(owner.gc());
}

// Every allocation of the early initialisation refused in turn, until one
// past the last lets it succeed: the release after each leaves nothing
// behind.
TEST_F(TextureState, RefusedAllocationsLeaveNothingAfterTheRelease) {
  bool succeeded = false;
  for (int refuse = 1; refuse < 100 && !succeeded; ++refuse) {
    SCOPED_TRACE(refuse);
    ServiceContext ctx;
    CountingImports::failAllocation(refuse);
    succeeded = __glEarlyInitTextureState(ctx.gc());
    CountingImports::failAllocation(0);
    __glFreeTextureState(ctx.gc());
    ExpectReleased(ctx.gc());
    EXPECT_EQ(ServiceContext::Live(), start);
  }
  EXPECT_TRUE(succeeded);
}

TEST_F(TextureState, ARefusingDeviceFailsTheInitialisation) {
  TestDevice::refuse = true;
  ServiceContext ctx;
  EXPECT_FALSE(__glEarlyInitTextureState(ctx.gc()));
  __glFreeTextureState(ctx.gc());
  ExpectReleased(ctx.gc());
}

TEST_F(TextureState, TheResetSetsTheDefaults) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  gc->constants.numberOfTextureEnvs = 3;
  ASSERT_TRUE(__glEarlyInitTextureState(gc));
  __glInitTextureState(gc);
  EXPECT_EQ(gc->state.current.texture.w, 1.0f);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gc->texture.env[i].mode, static_cast<GLenum>(GL_MODULATE));
  __glFreeTextureState(gc);
}

// An object whose release the test sees.
struct TestTexture {
  GlTextureObject tex;
  int *freed;
};

GlTextureObject *NewTestTexture(int *freed) {
  TestTexture *t = new TestTexture{};
  t->freed = freed;
  t->tex.refcount = 1;
  t->tex.free = [](GlContext *, GlTextureObject *tex) {
    TestTexture *t = reinterpret_cast<TestTexture *>(tex);
    ++*t->freed;
    delete t;
  };
  return &t->tex;
}

TEST_F(TextureState, DisposingDropsOneReferenceAndFreesAtZero) {
  struct Case {
    int32_t refcount;
    int freed;
  } cases[] = {{3, 0}, {2, 0}, {1, 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.refcount);
    int freed = 0;
    GlTextureObject *tex = NewTestTexture(&freed);
    tex->refcount = c.refcount;
    __glDisposeTexObj(nullptr, tex);
    EXPECT_EQ(freed, c.freed);
    if (freed == 0) {
      EXPECT_EQ(tex->refcount, c.refcount - 1);
      tex->refcount = 1;
      __glDisposeTexObj(nullptr, tex);
      EXPECT_EQ(freed, 1);
    }
  }
}

TEST_F(TextureState, TheNameManagerReleasesTextureObjects) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  ASSERT_TRUE(__glEarlyInitTextureState(gc));
  GlNamesArray *names = gc->texture.shared;
  int freed = 0;
  GlTextureObject *tex = NewTestTexture(&freed);
  ASSERT_TRUE(__glNamesNewData(gc, names, 5, tex));
  // Locked, then deleted: the lock keeps it until the unlock.
  EXPECT_EQ(__glNamesLockData(gc, names, 5), tex);
  EXPECT_EQ(tex->refcount, 2);
  __glNamesDeleteRange(gc, names, 5, 1);
  EXPECT_EQ(freed, 0);
  EXPECT_EQ(tex->refcount, 1);
  __glNamesUnlockData(gc, names, tex);
  EXPECT_EQ(freed, 1);
  // An object still named when the array goes is released with it.
  ASSERT_TRUE(__glNamesNewData(gc, names, 9, NewTestTexture(&freed)));
  __glFreeTextureState(gc);
  EXPECT_EQ(freed, 2);
}

TEST_F(TextureState, SharingTakesTheOtherContextsNamesAndManager) {
  ServiceContext a, b, bare;
  ASSERT_TRUE(__glEarlyInitTextureState(a.gc()));
  ASSERT_TRUE(__glEarlyInitTextureState(b.gc()));
  GlNamesArray *names = a.gc()->texture.shared;
  GlTextureManager *manager = a.gc()->texture.manager;
  int freed = 0;
  ASSERT_TRUE(__glNamesNewData(a.gc(), names, 1, NewTestTexture(&freed)));

  int live = ServiceContext::Live();
  __glShareTextureObjects(b.gc(), a.gc());
  __glShareTextureManager(b.gc(), a.gc());
  EXPECT_EQ(b.gc()->texture.shared, names);
  EXPECT_EQ(b.gc()->texture.manager, manager);
  EXPECT_EQ(names->refcount, 2);
  EXPECT_EQ(manager->refcount, 2);
  EXPECT_LT(ServiceContext::Live(), live) << "b's own array and manager went";

  // Sharing again, or with a context that has nothing, changes nothing.
  __glShareTextureObjects(b.gc(), a.gc());
  __glShareTextureManager(b.gc(), a.gc());
  __glShareTextureObjects(b.gc(), bare.gc());
  __glShareTextureManager(b.gc(), bare.gc());
  EXPECT_EQ(b.gc()->texture.shared, names);
  EXPECT_EQ(b.gc()->texture.manager, manager);
  EXPECT_EQ(names->refcount, 2);
  EXPECT_EQ(manager->refcount, 2);

  // The first context to go leaves the shared records to the other.
  __glFreeTextureState(a.gc());
  EXPECT_EQ(names->refcount, 1);
  EXPECT_EQ(manager->refcount, 1);
  EXPECT_EQ(freed, 0);
  __glFreeTextureState(b.gc());
  EXPECT_EQ(freed, 1);
}

TEST_F(TextureState, TheGenericManagerIsCountedAndReplaced) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  ASSERT_TRUE(__glInitTextureManager(gc));
  GlTextureManager *first = gc->texture.manager;
  EXPECT_EQ(first->refcount, 1);
  // A second initialisation replaces the manager without leaking the first.
  ASSERT_TRUE(__glInitTextureManager(gc));
  EXPECT_EQ(ServiceContext::Live(), start + 1);
  // A refused one keeps the manager the context has.
  GlTextureManager *second = gc->texture.manager;
  CountingImports::failAllocation(1);
  EXPECT_FALSE(__glInitTextureManager(gc));
  CountingImports::failAllocation(0);
  EXPECT_EQ(gc->texture.manager, second);
  __glReleaseTextureManager(gc);
  EXPECT_EQ(gc->texture.manager, nullptr);
  __glReleaseTextureManager(gc);  // nothing left to release
}

}  // namespace

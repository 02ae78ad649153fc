#include "tests/core/context/life_fixture.h"

#include <stddef.h>
#include <string.h>

#include <map>
#include <mutex>
#include <thread>

#include "core/current.h"
#include "core/s_context.h"
#include "tests/support/counting_imports.h"

namespace life_test {

namespace {

std::mutex gMu;
TestWindow *gWindow = nullptr;
std::map<const void *, size_t> gSizes;
std::vector<const GlDispatchState *> gHanded;

GlDrawable *GetDrawablePrivate(GlContext *) { return gWindow ? gWindow->drawable() : nullptr; }

int GetDrawableSize(GlContext *, int32_t *x, int32_t *y, uint32_t *width, uint32_t *height) {
  GlDrawable *d = gWindow ? gWindow->drawable() : nullptr;
  *x = d ? d->x : 0;
  *y = d ? d->y : 0;
  *width = d ? uint32_t(d->width) : 0;
  *height = d ? uint32_t(d->height) : 0;
  return d != nullptr;
}

// The counting allocator, with the size of every block it gives recorded.
void *Calloc(GlContext *gc, size_t count, size_t size) {
  void *block = CountingImports::imports.calloc(gc, count, size);
  if (block) {
    std::lock_guard<std::mutex> hold(gMu);
    gSizes[block] = count * size;
  }
  return block;
}

void *Malloc(GlContext *gc, size_t size) {
  void *block = CountingImports::imports.malloc(gc, size);
  if (block) {
    std::lock_guard<std::mutex> hold(gMu);
    gSizes[block] = size;
  }
  return block;
}

void *Realloc(GlContext *gc, void *old, size_t size) {
  void *block = CountingImports::imports.realloc(gc, old, size);
  if (block) {
    std::lock_guard<std::mutex> hold(gMu);
    gSizes[block] = size;
  }
  return block;
}

void GLENTRY TakeTable(const GlDispatchState *table) {
  std::lock_guard<std::mutex> hold(gMu);
  gHanded.push_back(table);
}

}  // namespace

TestWindow::TestWindow(int32_t width, int32_t height, bool yInverted) {
  drawable_.modes = &modes_;
  drawable_.width = width;
  drawable_.height = height;
  drawable_.yInverted = yInverted;
  drawable_.mutex = __wglCreateDrawableMutex();
  drawable_.lock = __wglGLLockDrawableMutex;
  drawable_.unlock = __wglGLUnlockDrawableMutex;
  drawable_.setCoreClipRect = __wglSetCoreClipRect;
}

TestWindow::~TestWindow() {
  if (drawable_.freePrivate) drawable_.freePrivate(&drawable_);
  __wglDestroyDrawableMutex(drawable_.mutex);
}

void TestWindow::Resize(int32_t width, int32_t height, int32_t x, int32_t y) {
  drawable_.width = width;
  drawable_.height = height;
  drawable_.x = x;
  drawable_.y = y;
}

PixelMemory *TestWindow::AttachMemory(GlDrawableBuffer GlDrawable::*slot, uint32_t bitsPerPixel,
                                      uint32_t elementSize, uint8_t fill, int32_t pitch) {
  auto memory = std::make_unique<PixelMemory>(drawable_.width, drawable_.height, bitsPerPixel,
                                              elementSize, pitch);
  memory->Fill(fill);
  // The layout words lead the record, up to the kind's handle; the slot
  // keeps its procedures and private words.
  memcpy(&(drawable_.*slot), memory->buffer(), offsetof(GlDrawableBuffer, handle));
  memory_.push_back(std::move(memory));
  return memory_.back().get();
}

void TestWindow::SetClipRects(const std::vector<GlRect> &rects) {
  clipRects_ = rects;
  drawable_.clipCount = int32_t(clipRects_.size());
  drawable_.clipRects = clipRects_.empty() ? nullptr : clipRects_.data();
}

void LifeTest::SetUp() {
  CountingImports::reset();
  {
    std::lock_guard<std::mutex> hold(gMu);
    gSizes.clear();
    gHanded.clear();
    gWindow = nullptr;
  }
  imports = CountingImports::imports;
  imports.calloc = Calloc;
  imports.malloc = Malloc;
  imports.realloc = Realloc;
  imports.getDrawablePrivate = GetDrawablePrivate;
  imports.getDrawableSize = GetDrawableSize;
  imports.other = &wgl;
  wgl.setProcTable = TakeTable;
}

void LifeTest::TearDown() {
  UseWindow(nullptr);
  EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext) << "a context was left current";
  __glSetTLSCXValue(&__wglPlaceholderContext);
}

GlContext *LifeTest::Create(const GlModes &modes) {
  return __glCoreCreateContext(&imports, &modes);
}

GlContext *LifeTest::CreateBound(const GlModes &modes) {
  GlContext *gc = Create(modes);
  if (gc && !Bind(gc)) return nullptr;
  return gc;
}

void LifeTest::Destroy(GlContext *gc) {
  gc->exports.destroyContext(gc);
  EXPECT_EQ(CountingImports::live(), 0) << "blocks left allocated";
}

void LifeTest::UseWindow(TestWindow *window) {
  std::lock_guard<std::mutex> hold(gMu);
  gWindow = window;
}

void LifeTest::OnThread(const std::function<void()> &work) {
  std::thread worker(work);
  worker.join();
}

size_t LifeTest::BlockSize(const void *block) {
  std::lock_guard<std::mutex> hold(gMu);
  auto it = gSizes.find(block);
  return it == gSizes.end() ? 0 : it->second;
}

std::vector<const GlDispatchState *> LifeTest::TakeHanded() {
  std::lock_guard<std::mutex> hold(gMu);
  std::vector<const GlDispatchState *> handed;
  handed.swap(gHanded);
  return handed;
}

void BoundContextTest::SetUp() {
  LifeTest::SetUp();
  window = std::make_unique<TestWindow>(64, 48);
  UseWindow(window.get());
  Use(TestModes());
}

void BoundContextTest::TearDown() {
  Drop();
  LifeTest::TearDown();
}

void BoundContextTest::Use(const GlModes &modes) {
  Drop();
  gc = Create(modes);
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(Bind(gc));
  Bound();
}

void BoundContextTest::ValidatePending() {
  if (gc->beginMode != __GL_VALIDATE_PENDING) return;
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

void BoundContextTest::Drop() {
  if (!gc) return;
  Unbinding();
  if (__glGetTLSCXValue() == gc) {
    gc->renderMode = GL_RENDER;
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_TRUE(Release(gc));
  }
  Destroy(gc);
  gc = nullptr;
}

bool Bind(GlContext *gc) { return gc->exports.makeCurrent(gc) != 0; }
bool Release(GlContext *gc) { return gc->exports.loseCurrent(gc) != 0; }

}  // namespace life_test

#include "tests/raster/ancillary/ancillary_fixture.h"

#include <stdlib.h>

#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "wgl/wgl_drawable.h"

namespace ancillary_test {

int AncillaryContext::drawableBlocks = 0;
bool AncillaryContext::drawableRefuses = false;

// The context's record names its fixture; drawables are found by address.
AncillaryContext *AncillaryContext::Of(const GlContext *gc) {
  return static_cast<AncillaryContext *>(gc->imports.other);
}
namespace {
std::vector<AncillaryContext *> gLive;
}  // namespace
AncillaryContext *AncillaryContext::Of(const GlDrawable *drawable) {
  for (AncillaryContext *ctx : gLive)
    if (&ctx->drawable_ == drawable) return ctx;
  return nullptr;
}

AncillaryContext::AncillaryContext(int32_t width, int32_t height, bool drawableAllocates)
    : width_(width), height_(height) {
  gLive.push_back(this);
  GlContext *g = gc();
  g->imports.other = this;
  GlConstants &k = g->constants;
  k.viewportXAdjust = k.viewportYAdjust = kBias;
  k.fviewportXAdjust = k.fviewportYAdjust = float(kBias);
  k.width = width;
  k.height = height;
  g->state.depth.testFunc = GL_LESS;
  g->state.depth.writeEnable = 1;
  g->state.depth.clear = 1.0;
  g->drawablePrivate = &drawable_;
  drawable_.width = width;
  drawable_.height = height;
  drawable_.lock = [](GlDrawable *d, GlContext *) {
    AncillaryContext *ctx = Of(d);
    ctx->drawableLocks++;
    std::function<void()> deliver;
    deliver.swap(ctx->atNextDrawableLock);
    if (deliver) deliver();
  };
  drawable_.unlock = [](GlDrawable *d) { Of(d)->drawableUnlocks++; };
  if (drawableAllocates) {
    drawable_.malloc = [](size_t size) -> void * {
      if (drawableRefuses) return nullptr;
      drawableBlocks++;
      return malloc(size);
    };
    drawable_.free = [](void *block) {
      drawableBlocks--;
      free(block);
    };
  }
  g->lockBuffers = [](GlContext *gc, uint32_t mask) {
    Of(gc)->bufferLocks_.push_back("lock " + std::to_string(mask));
  };
  g->unlockBuffers = [](GlContext *gc, uint32_t mask) {
    Of(gc)->bufferLocks_.push_back("unlock " + std::to_string(mask));
  };
  SetWholeWindow();
}

AncillaryContext::~AncillaryContext() {
  for (size_t i = 0; i < gLive.size(); i++)
    if (gLive[i] == this) gLive.erase(gLive.begin() + long(i));
}

void AncillaryContext::SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  int32_t *box = gc()->transform.clipBox;
  box[0] = x0 + kBias;
  box[1] = y0 + kBias;
  box[2] = x1 + kBias;
  box[3] = y1 + kBias;
}

std::vector<std::string> AncillaryContext::TakeBufferLocks() {
  std::vector<std::string> locks;
  locks.swap(bufferLocks_);
  return locks;
}

DepthBufferFixture::DepthBufferFixture(AncillaryContext *ctx, uint32_t bits)
    : ctx_(ctx), memory_(ctx->width(), ctx->height(), bits, bits <= 16 ? 2 : 4) {
  GlContext *gc = ctx->gc();
  gc->modes.haveDepthBuffer = 1;
  gc->modes.depthBits = bits;
  __glInitDepth(dfb(), gc);
  dfb()->buf.makeCurrent(&dfb()->buf, memory_.buffer(), gc);
  Validate();
}

DepthBufferFixture::~DepthBufferFixture() {
  GlContext *gc = ctx_->gc();
  if (dfb()->buf.free) dfb()->buf.free(&dfb()->buf, gc);
  GlDrawableBuffer *buffer = memory_.buffer();
  if (buffer->freePrivate) buffer->freePrivate(buffer, ctx_->drawable());
}

GlDepthBufferPrivate *DepthBufferFixture::rec() {
  return static_cast<GlDepthBufferPrivate *>(memory_.buffer()->corePrivate);
}

void DepthBufferFixture::Validate() {
  GlContext *gc = ctx_->gc();
  __glGenericPickDepthProcs(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

void DepthBufferFixture::ValidateIfAsked() {
  if (ctx_->gc()->beginMode == __GL_VALIDATE_PENDING) Validate();
}

bool DepthBufferFixture::Store(int32_t x, int32_t y, uint32_t z) {
  return dfb()->store(dfb(), x + kBias, y + kBias, z) != 0;
}

uint32_t DepthBufferFixture::Fetch(int32_t x, int32_t y) {
  return dfb()->fetch(dfb(), x + kBias, y + kBias);
}

void DepthBufferFixture::Clear() { dfb()->clear(dfb()); }

}  // namespace ancillary_test

// Depth and stencil clears on a surface, whose pixels are there only while
// its buffer is locked (a DirectDraw surface): the clear takes the lock before
// it looks for pixels, and writes what the same clear writes into plain
// memory.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "raster/s_depth.h"
#include "raster/s_stencil.h"
#include "tests/raster/ancillary/ancillary_fixture.h"

namespace ancillary_test {
namespace {

// The buffer that has pixels only while locked; one at a time.
struct Surface {
  GlDrawableBuffer *buffer;
  uint8_t *pixels;
  uint32_t mask;
  int locks;
};
Surface gSurface;

void LockSurface(GlContext *, uint32_t mask) {
  if (mask & gSurface.mask) gSurface.buffer->base = gSurface.pixels, gSurface.locks++;
}

void UnlockSurface(GlContext *, uint32_t mask) {
  if (mask & gSurface.mask) gSurface.buffer->base = nullptr;
}

// A stencil buffer of 8 bits over its own memory, validated, every bit
// writable.
class StencilBufferFixture {
 public:
  explicit StencilBufferFixture(AncillaryContext *ctx)
      : ctx_(ctx), memory_(ctx->width(), ctx->height(), 8) {
    GlContext *gc = ctx->gc();
    gc->modes.haveStencilBuffer = 1;
    gc->modes.stencilBits = 8;
    GlStencilState &s = gc->state.stencil;
    s.testFunc = GL_ALWAYS;
    s.mask = s.writeMask = 0xFF;
    s.fail = s.depthFail = s.depthPass = GL_KEEP;
    s.clear = 0x5A;
    __glInitStencil8(sfb(), gc);
    sfb()->buf.makeCurrent(&sfb()->buf, memory_.buffer(), gc);
    gc->tableDirtyMask = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
    sfb()->pick(gc, sfb());
    gc->tableDirtyMask = 0;
  }
  ~StencilBufferFixture() { sfb()->buf.free(&sfb()->buf, ctx_->gc()); }
  StencilBufferFixture(const StencilBufferFixture &) = delete;
  StencilBufferFixture &operator=(const StencilBufferFixture &) = delete;

  GlStencilBuffer *sfb() { return &ctx_->gc()->stencilBuffer; }
  PixelMemory &memory() { return memory_; }
  void Clear() { sfb()->clear(sfb()); }

 private:
  AncillaryContext *ctx_;
  PixelMemory memory_;
};

// A depth or stencil buffer, over plain memory or a surface.
struct ClearedBuffer {
  std::unique_ptr<DepthBufferFixture> depth;
  std::unique_ptr<StencilBufferFixture> stencil;

  PixelMemory &memory() { return depth ? depth->memory() : stencil->memory(); }
  void Clear() {
    if (stencil) return stencil->Clear();
    depth->Clear();
    depth->ValidateIfAsked();
  }
};

struct SurfaceCase {
  const char *what;
  uint32_t mask;  // __GL_DEPTH_BUFFER_MASK or __GL_STENCIL_BUFFER_MASK
  uint32_t bits;
  bool scissored;
};

const SurfaceCase kSurfaceCases[] = {
    {"16-bit depth", __GL_DEPTH_BUFFER_MASK, 16, false},
    {"24-bit depth (epoch clears)", __GL_DEPTH_BUFFER_MASK, 24, false},
    {"32-bit depth", __GL_DEPTH_BUFFER_MASK, 32, false},
    {"24-bit depth, scissored", __GL_DEPTH_BUFFER_MASK, 24, true},
    {"8-bit stencil", __GL_STENCIL_BUFFER_MASK, 8, false},
    {"8-bit stencil, scissored", __GL_STENCIL_BUFFER_MASK, 8, true},
};

void MakeBuffer(AncillaryContext *ctx, const SurfaceCase &c, ClearedBuffer *b) {
  if (c.mask == __GL_DEPTH_BUFFER_MASK)
    b->depth = std::make_unique<DepthBufferFixture>(ctx, c.bits);
  else
    b->stencil = std::make_unique<StencilBufferFixture>(ctx);
}

// Three clears in a row (the first of a depth record is full, the next ones
// epoch clears where the depth allows), each over a window marked anew.
TEST(SurfaceClear, ClearsWhatTheMemoryClearClears) {
  constexpr int32_t kW = 9, kH = 5;
  constexpr uint32_t kMark = 0x00ABCDEFu;
  for (const SurfaceCase &c : kSurfaceCases) {
    SCOPED_TRACE(c.what);
    AncillaryContext plainCtx(kW, kH), surfaceCtx(kW, kH);
    ClearedBuffer plain, surface;
    MakeBuffer(&plainCtx, c, &plain);
    MakeBuffer(&surfaceCtx, c, &surface);
    GlDrawableBuffer *buffer = surface.memory().buffer();
    gSurface = {buffer, buffer->base, c.mask, 0};
    buffer->base = nullptr;
    surfaceCtx.gc()->lockBuffers = LockSurface;
    surfaceCtx.gc()->unlockBuffers = UnlockSurface;
    if (c.scissored) {
      plainCtx.SetClipBox(2, 1, 7, 4);
      surfaceCtx.SetClipBox(2, 1, 7, 4);
    }
    for (int clear = 1; clear <= 3; clear++) {
      SCOPED_TRACE("clear " + std::to_string(clear));
      for (ClearedBuffer *b : {&plain, &surface}) {
        const bool locked = b == &surface;
        if (locked) buffer->base = gSurface.pixels;
        for (int32_t y = 0; y < kH; y++)
          for (int32_t x = 0; x < kW; x++) b->memory().Write(x, y, kMark);
        if (locked) buffer->base = nullptr;
        b->Clear();
      }
      EXPECT_EQ(gSurface.locks, clear) << "one lock per clear";
      ASSERT_EQ(buffer->base, nullptr) << "unlocked after the clear";
      buffer->base = gSurface.pixels;
      bool cleared = false;
      for (int32_t y = 0; y < kH; y++)
        for (int32_t x = 0; x < kW; x++) {
          const uint32_t want = plain.memory().Read(x, y);
          EXPECT_EQ(surface.memory().Read(x, y), want) << x << ", " << y;
          cleared |= want != (kMark & ((1ull << (8 * buffer->elementSize)) - 1));
        }
      // Epoch clears may rewrite no row of so small a window; the first
      // clear is always full.
      if (clear == 1) {
        EXPECT_TRUE(cleared) << "the clear wrote nothing: the case proves nothing";
      }
      EXPECT_TRUE(surface.memory().GuardsIntact());
      buffer->base = nullptr;
    }
    buffer->base = gSurface.pixels;  // the fixtures free what they made
  }
}

}  // namespace
}  // namespace ancillary_test

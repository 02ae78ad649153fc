#include "tests/raster/fragment_stages/stage_fixture.h"

#include <string.h>

#include "raster/s_stencil.h"
#include "wgl/wgl_drawable.h"

namespace fragment_stages {

const DepthKind kDepthKinds[4] = {
    {"16 bits", 16, false},
    {"24 bits, ascending run (reversed for GL_LESS)", 24, false},
    {"24 bits, descending run", 24, true},
    {"32 bits", 32, false},
};

SpanContext::SpanContext(uint32_t depthBits, uint32_t width, uint32_t height)
    : ctx_(int32_t(width), int32_t(height)),
      stencilMemory_(int32_t(width), int32_t(height), 8),
      words_(GL_SPAN_STIPPLE_WORDS, 0),
      colors_(GL_SPAN_PIXELS) {
  GlContext *g = gc();
  if (depthBits) depth_ = std::make_unique<ancillary_test::DepthBufferFixture>(&ctx_, depthBits);
  g->modes.haveStencilBuffer = 1;
  g->modes.stencilBits = 8;
  __glInitStencil8(&g->stencilBuffer, g);
  g->stencilBuffer.buf.makeCurrent(&g->stencilBuffer.buf, stencilMemory_.buffer(), g);
  SetStencil(GL_ALWAYS, 0, 0xFF, GL_KEEP, GL_KEEP, GL_KEEP);
  sh().stipplePat = words_.data();
  sh().spanColors = colors_.data();
}

SpanContext::~SpanContext() {
  GlContext *g = gc();
  g->stencilBuffer.buf.free(&g->stencilBuffer.buf, g);
  __glFreeIndexTestTable(g);
}

void SpanContext::SetDepth(GLenum func, bool write, bool descending) {
  GlContext *g = gc();
  if (descending) {
    // A fresh record is in an ascending run; two clears at the far end of
    // GL_LESS turn it into a descending one.
    g->state.depth.testFunc = GL_LESS;
    g->state.depth.clear = 1.0;
    depth_->Validate();
    for (int i = 0; i < 2; i++) {
      depth_->Clear();
      depth_->ValidateIfAsked();
    }
  }
  g->state.depth.testFunc = func;
  g->state.depth.writeEnable = write;
  depth_->Validate();
}

void SpanContext::SetStencil(GLenum func, uint32_t ref, uint32_t mask, GLenum fail, GLenum zfail,
                             GLenum zpass, uint32_t writeMask) {
  GlContext *g = gc();
  GlStencilState &s = g->state.stencil;
  s.testFunc = func;
  s.reference = uint16_t(ref);
  s.mask = uint16_t(mask);
  s.fail = fail;
  s.depthFail = zfail;
  s.depthPass = zpass;
  s.writeMask = uint16_t(writeMask);
  g->tableDirtyMask |= __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
  g->stencilBuffer.pick(g, &g->stencilBuffer);
  g->tableDirtyMask = 0;
}

void SpanContext::SetSpan(int32_t x, int32_t y, int32_t length) {
  GlShader &s = sh();
  s.x = x + kBias;
  s.y = y + kBias;
  s.length = length;
  s.done = 0;
  s.zbuf = depth_ ? __glPixelAddress(gc(), depth_->memory().buffer(), s.x, s.y) : nullptr;
  s.sbuf = __glPixelAddress(gc(), stencilMemory_.buffer(), s.x, s.y);
}

std::vector<uint8_t> SpanContext::Snapshot() {
  std::vector<uint8_t> bytes;
  auto add = [&](const GlDrawableBuffer *b) {
    bytes.insert(bytes.end(), b->base, b->base + b->size);
  };
  if (depth_) add(depth_->memory().buffer());
  add(stencilMemory_.buffer());
  return bytes;
}

void SpanContext::Restore(const std::vector<uint8_t> &bytes) {
  size_t at = 0;
  auto put = [&](GlDrawableBuffer *b) {
    memcpy(b->base, bytes.data() + at, b->size);
    at += b->size;
  };
  if (depth_) put(depth_->memory().buffer());
  put(stencilMemory_.buffer());
}

void SpanContext::Scramble(std::mt19937 &rng) {
  const int32_t w = int32_t(stencilMemory_.buffer()->width);
  const int32_t h = int32_t(stencilMemory_.buffer()->height);
  for (int32_t y = 0; y < h; y++)
    for (int32_t x = 0; x < w; x++) {
      stencilMemory_.Write(x, y, rng() & 0xFF);
      if (!depth_) continue;
      const uint32_t bits = depth_->memory().buffer()->depth;
      uint32_t word = rng();
      if (bits <= 16) {
        word &= 0xFFFF;
      } else if (bits <= 24) {
        // Mostly the current epoch, some older or foreign ones.
        const uint32_t base = depth_->rec()->base;
        const uint32_t depth = (word >> 8) % ((depth_->dfb()->scale >> 7) + 1);
        word = (rng() % 4 ? base : rng() & 0xFF000000u) + depth;
      }
      depth_->memory().Write(x, y, word);
    }
}

void PrintTo(const Outcome &o, std::ostream *os) {
  *os << "result " << o.result << " done " << int(o.done) << " bits ";
  for (int b : o.bits) *os << b;
}

Outcome RunSpan(SpanContext &ctx, GlSpanProc proc) {
  GlShader &sh = ctx.sh();
  sh.done = 0;
  Outcome o{};
  o.result = proc(ctx.gc()) != 0;
  o.done = sh.done;
  for (int32_t k = 0; k < sh.length; k++) o.bits.push_back(Alive(ctx.words(), k));
  o.memory = ctx.Snapshot();
  return o;
}

}  // namespace fragment_stages

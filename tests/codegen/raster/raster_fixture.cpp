#include "tests/codegen/raster/raster_fixture.h"

#include <math.h>
#include <stdlib.h>

#include <sstream>

#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_vertex_shape.h"
#include "core/s_context.h"
#include "tests/codegen/emitter/og_support.h"

namespace raster_test {

RasterContext::RasterContext(uint32_t bitsPerPixel, const uint32_t shifts[4])
    : SetupContext(bitsPerPixel, shifts), front2(fr_test::kWidth, fr_test::kHeight, bitsPerPixel) {
  GlContext *g = gc();
  EXPECT_TRUE(og_init_pools(g));
  __glSetCodeCacheSizes(g);
  EXPECT_TRUE(__glInitializeCodeCache(g));
  __glPickVertexShape(g);
  g->state.depth.testFunc = GL_LESS;
  g->state.depth.writeEnable = 1;
  g->modes.depthBits = 32;
  // Depth in 16-bit units: at 2^31 the pre-built set-up's single floats
  // keep fewer bits than its integer words.
  g->constants.depthMax = 65535.0f;
  g->depthBuffer.scale = 0xFFFF;
}

RasterContext::~RasterContext() {
  __glReleaseCodeCache(gc());
  og_free_pools(gc());
}

void RasterContext::UseDoubleStore() {
  GlContext *g = gc();
  secondBuffer = g->frontBuffer;
  secondBuffer.buf.drawableBuf = front2.buffer();
  g->back = g->drawBuffer;
  g->front = &secondBuffer;
  g->drawBoth = 1;
}

std::vector<Chunk> RasterContext::Prebuilt(GlVertex *a, GlVertex *b, GlVertex *c) {
  chunks.clear();
  Draw(a, b, c);
  return std::move(chunks);
}

std::vector<Chunk> RasterContext::Generated(GlVertex *a, GlVertex *b, GlVertex *c, bool spanlet) {
  GlContext *g = gc();
  for (GlVertex *v : {a, b, c})
    if (!v->color) v->color = &v->colors[0];
  if (!g->vertexBuffer.provoking) g->vertexBuffer.provoking = c;
  EXPECT_TRUE(__glForceGeneratedTriangle(g, spanlet));
  chunks.clear();
  RunFastChecked(reinterpret_cast<const void *>(g->procs.fillTriangle), uint32_t(uintptr_t(g)),
                 uint32_t(uintptr_t(a)), {uint32_t(uintptr_t(b)), uint32_t(uintptr_t(c))});
  return std::move(chunks);
}

namespace {

void Near(std::ostringstream &out, size_t i, const char *name, int32_t want, int32_t got,
          int32_t tolerance) {
  const int64_t d = int64_t(want) - int64_t(got);
  if (d > tolerance || d < -tolerance)
    out << "chunk " << i << " " << name << ": " << want << " vs " << got << "\n";
}

}  // namespace

std::string CompareChunks(const std::vector<Chunk> &expected, const std::vector<Chunk> &actual,
                          uint32_t flags, bool doubleStore, int32_t depthTolerance,
                          int32_t colorTolerance) {
  std::ostringstream out;
  if (expected.size() != actual.size())
    out << "chunks: " << expected.size() << " vs " << actual.size() << "\n";
  for (size_t i = 0; i < expected.size() && i < actual.size(); i++) {
    const Chunk &e = expected[i], &a = actual[i];
    const auto exact = [&](const char *name, uint32_t want, uint32_t got) {
      if (want != got)
        out << "chunk " << i << " " << name << ": " << std::hex << want << " vs " << got
            << std::dec << "\n";
    };
    exact("mask", e.mask, a.mask);
    exact("x", uint32_t(e.span.x), uint32_t(a.span.x));
    exact("y", uint32_t(e.span.y), uint32_t(a.span.y));
    exact("pixel", uint32_t(uintptr_t(e.span.pixel)), uint32_t(uintptr_t(a.span.pixel)));
    if (flags & __GL_SHADE_STENCIL_TEST)
      exact("sbuf", uint32_t(uintptr_t(e.span.sbuf)), uint32_t(uintptr_t(a.span.sbuf)));
    if (doubleStore)
      exact("pixel2", uint32_t(uintptr_t(e.span.pixel2)), uint32_t(uintptr_t(a.span.pixel2)));
    if (flags & __GL_SHADE_DITHER)
      exact("ditherRow", uint32_t(uintptr_t(e.span.ditherRow)), uint32_t(uintptr_t(a.span.ditherRow)));
    if (flags & __GL_SHADE_DEPTH_TEST) {
      exact("zbuf", uint32_t(uintptr_t(e.span.zbuf)), uint32_t(uintptr_t(a.span.zbuf)));
      Near(out, i, "z", int32_t(e.span.z), int32_t(a.span.z), depthTolerance);
    }
    if ((flags & __GL_SHADE_TEXTURE) && !(flags & __GL_SHADE_PERSPECTIVE)) {
      // Normalised coordinates in 16.16: 2^-10 of the texture.
      Near(out, i, "s", e.span.s, a.span.s, 64);
      Near(out, i, "t", e.span.t, a.span.t, 64);
    }
    if (flags & __GL_SHADE_PERSPECTIVE) {
      const GLfloat want[3] = {e.span.sf, e.span.tf, e.span.qf}, got[3] = {a.span.sf, a.span.tf, a.span.qf};
      for (int k = 0; k < 3; k++)
        if (fabsf(want[k] - got[k]) > 1e-4f * (1.0f + fabsf(want[k])))
          out << "chunk " << i << " float texture word " << k << ": " << want[k] << " vs " << got[k]
              << "\n";
    }
    Near(out, i, "r", e.span.r, a.span.r, colorTolerance);
    if (flags & __GL_SHADE_RGB) {
      Near(out, i, "g", e.span.g, a.span.g, colorTolerance);
      Near(out, i, "b", e.span.b, a.span.b, colorTolerance);
      if (flags & __GL_SHADE_ALPHA) Near(out, i, "a", e.span.a, a.span.a, colorTolerance);
    }
  }
  return out.str();
}

}  // namespace raster_test

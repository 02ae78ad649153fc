// The packed flat pixel against the generic path: for every RGB format the
// set-up's flatPixel is the pixel the colour buffer's own store writes for
// the same colour (colours away from half-unit ties, where the two
// roundings may part).
#include <gtest/gtest.h>

#include <string>

#include "fastraster/fr_setup.h"
#include "raster/s_buffers.h"
#include "tests/raster/color/color_fixture.h"

namespace {

uint32_t flatPixelSeen;
void GLFASTCALL KeepFlatPixel(uint32_t, FrSpan *span) { flatPixelSeen = span->flatPixel; }

TEST(SetupFlatPixel, IsThePixelTheGenericStoreWrites) {
  const GlColor kColors[] = {{1, 1, 1, 1}, {0, 0, 0, 1}, {0.32f, 0.61f, 0.05f, 1.0f},
                             {0.91f, 0.2f, 0.71f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.4f}};
  for (const ColorFormat &format : kRgbFormats) {
    for (const GlColor &c : kColors) {
      SCOPED_TRACE(std::string(format.name) + " colour " + std::to_string(c.r) + " " +
                   std::to_string(c.g) + " " + std::to_string(c.b) + " " + std::to_string(c.a));
      BoundColorBuffer buffer(format, 40, 30);
      GlContext *gc = buffer.gc();
      GlColorBuffer *cfb = buffer.cfb();
      buffer.SetFlags(__GL_SHADE_RGB);
      cfb->pick(gc, cfb);
      // Vertex colours in [0, 1]: the factors are the buffer's scales.
      GlConstants &k = gc->constants;
      k.redRescale = cfb->redScale;
      k.greenRescale = cfb->greenScale;
      k.blueRescale = cfb->blueScale;
      k.alphaRescale = cfb->alphaScale;
      const GlFragment frag = {kBias + 5, kBias + 5, 0,
                               {c.r * cfb->redScale, c.g * cfb->greenScale,
                                c.b * cfb->blueScale, c.a * cfb->alphaScale}};
      cfb->store(cfb, &frag);
      const uint32_t generic = buffer.memory().Read(5, 5);

      gc->drawBuffer = cfb;
      gc->procs.fillTriangleSpan = KeepFlatPixel;
      GlVertex v[3] = {};
      const float corners[3][2] = {{2, 2}, {2, 20}, {30, 10}};
      for (int i = 0; i < 3; i++) {
        v[i].window = {corners[i][0] + kBias, corners[i][1] + kBias, 0.5f, 1.0f};
        v[i].colors[0] = c;
        v[i].color = &v[i].colors[0];
      }
      gc->vertexBuffer.provoking = &v[2];
      flatPixelSeen = 0xDEADBEEFu;
      __glFRRenderTriangle(gc, &v[0], &v[1], &v[2]);
      EXPECT_EQ(flatPixelSeen, generic);
    }
  }
}

// Before primitive assembly has named a provoking vertex the set-up takes
// the last vertex's colour, as the generic fill does, instead of reading
// through a null pointer.
TEST(SetupFlatPixel, WithoutAProvokingVertexTakesTheLastVertexColour) {
  BoundColorBuffer buffer(kRgbFormats[0], 40, 30);
  GlContext *gc = buffer.gc();
  GlColorBuffer *cfb = buffer.cfb();
  buffer.SetFlags(__GL_SHADE_RGB);
  cfb->pick(gc, cfb);
  GlConstants &k = gc->constants;
  k.redRescale = cfb->redScale;
  k.greenRescale = cfb->greenScale;
  k.blueRescale = cfb->blueScale;
  k.alphaRescale = cfb->alphaScale;
  gc->drawBuffer = cfb;
  gc->procs.fillTriangleSpan = KeepFlatPixel;
  GlVertex v[3] = {};
  const float corners[3][2] = {{2, 2}, {2, 20}, {30, 10}};
  const GlColor colors[3] = {{0, 0, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};
  for (int i = 0; i < 3; i++) {
    v[i].window = {corners[i][0] + kBias, corners[i][1] + kBias, 0.5f, 1.0f};
    v[i].colors[0] = colors[i];
    v[i].color = &v[i].colors[0];
  }
  gc->vertexBuffer.provoking = &v[2];
  flatPixelSeen = 0xDEADBEEFu;
  __glFRRenderTriangle(gc, &v[0], &v[1], &v[2]);
  const uint32_t named = flatPixelSeen;
  gc->vertexBuffer.provoking = nullptr;
  flatPixelSeen = 0xDEADBEEFu;
  __glFRRenderTriangle(gc, &v[0], &v[1], &v[2]);
  EXPECT_EQ(flatPixelSeen, named);
}

}  // namespace

// The span readers against the buffers' own fetch procedures: every depth
// width (24-bit clear epochs and reversed runs included), stencil, colour
// index and RGBA, one column a pixel and through a run array.
#include "core/gl_api.h"
#include "pixels/px_span_procs.h"
#include "raster/s_depth.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace draw_test {
namespace {

class Readers : public DrawTest {
 protected:
  // A record reading `n` pixels of row y from column x, stepping by `run`
  // (null: one column a pixel).
  GlPixelSpanInfo Row(int32_t x, int32_t y, int32_t n, int16_t *run) {
    GlPixelSpanInfo info{};
    info.readX = GLfloat(x + gc->constants.viewportXAdjust);
    info.readY = GLfloat(y + gc->constants.viewportYAdjust);
    info.width = info.spanWidth = n;
    info.pixelArray = run;
    return info;
  }
  // The columns a run array visits from x.
  static std::vector<int32_t> Columns(int32_t x, int32_t n, const int16_t *run) {
    std::vector<int32_t> c;
    for (int32_t p = 0; p < n; p++, x += run ? run[p - 1] : 1) c.push_back(x);
    return c;
  }
};

int16_t kRun[] = {1, 3, 2, 1, 4, 1, 2, 5, 1, 1};

TEST_F(Readers, DepthOfEveryWidthReadsWhatFetchSays) {
  for (int bits : {16, 24, 32})
    for (GLenum func : {GL_LESS, GL_GREATER}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, function " << func);
      Open(true, false, 32, bits);
      glEnable(GL_DEPTH_TEST);
      glDepthFunc(func);
      // Several clears leave words of older epochs behind in 24-bit buffers.
      for (double clear : {0.25, 0.75, 0.5}) {
        glClearDepth(clear);
        glClear(GL_DEPTH_BUFFER_BIT);
        Prepare();
        GlDepthBuffer *dfb = &gc->depthBuffer;
        const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
        for (int32_t x = 3; x < 30; x += 4)
          dfb->storeAlways(dfb, x + ax, 7 + ay, uint32_t(x) * (dfb->scale / 40));
      }
      GlDepthBuffer *dfb = &gc->depthBuffer;
      const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
      const GLfloat top = GLfloat(dfb->scale >> rec->shift);
      for (int16_t *run : {static_cast<int16_t *>(nullptr), kRun}) {
        GlPixelSpanInfo info = Row(2, 7, 10, run);
        GLfloat got[10];
        (run ? __glSpanReadDepth : __glSpanReadDepth2)(gc, &info, got);
        const std::vector<int32_t> cols = Columns(2, 10, run);
        for (int p = 0; p < 10; p++) {
          const uint32_t word = dfb->fetch(dfb, cols[size_t(p)] + gc->constants.viewportXAdjust,
                                           7 + gc->constants.viewportYAdjust);
          EXPECT_EQ(got[p], GLfloat(word) / top) << p;
        }
      }
    }
}

TEST_F(Readers, ShortcutDepthWordsAreTheStoredBitsOnTop) {
  Open(true, false, 32, 16);
  Prepare();
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  dfb->storeAlways(dfb, 4 + ax, 2 + ay, 0xFFFF0000u);
  dfb->storeAlways(dfb, 5 + ax, 2 + ay, 0x12340000u);
  GlPixelSpanInfo info = Row(4, 2, 2, nullptr);
  uint32_t got[2];
  __glSpanReadDepthUint2(gc, &info, got);
  EXPECT_EQ(got[0], 0xFFFF0000u);
  EXPECT_EQ(got[1], 0x12340000u);
  GLfloat asFloat[2];
  __glSpanReadDepth2(gc, &info, asFloat);
  EXPECT_EQ(asFloat[0], 1.0f);
}

TEST_F(Readers, StencilIndexAndColourReadWhatFetchSays) {
  for (bool rgbaMode : {true, false}) {
    Open(rgbaMode);
    Prepare();
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++) {
        colorMemory->Write(x, y, uint32_t((x + 3 * y) * 0x01030507u));
        stencilMemory->Write(x, y, uint32_t(x * 7 + y));
      }
    const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
    const int32_t row = 5;
    GlColorBuffer *cfb = gc->readBuffer;
    GlStencilBuffer *sfb = &gc->stencilBuffer;
    for (int16_t *run : {static_cast<int16_t *>(nullptr), kRun}) {
      GlPixelSpanInfo info = Row(1, row, 10, run);
      const std::vector<int32_t> cols = Columns(1, 10, run);
      GLfloat stencil[10];
      (run ? __glSpanReadStencil : __glSpanReadStencil2)(gc, &info, stencil);
      GLfloat index[10];
      (run ? __glSpanReadCI : __glSpanReadCI2)(gc, &info, index);
      GlColor colors[10];
      (run ? __glSpanReadRGBA : __glSpanReadRGBA2)(gc, &info, colors);
      for (int p = 0; p < 10; p++) {
        const int32_t x = cols[size_t(p)] + ax, y = row + ay;
        EXPECT_EQ(stencil[p], GLfloat(sfb->fetch(sfb, x, y)));
        GlColor c;
        cfb->fetch[0](cfb, x, y, &c);
        EXPECT_EQ(index[p], c.r);
        if (rgbaMode) {
          EXPECT_EQ(colors[p].r, c.r);
          EXPECT_EQ(colors[p].g, c.g);
          EXPECT_EQ(colors[p].b, c.b);
          EXPECT_EQ(colors[p].a, c.a);
        }
      }
    }
  }
}

}  // namespace
}  // namespace draw_test

// Drawing through a validated SiS context: hardware work is fired before
// software drawing that follows it, array drawing leaves nothing unfired,
// and a buffer the chip cannot reach gets nothing from it. Every check runs
// through the chip's drawing model, which must record no violation.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/drawable.h"
#include "platform/sis6326.h"
#include "sis/sis_primitives.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "tests/sis/pickers/picker_fixture.h"

namespace picker_test {
namespace {

constexpr uint16_t kRed = 0xF800, kGreen = 0x07E0;

class DrawFault : public PickerTest {
 protected:
  void SetUp() override {
    PickerTest::SetUp();
    LoadChip();
    gl().Disable(GL_DITHER);
    gl().ShadeModel(GL_FLAT);
    gl().Viewport(0, 0, hwcompare::kWidth, hwcompare::kHeight);
    Validate();
    sistest::TakeLog();
  }

  // Pixels of the colour surface equal to `value`.
  int Count(uint16_t value) {
    DDSURFACEDESC locked;
    EXPECT_EQ(ddtest::Lock(colour, nullptr, &locked), DD_OK);
    int n = 0;
    for (int j = 0; j < hwcompare::kHeight; ++j) {
      const uint16_t *row =
          reinterpret_cast<const uint16_t *>(static_cast<uint8_t *>(locked.lpSurface) + j * locked.lPitch);
      for (int i = 0; i < hwcompare::kWidth; ++i) n += row[i] == value;
    }
    ddtest::Unlock(colour, nullptr);
    return n;
  }

  static int Primitives(const std::vector<SiS6326Event> &log) {
    int n = 0;
    for (const SiS6326Event &e : log) n += e.kind == SIS6326_EVENT_PRIMITIVE;
    return n;
  }

  // Nothing but queue waits and fires: an outermost unlock always fires.
  static void ExpectNothingSent(const std::vector<SiS6326Event> &log) {
    for (const SiS6326Event &e : log)
      EXPECT_TRUE(e.kind == SIS6326_EVENT_FIRE || e.kind == SIS6326_EVENT_WAIT)
          << "event " << e.kind << " at " << std::hex << e.offset;
  }

  void ExpectNoViolation() {
    EXPECT_EQ(modeltest::Describe(modeltest::Violations()), "") << "the model recorded violations";
  }

  // Vertices in normalised coordinates with their colours, from arrays.
  void DrawTriangles(const std::vector<GLfloat> &xy, const std::vector<GLubyte> &rgba) {
    gl().VertexPointer(2, GL_FLOAT, 0, xy.data());
    gl().ColorPointer(4, GL_UNSIGNED_BYTE, 0, rgba.data());
    gl().EnableClientState(GL_VERTEX_ARRAY);
    gl().EnableClientState(GL_COLOR_ARRAY);
    gl().DrawArrays(GL_TRIANGLES, 0, GLsizei(xy.size() / 2));
    gl().DisableClientState(GL_VERTEX_ARRAY);
    gl().DisableClientState(GL_COLOR_ARRAY);
  }
};

std::vector<GLubyte> Colours(int red, int green) {
  std::vector<GLubyte> out;
  for (int i = 0; i < red; ++i) out.insert(out.end(), {255, 0, 0, 255});
  for (int i = 0; i < green; ++i) out.insert(out.end(), {0, 255, 0, 255});
  return out;
}

TEST_F(DrawFault, ArrayDrawingLeavesNoUnfiredWork) {
  DrawTriangles({-0.8f, -0.8f, 0.8f, -0.8f, 0.0f, 0.8f}, Colours(3, 0));
  const std::vector<SiS6326Event> log = sistest::TakeLog();
  EXPECT_EQ(Primitives(log), 1) << "the triangle went to the chip";
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u);
  EXPECT_GT(Count(kRed), 100);
  ExpectNoViolation();
}

// A filled front face on the chip, then a back face drawn as wide edges in
// software inside it, in one array call: the edges must come out on top.
TEST_F(DrawFault, SoftwareEdgesAfterAHardwareFaceComeOutInOrder) {
  gl().PolygonMode(GL_BACK, GL_LINE);
  gl().LineWidth(3.0f);
  Validate();
  ASSERT_EQ(Fallbacks(), (Flags{0, 1, 0}));
  DrawTriangles({-0.9f, -0.9f, 0.9f, -0.9f, 0.0f, 0.9f,     // counter-clockwise: front
                 -0.3f, -0.5f, 0.0f, 0.3f, 0.3f, -0.5f},  // clockwise: back
                Colours(3, 3));
  EXPECT_GT(Count(kGreen), 40) << "the hardware face covered the later edges";
  EXPECT_GT(Count(kRed), 100);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u);
  ExpectNoViolation();
}

TEST_F(DrawFault, WaitIdleInsideTheLockFiresAndDrains) {
  GlVertex v[3] = {hwcompare::Vertex(gc, 4, 4, 0.5, {255, 0, 0, 255}),
                   hwcompare::Vertex(gc, 40, 6, 0.5, {255, 0, 0, 255}),
                   hwcompare::Vertex(gc, 10, 30, 0.5, {255, 0, 0, 255})};
  gc->lockRenderBuffers(gc);
  __glSiSRenderSmoothTriangle(gc, &v[0], &v[1], &v[2]);
  sistest::TakeLog();
  gc->procs.waitIdle(gc);
  const std::vector<SiS6326Event> log = sistest::TakeLog();
  ASSERT_FALSE(log.empty());
  bool fired = false;
  for (const SiS6326Event &e : log) fired |= e.kind == SIS6326_EVENT_FIRE;
  EXPECT_TRUE(fired);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u);
  gc->unlockRenderBuffers(gc);
  EXPECT_GT(Count(kRed), 50);
  // Outside the lock the unlock has fired everything: nothing to do.
  sistest::TakeLog();
  gc->procs.waitIdle(gc);
  EXPECT_TRUE(sistest::TakeLog().empty());
  ExpectNoViolation();
}

// A back buffer whose lock failed draws into the drawable's discard block,
// outside video memory: the lock sends nothing and the hardware procedures
// send nothing until the next outermost lock.
TEST_F(DrawFault, ABufferOutsideVideoMemoryGetsNothingFromTheChip) {
  GlDrawableBuffer *back = gc->drawBuffer->buf.drawableBuf;
  uint8_t *const saved = back->base;
  std::vector<uint8_t> discard(size_t(back->pitchBytes) * hwcompare::kHeight + 64, 0);
  back->base = discard.data();
  GlVertex v[3] = {hwcompare::Vertex(gc, 4, 4, 0.5, {255, 0, 0, 255}),
                   hwcompare::Vertex(gc, 40, 6, 0.5, {255, 0, 0, 255}),
                   hwcompare::Vertex(gc, 10, 30, 0.5, {255, 0, 0, 255})};
  gc->lockRenderBuffers(gc);
  __glSiSRenderSmoothTriangle(gc, &v[0], &v[1], &v[2]);
  __glSiSRenderAliasedPoint1_NoTex(gc, &v[0]);
  __glSiSRenderSmoothLine(gc, &v[0], &v[1]);
  gc->unlockRenderBuffers(gc);
  ExpectNothingSent(sistest::TakeLog());
  ExpectNoViolation();
  // With the buffer back in video memory the next lock sends again.
  back->base = saved;
  gc->lockRenderBuffers(gc);
  __glSiSRenderSmoothTriangle(gc, &v[0], &v[1], &v[2]);
  gc->unlockRenderBuffers(gc);
  EXPECT_EQ(Primitives(sistest::TakeLog()), 1);
  ExpectNoViolation();
}

// A back buffer that fell back to system memory is no DirectDraw buffer:
// everything is drawn in software.
TEST_F(DrawFault, ABufferThatFellBackToMemoryKeepsEverythingInSoftware) {
  gc->drawablePrivate->back.update = nullptr;
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
  DrawTriangles({-0.8f, -0.8f, 0.8f, -0.8f, 0.0f, 0.8f}, Colours(3, 0));
  ExpectNothingSent(sistest::TakeLog());
  EXPECT_GT(Count(kRed), 100) << "drawn in software";
  ExpectNoViolation();
}

}  // namespace
}  // namespace picker_test

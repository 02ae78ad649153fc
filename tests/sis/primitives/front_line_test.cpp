// Lines into the front buffer: sent once per visible rectangle of the
// window, each after its own clip registers, which end on the clip box;
// the one-rectangle shortcut; and a full upload afterwards.
#include <math.h>

#include <string>

#include "core/drawable.h"
#include "raster/s_shader.h"
#include "tests/sis/primitives/primitive_fixture.h"

namespace {

using sisengine::Script;
using sisprim::kBias;
using sisprim::PrimitiveTest;
using sisprim::Vertex;

constexpr int32_t kWidth = 100, kHeight = 80;

uint32_t ClipWord(int32_t first, int32_t end) { return uint32_t(first) << 13 | uint32_t(end); }

class FrontLine : public PrimitiveTest {
 protected:
  void SetUp() override {
    PrimitiveTest::SetUp();
    gc()->polygon.shader.modeFlags = __GL_SHADE_FRONT_BUFFER;
    gc()->drawablePrivate = &drawable;
    SetClipBox(0, 0, kWidth, kHeight);
    gc()->transform.viewportInside = 1;
  }

  void SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t *box = gc()->transform.clipBox;
    box[0] = x0 + kBias, box[1] = y0 + kBias, box[2] = x1 + kBias, box[3] = y1 + kBias;
  }
  void SetRects(const std::vector<GlRect> &list) {
    rects = list;
    drawable.clipCount = int32_t(rects.size());
    drawable.clipRects = rects.empty() ? nullptr : rects.data();
  }

  // The log of one flat line, as wait, register and fire events; the
  // line itself shows as "L".
  std::string Draw() {
    GlVertex a = Vertex(5, 5), b = Vertex(60, 40);
    __glSiSRenderFlatLine(gc(), &a, &b);
    std::string s;
    for (const SiS6326Event &e : Events()) {
      char t[48];
      if (e.kind == SIS6326_EVENT_WAIT) snprintf(t, sizeof t, "w%u", e.value);
      if (e.kind == SIS6326_EVENT_FIRE) snprintf(t, sizeof t, "f");
      if (e.kind == SIS6326_EVENT_PRIMITIVE) snprintf(t, sizeof t, "L");
      if (e.kind == SIS6326_EVENT_REGISTER) snprintf(t, sizeof t, "%X=%X", e.offset, e.value);
      s += (s.empty() ? "" : " ") + std::string(t);
    }
    return s;
  }
  static std::string Scissor(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    char t[64];
    snprintf(t, sizeof t, "w2 8A30=%X 8A34=%X", ClipWord(y0, y1), ClipWord(x0, x1));
    return t;
  }

  GlDrawable drawable{};
  std::vector<GlRect> rects;
};

TEST_F(FrontLine, NoVisibleRectangleDrawsNothing) {
  SetRects({});
  EXPECT_EQ(Draw(), "");
  gc()->drawablePrivate = nullptr;
  EXPECT_EQ(Draw(), "");
}

TEST_F(FrontLine, TheWholeWindowVisibleSendsOneLineWithTheClipUntouched) {
  SetRects({{0, 0, kWidth, kHeight}});
  const GlSiSWorkingRegs before = sis()->work;
  EXPECT_EQ(Draw(), "w11 L w1 f");
  EXPECT_EQ(sis()->work.clipRows, before.clipRows);
  EXPECT_EQ(sis()->work.clipColumns, before.clipColumns);
}

TEST_F(FrontLine, EachRectangleGetsItsClipAndItsLineThenTheClipBoxReturns) {
  struct Case {
    const char *name;
    std::vector<GlRect> rects;
    bool viewportInside;
    std::string expected;
  } const cases[] = {
      {"three rectangles",
       {{0, 0, 50, 40}, {50, 0, 100, 40}, {0, 40, 100, 80}},
       true,
       Scissor(0, 0, 50, 40) + " w11 L w1 f " + Scissor(50, 0, 100, 40) + " w11 L w1 f " +
           Scissor(0, 40, 100, 80) + " w11 L w1 f " + Scissor(0, 0, kWidth, kHeight)},
      {"one rectangle, not the clip box",
       {{10, 10, 90, 70}},
       true,
       Scissor(10, 10, 90, 70) + " w11 L w1 f " + Scissor(0, 0, kWidth, kHeight)},
      {"the clip box, but the viewport reaches outside",
       {{0, 0, kWidth, kHeight}},
       false,
       Scissor(0, 0, kWidth, kHeight) + " w11 L w1 f " + Scissor(0, 0, kWidth, kHeight)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    SetRects(c.rects);
    gc()->transform.viewportInside = c.viewportInside;
    const GlSiSProgrammedRegs programmed = sis()->programmed;
    EXPECT_EQ(Draw(), c.expected);
    EXPECT_EQ(sis()->work.clipRows, ClipWord(0, kHeight));
    EXPECT_EQ(sis()->work.clipColumns, ClipWord(0, kWidth));
    // The programmed words are validation's alone.
    EXPECT_EQ(sis()->programmed.clipRows, programmed.clipRows);
    EXPECT_EQ(sis()->programmed.clipColumns, programmed.clipColumns);
  }
}

TEST_F(FrontLine, RectanglesAreKeptInsideTheScissoredClipBox) {
  // A scissor box of columns 20-70, rows 10-30.
  SetClipBox(20, 10, 70, 30);
  SetRects({{0, 0, 50, 40}, {50, 0, 100, 40}, {0, 40, 100, 80}});
  EXPECT_EQ(Draw(), Scissor(20, 10, 50, 30) + " w11 L w1 f " + Scissor(50, 10, 70, 30) +
                        " w11 L w1 f " + Scissor(20, 10, 70, 30));
}

TEST_F(FrontLine, ALineWithANonFiniteCoordinateSendsNoClipEither) {
  SetRects({{0, 0, 50, 40}, {50, 0, 100, 40}});
  GlVertex a = Vertex(5, 5), b = Vertex(60, 40);
  b.window.y = NAN;
  __glSiSRenderSmoothLine(gc(), &a, &b);
  EXPECT_TRUE(Events().empty());
}

TEST_F(FrontLine, AFullUploadAfterTheLineSendsTheClipBox) {
  // What validation programs for the clip box.
  sis()->programmed.clipRows = ClipWord(0, kHeight);
  sis()->programmed.clipColumns = ClipWord(0, kWidth);
  SetRects({{0, 0, 50, 40}, {50, 0, 100, 40}});
  Draw();
  sis::UnlockDevice(gc());
  // Another process used the engine: the next lock sends every group.
  PlatformSiS6326SetEngineOwner(sisengine::kOtherProcess);
  sis::LockDevice(gc());
  std::vector<sistest::Brief> log = sisengine::EngineTest::Log();
  bool rows = false, columns = false;
  for (const sistest::Brief &b : log) {
    if (b.offset == 0x8A30) rows = b.value == ClipWord(0, kHeight);
    if (b.offset == 0x8A34) columns = b.value == ClipWord(0, kWidth);
  }
  EXPECT_TRUE(rows && columns);
}

}  // namespace

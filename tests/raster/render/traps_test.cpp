// The traps: one wait for the back end at the first primitive of a kind and
// at every change of kind, the drawn kind's picked procedure installed, the
// other kinds' traps armed again, and the primitive drawn with its own
// arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

// The bench with every kind behind its trap and recorders as the picked
// procedures.
void ArmTraps(RenderBench &bench) {
  GlProcs &p = bench.gc()->procs;
  p.renderPointTrap = p.renderPoint = __glRenderPointSyncTrap;
  p.renderLineTrap = p.renderLine = __glRenderLineSyncTrap;
  p.renderTriangleTrap = p.renderTriangle = __glRenderTriangleSyncTrap;
  p.renderPointPicked = RenderBench::RecordPoint;
  p.renderLinePicked = RenderBench::RecordLine;
  p.renderTrianglePicked = RenderBench::RecordTriangle;
}

void Draw(RenderBench &bench, char kind) {
  GlProcs &p = bench.gc()->procs;
  switch (kind) {
    case 'P': p.renderPoint(bench.gc(), bench.b()); break;
    case 'L': p.renderLine(bench.gc(), bench.c(), bench.a()); break;
    case 'T': p.renderTriangle(bench.gc(), bench.b(), bench.c(), bench.a()); break;
  }
}

const char *Drawn(char kind) {
  switch (kind) {
    case 'P': return "point b";
    case 'L': return "line c a";
    default: return "triangle b c a";
  }
}

// Which slot holds what after a primitive of `kind`: the picked procedure
// for that kind, the traps for the others.
void ExpectSlots(const GlProcs &p, char kind) {
  EXPECT_EQ(p.renderPoint, kind == 'P' ? p.renderPointPicked : &__glRenderPointSyncTrap);
  EXPECT_EQ(p.renderLine, kind == 'L' ? p.renderLinePicked : &__glRenderLineSyncTrap);
  EXPECT_EQ(p.renderTriangle, kind == 'T' ? p.renderTrianglePicked : &__glRenderTriangleSyncTrap);
  // The trap and picked slots themselves never change.
  EXPECT_EQ(p.renderPointTrap, &__glRenderPointSyncTrap);
  EXPECT_EQ(p.renderLineTrap, &__glRenderLineSyncTrap);
  EXPECT_EQ(p.renderTriangleTrap, &__glRenderTriangleSyncTrap);
  EXPECT_EQ(p.renderPointPicked, &RenderBench::RecordPoint);
  EXPECT_EQ(p.renderLinePicked, &RenderBench::RecordLine);
  EXPECT_EQ(p.renderTrianglePicked, &RenderBench::RecordTriangle);
}

struct Sequence {
  const char *name;
  const char *kinds;  // P point, L line, T triangle
  const char *waits;  // total waits after each primitive, one digit each
};

const Sequence kSequences[] = {
    {"point after triangle waits once, the second point not, a triangle again", "TPPT", "1223"},
    {"a run of one kind waits once", "LLLLL", "11111"},
    {"every change of kind waits", "PLTPLT", "123456"},
    {"back and forth", "TTLTTPPL", "11233445"},
};

TEST(RenderTraps, OneWaitPerChangeOfKind) {
  for (const Sequence &s : kSequences) {
    SCOPED_TRACE(s.name);
    RenderBench bench;
    ArmTraps(bench);
    std::vector<std::string> drawn;
    for (int i = 0; s.kinds[i]; ++i) {
      SCOPED_TRACE(i);
      const RenderBench::Snapshot before = bench.Take();
      Draw(bench, s.kinds[i]);
      drawn.push_back(Drawn(s.kinds[i]));
      EXPECT_EQ(bench.waits(), s.waits[i] - '0');
      EXPECT_EQ(bench.calls(), drawn);
      ExpectSlots(bench.gc()->procs, s.kinds[i]);
      bench.ExpectUnchanged(before);
    }
  }
}

// Validation re-arms the triangle trap: the next triangle waits again even
// though the last primitive was a triangle.
TEST(RenderTraps, ThePickerRearmsTheTriangleTrap) {
  RenderBench bench;
  ArmTraps(bench);
  Draw(bench, 'T');
  Draw(bench, 'T');
  EXPECT_EQ(bench.waits(), 1);
  __glGenericPickTriangleProcs(bench.gc());
  const GlProcs &p = bench.gc()->procs;
  EXPECT_EQ(p.renderTriangle, &__glRenderTriangleSyncTrap);
  EXPECT_EQ(p.renderTrianglePicked, &__glRenderSmoothTriangle);
  bench.gc()->procs.fillTriangle = RenderBench::RecordFill;
  bench.Place(kFront);
  Draw(bench, 'T');
  EXPECT_EQ(bench.waits(), 2);
  EXPECT_EQ(bench.calls().back(), "fill b c a");
  EXPECT_EQ(p.renderTriangle, &__glRenderSmoothTriangle);
}

// A triangle in GL_LINE mode draws its edges through procs.renderLine, which
// the triangle trap has just armed: its first edge waits once more, and the
// line trap arms the triangle trap again for the next triangle.
TEST(RenderTraps, LineModeTrianglesGoThroughTheLineTrap) {
  RenderBench bench;
  bench.PickFaces(GL_CCW, false, 0, GL_LINE, GL_LINE);
  GlProcs &p = bench.gc()->procs;
  EXPECT_EQ(p.renderTrianglePicked, &__glRenderTriangle);
  p.renderPointTrap = p.renderPoint = __glRenderPointSyncTrap;
  p.renderPointPicked = RenderBench::RecordPoint;
  p.renderLineTrap = p.renderLine = __glRenderLineSyncTrap;
  p.renderLinePicked = RenderBench::RecordLine;
  bench.Place(kFront);
  const std::vector<std::string> edges = {"line b c", "line c a", "line a b"};
  Draw(bench, 'T');
  EXPECT_EQ(bench.calls(), edges);
  EXPECT_EQ(bench.waits(), 2);
  Draw(bench, 'T');
  EXPECT_EQ(bench.waits(), 4);
  Draw(bench, 'L');
  EXPECT_EQ(bench.waits(), 4);
  EXPECT_EQ(p.renderTriangle, &__glRenderTriangleSyncTrap);
}

}  // namespace

// The level-of-detail set-up: the squared scale of a one-pixel step at a
// vertex, its plane over the triangle, the call from the set-up when the
// filters differ, and the register convention generated set-ups call it
// with.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include "tests/codegen/emitter/og_run_support.h"
#include "tests/fastraster/setup/setup_fixture.h"

namespace fr_test {
namespace {

constexpr float kSize = 64.0f;

struct Texture {
  GlTextureLevel level{};
  GlTextureLevel *levels[1] = {&level};
  GlTextureObject object{};
  explicit Texture(GlContext *gc) {
    level.width = level.height = 64;
    level.width2f = level.height2f = kSize;
    level.widthLog2 = level.heightLog2 = 6;
    object.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    object.magFilter = GL_LINEAR;
    object.levels = levels;
    gc->texture.current = &object;
  }
};

// One texel per pixel across, two down, at any q.
TEST(SetupRho, AOneToTwoStretchGivesFourAtEveryVertex) {
  for (float q : {1.0f, 2.0f, 0.5f}) {
    SCOPED_TRACE(q);
    ServiceContext ctx;
    Texture tex(ctx.gc());
    FrSpan span{};
    span.dsfdx = q / kSize;
    span.dtfdy = 2.0f * q / kSize;
    for (float s : {0.0f, 0.3f}) {
      EXPECT_FLOAT_EQ(__glFRComputePolygonRho(ctx.gc(), &span, s * q, 0.7f * q, q), 4.0f);
    }
  }
}

TEST(SetupRho, ConstantCoordinatesGiveZero) {
  SetupContext ctx;
  Texture tex(ctx.gc());
  ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE);
  GlVertex v[3] = {SetupContext::Vertex(3, 3), SetupContext::Vertex(40, 60),
                   SetupContext::Vertex(70, 20)};
  for (GlVertex &x : v) x.texture = {0.25f, 0.5f, 0.0f, 1.0f};
  ctx.Draw(&v[0], &v[1], &v[2]);
  ASSERT_FALSE(ctx.chunks.empty());
  for (const Chunk &c : ctx.chunks) {
    EXPECT_EQ(c.span.rho, 0.0f);
    EXPECT_EQ(c.span.drhodx, 0.0f);
  }
}

// Texture coordinates divided by w as the vertex stage leaves them: the
// plane through rho x q of the three vertices, read back from the first
// chunk's words, gives each vertex's own value again.
TEST(SetupRho, ThePlaneReproducesEachVertex) {
  for (bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
    SetupContext ctx;
    Texture tex(ctx.gc());
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE);
    const double px[3] = {4, 70, rightToLeft ? 10.0 : 85.0}, py[3] = {2, 75, 30};
    const float w[3] = {1.0f, 0.25f, 0.5f};  // 1/w
    const float st[3][2] = {{0, 0}, {3, 1}, {0.5f, 4}};
    GlVertex v[3];
    for (int i = 0; i < 3; i++) {
      v[i] = SetupContext::Vertex(px[i], py[i]);
      v[i].texture = {st[i][0] * w[i], st[i][1] * w[i], 0.0f, w[i]};
    }
    ctx.Draw(&v[0], &v[1], &v[2]);
    ASSERT_FALSE(ctx.chunks.empty());
    const FrSpan &f = ctx.chunks[0].span;
    EXPECT_EQ(f.direction, rightToLeft ? -1 : 1);
    // Screen derivatives in true direction, and each vertex's rho x q from
    // the same record.
    FrSpan screen = f;
    screen.dsfdx = f.direction * f.dsfdx;
    screen.dtfdx = f.direction * f.dtfdx;
    screen.dqfdx = f.direction * f.dqfdx;
    const double drhodx = f.direction * double(f.drhodx);
    const double drhody = double(f.drhoEdge) - drhodx * (f.direction * f.dxLong);
    const double x0 = ColumnOf(f, 0) + 0.5, y0 = f.y + 0.5;
    for (int i = 0; i < 3; i++) {
      const double expected =
          __glFRComputePolygonRho(ctx.gc(), &screen, v[i].texture.x, v[i].texture.y, w[i]) * w[i];
      const double atVertex = f.rhoEdge + drhodx * (px[i] - x0) + drhody * (py[i] - y0);
      EXPECT_NEAR(atVertex, expected, 1e-3 * fmax(1.0, fabs(expected))) << "vertex " << i;
    }
    EXPECT_EQ(f.drhodxBig, 32.0f * f.drhodx);
    EXPECT_EQ(f.drhodxHalf, 16.0f * f.drhodx);
    EXPECT_EQ(f.dsfdxBig, 32.0f * f.dsfdx);
    EXPECT_EQ(f.dqfdxHalf, 16.0f * f.dqfdx);
  }
}

// Generated set-ups push dyA .. a, load ecx and edx and call; the procedure
// takes all twelve arguments and removes the ten stack words (40 bytes).
class RhoCallTest : public RunTest {
 protected:
  void PushFloat(Gen &g, float f) {
    uint32_t bits;
    memcpy(&bits, &f, 4);
    g.E(push(gc, g.V(int32_t(bits))));
  }
  // ecx and edx loaded, then a call to the compiled procedure at `where`.
  void CallFast(Gen &g, void *ecxValue, void *edxValue, void *where, const char *name) {
    g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(ecxValue)))));
    g.E(mov(gc, edx, g.V(int32_t(uintptr_t(edxValue)))));
    OgCode *proc = label(gc);
    proc->data.label.where = static_cast<uint8_t *>(where);
    proc->data.label.name = name;
    g.E(call(gc, proc));
  }
};

TEST_F(RhoCallTest, AnEmittedCallPassesTwelveArgumentsAndTheCalleePopsForty) {
  Texture tex(gc);
  GlVertex a{}, b{}, c{};
  a.texture = {0.0f, 0.0f, 0.0f, 1.0f};
  b.texture = {1.0f, 2.0f, 0.0f, 1.0f};
  c.texture = {2.0f, 0.5f, 0.0f, 0.5f};
  FrSpan direct{}, called{};
  for (FrSpan *s : {&direct, &called}) {
    s->direction = -1;
    s->dxLong = 2;  // walk direction: the true step is -2
    s->dsfdx = 0.01f, s->dtfdx = 0.02f, s->dqfdx = 0.001f;
    s->dsfdy = 0.03f, s->dtfdy = -0.01f, s->dqfdy = 0.002f;
  }
  const float words[7] = {0.5f, 0.25f, -0.125f, 0.75f, -0.5f, 0.3125f, 0.6875f};
  __glFRSetupRho(gc, &direct, &a, &b, &c, words[0], words[1], words[2], words[3], words[4],
                 words[5], words[6]);

  Gen g = Start();
  for (int i = 6; i >= 0; i--) PushFloat(g, words[i]);
  for (GlVertex *v : {&c, &b, &a}) g.E(push(gc, g.V(int32_t(uintptr_t(v)))));
  CallFast(g, gc, &called, reinterpret_cast<void *>(__glFRSetupRho), "__glFRSetupRho");
  g.E(ret(gc));
  const void *routine = Done(g);
  RunFastChecked(routine, 0, 0, {});  // esp comes back only if the callee popped 40
  EXPECT_EQ(memcmp(&direct, &called, sizeof direct), 0);
  EXPECT_NE(direct.drhoEdge, 0.0f);
  EXPECT_EQ(direct.drhoEdgeCarry, direct.drhoEdge - direct.drhodx);  // slopeAB < 0

  // dxLong comes in walk direction: the same true step walked left to right
  // gives the same group.
  FrSpan forward = direct;
  forward.direction = 1;
  forward.dxLong = -2;
  __glFRSetupRho(gc, &forward, &a, &b, &c, words[0], words[1], words[2], words[3], words[4],
                 words[5], words[6]);
  EXPECT_EQ(forward.rhoEdge, direct.rhoEdge);
  EXPECT_EQ(forward.drhodx, direct.drhodx);
  EXPECT_EQ(forward.drhoEdge, direct.drhoEdge);
}

// The scale at one vertex comes back in ST(0), the three float words
// removed by the callee.
TEST_F(RhoCallTest, TheScaleAtAVertexComesBackOnTheX87Stack) {
  Texture tex(gc);
  FrSpan span{};
  span.dsfdx = 0.02f, span.dtfdx = 0.01f, span.dqfdx = 0.001f;
  span.dsfdy = -0.01f, span.dtfdy = 0.05f, span.dqfdy = 0.003f;
  const float stq[3] = {0.4f, 0.7f, 0.9f};
  const float direct = __glFRComputePolygonRho(gc, &span, stq[0], stq[1], stq[2]);
  static float result;
  result = 0;
  Gen g = Start();
  for (int i = 2; i >= 0; i--) PushFloat(g, stq[i]);
  CallFast(g, gc, &span, reinterpret_cast<void *>(__glFRComputePolygonRho),
           "__glFRComputePolygonRho");
  g.E(fstp(gc, g.At(nullptr, int32_t(uintptr_t(&result)))));
  g.E(ret(gc));
  RunFastChecked(Done(g), 0, 0, {});
  EXPECT_GT(direct, 0.0f);
  EXPECT_EQ(result, direct);
}

}  // namespace
}  // namespace fr_test

// Hardware points, and through them the vertex words every primitive
// shares: x and y less the bias, the z clamp, colour truncation, the fog
// byte with and without fog in the mode, and s, t, q of textured points.
#include <math.h>

#include "tests/sis/primitives/primitive_fixture.h"

namespace {

using sisprim::PrimitiveTest;
using sisprim::Vertex;
using sisprim::Word;

class HardwarePoint : public PrimitiveTest {
 protected:
  SiS6326Event DrawOne(GlVertex v, bool textured, size_t expectedEvents = 2) {
    if (textured)
      __glSiSRenderAliasedPoint1(gc(), &v);
    else
      __glSiSRenderAliasedPoint1_NoTex(gc(), &v);
    std::vector<SiS6326Event> log = Events();
    EXPECT_EQ(log.size(), expectedEvents);
    std::vector<SiS6326Event> p = Primitives(log);
    SiS6326Event none;
    memset(&none, 0, sizeof none);
    return p.empty() ? none : p[0];
  }
};

TEST_F(HardwarePoint, OneWaitOneCommandOneBlockAndNoFire) {
  for (bool textured : {false, true}) {
    GlVertex v = Vertex(5, 6);
    if (textured)
      __glSiSRenderAliasedPoint1(gc(), &v);
    else
      __glSiSRenderAliasedPoint1_NoTex(gc(), &v);
    std::vector<SiS6326Event> log = Events();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, uint32_t(SIS6326_EVENT_WAIT));
    EXPECT_EQ(log[0].value, textured ? 9u : 6u);
    EXPECT_EQ(log[1].kind, uint32_t(SIS6326_EVENT_PRIMITIVE));
    EXPECT_EQ(log[1].value, textured ? 0x200u : 0x100u);
    EXPECT_EQ(log[1].written[0], textured ? 0xFFu : 0x1Fu);
    EXPECT_EQ(log[1].written[1], 0u);
  }
  // The outermost unlock fires what the points queued.
  sis::UnlockDevice(gc());
  std::vector<SiS6326Event> log = Events();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].kind, uint32_t(SIS6326_EVENT_FIRE));
}

TEST_F(HardwarePoint, VertexWords) {
  struct Case {
    const char *name;
    float x, y, z;
    GlColor color;
    float fog;
    bool fogMode;
    uint32_t words[5];
  } const cases[] = {
      {"position less bias, x less half", 10.25f, 20.75f, 0.5f, {0, 0, 0, 0}, 0, false,
       {0, Word(0.5f), Word(9.75f), Word(20.75f), 0}},
      {"origin", 0, 0, 0, {0, 0, 0, 0}, 0, false, {0, 0, Word(-0.5f), 0, 0}},
      {"z just below the far plane", 1, 1, 0.99f, {0, 0, 0, 0}, 0, false,
       {0, Word(0.99f), Word(0.5f), Word(1.0f), 0}},
      {"z at the far plane", 1, 1, 1.0f, {0, 0, 0, 0}, 0, false,
       {0, sisprim::kFarZ, Word(0.5f), Word(1.0f), 0}},
      {"z beyond the far plane", 1, 1, 7.0f, {0, 0, 0, 0}, 0, false,
       {0, sisprim::kFarZ, Word(0.5f), Word(1.0f), 0}},
      {"colour truncated", 1, 1, 0, {254.99f, 128.5f, 0.99f, 200.7f}, 0, false,
       {0, 0, Word(0.5f), Word(1.0f), 0xC8FE8000}},
      {"colour at full scale", 1, 1, 0, {255, 255, 255, 255}, 0, false,
       {0, 0, Word(0.5f), Word(1.0f), 0xFFFFFFFF}},
      {"fog off in the mode", 1, 1, 0, {0, 0, 0, 0}, 0.5f, false,
       {0, 0, Word(0.5f), Word(1.0f), 0}},
      {"fog half", 1, 1, 0, {0, 0, 0, 0}, 0.5f, true,
       {0x7F000000, 0, Word(0.5f), Word(1.0f), 0}},
      {"fog full", 1, 1, 0, {0, 0, 0, 0}, 1.0f, true,
       {0xFF000000, 0, Word(0.5f), Word(1.0f), 0}},
      {"fog none", 1, 1, 0, {0, 0, 0, 0}, 0.0f, true, {0, 0, Word(0.5f), Word(1.0f), 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    sis()->work.mode = c.fogMode ? SIS_MODE_FOG : 0;
    GlVertex v = Vertex(c.x, c.y, c.z, c.color);
    v.fog = c.fog;
    const SiS6326Event p = DrawOne(v, false);
    for (int w = 0; w < 5; ++w) EXPECT_EQ(p.vertex[0][w], c.words[w]) << "word " << w + 1;
  }
}

TEST_F(HardwarePoint, ZIsScaledToTheDepthRange) {
  gc()->constants.oneOverDepthScale = 0.5f;
  const SiS6326Event half = DrawOne(Vertex(1, 1, 1.5f), false);
  EXPECT_EQ(half.vertex[0][1], Word(0.75f));
  const SiS6326Event far = DrawOne(Vertex(1, 1, 2.0f), false);
  EXPECT_EQ(far.vertex[0][1], sisprim::kFarZ);
}

TEST_F(HardwarePoint, ThePointTakesItsOwnColour) {
  GlVertex v = Vertex(1, 1, 0, {10, 20, 30, 40});
  v.colors[__GL_BACKFACE] = {50, 60, 70, 80};
  v.color = &v.colors[__GL_BACKFACE];
  GlColor *const aimed = v.color;
  __glSiSRenderAliasedPoint1_NoTex(gc(), &v);
  std::vector<SiS6326Event> p = Primitives(Events());
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].vertex[0][4], 0x50323C46u);
  EXPECT_EQ(v.color, aimed);
}

TEST_F(HardwarePoint, ATexturedPointSendsSAndTOverQ) {
  struct Case {
    float s, t, q;
  } const cases[] = {{1.0f, 3.0f, 2.0f}, {0.25f, 0.75f, 1.0f}, {-1.0f, 0.5f, 0.5f}};
  for (const Case &c : cases) {
    GlVertex v = Vertex(7, 8, 0.25f, {1, 2, 3, 4});
    v.texture = {c.s, c.t, 9.0f, c.q};
    const SiS6326Event p = DrawOne(v, true);
    EXPECT_EQ(p.vertex[0][5], Word(c.s / c.q));
    EXPECT_EQ(p.vertex[0][6], Word(c.t / c.q));
    EXPECT_EQ(p.vertex[0][7], Word(c.q));
    EXPECT_EQ(sis()->texS[0], c.s / c.q);
    EXPECT_EQ(sis()->texT[0], c.t / c.q);
    // The first five words are an untextured point's.
    EXPECT_EQ(p.vertex[0][2], Word(6.5f));
    EXPECT_EQ(p.vertex[0][3], Word(8.0f));
    EXPECT_EQ(p.vertex[0][4], 0x04010203u);
  }
  // The edge case of the point with q = 2 and s = 1.
  GlVertex v = Vertex(0, 0);
  v.texture = {1.0f, 0.0f, 0.0f, 2.0f};
  EXPECT_EQ(DrawOne(v, true).vertex[0][5], Word(0.5f));
}

TEST_F(HardwarePoint, APointWithANonFiniteCoordinateSendsNothing) {
  for (float GlCoord::*field : {&GlCoord::x, &GlCoord::y, &GlCoord::z}) {
    for (float value : {NAN, INFINITY, -INFINITY}) {
      GlVertex v = Vertex(3, 3);
      v.window.*field = value;
      __glSiSRenderAliasedPoint1_NoTex(gc(), &v);
      __glSiSRenderAliasedPoint1(gc(), &v);
      EXPECT_TRUE(Events().empty());
    }
  }
}

// s / q or t / q not finite would reach the chip: the point sends nothing.
// Its q word is never read, so q alone does not matter.
TEST_F(HardwarePoint, ATexturedPointWithANonFiniteSOrTSendsNothing) {
  struct Case {
    const char *name;
    float s, t, q;
    bool sent;
  } const cases[] = {{"q = 0", 1.0f, 0.5f, 0.0f, false},
                     {"s NaN", NAN, 0.5f, 1.0f, false},
                     {"t infinite", 0.5f, INFINITY, 1.0f, false},
                     {"q infinite", 1.0f, 0.5f, INFINITY, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    GlVertex v = Vertex(3, 3);
    v.texture = {c.s, c.t, 0.0f, c.q};
    __glSiSRenderAliasedPoint1(gc(), &v);
    EXPECT_EQ(Primitives(Events()).size(), c.sent ? 1u : 0u);
  }
}

}  // namespace

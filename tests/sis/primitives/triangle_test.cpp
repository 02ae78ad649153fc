// Hardware triangles: the command for every combination of side bit,
// shading and texturing, the three blocks with y less half a pixel, the
// top-first order and the long edge's side on the chips that need them,
// flat colours from the provoking vertex, texture coordinates, colour
// pointers left as found, and triangles that send nothing.
#include <math.h>

#include <string>

#include "tests/sis/primitives/primitive_fixture.h"

namespace {

using sisprim::Block;
using sisprim::PrimitiveTest;
using sisprim::Vertex;
using sisprim::Word;

constexpr GlColor kRed = {255, 0, 0, 255}, kGreen = {0, 255, 0, 255}, kBlue = {0, 0, 255, 255};
constexpr uint32_t kRedWord = 0xFFFF0000, kGreenWord = 0xFF00FF00, kBlueWord = 0xFF0000FF;

using FillProc = void(GLFASTCALL *)(GlContext *, GlVertex *, GlVertex *, GlVertex *);

struct Fill {
  const char *name;
  FillProc proc;
  bool smooth, textured;
};

constexpr Fill kFills[] = {
    {"flat", __glSiSRenderFlatTriangle, false, false},
    {"smooth", __glSiSRenderSmoothTriangle, true, false},
    {"flat depth", __glSiSRenderFlatDepthTriangle, false, false},
    {"smooth depth", __glSiSRenderSmoothDepthTriangle, true, false},
    {"textured flat", __glSiSTexFlatTriangle, false, true},
    {"textured smooth", __glSiSTexSmoothTriangle, true, true},
    {"textured flat depth", __glSiSTexFlatDepthTriangle, false, true},
    {"textured smooth depth", __glSiSTexSmoothDepthTriangle, true, true},
};

class HardwareTriangle : public PrimitiveTest {
 protected:
  std::vector<SiS6326Event> Draw(const Fill &f, GlVertex *a, GlVertex *b, GlVertex *c) {
    f.proc(gc(), a, b, c);
    return Events();
  }
};

TEST_F(HardwareTriangle, CommandForEverySideShadingAndTexturing) {
  // Top (10, 10), bottom (10, 30); the middle vertex left of the long edge,
  // on it, or right of it.
  struct Side {
    const char *name;
    float middleX;
    uint32_t orderedLow;
  } const sides[] = {{"middle left", 0, 0x82}, {"middle on the edge", 10, 0x02},
                     {"middle right", 20, 0x02}};
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered, sisprim::kChipOrderedOld}) {
    sis()->chipCode = chip;
    for (const Side &s : sides) {
      for (const Fill &f : kFills) {
        SCOPED_TRACE(testing::Message() << "chip 0x" << std::hex << chip << ", " << s.name << ", "
                                        << f.name);
        GlVertex a = Vertex(10, 10), b = Vertex(s.middleX, 20), c = Vertex(10, 30);
        std::vector<SiS6326Event> log = Draw(f, &a, &b, &c);
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].kind, uint32_t(SIS6326_EVENT_WAIT));
        EXPECT_EQ(log[0].value, f.textured ? 25u : 16u);
        const uint32_t low = chip == sisprim::kChipPlain ? 0x02 : s.orderedLow;
        const uint32_t command = 0x6000 | low | (f.smooth ? 0x100000 : 0x40000) |
                                 (f.textured ? 0x600 : 0x500);
        EXPECT_EQ(log[1].value, command);
        const uint32_t words = f.textured ? 0xFF : 0x1F;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(log[1].written[i], words);
      }
    }
  }
}

TEST_F(HardwareTriangle, BlocksCarryEachVertexLessTheBiasAndHalfAPixel) {
  sis()->work.mode = SIS_MODE_FOG;
  GlVertex a = Vertex(10.5f, 10.25f, 0.1f, kRed), b = Vertex(2, 20, 0.9f, kGreen),
           c = Vertex(30, 40.5f, 0.3f, kBlue);
  a.fog = 1.0f;
  b.fog = 0.5f;
  c.fog = 0.0f;
  std::vector<SiS6326Event> p = Primitives(Draw(kFills[1], &a, &b, &c));
  ASSERT_EQ(p.size(), 1u);
  ExpectBlock(p[0], 0, {0xFF000000, 0.1f, 10.0f, 9.75f, kRedWord});
  ExpectBlock(p[0], 1, {0x7F000000, 0.9f, 1.5f, 19.5f, kGreenWord});
  ExpectBlock(p[0], 2, {0, 0.3f, 29.5f, 40.0f, kBlueWord});
}

TEST_F(HardwareTriangle, OrderingChipsSendTheTopVertexFirst) {
  // Every order of three rows; the chips that sort send top, middle, bottom.
  const float rows[3] = {5, 17, 29};
  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  const GlColor colors[3] = {kRed, kGreen, kBlue};
  const uint32_t words[3] = {kRedWord, kGreenWord, kBlueWord};
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered, sisprim::kChipOrderedOld}) {
    sis()->chipCode = chip;
    for (const auto &order : orders) {
      SCOPED_TRACE(testing::Message() << "chip 0x" << std::hex << chip << ", rows " << order[0]
                                      << order[1] << order[2]);
      GlVertex v[3];
      for (int i = 0; i < 3; ++i) {
        v[i] = Vertex(float(3 + order[i]), rows[order[i]], 0.5f, colors[order[i]]);
        v[i].color = &v[i].colors[__GL_FRONTFACE];
      }
      std::vector<SiS6326Event> p = Primitives(Draw(kFills[1], &v[0], &v[1], &v[2]));
      ASSERT_EQ(p.size(), 1u);
      for (int i = 0; i < 3; ++i) {
        const int row = chip == sisprim::kChipPlain ? order[i] : i;
        ExpectBlock(p[0], i, {0, 0.5f, 2.5f + float(row), rows[row] - 0.5f, words[row]});
      }
    }
  }
}

TEST_F(HardwareTriangle, AFlatTriangleSendsTheProvokingColourInEveryBlock) {
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered}) {
    sis()->chipCode = chip;
    for (const Fill &f : kFills) {
      if (f.smooth) continue;
      SCOPED_TRACE(f.name);
      GlVertex a = Vertex(0, 30, 0.5f, kRed), b = Vertex(10, 0, 0.5f, kGreen),
               c = Vertex(20, 15, 0.5f, kBlue);
      // The front end aimed the provoking vertex alone at its back colours.
      b.colors[__GL_BACKFACE] = {9, 8, 7, 6};
      b.color = &b.colors[__GL_BACKFACE];
      gc()->vertexBuffer.provoking = &b;
      std::vector<SiS6326Event> p = Primitives(Draw(f, &a, &b, &c));
      ASSERT_EQ(p.size(), 1u);
      for (int i = 0; i < 3; ++i) EXPECT_EQ(p[0].vertex[i][4], 0x06090807u) << "block " << i + 1;
      EXPECT_EQ(a.color, &a.colors[__GL_FRONTFACE]);
      EXPECT_EQ(b.color, &b.colors[__GL_BACKFACE]);
      EXPECT_EQ(c.color, &c.colors[__GL_FRONTFACE]);
      // Without a provoking vertex named, the third one's.
      gc()->vertexBuffer.provoking = nullptr;
      p = Primitives(Draw(f, &a, &b, &c));
      ASSERT_EQ(p.size(), 1u);
      for (int i = 0; i < 3; ++i) EXPECT_EQ(p[0].vertex[i][4], kBlueWord);
    }
  }
}

TEST_F(HardwareTriangle, ASmoothTriangleReadsEachColourWhereItsPointerAims) {
  GlVertex a = Vertex(0, 0, 0.5f, kRed), b = Vertex(10, 5, 0.5f, kGreen),
           c = Vertex(3, 20, 0.5f, kBlue);
  for (GlVertex *v : {&a, &b, &c}) v->color = &v->colors[__GL_BACKFACE];
  a.colors[__GL_BACKFACE] = {1, 2, 3, 4};
  b.colors[__GL_BACKFACE] = {5, 6, 7, 8};
  c.colors[__GL_BACKFACE] = {9, 10, 11, 12};
  std::vector<SiS6326Event> p = Primitives(Draw(kFills[3], &a, &b, &c));
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].vertex[0][4], 0x04010203u);
  EXPECT_EQ(p[0].vertex[1][4], 0x08050607u);
  EXPECT_EQ(p[0].vertex[2][4], 0x0C090A0Bu);
  for (GlVertex *v : {&a, &b, &c}) EXPECT_EQ(v->color, &v->colors[__GL_BACKFACE]);
}

TEST_F(HardwareTriangle, TextureCoordinatesFollowTheVertexOrder) {
  struct Case {
    const char *name;
    bool divided;
    float q;
  } const cases[] = {{"q = 1", true, 1.0f}, {"divided, q = 2", true, 2.0f},
                     {"not divided, q = 2", false, 2.0f}};
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered}) {
    sis()->chipCode = chip;
    for (const Case &c : cases) {
      SCOPED_TRACE(c.name);
      gc()->polygon.shader.modeFlags = c.divided ? __GL_SHADE_TEX_DIVIDED : 0;
      // Given bottom-first: the ordering chips send them the other way.
      GlVertex v[3] = {Vertex(0, 30), Vertex(10, 20), Vertex(0, 10)};
      for (int i = 0; i < 3; ++i) v[i].texture = {0.25f * float(i + 1), 1.0f + float(i), 0, c.q};
      std::vector<SiS6326Event> p = Primitives(Draw(kFills[4], &v[0], &v[1], &v[2]));
      ASSERT_EQ(p.size(), 1u);
      for (int i = 0; i < 3; ++i) {
        const GlVertex &sent = v[chip == sisprim::kChipPlain ? i : 2 - i];
        const float s = c.divided ? sent.texture.x / c.q : sent.texture.x;
        const float t = c.divided ? sent.texture.y / c.q : sent.texture.y;
        EXPECT_EQ(p[0].vertex[i][3], Word(sent.window.y - float(sisprim::kBias) - 0.5f));
        EXPECT_EQ(p[0].vertex[i][5], Word(s)) << "block " << i + 1;
        EXPECT_EQ(p[0].vertex[i][6], Word(t)) << "block " << i + 1;
        EXPECT_EQ(p[0].vertex[i][7], Word(c.q)) << "block " << i + 1;
        EXPECT_EQ(sis()->texS[i], s);
        EXPECT_EQ(sis()->texT[i], t);
      }
    }
  }
}

TEST_F(HardwareTriangle, ATriangleWithANonFiniteCoordinateSendsNothing) {
  for (uint32_t chip : {sisprim::kChipPlain, sisprim::kChipOrdered}) {
    sis()->chipCode = chip;
    for (int corner = 0; corner < 3; ++corner) {
      for (float GlCoord::*field : {&GlCoord::x, &GlCoord::y, &GlCoord::z}) {
        for (float value : {NAN, INFINITY}) {
          GlVertex v[3] = {Vertex(0, 0), Vertex(10, 5), Vertex(3, 20)};
          v[corner].window.*field = value;
          for (const Fill &f : kFills) f.proc(gc(), &v[0], &v[1], &v[2]);
          EXPECT_TRUE(Events().empty());
        }
      }
    }
  }
}

// Non-finite texture words would reach the chip, whose behaviour for them
// is undefined: such a triangle sends nothing. q counts only where the chip
// interpolates it (the perspective mode bit).
TEST_F(HardwareTriangle, ATexturedTriangleWithANonFiniteTextureWordSendsNothing) {
  struct Case {
    const char *name;
    bool divided, perspective;
    float s, q;
    bool sent;
  } const cases[] = {
      {"divided by q = 0", true, false, 1.0f, 0.0f, false},
      {"s NaN", false, false, NAN, 1.0f, false},
      {"s infinite", false, true, INFINITY, 1.0f, false},
      {"q infinite, not interpolated", false, false, 1.0f, INFINITY, true},
      {"q infinite, interpolated", false, true, 1.0f, INFINITY, false},
      {"q NaN, interpolated", false, true, 1.0f, NAN, false},
  };
  for (const Case &c : cases) {
    for (int corner = 0; corner < 3; ++corner) {
      SCOPED_TRACE(testing::Message() << c.name << ", corner " << corner);
      gc()->polygon.shader.modeFlags = c.divided ? __GL_SHADE_TEX_DIVIDED : 0;
      sis()->work.mode = c.perspective ? SIS_MODE_PERSPECTIVE : 0;
      GlVertex v[3] = {Vertex(0, 0), Vertex(10, 5), Vertex(3, 20)};
      for (GlVertex &x : v) x.texture = {0.5f, 0.5f, 0, 1};
      v[corner].texture.x = c.s;
      v[corner].texture.w = c.q;
      for (const Fill &f : kFills) {
        if (!f.textured) continue;
        EXPECT_EQ(Primitives(Draw(f, &v[0], &v[1], &v[2])).size(), c.sent ? 1u : 0u) << f.name;
      }
    }
  }
}

}  // namespace

// The first binding of a created context: the constants it derives from the
// visual, the processor and the window bias, and the initial GL state, on a
// worker thread as applications bind; a second binding keeps the state.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/current.h"
#include "core/s_context.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

// Set by the first binding and by every one after it.
constexpr uint32_t kBoundFlags = __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED;

uint32_t Bits(float f) {
  uint32_t b;
  memcpy(&b, &f, sizeof b);
  return b;
}

struct Row {
  std::string name;
  double actual;
  double expected;
};

class Rows {
 public:
  void Add(const std::string &name, double actual, double expected) {
    rows_.push_back({name, actual, expected});
  }
  void Color(const std::string &name, const GlColor &actual, const GlColor &expected) {
    Add(name + ".r", actual.r, expected.r);
    Add(name + ".g", actual.g, expected.g);
    Add(name + ".b", actual.b, expected.b);
    Add(name + ".a", actual.a, expected.a);
  }
  void Coord(const std::string &name, const GlCoord &actual, const GlCoord &expected) {
    Add(name + ".x", actual.x, expected.x);
    Add(name + ".y", actual.y, expected.y);
    Add(name + ".z", actual.z, expected.z);
    Add(name + ".w", actual.w, expected.w);
  }
  void Check() const {
    for (const Row &r : rows_) EXPECT_EQ(r.actual, r.expected) << r.name;
  }

 private:
  std::vector<Row> rows_;
};

// A visual and a window to bind it to.
struct Visual {
  const char *name;
  GlModes modes;
  bool yInverted;
  int32_t width, height;
};

GlModes WithAlpha(GlModes m, uint32_t bits) {
  m.alphaBits = bits;
  return m;
}

const Visual kVisuals[] = {
    {"rgba double depth16 stencil8", TestModes(true, true, 16, 8), false, 640, 480},
    {"rgba single depth24 no stencil", TestModes(true, false, 24, 0), false, 300, 200},
    {"rgba 8-bit alpha, inverted", WithAlpha(TestModes(true, true, 16, 4), 8), true, 640, 480},
    {"colour index single no depth", TestModes(false, false, 0, 8), false, 100, 100},
    {"colour index double inverted", TestModes(false, true, 32, 1), true, 512, 256},
};

// A context of the visual, created on the test's thread and bound for the
// first time, and released, on a worker thread as applications bind.
class FirstBinding : public LifeTest, public testing::WithParamInterface<Visual> {
 protected:
  void SetUp() override {
    LifeTest::SetUp();
    const Visual &v = GetParam();
    window = std::make_unique<TestWindow>(v.width, v.height, v.yInverted);
    UseWindow(window.get());
    gc = Create(v.modes);
    ASSERT_NE(gc, nullptr);
    GlContext *bound = gc;
    OnThread([bound] {
      ASSERT_TRUE(Bind(bound));
      ASSERT_EQ(__glGetTLSCXValue(), bound);
      ASSERT_TRUE(Release(bound));
      EXPECT_EQ(__glGetTLSCXValue(), &__wglPlaceholderContext);
    });
  }
  void TearDown() override {
    if (gc) Destroy(gc);
    LifeTest::TearDown();
  }
  std::unique_ptr<TestWindow> window;
  GlContext *gc = nullptr;
};

TEST_P(FirstBinding, DerivesTheConstants) {
  const Visual &v = GetParam();

  const GlConstants &c = gc->constants;
  const GlModes &m = v.modes;
  const bool ci = m.colorIndexMode;
  // The drawing buffer's largest component values: a colour-index buffer
  // and a visual without alpha bits keep the context's 255.
  auto largest = [ci](uint32_t bits) { return ci || bits == 0 ? 255.0f : float((1u << bits) - 1); };
  const float one255 = 1.0f / 255.0f;
  // The depth buffer's largest z: 0xFFFF0000 up to 16 bits, 0x7FC00000 above.
  float depthScale = !m.haveDepthBuffer    ? 2147483520.0f  // 0x7FFFFF80
                     : m.depthBits <= 16 ? 4294901760.0f
                                         : 2143289344.0f;
  Rows rows;
  rows.Add("uByteMax", c.uByteMax, 255.0);
  rows.Add("oneOverUByteMax", c.oneOverUByteMax, one255);
  rows.Add("uShortMax", c.uShortMax, 65535.0);
  rows.Add("oneOverUShortMax", c.oneOverUShortMax, 1.0f / 65535.0f);
  rows.Add("uIntMax", c.uIntMax, 4294964992.0);
  rows.Add("uIntMax bits", Bits(c.uIntMax), 0x4F7FFFF7u);
  rows.Add("oneOverUIntMax", c.oneOverUIntMax, 1.0f / 4294964992.0f);
  rows.Add("viewportEpsilon", c.viewportEpsilon, 0.00048828125);  // 2^-11
  rows.Add("viewportAlmostHalf", c.viewportAlmostHalf, 0.49951171875);
  rows.Add("oneOverRedScale", c.oneOverRedScale, one255);
  rows.Add("oneOverGreenScale", c.oneOverGreenScale, one255);
  rows.Add("oneOverBlueScale", c.oneOverBlueScale, one255);
  rows.Add("oneOverAlphaScale", c.oneOverAlphaScale, one255);
  rows.Add("redRescale", c.redRescale, one255 * largest(m.redBits));
  rows.Add("greenRescale", c.greenRescale, one255 * largest(m.greenBits));
  rows.Add("blueRescale", c.blueRescale, one255 * largest(m.blueBits));
  rows.Add("alphaRescale", c.alphaRescale, one255 * largest(m.alphaBits));
  rows.Add("oneOverDepthScale", c.oneOverDepthScale, 1.0);
  rows.Add("depthMax", c.depthMax, depthScale);
  rows.Add("alphaTestSize", c.alphaTestSize, 256);
  rows.Add("alphaTableConv", c.alphaTableConv, 255.0f / largest(m.alphaBits));
  rows.Add("maxTextureSize", c.maxTextureSize, 1024);
  rows.Add("width", c.width, v.width);
  rows.Add("height", c.height, v.height);
  rows.Add("yInverted", c.yInverted, v.yInverted);
  for (int i = 0; i < 256; i++)
    rows.Add("uByteToFloat[" + std::to_string(i) + "]", c.uByteToFloat[i], float(i) * one255);
  rows.Check();
  EXPECT_FLOAT_EQ(c.uByteToFloat[255], 1.0f);

  EXPECT_STREQ(c.vendor, "VLX");
  EXPECT_STREQ(c.version, "1.1.3 VLX");
  EXPECT_STREQ(c.extensions,
               "GL_EXT_abgr GL_EXT_bgra GL_EXT_packed_pixels GL_EXT_paletted_texture "
               "GL_EXT_vertex_array GL_VLX_compiled_vertex_array GL_VLX_cull_vertex "
               "GL_VLX_index_array_formats GL_VLX_index_func GL_VLX_index_material "
               "GL_VLX_index_texture GL_WIN_swap_hint ");
  EXPECT_EQ(std::string(c.extensions).back(), ' ');
  const char *renderer = (c.cpuFlags & __GL_CPU_K3D)   ? "Generic/MMX/K3D"
                         : (c.cpuFlags & __GL_CPU_MMX) ? "Generic/MMX"
                                                       : "Generic";
  EXPECT_STREQ(c.renderer, renderer);
}

TEST_P(FirstBinding, ResetsToTheInitialState) {
  const Visual &v = GetParam();

  const GlModes &m = v.modes;
  const bool ci = m.colorIndexMode;
  const GlState &s = gc->state;
  const GlColor white = {1, 1, 1, 1}, black = {0, 0, 0, 1};
  const GlColor ambient = {0.2f, 0.2f, 0.2f, 1}, diffuse = {0.8f, 0.8f, 0.8f, 1};
  // Colours kept in the buffer's range are scaled once the visual is known.
  auto scaled = [](const GlColor &c) {
    return GlColor{c.r * 255.0f, c.g * 255.0f, c.b * 255.0f, c.a * 255.0f};
  };
  Rows rows;
  rows.Add("flags", gc->flags, kBoundFlags);
  rows.Add("beginMode", gc->beginMode, __GL_VALIDATE_PENDING);
  rows.Add("renderMode", gc->renderMode, GL_RENDER);
  rows.Add("error", gc->error, GL_NO_ERROR);
  rows.Add("attribute stack top", gc->attributeStackTop == gc->attributeStack, 1);
  rows.Add("client attribute stack top", gc->clientAttributeStackTop == gc->clientAttributeStack,
           1);
  rows.Add("vertex buffer next", gc->vertexBuffer.next == &gc->vertexBuffer.slots[0], 1);
  for (int i = 0; i < 16; i++)
    rows.Add("slot colour " + std::to_string(i),
             gc->vertexBuffer.slots[i].color == &gc->vertexBuffer.slots[i].colors[0], 1);

  // Current values.
  rows.Color("current colour", s.current.color, ci ? white : scaled(white));
  rows.Add("current index", s.current.index, 1.0);
  rows.Add("edge flag", s.current.edgeFlag, __GL_HAS_EDGEFLAG_BOUNDARY);
  rows.Add("normal x", s.current.normal[0], 0);
  rows.Add("normal y", s.current.normal[1], 0);
  rows.Add("normal z", s.current.normal[2], 1);
  rows.Coord("texture", s.current.texture, {0, 0, 0, 1});

  // Raster position: the window's bottom-left pixel.
  const GlVertex &rp = s.current.rasterPos;
  rows.Add("raster x", rp.window.x, 6144.0);
  rows.Add("raster y", rp.window.y,
           v.yInverted ? (float(v.height) - 0.00048828125f) + 6144.0f : 6144.0f);
  rows.Add("raster w", rp.window.w, 1.0);
  rows.Add("raster q", rp.texture.w, 1.0);
  rows.Add("raster valid", s.current.validRasterPos, 1);
  rows.Add("raster colour pointer", rp.color == &rp.colors[0], 1);
  if (ci)
    rows.Add("raster index", rp.colors[0].r, 1.0);
  else
    rows.Color("raster colour", rp.colors[0], scaled(white));

  // Points, lines, polygons.
  rows.Add("point size", s.point.requestedSize, 1.0);
  rows.Add("point smooth size", s.point.smoothSize, 1.0);
  rows.Add("point aliased size", s.point.aliasedSize, 1);
  rows.Add("line width", s.line.requestedWidth, 1.0);
  rows.Add("line smooth width", s.line.smoothWidth, 1.0);
  rows.Add("line aliased width", s.line.aliasedWidth, 1);
  rows.Add("line stipple", s.line.stipple, 0xFFFF);
  rows.Add("line stipple repeat", s.line.stippleRepeat, 1);
  rows.Add("polygon front mode", s.polygon.frontMode, GL_FILL);
  rows.Add("polygon back mode", s.polygon.backMode, GL_FILL);
  rows.Add("cull face", s.polygon.cull, GL_BACK);
  rows.Add("front face", s.polygon.frontFaceDirection, GL_CCW);
  for (int i = 0; i < 128; i++)
    rows.Add("stipple byte " + std::to_string(i), s.polygonStipple.stipple[i], 0xFF);

  // Lighting and materials.
  rows.Color("light model ambient", s.light.model.ambient, scaled(ambient));
  rows.Add("colour material face", s.light.colorMaterialFace, GL_FRONT_AND_BACK);
  rows.Add("colour material parameter", s.light.colorMaterialParam, GL_AMBIENT_AND_DIFFUSE);
  rows.Add("index material face", s.light.indexMaterialFace, GL_FRONT_AND_BACK);
  rows.Add("index material parameter", s.light.indexMaterialParam, GL_INDEX_OFFSET);
  rows.Add("shade model", s.light.shadingModel, GL_SMOOTH);
  const GlMaterial *materials[] = {&s.light.front, &s.light.back};
  for (int f = 0; f < 2; f++) {
    std::string face = f ? "back " : "front ";
    const GlMaterial &mat = *materials[f];
    rows.Color(face + "ambient", mat.ambient, ambient);
    rows.Color(face + "diffuse", mat.diffuse, diffuse);
    rows.Color(face + "specular", mat.specular, black);
    rows.Color(face + "emission", mat.emissive, scaled(black));
    rows.Add(face + "shininess", mat.specularExponent, 0);
    rows.Add(face + "ambient index", mat.cmapa, 0);
    rows.Add(face + "diffuse index", mat.cmapd, 1);
    rows.Add(face + "specular index", mat.cmaps, 1);
    // The first binding validates: each face holds the table of shininess 0.
    rows.Add(face + "cache exponent", gc->light.materialCache[f].specularExponent, 0);
    rows.Add(face + "cache table", gc->light.materialCache[f].specLut != nullptr, 1);
  }
  for (int i = 0; i < 8; i++) {
    std::string light = "light " + std::to_string(i) + " ";
    const GlLight &l = s.light.source[i];
    rows.Color(light + "ambient", l.ambient, scaled(black));
    rows.Color(light + "diffuse", l.diffuse, scaled(i == 0 ? white : black));
    rows.Color(light + "specular", l.specular, scaled(i == 0 ? white : black));
    rows.Coord(light + "position", l.position, {0, 0, 1, 0});
    rows.Coord(light + "eye position", l.positionEye, {0, 0, 1, 0});
    rows.Add(light + "spot x", l.direction.x, 0);
    rows.Add(light + "spot y", l.direction.y, 0);
    rows.Add(light + "spot z", l.direction.z, -1);
    rows.Add(light + "spot exponent", l.spotLightExponent, 0);
    rows.Add(light + "cutoff", l.spotLightCutOffAngle, 180);
    rows.Add(light + "constant attenuation", l.constantAttenuation, 1);
    rows.Add(light + "linear attenuation", l.linearAttenuation, 0);
    rows.Add(light + "quadratic attenuation", l.quadraticAttenuation, 0);
    rows.Add(light + "cache table", gc->light.lightCaches[i].spotLut == nullptr, 1);
  }

  // Per-fragment state.
  rows.Add("fog mode", s.fog.mode, GL_EXP);
  rows.Add("fog density", s.fog.density, 1);
  rows.Add("fog start", s.fog.start, 0);
  rows.Add("fog end", s.fog.end, 1);
  rows.Add("depth function", s.depth.testFunc, GL_LESS);
  rows.Add("depth writes", s.depth.writeEnable, 1);
  rows.Add("depth clear", s.depth.clear, 1.0);
  const uint32_t stencilMask = (1u << m.stencilBits) - 1;
  rows.Add("stencil function", s.stencil.testFunc, GL_ALWAYS);
  rows.Add("stencil value mask", s.stencil.mask, stencilMask);
  rows.Add("stencil write mask", s.stencil.writeMask, stencilMask);
  rows.Add("stencil fail", s.stencil.fail, GL_KEEP);
  rows.Add("stencil depth fail", s.stencil.depthFail, GL_KEEP);
  rows.Add("stencil depth pass", s.stencil.depthPass, GL_KEEP);
  rows.Add("alpha function", s.raster.alphaFunction, GL_ALWAYS);
  rows.Add("blend source", s.raster.blendSrc, GL_ONE);
  rows.Add("blend destination", s.raster.blendDst, GL_ZERO);
  rows.Add("index function", s.raster.indexFunction, GL_ALWAYS);
  rows.Add("logic op", s.raster.logicOp, GL_COPY);
  rows.Add("index write mask", s.raster.writeMask, ci ? (1u << m.indexBits) - 1 : 0);
  rows.Add("red mask", s.raster.rMask, 1);
  rows.Add("green mask", s.raster.gMask, 1);
  rows.Add("blue mask", s.raster.bMask, 1);
  rows.Add("alpha mask", s.raster.aMask, 1);
  const GLenum buffer = m.doubleBufferMode ? GL_BACK : GL_FRONT;
  rows.Add("draw buffer", s.raster.drawBuffer, buffer);
  rows.Add("draw buffer as asked", s.raster.drawBufferReturn, buffer);
  GlColorBuffer *drawn = m.doubleBufferMode ? &gc->backBuffer : &gc->frontBuffer;
  rows.Add("drawn colour buffer", gc->drawBuffer == drawn, 1);
  rows.Add("read colour buffer", gc->readBuffer == drawn, 1);

  // Hints, enables, selection.
  rows.Add("perspective hint", s.hints.perspectiveCorrection, GL_DONT_CARE);
  rows.Add("point smooth hint", s.hints.pointSmooth, GL_DONT_CARE);
  rows.Add("line smooth hint", s.hints.lineSmooth, GL_DONT_CARE);
  rows.Add("polygon smooth hint", s.hints.polygonSmooth, GL_DONT_CARE);
  rows.Add("fog hint", s.hints.fog, GL_DONT_CARE);
  rows.Add("enables", s.enables.general, __GL_DITHER_ENABLE);
  rows.Add("texture enables", s.enables.texture, 0);
  rows.Add("light enables", s.enables.lights, 0);
  rows.Add("clip plane enables", s.enables.clipPlanes, 0);
  rows.Add("selection hit", gc->select.hit, 0);
  rows.Add("name stack empty", gc->select.sp == gc->select.stack, 1);

  // The window: viewport and scissor cover it, depth range (0, 1).
  rows.Add("viewport x", s.viewport.x, 0);
  rows.Add("viewport y", s.viewport.y, 0);
  rows.Add("viewport width", s.viewport.width, v.width);
  rows.Add("viewport height", s.viewport.height, v.height);
  rows.Add("depth near", s.viewport.zNear, 0);
  rows.Add("depth far", s.viewport.zFar, 1);
  rows.Add("scissor x", s.scissor.x, 0);
  rows.Add("scissor y", s.scissor.y, 0);
  rows.Add("scissor width", s.scissor.width, v.width);
  rows.Add("scissor height", s.scissor.height, v.height);
  rows.Add("matrix mode", s.transform.matrixMode, GL_MODELVIEW);
  rows.Add("viewport inside", gc->transform.viewportInside, 1);
  rows.Check();
}

INSTANTIATE_TEST_SUITE_P(Visuals, FirstBinding, testing::ValuesIn(kVisuals),
                         [](const testing::TestParamInfo<Visual> &info) {
                           std::string name = info.param.name;
                           for (char &ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// The first binding allocates too (the reset of the services' state). Each
// of those allocations refused in turn: the binding still succeeds, the
// context can be released and bound again, and destruction frees the rest.
class BindingAllocations : public LifeTest {};

TEST_F(BindingAllocations, EachRefusedInTurnLeavesAWorkingContext) {
  TestWindow window(64, 48);
  UseWindow(&window);
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  const int before = CountingImports::allocations();
  ASSERT_TRUE(Bind(gc));
  const int made = CountingImports::allocations() - before;
  ASSERT_GT(made, 0) << "the evaluators' default control points at least";
  ASSERT_TRUE(Release(gc));
  gc->exports.destroyContext(gc);
  ASSERT_EQ(CountingImports::live(), 0);

  for (int n = 1; n <= made; n++) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
    gc = Create(TestModes());
    ASSERT_NE(gc, nullptr);
    CountingImports::failAllocation(n);
    EXPECT_TRUE(Bind(gc));
    CountingImports::failAllocation(0);
    EXPECT_EQ(gc->flags, kBoundFlags);
    ASSERT_TRUE(Release(gc));
    ASSERT_TRUE(Bind(gc));
    ASSERT_TRUE(Release(gc));
    gc->exports.destroyContext(gc);
    ASSERT_EQ(CountingImports::live(), 0);
  }
}

// ---- Binding again ----

class Rebinding : public LifeTest {};

TEST_F(Rebinding, KeepsTheStateAndReappliesTheWindow) {
  struct Case {
    const char *name;
    bool yInverted;
  } cases[] = {{"normal rows", false}, {"top-down rows", true}};
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    TestWindow window(640, 480, k.yInverted);
    UseWindow(&window);
    GlContext *gc = Create(TestModes());
    ASSERT_NE(gc, nullptr);
    OnThread([&] {
      ASSERT_TRUE(Bind(gc));
      gc->state.point.requestedSize = 4.0f;  // some state of the application's
      gc->state.fog.density = 0.25f;
      ASSERT_TRUE(Release(gc));
    });
    const float yCenterBefore = gc->state.viewport.yCenter;

    // The window changed while nothing was bound.
    window.Resize(320, 200);
    OnThread([&] {
      ASSERT_TRUE(Bind(gc));
      EXPECT_EQ(gc->flags, kBoundFlags);
      EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
      EXPECT_EQ(gc->state.point.requestedSize, 4.0f);
      EXPECT_EQ(gc->state.fog.density, 0.25f);
      // Scaled once: 255, not 255 x 255.
      EXPECT_EQ(gc->state.light.source[0].diffuse.r, 255.0f);
      EXPECT_EQ(gc->state.light.model.ambient.g, 0.2f * 255.0f);
      EXPECT_EQ(gc->state.current.color.b, 255.0f);
      // The application's viewport stays; the window's size is taken again.
      EXPECT_EQ(gc->state.viewport.width, 640);
      EXPECT_EQ(gc->state.viewport.height, 480);
      EXPECT_EQ(gc->constants.width, 320);
      EXPECT_EQ(gc->constants.height, 200);
      // The viewport centre follows the new height only on top-down rows.
      if (k.yInverted)
        EXPECT_NE(gc->state.viewport.yCenter, yCenterBefore);
      else
        EXPECT_EQ(gc->state.viewport.yCenter, yCenterBefore);
      // The clip box and the drawable's core rectangle are the new window's.
      const int32_t *box = gc->transform.clipBox;
      EXPECT_EQ(box[0], 6144);
      EXPECT_EQ(box[1], 6144);
      EXPECT_EQ(box[2], 6144 + 320);
      EXPECT_EQ(box[3], 6144 + 200);
      EXPECT_EQ(window.drawable()->coreClipRect.x1, 320);
      EXPECT_EQ(window.drawable()->coreClipRect.y1, 200);
      EXPECT_EQ(gc->transform.viewportInside, 0u) << "the old viewport sticks out";
      ASSERT_TRUE(Release(gc));
    });
    Destroy(gc);
    UseWindow(nullptr);
  }
}

TEST_F(Rebinding, ReappliesTheWindowWhenTheBackEndAsks) {
  TestWindow window(200, 100);
  UseWindow(&window);
  GlContext *gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  OnThread([&] {
    ASSERT_TRUE(Bind(gc));
    ASSERT_TRUE(Release(gc));
  });
  gc->flags |= __GL_GC_REAPPLY_VIEWPORT;
  window.Resize(100, 50);
  OnThread([&] {
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(gc->flags, kBoundFlags) << "every binding clears the request";
    EXPECT_EQ(gc->constants.width, 100);
    EXPECT_EQ(gc->constants.height, 50);
    ASSERT_TRUE(Release(gc));
  });
  Destroy(gc);
}

}  // namespace
}  // namespace life_test

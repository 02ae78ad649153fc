// The fast-path picker's decisions, state to outcome: whether it takes the
// state, the chain it builds (none: the generated span routine does the
// pixel work), the set-up, the render procedure, the flat-fog wrapper, the
// texture procedures and the flag bits it clears. Every decline leaves the
// procedures and the flag word as they were.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "pixels/px_texformat.h"
#include "raster/s_shader.h"
#include "tests/fastraster/pick/pick_fixture.h"
#include "tests/fastraster/pick/pick_names.h"

namespace pick_test {
namespace {

typedef std::vector<std::string> Chain;
const Chain kGenerated = {};  // no spanlet mode

struct Row {
  const char *name = "";
  const char *format = "";
  uint32_t depthBits = 16;
  bool mmx = false;
  std::function<void()> gl;
  std::function<void(GlContext *)> force;
  bool taken = false;
  Chain chain = {};
  const char *setup = "";             // "generated" or "__glFRRenderTriangle"
  const char *render = "";            // what renderTriangle holds
  bool flatFog = false;               // fillTriangle is the flat-fog wrapper
  const char *extract = nullptr;      // the extraction spanlet, or null
  uint32_t cleared = 0;               // flag bits the pick takes away
};

void Blend(GLenum src, GLenum dst) {
  glEnable(GL_BLEND);
  glBlendFunc(src, dst);
}
void Smooth() { glShadeModel(GL_SMOOTH); }
void Flat() { glShadeModel(GL_FLAT); }
void Depth() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
}

// A 4 x 4 texture of `internal` format (from RGBA bytes), nearest filters,
// affine coordinates, environment `env`.
void Texture(GLenum internal, GLenum env) {
  uint8_t texels[64];
  for (int i = 0; i < 64; i++) texels[i] = uint8_t(i * 37);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(internal), 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(env));
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glEnable(GL_TEXTURE_2D);
}

// A paletted texture whose palette is GL_ALPHA.
void AlphaPaletteTexture(GLenum env) {
  uint8_t palette[256], indices[16];
  for (int i = 0; i < 256; i++) palette[i] = uint8_t(255 - i);
  for (int i = 0; i < 16; i++) indices[i] = uint8_t(i * 9);
  glColorTableEXT(GL_TEXTURE_2D, GL_ALPHA, 256, GL_ALPHA, GL_UNSIGNED_BYTE, palette);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 0, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
               indices);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(env));
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glEnable(GL_TEXTURE_2D);
}

// A colour-index texture under GL_REPLACE, for colour-index contexts.
void IndexTexture() {
  uint8_t indices[16];
  for (int i = 0; i < 16; i++) indices[i] = uint8_t(i * 9);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 0, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
               indices);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glEnable(GL_TEXTURE_2D);
}

const char *const G = "generated";
const char *const PB = "__glFRRenderTriangle";
const char *const FLAT = "__glRenderFlatTriangle";
const char *const SMOOTH = "__glRenderSmoothTriangle";
const uint32_t TEX = __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE;

const Row kTaken[] = {
    {"flat, no depth", "5-6-5", 16, false, Flat, nullptr, true, kGenerated, G, FLAT},
    {"smooth, 16-bit depth", "5-6-5", 16, false, [] { Smooth(), Depth(); }, nullptr, true,
     kGenerated, G, SMOOTH},
    {"smooth, 32-bit depth", "X-8-8-8", 32, false, [] { Smooth(), Depth(); }, nullptr, true,
     kGenerated, G, SMOOTH},
    {"colour index 8", "index 8", 16, false, [] { Smooth(), Depth(); }, nullptr, true,
     kGenerated, G, SMOOTH},
    {"RGB332 dithered", "3-3-2", 16, false, [] { glEnable(GL_DITHER); }, nullptr, true,
     kGenerated, G, FLAT},
    {"SRC_ALPHA / ONE_MINUS_SRC_ALPHA on RGB565 with MMX", "5-6-5", 16, true,
     [] { Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }, nullptr, true, kGenerated, G, FLAT},
    {"the same without MMX", "5-6-5", 16, false,
     [] { Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }, nullptr, true,
     {"genclr_5 0x01", "combine_5 0x63"}, G, FLAT},
    {"the same dithered", "5-6-5", 16, false,
     [] { Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA), glEnable(GL_DITHER); }, nullptr, true,
     {"genclr_5 0x01", "combine_5 0x73"}, G, FLAT},
    {"the same with MMX, clipped by the scissor box", "5-6-5", 16, true,
     [] {
       Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
       glEnable(GL_SCISSOR_TEST);
       glScissor(4, 4, 20, 20);
     },
     nullptr, true, {"__glGenMask", "genclr_5 0x01", "combine_5 0x63"}, G, FLAT},
    {"ONE / ONE takes the store span", "5-6-5", 16, true, [] { Blend(GL_ONE, GL_ONE); }, nullptr,
     true, {"genclr_5 0x01", "__glStoreSpanRGB565"}, G, FLAT},
    {"RGB8 always takes the chain and its store span", "8-8-8", 16, false, Smooth, nullptr, true,
     {"genclr_a 0x02", "__glStoreSpanRGB8"}, G, SMOOTH},
    // With the depth test the generated routine tests and writes depth only.
    {"all channels masked, depth still written", "5-6-5", 16, false,
     [] { glColorMask(0, 0, 0, 0), Depth(); }, nullptr, true, kGenerated, G, FLAT},
    {"all channels masked without depth", "5-6-5", 16, false, [] { glColorMask(0, 0, 0, 0); },
     nullptr, true, {"__glNullSpanlet"}, G, FLAT},
    {"a partial mask takes the store span", "X-8-8-8", 32, false,
     [] { glColorMask(1, 0, 1, 1), Depth(); }, nullptr, true,
     {"depth", "genclr_a 0x00", "__glStoreSpanXRGB8"}, G, FLAT},
    {"stencil around the depth test", "5-6-5", 16, false,
     [] {
       Depth();
       glEnable(GL_STENCIL_TEST);
       glStencilFunc(GL_EQUAL, 1, 0xFF);
       glStencilOp(GL_KEEP, GL_INCR, GL_REPLACE);
     },
     nullptr, true,
     {"__glFRStencilTest", "depth", "__glFRStencilPostDepthCleanup", "pix_5 0x00"}, G, FLAT},
    {"alpha test", "5-6-5", 16, true,
     [] {
       glEnable(GL_ALPHA_TEST);
       glAlphaFunc(GL_GREATER, 0.5f);
     },
     nullptr, true, {"genclr_5 0x01", "__glFRAlphaTest", "combine_5 0x43"}, G, FLAT},
    {"logic op", "5-6-5", 16, false,
     [] {
       glEnable(GL_COLOR_LOGIC_OP);
       glLogicOp(0x1506);  // GL_XOR
     },
     nullptr, true, {"genclr_5 0x00", "combine_5 0x06"}, G, FLAT},
    {"stipple", "5-5-5", 16, false, [] { glEnable(GL_POLYGON_STIPPLE); }, nullptr, true,
     {"__glGenStipple", "pix_4 0x00"}, G, FLAT},
    {"polygon offset on 32-bit depth takes the pre-built set-up", "X-8-8-8", 32, false,
     [] {
       Depth();
       glEnable(GL_POLYGON_OFFSET_FILL);
       glPolygonOffset(1, 1);
     },
     nullptr, true, {"depth", "pix_a 0x00"}, PB, FLAT},
    {"polygon offset on 16-bit depth takes the pre-built set-up", "5-6-5", 16, false,
     [] {
       Depth();
       glEnable(GL_POLYGON_OFFSET_FILL);
       glPolygonOffset(1, 1);
     },
     nullptr, true, {"depth", "pix_5 0x00"}, PB, FLAT},
    {"a top-down drawable", "5-6-5", 16, false, [] { Smooth(), Depth(); },
     [](GlContext *gc) { gc->constants.yInverted = 1; }, true, kGenerated, G, SMOOTH},
    {"fog with flat shading wraps the set-up", "5-6-5", 16, false,
     [] {
       glEnable(GL_FOG);
       glHint(GL_FOG_HINT, GL_FASTEST);
     },
     nullptr, true, kGenerated, G, FLAT, true},
    {"front buffer drawing clips through the window first", "5-6-5", 16, false,
     [] { glDrawBuffer(GL_FRONT); }, nullptr, true, kGenerated, G, "__glClipAndRenderTriangle"},
    {"both buffers", "5-6-5", 16, false, [] { glDrawBuffer(GL_FRONT_AND_BACK); }, nullptr, true,
     {"genclr_5 0x00", "__glFRDoubleStore"}, PB, "__glClipAndRenderTriangle"},
    {"GL_ALPHA under GL_MODULATE without blending draws untextured", "5-6-5", 16, false,
     [] { Texture(GL_ALPHA, GL_MODULATE); }, nullptr, true, kGenerated, G, FLAT, false, nullptr,
     TEX},
    {"GL_RGB under GL_MODULATE", "5-6-5", 16, false, [] { Texture(GL_RGB, GL_MODULATE); },
     nullptr, true, {"pix_5 0x0C"}, G, FLAT, false, "__glGenericExtractTexels_3"},
    {"GL_RGBA under GL_DECAL takes four-byte texels", "5-6-5", 16, false,
     [] { Texture(GL_RGBA, GL_DECAL); }, nullptr, true, {"pix_5 0x28"}, G, FLAT, false,
     "__glGenericExtractTexels_4"},
    {"colour index under GL_REPLACE", "index 8", 16, false, IndexTexture, nullptr, true,
     {"pix_ci 0x04"}, G, FLAT, false, "__glGenericExtractTexels_1"},
    {"paletted, GL_ALPHA palette, GL_MODULATE, blending", "5-6-5", 16, true,
     [] { AlphaPaletteTexture(GL_MODULATE), Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); },
     nullptr, true, {"genclr_5 0x3D", "combine_5 0x63"}, G, FLAT, false,
     "__glGenericExtractTexels_A"},
    {"the same, smooth", "5-6-5", 16, true,
     [] {
       AlphaPaletteTexture(GL_MODULATE), Blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA), Smooth();
     },
     nullptr, true, {"genclr_5 0x3F", "combine_5 0x63"}, G, SMOOTH, false,
     "__glGenericExtractTexels_A"},
    {"a 2047-pixel viewport at the origin", "5-6-5", 16, false,
     [] { glViewport(0, 0, 2047, 2047); }, nullptr, true, {"__glGenMask", "pix_5 0x00"}, G, FLAT},
};

const Row kDeclined[] = {
    {"A1RGB5", "1-5-5-5", 16, false, nullptr, nullptr, false},
    {"ARGB8", "8-8-8-8", 16, false, nullptr, nullptr, false},
    {"a 16-bit index buffer", "index 16", 16, false, nullptr, nullptr, false},
    {"no draw buffer", "5-6-5", 16, false, [] { glDrawBuffer(GL_NONE); }, nullptr, false},
    {"polygon antialiasing", "5-6-5", 16, false, [] { glEnable(GL_POLYGON_SMOOTH); }, nullptr,
     false},
    {"per-fragment fog", "5-6-5", 16, false,
     [] {
       glEnable(GL_FOG);
       glHint(GL_FOG_HINT, GL_NICEST);
     },
     nullptr, false},
    {"a 2048-pixel viewport at the origin", "5-6-5", 16, false,
     [] { glViewport(0, 0, 2048, 2048); }, nullptr, false},
    {"a viewport reaching below biased 4096", "5-6-5", 16, false,
     [] { glViewport(-2049, 0, 100, 100); }, nullptr, false},
    {"a viewport reaching below biased 4096 in y", "5-6-5", 16, false,
     [] { glViewport(0, -2049, 100, 100); }, nullptr, false},
    // Forced states the consistency check keeps from becoming current.
    {"GL_ADD in RGBA lands on an empty slot", "5-6-5", 16, false,
     [] { Texture(GL_RGB, GL_MODULATE); },
     [](GlContext *gc) { gc->texture.env[0].mode = GL_ADD; }, false},
    {"GL_DECAL on luminance-alpha without texel alpha", "5-6-5", 16, false,
     [] { Texture(GL_RGB, GL_DECAL); },
     [](GlContext *gc) { gc->texture.current->baseFormat = GL_LUMINANCE_ALPHA; }, false},
    {"an unknown environment", "5-6-5", 16, false, [] { Texture(GL_RGB, GL_MODULATE); },
     [](GlContext *gc) { gc->texture.env[0].mode = 0x1234; }, false},
    {"an unknown base format", "5-6-5", 16, false, [] { Texture(GL_RGB, GL_MODULATE); },
     [](GlContext *gc) { gc->texture.current->baseFormat = GL_COLOR_INDEX; }, false},
    {"an unknown minification filter", "5-6-5", 16, false, [] { Texture(GL_RGB, GL_MODULATE); },
     [](GlContext *gc) { gc->texture.current->minFilter = 0x1234; }, false},
    {"an unknown magnification filter", "5-6-5", 16, false, [] { Texture(GL_RGB, GL_MODULATE); },
     [](GlContext *gc) { gc->texture.current->magFilter = GL_LINEAR_MIPMAP_LINEAR; }, false},
    {"GL_MODULATE in colour index is beyond its kernels", "index 8", 16, false,
     IndexTexture,
     [](GlContext *gc) { gc->texture.env[0].mode = GL_MODULATE; }, false},
    {"an unknown stencil operation", "5-6-5", 16, false,
     [] { glEnable(GL_STENCIL_TEST); },
     [](GlContext *gc) { gc->state.stencil.depthPass = 0x1234; }, false},
    {"an unknown logic op", "5-6-5", 16, false, [] { glEnable(GL_COLOR_LOGIC_OP); },
     [](GlContext *gc) { gc->state.raster.logicOp = 0x1234; }, false},
    // Buffers whose pixels are not as wide as the kernels step.
    {"a colour element of the wrong size", "5-6-5", 16, false, nullptr,
     [](GlContext *gc) { gc->drawBuffer->buf.drawableBuf->elementSize = 4; }, false},
    {"a depth element of the wrong size", "5-6-5", 16, false, Depth,
     [](GlContext *gc) { gc->depthBuffer.buf.drawableBuf->elementSize = 4; }, false},
};

std::string SetupKind(const GlProcs &p, bool flatFog) {
  const void *fill = reinterpret_cast<const void *>(flatFog ? p.fillTriangleUnfogged
                                                            : p.fillTriangle);
  if (fill == nullptr) return "null";
  return ProcName(fill) == "?" ? "generated" : ProcName(fill);
}

class PickDecisions : public PickTest {};

TEST_F(PickDecisions, TakenStatesInstallTheirChainSetUpAndRender) {
  for (const Row &r : kTaken) {
    SCOPED_TRACE(r.name);
    if (!Open(FormatNamed(r.format), r.depthBits)) continue;
    Flat();
    if (r.gl) r.gl();
    Validate();
    // The word as the pick-all leaves it: validation's own pick already
    // took the bits away.
    gc->polygon.shader.modeFlags |= r.cleared;
    ASSERT_TRUE(Pick(nullptr, r.force, r.mmx));
    const GlProcs &p = gc->procs;
    if (r.chain.empty()) {
      EXPECT_EQ(p.fillTriangleSpan, nullptr) << "no chain in the fully generated path";
    } else {
      EXPECT_EQ(ChainNames(gc), r.chain);
    }
    EXPECT_NE(p.fillTriangleSpans, nullptr);
    EXPECT_EQ(SetupKind(p, r.flatFog), r.setup);
    EXPECT_EQ(ProcName(p.fillTriangle) == "__glFillFlatFogTriangle", r.flatFog);
    EXPECT_EQ(ProcName(p.renderTriangle), r.render);
    if (std::string(r.render) == "__glClipAndRenderTriangle") {
      EXPECT_EQ(ProcName(p.renderClippedTriangle), FLAT);
    }
    EXPECT_EQ(ProcName(p.extractTexels), r.extract ? r.extract : "null");
    EXPECT_EQ(gc->polygon.shader.modeFlags & r.cleared, 0u);
  }
}

TEST_F(PickDecisions, DeclinesChangeNeitherProceduresNorFlags) {
  for (const Row &r : kDeclined) {
    SCOPED_TRACE(r.name);
    if (!Open(FormatNamed(r.format), r.depthBits)) continue;
    Flat();
    if (r.gl) r.gl();
    Validate();
    if (r.force) r.force(gc);
    const GlProcs before = gc->procs;
    const uint32_t flags = gc->polygon.shader.modeFlags;
    EXPECT_FALSE(__glFRPickTriangleProcs(gc));
    EXPECT_EQ(memcmp(&before, &gc->procs, sizeof before), 0);
    EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
  }
}

// GL_BLEND's environment colour reaches the kernels as bytes on the 0..255
// scale in every format, whatever scale the buffer keeps colours at; with
// dithering each of red, green and blue gives back what the dither adds.
TEST_F(PickDecisions, EnvironmentColourBytesInEveryFormat) {
  struct EnvRow {
    const char *format;
    bool dither;
    uint8_t bytes[4];
  };
  // (0.25, 0.625, 0.875, 0.75) times 255, rounded: 64, 159, 223, 191.
  const EnvRow kRows[] = {
      {"3-3-2", false, {64, 159, 223, 191}}, {"3-3-2", true, {56, 140, 168, 191}},
      {"5-5-5", false, {64, 159, 223, 191}}, {"5-5-5", true, {62, 155, 217, 191}},
      {"5-6-5", false, {64, 159, 223, 191}}, {"5-6-5", true, {62, 157, 217, 191}},
      {"X-8-8-8", false, {64, 159, 223, 191}}, {"X-8-8-8", true, {64, 159, 223, 191}},
  };
  static const GLfloat kColor[4] = {0.25f, 0.625f, 0.875f, 0.75f};
  for (const EnvRow &r : kRows) {
    SCOPED_TRACE(std::string(r.format) + (r.dither ? " dithered" : ""));
    if (!Open(FormatNamed(r.format), 16)) continue;
    Texture(GL_RGB, GL_BLEND);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, kColor);
    r.dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
    ASSERT_TRUE(Pick(nullptr, nullptr, false));
    for (int i = 0; i < 4; i++) EXPECT_EQ(gc->frEnvColor[i], r.bytes[i]) << "component " << i;
  }
}

// Only the buffers __glInitDepth16 and __glInitDepth32 make: the 24-bit
// buffer's words carry an epoch byte the fast depth tests do not know.
TEST_F(PickDecisions, DepthBuffersOfSixteenAndThirtyTwoBitsOnly) {
  for (uint32_t bits = 16; bits <= 32; bits++) {
    if (bits > 24 && bits < 32) continue;
    SCOPED_TRACE(bits);
    if (!Open(FormatNamed("5-6-5"), bits)) continue;
    Depth();
    Validate();
    EXPECT_EQ(__glFRPickTriangleProcs(gc) != 0, bits == 16 || bits == 32);
  }
}

}  // namespace
}  // namespace pick_test

// The texture environment procedures against OpenGL 1.1's texture
// functions: every (mode, base format) pair over texels and fragment
// colours, on draw buffers whose largest component values differ, with the
// components a pair leaves alone checked bit for bit.
#include <gtest/gtest.h>

#include <cmath>

#include "core/context.h"
#include "core/s_nop.h"
#include "pixels/px_texenv_procs.h"
#include "raster/s_buffers.h"
#include "tests/core/services/service_context.h"
#include "tests/pixels/tex_env/env_model.h"

namespace {

struct Buffer {
  const char *name;
  GLfloat scale[4];  // R, G, B, A
};
// Buffers without alpha bits keep the context's alpha range.
const Buffer kBuffers[] = {
    {"5-6-5", {31, 63, 31, 255}},      {"8-8-8", {255, 255, 255, 255}},
    {"8-8-8-8", {255, 255, 255, 255}}, {"3-3-2", {7, 7, 3, 255}},
    {"4-4-4-4", {15, 15, 15, 15}},
};

// A context drawing into a buffer of the given scales, with one texture
// environment and the byte table every context derives. The context's own
// scales stay at 255, so a procedure using them shows on small buffers.
class EnvContext {
 public:
  explicit EnvContext(const Buffer &b) {
    GlContext *g = ctx_.gc();
    g->modes.rgbMode = 1;
    const GLfloat oneOver255 = 1.0f / 255.0f;
    for (int i = 0; i < 256; ++i) {
      g->constants.uByteToFloat[i] = GLfloat(i) * oneOver255;
      fraction_[i] = g->constants.uByteToFloat[i];
    }
    cfb_.redScale = b.scale[0];
    cfb_.greenScale = b.scale[1];
    cfb_.blueScale = b.scale[2];
    cfb_.alphaScale = b.scale[3];
    cfb_.oneOverRedScale = 1.0f / b.scale[0];
    cfb_.oneOverGreenScale = 1.0f / b.scale[1];
    cfb_.oneOverBlueScale = 1.0f / b.scale[2];
    cfb_.oneOverAlphaScale = 1.0f / b.scale[3];
    g->drawBuffer = &cfb_;
    g->texture.env = &env_;
  }
  ~EnvContext() {
    ctx_.gc()->drawBuffer = nullptr;
    ctx_.gc()->texture.env = nullptr;
  }
  GlContext *gc() const { return ctx_.gc(); }
  GlTextureEnv &env() { return env_; }
  void SetColorIndex() {
    gc()->modes.rgbMode = 0;
    gc()->modes.colorIndexMode = 1;
  }
  // Replaces the byte table, so that a procedure converting bytes on its
  // own shows.
  void SetFraction(int i, GLfloat value) {
    gc()->constants.uByteToFloat[i] = value;
    fraction_[i] = value;
  }
  const double *fraction() const { return fraction_; }

 private:
  ServiceContext ctx_;
  GlColorBuffer cfb_ = {};
  GlTextureEnv env_ = {};
  double fraction_[256];
};

struct Pair {
  GLenum mode, format;
  GlTextureEnvProc proc;
};
// GL_DECAL with a colourless format takes the empty procedure the picker
// installs.
const GlTextureEnvProc kNop = __glNopProc<GlTextureEnvProc>();
const Pair kRgbaPairs[] = {
    {GL_MODULATE, GL_ALPHA, __glTextureModulateA},
    {GL_MODULATE, GL_RGB, __glTextureModulateRGB},
    {GL_MODULATE, GL_RGBA, __glTextureModulateRGBA},
    {GL_MODULATE, GL_LUMINANCE, __glTextureModulateL},
    {GL_MODULATE, GL_LUMINANCE_ALPHA, __glTextureModulateLA},
    {GL_MODULATE, GL_INTENSITY, __glTextureModulateI},
    {GL_REPLACE, GL_ALPHA, __glTextureReplaceA},
    {GL_REPLACE, GL_RGB, __glTextureReplaceRGB},
    {GL_REPLACE, GL_RGBA, __glTextureReplaceRGBA},
    {GL_REPLACE, GL_LUMINANCE, __glTextureReplaceL},
    {GL_REPLACE, GL_LUMINANCE_ALPHA, __glTextureReplaceLA},
    {GL_REPLACE, GL_INTENSITY, __glTextureReplaceI},
    {GL_BLEND, GL_ALPHA, __glTextureBlendA},
    {GL_BLEND, GL_RGB, __glTextureBlendRGB},
    {GL_BLEND, GL_RGBA, __glTextureBlendRGBA},
    {GL_BLEND, GL_LUMINANCE, __glTextureBlendL},
    {GL_BLEND, GL_LUMINANCE_ALPHA, __glTextureBlendLA},
    {GL_BLEND, GL_INTENSITY, __glTextureBlendI},
    {GL_DECAL, GL_RGB, __glTextureDecalRGB},
    {GL_DECAL, GL_RGBA, __glTextureDecalRGBA},
    {GL_DECAL, GL_ALPHA, kNop},
    {GL_DECAL, GL_LUMINANCE, kNop},
    {GL_DECAL, GL_LUMINANCE_ALPHA, kNop},
    {GL_DECAL, GL_INTENSITY, kNop},
};
const Pair kIndexPairs[] = {
    {GL_MODULATE, GL_COLOR_INDEX, __glTextureModulateCI},
    {GL_REPLACE, GL_COLOR_INDEX, __glTextureReplaceCI},
    {GL_ADD, GL_COLOR_INDEX, __glTextureAddCI},
};

const GlTexel kTexels[] = {
    {0, 0, 0, 0},      {255, 255, 255, 255}, {51, 128, 200, 100},
    {1, 254, 77, 255}, {255, 0, 128, 0},     {17, 34, 221, 187},
};
// Fragment colours in [0, 1]; the procedures see them in buffer units.
const double kFragments[][4] = {
    {0.3, 0.6, 0.9, 0.5}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0.75, 0.125, 0.5, 0.25}};
const double kEnvColor[4] = {0.2, 0.4, 0.8, 0.6};

// Runs proc on fragment f (in [0, 1]) and compares with the model: changed
// components within a few single-precision steps of the buffer's largest
// value, the others untouched.
void ExpectModel(EnvContext &ctx, const Buffer &b, const Pair &p, const GlTexel &texel,
                 const double f[4]) {
  GlColor color = {GLfloat(f[0] * b.scale[0]), GLfloat(f[1] * b.scale[1]),
                   GLfloat(f[2] * b.scale[2]), GLfloat(f[3] * b.scale[3])};
  const GlColor before = color;
  // The fragment as the procedure sees it, back in [0, 1].
  double in[4] = {before.r / double(b.scale[0]), before.g / double(b.scale[1]),
                  before.b / double(b.scale[2]), before.a / double(b.scale[3])};
  double cc[4];
  for (int i = 0; i < 4; ++i) cc[i] = kEnvColor[i];
  ctx.env().color = {GLfloat(cc[0] * b.scale[0]), GLfloat(cc[1] * b.scale[1]),
                     GLfloat(cc[2] * b.scale[2]), GLfloat(cc[3] * b.scale[3])};
  for (int i = 0; i < 4; ++i) cc[i] = (&ctx.env().color.r)[i] / double(b.scale[i]);
  GlTexel t = texel;
  p.proc(ctx.gc(), &color, &t);
  EnvModelResult want = EnvModel(p.mode, p.format, in, texel, cc, ctx.fraction());
  const GLfloat got[4] = {color.r, color.g, color.b, color.a};
  const GLfloat was[4] = {before.r, before.g, before.b, before.a};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(testing::Message() << "component " << i);
    if (!want.changed[i]) {
      EXPECT_EQ(got[i], was[i]);
      continue;
    }
    EXPECT_NEAR(got[i], want.c[i] * b.scale[i], b.scale[i] * 1e-6);
  }
  EXPECT_EQ(t.r, texel.r);
  EXPECT_EQ(t.a, texel.a);
}

TEST(TextureEnv, EveryPairFollowsTheModelOnEveryBuffer) {
  for (const Buffer &b : kBuffers) {
    EnvContext ctx(b);
    for (const Pair &p : kRgbaPairs) {
      for (const GlTexel &texel : kTexels) {
        for (const double *f : kFragments) {
          SCOPED_TRACE(testing::Message()
                       << b.name << std::hex << " mode 0x" << p.mode << " format 0x" << p.format
                       << std::dec << " texel " << int(texel.r) << "," << int(texel.g) << ","
                       << int(texel.b) << "," << int(texel.a) << " fragment " << f[0] << "," << f[1]
                       << "," << f[2] << "," << f[3]);
          ExpectModel(ctx, b, p, texel, f);
        }
      }
    }
  }
}

// Indices are not colours: no buffer scale, the byte enters as a fraction.
TEST(TextureEnv, IndexPairsFollowTheModel) {
  const Buffer index8 = {"8-bit index", {255, 255, 255, 255}};
  EnvContext ctx(index8);
  ctx.SetColorIndex();
  const double indices[] = {0, 3, 100, 254.5};
  for (const Pair &p : kIndexPairs) {
    for (const GlTexel &texel : kTexels) {
      for (double index : indices) {
        SCOPED_TRACE(testing::Message() << std::hex << "mode 0x" << p.mode << std::dec << " texel "
                                        << int(texel.r) << " index " << index);
        GlColor color = {GLfloat(index), 0.5f, 0.25f, 0.125f};
        double f[4] = {index, 0.5, 0.25, 0.125};
        GlTexel t = texel;
        p.proc(ctx.gc(), &color, &t);
        EnvModelResult want = EnvModel(p.mode, p.format, f, texel, f, ctx.fraction());
        EXPECT_NEAR(color.r, want.c[0], 1e-6 * (1 + index));
        EXPECT_EQ(color.g, 0.5f);
        EXPECT_EQ(color.b, 0.25f);
        EXPECT_EQ(color.a, 0.125f);
      }
    }
  }
}

// Bytes reach the formulas only through the context's table: with entries
// changed, every procedure follows the changed entries.
TEST(TextureEnv, TexelBytesEnterThroughTheContextsTable) {
  const Buffer &b = kBuffers[0];
  EnvContext ctx(b);
  const GlTexel texel = {51, 128, 200, 100};
  ctx.SetFraction(51, 0.5f);
  ctx.SetFraction(128, 0.25f);
  ctx.SetFraction(200, 0.75f);
  ctx.SetFraction(100, 0.125f);
  for (const Pair &p : kRgbaPairs) {
    SCOPED_TRACE(testing::Message() << std::hex << "mode 0x" << p.mode << " format 0x" << p.format);
    ExpectModel(ctx, b, p, texel, kFragments[0]);
  }
  ctx.SetColorIndex();
  for (const Pair &p : kIndexPairs) {
    SCOPED_TRACE(testing::Message() << std::hex << "index mode 0x" << p.mode);
    GlColor color = {3.0f, 0, 0, 0};
    GlTexel t = texel;
    p.proc(ctx.gc(), &color, &t);
    const GLfloat want = p.mode == GL_MODULATE ? 1.5f : p.mode == GL_REPLACE ? 0.5f : 3.5f;
    EXPECT_EQ(color.r, want);
  }
}

// Worked values, exact where single precision allows.
TEST(TextureEnv, WhiteModulateIsTheIdentity) {
  for (const Buffer &b : kBuffers) {
    EnvContext ctx(b);
    for (const Pair &p : kRgbaPairs) {
      if (p.mode != GL_MODULATE) continue;
      SCOPED_TRACE(testing::Message() << b.name << std::hex << " format 0x" << p.format);
      GlColor color = {b.scale[0] * 0.3f, b.scale[1] * 0.7f, b.scale[2] * 0.9f, b.scale[3] * 0.1f};
      const GlColor before = color;
      const GlTexel white = {255, 255, 255, 255};
      p.proc(ctx.gc(), &color, &white);
      EXPECT_EQ(color.r, before.r);
      EXPECT_EQ(color.g, before.g);
      EXPECT_EQ(color.b, before.b);
      EXPECT_EQ(color.a, before.a);
    }
  }
}

TEST(TextureEnv, DecalAlphaZeroKeepsTheFragmentAndFullAlphaGivesTheTexel) {
  for (const Buffer &b : kBuffers) {
    SCOPED_TRACE(b.name);
    EnvContext ctx(b);
    const GlColor fragment = {b.scale[0] * 0.3f, b.scale[1] * 0.7f, b.scale[2] * 0.9f,
                              b.scale[3] * 0.1f};
    GlColor color = fragment;
    const GlTexel clear = {255, 128, 0, 0};
    __glTextureDecalRGBA(ctx.gc(), &color, &clear);
    EXPECT_EQ(color.r, fragment.r);
    EXPECT_EQ(color.g, fragment.g);
    EXPECT_EQ(color.b, fragment.b);
    EXPECT_EQ(color.a, fragment.a);

    color = fragment;
    const GlTexel opaque = {255, 0, 255, 255};
    __glTextureDecalRGBA(ctx.gc(), &color, &opaque);
    EXPECT_EQ(color.r, b.scale[0]);
    EXPECT_EQ(color.g, 0.0f);
    EXPECT_EQ(color.b, b.scale[2]);
    EXPECT_EQ(color.a, fragment.a);
  }
}

// On a 5-6-5 buffer a full texel is 31, 63, 31, not 255.
TEST(TextureEnv, ReplaceAndDecalWriteInTheBuffersUnits) {
  EnvContext ctx(kBuffers[0]);
  const GlTexel white = {255, 255, 255, 255};
  for (GlTextureEnvProc proc :
       {__glTextureReplaceRGBA, __glTextureReplaceRGB, __glTextureDecalRGB, __glTextureDecalRGBA}) {
    GlColor color = {1, 2, 3, 4};
    proc(ctx.gc(), &color, &white);
    EXPECT_EQ(color.r, 31.0f);
    EXPECT_EQ(color.g, 63.0f);
    EXPECT_EQ(color.b, 31.0f);
  }
  GlColor color = {1, 2, 3, 4};
  __glTextureReplaceI(ctx.gc(), &color, &white);
  EXPECT_EQ(color.r, 31.0f);
  EXPECT_EQ(color.g, 63.0f);
  EXPECT_EQ(color.a, 255.0f);
}

TEST(TextureEnv, BlendWithFullIntensityGivesTheEnvironmentColour) {
  for (const Buffer &b : kBuffers) {
    SCOPED_TRACE(b.name);
    EnvContext ctx(b);
    ctx.env().color = {b.scale[0] * 0.2f, b.scale[1] * 0.4f, b.scale[2] * 0.8f, b.scale[3] * 0.6f};
    GlColor color = {b.scale[0] * 0.9f, b.scale[1] * 0.1f, 0, b.scale[3]};
    const GlTexel full = {255, 7, 7, 7};
    __glTextureBlendI(ctx.gc(), &color, &full);
    EXPECT_EQ(color.r, ctx.env().color.r);
    EXPECT_EQ(color.g, ctx.env().color.g);
    EXPECT_EQ(color.b, ctx.env().color.b);
    EXPECT_EQ(color.a, ctx.env().color.a);
  }
}

TEST(TextureEnv, AddWithIndex51AddsOneFifth) {
  EnvContext ctx(kBuffers[1]);
  ctx.SetColorIndex();
  GlColor color = {3.0f, 0, 0, 0};
  const GlTexel index = {51, 0, 0, 0};
  __glTextureAddCI(ctx.gc(), &color, &index);
  EXPECT_FLOAT_EQ(color.r, 3.2f);
}

}  // namespace

#include "tests/fastraster/agreement/agreement_cases.h"

#include <stdio.h>

#include <iterator>

namespace agreement {
namespace {

using scene_test::SceneState;

const GLenum kDepthFuncs[] = {GL_LESS, GL_LEQUAL, GL_NOTEQUAL, GL_ALWAYS};
const GLenum kStencilFuncs[] = {GL_ALWAYS, GL_EQUAL, GL_NOTEQUAL, GL_GEQUAL, GL_LESS};
const GLenum kStencilOps[] = {GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT, GL_ZERO, GL_KEEP};
const GLenum kBlendPairs[][2] = {
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_ONE, GL_ONE},
    {GL_ZERO, GL_SRC_COLOR},                {GL_DST_COLOR, GL_ZERO},
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},       {GL_SRC_ALPHA, GL_ONE},
    {GL_ONE_MINUS_DST_COLOR, GL_ONE},       {GL_SRC_ALPHA_SATURATE, GL_ONE},
    {GL_ZERO, GL_ONE},                      {GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA},
};
// The sixteen logic ops, GL_CLEAR to GL_SET, GL_COPY turned to the end.
const GLenum kLogicOps[] = {0x1506, 0x1501, 0x1507, 0x150A, 0x150C, 0x1508, 0x1509, 0x150F,
                            0x1500, 0x1502, 0x150E, 0x150D, 0x1505, 0x1504, 0x150B, 0x1503};
const GLenum kAlphaFuncs[] = {GL_GREATER, GL_LESS, GL_GEQUAL, GL_NOTEQUAL, GL_EQUAL, GL_NEVER};
const uint8_t kColorMasks[] = {0x1, 0x6, 0x0, 0x5, 0x2, 0xB};
const uint32_t kIndexMasks[] = {0x0F, 0xF0, 0x00, 0x55};

// Textures the consistency test lets become current in an RGBA context:
// every environment but GL_ADD, GL_DECAL on RGB and RGBA textures only.
struct TextureRow {
  GLenum env, base;
};
const TextureRow kTextures[] = {
    {GL_MODULATE, GL_RGB},       {GL_MODULATE, GL_RGBA},      {GL_MODULATE, GL_LUMINANCE},
    {GL_MODULATE, GL_ALPHA},     {GL_MODULATE, GL_LUMINANCE_ALPHA}, {GL_MODULATE, GL_INTENSITY},
    {GL_DECAL, GL_RGB},          {GL_DECAL, GL_RGBA},         {GL_BLEND, GL_LUMINANCE},
    {GL_BLEND, GL_RGB},          {GL_BLEND, GL_INTENSITY},    {GL_REPLACE, GL_RGBA},
    {GL_REPLACE, GL_RGB},        {GL_REPLACE, GL_LUMINANCE_ALPHA}, {GL_REPLACE, GL_ALPHA},
};
const GLenum kFilters[][2] = {
    {GL_NEAREST, GL_NEAREST},
    {GL_LINEAR, GL_LINEAR},
    {GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
    {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
    {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},
    {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
};

// One variant: its name, how many values it turns through in RGBA and in
// colour-index contexts (0: not drawn there), and the state of value k.
struct Variant {
  const char *name;
  size_t rgbaValues, indexValues;
  void (*apply)(AgreementCase *c, size_t k);
};

void DepthTested(SceneState *s, size_t k) {
  s->depthTest = true;
  s->depthFunc = kDepthFuncs[k % std::size(kDepthFuncs)];
}

const Variant kVariants[] = {
    {"flat", std::size(kDepthFuncs), std::size(kDepthFuncs),
     [](AgreementCase *c, size_t k) {
       c->state.smooth = false;
       DepthTested(&c->state, k);
     }},
    {"smooth", std::size(kDepthFuncs), std::size(kDepthFuncs),
     [](AgreementCase *c, size_t k) { DepthTested(&c->state, k); }},
    {"no-depth", 2, 2, [](AgreementCase *c, size_t k) { c->state.smooth = k & 1; }},
    {"dither", 2, 2,
     [](AgreementCase *c, size_t k) {
       c->dither = true;
       c->state.smooth = k % 2 == 0;
       DepthTested(&c->state, 0);
     }},
    {"stencil", std::size(kStencilFuncs) * std::size(kStencilOps),
     std::size(kStencilFuncs) * std::size(kStencilOps),
     [](AgreementCase *c, size_t k) {
       DepthTested(&c->state, 0);
       scene_test::StencilState &st = c->state.stencil;
       st.on = true;
       st.func = kStencilFuncs[k % std::size(kStencilFuncs)];
       st.ref = 1 + k % 3;
       st.mask = k % 2 ? 0x0F : 0xFF;
       st.zpass = kStencilOps[k % std::size(kStencilOps)];
       st.zfail = kStencilOps[(k + 1) % std::size(kStencilOps)];
       st.fail = kStencilOps[(k + 2) % std::size(kStencilOps)];
       st.writeMask = k % 3 == 2 ? 0x3C : 0xFF;
     }},
    {"blend", std::size(kBlendPairs) * 2, 0,
     [](AgreementCase *c, size_t k) {
       c->state.blend = true;
       c->state.blendSrc = kBlendPairs[k % std::size(kBlendPairs)][0];
       c->state.blendDst = kBlendPairs[k % std::size(kBlendPairs)][1];
       c->state.smooth = k / std::size(kBlendPairs) == 0;
       c->dither = k % 3 == 0;
       DepthTested(&c->state, 0);
     }},
    {"logic-op", std::size(kLogicOps), std::size(kLogicOps),
     [](AgreementCase *c, size_t k) {
       c->logicOp = kLogicOps[k];
       c->state.smooth = k % 2 == 0;
     }},
    {"alpha-test", std::size(kAlphaFuncs), 0,
     [](AgreementCase *c, size_t k) {
       c->state.alphaTest = true;
       c->state.alphaFunc = kAlphaFuncs[k];
       c->state.alphaRef = 0.5;
       DepthTested(&c->state, 0);
     }},
    {"index-test", 0, std::size(kAlphaFuncs),
     [](AgreementCase *c, size_t k) {
       c->indexTest = true;
       c->indexFunc = kAlphaFuncs[k];
       c->indexRef = 100;
       DepthTested(&c->state, 0);
     }},
    {"masks", std::size(kColorMasks), std::size(kIndexMasks),
     [](AgreementCase *c, size_t k) {
       c->colorMask = kColorMasks[k % std::size(kColorMasks)];
       c->indexMask = kIndexMasks[k % std::size(kIndexMasks)];
       DepthTested(&c->state, 0);
       c->state.depthWrite = k % 2 == 0;
     }},
    {"stipple", 2, 2,
     [](AgreementCase *c, size_t k) {
       c->state.stipple = true;
       for (size_t i = 0; i < sizeof c->state.pattern; i++)
         c->state.pattern[i] = uint8_t((i * 37 + k * 101) ^ (i >> 2) * 0x5B);
       DepthTested(&c->state, k);
     }},
    {"clipped-viewport", 2, 2,
     [](AgreementCase *c, size_t k) {
       c->clippedViewport = true;
       c->state.scissor = k == 1;
       c->state.box[0] = 5, c->state.box[1] = 7, c->state.box[2] = 40, c->state.box[3] = 30;
       DepthTested(&c->state, 0);
     }},
    {"front", 2, 2,
     [](AgreementCase *c, size_t k) {
       c->buffer = Buffer::kFront;
       c->state.smooth = k == 0;
       DepthTested(&c->state, 0);
     }},
    {"front-overlapped", 2, 2,
     [](AgreementCase *c, size_t k) {
       c->buffer = Buffer::kFrontOverlapped;
       c->clippedViewport = k == 1;
       DepthTested(&c->state, 0);
     }},
    {"texture", std::size(kTextures) * std::size(kFilters), 0,
     [](AgreementCase *c, size_t k) {
       const TextureRow &t = kTextures[k % std::size(kTextures)];
       // Filters turn at a step prime to the texture rows', so the CI form
       // meets every pair of both over the targets.
       const GLenum *f = kFilters[(k / std::size(kTextures) + k) % std::size(kFilters)];
       c->texture = TextureState{true, t.env, t.base, f[0], f[1]};
       c->state.smooth = k % 2 == 0;
       DepthTested(&c->state, 0);
     }},
};

struct Target {
  const ColorFormat *format;
  uint32_t depthBits;
  bool yInverted;
};

}  // namespace

bool AgreementCase::Modeled() const {
  return !state.blend && !logicOp && colorMask == 0xF && indexMask == ~0u && !dither &&
         !texture.on && !polygonSmooth && !fragmentFog && !indexTest;
}

const std::vector<ColorFormat> &AgreementFormats() {
  static const std::vector<ColorFormat> formats = {
      kRgbFormats[0], kRgbFormats[1], kRgbFormats[2],
      kRgbFormats[4], kRgbFormats[5], kIndexFormats[0]};
  return formats;
}

std::vector<AgreementCase> AgreementCases(bool longForm) {
  std::vector<Target> targets;
  for (const ColorFormat &f : AgreementFormats())
    for (uint32_t depthBits : {16u, 32u})
      for (bool yInverted : {false, true}) targets.push_back({&f, depthBits, yInverted});
  std::vector<AgreementCase> out;
  const uint32_t seeds = longForm ? 3 : 1;
  for (size_t ti = 0; ti < targets.size(); ti++) {
    const Target &t = targets[ti];
    for (const Variant &v : kVariants) {
      const size_t values = t.format->rgba ? v.rgbaValues : v.indexValues;
      if (values == 0) continue;
      const size_t first = longForm ? 0 : ti % values, last = longForm ? values : first + 1;
      for (size_t k = first; k < last; k++)
        for (uint32_t seed = 1; seed <= seeds; seed++) {
          AgreementCase c;
          c.format = *t.format;
          c.depthBits = t.depthBits;
          c.yInverted = t.yInverted;
          c.seed = seed + uint32_t(ti) * 16;
          v.apply(&c, k);
          char name[160];
          snprintf(name, sizeof name, "%s-z%u-%s-%s-%zu-s%u", t.format->name, t.depthBits,
                   t.yInverted ? "topdown" : "bottomup", v.name, k, c.seed);
          c.name = name;
          for (char &ch : c.name)
            if (ch == ' ') ch = '_';
          out.push_back(c);
        }
    }
  }
  return out;
}

std::vector<AgreementCase> DeclinedCases() {
  std::vector<AgreementCase> out;
  for (bool smooth : {false, true}) {
    AgreementCase c;
    c.format = kRgbFormats[2];
    c.state.smooth = smooth;
    DepthTested(&c.state, 0);
    const char *shade = smooth ? "smooth" : "flat";
    c.name = std::string("declined-depth24-") + shade;
    c.depthBits = 24;
    out.push_back(c);
    c.depthBits = 16;
    c.name = std::string("declined-polygon-smooth-") + shade;
    c.polygonSmooth = true;
    out.push_back(c);
    c.polygonSmooth = false;
    c.name = std::string("declined-fragment-fog-") + shade;
    c.fragmentFog = true;
    out.push_back(c);
  }
  return out;
}

}  // namespace agreement

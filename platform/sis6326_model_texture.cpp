// The SiS 6326 drawing model: the texture registers of a textured command,
// with their level addresses and pitch codes, the levels a command may read,
// and the texture environment.
#include <algorithm>

#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

constexpr uint32_t kModeNonLocal = 1u << 5, kModePerspective = 1u << 9, kModeTexture = 1u << 10;
constexpr uint32_t kSetupLinearMagnify = 1u << 3, kSetupNonLocal = 1u << 5;
constexpr uint32_t kFormatAlpha = 0x73, kFormatNoAlpha = 0x74;

enum Environment : uint32_t {
  kReplace = 0x00,
  kAlphaReplace = 0x04,
  kAlphaModulate = 0x06,
  kColourModulate = 0x09,
  kModulate = 0x0A,
  kDecal = 0x11,
};

bool KnownEnvironment(uint32_t code) {
  for (uint32_t known : {kReplace, kAlphaReplace, kAlphaModulate, kColourModulate, kModulate, kDecal})
    if (code == known) return true;
  return false;
}

// A wrap pair: exactly one of repeat and clamp.
bool ReadWrap(uint32_t setup, int repeatBit, char axis, Judge &judge, bool *repeat) {
  bool r = (setup >> repeatBit) & 1, c = (setup >> (repeatBit + 4)) & 1;
  if (r == c) return judge.Fail("F1", "%c wrap with repeat %d and clamp %d", axis, r, c);
  *repeat = r;
  return true;
}

// Level i's pitch code: the high half of its pair for even levels.
uint32_t PitchCode(const SiS6326Event &e, int i) {
  uint32_t pair = StateWord(e, 0x8A6C + 4 * uint32_t(i / 2));
  return i % 2 == 0 ? pair >> 16 : pair & 0xFFFF;
}

}  // namespace

bool ReadTextureSetup(const SiS6326Event &e, Judge &judge, TextureSetup *texture) {
  TextureSetup &x = *texture;
  uint32_t mode = StateWord(e, 0x8A00);
  if (!(mode & kModeTexture)) return judge.Fail("E3", "textured command 0x%X without mode bit 10", e.value);
  uint32_t setup = StateWord(e, 0x8A38), layout = StateWord(e, 0x8A80);
  x.filter = Bits(setup, 0, 3);
  if (x.filter > 5) return judge.Fail("F1", "minification filter %u", x.filter);
  x.magnifyLinear = (setup & kSetupLinearMagnify) != 0;
  x.highest = int(Bits(setup, 8, 4));
  if (x.highest > 9) return judge.Fail("F1", "highest level %d", x.highest);
  if (!ReadWrap(setup, 16, 's', judge, &x.repeatS) || !ReadWrap(setup, 17, 't', judge, &x.repeatT))
    return false;
  uint32_t format = Bits(setup, 24, 8);
  if (format != kFormatAlpha && format != kFormatNoAlpha) return judge.Fail("F2", "texel format 0x%X", format);
  x.alpha = format == kFormatAlpha;
  x.environment = Bits(StateWord(e, 0x8A3C), 24, 5);
  if (!KnownEnvironment(x.environment)) return judge.Fail("E3", "environment code 0x%X", x.environment);
  if (!x.alpha && (x.environment == kAlphaReplace || x.environment == kAlphaModulate))
    return judge.Fail("E3", "environment code 0x%X with format 0x74", x.environment);
  uint32_t nonLocal = Bits(layout, 0, 10);
  bool setupBit = (setup & kSetupNonLocal) != 0, modeBit = (mode & kModeNonLocal) != 0;
  if (setupBit != (nonLocal != 0) || modeBit != (nonLocal != 0))
    return judge.Fail("F1", "non-local levels 0x%X with 0x8A38 bit 5 %s and mode bit 5 %s", nonLocal,
                      setupBit ? "set" : "clear", modeBit ? "set" : "clear");
  x.perspective = (mode & kModePerspective) != 0;
  x.switchOver = x.magnifyLinear && (x.filter == 2 || x.filter == 3) ? 2.0f : 1.0f;
  int widthLog2 = int(Bits(layout, 28, 4)), heightLog2 = int(Bits(layout, 24, 4));
  x.width = 1 << widthLog2;
  x.height = 1 << heightLog2;
  for (int i = 0; i <= x.highest; ++i) {
    TextureLevel &level = x.level[i];
    level.width = 1 << std::max(widthLog2 - i, 0);
    level.height = 1 << std::max(heightLog2 - i, 0);
    level.pool = (nonLocal >> i) & 1 ? VideoPool::kNonLocal : VideoPool::kLocal;
    level.address = StateWord(e, 0x8A44 + 4 * uint32_t(i));
    uint32_t code = PitchCode(e, i), shift = (code >> 7) + 2;
    if (shift > 32) return judge.Fail("F1", "level %d: pitch code 0x%X decodes beyond 32 bits", i, code);
    level.pitch = uint64_t(2 * (code & 0x7F) + 1) << shift;
    if (level.pitch < 4 * uint64_t(level.width))
      return judge.Fail("F1", "level %d: pitch %llu below four times its width %d", i,
                        (unsigned long long)level.pitch, level.width);
  }
  return true;
}

bool TextureTouches(const TextureSetup &texture, const TouchTest &hit) {
  // Filters 0 and 1 read level 0 alone.
  int last = texture.filter < 2 ? 0 : texture.highest;
  for (int i = 0; i <= last; ++i) {
    const TextureLevel &level = texture.level[i];
    for (int row = 0; row < level.height; ++row)
      if (hit({level.address + uint64_t(row) * level.pitch, 4 * uint32_t(level.width), level.pool}))
        return true;
  }
  return false;
}

void ApplyEnvironment(const TextureSetup &texture, const Texel &texel, double colour[4]) {
  double t[4];
  for (int c = 0; c < 4; ++c) t[c] = double(texel.c[c]);
  // Colour channels are 1-3; alpha is 0. Each texel value acts as a fraction of 255.
  switch (texture.environment) {
    case kReplace:
      for (int c = 1; c < 4; ++c) colour[c] = t[c];
      if (texture.alpha) colour[0] = t[0];
      break;
    case kAlphaReplace: colour[0] = t[0]; break;
    case kAlphaModulate: colour[0] = colour[0] * t[0] / 255.0; break;
    case kColourModulate:
      for (int c = 1; c < 4; ++c) colour[c] = colour[c] * t[c] / 255.0;
      break;
    case kModulate:
      for (int c = 1; c < 4; ++c) colour[c] = colour[c] * t[c] / 255.0;
      if (texture.alpha) colour[0] = colour[0] * t[0] / 255.0;
      break;
    case kDecal:
      for (int c = 1; c < 4; ++c)
        colour[c] = texture.alpha ? colour[c] * (1.0 - t[0] / 255.0) + t[c] * t[0] / 255.0 : t[c];
      break;
  }
}

}  // namespace platform

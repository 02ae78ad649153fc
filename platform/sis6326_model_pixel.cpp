// The SiS 6326 drawing model: the fragment pipeline after coverage: alpha
// test, depth test and write, blend, conversion with dither, raster
// operation and the store.
#include <algorithm>
#include <cmath>

#include "platform/sis6326_model_internal.h"
#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

constexpr uint32_t kModeDither = 1u << 0, kModeBlend = 1u << 2, kModeTransparency = 1u << 8;
constexpr uint32_t kModeZTest = 1u << 20, kModeZWrite = 1u << 21;

// A colour format: bytes per pixel, and per channel A, R, G, B its width and
// lowest bit (width 0: absent).
struct ColourFormat {
  uint32_t code, bytes;
  int bits[4], shift[4];
};

constexpr ColourFormat kFormats[] = {
    {0x10, 2, {0, 5, 5, 5}, {0, 10, 5, 0}},   {0x11, 2, {0, 5, 6, 5}, {0, 11, 5, 0}},
    {0x12, 2, {1, 5, 5, 5}, {15, 10, 5, 0}},  {0x13, 2, {4, 4, 4, 4}, {12, 8, 4, 0}},
    {0x33, 4, {8, 8, 8, 8}, {24, 16, 8, 0}},  {0x34, 4, {0, 8, 8, 8}, {0, 16, 8, 0}},
};

const ColourFormat *FindFormat(uint32_t code) {
  for (const ColourFormat &f : kFormats)
    if (f.code == code) return &f;
  return nullptr;
}

uint32_t ChannelMask(const ColourFormat &f) {
  uint32_t mask = 0;
  for (int c = 0; c < 4; ++c) mask |= ((1u << f.bits[c]) - 1) << f.shift[c];
  return mask;
}

constexpr int kDither[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

bool Compare(uint32_t op, uint32_t a, uint32_t b) {
  switch (op) {
    case 0: return false;
    case 1: return a < b;
    case 2: return a == b;
    case 3: return a <= b;
    case 4: return a > b;
    case 5: return a != b;
    case 6: return a >= b;
    default: return true;
  }
}

uint32_t Load(const uint8_t *at, uint32_t bytes) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < bytes; ++i) v |= uint32_t(at[i]) << (8 * i);
  return v;
}

void Save(uint8_t *at, uint32_t value, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * i));
}

// Blend factors as fractions, channels A, R, G, B (E5).
void Factor(uint32_t code, const double s[4], const double d[4], double out[4]) {
  for (int c = 0; c < 4; ++c) {
    double v = 0;
    switch (code) {
      case 0: v = 0; break;
      case 1: v = 1; break;
      case 2: v = s[c] / 255; break;
      case 3: v = 1 - s[c] / 255; break;
      case 4: v = s[0] / 255; break;
      case 5: v = 1 - s[0] / 255; break;
      case 6: v = d[0] / 255; break;
      case 7: v = 1 - d[0] / 255; break;
      case 8: v = d[c] / 255; break;
      case 9: v = 1 - d[c] / 255; break;
      case 10: v = c == 0 ? 1 : std::min(s[0], 255 - d[0]) / 255; break;
    }
    out[c] = v;
  }
}

bool SourceFactorValid(uint32_t code) { return code <= 10 && code != 2 && code != 3; }
bool DestinationFactorValid(uint32_t code) { return code <= 7; }

struct Setup {
  uint32_t mode;
  const ColourFormat *format;
  uint64_t colourBase;
  uint32_t colourPitch, rop;
  bool zTest, zWrite;
  uint32_t zBytes, zPitch, zFunction;
  uint64_t zBase;
  double zScale;
  uint32_t alphaRef, alphaOp, sourceFactor, destinationFactor;
  bool textured;
  TextureSetup texture;
};

bool ReadSetup(const SiS6326Event &e, Judge &judge, Setup *s) {
  s->mode = StateWord(e, 0x8A00);
  if (s->mode & kModeTransparency) return judge.Fail("E9", "mode bit 8 (transparency) set");
  uint32_t colour = StateWord(e, 0x8A14);
  s->format = FindFormat(Bits(colour, 16, 7));
  if (s->format == nullptr) return judge.Fail("E6", "colour format 0x%X", Bits(colour, 16, 7));
  s->colourBase = StateWord(e, 0x8A18);
  s->colourPitch = Bits(colour, 0, 14);
  s->rop = Bits(colour, 24, 4);
  s->zTest = (s->mode & kModeZTest) != 0;
  s->zWrite = s->zTest && (s->mode & kModeZWrite);
  uint32_t z = StateWord(e, 0x8A04);
  uint32_t zFormat = Bits(z, 20, 2);
  if (s->zTest && zFormat != 1 && zFormat != 3) return judge.Fail("D2", "Z format %u", zFormat);
  s->zBytes = zFormat == 1 ? 2 : 4;
  s->zScale = zFormat == 1 ? 65535.0 : 2143289344.0;
  s->zPitch = Bits(z, 0, 14);
  s->zFunction = Bits(z, 16, 3);
  s->zBase = StateWord(e, 0x8A08);
  uint32_t alpha = StateWord(e, 0x8A0C);
  s->alphaRef = Bits(alpha, 16, 8);
  s->alphaOp = Bits(alpha, 24, 3);
  uint32_t blend = StateWord(e, 0x8A28);
  s->sourceFactor = Bits(blend, 24, 4);
  s->destinationFactor = Bits(blend, 28, 4);
  if (s->mode & kModeBlend) {
    if (!SourceFactorValid(s->sourceFactor))
      return judge.Fail("E5", "source blend factor code %u", s->sourceFactor);
    if (!DestinationFactorValid(s->destinationFactor))
      return judge.Fail("E5", "destination blend factor code %u", s->destinationFactor);
  }
  s->textured = Textured(e.value);
  return !s->textured || ReadTextureSetup(e, judge, &s->texture);
}

uint64_t ColourOffset(const Setup &s, const Fragment &f) {
  return s.colourBase + uint64_t(f.y) * s.colourPitch + uint64_t(f.x) * s.format->bytes;
}

uint64_t ZOffset(const Setup &s, const Fragment &f) {
  return s.zBase + uint64_t(f.y) * s.zPitch + uint64_t(f.x) * s.zBytes;
}

// The pixel word for channels in [0, 255] at pixel (x, y) (E6).
uint32_t Convert(const Setup &s, const double channel[4], int x, int y) {
  const ColourFormat &f = *s.format;
  bool dither = (s.mode & kModeDither) && f.bytes == 2;
  double k = dither ? (2.0 * kDither[(x & 3) + 4 * (y & 3)] + 1.0) / 32.0 : 0.5;
  uint32_t word = 0;
  for (int c = 0; c < 4; ++c) {
    if (f.bits[c] == 0) continue;
    double top = double((1u << f.bits[c]) - 1);
    double v = std::trunc(channel[c] * top / 255.0 + k);
    word |= uint32_t(std::min(top, v)) << f.shift[c];
  }
  return word;
}

}  // namespace

bool PrimitiveTouches(const SiS6326Event &e, const Region &region, const TouchTest &hit) {
  Judge quiet{0, true, false};
  Setup s;
  if (!ReadSetup(e, quiet, &s)) return false;
  auto inRegion = [&](const Touch &t) {
    return t.pool == region.pool && t.offset < region.end && t.offset + t.bytes > region.begin;
  };
  if (s.textured && TextureTouches(s.texture, [&](const Touch &t) { return inRegion(t) && hit(t); }))
    return true;
  if (region.pool != VideoPool::kLocal) return false;  // colour and Z lie in local memory
  uint64_t begin = region.begin, end = region.end;
  ClipBox clip = ClipOf(e);
  if (clip.left >= clip.right || clip.top >= clip.bottom) return false;
  auto within = [&](uint64_t base, uint32_t pitch, uint32_t bytes) {
    uint64_t first = base + uint64_t(clip.top) * pitch + uint64_t(clip.left) * bytes;
    uint64_t last = base + uint64_t(clip.bottom - 1) * pitch + uint64_t(clip.right) * bytes;
    return first < end && last > begin;
  };
  if (!within(s.colourBase, s.colourPitch, s.format->bytes) &&
      !(s.zTest && within(s.zBase, s.zPitch, s.zBytes)))
    return false;
  bool touched = false;
  RasterPrimitive(e, quiet, [&](const Fragment &f) {
    touched = hit({ColourOffset(s, f), s.format->bytes}) || (s.zTest && hit({ZOffset(s, f), s.zBytes}));
    return !touched;
  });
  return touched;
}

long ExecutePrimitive(const SiS6326Event &e, VideoView &view, Judge &judge, uint32_t *covered) {
  *covered = 0;
  Setup s;
  if (!ReadSetup(e, judge, &s)) return -1;
  // Every address first: a primitive that strays outside a live surface draws nothing.
  bool stray = false;
  bool known = RasterPrimitive(e, judge, [&](const Fragment &f) {
    ++*covered;
    if (!view.At(ColourOffset(s, f), s.format->bytes))
      stray = !judge.Fail("A6", "pixel (%d, %d) at colour offset 0x%llX lies in no live surface", f.x,
                          f.y, (unsigned long long)ColourOffset(s, f));
    else if (s.zTest && !view.At(ZOffset(s, f), s.zBytes))
      stray = !judge.Fail("A6", "pixel (%d, %d) at Z offset 0x%llX lies in no live surface", f.x, f.y,
                          (unsigned long long)ZOffset(s, f));
    else if (s.textured) {
      Texel texel;
      stray = !FetchSample(s.texture, PlanSample(s.texture, f.s, f.t, f.rho), view, judge, &texel);
    }
    return !stray;
  });
  if (!known || stray) return -1;
  const ColourFormat &format = *s.format;
  uint32_t channels = ChannelMask(format);
  long written = 0;
  Judge quiet{judge.position, true, false};
  RasterPrimitive(e, quiet, [&](const Fragment &f) {
    double src[4] = {f.a, f.r, f.g, f.b};
    for (double &c : src) c = std::min(255.0, std::max(0.0, c));
    if (s.textured) {
      Texel texel;
      FetchSample(s.texture, PlanSample(s.texture, f.s, f.t, f.rho), view, quiet, &texel);
      ApplyEnvironment(s.texture, texel, src);
    }
    if ((s.mode & kModeAlphaTest) && !Compare(s.alphaOp, uint32_t(std::trunc(src[0])), s.alphaRef))
      return true;
    if (s.zTest) {
      uint8_t *zAt = view.At(ZOffset(s, f), s.zBytes);
      uint32_t stored = Load(zAt, s.zBytes);
      uint32_t fresh = uint32_t(std::floor(f.z * s.zScale));
      const uint32_t near = s.zBytes == 2 ? 2u * 1u : 2u * (1u << 12);
      if ((fresh > stored ? fresh - stored : stored - fresh) <= near) NoteDepthTie(f.x, f.y);
      if (!Compare(s.zFunction, fresh, stored)) return true;
      if (s.zWrite) Save(zAt, fresh, s.zBytes);
    }
    uint8_t *at = view.At(ColourOffset(s, f), format.bytes);
    uint32_t current = Load(at, format.bytes);
    if (s.mode & kModeBlend) {
      double dst[4];
      for (int c = 0; c < 4; ++c) {
        if (format.bits[c] == 0) {
          dst[c] = c == 0 ? 255.0 : 0.0;
          continue;
        }
        uint32_t top = (1u << format.bits[c]) - 1;
        dst[c] = double((current >> format.shift[c]) & top) * 255.0 / double(top);
      }
      double fs[4], fd[4];
      Factor(s.sourceFactor, src, dst, fs);
      Factor(s.destinationFactor, src, dst, fd);
      for (int c = 0; c < 4; ++c) src[c] = std::min(255.0, src[c] * fs[c] + dst[c] * fd[c]);
    }
    uint32_t word = Convert(s, src, f.x, f.y);
    uint32_t result = 0;
    if (s.rop & 1) result |= ~word & ~current;
    if (s.rop & 2) result |= ~word & current;
    if (s.rop & 4) result |= word & ~current;
    if (s.rop & 8) result |= word & current;
    Save(at, result & channels, format.bytes);
    ++written;
    return true;
  });
  return written;
}

}  // namespace platform

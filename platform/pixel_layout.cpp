#include "platform/pixel_layout.h"

namespace platform {
namespace {

int Shift(uint32_t mask) { return mask ? __builtin_ctz(mask) : 0; }
int Bits(uint32_t mask) { return __builtin_popcount(mask); }

uint32_t Narrow(uint32_t channel, uint32_t mask) {
  int bits = Bits(mask);
  if (bits == 0) return 0;
  uint32_t value = bits <= 8 ? channel >> (8 - bits) : channel << (bits - 8);
  return (value << Shift(mask)) & mask;
}

}  // namespace

bool SameLayout(const PixelLayout &a, const PixelLayout &b) {
  if (a.bitCount != b.bitCount) return false;
  if (a.bitCount == 16 || a.bitCount == 32)
    return a.masks[0] == b.masks[0] && a.masks[1] == b.masks[1] && a.masks[2] == b.masks[2];
  if (a.bitCount > 8) return true;
  // Indices mean the same only through the same colours.
  if (a.colorCount != b.colorCount) return false;
  for (int i = 0; i < a.colorCount; ++i) {
    const RGBQUAD &p = a.colors[i], &q = b.colors[i];
    if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue) return false;
  }
  return true;
}

uint32_t ReadRaw(const uint8_t *row, int x, int bitCount) {
  switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8: return row[x];
    case 16: return row[2 * x] | (row[2 * x + 1] << 8);
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    case 32:
      return row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
             (static_cast<uint32_t>(row[4 * x + 3]) << 24);
    default: return 0;
  }
}

void WriteRaw(uint8_t *row, int x, int bitCount, uint32_t value) {
  switch (bitCount) {
    case 1: {
      uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((value & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4: {
      int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((value & 0xF) << shift));
      break;
    }
    case 8: row[x] = static_cast<uint8_t>(value); break;
    case 32: row[4 * x + 3] = static_cast<uint8_t>(value >> 24); [[fallthrough]];
    case 24: row[(bitCount / 8) * x + 2] = static_cast<uint8_t>(value >> 16); [[fallthrough]];
    case 16:
      row[(bitCount / 8) * x] = static_cast<uint8_t>(value);
      row[(bitCount / 8) * x + 1] = static_cast<uint8_t>(value >> 8);
      break;
    default: break;
  }
}

uint32_t Widen(uint32_t value, uint32_t mask) {
  int bits = Bits(mask);
  if (bits == 0) return 0;
  uint32_t v = (value & mask) >> Shift(mask);
  if (bits >= 8) return (v >> (bits - 8)) & 0xFF;
  uint32_t r = v << (8 - bits);
  for (int have = bits; have < 8; have *= 2) r |= r >> have;
  return r & 0xFF;
}

uint32_t ReadArgb(const uint8_t *row, int x, const PixelLayout &layout) {
  uint32_t raw = ReadRaw(row, x, layout.bitCount);
  if (layout.bitCount <= 8) {
    if (static_cast<int>(raw) >= layout.colorCount || layout.colors == nullptr) return 0xFF000000u;
    const RGBQUAD &c = layout.colors[raw];
    return 0xFF000000u | (c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue;
  }
  if (layout.bitCount == 24) return 0xFF000000u | raw;
  return 0xFF000000u | (Widen(raw, layout.masks[0]) << 16) | (Widen(raw, layout.masks[1]) << 8) |
         Widen(raw, layout.masks[2]);
}

void WriteArgb(uint8_t *row, int x, const PixelLayout &layout, uint32_t argb) {
  uint32_t value;
  if (layout.bitCount <= 8) {
    value = static_cast<uint32_t>(NearestColor(layout.colors, layout.colorCount, argb));
  } else if (layout.bitCount == 24) {
    value = argb & 0xFFFFFF;
  } else {
    value = Narrow((argb >> 16) & 0xFF, layout.masks[0]) | Narrow((argb >> 8) & 0xFF, layout.masks[1]) |
            Narrow(argb & 0xFF, layout.masks[2]);
  }
  WriteRaw(row, x, layout.bitCount, value);
}

int NearestColor(const RGBQUAD *colors, int count, uint32_t argb) {
  int best = 0;
  long bestDistance = -1;
  int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  for (int i = 0; colors && i < count; ++i) {
    long dr = colors[i].rgbRed - r, dg = colors[i].rgbGreen - g, db = colors[i].rgbBlue - b;
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

uint32_t DwordRowBytes(int width, int bitCount) {
  if (width < 0 || bitCount <= 0) return 0;
  uint64_t bytes = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  return bytes > 0x7FFFFFFFu ? 0 : static_cast<uint32_t>(bytes);
}

}  // namespace platform

#include "tests/fastraster/kernels/kernel_reference.h"

namespace kref {

const Class kClasses[4] = {
    {"RGBa", 10, 4, {8, 8, 8}, {16, 8, 0}},
    {"RGB5", 5, 2, {5, 6, 5}, {11, 5, 0}},
    {"RGB4", 4, 2, {5, 5, 5}, {10, 5, 0}},
    {"RGB2", 2, 1, {3, 3, 2}, {5, 2, 0}},
};

const Class kCI1 = {"CI1", 1, 1, {8, 0, 0}, {0, 0, 0}};

int Ceiling(const Class &c, int comp) { return 256 - (1 << (8 - c.bits[comp])); }

static int Square(int k) { return k * k / 255; }

uint32_t Product(int a, int b) { return uint32_t((Square(a) + Square(b) - Square(a - b)) >> 1); }

static int Min(int a, int b) { return a < b ? a : b; }

static int IteratorByte(int32_t it, int shift, bool saturate) {
  if (!saturate) return int((uint32_t(it) >> shift) & 0xFF);
  if (it < 0) return 0;
  return Min(int(uint32_t(it) >> shift), 255);
}

void GenColors(const Class &c, int slot, const GenInput &in, uint8_t colors[32][4],
               bool saturate) {
  const int code = slot >> 2;
  const bool alpha = slot & 1, iterated = slot & 2;
  for (int i = 0; i < 32; i++) {
    if (!(in.mask & (0x80000000u >> i))) continue;
    const int k = iterated ? i : 0;
    const int32_t it[4] = {int32_t(uint32_t(in.r) + uint32_t(k) * uint32_t(in.drdx)),
                           int32_t(uint32_t(in.g) + uint32_t(k) * uint32_t(in.dgdx)),
                           int32_t(uint32_t(in.b) + uint32_t(k) * uint32_t(in.dbdx)),
                           int32_t(uint32_t(in.a) + uint32_t(k) * uint32_t(in.dadx))};
    const uint8_t *t = in.texel[i];
    const int at = t[3];
    for (int comp = 0; comp < 3; comp++) {
      const int cf = IteratorByte(it[comp], 8 + c.bits[comp], saturate);
      const int ct = t[comp], cc = in.env[comp], ceil = Ceiling(c, comp);
      int v;
      switch (code) {
        case 0: case 14: case 15: v = cf; break;
        case 1: case 9: v = Min(ct, ceil); break;
        case 3: case 11: v = int(Product(ct, cf)); break;
        case 10: v = Min(int(Product(at, ct) + Product(255 - at, cf)), ceil); break;
        default: v = int(Product(255 - ct, cf) + Product(ct, cc)); break;  // 4, 5, 12, 13
      }
      colors[i][comp] = uint8_t(v);
    }
    if (!alpha) continue;
    const int af = IteratorByte(it[3], 16, saturate);
    int va;
    switch (code) {
      case 9: case 14: va = at; break;
      case 11: case 12: case 15: va = int(Product(at, af)); break;
      case 13: va = int(Product(255 - at, af) + Product(at, in.env[3])); break;
      default: va = af; break;
    }
    colors[i][3] = uint8_t(va);
  }
}

static uint32_t Unpack(const Class &c, int comp, uint32_t p) {
  const uint32_t field = (p >> c.pos[comp]) & ((1u << c.bits[comp]) - 1);
  return field << (8 - c.bits[comp]);
}

static uint32_t Place(const Class &c, int comp, uint32_t v, bool clamp) {
  uint32_t field = v >> (8 - c.bits[comp]);
  const uint32_t top = (1u << c.bits[comp]) - 1;
  if (clamp && field > top) field = top;
  return field << c.pos[comp];
}

// The logic op `op` (GL_CLEAR = 0 .. GL_SET = 15) over whole words.
static uint32_t LogicOp(int op, uint32_t s, uint32_t p) {
  switch (op) {
    case 0: return 0;
    case 1: return s & p;
    case 2: return s & ~p;
    case 3: return s;
    case 4: return ~s & p;
    case 5: return p;
    case 6: return s ^ p;
    case 7: return s | p;
    case 8: return ~(s | p);
    case 9: return ~(s ^ p);
    case 10: return ~p;
    case 11: return s | ~p;
    case 12: return ~s;
    case 13: return ~s | p;
    case 14: return ~(s & p);
    default: return 0xFFFFFFFFu;
  }
}

const uint32_t *Combine(const Class &c, int slot, const CombineInput &in, uint32_t dst[32],
                        bool limit) {
  const int low = slot & 0x0F;
  const bool dither = slot & 0x10, blend = slot & 0x20;
  const bool ignoresSource = !blend && (low == 0 || low == 5 || low == 10 || low == 15);
  const uint32_t word = c.bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * c.bytes)) - 1;
  const uint32_t *row = in.ditherRow;
  uint32_t mask = in.mask;
  for (int i = 0; i < 32; i++) {
    if (mask & 0x80000000u) {
      const uint32_t D = dither && !ignoresSource ? *row : 0;
      const uint32_t p = dst[i];
      const uint8_t *e = in.colors[i];
      uint32_t out = 0;
      if (blend) {
        const int a = e[3];
        for (int comp = 0; comp < 3; comp++) {
          const int s = e[comp], d = int(Unpack(c, comp, p));
          uint32_t v;
          switch (low) {
            case 0: v = Product(s, a); break;
            case 1: v = Product(s, a) + d; break;
            case 3: v = Product(s, a) + Product(d, 255 - a); break;
            case 6: v = Product(s, 255 - a) + Product(d, a); break;
            default: v = Product(s, 0) + d; break;  // 9
          }
          if (dither) v += D >> (8 + c.bits[comp]);
          out |= Place(c, comp, v, limit || low == 1 || low == 9);
        }
      } else {
        uint32_t src = 0;
        for (int comp = 0; comp < 3; comp++) {
          uint32_t v = e[comp];
          if (dither) v = v - (v >> c.bits[comp]) + (D >> (8 + c.bits[comp]));
          src |= Place(c, comp, v, limit);
        }
        out = LogicOp(low, src, p);
      }
      dst[i] = out & word;
    } else if (mask == 0) {
      break;
    }
    mask <<= 1;
    if (dither && !ignoresSource) row++;
  }
  return row;
}

static bool Live(uint32_t mask, int i) { return (mask & (0x80000000u >> i)) != 0; }

// Positions a walk visits: up to and including the last live one.
static int Visited(uint32_t mask) {
  int n = 0;
  for (int i = 0; i < 32; i++)
    if (Live(mask, i)) n = i + 1;
  return n;
}

static uint32_t Step(int32_t start, int32_t step, int k) {
  return uint32_t(start) + uint32_t(k) * uint32_t(step);
}

const uint32_t *GenPixels(const Class &c, int slot, const GenInput &in, uint32_t flatPixel,
                          const uint32_t *ditherRow, uint32_t dst[32]) {
  const int code = slot >> 2;
  const bool dither = slot & 1, iterated = slot & 2;
  if (code >= 14) return ditherRow;
  const uint32_t word = c.bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * c.bytes)) - 1;
  const int32_t start[3] = {in.r, in.g, in.b}, step[3] = {in.drdx, in.dgdx, in.dbdx};
  for (int i = 0; i < 32; i++) {
    if (!Live(in.mask, i)) continue;
    const uint32_t D = dither ? ditherRow[i] : 0;
    const int k = iterated ? i : 0;
    if ((code == 0 || code == 8) && !dither && !iterated) {
      dst[i] = flatPixel & word;
      continue;
    }
    uint32_t out = 0;
    for (int comp = 0; comp < 3; comp++) {
      const int32_t it = int32_t(Step(start[comp], step[comp], k));
      const int top = (1 << c.bits[comp]) - 1;
      int field;
      if (code == 0 || code == 8) {
        const int64_t v = (int64_t(it) + int64_t(D)) >> 16;
        field = v < 0 ? 0 : v > top ? top : int(v);
      } else {
        const int cf = IteratorByte(it, 8 + c.bits[comp], true);
        const int ct = in.texel[i][comp], at = in.texel[i][3], cc = in.env[comp];
        int x;
        switch (code) {
          case 1: case 9: x = ct; break;
          case 3: case 11: x = int(Product(ct, cf)); break;
          case 10: x = int(Product(at, ct) + Product(255 - at, cf)); break;
          default: x = int(Product(255 - ct, cf) + Product(ct, cc)); break;  // 4, 5, 12, 13
        }
        int v = x + int(D >> (8 + c.bits[comp]));
        if (code == 1 || code == 9 || code == 10) v = Min(v, Ceiling(c, comp));
        field = Min(v >> (8 - c.bits[comp]), top);
      }
      out |= uint32_t(field) << c.pos[comp];
    }
    dst[i] = out;
  }
  return dither ? ditherRow + Visited(in.mask) : ditherRow;
}

void CiGenColors(int slot, const GenInput &in, uint32_t colors[32]) {
  const int texture = slot & 0x0C;
  for (int i = 0; i < 32; i++) {
    if (!Live(in.mask, i)) continue;
    const uint32_t v = Step(in.r, in.drdx, (slot & 2) ? i : 0);
    const uint32_t t = uint32_t(in.texel[i][3]) << 16;
    colors[i] = texture == 0x04 ? t : texture == 0x08 ? t + v : v;
  }
}

const uint32_t *CiGenPixels(int slot, const GenInput &in, uint32_t flatPixel,
                            const uint32_t *ditherRow, uint32_t dst[32]) {
  const int texture = slot & 0x0C;
  const bool dither = (slot & 1) && texture != 0x04;
  for (int i = 0; i < 32; i++) {
    if (!Live(in.mask, i)) continue;
    const uint32_t v = Step(in.r, in.drdx, (slot & 2) ? i : 0);
    uint32_t index = slot == 0 ? flatPixel : (v + (dither ? ditherRow[i] : 0)) >> 16;
    if (texture == 0x04) index = in.texel[i][3];
    if (texture == 0x08) index += in.texel[i][3];
    dst[i] = index & 0xFF;
  }
  return dither ? ditherRow + Visited(in.mask) : ditherRow;
}

const uint32_t *CiCombine(int slot, const uint32_t colors[32], const uint32_t *ditherRow,
                          uint32_t mask, uint32_t dst[32]) {
  const int op = slot & 0x0F;
  const bool sourceFree = op == 0 || op == 5 || op == 10 || op == 15;
  const bool dither = (slot & 0x10) && !sourceFree;
  if (op == 5) return ditherRow;  // GL_NOOP
  for (int i = 0; i < 32; i++) {
    if (!Live(mask, i)) continue;
    const uint32_t s = sourceFree ? 0 : (colors[i] + (dither ? ditherRow[i] : 0)) >> 16;
    const uint32_t p = dst[i];
    const uint32_t out = LogicOp(op, s, p);
    dst[i] = out & 0xFF;
  }
  return dither ? ditherRow + Visited(mask) : ditherRow;
}

}  // namespace kref

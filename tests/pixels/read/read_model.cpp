#include "tests/pixels/read/read_model.h"

#include <math.h>
#include <string.h>

#include <sstream>

#include "core/gl_defs.h"
#include "pixels/px_enums.h"

namespace read_test {
namespace {

constexpr unsigned kColorIndex = GL_COLOR_INDEX, kStencil = GL_STENCIL_INDEX,
                   kDepth = GL_DEPTH_COMPONENT;
constexpr unsigned kRed = GL_RED, kGreen = GL_GREEN, kBlue = GL_BLUE, kAlpha = GL_ALPHA;
constexpr unsigned kRGB = GL_RGB, kRGBA = GL_RGBA, kLum = GL_LUMINANCE,
                   kLumAlpha = GL_LUMINANCE_ALPHA;
constexpr unsigned kABGR = GL_ABGR_EXT, kBGR = GL_BGR_EXT, kBGRA = GL_BGRA_EXT;
constexpr unsigned kByte = GL_BYTE, kUbyte = GL_UNSIGNED_BYTE, kShort = GL_SHORT,
                   kUshort = GL_UNSIGNED_SHORT;
constexpr unsigned kInt = GL_INT, kUint = GL_UNSIGNED_INT, kFloat = GL_FLOAT,
                   kBitmap = GL_BITMAP;

using draw_test::ModelClamp01;
using draw_test::ModelMapLookup;
using draw_test::ModelPacked;
using draw_test::ModelPackedFields;
using draw_test::ModelReadElement;

// An accepted range of one element's value (or, for floats, a value and
// its slack).
struct Range {
  double lo, hi;
};

// The unsigned conversion trunc(max * v + 0.5), either side of a tie (32-bit
// types: within the single-precision products of the pack side).
Range Unsigned(double v, double max) {
  const double x = max * v + 0.5;
  const double slack = max > 70000 ? x * 4e-6 + 256 : 1e-3;
  return {floor(x - slack), floor(x + slack)};
}
// Packed fields truncate the product.
Range Truncated(double v, double max) {
  const double x = max * v;
  const double slack = max > 70000 ? x * 4e-6 + 256 : 1e-3;
  return {floor(x - slack), floor(x + slack)};
}
// The signed conversion floor(max * v / 2).
Range Signed(double v, double max) {
  const double x = max * v * 0.5;
  const double slack = max > 70000 ? fabs(x) * 4e-6 + 256 : 1e-3;
  return {floor(x - slack), floor(x + slack)};
}

int64_t ShiftIndex(int64_t v, const ModelTransfer &t) {
  return int64_t(draw_test::ModelShiftIndex(double(v), t));
}

// The format's components, in client order, from a transferred pixel.
std::vector<double> Components(unsigned format, const double c[4]) {
  const double l = c[0] + c[1] + c[2] > 1 ? 1 : c[0] + c[1] + c[2];
  switch (format) {
    case kRed: return {c[0]};
    case kGreen: return {c[1]};
    case kBlue: return {c[2]};
    case kAlpha: return {c[3]};
    case kRGB: return {c[0], c[1], c[2]};
    case kRGBA: return {c[0], c[1], c[2], c[3]};
    case kLum: return {l};
    case kLumAlpha: return {l, c[3]};
    case kBGR: return {c[2], c[1], c[0]};
    case kBGRA: return {c[2], c[1], c[0], c[3]};
    case kABGR: return {c[3], c[2], c[1], c[0]};
    default: return {c[0]};
  }
}

int ElementBytes(unsigned type) { return draw_test::ModelElementBytes(type); }

double SignedElement(uint32_t raw, int bytes) {
  return bytes == 1 ? double(int8_t(raw)) : bytes == 2 ? double(int16_t(raw)) : double(int32_t(raw));
}

}  // namespace

size_t ReadImageBytes(const ModelStore &pack, unsigned format, unsigned type, int width,
                      int height) {
  return draw_test::ModelImageBytes(pack, format, type, width, height);
}

std::string CompareRead(const ModelRead &r, const ModelStore &pack, const ModelTransfer &t,
                        const std::vector<uint8_t> &got, uint8_t fill) {
  std::ostringstream out;
  out.precision(12);
  int wrong = 0;
  auto report = [&](int i, int j, const std::string &text) {
    if (wrong++ < 6) out << "\n  pixel (" << i << ", " << j << "): " << text;
  };
  // Bits of each byte the read may write.
  std::vector<uint8_t> touched(got.size(), 0);
  const bool indexed = r.format == kColorIndex || r.format == kStencil;
  const int rowLength = pack.rowLength > 0 ? pack.rowLength : r.width;
  const int e = ElementBytes(r.type);
  const int n = draw_test::ModelGroupElements(r.format, r.type);
  size_t stride = r.type == kBitmap ? size_t(rowLength + 7) / 8 : size_t(rowLength) * n * e;
  stride = (stride + pack.alignment - 1) / pack.alignment * pack.alignment;
  for (int j = 0; j < r.height; j++)
    for (int i = 0; i < r.width; i++) {
      const ModelPixel p = r.source(i, j);
      const size_t row = size_t(pack.skipRows + j) * stride;
      // Indices and stencil values: shifted, offset, mapped, masked.
      if (indexed) {
        int64_t v = ShiftIndex(int64_t(p.c[0]), t);
        const bool map = r.format == kStencil ? t.mapStencil : t.mapColor;
        const std::vector<int> &table = r.format == kStencil ? t.stos : t.itoi;
        if (map && !table.empty()) v = table[size_t(v & int64_t(table.size() - 1))];
        if (r.type == kBitmap) {
          const int bit = pack.skipPixels + i;
          const size_t at = row + size_t(bit / 8);
          const int k = bit % 8;
          const uint8_t m = uint8_t(pack.lsbFirst ? 1 << k : 0x80 >> k);
          touched[at] |= m;
          const bool want = (v & 1) != 0;
          if (((got[at] & m) != 0) != want) report(i, j, "bit " + std::to_string(want ? 0 : 1));
          // Bits outside the rectangle keep the fill.
          continue;
        }
        const size_t at = row + size_t(pack.skipPixels + i) * e;
        for (int b = 0; b < e; b++) touched[at + size_t(b)] = 0xFF;
        const uint32_t raw = ModelReadElement(&got[at], e, pack.swapBytes);
        double value = 0, want = 0;
        if (r.type == kFloat) {
          float f;
          memcpy(&f, &raw, 4);
          value = f, want = double(float(v));
        } else {
          const bool sign = r.type == kByte || r.type == kShort || r.type == kInt;
          const uint64_t mask = sign ? (uint64_t(1) << (8 * e - 1)) - 1 : (uint64_t(1) << (8 * e)) - 1;
          value = sign ? SignedElement(raw, e) : double(raw);
          want = double(uint64_t(v) & mask);
        }
        if (value != want) {
          std::ostringstream s;
          s.precision(12);
          s << value << ", want " << want;
          report(i, j, s.str());
        }
        continue;
      }
      // Colours and depths.
      double c[4];
      bool shortcut = false;
      if (r.format == kDepth) {
        const bool transfer = t.depthScale != 1 || t.depthBias != 0;
        c[0] = ModelClamp01(p.c[0] * t.depthScale + t.depthBias);
        c[1] = c[2] = 0, c[3] = 1;
        shortcut = !transfer && r.type == kUint && p.depthWord != 0;
      } else {
        for (int k = 0; k < 4; k++) {
          double v = p.c[k] * t.scale[k] + t.bias[k];
          v = t.mapColor ? ModelMapLookup(t.maps[k], ModelClamp01(v)) : ModelClamp01(v);
          c[k] = v;
        }
      }
      const std::vector<double> comps = r.format == kDepth ? std::vector<double>{c[0]}
                                                           : Components(r.format, c);
      const size_t group = size_t(n) * e;
      const size_t at = row + size_t(pack.skipPixels + i) * group;
      for (size_t b = 0; b < group; b++) touched[at + b] = 0xFF;
      if (ModelPacked(r.type)) {
        const uint32_t raw = ModelReadElement(&got[at], e, pack.swapBytes);
        int shift = e * 8;
        const std::vector<int> fields = ModelPackedFields(r.type);
        for (size_t k = 0; k < fields.size(); k++) {
          shift -= fields[k];
          const uint32_t max = (1u << fields[k]) - 1;
          const double value = double((raw >> shift) & max);
          const Range want = Truncated(comps[k], max);
          if (value < want.lo || value > want.hi) {
            std::ostringstream s;
          s.precision(12);
            s << "field " << k << ": " << value << ", want " << want.lo;
            report(i, j, s.str());
          }
        }
        continue;
      }
      for (size_t k = 0; k < comps.size(); k++) {
        const uint32_t raw = ModelReadElement(&got[at + k * size_t(e)], e, pack.swapBytes);
        double value;
        Range want;
        switch (r.type) {
          case kUbyte: value = raw, want = Unsigned(comps[k], 255); break;
          case kUshort: value = raw, want = Unsigned(comps[k], 65535); break;
          case kUint:
            value = raw;
            want = shortcut ? Range{double(p.depthWord), double(p.depthWord)}
                            : Unsigned(comps[k], 4294967295.0);
            break;
          case kByte: value = SignedElement(raw, 1), want = Signed(comps[k], 255); break;
          case kShort: value = SignedElement(raw, 2), want = Signed(comps[k], 65535); break;
          case kInt: value = SignedElement(raw, 4), want = Signed(comps[k], 4294967295.0); break;
          default: {
            float f;
            memcpy(&f, &raw, 4);
            value = f;
            want = {comps[k] - 2e-6, comps[k] + 2e-6};
          }
        }
        if (value < want.lo || value > want.hi) {
          std::ostringstream s;
          s.precision(12);
          s << "component " << k << ": " << value << ", want " << want.lo << " .. " << want.hi;
          report(i, j, s.str());
        }
      }
    }
  // Everything else keeps the fill, bitmap bits beside the rows included.
  for (size_t b = 0; b < got.size(); b++)
    if (((got[b] ^ fill) & ~touched[b]) != 0) {
      std::ostringstream s;
      s << "byte " << b << " changed to " << int(got[b]);
      report(-1, -1, s.str());
    }
  if (wrong) out << "\n  (" << wrong << " differences)";
  return out.str();
}

}  // namespace read_test

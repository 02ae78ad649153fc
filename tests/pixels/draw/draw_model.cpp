#include "tests/pixels/draw/draw_model.h"

#include <math.h>
#include <string.h>

namespace draw_test {
namespace {

constexpr unsigned kColorIndex = 0x1900, kStencil = 0x1901, kDepth = 0x1902;
constexpr unsigned kRed = 0x1903, kGreen = 0x1904, kBlue = 0x1905, kAlpha = 0x1906;
constexpr unsigned kRGB = 0x1907, kRGBA = 0x1908, kLum = 0x1909, kLumAlpha = 0x190A;
constexpr unsigned kABGR = 0x8000, kBGR = 0x80E0, kBGRA = 0x80E1;
constexpr unsigned kByte = 0x1400, kUbyte = 0x1401, kShort = 0x1402, kUshort = 0x1403;
constexpr unsigned kInt = 0x1404, kUint = 0x1405, kFloat = 0x1406, kBitmap = 0x1A00;

}  // namespace

bool ModelPacked(unsigned type) { return type >= 0x8032 && type <= 0x8036; }

double ModelClamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

// Field widths of a packed type, first component in the highest bits.
std::vector<int> ModelPackedFields(unsigned type) {
  switch (type) {
    case 0x8032: return {3, 3, 2};
    case 0x8033: return {4, 4, 4, 4};
    case 0x8034: return {5, 5, 5, 1};
    case 0x8035: return {8, 8, 8, 8};
    default: return {10, 10, 10, 2};
  }
}

uint32_t ModelReadElement(const uint8_t *p, int bytes, bool swap) {
  uint8_t b[4] = {0, 0, 0, 0};
  for (int i = 0; i < bytes; i++) b[i] = p[swap ? bytes - 1 - i : i];
  uint32_t v = 0;
  memcpy(&v, b, 4);
  return v;
}

namespace {


// One element as a float: normalised for components, the integer itself
// for indices.
double Convert(uint32_t raw, unsigned type, bool index) {
  switch (type) {
    case kUbyte: return index ? raw : raw / 255.0;
    case kByte: return index ? int8_t(raw) : (2.0 * int8_t(raw) + 1) / 255.0;
    case kUshort: return index ? raw : raw / 65535.0;
    case kShort: return index ? int16_t(raw) : (2.0 * int16_t(raw) + 1) / 65535.0;
    case kUint: return index ? raw : raw / 4294967295.0;
    case kInt: return index ? int32_t(raw) : (2.0 * int32_t(raw) + 1) / 4294967295.0;
    default: {
      float f;
      memcpy(&f, &raw, 4);
      return f;
    }
  }
}

// The source components of pixel (i, j), as floats, in the format's order.
std::vector<double> SourcePixel(const ModelDraw &d, const ModelStore &s, int i, int j) {
  const bool index = d.format == kColorIndex || d.format == kStencil;
  const int rowLength = s.rowLength > 0 ? s.rowLength : d.width;
  if (d.type == kBitmap) {
    size_t stride = (rowLength + 7) / 8;
    stride = (stride + s.alignment - 1) / s.alignment * s.alignment;
    const int bit = s.skipPixels + i;
    const uint8_t byte = d.pixels[(s.skipRows + j) * stride + bit / 8];
    const int k = bit % 8;
    const bool set = byte & (s.lsbFirst ? 1 << k : 0x80 >> k);
    return {set ? 1.0 : 0.0};
  }
  const int e = ModelElementBytes(d.type), n = ModelGroupElements(d.format, d.type);
  size_t stride = size_t(rowLength) * n * e;
  stride = (stride + s.alignment - 1) / s.alignment * s.alignment;
  const uint8_t *p = d.pixels + (s.skipRows + j) * stride + size_t(s.skipPixels + i) * n * e;
  if (ModelPacked(d.type)) {
    const uint32_t raw = ModelReadElement(p, e, s.swapBytes);
    std::vector<double> out;
    int shift = e * 8;
    for (int bits : ModelPackedFields(d.type)) {
      shift -= bits;
      out.push_back(double((raw >> shift) & ((1u << bits) - 1)) / double((1u << bits) - 1));
    }
    return out;
  }
  std::vector<double> out;
  for (int k = 0; k < n; k++) {
    const double v = Convert(ModelReadElement(p + k * e, e, s.swapBytes), d.type, index);
    // Indices travel as single-precision floats.
    out.push_back(index ? double(float(v)) : v);
  }
  return out;
}

// Components to R, G, B, A before the transfer.
void ToRGBA(unsigned format, const std::vector<double> &c, double rgba[4]) {
  rgba[0] = rgba[1] = rgba[2] = 0;
  rgba[3] = 1;
  switch (format) {
    case kRed: rgba[0] = c[0]; break;
    case kGreen: rgba[1] = c[0]; break;
    case kBlue: rgba[2] = c[0]; break;
    case kAlpha: rgba[3] = c[0]; break;
    case kLum: rgba[0] = rgba[1] = rgba[2] = c[0]; break;
    case kLumAlpha: rgba[0] = rgba[1] = rgba[2] = c[0], rgba[3] = c[1]; break;
    case kRGB: rgba[0] = c[0], rgba[1] = c[1], rgba[2] = c[2]; break;
    case kBGR: rgba[0] = c[2], rgba[1] = c[1], rgba[2] = c[0]; break;
    case kRGBA: for (int k = 0; k < 4; k++) rgba[k] = c[k]; break;
    case kBGRA: rgba[0] = c[2], rgba[1] = c[1], rgba[2] = c[0], rgba[3] = c[3]; break;
    case kABGR: rgba[0] = c[3], rgba[1] = c[2], rgba[2] = c[1], rgba[3] = c[0]; break;
  }
}

}  // namespace

double ModelMapLookup(const std::vector<float> &map, double v) {
  int i = int((map.size() - 1) * v + 0.5);
  if (i < 0) i = 0;
  if (i >= int(map.size())) i = int(map.size()) - 1;
  return map[size_t(i)];
}

// Shift and offset act on the integer part of the index, in 32 bits.
double ModelShiftIndex(double v, const ModelTransfer &t) {
  uint32_t n = uint32_t(int64_t(v));
  n = t.indexShift >= 0 ? n << t.indexShift : uint32_t(int32_t(n) >> -t.indexShift);
  return double(int32_t(n + uint32_t(t.indexOffset)));
}

namespace {


// The destination pixels of one axis: for each destination pixel whose
// centre lies in the image's footprint, the source pixel; -1 outside.
struct AxisMap {
  std::map<int, int> source;
  std::map<int, bool> ambiguous;
};

AxisMap MapAxis(double origin, double zoom, int count, int lo, int hi) {
  AxisMap m;
  for (int c = lo; c < hi; c++) {
    const double u = (c + 0.5 - origin) / zoom;
    const int i = int(floor(u));
    const double edge = fabs(u - floor(u + 0.5));
    if (edge < 1e-4 && u > -1e-4 && u < count + 1e-4) m.ambiguous[c] = true;
    if (i >= 0 && i < count) m.source[c] = i;
  }
  return m;
}

}  // namespace

int ModelElementBytes(unsigned type) {
  switch (type) {
    case kByte: case kUbyte: case kBitmap: case 0x8032: return 1;
    case kShort: case kUshort: case 0x8033: case 0x8034: return 2;
    default: return 4;
  }
}

int ModelGroupElements(unsigned format, unsigned type) {
  if (ModelPacked(type)) return 1;
  switch (format) {
    case kRGB: case kBGR: return 3;
    case kRGBA: case kBGRA: case kABGR: return 4;
    case kLumAlpha: return 2;
    default: return 1;
  }
}

size_t ModelImageBytes(const ModelStore &s, unsigned format, unsigned type, int width,
                       int height) {
  const int rowLength = s.rowLength > 0 ? s.rowLength : width;
  size_t stride = type == kBitmap ? (rowLength + 7) / 8
                                  : size_t(rowLength) * ModelGroupElements(format, type) *
                                        ModelElementBytes(type);
  stride = (stride + s.alignment - 1) / s.alignment * s.alignment;
  // Skipped pixels may reach past the last row.
  const size_t skipped = type == kBitmap ? size_t(s.skipPixels + 7) / 8
                                         : size_t(s.skipPixels) * ModelGroupElements(format, type) *
                                               ModelElementBytes(type);
  return stride * size_t(s.skipRows + height) + skipped + 16;
}

ModelImage DrawModel(const ModelDraw &d, const ModelStore &s, const ModelTransfer &t,
                     const ModelTarget &target) {
  ModelImage image;
  if (d.zoomx == 0 || d.zoomy == 0) return image;
  const AxisMap cols = MapAxis(d.x, d.zoomx, d.width, target.box[0], target.box[2]);
  const AxisMap rows = MapAxis(d.y, d.zoomy, d.height, target.box[1], target.box[3]);
  for (const auto &[row, j] : rows.source)
    for (const auto &[col, i] : cols.source) {
      const std::vector<double> c = SourcePixel(d, s, i, j);
      ModelFragment f{};
      f.z = d.fragz;
      if (d.format == kDepth) {
        const double v = ModelClamp01(c[0] * t.depthScale + t.depthBias);
        f.z = uint32_t(target.depthScale * v);
        for (int k = 0; k < 4; k++) f.color[k] = d.rasterColor[k];
      } else if (d.format == kColorIndex) {
        double v = ModelShiftIndex(c[0], t);
        if (target.rgba) {
          const int mask = int(t.maps[4].size()) - 1;
          const int idx = int(int64_t(v) & mask);
          for (int k = 0; k < 4; k++) f.color[k] = float(t.maps[4 + k][size_t(idx)] * target.scale[k]);
        } else {
          if (t.mapColor) v = t.itoi[size_t(int64_t(v) & (int64_t(t.itoi.size()) - 1))];
          f.color[0] = float(v);
        }
      } else {
        double rgba[4];
        ToRGBA(d.format, c, rgba);
        for (int k = 0; k < 4; k++) {
          double v = rgba[k] * t.scale[k] + t.bias[k];
          v = t.mapColor ? ModelMapLookup(t.maps[k], ModelClamp01(v)) : ModelClamp01(v);
          f.color[k] = float(v * target.scale[k]);
        }
      }
      const auto at = std::make_pair(col, row);
      image.fragments[at] = f;
      if (cols.ambiguous.count(col) || rows.ambiguous.count(row)) image.ambiguous[at] = true;
    }
  // Centres on an edge may go either way: both neighbours are left out.
  for (const auto &[col, a] : cols.ambiguous)
    for (int row = target.box[1]; row < target.box[3]; row++) image.ambiguous[{col, row}] = true;
  for (const auto &[row, a] : rows.ambiguous)
    for (int col = target.box[0]; col < target.box[2]; col++) image.ambiguous[{col, row}] = true;
  return image;
}

}  // namespace draw_test

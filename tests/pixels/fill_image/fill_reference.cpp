#include "tests/pixels/fill_image/fill_fixture.h"

#include "pixels/px_enums.h"
#include "tests/pixels/draw/draw_model.h"

namespace fill_image_test {

using draw_test::ModelElementBytes;
using draw_test::ModelGroupElements;

namespace {

int64_t RowLength(const GlPixelStoreModes &m, const Shape &s) {
  return m.rowLength > 0 ? m.rowLength : s.width;
}

// OpenGL's rule for the distance between rows: a whole number of elements
// when the element is at least as wide as the alignment, else the row
// rounded up to a multiple of the alignment.
int64_t RowStride(const GlPixelStoreModes &m, const Shape &s) {
  const int64_t n = ModelGroupElements(s.format, s.type), l = RowLength(m, s), a = m.alignment;
  if (s.type == GL_BITMAP) return a * ((n * l + 8 * a - 1) / (8 * a));
  const int64_t e = ModelElementBytes(s.type);
  if (e >= a) return n * l * e;
  return a * ((e * n * l + a - 1) / a);
}

// Byte and bit of pixel bit `i` (of group bits across the row) in row y.
int ClientBit(const GlPixelStoreModes &m, const Shape &s, const uint8_t *client, int y, int64_t i) {
  const int64_t bit = int64_t(ModelGroupElements(s.format, s.type)) * m.skipPixels + i;
  const uint8_t byte = client[(m.skipRows + y) * RowStride(m, s) + bit / 8];
  return (byte >> (m.lsbFirst ? bit % 8 : 7 - bit % 8)) & 1;
}

}  // namespace

size_t ClientReach(const GlPixelStoreModes &m, const Shape &s) {
  const int64_t n = ModelGroupElements(s.format, s.type), stride = RowStride(m, s);
  if (s.type == GL_BITMAP) {
    const int64_t lastBit = n * (m.skipPixels + s.width) - 1;
    return size_t((m.skipRows + s.height - 1) * stride + lastBit / 8 + 1);
  }
  const int64_t e = ModelElementBytes(s.type);
  return size_t((int64_t(s.depth) * s.height + m.skipRows - 1) * stride +
                (m.skipPixels + s.width) * n * e);
}

std::vector<uint8_t> ReferencePack(const GlPixelStoreModes &m, const Shape &s,
                                   const uint8_t *client) {
  std::vector<uint8_t> out;
  const int64_t n = ModelGroupElements(s.format, s.type), stride = RowStride(m, s);
  if (s.type == GL_BITMAP) {
    const int64_t rowBytes = (n * s.width + 7) / 8;
    for (int y = 0; y < s.height; y++)
      for (int64_t byte = 0; byte < rowBytes; byte++) {
        uint8_t packed = 0;
        for (int64_t b = 0; b < 8; b++) {
          const int64_t i = byte * 8 + b;
          if (i < n * s.width && ClientBit(m, s, client, y, i)) packed |= uint8_t(0x80 >> b);
        }
        out.push_back(packed);
      }
    return out;
  }
  const int e = ModelElementBytes(s.type);
  const bool swap = m.swapBytes && e > 1;
  for (int z = 0; z < s.depth; z++)
    for (int y = 0; y < s.height; y++)
      for (int x = 0; x < s.width; x++)
        for (int k = 0; k < n; k++) {
          const uint8_t *element = client + (int64_t(z) * s.height + m.skipRows + y) * stride +
                                   ((m.skipPixels + x) * n + k) * e;
          for (int b = 0; b < e; b++) out.push_back(element[swap ? e - 1 - b : b]);
        }
  return out;
}

std::vector<uint8_t> Noise(size_t bytes, uint32_t seed) {
  std::vector<uint8_t> v(bytes);
  for (uint8_t &b : v) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
  return v;
}

}  // namespace fill_image_test

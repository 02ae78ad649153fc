#include "tests/pixels/bitmap/bitmap_model.h"

#include <math.h>

namespace bitmap_test {

namespace {

size_t RowBytes(const Unpack &u, int width) {
  const size_t pixels = size_t(u.rowLength > 0 ? u.rowLength : width);
  const size_t bytes = (pixels + 7) / 8;
  const size_t a = size_t(u.alignment);
  return (bytes + a - 1) / a * a;
}

}  // namespace

size_t ClientBytes(const Unpack &u, int width, int height) {
  return RowBytes(u, width) * size_t(u.skipRows + height) + 1;
}

bool ClientBit(const std::vector<uint8_t> &data, const Unpack &u, int width, int column,
               int row) {
  const size_t bit = size_t(u.skipPixels + column);
  const uint8_t byte = data[size_t(u.skipRows + row) * RowBytes(u, width) + bit / 8];
  const int shift = u.lsbFirst ? int(bit % 8) : 7 - int(bit % 8);
  return (byte >> shift) & 1;
}

std::set<std::pair<int, int>> DrawnPixels(const ModelBitmap &b, const ModelWindow &w) {
  std::set<std::pair<int, int>> drawn;
  const long x0 = long(floor(b.rasterX - b.xorig)), y0 = long(floor(b.rasterY - b.yorig));
  for (int row = 0; row < b.height; row++)
    for (int col = 0; col < b.width; col++) {
      if (!ClientBit(*b.data, b.unpack, b.width, col, row)) continue;
      const long x = x0 + col, y = y0 + row;
      if (x < 0 || x >= w.width || y < 0 || y >= w.height) continue;
      if (w.scissor && (x < w.sx || x >= w.sx + w.sw || y < w.sy || y >= w.sy + w.sh)) continue;
      drawn.insert({int(x), int(y)});
    }
  return drawn;
}

}  // namespace bitmap_test

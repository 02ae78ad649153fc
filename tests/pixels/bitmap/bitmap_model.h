// What OpenGL draws for a bitmap, worked out bit by bit from its rules:
// the client's bits read with the unpack modes, each set bit at window
// pixel (floor(raster x - xorig) + column, floor(raster y - yorig) + row),
// kept where it lies inside the window and the scissor box.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <set>
#include <utility>
#include <vector>

namespace bitmap_test {

struct Unpack {
  int alignment = 4, rowLength = 0, skipPixels = 0, skipRows = 0;
  bool lsbFirst = false;
};

// Bytes a client bitmap of this size takes under `u`.
size_t ClientBytes(const Unpack &u, int width, int height);
// Bit (column, row) of the client's bitmap, rows from the bottom.
bool ClientBit(const std::vector<uint8_t> &data, const Unpack &u, int width, int column,
               int row);

struct ModelBitmap {
  double rasterX, rasterY;  // window coordinates, rows from the bottom
  int width, height;
  double xorig, yorig;
  Unpack unpack;
  const std::vector<uint8_t> *data;
};

struct ModelWindow {
  int width, height;
  bool scissor = false;
  int sx = 0, sy = 0, sw = 0, sh = 0;
};

// Window pixels (x, rows from the bottom) the bitmap draws.
std::set<std::pair<int, int>> DrawnPixels(const ModelBitmap &b, const ModelWindow &w);

}  // namespace bitmap_test

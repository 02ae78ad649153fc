// What glDrawPixels draws, from OpenGL 1.1's rules alone: the client image
// read with the store modes, converted to floats, through the pixel
// transfer, and every destination pixel whose centre lies in a source
// pixel's zoomed footprint (inside the clip box) given that pixel's value.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <map>
#include <vector>

namespace draw_test {

struct ModelStore {
  int alignment = 4, rowLength = 0, skipPixels = 0, skipRows = 0;
  bool swapBytes = false, lsbFirst = false;
};

struct ModelTransfer {
  float scale[4] = {1, 1, 1, 1}, bias[4] = {0, 0, 0, 0};
  float depthScale = 1, depthBias = 0;
  int indexShift = 0, indexOffset = 0;
  bool mapColor = false, mapStencil = false;
  // R, G, B, A maps, then I to R, G, B, A, then I to I and S to S.
  std::vector<float> maps[8];
  std::vector<int> itoi, stos;
};

// The target: the colour scales (index mask in colour-index mode), the
// largest depth word, the clip box (biased, ends exclusive).
struct ModelTarget {
  bool rgba = true;
  float scale[4] = {255, 255, 255, 255};
  uint32_t indexMask = 255;
  double depthScale = 0;
  int box[4] = {0, 0, 0, 0};
};

// The raster position (biased window coordinates, y as the engine keeps it,
// with the epsilon a bottom-up drawable adds), the applied zoom (y negated
// on top-down drawables), depth of colour fragments and the raster colour.
struct ModelDraw {
  double x = 0, y = 0;
  double zoomx = 1, zoomy = 1;
  uint32_t fragz = 0;
  float rasterColor[4] = {0, 0, 0, 0};
  int width = 0, height = 0;
  unsigned format = 0, type = 0;
  const uint8_t *pixels = nullptr;
};

struct ModelFragment {
  float color[4];
  uint32_t z;
};

// Destination positions (x, y) to their fragment; `ambiguous` holds the
// positions whose centre lies too near a footprint edge for the engine's
// single-precision sums to be compared.
struct ModelImage {
  std::map<std::pair<int, int>, ModelFragment> fragments;
  std::map<std::pair<int, int>, bool> ambiguous;
};

ModelImage DrawModel(const ModelDraw &d, const ModelStore &s, const ModelTransfer &t,
                     const ModelTarget &target);

// The model's conversions, shared with the read model: packed types, their
// field widths (first component in the highest bits), one client element
// (bytes swapped when asked), a pixel-map look-up of a clamped value, and
// the index shift and offset in 32 bits.
bool ModelPacked(unsigned type);
double ModelClamp01(double v);
std::vector<int> ModelPackedFields(unsigned type);
uint32_t ModelReadElement(const uint8_t *p, int bytes, bool swap);
double ModelMapLookup(const std::vector<float> &map, double v);
double ModelShiftIndex(double v, const ModelTransfer &t);

// Bytes per element and elements per group of a format and type.
int ModelElementBytes(unsigned type);
int ModelGroupElements(unsigned format, unsigned type);
// Bytes of an image of this size with the store modes.
size_t ModelImageBytes(const ModelStore &s, unsigned format, unsigned type, int width, int height);

}  // namespace draw_test

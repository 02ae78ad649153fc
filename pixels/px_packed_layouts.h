// The packed pixel layouts: where each of R, G, B and A lies in one element
// of 1, 2 or 4 bytes (bits counted from the least significant, in the
// element as read in machine order). Unpacking and packing both follow this
// one table.
#pragma once

#include <stdint.h>
#include <string.h>

struct GlPackedField {
  uint8_t shift, bits;  // bits 0: the layout has no such component
};

struct GlPackedLayout {
  uint8_t elementBytes;
  uint8_t components;      // floats per pixel: 3 (no alpha) or 4
  GlPackedField field[4];  // R, G, B, A
  uint32_t setBits;        // always set when packing (the X of X-5-5-5)
};

enum GlPackedLayoutIndex {
  kLayout332,
  kLayout4444,
  kLayoutARGB4444,
  kLayout5551,
  kLayout8888,
  kLayout1010102,
  kLayout565,
  kLayoutX555,
  kLayout1555,
};

inline constexpr GlPackedLayout kPackedLayouts[] = {
    {1, 3, {{5, 3}, {2, 3}, {0, 2}, {0, 0}}, 0},
    {2, 4, {{12, 4}, {8, 4}, {4, 4}, {0, 4}}, 0},
    {2, 4, {{8, 4}, {4, 4}, {0, 4}, {12, 4}}, 0},
    {2, 4, {{11, 5}, {6, 5}, {1, 5}, {0, 1}}, 0},
    {4, 4, {{24, 8}, {16, 8}, {8, 8}, {0, 8}}, 0},
    {4, 4, {{22, 10}, {12, 10}, {2, 10}, {0, 2}}, 0},
    {2, 3, {{11, 5}, {5, 6}, {0, 5}, {0, 0}}, 0},
    {2, 3, {{10, 5}, {5, 5}, {0, 5}, {0, 0}}, 0x8000},
    {2, 4, {{10, 5}, {5, 5}, {0, 5}, {15, 1}}, 0},
};

// The largest value of a field.
constexpr uint32_t __glPackedFieldMax(GlPackedField f) { return (uint32_t(1) << f.bits) - 1; }

// One element of 1, 2 or 4 bytes in machine order, at any alignment.
template <int Bytes>
uint32_t __glLoadPackedElement(const uint8_t *p) {
  if constexpr (Bytes == 1) {
    return *p;
  } else if constexpr (Bytes == 2) {
    uint16_t e;
    memcpy(&e, p, 2);
    return e;
  } else {
    uint32_t e;
    memcpy(&e, p, 4);
    return e;
  }
}

template <int Bytes>
void __glStorePackedElement(uint8_t *p, uint32_t element) {
  if constexpr (Bytes == 1) {
    *p = uint8_t(element);
  } else if constexpr (Bytes == 2) {
    const uint16_t e = uint16_t(element);
    memcpy(p, &e, 2);
  } else {
    memcpy(p, &element, 4);
  }
}

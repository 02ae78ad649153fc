// The RGB kernel classes: the constants in which the members of one kernel
// slot differ (field widths and positions, bytes per pixel, the shift that
// turns a 16.16 iterator or a dither entry into a byte of the class, the
// component ceilings), all taken from the frame-buffer layout. Kernels are
// templates over a class, so one definition serves every frame buffer.
#pragma once

#include <stdint.h>

#include "fastraster/fr_format.h"

template <uint8_t FbType, char... Name>
struct FrRGBClass {
  static constexpr uint8_t fbType = FbType;
  static constexpr FrPixelFormat format = kFrPixelFormats[FbType];
  static constexpr uint32_t bytes = format.bytes;
  static constexpr char name[] = {Name..., '\0'};
  // R, G, B fields by component index 0, 1, 2.
  static constexpr FrField field[3] = {format.red, format.green, format.blue};
  static constexpr uint32_t Bits(int c) { return field[c].bits; }
  static constexpr uint32_t Position(int c) { return field[c].shift; }
  // Iterator (units of the component, 16.16) -> left-aligned byte; also the
  // shift that turns a dither entry into this field's dither term.
  static constexpr uint32_t Shift(int c) { return 8 + field[c].bits; }
  // The largest byte a component of the class holds: 256 - 2^(8 - bits).
  static constexpr uint32_t Ceiling(int c) { return FrFieldCeiling(field[c]); }
  // The largest field value, 2^bits - 1.
  static constexpr uint32_t FieldMax(int c) { return (1u << field[c].bits) - 1; }
  // Every bit of a stored pixel (8, 16 or 32 of them).
  static constexpr uint32_t wordMask = bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
};

// XRGB8 (colour generation also serves RGB8), RGB565, RGB555, RGB332.
using RGBa = FrRGBClass<FR_FB_XRGB8, 'R', 'G', 'B', 'a'>;
using RGB5 = FrRGBClass<FR_FB_RGB565, 'R', 'G', 'B', '5'>;
using RGB4 = FrRGBClass<FR_FB_RGB555, 'R', 'G', 'B', '4'>;
using RGB2 = FrRGBClass<FR_FB_RGB332, 'R', 'G', 'B', '2'>;

static_assert(RGB5::Shift(1) == 14 && RGB2::Shift(2) == 10 && RGBa::Shift(0) == 16);
static_assert(RGB5::Ceiling(1) == 0xFC && RGB2::Ceiling(2) == 0xC0 && RGBa::Ceiling(0) == 0xFF);
static_assert(RGB4::Position(0) == 10 && RGB4::wordMask == 0xFFFF && RGB2::bytes == 1);

// A 16.16 iterator turned into a byte: its value shifted right by `shift`,
// saturated at 0 and 255 so that an iterator that rounding carried past its
// range at an edge pixel never wraps to the far end (within range this is
// the plain shift).
inline uint32_t FrIteratorByte(uint32_t iterator, uint32_t shift) {
  if (int32_t(iterator) < 0) return 0;
  const uint32_t v = iterator >> shift;
  return v > 255 ? 255 : v;
}

// A byte of the class's left-aligned encoding (or a blended 8-bit value)
// reduced to its field and put in place; the field is limited to its
// largest value so that no sum carries into the neighbouring field.
template <class Class, int C>
inline uint32_t FrPlaceField(uint32_t v) {
  uint32_t f = v >> (8 - Class::Bits(C));
  if (f > Class::FieldMax(C)) f = Class::FieldMax(C);
  return f << Class::Position(C);
}

// The RGB combine kernels, one instantiation per class and filled slot;
// every choice is made at compile time from the slot.
#include "fastraster/fr_combine.h"

#include "fastraster/fr_ci.h"
#include "fastraster/fr_class.h"
#include "fastraster/fr_logic_op.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"
#include "pixels/px_packed_layouts.h"

namespace {

// Component C of the logic-op source word: the colour byte reduced to its
// field, dithered when `Dither`.
template <class Class, int C, bool Dither>
inline uint32_t SourceField(uint32_t c, uint32_t d) {
  if constexpr (Dither) c = FrDitherComponent(c, Class::Bits(C), d);
  return FrPlaceField<Class, C>(c);
}

// Component C of a blend: c the colour byte, a its alpha, p the stored
// pixel; the 8-bit value before dithering.
template <class Class, int C, unsigned Pair>
inline uint32_t BlendValue(uint32_t c, uint32_t a, uint32_t p) {
  const uint32_t dst = FrUnpackField(p, Class::field[C]);
  if constexpr (Pair == FR_BLEND_SRC_ALPHA_ZERO) return __glFRProduct(c, a);
  else if constexpr (Pair == FR_BLEND_SRC_ALPHA_ONE) return __glFRProduct(c, a) + dst;
  else if constexpr (Pair == FR_BLEND_SRC_ALPHA_ONE_MINUS_SRC_ALPHA)
    return __glFRProduct(c, a) + __glFRProduct(dst, 255 - a);
  else if constexpr (Pair == FR_BLEND_ONE_MINUS_SRC_ALPHA_SRC_ALPHA)
    return __glFRProduct(c, 255 - a) + __glFRProduct(dst, a);
  else return dst;  // saturate: min(As, 1 - Ad) is 0 without destination alpha
}

template <class Class, int C, unsigned Pair, bool Dither>
inline uint32_t BlendField(const uint8_t *entry, uint32_t p, uint32_t d) {
  uint32_t v = BlendValue<Class, C, Pair>(entry[C], entry[3], p);
  if constexpr (Dither) v += d >> Class::Shift(C);
  return FrPlaceField<Class, C>(v);
}

}  // namespace

template <class Class, unsigned Slot>
void GLFASTCALL __glCombinePixels(uint32_t mask, FrSpan *span) {
  constexpr bool blend = (Slot & 0x20) != 0;
  constexpr unsigned op = Slot & 0x0F;
  constexpr bool readsSource = blend || !FrLogicOpIgnoresSource(op);
  constexpr bool dither = (Slot & 0x10) != 0 && readsSource;
  constexpr int bytes = int(Class::bytes);

  uint8_t *pixel = span->pixel;
  const int32_t step = bytes * span->direction;
  const uint8_t *entry = reinterpret_cast<const uint8_t *>(span->colors);
  const uint32_t *ditherRow = span->ditherRow;
  for (uint32_t m = mask; m; m <<= 1, pixel += step, entry += 4) {
    if (m & 0x80000000u) {
      const uint32_t dst = __glLoadPackedElement<bytes>(pixel);
      const uint32_t d = dither ? *ditherRow : 0;
      uint32_t out;
      if constexpr (blend) {
        out = BlendField<Class, 0, op, dither>(entry, dst, d) |
              BlendField<Class, 1, op, dither>(entry, dst, d) |
              BlendField<Class, 2, op, dither>(entry, dst, d);
      } else {
        uint32_t src = 0;
        if constexpr (readsSource)
          src = SourceField<Class, 0, dither>(entry[0], d) |
                SourceField<Class, 1, dither>(entry[1], d) |
                SourceField<Class, 2, dither>(entry[2], d);
        out = FrLogicOp<op>(src, dst);
      }
      __glStorePackedElement<bytes>(pixel, out & Class::wordMask);
    }
    if constexpr (dither) ditherRow++;
  }
  if constexpr (dither) span->ditherRow = ditherRow;
}

namespace {

template <class Class>
struct Combine {
  static constexpr bool Member(unsigned slot) { return FrCombineMember(slot); }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (Member(Slot)) return &__glCombinePixels<Class, Slot>;
    else return nullptr;
  }
};

constexpr FrSlotSet kMembers =
    FrSlotRanges({{0x00, 0x1F}, {0x40, 0x61}, {0x63, 0x63}, {0x66, 0x66}, {0x69, 0x69},
                  {0x70, 0x71}, {0x73, 0x73}, {0x76, 0x76}, {0x79, 0x79}});

}  // namespace

extern const FrKernelTable<128> __fr_rgb_combine_2 =
    FrBuildKernelTable<Combine<RGB2>, 128, kMembers>();
extern const FrKernelTable<128> __fr_rgb_combine_4 =
    FrBuildKernelTable<Combine<RGB4>, 128, kMembers>();
extern const FrKernelTable<128> __fr_rgb_combine_5 =
    FrBuildKernelTable<Combine<RGB5>, 128, kMembers>();
extern const FrKernelTable<128> __fr_rgb_combine_a =
    FrBuildKernelTable<Combine<RGBa>, 128, kMembers>();

constinit extern const FrSpanletProc *const __glCombineTab[16] = {
    nullptr, __fr_ci_combine_table.data(), __fr_rgb_combine_2.data(), nullptr, __fr_rgb_combine_4.data(),
    __fr_rgb_combine_5.data(), nullptr, nullptr, nullptr, nullptr,
    __fr_rgb_combine_a.data()};

// The RGB pixel-generation kernels, one instantiation per class and filled
// slot; every choice is made at compile time from the slot.
#include "fastraster/fr_genpix.h"

#include "core/context.h"
#include "fastraster/fr_ci.h"
#include "fastraster/fr_class.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_texenv.h"
#include "pixels/px_packed_layouts.h"

namespace {

// An untextured component: the dither entry added to the 16.16 iterator
// itself, the integer part limited to the field, so that an iterator past
// its range never carries into the next field.
template <class Class, int C>
inline uint32_t IteratedField(uint32_t it, uint32_t d) {
  if (int32_t(it) < 0) return 0;
  uint32_t f = (it + d) >> 16;  // it < 2^31 and d < 2^16: no wrap
  if (f > Class::FieldMax(C)) f = Class::FieldMax(C);
  return f << Class::Position(C);
}

// A textured component: X by the texture function from the saturated
// fragment byte, plus the dither term D >> shift, limited to the field
// (for replace and decal that is the cap at the ceiling).
template <class Class, int C, FrColorRule Rule>
inline uint32_t TexturedField(uint32_t it, uint32_t ct, uint32_t at, uint32_t cc, uint32_t d) {
  const uint32_t x = FrTexColor<Class, C, Rule>(FrIteratorByte(it, Class::Shift(C)), ct, at, cc);
  return FrPlaceField<Class, C>(x + (d >> Class::Shift(C)));
}

}  // namespace

template <class Class, unsigned Slot>
void GLFASTCALL __glGenPixels(uint32_t mask, FrSpan *span) {
  constexpr unsigned codeIndex = Slot >> 2;
  constexpr bool textured = codeIndex != 0 && codeIndex != 8;
  constexpr FrTexCode code = kFrTexCodes[textured ? codeIndex : 0];
  constexpr bool dither = (Slot & 0x01) != 0;
  constexpr bool iterated = (Slot & 0x02) != 0;
  constexpr bool flat = !textured && !dither && !iterated;  // stores flatPixel
  constexpr bool stepColor = iterated && FrUsesFragmentColor(code.color);
  constexpr int bytes = int(Class::bytes);

  const GlContext *gc = span->gc;
  if constexpr (textured) gc->procs.extractTexels(mask, span);
  uint8_t *pixel = span->pixel;
  const int32_t step = bytes * span->direction;
  uint32_t r = uint32_t(span->r), g = uint32_t(span->g), b = uint32_t(span->b);
  const uint32_t drdx = uint32_t(span->drdx), dgdx = uint32_t(span->dgdx),
                 dbdx = uint32_t(span->dbdx);
  const uint32_t cr = gc->frEnvColor[0], cg = gc->frEnvColor[1], cb = gc->frEnvColor[2];
  const uint32_t flatPixel = span->flatPixel & Class::wordMask;
  const uint8_t *texel = reinterpret_cast<const uint8_t *>(span->texels);
  const uint32_t *ditherRow = span->ditherRow;

  for (uint32_t m = mask; m; m <<= 1, pixel += step) {
    if (m & 0x80000000u) {
      const uint32_t d = dither ? *ditherRow : 0;
      uint32_t out;
      if constexpr (flat) {
        out = flatPixel;
      } else if constexpr (!textured) {
        out = IteratedField<Class, 0>(r, d) | IteratedField<Class, 1>(g, d) |
              IteratedField<Class, 2>(b, d);
      } else {
        const uint32_t at = code.texelBytes == 4 ? texel[3] : 0;
        out = TexturedField<Class, 0, code.color>(r, texel[0], at, cr, d) |
              TexturedField<Class, 1, code.color>(g, texel[1], at, cg, d) |
              TexturedField<Class, 2, code.color>(b, texel[2], at, cb, d);
        texel += code.texelBytes;
      }
      __glStorePackedElement<bytes>(pixel, out);
    }
    if constexpr (dither) ditherRow++;
    if constexpr (stepColor) r += drdx, g += dgdx, b += dbdx;
  }
  if constexpr (dither) span->ditherRow = ditherRow;
}

void GLFASTCALL __glGenPixelsNothing(uint32_t, FrSpan *) {}

namespace {

template <class Class>
struct GenPixels {
  static constexpr bool Member(unsigned slot) { return FrGenPixMember(slot); }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (!Member(Slot)) return nullptr;
    else if constexpr (Slot >= 0x38) return &__glGenPixelsNothing;
    else return &__glGenPixels<Class, Slot>;
  }
};

constexpr FrSlotSet kMembers = FrSlotRanges({{0x00, 0x07}, {0x0C, 0x17}, {0x20, 0x3F}});

}  // namespace

extern const FrKernelTable<64> __fr_rgb_pix_2 = FrBuildKernelTable<GenPixels<RGB2>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_pix_4 = FrBuildKernelTable<GenPixels<RGB4>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_pix_5 = FrBuildKernelTable<GenPixels<RGB5>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_pix_a = FrBuildKernelTable<GenPixels<RGBa>, 64, kMembers>();

constinit extern const FrSpanletProc *const __glGenPixTab[16] = {
    nullptr, __fr_ci_pix_table.data(), __fr_rgb_pix_2.data(), nullptr, __fr_rgb_pix_4.data(),
    __fr_rgb_pix_5.data(), nullptr, nullptr, nullptr, nullptr, __fr_rgb_pix_a.data()};

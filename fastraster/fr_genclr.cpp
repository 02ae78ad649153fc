// The RGB colour-generation kernels, one instantiation per class and filled
// slot; every choice is made at compile time from the slot.
#include "fastraster/fr_genclr.h"

#include "fastraster/fr_ci.h"

#include "core/context.h"
#include "fastraster/fr_class.h"
#include "fastraster/fr_setup.h"

template <class Class, unsigned Slot>
void GLFASTCALL __glGenColors(uint32_t mask, FrSpan *span) {
  constexpr FrTexCode code = kFrTexCodes[Slot >> 2];
  constexpr bool writeAlpha = (Slot & 0x01) != 0;
  constexpr bool iterated = (Slot & 0x02) != 0;
  constexpr bool stepColor = iterated && FrUsesFragmentColor(code.color);
  constexpr bool stepAlpha = iterated && writeAlpha && FrUsesFragmentAlpha(code.alpha);

  GlContext *gc = span->gc;
  if constexpr (code.texelBytes != 0) gc->procs.extractTexels(mask, span);
  uint32_t r = uint32_t(span->r), g = uint32_t(span->g), b = uint32_t(span->b),
           a = uint32_t(span->a);
  const uint32_t drdx = uint32_t(span->drdx), dgdx = uint32_t(span->dgdx),
                 dbdx = uint32_t(span->dbdx), dadx = uint32_t(span->dadx);
  const uint32_t cr = gc->frEnvColor[0], cg = gc->frEnvColor[1], cb = gc->frEnvColor[2],
                 ca = gc->frEnvColor[3];
  const uint8_t *texel = reinterpret_cast<const uint8_t *>(span->texels);
  uint8_t *entry = reinterpret_cast<uint8_t *>(span->colors);

  for (uint32_t m = mask; m; m <<= 1, entry += 4) {
    if (m & 0x80000000u) {
      uint32_t tr = 0, tg = 0, tb = 0, ta = 0;
      if constexpr (code.texelBytes == 1) ta = texel[0];
      if constexpr (code.texelBytes >= 3) tr = texel[0], tg = texel[1], tb = texel[2];
      if constexpr (code.texelBytes == 4) ta = texel[3];
      entry[0] = uint8_t(
          FrTexColor<Class, 0, code.color>(FrIteratorByte(r, Class::Shift(0)), tr, ta, cr));
      entry[1] = uint8_t(
          FrTexColor<Class, 1, code.color>(FrIteratorByte(g, Class::Shift(1)), tg, ta, cg));
      entry[2] = uint8_t(
          FrTexColor<Class, 2, code.color>(FrIteratorByte(b, Class::Shift(2)), tb, ta, cb));
      if constexpr (writeAlpha)
        entry[3] = uint8_t(FrTexAlpha<code.alpha>(FrIteratorByte(a, 16), ta, ca));
      texel += code.texelBytes;
    }
    if constexpr (stepColor) r += drdx, g += dgdx, b += dbdx;
    if constexpr (stepAlpha) a += dadx;
  }
  gc->procs.afterColors(mask, span);
}

namespace {

template <class Class>
struct GenColors {
  static constexpr bool Member(unsigned slot) { return FrGenColorMember(slot); }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (Member(Slot)) return &__glGenColors<Class, Slot>;
    else return nullptr;
  }
};

constexpr FrSlotSet kMembers =
    FrSlotRanges({{0x00, 0x07}, {0x0C, 0x17}, {0x24, 0x37}, {0x39, 0x39}, {0x3B, 0x3B},
                  {0x3D, 0x3D}, {0x3F, 0x3F}});

}  // namespace

extern const FrKernelTable<64> __fr_rgb_genclr_2 =
    FrBuildKernelTable<GenColors<RGB2>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_genclr_4 =
    FrBuildKernelTable<GenColors<RGB4>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_genclr_5 =
    FrBuildKernelTable<GenColors<RGB5>, 64, kMembers>();
extern const FrKernelTable<64> __fr_rgb_genclr_a =
    FrBuildKernelTable<GenColors<RGBa>, 64, kMembers>();

constinit extern const FrSpanletProc *const __glGenColorTab[16] = {
    nullptr, __fr_ci_genclr_table.data(), __fr_rgb_genclr_2.data(), nullptr, __fr_rgb_genclr_4.data(),
    __fr_rgb_genclr_5.data(), nullptr, __fr_rgb_genclr_a.data(), nullptr, nullptr,
    __fr_rgb_genclr_a.data()};

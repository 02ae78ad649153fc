// The colour-index pixel kernels: one instantiation per slot (the texel
// replace slots 0x04-0x07 share one), the written byte the index truncated
// to eight bits, so texel plus index wraps.
#include "core/context.h"
#include "fastraster/fr_ci.h"
#include "fastraster/fr_setup.h"

template <unsigned Slot>
void GLFASTCALL __glGenPixelsCI1(uint32_t mask, FrSpan *span) {
  constexpr unsigned texture = Slot & 0x0C;  // 0, 0x04 replace, 0x08 add
  constexpr bool replace = texture == 0x04;
  constexpr bool dither = (Slot & 0x01) != 0 && !replace;
  constexpr bool iterated = (Slot & 0x02) != 0 && !replace;
  constexpr bool flat = Slot == 0;  // stores flatPixel

  if constexpr (texture != 0) span->gc->procs.extractTexels(mask, span);
  uint8_t *pixel = span->pixel;
  const int32_t step = span->direction;
  uint32_t v = uint32_t(span->r);
  const uint32_t dvdx = uint32_t(span->drdx);
  const uint8_t flatIndex = uint8_t(span->flatPixel);
  const uint8_t *texel = reinterpret_cast<const uint8_t *>(span->texels);
  const uint32_t *ditherRow = span->ditherRow;

  for (uint32_t m = mask; m; m <<= 1, pixel += step) {
    if (m & 0x80000000u) {
      uint32_t index = 0;
      if constexpr (flat) index = flatIndex;
      else if constexpr (!replace) index = (v + (dither ? *ditherRow : 0)) >> 16;
      if constexpr (texture != 0) index += *texel++;
      *pixel = uint8_t(index);
    }
    if constexpr (dither) ditherRow++;
    if constexpr (iterated) v += dvdx;
  }
  if constexpr (dither) span->ditherRow = ditherRow;
}

namespace {

struct CiPixels {
  static constexpr bool Member(unsigned slot) { return FrCiColorMember(slot); }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (!Member(Slot)) return nullptr;
    else if constexpr ((Slot & 0x0C) == 0x04) return &__glGenPixelsCI1<0x04>;
    else return &__glGenPixelsCI1<Slot>;
  }
};

}  // namespace

extern const FrKernelTable<16> __fr_ci_pix_table =
    FrBuildKernelTable<CiPixels, 16, FrSlotRanges({{0x00, 0x0B}})>();

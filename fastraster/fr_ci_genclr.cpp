// The colour-index colour kernels: 16.16 indices into FrSpan.colors for the
// live pixels, then the chain goes on. The dither bit changes nothing here
// (the combine kernel dithers), so slots come in pairs of one procedure.
#include "core/context.h"
#include "fastraster/fr_ci.h"
#include "fastraster/fr_setup.h"

template <unsigned Slot>
void GLFASTCALL __glGenColorsCI1(uint32_t mask, FrSpan *span) {
  constexpr unsigned texture = Slot & 0x0C;  // 0, 0x04 replace, 0x08 add
  constexpr bool iterated = (Slot & 0x02) != 0 && texture != 0x04;

  GlContext *gc = span->gc;
  if constexpr (texture != 0) gc->procs.extractTexels(mask, span);
  uint32_t v = uint32_t(span->r);
  const uint32_t dvdx = uint32_t(span->drdx);
  const uint8_t *texel = reinterpret_cast<const uint8_t *>(span->texels);
  uint32_t *entry = span->colors;

  for (uint32_t m = mask; m; m <<= 1, entry++) {
    if (m & 0x80000000u) {
      if constexpr (texture == 0x04) *entry = uint32_t(*texel++) << 16;
      else if constexpr (texture == 0x08) *entry = (uint32_t(*texel++) << 16) + v;
      else *entry = v;
    }
    if constexpr (iterated) v += dvdx;
  }
  gc->procs.afterColors(mask, span);
}

namespace {

// Slot without the dither bit, and one slot for the four replace slots.
constexpr unsigned Canonical(unsigned slot) { return (slot & 0x0C) == 0x04 ? 0x04 : slot & ~1u; }

struct CiColors {
  static constexpr bool Member(unsigned slot) { return FrCiColorMember(slot); }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (!Member(Slot)) return nullptr;
    else return &__glGenColorsCI1<Canonical(Slot)>;
  }
};

}  // namespace

extern const FrKernelTable<16> __fr_ci_genclr_table =
    FrBuildKernelTable<CiColors, 16, FrSlotRanges({{0x00, 0x0B}})>();

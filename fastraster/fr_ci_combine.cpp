// The colour-index combine kernels: the logic op of the generated index
// (dithered in slots 0x10-0x1F) and the stored byte, truncated to eight
// bits. The four ops that ignore the source are one procedure for both
// dither values and read neither the colours nor the dither row.
#include "core/context.h"
#include "fastraster/fr_ci.h"
#include "fastraster/fr_logic_op.h"
#include "fastraster/fr_setup.h"

template <unsigned Slot>
void GLFASTCALL __glCombinePixelsCI1(uint32_t mask, FrSpan *span) {
  constexpr unsigned op = Slot & 0x0F;
  constexpr bool readsSource = !FrLogicOpIgnoresSource(op);
  constexpr bool dither = (Slot & 0x10) != 0 && readsSource;
  if constexpr (op == 5) return;  // GL_NOOP writes nothing

  uint8_t *pixel = span->pixel;
  const int32_t step = span->direction;
  const uint32_t *entry = span->colors;
  const uint32_t *ditherRow = span->ditherRow;
  for (uint32_t m = mask; m; m <<= 1, pixel += step, entry++) {
    if (m & 0x80000000u) {
      uint32_t s = 0;
      if constexpr (readsSource) s = (*entry + (dither ? *ditherRow : 0)) >> 16;
      *pixel = uint8_t(FrLogicOp<op>(s, *pixel));
    }
    if constexpr (dither) ditherRow++;
  }
  if constexpr (dither) span->ditherRow = ditherRow;
}

namespace {

struct CiCombine {
  static constexpr bool Member(unsigned slot) { return slot < 32; }
  template <unsigned Slot>
  static constexpr FrSpanletProc At() {
    if constexpr (FrLogicOpIgnoresSource(Slot & 0x0F)) return &__glCombinePixelsCI1<Slot & 0x0F>;
    else return &__glCombinePixelsCI1<Slot>;
  }
};

}  // namespace

extern const FrKernelTable<32> __fr_ci_combine_table =
    FrBuildKernelTable<CiCombine, 32, FrSlotRanges({{0x00, 0x1F}})>();

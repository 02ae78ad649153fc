// The fast path's constant tables, each generated at compile time from the
// rule its declaration states.
#include "fastraster/fr_tables.h"

#include <stddef.h>

namespace {

template <typename T, size_t N, typename Rule>
constexpr std::array<T, N> Build(Rule rule) {
  std::array<T, N> out{};
  for (size_t i = 0; i < N; i++) out[i] = T(rule(int32_t(i)));
  return out;
}

constexpr uint32_t DitherEntry(int32_t index, bool rightToLeft) {
  const int32_t column = index % FR_DITHER_ROW;
  return uint32_t(kFrDitherMatrix[index / FR_DITHER_ROW][(rightToLeft ? -column : column) & 3]) *
         4096u;
}

constexpr uint8_t Mirror(int32_t b) {
  uint8_t out = 0;
  for (int i = 0; i < 8; i++)
    if (b & (1 << i)) out |= uint8_t(0x80 >> i);
  return out;
}

}  // namespace

extern const std::array<uint32_t, 4 * FR_DITHER_ROW> __glFRDitherTable =
    Build<uint32_t, 4 * FR_DITHER_ROW>([](int32_t i) { return DitherEntry(i, false); });
extern const std::array<uint32_t, 4 * FR_DITHER_ROW> __glFRDitherTableRtoL =
    Build<uint32_t, 4 * FR_DITHER_ROW>([](int32_t i) { return DitherEntry(i, true); });
extern const uint32_t *const __glFRDitherTables[2] = {__glFRDitherTable.data(),
                                                      __glFRDitherTableRtoL.data()};

// Byte 0 stands for k = -256, which the byte product never reaches.
extern const std::array<uint8_t, 512> __glSquareTable =
    Build<uint8_t, 512>([](int32_t i) { return i == 0 ? 0 : FrSquareOver(i - 256, 255); });
extern const std::array<uint8_t, 512> __glSquareTable2 =
    Build<uint8_t, 512>([](int32_t i) { return FrSquareOver(i - 256, 510); });
extern const std::array<uint8_t, 65536> __glBlendTab =
    Build<uint8_t, 65536>([](int32_t i) { return (i >> 8) * (i & 0xFF) / 255; });

extern const std::array<uint32_t, 33> __glFRMaskTable =
    Build<uint32_t, 33>([](int32_t n) { return n == 0 ? 0u : ~0u << (32 - n); });
extern const std::array<uint8_t, 256> __glMsbToLsbTable = Build<uint8_t, 256>(Mirror);

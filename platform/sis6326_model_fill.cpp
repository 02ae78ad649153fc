// The SiS 6326 drawing model: 2D fills from the packet, in the display's
// pixel size.
#include "platform/sis6326_internal.h"
#include "platform/sis6326_model.h"
#include "platform/sis6326_model_internal.h"

namespace platform {
namespace {

struct FillPacket {
  uint64_t destination;
  uint32_t pitch, width, height, value, rop;
};

FillPacket PacketOf(const SiS6326Event &e) {
  const uint32_t *w = e.vertex[0];
  return {w[1], Bits(w[2], 16, 16), Bits(w[3], 0, 16) + 1, Bits(w[3], 16, 16) + 1, Bits(w[4], 0, 24),
          Bits(w[4], 24, 8)};
}

// Bytes per pixel of the 2D engine: display-information word 6; 0 for none.
uint32_t DisplayPixelBytes() {
  switch (DisplayInformationBlock().bitsPerPixel) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

}  // namespace

bool FillTouches(const SiS6326Event &e, const TouchTest &hit) {
  FillPacket p = PacketOf(e);
  for (uint32_t row = 0; row < p.height; ++row)
    if (hit({p.destination + uint64_t(row) * p.pitch, p.width})) return true;
  return false;
}

long ExecuteFill(const SiS6326Event &e, VideoView &view, Judge &judge) {
  bool blockWrite = ChipBlockWrite();
  if (e.value != 0x31 && e.value != 0x35) return judge.Fail("P1", "2D command 0x%X", e.value), -1;
  if ((e.value == 0x35) != blockWrite)
    return judge.Fail("P1", "2D command 0x%X with block-write mode %s", e.value,
                      blockWrite ? "on" : "off"), -1;
  FillPacket p = PacketOf(e);
  if (p.rop != 0xCC) return judge.Fail("P1", "2D raster operation 0x%X", p.rop), -1;
  uint32_t size = DisplayPixelBytes();
  if (size == 0)
    return judge.Fail("P2", "display of %u bits per pixel", unsigned(DisplayInformationBlock().bitsPerPixel)), -1;
  if (p.width % size != 0)
    return judge.Fail("P2", "width of %u bytes is no whole number of %u-byte pixels", p.width, size), -1;
  for (uint32_t row = 0; row < p.height; ++row)
    if (!view.At(p.destination + uint64_t(row) * p.pitch, p.width))
      return judge.Fail("A6", "fill row %u at offset 0x%llX lies in no live surface", row,
                        (unsigned long long)(p.destination + uint64_t(row) * p.pitch)), -1;
  for (uint32_t row = 0; row < p.height; ++row) {
    uint8_t *at = view.At(p.destination + uint64_t(row) * p.pitch, p.width);
    for (uint32_t i = 0; i < p.width; ++i) at[i] = uint8_t(p.value >> (8 * (i % size)));
  }
  return long(p.width / size) * long(p.height);
}

}  // namespace platform

// The 2D engine's fill: one packet, shared by the colour and depth clears,
// sent with its command and fired.
#include "core/context.h"
#include "sis/sis_clear.h"
#include "sis/sis_hw.h"
#include "sis/sis_registers.h"
#include "wgl/wgl_ddraw_kind.h"

namespace {

constexpr uint32_t kCopyValue = 0xCCu << 24;  // raster operation: the value
constexpr uint16_t kFill = 0x31, kFillBlockWrite = 0x35;
constexpr int kPacketWords = 5;

// The packet as last sent. Both clears send it with the device lock, which
// holds the engine for the whole process, so one record serves them all.
struct GlSiSEngPacket {
  uint32_t word[kPacketWords];
  uint16_t command;
};
GlSiSEngPacket stEngPacket;

}  // namespace

namespace sis {

bool ChipReaches(GlContext *gc, const GlDrawableBuffer *buffer) {
  const GlSiSTail *sis = __glSiSTail(gc);
  const LPDD326DISPINFO info = DispInfo();
  if (buffer == nullptr || buffer->base == nullptr || !Sends(sis) ||
      sis->frameBufferBase == nullptr || info == nullptr)
    return false;
  // A buffer that fell back to memory, or whose lock failed and that draws
  // into the discard block, has no surface address for the chip.
  if (!__wglDDrawHasSurface(buffer) || buffer->kindPrivate == nullptr) return false;
  if (*static_cast<void *const *>(buffer->kindPrivate) != buffer->base) return false;
  return InVideoMemory(sis, buffer);
}

bool InVideoMemory(const GlSiSTail *sis, const GlDrawableBuffer *buffer) {
  const LPDD326DISPINFO info = DispInfo();
  if (buffer == nullptr || buffer->base == nullptr || info == nullptr) return false;
  // A surface in system memory, or the discard block of a buffer whose lock
  // failed, lies outside the block the chip addresses.
  const uintptr_t base = uintptr_t(buffer->base), video = uintptr_t(sis->frameBufferBase);
  if (base < video || buffer->pitchBytes <= 0) return false;
  const uint64_t end = uint64_t(base - video) + uint64_t(buffer->pitchBytes) * buffer->height;
  return end <= info->videoMemorySize;
}

void Fill2D(GlContext *gc, const GlDrawableBuffer *buffer, int32_t x0, int32_t y0, int32_t x1,
            int32_t y1, uint32_t value) {
  const GlSiSTail *sis = __glSiSTail(gc);
  const uint8_t *first = __glPixelAddress(gc, buffer, x0, y0);
  const uint32_t widthBytes = uint32_t(x1 - x0) * buffer->elementSize;
  stEngPacket.word[0] = 0;
  stEngPacket.word[1] = uint32_t(uintptr_t(first) - uintptr_t(sis->frameBufferBase));
  stEngPacket.word[2] = uint32_t(buffer->pitchBytes) << 16;
  stEngPacket.word[3] = uint32_t(y1 - y0 - 1) << 16 | ((widthBytes - 1) & 0xFFFF);
  stEngPacket.word[4] = kCopyValue | (value & 0xFFFFFF);
  stEngPacket.command = sis->blockWrite ? kFillBlockWrite : kFill;
  mWait3DCmdQueue(kPacketWords + 1);
  for (int i = 0; i < kPacketWords; ++i) Put(sis, kReg2DPacket + 4 * i, stEngPacket.word[i]);
  SiS6326Store16(sis->mmioBase + kReg2DCommand, stEngPacket.command);
  mWait3DCmdQueue(1);
  SiS6326Store8(sis->mmioBase + kRegFire, 0xFF);
}

}  // namespace sis

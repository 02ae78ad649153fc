// The driver's names for the chip's 3D registers, the display-information
// words it reads, and the store helper every upload goes through.
#pragma once

#include <stdint.h>

#include "platform/dd326.h"
#include "platform/sis6326.h"
#include "sis/sis_context.h"
#include "wgl/wgl_process_state.h"

namespace sis {

inline constexpr uint32_t kRegMode = 0x8A00;
inline constexpr uint32_t kRegZPitch = 0x8A04;
inline constexpr uint32_t kRegZAddress = 0x8A08;
inline constexpr uint32_t kRegAlphaTest = 0x8A0C;
inline constexpr uint32_t kRegAlpha2 = 0x8A10;
inline constexpr uint32_t kRegColorPitch = 0x8A14;
inline constexpr uint32_t kRegColorAddress = 0x8A18;
inline constexpr uint32_t kRegLinePattern = 0x8A1C;
inline constexpr uint32_t kRegFog = 0x8A20;
inline constexpr uint32_t kRegBlend = 0x8A28;
inline constexpr uint32_t kRegClipRows = 0x8A30;
inline constexpr uint32_t kRegClipColumns = 0x8A34;
inline constexpr uint32_t kRegTextureSetup = 0x8A38;
inline constexpr uint32_t kRegTextureEnv = 0x8A3C;
inline constexpr uint32_t kRegTransparent = 0x8A40;
inline constexpr uint32_t kRegLevelAddress = 0x8A44;  // + 4 x level, levels 0-9
inline constexpr uint32_t kRegLevelPitch = 0x8A6C;    // + 4 x pair, pairs 0-4
inline constexpr uint32_t kRegLevelLayout = 0x8A80;
inline constexpr uint32_t kRegTexture8A90 = 0x8A90;
inline constexpr uint32_t kRegVertexBlock = SIS6326_VERTEX_BLOCKS;  // + 0x20 x block, blocks 0-2
inline constexpr uint32_t kVertexBlockSize = SIS6326_VERTEX_BLOCK_SIZE;
inline constexpr uint32_t kRegPrimitiveCommand = SIS6326_PRIMITIVE_COMMAND;
inline constexpr uint32_t kRegQueueStatus = SIS6326_QUEUE_STATUS;
inline constexpr uint32_t kRegFire = SIS6326_FIRE;
inline constexpr uint32_t kReg2DPacket = SIS6326_2D_PACKET;  // five words
inline constexpr uint32_t kReg2DCommand = SIS6326_2D_COMMAND;  // 16-bit

inline constexpr uint32_t kQueueStatusMask = SIS6326_QUEUE_STATUS_MASK;
inline constexpr uint32_t kPitchMask = 0x3FFF;  // bits 0-13 of the two pitch words
inline constexpr uint32_t kHighestLevelShift = 8;  // bits 8-11 of the texture set-up
inline constexpr uint32_t kHighestLevelMask = 0xF;
inline constexpr uint32_t kLevels = 10;

static_assert(SiS6326FindRegister(kRegLevelAddress + 4 * (kLevels - 1))->group ==
                      SIS6326_GROUP_TEXTURE &&
                  SiS6326FindRegister(kRegLevelPitch + 4 * (kLevels / 2 - 1))->group ==
                      SIS6326_GROUP_TEXTURE,
              "the level registers lie inside the chip's texture group");

// The display-information block of this process; none before attachment.
inline LPDD326DISPINFO DispInfo() { return __wglProcess.lpDispData; }

inline void Put(const GlSiSTail *sis, uint32_t offset, uint32_t value) {
  SiS6326Store32(sis->mmioBase + offset, value);
}

}  // namespace sis

// Sending register groups to the chip: the changed groups (by the dirty
// bits) or every group the working mode needs, in one fixed order, each
// batch after a queue wait for its stores.
#include "sis/sis_engine_lock.h"
#include "sis/sis_hw.h"
#include "sis/sis_registers.h"

namespace {

struct GroupWord {
  uint32_t offset;
  uint32_t GlSiSProgrammedRegs::*word;
};

// A register group in upload order. A partial upload sends it when its
// dirty bit is set (or always when the bit is 0); a full upload when the
// working mode has its mode bit (or always when the bit is 0).
struct RegisterGroup {
  uint32_t dirtyBit;
  uint32_t modeBit;
  int count;
  GroupWord words[2];
};

constexpr RegisterGroup kGroups[] = {
    {SIS_DIRTY_MODE, 0, 1, {{sis::kRegMode, &GlSiSProgrammedRegs::mode}}},
    {0, SIS_MODE_Z_TEST, 2,
     {{sis::kRegZPitch, &GlSiSProgrammedRegs::zPitch},
      {sis::kRegZAddress, &GlSiSProgrammedRegs::zAddress}}},
    {SIS_DIRTY_ALPHA, SIS_MODE_ALPHA_TEST, 2,
     {{sis::kRegAlphaTest, &GlSiSProgrammedRegs::alphaTest},
      {sis::kRegAlpha2, &GlSiSProgrammedRegs::alpha2}}},
    {SIS_DIRTY_COLOR, 0, 2,
     {{sis::kRegColorPitch, &GlSiSProgrammedRegs::colorPitch},
      {sis::kRegColorAddress, &GlSiSProgrammedRegs::colorAddress}}},
    {SIS_DIRTY_LINE_PATTERN, SIS_MODE_LINE_PATTERN, 1,
     {{sis::kRegLinePattern, &GlSiSProgrammedRegs::linePattern}}},
    {SIS_DIRTY_FOG, SIS_MODE_FOG, 1, {{sis::kRegFog, &GlSiSProgrammedRegs::fog}}},
    {SIS_DIRTY_BLEND, SIS_MODE_BLEND, 1, {{sis::kRegBlend, &GlSiSProgrammedRegs::blend}}},
    {SIS_DIRTY_CLIP, 0, 2,
     {{sis::kRegClipRows, &GlSiSProgrammedRegs::clipRows},
      {sis::kRegClipColumns, &GlSiSProgrammedRegs::clipColumns}}},
};

// The texture group's bits; its words are sent by SendTextureGroup.
constexpr RegisterGroup kTextureGroup = {SIS_DIRTY_TEXTURE, SIS_MODE_TEXTURE, 0, {}};

// A group a full reload left out that the mode the engine runs with uses
// again: the engine holds someone else's words there.
bool Unheld(const GlSiSTail *sis, const RegisterGroup &group, uint32_t mode) {
  return (sis->unheld & group.dirtyBit) != 0 && (mode & group.modeBit) != 0;
}

void SendGroup(const GlSiSTail *sis, const RegisterGroup &group) {
  mWait3DCmdQueue(group.count);
  for (int i = 0; i < group.count; ++i)
    sis::Put(sis, group.words[i].offset, sis->programmed.*group.words[i].word);
}

// The texture group's own words, from the working words.
struct TextureWord {
  uint32_t offset;
  uint32_t GlSiSWorkingRegs::*word;
};

constexpr TextureWord kTextureWords[] = {
    {sis::kRegTextureSetup, &GlSiSWorkingRegs::textureSetup},
    {sis::kRegTextureEnv, &GlSiSWorkingRegs::textureEnv},
    {sis::kRegTransparent, &GlSiSWorkingRegs::transparent},
    {sis::kRegLevelLayout, &GlSiSWorkingRegs::levelLayout},
    {sis::kRegTexture8A90, &GlSiSWorkingRegs::texture8A90},
};
constexpr int kTextureWordCount = sizeof(kTextureWords) / sizeof(kTextureWords[0]);

// Slots to wait for before a level's address: the stores left from that
// level down to level 0 (every level's address, every even level's pitches).
constexpr int StoresFromLevelDown(int level) { return level + 1 + level / 2 + 1; }

void SendTextureGroup(const GlSiSTail *sis) {
  mWait3DCmdQueue(kTextureWordCount);
  for (const TextureWord &w : kTextureWords) sis::Put(sis, w.offset, sis->work.*w.word);
  const uint32_t highest = (sis->work.textureSetup >> sis::kHighestLevelShift) & sis::kHighestLevelMask;
  if (highest >= sis::kLevels) return;
  for (int level = int(highest); level >= 0; --level) {
    mWait3DCmdQueue(StoresFromLevelDown(level));
    sis::Put(sis, sis::kRegLevelAddress + 4 * uint32_t(level), sis->levelAddress[level]);
    if (level % 2 == 0)
      sis::Put(sis, sis::kRegLevelPitch + 4 * uint32_t(level / 2), sis->levelPitch[level / 2]);
  }
}

}  // namespace

namespace sis {

void SetGlobalAttribute(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (sis->mmioBase == nullptr) return;
  const uint32_t mode = sis->programmed.mode;
  for (const RegisterGroup &group : kGroups) {
    if (group.dirtyBit == 0 || (sis->dirty & group.dirtyBit) || Unheld(sis, group, mode)) {
      SendGroup(sis, group);
      sis->unheld &= ~group.dirtyBit;
    }
  }
  if ((sis->dirty & SIS_DIRTY_TEXTURE) || Unheld(sis, kTextureGroup, mode)) {
    SendTextureGroup(sis);
    sis->unheld &= ~SIS_DIRTY_TEXTURE;
  }
}

void RestoreAllAttribute(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (sis->mmioBase == nullptr) return;
  const uint32_t mode = sis->work.mode;
  sis->unheld = 0;
  for (const RegisterGroup &group : kGroups) {
    if (group.modeBit == 0 || (mode & group.modeBit))
      SendGroup(sis, group);
    else
      sis->unheld |= group.dirtyBit;
  }
  if (mode & SIS_MODE_TEXTURE)
    SendTextureGroup(sis);
  else
    sis->unheld |= SIS_DIRTY_TEXTURE;
}

void SetScissor(GlContext *gc, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
  GlSiSTail *sis = __glSiSTail(gc);
  sis->work.clipRows = (y0 << 13) | y1;
  sis->work.clipColumns = (x0 << 13) | x1;
  if (sis->mmioBase == nullptr) return;
  // Callers inside the device lock already hold it (it nests); a caller
  // outside must not split another thread's batch.
  __glSiSEngineLock();
  mWait3DCmdQueue(2);
  Put(sis, kRegClipRows, sis->work.clipRows);
  Put(sis, kRegClipColumns, sis->work.clipColumns);
  __glSiSEngineUnlock();
}

}  // namespace sis

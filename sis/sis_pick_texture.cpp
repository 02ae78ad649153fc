// The SiS texture picker: the texture registers for the current texture
// (texel format, filters, wraps, environment, level addresses and pitches),
// recomputed at every validation and marked dirty whenever they differ
// from what was last computed or the texture generation moved.
#include <string.h>

#include "core/context.h"
#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "sis/sis_engine_lock.h"
#include "sis/sis_pick.h"
#include "sis/sis_registers.h"
#include "sis/sis_texmgr.h"

uint32_t __glSiSTextureGeneration = 0;

namespace {

// Texel format by storage-format id; 0: the chip cannot sample it. A
// luminance texel has no alpha of its own (0x74, as RGB), so that
// GL_REPLACE keeps the fragment's alpha.
constexpr uint8_t kTexelFormats[15] = {
    0x74,  // L
    0x73,  // LA
    0x74,  // RGB
    0x40,  // RGB332
    0,     // RGB5
    0x51,  // RGB565
    0x73,  // RGBA
    0,     // RGBA4
    0x53,  // ARGB4
    0,     // RGB5A1
    0x52,  // A1RGB5
    0x73,  // A
    0x73,  // I
    0,     // CI8
    0,     // CI16
};
constexpr int32_t kIdL = 0, kIdLA = 1, kIdRGB = 2, kIdRGBA = 6, kIdA = 11, kIdI = 12;

uint32_t MinFilterCode(GLenum filter) {
  switch (filter) {
    case GL_LINEAR: return 1;
    case GL_NEAREST_MIPMAP_NEAREST: return 2;
    case GL_LINEAR_MIPMAP_NEAREST: return 3;
    case GL_NEAREST_MIPMAP_LINEAR: return 4;
    case GL_LINEAR_MIPMAP_LINEAR: return 5;
    default: return 0;
  }
}

uint32_t WrapBits(GLenum wrap, uint32_t repeatBit, uint32_t clampBit) {
  if (wrap == GL_CLAMP) return clampBit;
  if (wrap == GL_REPEAT) return repeatBit;
  return 0;
}

// Environment code, or -1: the chip cannot do it.
int32_t EnvironmentCode(GLenum mode, int32_t id) {
  switch (mode) {
    case GL_MODULATE:
      if (id == kIdL || id == kIdRGB) return 0x09;
      if (id == kIdLA || id == kIdRGBA || id == kIdI) return 0x0A;
      return id == kIdA ? 0x06 : 0;
    case GL_DECAL:
      return 0x11;
    case GL_REPLACE:
      return id == kIdA ? 0x04 : 0;
    case GL_BLEND:
      return id == kIdA ? 0x06 : -1;
    default:
      return -1;
  }
}

// The words the texture group sends, computed whole before any is kept.
struct TextureWords {
  uint32_t setup, env, layout, modeBits;
  uint32_t levelAddress[sis::kLevels];
  uint32_t levelPitch[sis::kLevels / 2];
};

constexpr uint32_t kSetupNonLocal = 0x20, kSetupMagLinear = 0x8;
constexpr uint32_t kSetupOwnBits = 0xFF000000u | 0xFF0000u | 0xF00u | kSetupNonLocal |
                                   kSetupMagLinear | 0x7u;
constexpr uint32_t kLayoutMipmapped = 1u << 23, kLayoutOwnBits = 0xFF000000u | kLayoutMipmapped | 0x3FF;

GlDDrawTextureLevel *LevelOf(GlTextureObject *tex, int32_t i) {
  return reinterpret_cast<GlDDrawTextureLevel *>(tex->levels[i]);
}

bool HasSurface(GlTextureObject *tex, int32_t i) {
  return tex->levels != nullptr && tex->levels[i] != nullptr && LevelOf(tex, i)->surface != nullptr;
}

// Where level i lies for the chip; false for a placement it cannot read.
bool LevelPlacement(const GlSiSTail *sis, GlTextureObject *tex, int32_t i, uint32_t *address,
                    uint32_t *pitch, bool *nonLocal) {
  LPDIRECTDRAWSURFACE surface = LevelOf(tex, i)->surface;
  DDSURFACEDESC desc;
  memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  if (surface->lpVtbl->GetSurfaceDesc(surface, &desc) != DD_OK) return false;
  const DWORD caps = desc.ddsCaps.dwCaps;
  if (!(caps & DDSCAPS_VIDEOMEMORY) || desc.lpSurface == nullptr) return false;
  *pitch = uint32_t(desc.lPitch);
  *nonLocal = (caps & DDSCAPS_NONLOCALVIDMEM) != 0;
  if (*nonLocal) {
    *address = desc.dwReserved;
    return true;
  }
  const uintptr_t base = uintptr_t(desc.lpSurface), video = uintptr_t(sis->frameBufferBase);
  if (base < video) return false;
  *address = uint32_t(base - video);
  return true;
}

bool ComputeWords(GlContext *gc, GlTextureObject *tex, TextureWords *w) {
  GlSiSTail *sis = __glSiSTail(gc);
  const GlTextureLevel *level0 = tex->levels ? tex->levels[0] : nullptr;
  if (level0 == nullptr || !HasSurface(tex, 0)) return false;
  const int32_t id = level0->texFormatId;
  if (id < 0 || id >= 15 || kTexelFormats[id] == 0) return false;
  // No register carries a border colour: the chip's border is (0, 0, 0, 0).
  const GLfloat *border = tex->borderColor;
  if (border[0] > 0 || border[1] > 0 || border[2] > 0 || border[3] > 0 || level0->border != 0)
    return false;
  const int32_t environment = EnvironmentCode(gc->texture.env[0].mode, id);
  if (environment < 0) return false;

  const bool mipmapped = tex->minFilter != GL_NEAREST && tex->minFilter != GL_LINEAR &&
                         HasSurface(tex, 1);
  int32_t highest = mipmapped ? tex->chainLength - 1 : 0;
  if (highest >= int32_t(sis::kLevels) || highest < 0) return false;

  uint32_t nonLocalLevels = 0;
  memset(w->levelAddress, 0, sizeof w->levelAddress);
  memset(w->levelPitch, 0, sizeof w->levelPitch);
  uint32_t pitches[sis::kLevels] = {};
  int32_t walked = 0;
  for (int32_t i = 0; i <= highest && HasSurface(tex, i); ++i, ++walked) {
    bool nonLocal = false;
    if (!LevelPlacement(sis, tex, i, &w->levelAddress[i], &pitches[i], &nonLocal)) return false;
    if (nonLocal) nonLocalLevels |= 1u << i;
  }
  // The chip reads every level up to the highest: it is the last walked.
  highest = walked - 1;
  for (int32_t k = 0; k <= highest; k += 2) {
    w->levelPitch[k / 2] = sis::TransferTexturePitch(pitches[k]) << 16;
    if (k + 1 <= highest) w->levelPitch[k / 2] |= sis::TransferTexturePitch(pitches[k + 1]);
  }

  // OpenGL ignores t for a 1D texture; on its one row GL_REPEAT reads that row.
  const GLenum wrapT = tex->dim == 1 ? GL_REPEAT : tex->wrapT;
  w->setup = (sis->work.textureSetup & ~kSetupOwnBits) | uint32_t(kTexelFormats[id]) << 24 |
             WrapBits(tex->wrapS, 1u << 16, 1u << 20) | WrapBits(wrapT, 1u << 17, 1u << 21) |
             uint32_t(highest) << sis::kHighestLevelShift |
             (tex->magFilter == GL_LINEAR ? kSetupMagLinear : 0) | MinFilterCode(tex->minFilter) |
             (nonLocalLevels ? kSetupNonLocal : 0);
  w->env = (sis->work.textureEnv & 0x00FFFFFFu) | uint32_t(environment) << 24;
  w->layout = (sis->work.levelLayout & ~kLayoutOwnBits) | uint32_t(level0->widthLog2) << 28 |
              uint32_t(level0->heightLog2) << 24 | (highest > 0 ? kLayoutMipmapped : 0) |
              nonLocalLevels;
  w->modeBits = SIS_MODE_TEXTURE | (nonLocalLevels ? SIS_MODE_NONLOCAL : 0) |
                (gc->polygon.shader.modeFlags & __GL_SHADE_PERSPECTIVE ? SIS_MODE_PERSPECTIVE : 0);
  return true;
}

bool SameWords(const GlSiSTail *sis, const TextureWords &w) {
  return sis->work.textureSetup == w.setup && sis->work.textureEnv == w.env &&
         sis->work.levelLayout == w.layout &&
         memcmp(sis->levelAddress, w.levelAddress, sizeof w.levelAddress) == 0 &&
         memcmp(sis->levelPitch, w.levelPitch, sizeof w.levelPitch) == 0;
}

}  // namespace

namespace sis {

uint32_t TransferTexturePitch(uint32_t pitchBytes) {
  const uint32_t low = pitchBytes & 0xFFFF;
  const uint32_t b = low == 0 ? 16 : uint32_t(__builtin_ctz(low));
  return (pitchBytes >> (b + 1)) | (b - 2) << 7;
}

bool ProgramTexture(GlContext *gc, GlTextureObject *tex) {
  GlSiSTail *sis = __glSiSTail(gc);
  constexpr uint32_t kModeBits = SIS_MODE_TEXTURE | SIS_MODE_NONLOCAL | SIS_MODE_PERSPECTIVE;
  TextureWords w;
  const uint32_t generation = __atomic_load_n(&__glSiSTextureGeneration, __ATOMIC_RELAXED);
  if (!tex->resident || !ComputeWords(gc, tex, &w)) {
    sis->work.mode &= ~SIS_MODE_TEXTURE;
    return false;
  }
  sis->work.mode = (sis->work.mode & ~kModeBits) | w.modeBits;
  if (tex == sis->lastTexture && generation == sis->textureGeneration && SameWords(sis, w)) return true;
  sis->lastTexture = tex;
  sis->textureGeneration = generation;
  sis->work.textureSetup = w.setup;
  sis->work.textureEnv = w.env;
  sis->work.levelLayout = w.layout;
  memcpy(sis->levelAddress, w.levelAddress, sizeof w.levelAddress);
  memcpy(sis->levelPitch, w.levelPitch, sizeof w.levelPitch);
  sis->dirty |= SIS_DIRTY_TEXTURE;
  return true;
}

}  // namespace sis

void __glSiSPickTextureProcs(GlContext *gc) {
  // The generic picker may make the texture resident, and the level
  // placements are read from surfaces other threads may evict.
  SiSEngineGuard engine;
  __glGenericPickTextureProcs(gc);
  GlTextureObject *tex = gc->texture.current;
  if (tex == nullptr || !(gc->polygon.shader.modeFlags & __GL_SHADE_TEXTURE)) return;
  if (!sis::ProgramTexture(gc, tex)) __glSiSTail(gc)->triangleFallback = 1;
}

// Test support for the SiS 6326 drawing model's texturing: texture surfaces
// of the DirectDraw stand-in (local or non-local video memory) filled by the
// test, the texture registers, and textured points and triangles with s, t
// and q.
#pragma once

#include <functional>
#include <vector>

#include "tests/platform/chip_model/model_support.h"

namespace modeltest {

constexpr uint32_t kTextureSetup = 0x8A38, kEnvironment = 0x8A3C, kLayout = 0x8A80;
constexpr uint32_t kLevelAddress = 0x8A44, kLevelPitches = 0x8A6C;
constexpr uint32_t kModeTexture = 1u << 10, kModeNonLocal = 1u << 5, kModePerspective = 1u << 9;
constexpr uint32_t kFormatAlpha = 0x73, kFormatNoAlpha = 0x74;

// Textured triangle commands, side bit clear.
constexpr uint32_t kFlatTexturedTriangle = 0x6000 | 0x02 | 0x40000 | 0x600;
constexpr uint32_t kSmoothTexturedTriangle = 0x6000 | 0x02 | 0x100000 | 0x600;
constexpr uint32_t kTexturedPoint = 0x200;

struct TexVertex {
  float x, y;
  float s, t;
  float q = 1.0f;
  uint32_t colour = 0xFFFFFFFF;
  float z = 0.0f;
};

// The code of a pitch (2m + 1) << (k + 2): m in bits 0-6, k above.
inline uint32_t PitchCode(uint32_t pitch) {
  uint32_t k = uint32_t(__builtin_ctz(pitch)) - 2;
  return ((pitch >> (k + 2)) - 1) / 2 | k << 7;
}

// One level of a texture: its surface and the address the chip uses.
struct Level {
  LPDIRECTDRAWSURFACE surface = nullptr;
  uint32_t address = 0;
  int pitch = 0, side = 0;
  bool nonLocal = false;
};

// The texture registers a test sets; the level layout comes from the levels given.
struct TextureState {
  uint32_t filter = 0;
  bool magnifyLinear = false;
  int highest = 0;
  bool clampS = false, clampT = false;
  uint32_t format = kFormatAlpha;
  uint32_t environment = 0x00;
  int widthLog2 = 0, heightLog2 = 0;
};

// Mode bits for texturing from these levels.
inline uint32_t TextureMode(const std::vector<Level> &levels) {
  for (const Level &l : levels)
    if (l.nonLocal) return kModeTexture | kModeNonLocal;
  return kModeTexture;
}

class TextureModelTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(4u << 20));
  }

  // A square texture surface of `levels` levels (a mipmap chain when more
  // than one), in local or non-local video memory, cleared to 0.
  std::vector<Level> MakeTexture(int side, int levels = 1, bool nonLocal = false) {
    DWORD caps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | (nonLocal ? DDSCAPS_NONLOCALVIDMEM : DDSCAPS_LOCALVIDMEM);
    if (levels > 1) caps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
    LPDIRECTDRAWSURFACE top = nullptr;
    EXPECT_EQ(ddtest::Create(*dd, ddtest::TextureDesc(caps, side, levels > 1 ? DWORD(levels) : 0), &top), DD_OK);
    std::vector<Level> out;
    for (LPDIRECTDRAWSURFACE s = top; s != nullptr && int(out.size()) < levels;) {
      DDSURFACEDESC d = ddtest::Describe(s);
      Level l;
      l.surface = s;
      l.nonLocal = nonLocal;
      l.address = nonLocal ? d.dwReserved
                           : uint32_t(reinterpret_cast<uintptr_t>(d.lpSurface) - uintptr_t(chip.info->frameBuffer));
      l.pitch = int(d.lPitch);
      l.side = int(d.dwWidth);
      out.push_back(l);
      Fill(l, [](int, int) { return 0u; });
      LPDIRECTDRAWSURFACE next = nullptr;
      DDSCAPS attached = {DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
      if (int(out.size()) < levels && s->lpVtbl->GetAttachedSurface(s, &attached, &next) == DD_OK) {
        next->lpVtbl->Release(next);  // the chain holds it
        s = next;
      } else {
        s = nullptr;
      }
    }
    EXPECT_EQ(int(out.size()), levels);
    return out;
  }

  // Writes texel (col, row) of the level's whole square through a lock.
  void Fill(const Level &l, const std::function<uint32_t(int, int)> &texel) {
    DDSURFACEDESC locked;
    ASSERT_EQ(ddtest::Lock(l.surface, nullptr, &locked), DD_OK);
    auto *p = static_cast<uint8_t *>(locked.lpSurface);
    for (int row = 0; row < l.side; ++row)
      for (int col = 0; col < l.side; ++col) {
        uint32_t v = texel(col, row);
        std::memcpy(p + row * locked.lPitch + col * 4, &v, 4);
      }
    ddtest::Unlock(l.surface, nullptr);
  }

  // The texture registers for levels 0 to state.highest given in `levels`.
  void Texture(const TextureState &state, const std::vector<Level> &levels) {
    uint32_t nonLocal = 0;
    for (size_t i = 0; i < levels.size(); ++i) nonLocal |= uint32_t(levels[i].nonLocal) << i;
    uint32_t setup = state.filter | uint32_t(state.magnifyLinear) << 3 | uint32_t(nonLocal != 0) << 5 |
                     uint32_t(state.highest) << 8 | (state.clampS ? 1u << 20 : 1u << 16) |
                     (state.clampT ? 1u << 21 : 1u << 17) | state.format << 24;
    Reg(kTextureSetup, setup);
    Reg(kEnvironment, state.environment << 24);
    Reg(kLayout, uint32_t(state.widthLog2) << 28 | uint32_t(state.heightLog2) << 24 | nonLocal);
    uint32_t pairs[5] = {};
    for (size_t i = 0; i < levels.size(); ++i) {
      Reg(kLevelAddress + 4 * uint32_t(i), levels[i].address);
      pairs[i / 2] |= PitchCode(uint32_t(levels[i].pitch)) << (i % 2 == 0 ? 16 : 0);
    }
    for (uint32_t k = 0; k < 5; ++k) Reg(kLevelPitches + 4 * k, pairs[k]);
  }

  void TexBlock(int block, const TexVertex &v) {
    uint32_t base = SIS6326_VERTEX_BLOCKS + uint32_t(block) * SIS6326_VERTEX_BLOCK_SIZE;
    const uint32_t w[8] = {0, FloatWord(v.z), FloatWord(v.x), FloatWord(v.y), v.colour,
                           FloatWord(v.s), FloatWord(v.t), FloatWord(v.q)};
    for (int i = 0; i < 8; ++i) chip.Store32(base + 4 * uint32_t(i), w[i]);
  }
  void TexTriangle(const TexVertex &a, const TexVertex &b, const TexVertex &c,
                   uint32_t command = kSmoothTexturedTriangle) {
    chip.Wait(25);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, command);
    TexBlock(0, a);
    TexBlock(1, b);
    TexBlock(2, c);
  }
  // The rectangle [x0, x1) x [y0, y1) of buffer coordinates (the chip's
  // less 0.5) as two triangles, s and t given at its corners (q 1): pixel
  // (i, j) samples at s0 + (s1 - s0)(i + 0.5 - x0) / (x1 - x0).
  void TexRect(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1) {
    x0 -= 0.5f, y0 -= 0.5f, x1 -= 0.5f, y1 -= 0.5f;
    TexTriangle({x0, y0, s0, t0}, {x1, y0, s1, t0}, {x0, y1, s0, t1});
    TexTriangle({x1, y0, s1, t0}, {x1, y1, s1, t1}, {x0, y1, s0, t1});
  }
  void TexPoint(const TexVertex &v) {
    chip.Wait(9);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, kTexturedPoint);
    TexBlock(0, v);
  }

  // The sample the model took at pixel (i, j) of the primitive at `at`.
  SiS6326TextureSample Sample(uint32_t at, int i, int j) {
    SiS6326TextureSample s = {};
    EXPECT_TRUE(PlatformSiS6326TextureSample(at, i, j, &s)) << at << ": " << i << ", " << j;
    return s;
  }
};

}  // namespace modeltest

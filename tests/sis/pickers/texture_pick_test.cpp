// The texture picker: the texture registers for each texel format,
// environment, filter and wrap, local and non-local level placement and
// pitch codes, the fallbacks, and the registers computed anew whenever
// anything they depend on changed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/control.h"
#include "platform/dd326.h"
#include "pixels/px_texture.h"
#include "sis/sis_primitives.h"
#include "sis/sis_texmgr.h"
#include "tests/platform/display/ddraw_support.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "tests/sis/pickers/picker_fixture.h"

namespace picker_test {
namespace {

constexpr uint32_t kModeTexture = 0x400, kModeNonLocal = 0x20;
constexpr uint32_t kLayoutMipmapped = 1u << 23;

class TexturePick : public PickerTest {
 protected:
  void TearDown() override {
    PlatformClearFaults();
    PickerTest::TearDown();
    EXPECT_TRUE(PlatformSetVideoMemorySize(8u << 20));
    EXPECT_TRUE(PlatformSetNonLocalVideoMemorySize(0));
  }

  // A side x side texture of `format` (every level when `mipmaps`), bound
  // to `target` and enabled.
  void Define(GLenum format, int side, bool mipmaps, GLuint name = 1,
              GLenum target = GL_TEXTURE_2D) {
    gl().BindTexture(target, name);
    for (int level = 0, s = side; s >= 1; ++level, s /= 2) {
      std::vector<GLubyte> texels(size_t(s) * s * 4, GLubyte(40 + level));
      if (target == GL_TEXTURE_1D)
        gl().TexImage1D(target, level, format, s, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
      else
        gl().TexImage2D(target, level, format, s, s, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
      if (!mipmaps) break;
    }
    gl().TexParameteri(target, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    gl().Enable(target);
  }

  GlTextureObject *Current() { return gc->texture.current; }
  GlDDrawTextureLevel *Level(int i) {
    return reinterpret_cast<GlDDrawTextureLevel *>(Current()->levels[i]);
  }
  uint32_t SetupWord() { return sis()->work.textureSetup; }
  uint32_t EnvCode() { return sis()->work.textureEnv >> 24; }
  bool OnChip() { return (sis()->work.mode & kModeTexture) != 0 && sis()->triangleFallback == 0; }

  // Validates and tells whether the texture registers were marked anew.
  bool Reprogrammed() {
    sis()->dirty = 0;
    Validate();
    return (sis()->dirty & 0x200) != 0;
  }

  DDSURFACEDESC Desc(LPDIRECTDRAWSURFACE s) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    EXPECT_EQ(s->lpVtbl->GetSurfaceDesc(s, &d), DD_OK);
    return d;
  }
};

TEST_F(TexturePick, TexelFormatAndEnvironmentCodes) {
  const struct {
    GLenum format, environment;
    uint32_t texel, code;  // code 0xFF: the chip cannot do it
  } rows[] = {
      {GL_LUMINANCE, GL_MODULATE, 0x74, 0x09},
      // Luminance has no texel alpha: GL_REPLACE keeps the fragment's.
      {GL_LUMINANCE, GL_REPLACE, 0x74, 0x00},
      {GL_LUMINANCE_ALPHA, GL_MODULATE, 0x73, 0x0A},
      {GL_LUMINANCE_ALPHA, GL_REPLACE, 0x73, 0x00},
      {GL_RGB, GL_MODULATE, 0x74, 0x09},
      {GL_RGBA, GL_MODULATE, 0x73, 0x0A},
      {GL_INTENSITY, GL_MODULATE, 0x73, 0x0A},
      {GL_ALPHA, GL_MODULATE, 0x73, 0x06},
      {GL_RGBA, GL_DECAL, 0x73, 0x11},
      {GL_RGB, GL_DECAL, 0x74, 0x11},
      {GL_ALPHA, GL_REPLACE, 0x73, 0x04},
      {GL_RGBA, GL_REPLACE, 0x73, 0x00},
      {GL_ALPHA, GL_BLEND, 0x73, 0x06},
      {GL_RGB, GL_BLEND, 0, 0xFF},
      {GL_RGBA, GL_BLEND, 0, 0xFF},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << r.format << " " << r.environment);
    Define(r.format, 8, false);
    gl().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(r.environment));
    Validate();
    ASSERT_EQ(Current()->resident, 1u);
    if (r.code == 0xFF) {
      EXPECT_FALSE(OnChip());
      EXPECT_EQ(sis()->work.mode & kModeTexture, 0u);
      EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1})) << "textured points follow the texture";
      EXPECT_EQ(gc->procs.fillTriangle == __glSiSTexSmoothTriangle, false);
      continue;
    }
    EXPECT_TRUE(OnChip());
    EXPECT_EQ(SetupWord() >> 24, r.texel);
    EXPECT_EQ(EnvCode(), r.code);
    EXPECT_EQ(gc->procs.fillTriangle, __glSiSTexSmoothTriangle);
    EXPECT_EQ(gc->procs.renderPointPicked, __glSiSRenderAliasedPoint1);
  }
}

TEST_F(TexturePick, FiltersWrapsAndTheOneDimensionalT) {
  Define(GL_RGBA, 8, true);
  const struct {
    GLenum minify, magnify, wrapS, wrapT;
    uint32_t bits;  // bits 0-3 and 16-23
  } rows[] = {
      {GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_REPEAT, 0x030000},
      {GL_LINEAR, GL_LINEAR, GL_CLAMP, GL_REPEAT, 0x120009},
      {GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, GL_REPEAT, GL_CLAMP, 0x210002},
      {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, GL_CLAMP, GL_CLAMP, 0x30000B},
      {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST, GL_REPEAT, GL_REPEAT, 0x030004},
      {GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST, GL_REPEAT, GL_REPEAT, 0x030005},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << r.minify << " " << r.magnify);
    gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(r.minify));
    gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(r.magnify));
    gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(r.wrapS));
    gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(r.wrapT));
    Validate();
    ASSERT_TRUE(OnChip());
    EXPECT_EQ(SetupWord() & 0xFF000F, r.bits);
  }
  // OpenGL ignores t for a 1D texture: on its one row GL_REPEAT reads it.
  gl().Disable(GL_TEXTURE_2D);
  Define(GL_RGBA, 8, false, 2, GL_TEXTURE_1D);
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  Validate();
  ASSERT_TRUE(OnChip());
  EXPECT_EQ(SetupWord() & 0xFF0000, 0x120000u);
}

TEST_F(TexturePick, PitchCodes) {
  const struct {
    uint32_t pitch, code;
  } rows[] = {{16, 0x100}, {32, 0x180}, {1024, 0x400}, {4096, 0x500}, {48, 0x101}, {96, 0x181},
              {0x10000, 0x700}};
  for (const auto &r : rows) EXPECT_EQ(sis::TransferTexturePitch(r.pitch), r.code) << r.pitch;
}

TEST_F(TexturePick, TheLevelWalkInLocalMemory) {
  Define(GL_RGBA, 8, true);
  Validate();
  ASSERT_TRUE(OnChip());
  EXPECT_EQ(SetupWord() >> 8 & 0xF, 3u);
  EXPECT_EQ(sis()->work.levelLayout & 0xFF8003FF, 3u << 28 | 3u << 24 | kLayoutMipmapped);
  EXPECT_EQ(sis()->work.mode & kModeNonLocal, 0u);
  uint32_t codes[4];
  for (int i = 0; i < 4; ++i) {
    const DDSURFACEDESC d = Desc(Level(i)->surface);
    EXPECT_EQ(sis()->levelAddress[i], uint32_t(uintptr_t(d.lpSurface) - uintptr_t(sis()->frameBufferBase)))
        << "level " << i;
    codes[i] = sis::TransferTexturePitch(uint32_t(d.lPitch));
  }
  EXPECT_EQ(sis()->levelPitch[0], codes[0] << 16 | codes[1]);
  EXPECT_EQ(sis()->levelPitch[1], codes[2] << 16 | codes[3]);
  // A chain whose level 1 has no surface is programmed as one level.
  LPDIRECTDRAWSURFACE level1 = Level(1)->surface;
  Level(1)->surface = nullptr;
  Validate();
  EXPECT_EQ(SetupWord() >> 8 & 0xF, 0u);
  EXPECT_EQ(sis()->work.levelLayout & kLayoutMipmapped, 0u);
  EXPECT_EQ(sis()->levelPitch[0] & 0xFFFF, 0u);
  Level(1)->surface = level1;
}

TEST_F(TexturePick, LevelsInNonLocalMemory) {
  ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(1u << 20));
  // Local memory just large enough for what it holds: the texture goes to
  // the non-local pool.
  DWORD low = 0, high = 8u << 20;
  while (high - low > 256) {
    const DWORD mid = (low + high) / 2;
    if (PlatformSetVideoMemorySize(mid))
      high = mid;
    else
      low = mid;
  }
  ASSERT_TRUE(PlatformSetVideoMemorySize(high));
  // Gaps left by released surfaces are filled too.
  std::vector<LPDIRECTDRAWSURFACE> fillers;
  for (int side : {64, 16, 4, 1}) {
    for (int n = 0; n < 1000; ++n) {
      LPDIRECTDRAWSURFACE s = nullptr;
      DDSURFACEDESC fill = ddtest::Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, side, side);
      if (ddtest::Create(*dd, fill, &s) != DD_OK) break;
      fillers.push_back(s);
    }
  }
  Define(GL_RGBA, 8, true);
  Validate();
  ASSERT_TRUE(OnChip());
  const DDSURFACEDESC d = Desc(Level(0)->surface);
  ASSERT_TRUE(d.ddsCaps.dwCaps & DDSCAPS_NONLOCALVIDMEM);
  EXPECT_TRUE(sis()->work.mode & kModeNonLocal);
  EXPECT_TRUE(SetupWord() & 0x20);
  EXPECT_EQ(sis()->work.levelLayout & 0x3FF, 0xFu) << "four levels, all non-local";
  EXPECT_EQ(sis()->levelAddress[0], d.dwReserved);
  for (LPDIRECTDRAWSURFACE f : fillers) ddtest::Release(f);
}

TEST_F(TexturePick, BorderColoursAndBorderedLevelsStayInSoftware) {
  const struct {
    GLfloat border[4];
    bool onChip;
  } rows[] = {{{0, 0, 0, 0}, true}, {{0.5f, 0, 0, 0}, false}, {{0, 0, 0.1f, 0}, false},
              // The chip's border alpha is 0: another alpha cannot be had.
              {{0, 0, 0, 1}, false}};
  Define(GL_RGBA, 8, false);
  for (const auto &r : rows) {
    gl().TexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, r.border);
    Validate();
    EXPECT_EQ(OnChip(), r.onChip) << r.border[0] << " " << r.border[2] << " " << r.border[3];
  }
}

// Every change the registers depend on programs them again; nothing else does.
TEST_F(TexturePick, TheRegistersFollowEveryChange) {
  Define(GL_RGBA, 8, true);
  ASSERT_TRUE(Reprogrammed());
  EXPECT_FALSE(Reprogrammed()) << "the registers stand";
  EXPECT_TRUE(sis()->work.mode & kModeTexture);
  gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  EXPECT_TRUE(Reprogrammed()) << "a parameter";
  EXPECT_EQ(SetupWord() & 0x8, 0u);
  gl().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  EXPECT_TRUE(Reprogrammed()) << "the environment";
  EXPECT_EQ(EnvCode(), 0x11u);
  std::vector<GLubyte> texels(8 * 8 * 4, 99);
  gl().TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 8, 8, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_TRUE(Reprogrammed()) << "a level's texels";
  gl().TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_TRUE(Reprogrammed()) << "a level";
  EXPECT_FALSE(Reprogrammed());
}

// A surface the lock's make-resident step makes again (after an eviction
// by another context, say) is programmed by that lock.
TEST_F(TexturePick, TheLockProgramsASurfaceItMadeResident) {
  Define(GL_RGBA, 8, false);
  Validate();
  ASSERT_TRUE(OnChip());
  // Another texture takes the surface's place first, so the new one lies
  // elsewhere.
  Current()->removeResident(gc, Current());
  LPDIRECTDRAWSURFACE squatter = nullptr;
  ASSERT_EQ(ddtest::Create(*dd, ddtest::Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 8, 8),
                           &squatter),
            DD_OK);
  sistest::TakeLog();
  gc->lockRenderBuffers(gc);
  gc->unlockRenderBuffers(gc);
  ASSERT_EQ(Current()->resident, 1u);
  const DDSURFACEDESC d = Desc(Level(0)->surface);
  const uint32_t address = uint32_t(uintptr_t(d.lpSurface) - uintptr_t(sis()->frameBufferBase));
  EXPECT_EQ(sis()->levelAddress[0], address);
  bool sent = false;
  for (const SiS6326Event &e : sistest::TakeLog())
    sent |= e.kind == SIS6326_EVENT_REGISTER && e.offset == 0x8A44 && e.value == address;
  EXPECT_TRUE(sent) << "the lock sent the new level address";
  ddtest::Release(squatter);
}

// A texture freed and another made at its address is programmed afresh.
TEST_F(TexturePick, AnObjectAtAFreedObjectsAddressIsProgrammedAfresh) {
  Define(GL_RGBA, 8, false);
  Validate();
  ASSERT_TRUE(OnChip());
  GLuint name = 1;
  gl().DeleteTextures(1, &name);
  Define(GL_RGBA, 8, false, 1);
  // As if the new object had been made where the old one was.
  sis()->lastTexture = Current();
  EXPECT_TRUE(Reprogrammed());
  EXPECT_TRUE(OnChip());
}

// A texture that cannot be made resident keeps textured triangles and
// points in software, and clears mode bit 10.
TEST_F(TexturePick, ANonResidentTextureFallsBack) {
  PlatformArmFault({"CreateSurface", "texture", 0, 0, 0});
  Define(GL_RGBA, 8, false);
  Validate();
  EXPECT_EQ(Current()->resident, 0u);
  EXPECT_EQ(sis()->work.mode & kModeTexture, 0u);
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
  PlatformClearFaults();
  Validate();
  EXPECT_EQ(Current()->resident, 1u);
  EXPECT_TRUE(OnChip());
}

}  // namespace
}  // namespace picker_test

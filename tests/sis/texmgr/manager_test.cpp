// The DirectDraw texture manager of SiS contexts against the platform's
// DirectDraw: surface sizes and caps, the levels copied, the active list and
// eviction in a small video memory, lost surfaces, display-mode changes,
// residency dropped by new levels and by invalidation, injected DirectDraw
// failures, reference counts, and managers shared between contexts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "sis/sis_engine_lock.h"
#include "sis/sis_texmgr.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"

namespace {

constexpr DWORD kScreenBytes = 640 * 480 * 2 + 16;  // the 16-bit screen's footprint
// A 64 x 64 surface without a chain, its spare bytes included.
constexpr DWORD kSingle64 = 64 * 64 * 4 + 32;

void ResetDisplay() {
  PlatformClearFaults();
  ASSERT_TRUE(PlatformSetVideoMemorySize(64u << 20));
  ASSERT_TRUE(DesktopSetDisplayMode(16, 640, 480));
  ASSERT_TRUE(PlatformSetVideoMemorySize(8u << 20));
  ASSERT_TRUE(PlatformSetNonLocalVideoMemorySize(0));
  ASSERT_TRUE(PlatformSetTexturePitchPadding(0));
}

// The level texel (r, c) of texture `seed` at level `level`, as RGBA bytes.
uint8_t Channel(uint32_t seed, int32_t level, int32_t r, int32_t c, int k) {
  return uint8_t(seed * 31 + level * 17 + r * 5 + c * 3 + k * 64);
}

class TexMgr : public sis_test::SiSLifeTest {
 protected:
  void SetUp() override {
    SiSLifeTest::SetUp();
    ResetDisplay();
    gc = CreateSiS(TestModes());
    ASSERT_NE(gc, nullptr);
    ASSERT_EQ(gc->texture.manager->release, __glDDrawReleaseTextureManager);
  }

  void TearDown() override {
    PlatformClearFaults();
    PlatformRecordSurfaceLocks(FALSE);
    for (GlTextureObject *t : textures) Free(t);
    textures.clear();
    if (gc != nullptr) Destroy(gc);
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u) << "a surface was left";
    ResetDisplay();
    SiSLifeTest::TearDown();
  }

  GlDDrawTextureManager *Manager() { return __glDDrawManager(gc); }

  // Local video memory with room for `bytes` of surfaces beside the screen.
  static void Room(DWORD bytes) { ASSERT_TRUE(PlatformSetVideoMemorySize(kScreenBytes + bytes)); }

  // A 2D RGBA texture of level 0 width x height, with every mipmap level
  // when `chain`, numbered by `seed`.
  GlDDrawTextureObject *Texture(uint32_t seed, int32_t width, int32_t height, GLenum minFilter,
                                bool chain = true) {
    GlTextureObject *t = gc->texture.createTexture(gc, seed, __GL_TEXTURE_2D_INDEX);
    EXPECT_NE(t, nullptr);
    if (t == nullptr) return nullptr;
    textures.push_back(t);
    t->minFilter = minFilter;
    for (int32_t level = 0;; ++level) {
      Define(t, seed, level, std::max(1, width >> level), std::max(1, height >> level));
      if (!chain || ((width >> level) <= 1 && (height >> level) <= 1)) break;
    }
    return reinterpret_cast<GlDDrawTextureObject *>(t);
  }

  void Define(GlTextureObject *t, uint32_t seed, int32_t level, int32_t w, int32_t h) {
    uint8_t *image = t->createLevel(gc, t, level, GL_RGBA, w, h, 1, 0, 2);
    ASSERT_NE(image, nullptr);
    for (int32_t r = 0; r < h; ++r)
      for (int32_t c = 0; c < w; ++c)
        for (int k = 0; k < 4; ++k) image[(size_t(r) * w + c) * 4 + k] = Channel(seed, level, r, c, k);
  }

  void Free(GlTextureObject *t) {
    t->refcount = 0;
    t->free(gc, t);
  }

  void Forget(GlDDrawTextureObject *tex) {
    textures.erase(std::find(textures.begin(), textures.end(), &tex->base));
  }

  static GlDDrawTextureLevel *Level(GlDDrawTextureObject *tex, int32_t i) {
    return reinterpret_cast<GlDDrawTextureLevel *>(tex->base.levels[i]);
  }

  bool Resident(GlDDrawTextureObject *tex) {
    return tex->base.makeResident(gc, &tex->base, tex->base.residencyArg);
  }

  // The active list from its head.
  std::vector<GlDDrawTextureObject *> Active() {
    std::vector<GlDDrawTextureObject *> out;
    GlDDrawTextureObject *s = Manager()->sentinel;
    for (GlDDrawTextureObject *p = s->nextActive; p != s && out.size() < 100; p = p->nextActive)
      out.push_back(p);
    return out;
  }

  static DDSURFACEDESC Describe(LPDIRECTDRAWSURFACE s) {
    DDSURFACEDESC d = {};
    d.dwSize = sizeof d;
    EXPECT_EQ(s->lpVtbl->GetSurfaceDesc(s, &d), DD_OK);
    return d;
  }

  // Level `level` of the texture lies in its surface as _BGRA8 texels.
  void ExpectCopied(GlDDrawTextureObject *tex, uint32_t seed, int32_t level) {
    GlDDrawTextureLevel *l = Level(tex, level);
    ASSERT_NE(l->surface, nullptr) << "level " << level;
    DDSURFACEDESC d = Describe(l->surface);
    ASSERT_EQ(d.lpSurface, l->address);
    ASSERT_EQ(d.lPitch, l->pitch);
    for (int32_t r = 0; r < l->base.height; ++r) {
      for (int32_t c = 0; c < l->base.width; ++c) {
        uint32_t v;
        memcpy(&v, l->address + size_t(r) * l->pitch + size_t(c) * 4, 4);
        const uint32_t want = uint32_t(Channel(seed, level, r, c, 3)) << 24 |
                              uint32_t(Channel(seed, level, r, c, 0)) << 16 |
                              uint32_t(Channel(seed, level, r, c, 1)) << 8 | Channel(seed, level, r, c, 2);
        ASSERT_EQ(v, want) << "level " << level << " texel " << r << "," << c;
      }
    }
  }

  static int Locks() {
    std::string text(PlatformSurfaceLockRecord(nullptr, 0), '\0');
    PlatformSurfaceLockRecord(text.data(), text.size());
    int n = 0;
    for (size_t at = text.find("lock texture"); at != std::string::npos; at = text.find("lock texture", at + 1))
      if (at == 0 || text[at - 1] == '\n') ++n;
    return n;
  }

  void ExpectNotResident(GlDDrawTextureObject *tex) {
    EXPECT_EQ(tex->base.resident, 0u);
    EXPECT_EQ(tex->surface, nullptr);
    EXPECT_EQ(tex->nextActive, nullptr);
    EXPECT_EQ(tex->prevActive, nullptr);
  }

  GlContext *gc = nullptr;
  std::vector<GlTextureObject *> textures;
};

TEST_F(TexMgr, TheSiSManagerTakesTheBGRA8RowsAndAnEmptyActiveList) {
  GlDDrawTextureManager *m = Manager();
  EXPECT_EQ(m->base.refcount, 1);
  EXPECT_EQ(m->base.invalidateAll, __glDDrawInvalidateTextureAll);
  EXPECT_EQ(m->lookup, __glSiSLookupDDrawTextureFormat);
  EXPECT_NE(m->ddraw, nullptr);
  EXPECT_EQ(m->sentinel->priority, -1.0f);
  EXPECT_EQ(m->sentinel->nextActive, m->sentinel);
  EXPECT_EQ(m->sentinel->prevActive, m->sentinel);
  EXPECT_GE(BlockSize(m->sentinel), sizeof(GlDDrawTextureObject));
  EXPECT_EQ(gc->texture.createTexture, __glDDrawCreateTexture);
  // The four default objects are registered, newest first.
  int registered = 0;
  for (GlDDrawTextureObject *t = m->textures; t != nullptr; t = t->nextRegistered) ++registered;
  EXPECT_EQ(registered, 4);
}

TEST_F(TexMgr, ObjectsCarryTheTailAndTheManagersProcedures) {
  GlDDrawTextureObject *tex = Texture(7, 4, 4, GL_LINEAR, false);
  const GlTextureObject &t = tex->base;
  EXPECT_GE(BlockSize(tex), sizeof(GlDDrawTextureObject));
  EXPECT_EQ(tex->priority, 0.0f);
  EXPECT_EQ(t.texobjs.priority, 1.0f);
  EXPECT_EQ(t.texobjs.name, 7u);
  EXPECT_EQ(t.free, __glDDrawFreeTexture);
  EXPECT_EQ(t.makeResident, __glDDrawTextureMakeResident);
  EXPECT_EQ(t.removeResident, __glDDrawTextureRemoveResident);
  EXPECT_EQ(t.createLevel, __glDDrawTextureCreateLevel);
  EXPECT_EQ(t.deleteLevel, __glDDrawTextureDeleteLevel);
  EXPECT_EQ(Manager()->textures, tex);
  GlDDrawTextureLevel *l = Level(tex, 0);
  EXPECT_EQ(l->copy, __glDDTexMgrCopyActiveRGBA8_BGRA8);
  EXPECT_EQ(l->squareCopy, __glDDTexMgrCopyActiveSquare_BGRA8);
  EXPECT_EQ(l->bytesPerTexel, 4);
  EXPECT_EQ(l->sScale, 1.0f);
  EXPECT_EQ(l->tScale, 1.0f);
  GlTextureObject *proxy = gc->texture.createTexture(gc, 0, __GL_PROXY_TEXTURE_2D_INDEX);
  ASSERT_NE(proxy, nullptr);
  textures.push_back(proxy);
  EXPECT_NE(proxy->createLevel, __glDDrawTextureCreateLevel);
}

TEST_F(TexMgr, SurfacesAreSquareWithAChainOnlyForMipmapFilters) {
  struct Case {
    GLenum minFilter;
    bool chain;
  } const cases[] = {{GL_NEAREST, false}, {GL_LINEAR, false}, {GL_NEAREST_MIPMAP_NEAREST, true},
                     {GL_LINEAR_MIPMAP_LINEAR, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.minFilter);
    PlatformRecordSurfaceLocks(TRUE);
    GlDDrawTextureObject *tex = Texture(3, 64, 16, c.minFilter);
    ASSERT_TRUE(Resident(tex));
    EXPECT_EQ(tex->base.resident, 1u);
    DDSURFACEDESC d = Describe(tex->surface);
    EXPECT_EQ(d.dwWidth, 64u);
    EXPECT_EQ(d.dwHeight, 64u);
    const DWORD want = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY |
                       (c.chain ? DDSCAPS_MIPMAP | DDSCAPS_COMPLEX : 0);
    EXPECT_EQ(d.ddsCaps.dwCaps & (want | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX), want);
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBAlphaBitMask, 0xFF000000u);
    // Without a chain only level 0 is copied.
    EXPECT_EQ(Locks(), c.chain ? 7 : 1);
    for (int32_t level = 0; level < (c.chain ? 7 : 1); ++level) ExpectCopied(tex, 3, level);
    if (!c.chain) {
      EXPECT_EQ(Level(tex, 1)->surface, nullptr);
    }
    // A surface present and not lost is not filled again.
    PlatformRecordSurfaceLocks(TRUE);
    EXPECT_TRUE(Resident(tex));
    EXPECT_EQ(Locks(), 0);
    Free(&tex->base);
    Forget(tex);
  }
}

TEST_F(TexMgr, EveryLowerLevelKeepsOnlyTheChainsReference) {
  GlDDrawTextureObject *tex = Texture(5, 32, 32, GL_LINEAR_MIPMAP_NEAREST);
  for (int round = 0; round < 3; ++round) {
    PlatformLoseSurfaces();  // each make-resident walks the chain again
    ASSERT_TRUE(Resident(tex));
    for (int32_t level = 1; level < 6; ++level) {
      LPDIRECTDRAWSURFACE s = Level(tex, level)->surface;
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->lpVtbl->AddRef(s), 2u) << "level " << level;
      EXPECT_EQ(s->lpVtbl->Release(s), 1u);
    }
    LPDIRECTDRAWSURFACE top = tex->surface;
    EXPECT_EQ(top->lpVtbl->AddRef(top), 2u);
    EXPECT_EQ(top->lpVtbl->Release(top), 1u);
  }
}

// Each level records the pitch its lock reported; its rows go there.
TEST_F(TexMgr, PaddedSurfaceRowsTakeThePitchOfTheirLock) {
  ASSERT_TRUE(PlatformSetTexturePitchPadding(20));
  GlDDrawTextureObject *tex = Texture(11, 16, 8, GL_NEAREST_MIPMAP_LINEAR);
  ASSERT_TRUE(Resident(tex));
  for (int32_t level = 0; level < 5; ++level) {
    EXPECT_EQ(Level(tex, level)->pitch, (16 >> level) * 4 + 20) << level;
    ExpectCopied(tex, 11, level);
  }
}

TEST_F(TexMgr, TheActiveListKeepsInsertionOrderAndEvictsTheLastInserted) {
  GlDDrawTextureObject *a = Texture(1, 8, 8, GL_LINEAR);
  GlDDrawTextureObject *b = Texture(2, 8, 8, GL_LINEAR);
  ASSERT_TRUE(Resident(a));
  ASSERT_TRUE(Resident(b));
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{a, b}));
  ASSERT_TRUE(ddtex::MakeResidentRemoveActive(gc, Manager()));
  ExpectNotResident(b);
  EXPECT_EQ(a->base.resident, 1u);
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{a}));
  ASSERT_TRUE(ddtex::MakeResidentRemoveActive(gc, Manager()));
  EXPECT_FALSE(ddtex::MakeResidentRemoveActive(gc, Manager()));
  EXPECT_TRUE(Active().empty());
}

TEST_F(TexMgr, ASmallVideoMemoryEvictsUntilTheNewSurfaceFits) {
  Room(2 * kSingle64 + 64);
  GlDDrawTextureObject *a = Texture(1, 64, 64, GL_NEAREST, false);
  GlDDrawTextureObject *b = Texture(2, 64, 64, GL_NEAREST, false);
  GlDDrawTextureObject *c = Texture(3, 64, 64, GL_NEAREST, false);
  ASSERT_TRUE(Resident(a));
  ASSERT_TRUE(Resident(b));
  ASSERT_TRUE(Resident(c));  // b, the last inserted, makes room
  ExpectNotResident(b);
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{a, c}));
  ExpectCopied(c, 3, 0);
  // A surface larger than the whole memory evicts everything and fails.
  GlDDrawTextureObject *big = Texture(4, 128, 128, GL_NEAREST, false);
  EXPECT_FALSE(Resident(big));
  ExpectNotResident(big);
  EXPECT_TRUE(Active().empty());
  EXPECT_EQ(a->base.resident, 0u);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
}

TEST_F(TexMgr, ALostSurfaceIsRestoredAndFilledAgain) {
  GlDDrawTextureObject *tex = Texture(9, 16, 16, GL_LINEAR_MIPMAP_LINEAR);
  ASSERT_TRUE(Resident(tex));
  LPDIRECTDRAWSURFACE surface = tex->surface;
  memset(Level(tex, 0)->address, 0, 16 * 4);
  memset(Level(tex, 2)->address, 0, 4 * 4);
  PlatformLoseSurfaces();
  PlatformRecordSurfaceLocks(TRUE);
  ASSERT_TRUE(Resident(tex));
  EXPECT_EQ(tex->surface, surface);
  EXPECT_EQ(Locks(), 5);
  for (int32_t level = 0; level < 5; ++level) ExpectCopied(tex, 9, level);
}

TEST_F(TexMgr, ADisplayModeChangeMakesANewSurface) {
  GlDDrawTextureObject *tex = Texture(6, 16, 8, GL_LINEAR_MIPMAP_LINEAR);
  ASSERT_TRUE(Resident(tex));
  ASSERT_TRUE(DesktopSetDisplayMode(16, 800, 600));
  EXPECT_EQ(tex->surface->lpVtbl->IsLost(tex->surface), DDERR_SURFACELOST);
  ASSERT_TRUE(Resident(tex));
  EXPECT_EQ(tex->surface->lpVtbl->IsLost(tex->surface), DD_OK);
  EXPECT_EQ(tex->surface->lpVtbl->Restore(tex->surface), DD_OK);
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{tex}));
  for (int32_t level = 0; level < 5; ++level) ExpectCopied(tex, 6, level);
}

TEST_F(TexMgr, ANewLevelOrChangedTexelsDropResidency) {
  GlDDrawTextureObject *tex = Texture(2, 8, 8, GL_LINEAR);
  GlDDrawTextureObject *other = Texture(3, 8, 8, GL_LINEAR);
  ASSERT_TRUE(Resident(tex));
  ASSERT_TRUE(Resident(other));
  Define(&tex->base, 12, 0, 8, 8);
  ExpectNotResident(tex);
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{other}));
  ASSERT_TRUE(Resident(tex));
  ExpectCopied(tex, 12, 0);
  tex->base.removeResident(gc, &tex->base);
  ExpectNotResident(tex);
  ASSERT_TRUE(Resident(tex));
  tex->base.deleteLevel(gc, &tex->base, 0);
  ExpectNotResident(tex);
  // Without a level 0 there is nothing to make resident, and nothing is evicted.
  EXPECT_FALSE(Resident(tex));
  EXPECT_EQ(other->base.resident, 1u);
}

TEST_F(TexMgr, InvalidateAllReleasesEverySurfaceAndClearsResidency) {
  GlDDrawTextureObject *a = Texture(1, 16, 16, GL_LINEAR_MIPMAP_LINEAR);
  GlDDrawTextureObject *b = Texture(2, 8, 8, GL_NEAREST);
  ASSERT_TRUE(Resident(a));
  ASSERT_TRUE(Resident(b));
  gc->texture.manager->invalidateAll(gc, gc->texture.manager);
  ExpectNotResident(a);
  ExpectNotResident(b);
  EXPECT_EQ(Level(a, 1)->surface, nullptr);
  EXPECT_TRUE(Active().empty());
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
  ASSERT_TRUE(Resident(a));
  ExpectCopied(a, 1, 3);
}

TEST_F(TexMgr, FreeingAResidentTextureReleasesItsSurfaceAndUnregistersIt) {
  GlDDrawTextureObject *a = Texture(1, 16, 16, GL_LINEAR_MIPMAP_LINEAR);
  GlDDrawTextureObject *b = Texture(2, 16, 16, GL_LINEAR);
  ASSERT_TRUE(Resident(a));
  ASSERT_TRUE(Resident(b));
  Forget(a);
  Free(&a->base);
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{b}));
  for (GlDDrawTextureObject *t = Manager()->textures; t != nullptr; t = t->nextRegistered)
    EXPECT_NE(t, a);
  EXPECT_EQ(Manager()->textures, b);
  Forget(b);
  Free(&b->base);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
}

// The share group's threads all use one manager, and a thread between its
// device lock and unlock has chip work queued that samples the surfaces:
// every change of residency made on another thread waits for the engine
// lock, so no surface is released or reused under that work.
TEST_F(TexMgr, ResidencyChangesFromAnotherThreadWaitForTheEngineLock) {
  struct Case {
    const char *name;
    // Takes `a`'s surface away; true when it freed `a`.
    std::function<bool(GlDDrawTextureObject *a, GlDDrawTextureObject *b)> act;
  } const cases[] = {
      {"eviction to make another resident",
       [this](GlDDrawTextureObject *, GlDDrawTextureObject *b) {
         Resident(b);
         return false;
       }},
      {"freeing it",
       [this](GlDDrawTextureObject *a, GlDDrawTextureObject *) {
         Free(&a->base);
         return true;
       }},
      {"a new level 0",
       [this](GlDDrawTextureObject *a, GlDDrawTextureObject *) {
         Define(&a->base, 5, 0, 64, 64);
         return false;
       }},
      {"deleting its level",
       [this](GlDDrawTextureObject *a, GlDDrawTextureObject *) {
         a->base.deleteLevel(gc, &a->base, 0);
         return false;
       }},
      {"removing residency",
       [this](GlDDrawTextureObject *a, GlDDrawTextureObject *) {
         a->base.removeResident(gc, &a->base);
         return false;
       }},
      {"invalidating every texture",
       [this](GlDDrawTextureObject *, GlDDrawTextureObject *) {
         gc->texture.manager->invalidateAll(gc, gc->texture.manager);
         return false;
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Room(kSingle64 + 64);  // room for one of the two
    GlDDrawTextureObject *a = Texture(1, 64, 64, GL_NEAREST, false);
    GlDDrawTextureObject *b = Texture(2, 64, 64, GL_NEAREST, false);
    ASSERT_TRUE(Resident(a));
    LPDIRECTDRAWSURFACE surface = a->surface;

    std::atomic<bool> done{false};
    bool freed = false;
    __glSiSEngineLock();
    std::thread other([&] {
      freed = c.act(a, b);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const bool finishedEarly = done.load();
    const bool kept = a->surface == surface && a->base.resident == 1 &&
                      Active() == std::vector<GlDDrawTextureObject *>{a};
    if (kept) ExpectCopied(a, 1, 0);
    __glSiSEngineUnlock();
    other.join();
    EXPECT_FALSE(finishedEarly) << "the change did not wait for the engine lock";
    EXPECT_TRUE(kept) << "the surface changed under the engine lock";
    if (freed) {
      Forget(a);
    } else {
      ExpectNotResident(a);
    }
    for (GlDDrawTextureObject *t : Active()) EXPECT_NE(t, a);
    for (GlDDrawTextureObject *t : {a, b}) {
      if (freed && t == a) continue;
      Forget(t);
      Free(&t->base);
    }
  }
}

// A mipmap filter set after a texture became resident from level 0 alone
// gets a chain; a filter of one level keeps the chain it has.
TEST_F(TexMgr, AMipmapFilterSetLaterGetsAChain) {
  GlDDrawTextureObject *tex = Texture(8, 16, 16, GL_LINEAR);
  ASSERT_TRUE(Resident(tex));
  EXPECT_EQ(Level(tex, 1)->surface, nullptr);
  tex->base.minFilter = GL_LINEAR_MIPMAP_NEAREST;
  ASSERT_TRUE(Resident(tex));
  EXPECT_TRUE(Describe(tex->surface).ddsCaps.dwCaps & DDSCAPS_MIPMAP);
  for (int32_t level = 0; level < 5; ++level) ExpectCopied(tex, 8, level);
  LPDIRECTDRAWSURFACE chain = tex->surface;
  tex->base.minFilter = GL_NEAREST;
  PlatformRecordSurfaceLocks(TRUE);
  ASSERT_TRUE(Resident(tex));
  EXPECT_EQ(tex->surface, chain);
  EXPECT_EQ(Locks(), 0);
  // A 1 x 1 texture needs no chain under any filter.
  GlDDrawTextureObject *dot = Texture(9, 1, 1, GL_NEAREST);
  ASSERT_TRUE(Resident(dot));
  dot->base.minFilter = GL_NEAREST_MIPMAP_NEAREST;
  LPDIRECTDRAWSURFACE single = dot->surface;
  ASSERT_TRUE(Resident(dot));
  EXPECT_EQ(dot->surface, single);
}

TEST_F(TexMgr, EachInjectedFailureLeavesTheTextureNotResidentAndNothingHeld) {
  struct Case {
    const char *call;
    bool loseFirst;  // the failure is met while refilling a lost surface
    DWORD error;     // 0: the call's own
  } const cases[] = {{"CreateSurface", false, 0},      {"Lock", false, 0},
                     {"Unlock", false, 0},             {"GetAttachedSurface", false, 0},
                     {"Restore", false, DWORD(DDERR_SURFACEBUSY)}, {"Lock", true, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.call) + (c.loseFirst ? " after a loss" : ""));
    const int live = CountingImports::live();
    GlDDrawTextureObject *tex = Texture(4, 16, 16, GL_LINEAR_MIPMAP_LINEAR);
    const bool restoring = c.loseFirst || std::string(c.call) == "Restore";
    if (restoring) {
      ASSERT_TRUE(Resident(tex));
      PlatformLoseSurfaces();
    }
    PlatformArmFault({c.call, "texture", c.loseFirst ? 2u : 0u, 1, c.error});
    EXPECT_FALSE(Resident(tex));
    EXPECT_EQ(PlatformFaultsFired(c.call), 1u);
    PlatformClearFaults();
    ExpectNotResident(tex);
    EXPECT_TRUE(Active().empty());
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
    ASSERT_TRUE(Resident(tex));
    ExpectCopied(tex, 4, 4);
    Forget(tex);
    Free(&tex->base);
    EXPECT_EQ(CountingImports::live(), live);
    EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u);
  }
}

// Redefined, evicted and made resident again many times: every chain goes
// exactly once, so the memory is all back at the end.
TEST_F(TexMgr, RedefinitionAndEvictionGiveEveryChainBack) {
  const DWORD chain32 = 1400 * 4 + 7 * 32;  // a 32 x 32 chain, roughly
  Room(chain32 + chain32 / 2);
  GlDDrawTextureObject *a = Texture(1, 32, 32, GL_LINEAR_MIPMAP_LINEAR);
  GlDDrawTextureObject *b = Texture(2, 32, 32, GL_NEAREST_MIPMAP_NEAREST);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(Resident(a));
    ASSERT_TRUE(Resident(b));  // evicts a
    ExpectNotResident(a);
    Define(&a->base, 20 + round, round % 6, std::max(1, 32 >> (round % 6)),
           std::max(1, 32 >> (round % 6)));
    ExpectNotResident(a);
    ASSERT_TRUE(Resident(a));  // evicts b
    ExpectNotResident(b);
    ExpectCopied(a, 20 + round, round % 6);
  }
}

// Contexts that share lists share one manager; a context's own manager goes
// with its surfaces when it takes another's.
TEST_F(TexMgr, SharingContextsHoldOneManager) {
  GlContext *other = CreateSiS(TestModes());
  ASSERT_NE(other, nullptr);
  GlTextureObject *own = other->texture.defaults[__GL_TEXTURE_2D_INDEX];
  own->minFilter = GL_NEAREST;
  ASSERT_NE(own->createLevel(other, own, 0, GL_RGBA, 8, 8, 1, 0, 2), nullptr);
  ASSERT_TRUE(own->makeResident(other, own, 0));
  ASSERT_NE(PlatformVideoMemoryUsed(FALSE), 0u);
  ASSERT_TRUE(other->exports.shareContext(other, gc));
  EXPECT_EQ(other->texture.manager, gc->texture.manager);
  EXPECT_EQ(Manager()->base.refcount, 2);
  EXPECT_EQ(own->resident, 0u);
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), 0u) << "the released manager kept a surface";
  // The shared manager makes the other context's textures resident.
  ASSERT_TRUE(own->makeResident(other, own, 0));
  EXPECT_EQ(Active(), (std::vector<GlDDrawTextureObject *>{
                          reinterpret_cast<GlDDrawTextureObject *>(own)}));
  other->exports.destroyContext(other);
  EXPECT_EQ(Manager()->base.refcount, 1);
  EXPECT_TRUE(Active().empty());
}

}  // namespace

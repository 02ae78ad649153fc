// The colour buffers' initialisation and picks: which store, fetch, span
// store and clear rectangle each state installs, and the masks.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fastraster/fr_pick.h"
#include "raster/s_ci.h"
#include "raster/s_clear.h"
#include "raster/s_rgb.h"
#include "tests/raster/color/color_fixture.h"

namespace {

#define P(x) \
  { reinterpret_cast<const void *>(&x), #x }

std::string NameOf(const void *proc) {
  static const std::map<const void *, std::string> table = {
      P(rgb::Store_8),
      P(rgb::Store_16),
      P(rgb::Store_24),
      P(rgb::Store_32A),
      P(rgb::Store_32),
      P(rgb::Fetch_8),
      P(rgb::Fetch_16),
      P(rgb::Fetch_24),
      P(rgb::Fetch_32A),
      P(rgb::Fetch_32),
      P(rgb::StoreSpan),
      P(rgb::StoreStippledSpan),
      P(rgb::StoreSpan_24),
      P(rgb::StoreSpan_16),
      P(rgb::StoreSpan_16_Dither),
      P(rgb::StoreSpan_16_General),
      P(rgb::Pick),
      P(rgb::Pick16),
      P(rgb::Clear),
      P(rgb::ClearRect),
      P(rgb::ClearRect_24),
      P(ci::Store_8),
      P(ci::Store_16),
      P(ci::Store_24),
      P(ci::Store_32),
      P(ci::Fetch_8),
      P(ci::Fetch_16),
      P(ci::Fetch_24),
      P(ci::Fetch_32),
      P(ci::StoreSpan),
      P(ci::StoreStippledSpan),
      P(ci::Pick),
      P(ci::Clear),
      P(ci::ClearRect),
      P(__glI386ClearRectRGB),
      P(__glI386ClearRectRGB_8_Dither),
      P(__glI386ClearRectRGB_16_Dither),
      P(__glI386ClearRectCI_8),
      P(__glI386ClearRectCI_8_Dither),
      P(__glReadSpan),
      P(__glReturnSpan),
      P(__glFetchSpan),
  };
  if (proc == nullptr) return "null";
  auto it = table.find(proc);
  return it == table.end() ? "?" : it->second;
}
template <typename P>
std::string NameOf(P proc) {
  return NameOf(reinterpret_cast<const void *>(proc));
}

constexpr uint32_t DITHER = __GL_SHADE_DITHER, LOGIC = __GL_SHADE_LOGIC_OP,
                   BLEND = __GL_SHADE_BLEND;

// What both initialisers install: the format's store, one fetch in both
// slots, the shared span readers and their own span stores and clear.
void ExpectInitialisedProcedures(const GlColorBuffer *cfb, const std::string &space,
                                 const char *store, const char *fetch) {
  EXPECT_EQ(NameOf(cfb->store), store);
  EXPECT_EQ(NameOf(cfb->fetch[0]), fetch);
  EXPECT_EQ(NameOf(cfb->fetch[1]), fetch);
  EXPECT_EQ(NameOf(cfb->readSpan), "__glReadSpan");
  EXPECT_EQ(NameOf(cfb->returnSpan), "__glReturnSpan");
  EXPECT_EQ(NameOf(cfb->fetchSpan[0]), "__glFetchSpan");
  EXPECT_EQ(NameOf(cfb->fetchSpan[1]), "__glFetchSpan");
  EXPECT_EQ(NameOf(cfb->storeSpan), space + "::StoreSpan");
  EXPECT_EQ(NameOf(cfb->storeStippledSpan), space + "::StoreStippledSpan");
  EXPECT_EQ(NameOf(cfb->clear), space + "::Clear");
}

struct RgbCase {
  const char *what;
  size_t format;  // in kRgbFormats
  uint32_t flags;
  uint32_t colourMask;  // bit i: channel i written (red, green, blue, alpha)
  GLenum drawBuffer;
  const char *store, *fetch, *storeSpan, *clearRect;
  uint32_t sourceMask, destMask;
};

const RgbCase kRgbCases[] = {
    {"3-3-2", 0, 0, 0xF, GL_FRONT, "rgb::Store_8", "rgb::Fetch_8", "rgb::StoreSpan",
     "__glI386ClearRectRGB", 0xFF, 0},
    {"3-3-2 dithered", 0, DITHER, 0xF, GL_FRONT, "rgb::Store_8", "rgb::Fetch_8", "rgb::StoreSpan",
     "__glI386ClearRectRGB_8_Dither", 0xFF, 0},
    {"3-3-2 red masked", 0, DITHER, 0xE, GL_FRONT, "rgb::Store_8", "rgb::Fetch_8", "rgb::StoreSpan",
     "rgb::ClearRect", 0x1F, 0xE0},
    {"5-6-5", 2, 0, 0xF, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16", "rgb::StoreSpan_16",
     "__glI386ClearRectRGB", 0xFFFF, 0},
    {"5-6-5 dithered", 2, DITHER, 0xF, GL_BACK, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_Dither", "__glI386ClearRectRGB_16_Dither", 0xFFFF, 0},
    {"5-6-5 alpha masked (no alpha channel)", 2, 0, 0x7, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16", "__glI386ClearRectRGB", 0xFFFF, 0},
    {"5-6-5 blended", 2, BLEND, 0xF, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_General", "__glI386ClearRectRGB", 0xFFFF, 0},
    {"5-6-5 logic op, dithered", 2, LOGIC | DITHER, 0xF, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_General", "__glI386ClearRectRGB_16_Dither", 0xFFFF, 0},
    {"5-6-5 green masked", 2, 0, 0xD, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_General", "rgb::ClearRect", 0xF81F, 0x07E0},
    {"5-6-5 draw buffer GL_NONE", 2, 0, 0xF, GL_NONE, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_General", "rgb::ClearRect", 0, 0xFFFF},
    {"5-5-5", 1, DITHER, 0xF, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_Dither", "__glI386ClearRectRGB_16_Dither", 0x7FFF, 0},
    {"1-5-5-5 alpha masked", 3, 0, 0x7, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16",
     "rgb::StoreSpan_16_General", "rgb::ClearRect", 0x7FFF, 0x8000},
    {"1-5-5-5", 3, 0, 0xF, GL_FRONT, "rgb::Store_16", "rgb::Fetch_16", "rgb::StoreSpan_16",
     "__glI386ClearRectRGB", 0xFFFF, 0},
    {"8-8-8", 4, 0, 0xF, GL_FRONT, "rgb::Store_24", "rgb::Fetch_24", "rgb::StoreSpan_24",
     "rgb::ClearRect_24", 0xFFFFFF, 0},
    {"8-8-8 blended", 4, BLEND, 0xF, GL_FRONT, "rgb::Store_24", "rgb::Fetch_24", "rgb::StoreSpan",
     "rgb::ClearRect_24", 0xFFFFFF, 0},
    {"8-8-8 logic op", 4, LOGIC, 0xF, GL_FRONT, "rgb::Store_24", "rgb::Fetch_24", "rgb::StoreSpan",
     "rgb::ClearRect_24", 0xFFFFFF, 0},
    {"8-8-8 dithered (never the word fill)", 4, DITHER, 0xF, GL_FRONT, "rgb::Store_24",
     "rgb::Fetch_24", "rgb::StoreSpan_24", "rgb::ClearRect_24", 0xFFFFFF, 0},
    // A masked channel or no draw buffer must not take the whole-pixel store.
    {"8-8-8 blue masked", 4, 0, 0xB, GL_FRONT, "rgb::Store_24", "rgb::Fetch_24", "rgb::StoreSpan",
     "rgb::ClearRect", 0xFFFF00, 0xFF},
    {"8-8-8 every channel masked", 4, 0, 0x0, GL_FRONT, "rgb::Store_24", "rgb::Fetch_24",
     "rgb::StoreSpan", "rgb::ClearRect", 0, 0xFFFFFF},
    {"8-8-8 draw buffer GL_NONE", 4, 0, 0xF, GL_NONE, "rgb::Store_24", "rgb::Fetch_24",
     "rgb::StoreSpan", "rgb::ClearRect", 0, 0xFFFFFF},
    {"X-8-8-8", 5, 0, 0xF, GL_FRONT, "rgb::Store_32", "rgb::Fetch_32", "rgb::StoreSpan",
     "__glI386ClearRectRGB", 0xFFFFFF, 0},
    {"X-8-8-8 alpha masked", 5, 0, 0x7, GL_FRONT, "rgb::Store_32", "rgb::Fetch_32",
     "rgb::StoreSpan", "__glI386ClearRectRGB", 0xFFFFFF, 0},
    {"8-8-8-8", 6, DITHER, 0xF, GL_FRONT, "rgb::Store_32A", "rgb::Fetch_32A", "rgb::StoreSpan",
     "__glI386ClearRectRGB", 0xFFFFFFFF, 0},
    {"8-8-8-8 alpha masked", 6, 0, 0x7, GL_FRONT, "rgb::Store_32A", "rgb::Fetch_32A",
     "rgb::StoreSpan", "rgb::ClearRect", 0xFFFFFF, 0xFF000000},
};

void ApplyRgb(BoundColorBuffer &b, const RgbCase &c) {
  GlRasterState &r = b.gc()->state.raster;
  r.rMask = c.colourMask & 1, r.gMask = (c.colourMask >> 1) & 1;
  r.bMask = (c.colourMask >> 2) & 1, r.aMask = (c.colourMask >> 3) & 1;
  r.drawBuffer = c.drawBuffer;
  b.SetFlags(__GL_SHADE_RGB | c.flags);
  b.cfb()->pick(b.gc(), b.cfb());
}

void ExpectRgbChoice(const GlColorBuffer *cfb, const RgbCase &c) {
  EXPECT_EQ(NameOf(cfb->store), c.store);
  EXPECT_EQ(NameOf(cfb->fetch[0]), c.fetch);
  EXPECT_EQ(NameOf(cfb->fetch[1]), c.fetch);
  EXPECT_EQ(NameOf(cfb->storeSpan), c.storeSpan);
  EXPECT_EQ(NameOf(cfb->storeStippledSpan), "rgb::StoreStippledSpan");
  EXPECT_EQ(NameOf(cfb->clear), "rgb::Clear");
  EXPECT_EQ(NameOf(cfb->clearRect), c.clearRect);
  EXPECT_EQ(cfb->sourceMask, c.sourceMask);
  EXPECT_EQ(cfb->destMask, c.destMask);
}

TEST(RgbPick, ProceduresForEachState) {
  for (const RgbCase &c : kRgbCases) {
    SCOPED_TRACE(c.what);
    BoundColorBuffer b(kRgbFormats[c.format]);
    ApplyRgb(b, c);
    ExpectRgbChoice(b.cfb(), c);
  }
}

// One buffer picked through every state of its format, forwards and
// backwards: nothing of an earlier pick survives into a later one.
TEST(RgbPick, NothingOfAnEarlierPickRemains) {
  for (const ColorFormat &f : kRgbFormats) {
    std::vector<const RgbCase *> cases;
    for (const RgbCase &c : kRgbCases)
      if (kRgbFormats[c.format].name == f.name) cases.push_back(&c);
    BoundColorBuffer b(f);
    for (int pass = 0; pass < 2; pass++) {
      for (size_t i = 0; i < cases.size(); i++) {
        const RgbCase &c = *cases[pass ? cases.size() - 1 - i : i];
        SCOPED_TRACE(testing::Message() << c.what << ", pass " << pass);
        ApplyRgb(b, c);
        ExpectRgbChoice(b.cfb(), c);
      }
    }
  }
}

struct IndexCase {
  const char *what;
  size_t format;  // in kIndexFormats
  uint32_t flags;
  uint32_t writeMask;
  GLenum drawBuffer;
  const char *clearRect;
  uint32_t sourceMask, destMask;
};

const IndexCase kIndexCases[] = {
    {"8 bits", 0, 0, UINT32_MAX, GL_FRONT, "__glI386ClearRectCI_8", 0xFF, 0},
    {"8 bits dithered", 0, DITHER, UINT32_MAX, GL_BACK, "__glI386ClearRectCI_8_Dither", 0xFF, 0},
    {"8 bits, write mask of the index's bits", 0, 0, 0xFF, GL_FRONT, "__glI386ClearRectCI_8", 0xFF,
     0},
    {"8 bits, low four writable", 0, DITHER, 0x0F, GL_FRONT, "ci::ClearRect", 0x0F, 0xF0},
    {"8 bits, draw buffer GL_NONE", 0, 0, UINT32_MAX, GL_NONE, "ci::ClearRect", 0, 0xFF},
    {"12 bits", 1, 0, UINT32_MAX, GL_FRONT, "ci::ClearRect", 0xFFF, 0},
    {"12 bits, logic op", 1, LOGIC, 0xF0F, GL_FRONT, "ci::ClearRect", 0xF0F, 0x0F0},
    {"16 bits", 2, DITHER, UINT32_MAX, GL_FRONT, "ci::ClearRect", 0xFFFF, 0},
    {"24 bits", 3, 0, UINT32_MAX, GL_FRONT, "ci::ClearRect", 0xFFFFFF, 0},
    {"32 bits", 4, 0, 0xFFFF0000u, GL_FRONT, "ci::ClearRect", 0xFFFF0000u, 0xFFFF},
};

TEST(IndexPick, MasksAndClearRectangles) {
  for (const IndexCase &c : kIndexCases) {
    SCOPED_TRACE(c.what);
    BoundColorBuffer b(kIndexFormats[c.format]);
    GlRasterState &r = b.gc()->state.raster;
    r.writeMask = c.writeMask;
    r.drawBuffer = c.drawBuffer;
    b.SetFlags(c.flags);
    const auto store = b.cfb()->store;
    b.cfb()->pick(b.gc(), b.cfb());
    EXPECT_EQ(NameOf(b.cfb()->clear), "ci::Clear");
    EXPECT_EQ(NameOf(b.cfb()->clearRect), c.clearRect);
    EXPECT_EQ(b.cfb()->sourceMask, c.sourceMask);
    EXPECT_EQ(b.cfb()->destMask, c.destMask);
    EXPECT_EQ(b.cfb()->store, store) << "the store is the initialiser's";
  }
}

TEST(RgbInit, ChannelsScalesAndProcedures) {
  // The scales are the maxima as floats.
  struct Case {
    size_t format;
    uint32_t shifts[4], maxima[4];
    const char *pick, *store, *fetch;
    uint8_t fbType;
  } cases[] = {
      // clang-format off
      {0, {5, 2, 0, 0},   {7, 7, 3, 255},       "rgb::Pick",   "rgb::Store_8",   "rgb::Fetch_8",   FR_FB_RGB332},
      {1, {10, 5, 0, 0},  {31, 31, 31, 255},    "rgb::Pick16", "rgb::Store_16",  "rgb::Fetch_16",  FR_FB_RGB555},
      {2, {11, 5, 0, 0},  {31, 63, 31, 255},    "rgb::Pick16", "rgb::Store_16",  "rgb::Fetch_16",  FR_FB_RGB565},
      {3, {10, 5, 0, 15}, {31, 31, 31, 1},      "rgb::Pick16", "rgb::Store_16",  "rgb::Fetch_16",  FR_FB_A1RGB5},
      {4, {16, 8, 0, 0},  {255, 255, 255, 255}, "rgb::Pick",   "rgb::Store_24",  "rgb::Fetch_24",  FR_FB_RGB8},
      {5, {16, 8, 0, 0},  {255, 255, 255, 255}, "rgb::Pick",   "rgb::Store_32",  "rgb::Fetch_32",  FR_FB_XRGB8},
      {6, {16, 8, 0, 24}, {255, 255, 255, 255}, "rgb::Pick",   "rgb::Store_32A", "rgb::Fetch_32A", FR_FB_ARGB8},
      // clang-format on
  };
  for (const Case &c : cases) {
    const ColorFormat &f = kRgbFormats[c.format];
    SCOPED_TRACE(f.name);
    ServiceContext ctx;
    GlContext *gc = ctx.gc();
    GlModes &m = gc->modes;
    m.rgbMode = 1;
    SetFormatModes(&m, f);
    GlColorBuffer *cfb = &gc->frontBuffer;
    memset(cfb, 0xCD, sizeof *cfb);
    __glInitRGB(cfb, gc);
    EXPECT_EQ(cfb->buf.gc, nullptr);
    EXPECT_EQ(cfb->buf.drawableBuf, nullptr);
    EXPECT_EQ(cfb->separateSpanOps, 0);
    EXPECT_EQ(cfb->redShift, c.shifts[0]);
    EXPECT_EQ(cfb->greenShift, c.shifts[1]);
    EXPECT_EQ(cfb->blueShift, c.shifts[2]);
    EXPECT_EQ(cfb->alphaShift, c.shifts[3]);
    EXPECT_EQ(cfb->redMax, c.maxima[0]);
    EXPECT_EQ(cfb->greenMax, c.maxima[1]);
    EXPECT_EQ(cfb->blueMax, c.maxima[2]);
    EXPECT_EQ(cfb->alphaMax, c.maxima[3]);
    EXPECT_EQ(cfb->iRedScale, c.maxima[0]);
    EXPECT_EQ(cfb->iGreenScale, c.maxima[1]);
    EXPECT_EQ(cfb->iBlueScale, c.maxima[2]);
    EXPECT_EQ(cfb->redScale, GLfloat(c.maxima[0]));
    EXPECT_EQ(cfb->greenScale, GLfloat(c.maxima[1]));
    EXPECT_EQ(cfb->blueScale, GLfloat(c.maxima[2]));
    EXPECT_EQ(cfb->alphaScale, GLfloat(c.maxima[3]));
    EXPECT_EQ(cfb->oneOverGreenScale, 1.0f / GLfloat(c.maxima[1]));
    EXPECT_EQ(cfb->sourceMask, f.masks[0] | f.masks[1] | f.masks[2] | f.masks[3]);
    EXPECT_EQ(NameOf(cfb->pick), c.pick);
    ExpectInitialisedProcedures(cfb, "rgb", c.store, c.fetch);
    EXPECT_EQ(cfb->frFbType, c.fbType);
  }
}

TEST(IndexInit, WidthDecidesTheStoreAndFetch) {
  struct Case {
    size_t format;
    uint32_t indexMask;
    const char *store, *fetch;
    uint8_t fbType;
  } cases[] = {
      {0, 0xFF, "ci::Store_8", "ci::Fetch_8", FR_FB_CI8},
      {1, 0xFFF, "ci::Store_16", "ci::Fetch_16", FR_FB_OTHER},
      {2, 0xFFFF, "ci::Store_16", "ci::Fetch_16", FR_FB_OTHER},
      {3, 0xFFFFFF, "ci::Store_24", "ci::Fetch_24", FR_FB_OTHER},
      {4, 0xFFFFFFFF, "ci::Store_32", "ci::Fetch_32", FR_FB_OTHER},
  };
  for (const Case &c : cases) {
    const ColorFormat &f = kIndexFormats[c.format];
    SCOPED_TRACE(f.name);
    ServiceContext ctx;
    GlContext *gc = ctx.gc();
    gc->modes.colorIndexMode = 1;
    gc->modes.colorBits = f.colorBits;
    gc->modes.indexBits = f.bits[0];
    GlColorBuffer *cfb = &gc->frontBuffer;
    memset(cfb, 0xCD, sizeof *cfb);
    __glInitCI(cfb, gc);
    EXPECT_EQ(cfb->buf.gc, nullptr);
    EXPECT_EQ(cfb->redMax, c.indexMask);
    EXPECT_EQ(cfb->sourceMask, c.indexMask);
    EXPECT_EQ(cfb->separateSpanOps, 0);
    EXPECT_EQ(NameOf(cfb->pick), "ci::Pick");
    ExpectInitialisedProcedures(cfb, "ci", c.store, c.fetch);
    EXPECT_EQ(NameOf(cfb->clearRect), "ci::ClearRect");
    EXPECT_EQ(cfb->frFbType, c.fbType);
  }
}

// Picking an unbound buffer (no drawable yet) follows the visual's pixel
// size and touches no memory.
TEST(ColourPick, AnUnboundBufferPicksByTheVisual) {
  for (const ColorFormat &f : kRgbFormats) {
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f);
    b.cfb()->buf.drawableBuf = nullptr;
    b.SetFlags(__GL_SHADE_RGB);
    b.cfb()->pick(b.gc(), b.cfb());
    const char *stores[] = {"", "rgb::Store_8", "rgb::Store_16", "rgb::Store_24",
                            f.masks[3] ? "rgb::Store_32A" : "rgb::Store_32"};
    EXPECT_EQ(NameOf(b.cfb()->store), stores[f.bytes()]);
  }
}

}  // namespace

// glPixelMapfv, glPixelMapuiv and glPixelMapusv: the size rules of each kind
// of map, the conversions into index and colour tables, what a refused or
// failed call keeps, and what a change marks stale.
#include <math.h>
#include <stdint.h>

#include <vector>

#include "tests/pixels/store/pixel_state_fixture.h"
#include "tests/support/counting_imports.h"

namespace pixel_state_test {
namespace {

const GlPixelMap &Map(const GlContext *gc, GLenum map) {
  return gc->pixel.pixelMap[map - GL_PIXEL_MAP_I_TO_I];
}

std::vector<GLint> Indices(const GlContext *gc, GLenum map) {
  const GlPixelMap &m = Map(gc, map);
  return std::vector<GLint>(m.base.mapI, m.base.mapI + m.size);
}

std::vector<GLfloat> Colors(const GlContext *gc, GLenum map) {
  const GlPixelMap &m = Map(gc, map);
  return std::vector<GLfloat>(m.base.mapF, m.base.mapF + m.size);
}

struct SizeCase {
  GLenum map;
  GLsizei size;
  GLenum error;
};

// Index and index-to-colour maps: a power of two from 1; colour-to-colour
// maps: any size from 0 (0 restores the default); all at most 65536.
const SizeCase kSizes[] = {
    {0x0C6F, 1, GL_INVALID_ENUM},
    {0x0C7A, 1, GL_INVALID_ENUM},
    {0x0C7A, -1, GL_INVALID_ENUM},  // the map before the size
    {GL_PIXEL_MAP_I_TO_I, 0, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_I, 1, GL_NO_ERROR},
    {GL_PIXEL_MAP_I_TO_I, 4, GL_NO_ERROR},
    {GL_PIXEL_MAP_S_TO_S, 6, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_S_TO_S, -2, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_R, 3, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_G, 8, GL_NO_ERROR},
    {GL_PIXEL_MAP_I_TO_A, -1, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_B, 0, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_R_TO_R, 3, GL_NO_ERROR},
    {GL_PIXEL_MAP_R_TO_R, 0, GL_NO_ERROR},
    {GL_PIXEL_MAP_G_TO_G, -1, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_B_TO_B, 7, GL_NO_ERROR},
    {GL_PIXEL_MAP_R_TO_R, 65536, GL_NO_ERROR},
    {GL_PIXEL_MAP_R_TO_R, 65537, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_A_TO_A, INT32_MAX, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_I, 65536, GL_NO_ERROR},
    {GL_PIXEL_MAP_I_TO_I, 131072, GL_INVALID_VALUE},
    {GL_PIXEL_MAP_I_TO_I, 1 << 30, GL_INVALID_VALUE},  // its byte count wraps in 32 bits
    {GL_PIXEL_MAP_I_TO_R, int32_t(1u << 31), GL_INVALID_VALUE},
};

TEST_F(PixelStateTest, PixelMapSizesPerKindOfMap) {
  std::vector<GLfloat> values(65536, 0.5f);
  for (const SizeCase &c : kSizes) {
    SCOPED_TRACE(Hex(c.map) + " size " + std::to_string(c.size));
    __glInitPixelState(gc);
    Settle();
    glPixelMapfv(c.map, c.size, values.data());
    EXPECT_EQ(glGetError(), c.error);
    if (c.error != GL_NO_ERROR) {
      ExpectUnmarked();
      for (const GlPixelMap &m : gc->pixel.pixelMap) {
        EXPECT_EQ(m.size, 1);
        EXPECT_EQ(m.base.mapI, &gc->pixel.defaultMapEntry);
      }
      continue;
    }
    ExpectMarked(__GL_DIRTY_PIXEL);
    const GlPixelMap &m = Map(gc, c.map);
    EXPECT_EQ(m.size, c.size == 0 ? 1 : c.size);
    if (c.size == 0) {
      EXPECT_EQ(m.base.mapF[0], 0.0f);
    } else if (c.map <= GL_PIXEL_MAP_S_TO_S) {
      EXPECT_EQ(m.base.mapI[c.size - 1], 1);  // 0.5 rounds away from zero
    } else {
      EXPECT_EQ(m.base.mapF[c.size - 1], 0.5f);
    }
    // A table of its own: freed when the map is replaced or the context goes.
    EXPECT_EQ(c.size == 0, !__glPixelMapOwnsTable(&gc->pixel, &m));
  }
}

TEST_F(PixelStateTest, PixelMapConvertsIntoIndexTables) {
  const GLfloat f[] = {1.5f, -1.5f, 2.4f, -0.5f, 0.0f, 1e30f, -1e30f, NAN};
  glPixelMapfv(GL_PIXEL_MAP_I_TO_I, 8, f);
  EXPECT_EQ(Indices(gc, GL_PIXEL_MAP_I_TO_I),
            (std::vector<GLint>{2, -2, 2, -1, 0, INT32_MAX, INT32_MIN, 0}));
  const GLuint ui[] = {0xFFFFFFFFu, 5, 0x80000000u, 0};
  glPixelMapuiv(GL_PIXEL_MAP_S_TO_S, 4, ui);
  EXPECT_EQ(Indices(gc, GL_PIXEL_MAP_S_TO_S), (std::vector<GLint>{-1, 5, INT32_MIN, 0}));
  const GLushort us[] = {65535, 1};
  glPixelMapusv(GL_PIXEL_MAP_I_TO_I, 2, us);
  EXPECT_EQ(Indices(gc, GL_PIXEL_MAP_I_TO_I), (std::vector<GLint>{65535, 1}));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PixelStateTest, PixelMapConvertsIntoColourTables) {
  const GLfloat f[] = {1.5f, -0.5f, 0.25f, 1.0f, NAN};
  glPixelMapfv(GL_PIXEL_MAP_A_TO_A, 5, f);
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_A_TO_A),
            (std::vector<GLfloat>{1.0f, 0.0f, 0.25f, 1.0f, 0.0f}));
  const GLushort us[] = {65535, 0, 32768, 1};
  glPixelMapusv(GL_PIXEL_MAP_I_TO_B, 4, us);
  const GLfloat perUshort = 1.0f / 65535.0f;
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_I_TO_B),
            (std::vector<GLfloat>{1.0f, 0.0f, 32768.0f * perUshort, perUshort}));
  // Unsigned ints by the context's scale 4294964992, held as a float: the
  // largest value comes out a little above 1.
  const GLuint ui[] = {0xFFFFFFFFu, 0, 4294964992u};
  glPixelMapuiv(GL_PIXEL_MAP_R_TO_R, 3, ui);
  const GLfloat perUint = 1.0f / 4294964992.0f;
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_R_TO_R),
            (std::vector<GLfloat>{4294967295.0f * perUint, 0.0f, 4294964992.0f * perUint}));
  EXPECT_GE(Colors(gc, GL_PIXEL_MAP_R_TO_R)[0], 1.0f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A map restored to the default has one entry of 0, whatever it held.
TEST_F(PixelStateTest, PixelMapOfSizeZeroRestoresTheDefault) {
  const GLfloat f[] = {0.5f, 0.75f, 1.0f};
  glPixelMapfv(GL_PIXEL_MAP_G_TO_G, 3, f);
  glPixelMapfv(GL_PIXEL_MAP_G_TO_G, 0, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_G_TO_G), std::vector<GLfloat>{0.0f});
}

// Without values nothing changes and nothing is recorded.
TEST_F(PixelStateTest, PixelMapWithoutValuesChangesNothing) {
  const GLfloat f[] = {0.5f, 0.75f};
  glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 2, f);
  Settle();
  glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 4, nullptr);
  glPixelMapuiv(GL_PIXEL_MAP_I_TO_I, 1, nullptr);
  glPixelMapusv(GL_PIXEL_MAP_B_TO_B, 9, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ExpectUnmarked();
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_I_TO_R), (std::vector<GLfloat>{0.5f, 0.75f}));
  EXPECT_EQ(Map(gc, GL_PIXEL_MAP_I_TO_I).size, 1);
  EXPECT_EQ(Map(gc, GL_PIXEL_MAP_B_TO_B).size, 1);
}

// The new table is had before the old one goes: a refused allocation
// records GL_OUT_OF_MEMORY and leaves the map as it was.
TEST_F(PixelStateTest, PixelMapKeepsTheOldMapWhenTheTableIsRefused) {
  const GLuint old[] = {3, 1, 4, 1};
  glPixelMapuiv(GL_PIXEL_MAP_I_TO_I, 4, old);
  const GLint *table = Map(gc, GL_PIXEL_MAP_I_TO_I).base.mapI;
  const int live = CountingImports::live();
  Settle();
  const GLfloat f[] = {5, 9, 2, 6, 5, 3, 5, 8};
  CountingImports::failAllocation(1);
  glPixelMapfv(GL_PIXEL_MAP_I_TO_I, 8, f);
  CountingImports::failAllocation(0);
  EXPECT_EQ(glGetError(), GLenum(GL_OUT_OF_MEMORY));
  ExpectUnmarked();
  EXPECT_EQ(Map(gc, GL_PIXEL_MAP_I_TO_I).base.mapI, table);
  EXPECT_EQ(Indices(gc, GL_PIXEL_MAP_I_TO_I), (std::vector<GLint>{3, 1, 4, 1}));
  EXPECT_EQ(CountingImports::live(), live);
  // Restoring the default allocates nothing, so it cannot fail.
  CountingImports::failAllocation(1);
  glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 0, nullptr);
  CountingImports::failAllocation(0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Colors(gc, GL_PIXEL_MAP_R_TO_R), std::vector<GLfloat>{0.0f});
}

// Replacing a map frees its old table; the context's destruction frees the
// rest (the fixture checks nothing is left).
TEST_F(PixelStateTest, PixelMapFreesTheTableItReplaces) {
  const GLfloat f[] = {0.5f, 0.75f, 1.0f, 0.0f};
  const int live = CountingImports::live();
  glPixelMapfv(GL_PIXEL_MAP_I_TO_A, 4, f);
  EXPECT_EQ(CountingImports::live(), live + 1);
  glPixelMapfv(GL_PIXEL_MAP_I_TO_A, 2, f);
  EXPECT_EQ(CountingImports::live(), live + 1);
  glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 4, f);
  glPixelMapfv(GL_PIXEL_MAP_I_TO_I, 4, f);
  EXPECT_EQ(CountingImports::live(), live + 3);
}

// Each map change makes the lookup tables built from that map stale and
// marks the context for validation.
TEST_F(PixelStateTest, PixelMapMakesItsLookupTablesStale) {
  struct Row {
    GLenum map;
    uint8_t GlPixelModifyState::*stale;
  } rows[] = {
      {GL_PIXEL_MAP_I_TO_I, &GlPixelModifyState::itoiValid},
      {GL_PIXEL_MAP_I_TO_G, &GlPixelModifyState::itoRgbaValid},
      {GL_PIXEL_MAP_R_TO_R, &GlPixelModifyState::rgbaValid},
      {GL_PIXEL_MAP_A_TO_A, &GlPixelModifyState::rgbaValid},
  };
  const GLfloat f[] = {0.5f, 0.75f};
  for (const Row &r : rows) {
    SCOPED_TRACE(Hex(r.map));
    GlPixelModifyState &m = gc->pixel.modify;
    m.itoiValid = m.itoRgbaValid = m.rgbaValid = 1;
    Settle();
    glPixelMapfv(r.map, 2, f);
    ExpectMarked(__GL_DIRTY_PIXEL);
    EXPECT_EQ(m.*r.stale, 0);
    int still = m.itoiValid + m.itoRgbaValid + m.rgbaValid;
    EXPECT_EQ(still, 2) << "only the tables of this map";
  }
}

}  // namespace
}  // namespace pixel_state_test

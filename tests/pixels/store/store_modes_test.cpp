// glPixelStorei and glPixelStoref: every name, the refused values and the
// roundings, each block set apart from the other.
#include <math.h>
#include <stdint.h>

#include "tests/pixels/store/pixel_state_fixture.h"

namespace pixel_state_test {
namespace {

const double kNaN = nan("");

struct StoreCase {
  GLenum pname;
  bool asFloat;  // through glPixelStoref
  double param;
  GLenum error;
  GLint stored;  // the field afterwards
};

// The field a name sets, read from the record directly.
GLint Field(const GlPixelMachine &px, GLenum pname) {
  const GlPixelStoreModes &m = pname >= GL_PACK_SWAP_BYTES ? px.packModes : px.unpackModes;
  switch (pname & 0xF) {
    case 0: return m.swapBytes;
    case 1: return m.lsbFirst;
    case 2: return m.rowLength;
    case 3: return m.skipRows;
    case 4: return m.skipPixels;
    default: return m.alignment;
  }
}

// Before every row: flags clear, the integers 7, alignment 4.
const GlPixelStoreModes kPreset = {0, 0, 7, 7, 7, 4};

bool Same(const GlPixelStoreModes &a, const GlPixelStoreModes &b) {
  return a.swapBytes == b.swapBytes && a.lsbFirst == b.lsbFirst && a.rowLength == b.rowLength &&
         a.skipRows == b.skipRows && a.skipPixels == b.skipPixels && a.alignment == b.alignment;
}

const StoreCase kCases[] = {
    // Alignment: 1, 2, 4, 8 only.
    {GL_UNPACK_ALIGNMENT, false, 3, GL_INVALID_VALUE, 4},
    {GL_UNPACK_ALIGNMENT, false, 8, GL_NO_ERROR, 8},
    {GL_PACK_ALIGNMENT, false, 1, GL_NO_ERROR, 1},
    {GL_PACK_ALIGNMENT, false, 0, GL_INVALID_VALUE, 4},
    {GL_PACK_ALIGNMENT, false, 16, GL_INVALID_VALUE, 4},
    {GL_UNPACK_ALIGNMENT, true, 1.6, GL_NO_ERROR, 2},
    {GL_UNPACK_ALIGNMENT, true, 1.4, GL_NO_ERROR, 1},
    {GL_PACK_ALIGNMENT, true, 4.0, GL_NO_ERROR, 4},
    {GL_PACK_ALIGNMENT, true, kNaN, GL_INVALID_VALUE, 4},
    // Row length and skips: negative refused, floats rounded half away from 0.
    {GL_UNPACK_ROW_LENGTH, true, -0.3, GL_NO_ERROR, 0},
    {GL_UNPACK_ROW_LENGTH, false, 0, GL_NO_ERROR, 0},
    {GL_PACK_ROW_LENGTH, false, 100, GL_NO_ERROR, 100},
    {GL_PACK_ROW_LENGTH, false, -5, GL_INVALID_VALUE, 7},
    {GL_UNPACK_ROW_LENGTH, true, 1e30, GL_NO_ERROR, INT32_MAX},  // saturates
    {GL_UNPACK_ROW_LENGTH, true, -1e30, GL_INVALID_VALUE, 7},
    {GL_UNPACK_ROW_LENGTH, true, kNaN, GL_NO_ERROR, 0},
    {GL_PACK_SKIP_ROWS, false, -1, GL_INVALID_VALUE, 7},
    {GL_PACK_SKIP_ROWS, true, 2.5, GL_NO_ERROR, 3},
    {GL_UNPACK_SKIP_ROWS, false, 12, GL_NO_ERROR, 12},
    {GL_PACK_SKIP_PIXELS, true, 2.49, GL_NO_ERROR, 2},
    {GL_UNPACK_SKIP_PIXELS, true, -0.5, GL_INVALID_VALUE, 7},  // rounds to -1
    {GL_UNPACK_SKIP_PIXELS, false, 3, GL_NO_ERROR, 3},
    // Flags: any non-zero value sets them.
    {GL_UNPACK_SWAP_BYTES, false, 5, GL_NO_ERROR, 1},
    {GL_PACK_SWAP_BYTES, false, -1, GL_NO_ERROR, 1},
    {GL_UNPACK_LSB_FIRST, true, 0.25, GL_NO_ERROR, 1},
    {GL_PACK_LSB_FIRST, true, -0.0, GL_NO_ERROR, 0},
    {GL_PACK_LSB_FIRST, true, kNaN, GL_NO_ERROR, 1},
    // Names outside the two blocks.
    {0x0CEF, false, 1, GL_INVALID_ENUM, 0},
    {0x0CF6, false, 1, GL_INVALID_ENUM, 0},
    {0x0CFF, true, 1.0, GL_INVALID_ENUM, 0},
    {0x0D06, true, 4.0, GL_INVALID_ENUM, 0},
    {GL_ZOOM_X, true, 2.0, GL_INVALID_ENUM, 0},
};

bool Known(GLenum pname) {
  return (pname >= GL_UNPACK_SWAP_BYTES && pname <= GL_UNPACK_ALIGNMENT) ||
         (pname >= GL_PACK_SWAP_BYTES && pname <= GL_PACK_ALIGNMENT);
}

TEST_F(PixelStateTest, PixelStoreSetsOneFieldOfOneBlock) {
  for (const StoreCase &c : kCases) {
    SCOPED_TRACE(Hex(c.pname) + (c.asFloat ? " float " : " int ") + std::to_string(c.param));
    gc->pixel.packModes = kPreset;
    gc->pixel.unpackModes = kPreset;
    Settle();
    if (c.asFloat)
      glPixelStoref(c.pname, GLfloat(c.param));
    else
      glPixelStorei(c.pname, GLint(c.param));
    EXPECT_EQ(glGetError(), c.error);
    if (c.error == GL_NO_ERROR) {
      ExpectMarked(__GL_DIRTY_PIXEL);
    } else {
      ExpectUnmarked();
    }
    if (!Known(c.pname)) {
      EXPECT_TRUE(Same(gc->pixel.packModes, kPreset));
      EXPECT_TRUE(Same(gc->pixel.unpackModes, kPreset));
      continue;
    }
    EXPECT_EQ(Field(gc->pixel, c.pname), c.stored);
    // The other block, and the other fields of this one, keep the preset.
    const bool pack = c.pname >= GL_PACK_SWAP_BYTES;
    EXPECT_TRUE(Same(pack ? gc->pixel.unpackModes : gc->pixel.packModes, kPreset));
    const GLenum first = pack ? GL_PACK_SWAP_BYTES : GL_UNPACK_SWAP_BYTES;
    GlPixelMachine preset{};
    preset.packModes = preset.unpackModes = kPreset;
    for (GLenum other = first; other <= first + 5; other++)
      if (other != c.pname) {
        EXPECT_EQ(Field(gc->pixel, other), Field(preset, other)) << Hex(other);
      }
  }
}

// The reset leaves both blocks at their defaults.
TEST_F(PixelStateTest, BothBlocksStartAtTheirDefaults) {
  const GlPixelStoreModes defaults = {0, 0, 0, 0, 0, 4};
  EXPECT_TRUE(Same(gc->pixel.packModes, defaults));
  EXPECT_TRUE(Same(gc->pixel.unpackModes, defaults));
}

}  // namespace
}  // namespace pixel_state_test

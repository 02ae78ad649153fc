// The unpacker and the packer: row, group and element sizes, where the
// first row starts, in-place reading, the bitmap start bit, the option
// flags, and the refusal of rectangles no image of this process can hold.
#include "pixels/px_enums.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

TEST(SpanSizes, BytesPerElementByType) {
  struct {
    GLenum type;
    int32_t bytes;
  } rows[] = {
      {GL_BYTE, 1},
      {GL_UNSIGNED_BYTE, 1},
      {GL_SHORT, 2},
      {GL_UNSIGNED_SHORT, 2},
      {GL_INT, 4},
      {GL_UNSIGNED_INT, 4},
      {GL_FLOAT, 4},
      {GL_BITMAP, 1},
      {GL_UNSIGNED_BYTE_3_3_2_EXT, 1},
      {GL_UNSIGNED_SHORT_4_4_4_4_EXT, 2},
      {GL_UNSIGNED_SHORT_5_5_5_1_EXT, 2},
      {GL_UNSIGNED_INT_8_8_8_8_EXT, 4},
      {GL_UNSIGNED_INT_10_10_10_2_EXT, 4},
      {__GL_PACKED_565, 2},
      {__GL_PACKED_X555, 2},
      {__GL_PACKED_1555, 2},
      {__GL_PACKED_4444, 2},
      {4, 0},
      {0x1407, 0},
      {0x8037, 0},
  };
  for (const auto &r : rows) EXPECT_EQ(__glBytesPerElement(r.type), r.bytes) << std::hex << r.type;
}

TEST(SpanSizes, ElementsAndFloatComponentsPerGroup) {
  struct {
    GLenum format, type;
    int32_t elements, floats;
  } rows[] = {
      {GL_RGB, GL_UNSIGNED_BYTE, 3, 3},
      {GL_BGR_EXT, GL_FLOAT, 3, 3},
      {GL_RGBA, GL_SHORT, 4, 4},
      {GL_ABGR_EXT, GL_UNSIGNED_BYTE, 4, 4},
      {GL_BGRA_EXT, GL_INT, 4, 4},
      {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 2, 2},
      {__GL_RED_ALPHA, GL_UNSIGNED_BYTE, 2, 2},
      {GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 1},
      {GL_COLOR_INDEX, GL_BITMAP, 1, 1},
      {GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, 1, 1},
      {0x8049, GL_UNSIGNED_BYTE, 1, 1},  // intensity
      // Packed types: one element per group, whatever the format.
      {GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, 1, 3},
      {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, 1, 4},
      {GL_BGRA_EXT, GL_UNSIGNED_SHORT_5_5_5_1_EXT, 1, 4},
      {GL_ABGR_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT, 1, 4},
      {GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT, 1, 4},
      {GL_RGB, __GL_PACKED_565, 1, 3},
      {GL_RGB, __GL_PACKED_X555, 1, 3},
      {GL_RGBA, __GL_PACKED_1555, 1, 4},
      {GL_RGBA, __GL_PACKED_4444, 1, 4},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << r.format << " " << r.type);
    EXPECT_EQ(__glElementsPerGroup(r.format, r.type), r.elements);
    EXPECT_EQ(__glSpanComponentsPerGroup(r.format, r.type), r.floats);
  }
}

// What either side's block holds after its set-up.
struct Block {
  const void *current;
  int32_t rowIncrement, groupIncrement, components, spanComponents, elementSize;
  uint8_t packedData;
  int32_t startBit;
};

struct SetupCase {
  const char *what;
  GLenum format, type;
  int32_t width, height, lineLength, alignment, skipPixels, skipLines;
  uint32_t swapBytes;
  // Expected: row bytes, group bytes, elements and floats per group,
  // element bytes, offset of the first row, in place, start bit.
  int32_t row, group, elements, floats, element, start;
  uint8_t packed;
  int32_t startBit;
};

const SetupCase kSetups[] = {
    {"RGB bytes, width 3, alignment 4", GL_RGB, GL_UNSIGNED_BYTE, 3, 2, 3, 4, 0, 0, 0,
     12, 3, 3, 3, 1, 0, 1, 0},
    {"RGB bytes, width 3, alignment 1", GL_RGB, GL_UNSIGNED_BYTE, 3, 2, 3, 1, 0, 0, 0,
     9, 3, 3, 3, 1, 0, 1, 0},
    {"RGBA shorts, alignment 8", GL_RGBA, GL_SHORT, 3, 1, 3, 8, 0, 0, 0, 24, 8, 4, 4, 2, 0, 1, 0},
    {"luminance floats, row length and skips", GL_LUMINANCE, GL_FLOAT, 4, 2, 10, 4, 3, 2, 0,
     40, 4, 1, 1, 4, 2 * 40 + 3 * 4, 1, 0},
    {"bitmap of 13 pixels", GL_COLOR_INDEX, GL_BITMAP, 13, 1, 13, 1, 0, 0, 0,
     2, 1, 1, 1, 1, 0, 1, 0},
    {"bitmap of 13 pixels, alignment 4", GL_COLOR_INDEX, GL_BITMAP, 13, 1, 13, 4, 0, 0, 0,
     4, 1, 1, 1, 1, 0, 1, 0},
    {"bitmap skipping 11 pixels", GL_STENCIL_INDEX, GL_BITMAP, 8, 3, 32, 1, 11, 2, 0,
     4, 1, 1, 1, 1, 2 * 4 + 1, 0, 3},
    {"bitmap skipping 16 pixels", GL_COLOR_INDEX, GL_BITMAP, 8, 1, 32, 1, 16, 0, 0,
     4, 1, 1, 1, 1, 2, 1, 0},
    {"swapped shorts", GL_RGB, GL_SHORT, 2, 1, 2, 4, 0, 0, 1, 12, 6, 3, 3, 2, 0, 0, 0},
    {"swapped bytes read in place", GL_RGB, GL_UNSIGNED_BYTE, 2, 1, 2, 4, 0, 0, 1,
     8, 3, 3, 3, 1, 0, 1, 0},
    {"swapped 4-4-4-4", GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, 3, 1, 3, 4, 1, 0, 1,
     8, 2, 1, 4, 2, 2, 0, 0},
    {"3-3-2 with skips", GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, 5, 2, 5, 2, 2, 1, 0,
     6, 1, 1, 3, 1, 6 + 2, 1, 0},
    {"internal 5-6-5 texels", GL_RGB, __GL_PACKED_565, 7, 1, 7, 4, 0, 0, 0,
     16, 2, 1, 3, 2, 0, 1, 0},
    {"10-10-10-2", GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT, 3, 1, 3, 4, 0, 0, 0,
     12, 4, 1, 4, 4, 0, 1, 0},
};

class Setup : public StageTest {
 protected:
  // Fills one side's given fields from the case and runs its set-up.
  bool Init(const SetupCase &c, bool packer, const void *image) {
    info = GlPixelSpanInfo{};
    info.width = info.spanWidth = c.width, info.height = c.height;
    info.applyClamp = info.applyScale = 0;
    info.zeroFillAlpha = info.nonComponent = 1;
    if (packer) {
      info.dstFormat = c.format, info.dstType = c.type, info.dstImage = const_cast<void *>(image);
      info.dstLineLength = c.lineLength, info.dstAlignment = c.alignment;
      info.dstSkipPixels = c.skipPixels, info.dstSkipLines = c.skipLines;
      info.dstSwapBytes = c.swapBytes;
      return __glInitPacker(gc, &info);
    }
    info.srcFormat = c.format, info.srcType = c.type, info.srcImage = image;
    info.srcLineLength = c.lineLength, info.srcAlignment = c.alignment;
    info.srcSkipPixels = c.skipPixels, info.srcSkipLines = c.skipLines;
    info.srcSwapBytes = c.swapBytes;
    return __glInitUnpacker(gc, &info);
  }
  // The block one side's set-up completed.
  Block Completed(bool packer) const {
    if (packer)
      return {info.dstCurrent,       info.dstRowIncrement, info.dstGroupIncrement,
              info.dstComponents,    info.dstSpanComponents, info.dstElementSize,
              info.dstPackedData,    info.dstStartBit};
    return {info.srcCurrent,       info.srcRowIncrement, info.srcGroupIncrement,
            info.srcComponents,    info.srcSpanComponents, info.srcElementSize,
            info.srcPackedData,    info.srcStartBit};
  }
};

// The unpacker completes the source block and the packer the destination
// block by the same steps; each resets the option flags.
TEST_F(Setup, EachSideCompletesItsBlock) {
  static uint8_t image[4096];
  for (const SetupCase &c : kSetups)
    for (bool packer : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.what << (packer ? ", packer" : ", unpacker"));
      ASSERT_TRUE(Init(c, packer, image));
      const Block b = Completed(packer);
      EXPECT_EQ(b.rowIncrement, c.row);
      EXPECT_EQ(b.groupIncrement, c.group);
      EXPECT_EQ(b.components, c.elements);
      EXPECT_EQ(b.spanComponents, c.floats);
      EXPECT_EQ(b.elementSize, c.element);
      EXPECT_EQ(static_cast<const uint8_t *>(b.current) - image, c.start);
      EXPECT_EQ(b.packedData, c.packed);
      EXPECT_EQ(b.startBit, c.startBit);
      EXPECT_EQ(info.zeroFillAlpha, 0);
      EXPECT_EQ(info.applyClamp, 1);
      EXPECT_EQ(info.applyScale, 1);
      EXPECT_EQ(info.nonComponent, 0);
      // The other side is left alone.
      EXPECT_EQ(Completed(!packer).current, nullptr);
    }
}

// Row lengths and skips are the application's: rows or a start 2^31 bytes
// or more past the image are refused with GL_INVALID_VALUE instead of
// wrapping round to some other address.
TEST_F(Setup, RectanglesBeyondTheAddressSpaceAreRefused) {
  static uint8_t image[16];
  struct {
    const char *what;
    GLenum format, type;
    int32_t width, height, lineLength, skipPixels, skipLines;
    bool accepted;
  } rows[] = {
      {"row of 2^29 RGBA bytes, one row", GL_RGBA, GL_UNSIGNED_BYTE, 1, 1, 1 << 29, 0, 0, false},
      {"row wraps to a small increment", GL_RGBA, GL_FLOAT, 1, 1, 0x10000001, 0, 0, false},
      {"skip rows times row bytes past 2^31", GL_RGBA, GL_UNSIGNED_BYTE, 4, 1, 4, 0, 1 << 27,
       false},
      {"skip pixels past 2^31", GL_RGBA, GL_FLOAT, 1, 1, 1, 0x7FFFFFF0, 0, false},
      {"the last row past 2^31", GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 3, 1 << 30, 0, 0, false},
      {"the first row ends at 2^31", GL_LUMINANCE, GL_UNSIGNED_BYTE, 2, 1, 2, 0x7FFFFFFF, 0,
       false},
      {"bitmap skip near 2^31 bits", GL_COLOR_INDEX, GL_BITMAP, 8, 1, 8, 0x7FFFFFF8, 0, true},
      {"bitmap skip rows past 2^31", GL_COLOR_INDEX, GL_BITMAP, 8, 1, 0x7FFFFFF8, 0, 9, false},
      {"just inside", GL_LUMINANCE, GL_UNSIGNED_BYTE, 1, 2, 1 << 30, 0, 0, true},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.what);
    for (bool packer : {false, true}) {
      info = GlPixelSpanInfo{};
      info.width = info.spanWidth = r.width, info.height = r.height;
      if (packer) {
        info.dstFormat = r.format, info.dstType = r.type, info.dstImage = image;
        info.dstLineLength = r.lineLength, info.dstAlignment = 1;
        info.dstSkipPixels = r.skipPixels, info.dstSkipLines = r.skipLines;
      } else {
        info.srcFormat = r.format, info.srcType = r.type, info.srcImage = image;
        info.srcLineLength = r.lineLength, info.srcAlignment = 1;
        info.srcSkipPixels = r.skipPixels, info.srcSkipLines = r.skipLines;
      }
      gc->error = GL_NO_ERROR;
      const bool accepted = packer ? __glInitPacker(gc, &info) : __glInitUnpacker(gc, &info);
      EXPECT_EQ(accepted, r.accepted) << (packer ? "packer" : "unpacker");
      EXPECT_EQ(gc->error, r.accepted ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_VALUE));
    }
  }
}

}  // namespace
}  // namespace span_stage_test

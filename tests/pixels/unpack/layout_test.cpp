// The byte-order and layout stages and the plain copy move exactly one row:
// components x width elements, where a packed type's group is one element.
// Each runs over every packed type (and a few plain ones), with and without
// byte swapping, from and to misaligned addresses, for widths 1 to 17. The
// source row ends at the end of a readable page, so that reading past it
// faults, and the output is fenced by guard bytes.
#include <algorithm>

#include "pixels/px_enums.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"
#include "tests/support/fenced_bytes.h"

namespace span_stage_test {
namespace {

struct TypeCase {
  GLenum format, type;
};

const TypeCase kTypes[] = {
    {GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT},  {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT},
    {GL_BGRA_EXT, GL_UNSIGNED_SHORT_5_5_5_1_EXT}, {GL_ABGR_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT},
    {GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT}, {GL_RGB, __GL_PACKED_565},
    {GL_RGB, __GL_PACKED_X555},             {GL_RGBA, __GL_PACKED_1555},
    {GL_RGBA, __GL_PACKED_4444},            {GL_RGB, GL_UNSIGNED_BYTE},
    {GL_RGBA, GL_SHORT},                    {GL_LUMINANCE_ALPHA, GL_FLOAT},
};

enum Kind { kSwap, kSkip, kSwapSkip, kAlign, kCopy };

struct StageCase {
  const char *name;
  GlSpanModifier stage;
  int elementSize;  // 0: any
  Kind kind;
  bool destination;  // runs after packing, on the destination block
};

const StageCase kStages[] = {
    {"SwapBytes2", __glSpanSwapBytes2, 2, kSwap, false},
    {"SwapBytes4", __glSpanSwapBytes4, 4, kSwap, false},
    {"SwapBytes2Dst", __glSpanSwapBytes2Dst, 2, kSwap, true},
    {"SwapBytes4Dst", __glSpanSwapBytes4Dst, 4, kSwap, true},
    {"SwapAndSkipBytes2", __glSpanSwapAndSkipBytes2, 2, kSwapSkip, false},
    {"SwapAndSkipBytes4", __glSpanSwapAndSkipBytes4, 4, kSwapSkip, false},
    {"SkipPixels1", __glSpanSkipPixels1, 1, kSkip, false},
    {"SkipPixels2", __glSpanSkipPixels2, 2, kSkip, false},
    {"SkipPixels4", __glSpanSkipPixels4, 4, kSkip, false},
    {"SlowSkipPixels2", __glSpanSlowSkipPixels2, 2, kSkip, false},
    {"SlowSkipPixels4", __glSpanSlowSkipPixels4, 4, kSkip, false},
    {"AlignPixels2", __glSpanAlignPixels2, 2, kAlign, false},
    {"AlignPixels4", __glSpanAlignPixels4, 4, kAlign, false},
    {"AlignPixels2Dst", __glSpanAlignPixels2Dst, 2, kAlign, true},
    {"AlignPixels4Dst", __glSpanAlignPixels4Dst, 4, kAlign, true},
    {"Copy", __glSpanCopy, 0, kCopy, false},
};

class Layout : public StageTest {};

TEST_F(Layout, StagesMoveExactlyTheirRow) {
  FencedBytes page;
  int16_t run[32];
  for (int k = 0; k < 32; k++) run[k] = int16_t(1 + k % 2);
  for (const StageCase &s : kStages)
    for (const TypeCase &t : kTypes)
      for (uint32_t swap = 0; swap < 2; swap++)
        for (int offset = 0; offset < 4; offset++)
          for (int width = 1; width <= 17; width++) {
            // The block comes from the unpacker or packer, as in a chain.
            info = GlPixelSpanInfo{};
            info.width = info.spanWidth = width, info.height = 1;
            static uint8_t image[8];
            if (s.destination) {
              info.dstFormat = t.format, info.dstType = t.type, info.dstImage = image;
              info.dstLineLength = width, info.dstAlignment = 1, info.dstSwapBytes = swap;
              ASSERT_TRUE(__glInitPacker(gc, &info));
            } else {
              info.srcFormat = t.format, info.srcType = t.type, info.srcImage = image;
              info.srcLineLength = width, info.srcAlignment = 1, info.srcSwapBytes = swap;
              ASSERT_TRUE(__glInitUnpacker(gc, &info));
            }
            const int e = s.destination ? info.dstElementSize : info.srcElementSize;
            const int elements = s.destination ? info.dstComponents : info.srcComponents;
            if (s.elementSize != 0 && s.elementSize != e) continue;
            SCOPED_TRACE(testing::Message() << s.name << " type " << std::hex << t.type << std::dec
                                            << " swap " << swap << " offset " << offset
                                            << " width " << width);
            info.pixelArray = run;
            const int group = elements * e;
            const bool skips = s.kind == kSkip || s.kind == kSwapSkip;
            // The skipping stages walk the width source groups and write the
            // sampled ones.
            int outputs = width;
            if (skips) {
              outputs = 0;
              for (int from = 0; from < width; from += run[outputs++]) {
              }
              info.spanWidth = outputs;
            }
            std::vector<uint8_t> source(size_t(width * group));
            for (size_t i = 0; i < source.size(); i++) source[i] = uint8_t(i * 7 + 1);
            const uint8_t *in = page.Place(source);
            // The output starts `offset` bytes into a guarded buffer.
            const size_t rowBytes = size_t(outputs * group);
            std::vector<uint8_t> out(offset + rowBytes + kGuardBytes, kGuard);
            s.stage(gc, &info, in, out.data() + offset);
            for (int i = 0; i < offset; i++) ASSERT_EQ(out[i], kGuard) << "before the row";
            for (size_t i = offset + rowBytes; i < out.size(); i++)
              ASSERT_EQ(out[i], kGuard) << "past the row, byte " << i - offset;
            // What the row holds: group g comes from source group src(g).
            int from = 0;
            for (int g = 0; g < outputs; g++) {
              for (int b = 0; b < group; b++) {
                int sb = b;
                if (s.kind == kSwap || s.kind == kSwapSkip) sb = b / e * e + (e - 1 - b % e);
                ASSERT_EQ(out[offset + g * group + b], source[from * group + sb])
                    << "group " << g << " byte " << b;
              }
              from += skips ? run[g] : 1;
            }
          }
}

}  // namespace
}  // namespace span_stage_test

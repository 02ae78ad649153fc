// Bitmap rows to floats and back, for every start bit, both bit orders and
// widths 1 to 33, with and without the run array. The reference reads and
// writes one bit at a time.
#include <random>

#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

class Bitmap : public StageTest {
 protected:
  // Bit `i` of the row, counted from the start bit of the first byte.
  static bool BitAt(const uint8_t *row, int startBit, bool lsbFirst, int i) {
    const int n = startBit + i;
    const int k = n % 8;
    return (row[n / 8] >> (lsbFirst ? k : 7 - k)) & 1;
  }
  std::vector<uint8_t> RandomBytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint8_t &b : bytes) b = uint8_t(engine());
    return bytes;
  }
  std::mt19937 engine{34};
};

TEST_F(Bitmap, EveryBitUnpacksInOrder) {
  const std::vector<uint8_t> row = RandomBytes(8);
  for (int lsb = 0; lsb < 2; lsb++)
    for (int start = 0; start < 8; start++)
      for (int width = 1; width <= 33; width++) {
        SCOPED_TRACE(testing::Message() << "lsb " << lsb << " start " << start << " width " << width);
        info.srcLsbFirst = lsb, info.srcStartBit = start, info.width = info.spanWidth = width;
        const std::vector<float> out = RunAs<float>(__glSpanUnpackBitmap2, row.data(), width);
        for (int i = 0; i < width; i++)
          ASSERT_EQ(out[i], BitAt(row.data(), start, lsb, i) ? 1.0f : 0.0f) << i;
      }
}

TEST_F(Bitmap, OneByteInBothOrders) {
  const uint8_t one = 0x01;
  info.width = info.spanWidth = 8;
  info.srcLsbFirst = 1;
  EXPECT_EQ(RunAs<float>(__glSpanUnpackBitmap2, &one, 8),
            (std::vector<float>{1, 0, 0, 0, 0, 0, 0, 0}));
  info.srcLsbFirst = 0;
  EXPECT_EQ(RunAs<float>(__glSpanUnpackBitmap2, &one, 8),
            (std::vector<float>{0, 0, 0, 0, 0, 0, 0, 1}));
}

// The first bit is always taken, each later one run[k] bits after the one
// before; the stage walks `width` source bits.
TEST_F(Bitmap, TheRunArraySamplesBits) {
  const std::vector<uint8_t> row = RandomBytes(8);
  for (int lsb = 0; lsb < 2; lsb++)
    for (int start = 0; start < 8; start++)
      for (int width = 1; width <= 33; width++) {
        SCOPED_TRACE(testing::Message() << "lsb " << lsb << " start " << start << " width " << width);
        // Runs of 1 to 3 bits, as a shrinking zoom makes them.
        std::vector<int16_t> run(width);
        for (int k = 0; k < width; k++) run[k] = int16_t(1 + (k * 7 + start) % 3);
        std::vector<int> taken;
        for (int i = 0, k = 0; i < width; i += run[k++]) taken.push_back(i);
        info.srcLsbFirst = lsb, info.srcStartBit = start, info.width = info.spanWidth = width;
        info.pixelArray = run.data();
        const std::vector<float> out = RunAs<float>(__glSpanUnpackBitmap, row.data(), taken.size());
        for (size_t j = 0; j < taken.size(); j++)
          ASSERT_EQ(out[j], BitAt(row.data(), start, lsb, taken[j]) ? 1.0f : 0.0f) << j;
      }
}

// Packing sets exactly the span's bits, from the start bit on, and leaves
// every other bit of the bytes it touches as it was: tried on bytes of all
// ones and all zeros.
TEST_F(Bitmap, PackingChangesOnlyTheSpansBits) {
  for (uint8_t fill : {uint8_t(0xFF), uint8_t(0x00)})
    for (int lsb = 0; lsb < 2; lsb++)
      for (int start = 0; start < 8; start++)
        for (int width = 1; width <= 33; width++) {
          SCOPED_TRACE(testing::Message() << "fill " << int(fill) << " lsb " << lsb << " start "
                                          << start << " width " << width);
          std::vector<float> values(width);
          for (int i = 0; i < width; i++) values[i] = float((i * 5 + start) % 3 == 0) + 2.0f * i;
          const size_t bytes = (start + width + 7) / 8;
          std::vector<uint8_t> out(bytes + kGuardBytes, fill);
          info.dstLsbFirst = lsb, info.dstStartBit = start, info.width = info.spanWidth = width;
          __glSpanPackBitmap(gc, &info, values.data(), out.data());
          for (int n = 0; n < int(out.size()) * 8; n++) {
            const bool inSpan = n >= start && n < start + width;
            const bool expected = inSpan ? (int(values[n - start]) & 1) : fill != 0;
            ASSERT_EQ(BitAt(out.data(), 0, lsb, n), expected) << "bit " << n;
          }
        }
}

TEST_F(Bitmap, FiveBitsFromBitSixMostSignificantFirst) {
  uint8_t bytes[3] = {0xFF, 0xFF, 0xFF};
  const float zeros[5] = {0, 0, 0, 0, 0};
  info.dstStartBit = 6, info.dstLsbFirst = 0, info.width = info.spanWidth = 5;
  __glSpanPackBitmap(gc, &info, zeros, bytes);
  EXPECT_EQ(bytes[0], 0xFC);
  EXPECT_EQ(bytes[1], 0x1F);
  EXPECT_EQ(bytes[2], 0xFF);
}

// Unpacking then packing gives the row back, bits outside the span kept.
TEST_F(Bitmap, PackUndoesUnpack) {
  const std::vector<uint8_t> row = RandomBytes(6);
  for (int lsb = 0; lsb < 2; lsb++)
    for (int start = 0; start < 8; start++)
      for (int width = 1; width <= 33; width++) {
        info.srcLsbFirst = info.dstLsbFirst = lsb;
        info.srcStartBit = info.dstStartBit = start;
        info.width = info.spanWidth = width;
        const std::vector<float> floats = RunAs<float>(__glSpanUnpackBitmap2, row.data(), width);
        std::vector<uint8_t> back = row;
        for (size_t i = 0; i < back.size(); i++) back[i] = uint8_t(~back[i]);
        const std::vector<uint8_t> outside = back;
        __glSpanPackBitmap(gc, &info, floats.data(), back.data());
        for (int n = 0; n < 48; n++) {
          const bool inSpan = n >= start && n < start + width;
          ASSERT_EQ(BitAt(back.data(), 0, lsb, n), BitAt(inSpan ? row.data() : outside.data(), 0, lsb, n))
              << "lsb " << lsb << " start " << start << " width " << width << " bit " << n;
        }
      }
}

}  // namespace
}  // namespace span_stage_test

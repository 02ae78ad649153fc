// Pack undoes unpack: every 8- and 16-bit unsigned value and every packed
// element of 8 and 16 bits (the internal texel types included), a sample of
// the 32-bit packed layouts, with and without byte swapping, comes back
// unchanged through swap, unpack, pack and swap again, as a chain moves it.
// The 5- and 10-bit fields are where a product formed in extended precision
// would come back one too small.
#include <random>

#include "pixels/px_enums.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {
namespace {

constexpr int kSpan = __GL_MAX_SPAN_WIDTH;

struct TypeRoundTrip {
  const char *what;
  GLenum format, type;
  GlSpanModifier unpack, pack;
};

const TypeRoundTrip kTypes[] = {
    {"ubyte", GL_LUMINANCE, GL_UNSIGNED_BYTE, __glSpanUnpackUbyte, __glSpanPackUbyte},
    {"ushort", GL_LUMINANCE, GL_UNSIGNED_SHORT, __glSpanUnpackUshort, __glSpanPackUshort},
    {"byte", GL_LUMINANCE, GL_BYTE, __glSpanUnpackByte, __glSpanPackByte},
    {"short", GL_LUMINANCE, GL_SHORT, __glSpanUnpackShort, __glSpanPackShort},
    {"3-3-2", GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT, __glSpanUnpack332Ubyte, __glSpanPack332Ubyte},
    {"4-4-4-4", GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, __glSpanUnpack4444Ushort,
     __glSpanPack4444Ushort},
    {"5-5-5-1", GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT, __glSpanUnpack5551Ushort,
     __glSpanPack5551Ushort},
    {"5-6-5", GL_RGB, __GL_PACKED_565, __glSpanUnpack565Ushort, __glSpanPack565Ushort},
    {"1-5-5-5", GL_RGBA, __GL_PACKED_1555, __glSpanUnpack1555Ushort, __glSpanPack1555Ushort},
    {"A-R-G-B 4-4-4-4", GL_RGBA, __GL_PACKED_4444, __glSpanUnpackARGB4444Ushort,
     __glSpanPackARGB4444Ushort},
    {"8-8-8-8", GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_EXT, __glSpanUnpack8888Uint,
     __glSpanPack8888Uint},
    {"10-10-10-2", GL_RGBA, GL_UNSIGNED_INT_10_10_10_2_EXT, __glSpanUnpack_10_10_10_2_Uint,
     __glSpanPack_10_10_10_2_Uint},
    // The top bit is not stored: it reads as anything and packs as 1.
    {"X-5-5-5", GL_RGB, __GL_PACKED_X555, __glSpanUnpackX555Ushort, __glSpanPackX555Ushort},
};

class RoundTrip : public StageTest {
 protected:
  // Runs a span of `count` elements of `t` from `client` through the chain
  // and returns the bytes written back.
  std::vector<uint8_t> Through(const TypeRoundTrip &t, bool swap, const std::vector<uint8_t> &client,
                               int count) {
    info = GlPixelSpanInfo{};
    info.width = info.spanWidth = count, info.height = 1;
    info.srcFormat = info.dstFormat = t.format;
    info.srcType = info.dstType = t.type;
    info.srcImage = client.data();
    info.dstImage = nullptr;
    info.srcLineLength = info.dstLineLength = count;
    info.srcAlignment = info.dstAlignment = 1;
    info.srcSwapBytes = info.dstSwapBytes = swap;
    EXPECT_TRUE(__glInitUnpacker(gc, &info));
    EXPECT_TRUE(__glInitPacker(gc, &info));
    const int e = info.srcElementSize;
    std::vector<uint8_t> a(kSpan * 16), b(kSpan * 16);
    const void *in = client.data();
    if (swap && e > 1) {
      (e == 2 ? __glSpanSwapBytes2 : __glSpanSwapBytes4)(gc, &info, in, a.data());
      in = a.data();
    }
    t.unpack(gc, &info, in, b.data());
    t.pack(gc, &info, b.data(), a.data());
    std::vector<uint8_t> out(client.size());
    if (swap && e > 1)
      (e == 2 ? __glSpanSwapBytes2Dst : __glSpanSwapBytes4Dst)(gc, &info, a.data(), out.data());
    else
      memcpy(out.data(), a.data(), out.size());
    return out;
  }
};

// Each element's bytes, in the client's order (swapped when asked).
std::vector<uint8_t> Elements(const std::vector<uint32_t> &values, int bytes, bool swap) {
  std::vector<uint8_t> out(values.size() * bytes);
  for (size_t i = 0; i < values.size(); i++)
    for (int b = 0; b < bytes; b++) {
      const uint8_t byte = uint8_t(values[i] >> (8 * b));
      out[i * bytes + (swap ? bytes - 1 - b : b)] = byte;
    }
  return out;
}

TEST_F(RoundTrip, EveryElementComesBack) {
  std::mt19937 engine(34);
  for (const TypeRoundTrip &t : kTypes)
    for (bool swap : {false, true}) {
      SCOPED_TRACE(testing::Message() << t.what << (swap ? ", swapped" : ""));
      const int bytes = __glBytesPerElement(t.type);
      // Every value of 8 and 16 bits; a sample of the 32-bit layouts, with
      // each field's ends.
      std::vector<uint32_t> values;
      if (bytes < 4) {
        for (uint32_t v = 0; v < (1u << (8 * bytes)); v++) values.push_back(v);
      } else {
        for (uint32_t v : {0u, 0xFFFFFFFFu, 0x00300C03u, 0xFFCFF3FCu, 0x80200801u})
          values.push_back(v);
        for (int i = 0; i < 3 * kSpan; i++) values.push_back(engine());
      }
      for (size_t first = 0; first < values.size(); first += kSpan) {
        const std::vector<uint32_t> chunk(
            values.begin() + first, values.begin() + std::min(values.size(), first + kSpan));
        const std::vector<uint8_t> client = Elements(chunk, bytes, swap);
        const std::vector<uint8_t> back = Through(t, swap, client, int(chunk.size()));
        for (size_t i = 0; i < chunk.size(); i++) {
          uint32_t expected = chunk[i];
          if (t.type == __GL_PACKED_X555) expected |= 0x8000;
          uint32_t got = 0;
          for (int b = 0; b < bytes; b++)
            got |= uint32_t(back[i * bytes + (swap ? bytes - 1 - b : b)]) << (8 * b);
          ASSERT_EQ(got, expected) << std::hex << "value 0x" << chunk[i];
        }
      }
    }
}

// A float holds 24 bits: unsigned words come back within 2^-21 of
// themselves up to the context's 4294964992; above it unpack gives more
// than 1.0, and packing that keeps the low bits of a value past 2^32.
TEST_F(RoundTrip, UnsignedIntsWithinFloatPrecision) {
  std::mt19937 engine(34);
  info.srcSpanComponents = info.dstSpanComponents = 1;
  info.width = info.spanWidth = 1;
  std::vector<uint32_t> values = {0, 1, 255, 65535, 16777215, 16777216, 2147483648u, 4294964992u};
  for (int i = 0; i < 4096; i++) values.push_back(engine() % 4294964993u);
  for (uint32_t u : values) {
    float f;
    __glSpanUnpackUint(gc, &info, &u, &f);
    uint32_t back;
    __glSpanPackUint(gc, &info, &f, &back);
    EXPECT_LE(std::abs(double(back) - double(u)), double(u) * 0x1p-21) << u;
  }
  const uint32_t top = 4294967295u;
  float f;
  __glSpanUnpackUint(gc, &info, &top, &f);
  EXPECT_GT(f, 1.0f);
}

// Signed values: pack(unpack(c)) = c for every byte and short, and
// unpack(pack(v)) lies within one step (2 / (2^n - 1)) of v for v in
// [-1, 1].
TEST_F(RoundTrip, SignedTypesWithinTheirRounding) {
  info.srcSpanComponents = info.dstSpanComponents = 1;
  info.width = info.spanWidth = 1;
  for (int v = -32768; v <= 32767; v++) {
    const int16_t s = int16_t(v);
    float f;
    __glSpanUnpackShort(gc, &info, &s, &f);
    int16_t back;
    __glSpanPackShort(gc, &info, &f, &back);
    ASSERT_EQ(back, s);
  }
  for (int i = -1000; i <= 1000; i++) {
    const float v = float(i) / 1000.0f;
    int8_t b;
    __glSpanPackByte(gc, &info, &v, &b);
    float f;
    __glSpanUnpackByte(gc, &info, &b, &f);
    EXPECT_LE(std::abs(f - v), 2.0f / 255.0f) << v;
    int16_t s;
    __glSpanPackShort(gc, &info, &v, &s);
    __glSpanUnpackShort(gc, &info, &s, &f);
    EXPECT_LE(std::abs(f - v), 2.0f / 65535.0f) << v;
  }
}

}  // namespace
}  // namespace span_stage_test

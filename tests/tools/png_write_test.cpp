// The PNG writer: CRC-32 and Adler-32 against published values (whole and
// continued), and encoded pictures taken apart again by a small reader that
// checks every chunk CRC, the zlib header, the stored-block lengths and the
// Adler-32 before giving back the pixels.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "tools/png_write.h"

namespace {

const uint8_t *Bytes(const std::string &s) { return reinterpret_cast<const uint8_t *>(s.data()); }

struct ChecksumCase {
  std::string input;
  uint32_t crc, adler;
};

const ChecksumCase kChecksums[] = {
    {"", 0x00000000, 0x00000001},
    {"a", 0xE8B7BE43, 0x00620062},
    {"123456789", 0xCBF43926, 0x091E01DE},
    {"Wikipedia", 0xADAAC02E, 0x11E60398},
    {"The quick brown fox jumps over the lazy dog", 0x414FA339, 0x5BDC0FDA},
    {"IEND", 0xAE426082, 0x02D70121},
    // Long enough for Adler-32's sums to wrap their modulus many times.
    {std::string(100000, '\xFF'), 0x68C6CEC4, 0x149A302C},
};

TEST(PngChecksums, MatchKnownValues) {
  for (const ChecksumCase &c : kChecksums) {
    SCOPED_TRACE("input of " + std::to_string(c.input.size()) + " bytes");
    EXPECT_EQ(PngCrc32(Bytes(c.input), c.input.size()), c.crc);
    EXPECT_EQ(PngAdler32(Bytes(c.input), c.input.size()), c.adler);
  }
}

TEST(PngChecksums, ContinueFromAnEarlierValue) {
  for (const ChecksumCase &c : kChecksums)
    for (size_t cut : {size_t(0), c.input.size() / 3, c.input.size()}) {
      SCOPED_TRACE("input of " + std::to_string(c.input.size()) + " bytes cut at " +
                   std::to_string(cut));
      const uint8_t *p = Bytes(c.input);
      const size_t rest = c.input.size() - cut;
      EXPECT_EQ(PngCrc32(p + cut, rest, PngCrc32(p, cut)), c.crc);
      EXPECT_EQ(PngAdler32(p + cut, rest, PngAdler32(p, cut)), c.adler);
    }
}

uint32_t Big32(const uint8_t *p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// What the reader found; `fault` empty when the file is sound.
struct Decoded {
  std::string fault;
  uint32_t width = 0, height = 0;
  size_t blocks = 0;
  std::vector<uint8_t> rgb;
};

Decoded Decode(const std::vector<uint8_t> &png) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Decoded d;
  if (png.size() < 8 || memcmp(png.data(), kSignature, 8) != 0) return d.fault = "signature", d;
  std::vector<uint8_t> z;
  std::vector<std::string> order;
  size_t at = 8;
  while (at < png.size()) {
    if (png.size() - at < 12) return d.fault = "truncated chunk", d;
    const uint32_t length = Big32(&png[at]);
    if (png.size() - at - 12 < length) return d.fault = "chunk overruns", d;
    const std::string type(reinterpret_cast<const char *>(&png[at + 4]), 4);
    if (PngCrc32(&png[at + 4], length + 4) != Big32(&png[at + 8 + length]))
      return d.fault = "CRC of " + type, d;
    const uint8_t *data = &png[at + 8];
    if (type == "IHDR") {
      if (length != 13) return d.fault = "IHDR length", d;
      d.width = Big32(data), d.height = Big32(data + 4);
      if (data[8] != 8 || data[9] != 2 || data[10] || data[11] || data[12])
        return d.fault = "IHDR format", d;
    } else if (type == "IDAT") {
      z.insert(z.end(), data, data + length);
    } else if (type == "IEND" && length != 0) {
      return d.fault = "IEND length", d;
    }
    if (order.empty() || order.back() != type) order.push_back(type);
    at += 12 + length;
  }
  if (order != std::vector<std::string>{"IHDR", "IDAT", "IEND"}) return d.fault = "chunk order", d;

  if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] << 8 | z[1]) % 31 != 0 || (z[1] & 0x20))
    return d.fault = "zlib header", d;
  std::vector<uint8_t> raw;
  size_t p = 2;
  bool last = false;
  while (!last) {
    if (z.size() - p < 5) return d.fault = "truncated block", d;
    if ((z[p] & 0x06) != 0) return d.fault = "not a stored block", d;
    last = z[p] & 1;
    const uint32_t len = z[p + 1] | z[p + 2] << 8, nlen = z[p + 3] | z[p + 4] << 8;
    if ((len ^ 0xFFFF) != nlen) return d.fault = "NLEN", d;
    p += 5;
    if (z.size() - p < len) return d.fault = "block overruns", d;
    raw.insert(raw.end(), z.begin() + long(p), z.begin() + long(p + len));
    p += len;
    d.blocks++;
  }
  if (z.size() - p != 4) return d.fault = "stream length", d;
  if (Big32(&z[p]) != PngAdler32(raw.data(), raw.size())) return d.fault = "Adler-32", d;

  const size_t rowBytes = size_t(d.width) * 3;
  if (raw.size() != (rowBytes + 1) * d.height) return d.fault = "image size", d;
  for (uint32_t y = 0; y < d.height; y++) {
    const uint8_t *row = &raw[y * (rowBytes + 1)];
    if (row[0] != 0) return d.fault = "row filter", d;
    d.rgb.insert(d.rgb.end(), row + 1, row + 1 + rowBytes);
  }
  return d;
}

struct PictureCase {
  uint32_t width, height;
  size_t blocks;  // stored blocks of 65535 bytes at most, rows 1 + 3 x width bytes
  const char *what;
};

const PictureCase kPictures[] = {
    {1, 1, 1, "one pixel"},
    {3, 2, 1, "rows not a multiple of four bytes"},
    {1456, 15, 1, "exactly one full block"},
    {21845, 1, 2, "one byte past a full block"},
    {1456, 30, 2, "exactly two full blocks"},
    {640, 480, 15, "the scenes' size"},
};

TEST(PngEncode, ReadsBackAsWritten) {
  for (const PictureCase &c : kPictures) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> rgb(size_t(c.width) * c.height * 3);
    uint32_t seed = c.width * 31 + c.height;
    for (uint8_t &b : rgb) b = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    const Decoded d = Decode(PngEncodeRgb(c.width, c.height, rgb.data()));
    ASSERT_EQ(d.fault, "");
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
    EXPECT_EQ(d.blocks, c.blocks);
    EXPECT_TRUE(d.rgb == rgb) << "pixels differ";
  }
}

// The reader itself must notice damage, or the round trip proves nothing.
// Resealed damage inside the image data gets a fresh chunk CRC, so that the
// checks behind the CRC are reached.
TEST(PngEncode, ReaderCatchesDamage) {
  const uint8_t rgb[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const std::vector<uint8_t> good = PngEncodeRgb(2, 2, rgb);
  ASSERT_EQ(Decode(good).fault, "");
  // IDAT follows the signature and IHDR; its zlib stream: header (2 bytes),
  // block header (1), LEN and NLEN (4), two rows of 7 bytes, Adler-32 (4).
  const size_t idat = 8 + 25, idatLength = 2 + 1 + 4 + 14 + 4;
  const struct {
    size_t at;  // from the start of the IDAT data, or of the file when not resealed
    uint8_t flip;
    bool reseal;
    const char *fault;
  } kDamage[] = {
      {16, 0x40, false, "CRC of IHDR"},
      {idat + 8 + 9, 0x01, false, "CRC of IDAT"},
      {0, 0x01, true, "zlib header"},
      {1, 0x20, true, "zlib header"},
      {2, 0x02, true, "not a stored block"},
      {3, 0x01, true, "NLEN"},
      {9, 0x10, true, "Adler-32"},
      {2 + 1 + 4 + 14 + 3, 0x01, true, "Adler-32"},
  };
  for (const auto &damage : kDamage) {
    std::vector<uint8_t> bad = good;
    if (damage.reseal) {
      bad[idat + 8 + damage.at] ^= damage.flip;
      const uint32_t crc = PngCrc32(&bad[idat + 4], idatLength + 4);
      for (int k = 0; k < 4; k++) bad[idat + 8 + idatLength + k] = uint8_t(crc >> (24 - 8 * k));
    } else {
      bad[damage.at] ^= damage.flip;
    }
    EXPECT_EQ(Decode(bad).fault, damage.fault) << "byte " << damage.at;
  }
}

}  // namespace

#include "tools/png_write.h"

#include <stdio.h>

#include <array>

namespace {

// Stored deflate blocks carry at most 65535 bytes each.
constexpr size_t kStoredBlockMax = 65535;

constexpr std::array<uint32_t, 256> kCrcTable = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; n++) {
    uint32_t c = n;
    for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

void PutBig32(std::vector<uint8_t> *out, uint32_t v) {
  out->push_back(uint8_t(v >> 24));
  out->push_back(uint8_t(v >> 16));
  out->push_back(uint8_t(v >> 8));
  out->push_back(uint8_t(v));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t> *out, const char type[4], const std::vector<uint8_t> &data) {
  PutBig32(out, uint32_t(data.size()));
  const size_t typeAt = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  PutBig32(out, PngCrc32(out->data() + typeAt, data.size() + 4));
}

// The zlib stream: header, stored blocks, Adler-32 of the raw bytes.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t> &raw) {
  std::vector<uint8_t> z = {0x78, 0x01};  // deflate, 32K window; 0x7801 % 31 == 0
  size_t at = 0;
  do {
    const size_t n = raw.size() - at < kStoredBlockMax ? raw.size() - at : kStoredBlockMax;
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    at += n;
  } while (at < raw.size());
  PutBig32(&z, PngAdler32(raw.data(), raw.size()));
  return z;
}

}  // namespace

uint32_t PngCrc32(const uint8_t *bytes, size_t size, uint32_t crc) {
  crc = ~crc;
  for (size_t i = 0; i < size; i++) crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t PngAdler32(const uint8_t *bytes, size_t size, uint32_t adler) {
  uint32_t a = adler & 0xFFFF, b = adler >> 16;
  for (size_t i = 0; i < size; i++) {
    a = (a + bytes[i]) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

std::vector<uint8_t> PngEncodeRgb(uint32_t width, uint32_t height, const uint8_t *rgb) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> png(kSignature, kSignature + 8);

  std::vector<uint8_t> header;
  PutBig32(&header, width);
  PutBig32(&header, height);
  // 8 bits per sample, RGB, deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(&png, "IHDR", header);

  // Every row starts with filter type 0 (none).
  const size_t rowBytes = size_t(width) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * height);
  for (uint32_t y = 0; y < height; y++) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb + y * rowBytes, rgb + (y + 1) * rowBytes);
  }
  PutChunk(&png, "IDAT", StoredZlib(raw));
  PutChunk(&png, "IEND", {});
  return png;
}

bool PngWriteRgb(const char *path, uint32_t width, uint32_t height, const uint8_t *rgb) {
  const std::vector<uint8_t> png = PngEncodeRgb(width, height, rgb);
  FILE *file = fopen(path, "wb");
  if (!file) return false;
  const bool wrote = fwrite(png.data(), 1, png.size(), file) == png.size();
  return fclose(file) == 0 && wrote;
}

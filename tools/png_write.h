// A plain PNG writer: 8-bit RGB rows in a zlib stream of stored
// (uncompressed) deflate blocks, so it needs no compression library.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

// CRC-32 (the PNG chunk check, reflected polynomial 0xEDB88320) and
// Adler-32 (the zlib stream check) of `size` bytes, continuing from a
// previous value (start with 0 for the CRC, 1 for Adler-32).
uint32_t PngCrc32(const uint8_t *bytes, size_t size, uint32_t crc = 0);
uint32_t PngAdler32(const uint8_t *bytes, size_t size, uint32_t adler = 1);

// The bytes of a PNG image of `width` x `height` pixels, top row first,
// three bytes (red, green, blue) per pixel with no row padding.
std::vector<uint8_t> PngEncodeRgb(uint32_t width, uint32_t height, const uint8_t *rgb);

// Writes the image to `path`; false when the file cannot be written.
bool PngWriteRgb(const char *path, uint32_t width, uint32_t height, const uint8_t *rgb);

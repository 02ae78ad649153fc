// A drawable buffer over memory the test owns, laid out as the buffer kinds
// lay theirs out: rows `pitch` pixels apart (3-byte rows padded to 4 bytes),
// base at the window's origin, no lock procedures unless the test sets them.
#pragma once

#include <stdint.h>
#include <string.h>

#include <vector>

#include "wgl/wgl_drawable.h"

class PixelMemory {
 public:
  // elementSize 0 derives it from the bits: (bits - 1) / 8 + 1.
  PixelMemory(int32_t width, int32_t height, uint32_t bitsPerPixel, uint32_t elementSize = 0,
              int32_t pitch = 0) {
    memset(&buffer_, 0, sizeof buffer_);
    buffer_.width = uint32_t(width);
    buffer_.height = uint32_t(height);
    buffer_.depth = bitsPerPixel;
    buffer_.elementSize = elementSize ? elementSize : (bitsPerPixel - 1) / 8 + 1;
    for (uint32_t e = buffer_.elementSize; e > 1; e >>= 1) buffer_.elementSizeLog2++;
    buffer_.pitch = pitch ? pitch : width;
    int32_t rowBytes = buffer_.pitch * int32_t(buffer_.elementSize);
    if (buffer_.elementSize == 3) rowBytes = (rowBytes + 3) & ~3;
    buffer_.pitchBytes = rowBytes;
    // A guard row before and after catches stores outside the buffer.
    bytes_.assign(size_t(rowBytes) * (height + 2), 0xA5);
    buffer_.base = bytes_.data() + rowBytes;
    buffer_.size = uint32_t(rowBytes * height);
    guard_ = std::vector<uint8_t>(size_t(rowBytes), 0xA5);
  }
  PixelMemory(const PixelMemory &) = delete;
  PixelMemory &operator=(const PixelMemory &) = delete;

  GlDrawableBuffer *buffer() { return &buffer_; }
  // The bytes of pixel (x, y) in drawable coordinates (no bias).
  uint8_t *At(int32_t x, int32_t y) {
    return buffer_.base + y * buffer_.pitchBytes + x * int32_t(buffer_.elementSize);
  }
  uint32_t Read(int32_t x, int32_t y) {
    uint32_t v = 0;
    memcpy(&v, At(x, y), buffer_.elementSize > 4 ? 4 : buffer_.elementSize);
    return v;
  }
  void Write(int32_t x, int32_t y, uint32_t v) {
    memcpy(At(x, y), &v, buffer_.elementSize > 4 ? 4 : buffer_.elementSize);
  }
  void Fill(uint8_t byte) { memset(buffer_.base, byte, buffer_.size); }
  // The guard rows are untouched.
  bool GuardsIntact() const {
    const size_t row = size_t(buffer_.pitchBytes);
    return memcmp(bytes_.data(), guard_.data(), row) == 0 &&
           memcmp(bytes_.data() + row * (buffer_.height + 1), guard_.data(), row) == 0;
  }

 private:
  GlDrawableBuffer buffer_;
  std::vector<uint8_t> bytes_;
  std::vector<uint8_t> guard_;
};
